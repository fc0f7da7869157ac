#!/usr/bin/env python3
"""Escaped output read back by the programs it is written for.

A folder of hostile file names goes through loomquill-cli with the shipped templates and
hand-written ones; the scripts run under sh, dash and bash, and CSV, JSON, HTML, URLs and
Markdown are read back with real parsers. Every name must come back byte for byte, and
nothing the names hide may run.

    escape_readers_test.py BIN_DIR
"""

import csv
import html.parser
import io
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

BIN = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else "bin")
CLI = os.path.join(BIN, "loomquill-cli")

# Every kind of trouble a name on Linux can hold: any byte but '/' and NUL.
HOSTILE = [
    b"it's.txt",
    b"a'; echo INJECTED >&2; touch PWNED1; echo '.txt",
    b"$(touch PWNED2).txt",
    b"`touch PWNED3`.txt",
    b"\"; touch PWNED4; \".txt",
    b"*",
    b"-rf",
    b"--help",
    b"two\nlines.txt",
    b"carriage\rreturn.txt",
    b"tab\there.txt",
    b"100% & <b> #1 \"q\".txt",
    b"%PATH% and %%.txt",
    b"caf\xc3\xa9 \xe2\x99\xab.mp3",
    b"bad \xff\xfe utf8.bin",
    b"back\\slash.txt",
    b" leading and trailing space ",
    b"!bang ~tilde {brace} [bracket] ;semi |pipe ?q =eq",
    b"x](https:evil.example) [y",
    b"<img src=x onerror=alert(1)>",
    b"no extension",
    b".hidden",
]


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


class Folder:
    """A fresh folder of hostile files, each with content of its own."""

    def __init__(self, names=HOSTILE):
        self.root = tempfile.mkdtemp(prefix="lq-escape-")
        self.src = os.path.join(self.root.encode(), b"src")
        os.mkdir(self.src)
        self.names = list(names)
        for i, name in enumerate(self.names):
            with open(os.path.join(self.src, name), "wb") as f:
                f.write(b"content %d of " % i + name + bytes(range(256)))

    def paths(self):
        return [os.path.join(self.src, n) for n in self.names]

    def content(self, name):
        with open(os.path.join(self.src, name), "rb") as f:
            return f.read()

    def remove(self):
        shutil.rmtree(self.root)


def compose(args, names, cwd=None):
    """Runs loomquill-cli on names fed NUL-separated, as find -print0 gives them."""
    return subprocess.run(
        [CLI, "-0", "--files-from", "-", "--eol", "lf"] + args,
        input=b"".join(n + b"\0" for n in names),
        capture_output=True,
        cwd=cwd,
    )


def template(name):
    return os.path.join(BIN, name)


class Links(html.parser.HTMLParser):
    """The href and text of every link of a page."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []
        self._href = None
        self._text = []

    def handle_starttag(self, tag, attrs):
        if tag == "a":
            self._href = dict(attrs).get("href")
            self._text = []

    def handle_data(self, data):
        if self._href is not None:
            self._text.append(data)

    def handle_endtag(self, tag):
        if tag == "a" and self._href is not None:
            self.links.append((self._href, "".join(self._text)))
            self._href = None


def links_of(page):
    parser = Links()
    parser.feed(page)
    parser.close()
    return parser.links


class ShellScripts(unittest.TestCase):
    def setUp(self):
        self.folder = Folder()
        self.home = os.path.join(self.folder.root, "home")
        os.mkdir(self.home)

    def tearDown(self):
        self.folder.remove()

    def run_script(self, shell, script):
        path = os.path.join(self.folder.root, "script.sh")
        with open(path, "wb") as f:
            f.write(script)
        env = dict(os.environ, HOME=self.home)
        # The script runs inside the source folder: a glob or a stray command would act there.
        run = subprocess.run([shell, path], cwd=self.folder.src, env=env, capture_output=True)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertNotIn(b"INJECTED", run.stdout + run.stderr)
        for top, dirs, files in os.walk(self.folder.root.encode()):
            for f in files:
                self.assertFalse(f.startswith(b"PWNED"), f)
        return run

    def assert_copies(self, folder, name_of):
        got = sorted(os.listdir(folder))
        self.assertEqual(got, sorted(name_of(i, n) for i, n in enumerate(self.folder.names)))
        for i, name in enumerate(self.folder.names):
            with open(os.path.join(folder, name_of(i, name)), "rb") as f:
                self.assertEqual(f.read(), self.folder.content(name), name)

    def test_shipped_shell_backup_copies_every_file_and_runs_nothing_else(self):
        made = compose(["--template", template("Shell backup.hqd")], self.folder.paths())
        self.assertEqual(made.returncode, 0, made.stderr)
        backup = os.path.join(self.home, "backup").encode()
        for shell in ("sh", "dash", "bash"):
            with self.subTest(shell=shell):
                shutil.rmtree(backup, ignore_errors=True)
                self.run_script(shell, made.stdout)
                self.assert_copies(backup, lambda i, n: n)

    def test_hand_written_template_with_the_name_parts(self):
        made = compose(
            [
                "--escape", "shell", "--main-head", 'set -e\ndst="$HOME/parts"\nmkdir -p "$dst"\n',
                "--header", "cp -- 'ZQ_PATH'", "--queue",
                "'ZQ_NAMEZQ_EXT' \"$dst/\"'ZQ_GETSELINDEX-ZQ_NAMEZQ_EXT'\n",
                "--mode", "none",
            ],
            self.folder.paths(),
        )
        self.assertEqual(made.returncode, 0, made.stderr)
        parts = os.path.join(self.home, "parts").encode()
        for shell in ("sh", "dash", "bash"):
            with self.subTest(shell=shell):
                shutil.rmtree(parts, ignore_errors=True)
                self.run_script(shell, made.stdout)
                self.assert_copies(parts, lambda i, n: b"%d-" % (i + 1) + n)

    def test_without_escaping_the_same_names_break_the_script(self):
        # The reason the shipped template escapes: with none a name ends the quote.
        made = compose(
            ["--template", template("Shell backup.hqd"), "--escape", "none"],
            [os.path.join(self.folder.src, b"it's.txt")],
        )
        self.assertIn(b"'" + self.folder.src + b"/it's.txt'", made.stdout)


class Tables(unittest.TestCase):
    def setUp(self):
        self.folder = Folder()

    def tearDown(self):
        self.folder.remove()

    def test_csv_table_reads_back_with_a_csv_reader(self):
        made = compose(["--template", template("More/CSV table.hqd")], self.folder.paths())
        self.assertEqual(made.returncode, 0, made.stderr)
        rows = list(csv.reader(io.StringIO(text_of(made.stdout), newline="")))
        self.assertEqual(rows[0], ["number", "folder", "name", "extension"])
        self.assertEqual(len(rows), len(self.folder.names) + 1)
        for i, (row, path) in enumerate(zip(rows[1:], self.folder.paths())):
            self.assertEqual(len(row), 4, row)
            self.assertEqual(row[0], str(i + 1))
            self.assertEqual(bytes_of(row[1] + row[2] + row[3]), path)

    def test_json_lines_read_back_with_a_json_parser(self):
        good = [n for n in self.folder.names if is_utf8(n)]
        paths = [os.path.join(self.folder.src, n) for n in good]
        made = compose(["--template", template("JSON lines.hqd")], paths)
        self.assertEqual(made.returncode, 0, made.stderr)
        lines = made.stdout.decode("utf-8").splitlines(keepends=False)
        self.assertEqual(len(lines), len(paths))
        for i, (line, path) in enumerate(zip(lines, paths)):
            obj = json.loads(line)
            self.assertEqual(obj["number"], i + 1)
            self.assertEqual(obj["file"].encode("utf-8"), path)
            self.assertEqual((obj["name"] + obj["extension"]).encode("utf-8"),
                             os.path.basename(path))

    def test_json_refuses_a_name_that_is_not_utf8_and_writes_nothing(self):
        out = os.path.join(self.folder.root, "out.jsonl")
        made = compose(["--template", template("JSON lines.hqd"), "--output", out],
                       self.folder.paths())
        self.assertEqual(made.returncode, 1)
        self.assertIn(b"bad \xff\xfe utf8.bin", made.stderr)
        self.assertFalse(os.path.exists(out))


class Pages(unittest.TestCase):
    def setUp(self):
        self.folder = Folder()
        self.out = os.path.join(self.folder.src, b"index.html")

    def tearDown(self):
        self.folder.remove()

    def test_html_links_read_back_with_an_html_parser(self):
        made = compose(["--template", template("HTML links.hqd"), "--output", self.out],
                       self.folder.paths())
        self.assertEqual(made.returncode, 0, made.stderr)
        with open(self.out, "rb") as f:
            links = links_of(text_of(f.read()))
        self.assertEqual(len(links), len(self.folder.names))
        for (href, text), name in zip(links, self.folder.names):
            # The link text is the name, whatever it holds; the href is the relative name.
            self.assertEqual(bytes_of(text), name)
            self.assertEqual(bytes_of(href), name)

    def test_url_escaped_hrefs_decode_back_to_the_names(self):
        made = compose(
            ["--escape", "url", "--mode", "relative", "--relpath", self.folder.src.decode(),
             "--header", '<a href="', "--queue", '">x</a>\n'],
            self.folder.paths(),
        )
        self.assertEqual(made.returncode, 0, made.stderr)
        links = links_of(text_of(made.stdout))
        self.assertEqual(len(links), len(self.folder.names))
        for (href, _), name in zip(links, self.folder.names):
            self.assertRegex(href, r"^[A-Za-z0-9\-._~/%]*$")
            self.assertEqual(urllib.parse.unquote_to_bytes(href), name)

    @unittest.skipIf(shutil.which("cmark") is None, "cmark is not installed")
    def test_markdown_list_renders_one_link_to_each_name(self):
        made = compose(["--template", template("Markdown list.hqd"), "--output", self.out],
                       self.folder.paths())
        self.assertEqual(made.returncode, 0, made.stderr)
        page = subprocess.run(["cmark", self.out], capture_output=True, check=True).stdout
        links = links_of(page.decode("utf-8"))
        self.assertEqual(len(links), len(self.folder.names))
        for (href, text), name in zip(links, self.folder.names):
            # Text and target are the name percent-encoded: nothing of Markdown is left in it.
            self.assertEqual(urllib.parse.unquote_to_bytes(text), name)
            self.assertEqual(urllib.parse.unquote_to_bytes(href), name)


if __name__ == "__main__":
    unittest.main(verbosity=2)
