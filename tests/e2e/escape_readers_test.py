#!/usr/bin/env python3
"""Escaped output read back by the programs it is written for.

A folder of hostile file names goes through loomquill-cli with every shipped template and a
few hand-written ones. Each output is read by its real reader: the scripts run under sh, dash,
bash, zsh and busybox sh and pass shellcheck; CSV and JSON lines go through Python's csv and
json and through jq; every HTML link is followed as a browser does (html5lib, then urljoin
against the page's file:// address); Markdown is rendered by cmark and its links followed the
same way; the playlist is read as a player reads it. Every name must come back byte for byte,
or be refused alone with a message naming it; nothing the names hide may run.

    escape_readers_test.py BIN_DIR
"""

import csv
import io
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

try:
    import html5lib
except ImportError:  # Debian's python3-html5lib (tools/install-deps.sh)
    html5lib = None

BIN = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else "bin")
CLI = os.path.join(BIN, "loomquill-cli")

# Every kind of trouble a name on Linux can hold: any byte but '/' and NUL. Paths with a '/'
# are files in folders of their own.
HOSTILE = [
    b"it's.txt",
    b"a'; echo INJECTED >&2; touch PWNED1; echo '.txt",
    b"$(touch PWNED2).txt",
    b"`touch PWNED3`.txt",
    b"\"; touch PWNED4; \".txt",
    b"${HOME}$PATH.txt",
    b"*",
    b"[a-z]?.txt",
    b"-rf",
    b"--help",
    b"two\nlines.txt",
    b"PWNED_nl\n#EXTINF:-1,fake\nhttp:x",
    b"carriage\rreturn.txt",
    b"crlf\r\nend.txt",
    b"tab\there.txt",
    b"\tleading tab",
    b"100% & <b> #1 \"q\".txt",
    b"%PATH% and %%.txt",
    b"!OS! and !PATH!.txt",
    b"caret^^ & amp ^& | pipe.txt",
    b"a&b^c (x) [y] {z} ~1 ;,= 'q'.txt",
    b"=1+2.csv",
    b"=HYPERLINK(\"http:x\").csv",
    b"+1.txt",
    b"@SUM(A1).txt",
    b"#hash.mp3",
    b"#EXTM3U",
    b"javascript:alert(1)",
    b"http:x",
    b"mailto:a@b.c",
    b"a#frag?q=1.txt",
    b"%41%2F%00.txt",
    b"caf\xc3\xa9 \xe2\x99\xab.mp3",
    b"cafe\xcc\x81 nfd.txt",
    b"\xe2\x80\xaertl override.txt",
    b"zero\xe2\x80\x8bwidth\xe2\x80\x8d.txt",
    b"\xef\xbb\xbfbom.txt",
    b"line\xe2\x80\xa8separator.txt",
    b"bad \xff\xfe utf8.bin",
    b"cut \xc3.txt",
    b"surrogate \xed\xa0\x80.txt",
    b"back\\slash.txt",
    b"  leading and trailing space  ",
    b"!bang ~tilde {brace} [bracket] ;semi |pipe ?q =eq",
    b"x](https:evil.example) [y",
    b"_under_score_ *star* ~tilde~.txt",
    b"<img src=x onerror=alert(1)>",
    b"&amp; &#13; &lt;.txt",
    b"no extension",
    b".hidden",
    b"L" * 251 + b".txt",
    b"\xc3\xa9" * 127 + b"x",
    b"%" * 251 + b".txt",
    # Names holding the variables' text must be written as they stand.
    b"ZQ_EXT.txt",
    b"ZQ_GETSELINDEX",
    b"ZQ_NAME ZQ_RELPATH/inner ZQ_PATH.txt",
    # Deep folders: one path under the longest name the program takes, one near PATH_MAX.
    b"/".join([b"d" * 200] * 4) + b"/deep 'name'.txt",
]
# Filled up to this many bytes of full path.
NEAR_PATH_MAX = 4000
NAME_MAX = 999  # the longest name loomquill-cli takes


def is_utf8(name):
    try:
        name.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def text_of(data):
    """Output bytes as text, with bytes that are not UTF-8 kept for the way back."""
    return data.decode("utf-8", "surrogateescape")


def bytes_of(text):
    return text.encode("utf-8", "surrogateescape")


def has_line_break(name):
    return b"\r" in name or b"\n" in name


class Folder:
    """A fresh folder of hostile files, each with content of its own."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="lq-escape-")
        self.src = os.path.join(self.root.encode(), b"src")
        os.mkdir(self.src)
        self.rels = list(HOSTILE)
        # A chain of long folder names down to NEAR_PATH_MAX bytes.
        room = NEAR_PATH_MAX - len(self.src) - 1
        parts = []
        while room > 255 + 1 + 8:
            parts.append(b"D" * 250)
            room -= 251
        parts.append(b"near max %" + b"n" * (room - 10))
        self.rels.append(b"/".join(parts))
        for i, rel in enumerate(self.rels):
            path = os.path.join(self.src, rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(b"content %d of " % i + rel + bytes(range(256)))
        assert len(self.paths()[-1]) == NEAR_PATH_MAX

    def paths(self):
        return [os.path.join(self.src, r) for r in self.rels]

    def content(self, path):
        with open(path, "rb") as f:
            return f.read()

    def remove(self):
        shutil.rmtree(self.root)


def compose(args, paths, cwd=None):
    """Runs loomquill-cli on paths fed NUL-separated, as find -print0 gives them."""
    return subprocess.run(
        [CLI, "-0", "--files-from", "-", "--eol", "lf"] + args,
        input=b"".join(p + b"\0" for p in paths),
        capture_output=True,
        cwd=cwd,
    )


def template(name):
    return os.path.join(BIN, name)


def file_url(path):
    return "file://" + urllib.parse.quote(path)


def resolved_path(test, base_url, href):
    """The local path a link leads to, as a browser resolves it from the page at base_url."""
    target = urllib.parse.urlsplit(urllib.parse.urljoin(base_url, href))
    test.assertEqual(target.scheme, "file", href)
    test.assertEqual(target.netloc, "", href)
    test.assertEqual((target.query, target.fragment), ("", ""), href)
    return urllib.parse.unquote_to_bytes(target.path)


def html_links(page):
    """(href, text) of every link of a page, as an HTML5 parser builds it."""
    doc = html5lib.parse(page, treebuilder="etree", namespaceHTMLElements=False)
    return [(a.get("href"), "".join(a.itertext())) for a in doc.iter("a")]


# How each shipped sample escapes, and which names it must refuse (beyond those too long).
def refuses_batch(rel):
    return b'"' in rel or has_line_break(rel)


def refuses_base_not_utf8(rel):
    return not is_utf8(os.path.basename(rel))


def refuses_line_break(rel):
    return has_line_break(rel)


def refuses_base_line_break(rel):
    return has_line_break(os.path.basename(rel))


SAMPLES = {
    "Shell backup.hqd": lambda rel: False,
    "Batch backup.hqd": refuses_batch,
    "HTML links.hqd": refuses_base_not_utf8,
    "Markdown list.hqd": lambda rel: False,
    "JSON lines.hqd": lambda rel: not is_utf8(rel),
    "M3U playlist.hqd": refuses_line_break,
    "More/CSV table.hqd": lambda rel: False,
    "More/Numbered list.hqd": refuses_base_line_break,
}


class SampleRun(unittest.TestCase):
    """Every name through one sample: refused ones alone, the others in one output."""

    folder = None

    @classmethod
    def setUpClass(cls):
        cls.folder = Folder()

    @classmethod
    def tearDownClass(cls):
        cls.folder.remove()

    def setUp(self):
        self.out_dir = tempfile.mkdtemp(prefix="out-", dir=self.folder.root)
        self.out_dir = self.out_dir.encode()

    def tearDown(self):
        shutil.rmtree(self.out_dir)

    def run_sample(self, sample, out_name, refuses, extra=()):
        """Composes the sample into the source folder and returns the accepted paths and output."""
        out = os.path.join(self.folder.src, out_name)
        accepted = []
        for rel, path in zip(self.folder.rels, self.folder.paths()):
            if len(path) > NAME_MAX or refuses(rel):
                with self.subTest(refused=path[-80:]):
                    made = compose(["--template", template(sample), "--output", out, *extra],
                                   [path])
                    self.assertEqual(made.returncode, 1, made.stderr)
                    # The message names the file, or for a name too long the line it is on.
                    self.assertTrue(path in made.stderr or b"standard input:1:" in made.stderr,
                                    made.stderr)
                    self.assertFalse(os.path.exists(out))
            else:
                accepted.append(path)
        made = compose(["--template", template(sample), "--output", out, *extra], accepted)
        self.assertEqual(made.returncode, 0, made.stderr)
        with open(out, "rb") as f:
            data = f.read()
        os.remove(out)
        return accepted, out, data

    def assert_nothing_ran(self, run):
        self.assertNotIn(b"INJECTED", run.stdout + run.stderr)
        for top, dirs, files in os.walk(self.folder.root.encode()):
            for f in files + dirs:
                self.assertFalse(f.startswith(b"PWNED") and b"\n" not in f, f)


class ShellScripts(SampleRun):
    SHELLS = [["sh"], ["dash"], ["bash"], ["zsh"], ["busybox", "sh"]]

    def run_script(self, argv, script):
        path = os.path.join(self.out_dir, b"script.sh")
        with open(path, "wb") as f:
            f.write(script)
        home = os.path.join(self.out_dir, b"home")
        shutil.rmtree(home, ignore_errors=True)
        os.makedirs(home)
        env = dict(os.environ, HOME=home)
        # The script runs inside the source folder: a glob or a stray command would act there.
        run = subprocess.run(argv + [path], cwd=self.folder.src, env=env, capture_output=True)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assert_nothing_ran(run)
        return home

    def assert_copies(self, folder, want):
        """want maps each copy's path in folder to the file it must be a copy of."""
        copies = [os.path.relpath(os.path.join(top, f), folder)
                  for top, dirs, files in os.walk(folder) for f in files]
        self.assertEqual(sorted(copies), sorted(want))
        for name, path in want.items():
            with open(os.path.join(folder, name), "rb") as f:
                self.assertEqual(f.read(), self.folder.content(path), name)

    def shells(self):
        for argv in self.SHELLS:
            if shutil.which(argv[0]) is None:
                self.fail(argv[0] + " is not installed (tools/install-deps.sh)")
            yield argv

    def shellcheck(self, script):
        if shutil.which("shellcheck") is None:
            self.fail("shellcheck is not installed (tools/install-deps.sh)")
        run = subprocess.run(["shellcheck", "--shell=sh", "--severity=warning", "-"],
                             input=script, capture_output=True)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)

    def test_shipped_shell_backup_copies_every_file_and_runs_nothing_else(self):
        accepted, _, script = self.run_sample("Shell backup.hqd", b"backup.sh",
                                              SAMPLES["Shell backup.hqd"])
        self.shellcheck(script)
        want = {os.path.basename(p): p for p in accepted}
        self.assertEqual(len(want), len(accepted))
        for argv in self.shells():
            with self.subTest(shell=argv[0]):
                home = self.run_script(argv, script)
                self.assert_copies(os.path.join(home, b"backup"), want)

    def test_hand_written_template_with_the_name_parts(self):
        paths = [p for p in self.folder.paths() if len(p) <= NAME_MAX]
        made = compose(
            [
                "--escape", "shell", "--main-head", 'set -e\ndst="$HOME/parts"\nmkdir -p "$dst"\n',
                # A folder for each number: a name may already be as long as a name can be.
                "--header", "mkdir \"$dst/ZQ_GETSELINDEX\"\ncp -- 'ZQ_PATH'", "--queue",
                "'ZQ_NAMEZQ_EXT' \"$dst/ZQ_GETSELINDEX/\"'ZQ_NAMEZQ_EXT'\n",
                "--mode", "none",
            ],
            paths,
        )
        self.assertEqual(made.returncode, 0, made.stderr)
        self.shellcheck(made.stdout)
        want = {b"%d/" % (i + 1) + os.path.basename(p): p for i, p in enumerate(paths)}
        for argv in self.shells():
            with self.subTest(shell=argv[0]):
                home = self.run_script(argv, made.stdout)
                self.assert_copies(os.path.join(home, b"parts"), want)

    def test_without_escaping_the_same_names_break_the_script(self):
        # The reason the shipped template escapes: with none a name ends the quote.
        path = os.path.join(self.folder.src, b"it's.txt")
        made = compose(["--template", template("Shell backup.hqd"), "--escape", "none"], [path])
        self.assertIn(b"'" + path + b"'", made.stdout)


class Tables(SampleRun):
    def test_csv_table_reads_back_with_a_csv_reader(self):
        accepted, _, data = self.run_sample("More/CSV table.hqd", b"table.csv",
                                            SAMPLES["More/CSV table.hqd"])
        rows = list(csv.reader(io.StringIO(text_of(data), newline="")))
        self.assertEqual(rows[0], ["number", "folder", "name", "extension"])
        self.assertEqual(len(rows), len(accepted) + 1)
        for i, (row, path) in enumerate(zip(rows[1:], accepted)):
            with self.subTest(path=path[-80:]):
                self.assertEqual(len(row), 4, row)
                self.assertEqual(row[0], str(i + 1))
                # Cells starting with = + - @ are data as the name has them, never changed.
                self.assertEqual(bytes_of(row[1] + row[2] + row[3]), path)

    def test_json_lines_read_back_with_a_json_parser_and_jq(self):
        accepted, _, data = self.run_sample("JSON lines.hqd", b"files.jsonl",
                                            SAMPLES["JSON lines.hqd"])
        # JSON Lines ends each line with LF; U+2028 inside a string is no line end.
        lines = data.split(b"\n")
        self.assertEqual(lines.pop(), b"")
        self.assertEqual(len(lines), len(accepted))
        for i, (line, path) in enumerate(zip(lines, accepted)):
            with self.subTest(path=path[-80:]):
                obj = json.loads(line.decode("utf-8"))
                self.assertEqual(obj["number"], i + 1)
                self.assertEqual(obj["file"].encode("utf-8"), path)
                self.assertEqual((obj["name"] + obj["extension"]).encode("utf-8"),
                                 os.path.basename(path))
        if shutil.which("jq") is None:
            self.fail("jq is not installed (tools/install-deps.sh)")
        jq = subprocess.run(["jq", "-j", '.file, "\\u0000", .name, .extension, "\\u0000"'],
                            input=data, capture_output=True, check=True).stdout
        fields = jq.split(b"\0")
        self.assertEqual(fields.pop(), b"")
        self.assertEqual(fields[0::2], accepted)
        self.assertEqual(fields[1::2], [os.path.basename(p) for p in accepted])


class Pages(SampleRun):
    def setUp(self):
        super().setUp()
        if html5lib is None:
            self.fail("python3-html5lib is not installed (tools/install-deps.sh)")
    def test_html_links_lead_to_their_files(self):
        accepted, out, page = self.run_sample("HTML links.hqd", b"index.html",
                                              SAMPLES["HTML links.hqd"])
        links = html_links(page)  # bytes: the parser reads the page's charset as a browser
        self.assertEqual(len(links), len(accepted))
        for (href, text), path in zip(links, accepted):
            with self.subTest(path=path[-80:]):
                self.assertEqual(resolved_path(self, file_url(out), href), path)
                self.assertEqual(bytes_of(text), os.path.basename(path))

    def test_html_url_link_targets_hold_names_that_are_not_utf8(self):
        out = os.path.join(self.folder.src, b"bare.html")
        paths = [p for p in self.folder.paths() if len(p) <= NAME_MAX]
        made = compose(["--escape", "html-url", "--mode", "relative", "--output", out,
                        "--main-head", '<meta charset="utf-8">\n',
                        "--header", "<a href='", "--queue", "'>x</a>\n"], paths)
        self.assertEqual(made.returncode, 0, made.stderr)
        with open(out, "rb") as f:
            links = html_links(f.read())
        self.assertEqual(len(links), len(paths))
        for (href, _), path in zip(links, paths):
            self.assertRegex(href, r"^[A-Za-z0-9\-._~/%]*$")
            self.assertEqual(resolved_path(self, file_url(out), href), path)

    def test_a_full_name_starting_with_two_slashes_stays_on_this_host(self):
        for kind in ("html-url", "url"):
            made = subprocess.run([CLI, "--escape", kind, "--name", "//host/share/x y"],
                                  capture_output=True)
            self.assertEqual(made.returncode, 0, made.stderr)
            href = made.stdout.rstrip(b"\n").decode()
            self.assertEqual(href, "/%2Fhost/share/x%20y")
            self.assertEqual(resolved_path(self, "file:///srv/page.html", href), b"//host/share/x y")

    def test_html_text_keeps_carriage_returns(self):
        made = compose(["--escape", "html", "--mode", "none", "--main-head",
                        '<meta charset="utf-8">\n', "--header", "<p title='ZQ_NAME'>ZQ_NAME",
                        "--queue", "</p>\n"], [b"/x/a\rb\r\nc"])
        self.assertEqual(made.returncode, 0, made.stderr)
        doc = html5lib.parse(made.stdout, treebuilder="etree", namespaceHTMLElements=False)
        p = next(doc.iter("p"))
        self.assertEqual((p.get("title"), p.text), ("a\rb\r\nc", "a\rb\r\nc"))

    def test_markdown_list_renders_one_link_to_each_file(self):
        if shutil.which("cmark") is None:
            self.fail("cmark is not installed (tools/install-deps.sh)")
        accepted, out, text = self.run_sample("Markdown list.hqd", b"files.md",
                                              SAMPLES["Markdown list.hqd"])
        page = subprocess.run(["cmark"], input=text, capture_output=True, check=True).stdout
        links = html_links(page.decode("utf-8"))
        self.assertEqual(len(links), len(accepted))
        for (href, shown), path in zip(links, accepted):
            with self.subTest(path=path[-80:]):
                self.assertEqual(resolved_path(self, file_url(out), href), path)
                # The text is the name percent-encoded: nothing of Markdown is left in it.
                self.assertEqual(urllib.parse.unquote_to_bytes(shown), os.path.basename(path))


class Lists(SampleRun):
    URL = re.compile(rb"^[A-Za-z][A-Za-z0-9+.\-]*:")

    def test_m3u_playlist_gives_one_entry_for_each_file(self):
        accepted, out, data = self.run_sample("M3U playlist.hqd", b"list.m3u",
                                              SAMPLES["M3U playlist.hqd"])
        lines = data.split(b"\n")
        self.assertEqual(lines.pop(), b"")
        self.assertEqual(lines[0], b"#EXTM3U")
        # A player takes each line not starting with '#' for an entry: a URL when it starts
        # with a scheme, else a file relative to the playlist's folder.
        entries = [line for line in lines if not line.startswith(b"#")]
        self.assertEqual(len(entries), len(accepted))
        titles = [line for line in lines if line.startswith(b"#EXTINF:-1,")]
        self.assertEqual(len(titles), len(accepted))
        folder = os.path.dirname(out)
        for entry, path in zip(entries, accepted):
            with self.subTest(path=path[-80:]):
                self.assertIsNone(self.URL.match(entry), entry)
                self.assertEqual(os.path.normpath(os.path.join(folder, entry)), path)

    def test_numbered_list_gives_one_line_for_each_file(self):
        accepted, _, data = self.run_sample("More/Numbered list.hqd", b"list.txt",
                                            SAMPLES["More/Numbered list.hqd"])
        lines = data.split(b"\n")
        self.assertEqual(lines.pop(), b"")
        self.assertEqual(len(lines), len(accepted))
        for i, (line, path) in enumerate(zip(lines, accepted)):
            with self.subTest(path=path[-80:]):
                self.assertEqual(line, b"%d. " % (i + 1) + os.path.basename(path))


class BatchFiles(SampleRun):
    def test_batch_backup_refuses_what_cmd_cannot_quote_and_turns_off_delayed_expansion(self):
        accepted, _, script = self.run_sample("Batch backup.hqd", b"backup.bat",
                                              SAMPLES["Batch backup.hqd"])
        lines = script.split(b"\n")
        self.assertEqual(lines[0], b"@setlocal DisableDelayedExpansion")
        self.assertEqual(len([line for line in lines if line.startswith(b"copy /Y ")]),
                         len(accepted))


def windows_name(rel):
    """Whether a Windows folder can hold rel as it is, and cmd can reach it (MAX_PATH).

    ASCII only: cmd reads a batch file in the console's code page, which under wine is not
    UTF-8 and which wine's chcp does not change."""
    return (rel.isascii() and b"/" not in rel and len(rel) < 120
            and not any(c in b'\\:*?"<>|' or c < 0x20 for c in rel)
            and not rel.endswith((b" ", b".")))


# wine is installed by tools/install-deps.sh --with-windows only: too heavy for every run.
@unittest.skipIf(shutil.which("wine") is None,
                 "wine is not installed (tools/install-deps.sh --with-windows)")
class BatchUnderWine(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="lq-batch-").encode()
        self.src = os.path.join(self.root, b"src")
        os.mkdir(self.src)
        self.names = [n for n in HOSTILE if windows_name(n)]
        for i, name in enumerate(self.names):
            with open(os.path.join(self.src, name), "wb") as f:
                f.write(b"content %d of " % i + name)
        self.env = dict(os.environ, WINEPREFIX=os.path.join(self.root, b"wine").decode(),
                        WINEDEBUG="-all", LC_ALL="C.UTF-8")

    def tearDown(self):
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
        shutil.rmtree(self.root)

    def test_cmd_copies_every_file_even_with_delayed_expansion_on(self):
        paths = [b"Z:" + os.path.join(self.src, n).replace(b"/", b"\\") for n in self.names]
        made = subprocess.run(
            [CLI, "-0", "--files-from", "-", "--path-style", "windows", "--eol", "crlf",
             "--template", template("Batch backup.hqd")],
            input=b"".join(p + b"\0" for p in paths), capture_output=True)
        self.assertEqual(made.returncode, 0, made.stderr)
        script = os.path.join(self.root, b"backup.bat")
        with open(script, "wb") as f:
            f.write(made.stdout)
        # /V:ON: the sample must turn delayed expansion off itself, or !OS! expands.
        run = subprocess.run(
            ["wine", "cmd", "/V:ON", "/c", "Z:" + script.decode().replace("/", "\\")],
            cwd=self.src, env=self.env, input=b"\r\n", capture_output=True, timeout=300)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        users = os.path.join(self.root, b"wine", b"drive_c", b"users")
        backups = [os.path.join(users, u, b"Backup") for u in os.listdir(users)
                   if os.path.isdir(os.path.join(users, u, b"Backup"))]
        self.assertEqual(len(backups), 1, os.listdir(users))
        self.assertEqual(sorted(os.listdir(backups[0])), sorted(self.names),
                         run.stdout.decode("utf-8", "replace"))
        for i, name in enumerate(self.names):
            with open(os.path.join(backups[0], name), "rb") as f:
                self.assertEqual(f.read(), b"content %d of " % i + name)
        self.assertEqual([f for f in os.listdir(self.src) if f.startswith(b"PWNED")], [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
