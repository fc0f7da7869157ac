#!/usr/bin/env python3
"""The bash and zsh completions of loomquill-cli, typed with TAB into real interactive shells
on a terminal: every option and every word that `loomquill-cli --help` lists completes from
its prefix, values complete after both "--opt value" and "--opt=value", and after "--" a word
that begins with '-' completes as a file name.

    completion_test.py LOOMQUILL_CLI BASH_COMPLETION ZSH_COMPLETION

A shell that is not installed is skipped with a message (exit 77 when both are missing).
"""
import os
import pty
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77


def help_words(cli):
    text = subprocess.run([cli, '--help'], capture_output=True, text=True, check=True).stdout
    options = sorted(set(re.findall(r'(?<![\w-])(--[a-z][a-z-]*|-[0h])\b', text)))
    kinds = {m.group(1): m.group(2).split('|')
             for m in re.finditer(r'(--[a-z-]+) ([a-z]+(?:\|[a-z]+)+)', text)}
    return options, kinds


class Shell:
    """An interactive shell on a pseudo-terminal; `loomquill-cli` there only echoes its
    arguments, so the line that completion left behind can be read back."""

    def __init__(self, argv, setup, cwd):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(cwd)
            # Everything a shell may write stays in the test's own folder.
            env = {'PATH': os.environ.get('PATH', '/usr/bin:/bin'), 'TERM': 'dumb',
                   'HOME': cwd, 'ZDOTDIR': cwd, 'LC_ALL': 'C.UTF-8'}
            os.execvpe(argv[0], argv, env)
        self.seen = b''
        self.count = 0
        for line in setup:
            self.send(line + '\r')

    def send(self, text):
        os.write(self.fd, text.encode())

    def read_until(self, pattern, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            match = pattern.search(self.seen)
            if match:
                self.seen = self.seen[match.end():]
                return match
            ready, _, _ = select.select([self.fd], [], [], 0.1)
            if ready:
                try:
                    self.seen += os.read(self.fd, 65536)
                except OSError:
                    break
        return None

    def complete(self, typed):
        """Types `typed`, presses TAB, then Enter; returns the arguments the line then held."""
        self.count += 1
        self.send(typed + '\t\r')
        match = self.read_until(re.compile(rb'RESULT(\d+)<([^>\r\n]*)>'))
        while match and int(match.group(1)) != self.count:
            match = self.read_until(re.compile(rb'RESULT(\d+)<([^>\r\n]*)>'))
        return match.group(2).decode() if match else None

    def close(self):
        try:
            os.kill(self.pid, 9)
            os.waitpid(self.pid, 0)
        except OSError:
            pass
        os.close(self.fd)


# `loomquill-cli` becomes a function that prints its arguments after a running number; the
# marker is split in the source so the echoed definition never matches.
BASH_SETUP = [
    "PS1='$ '; unset HISTFILE; bind 'set bell-style none'; n=0",
    "loomquill-cli() { n=$((n + 1)); printf 'RE''SULT%d<%s>\\n' \"$n\" \"$*\"; }",
    'source {completion}',
]
ZSH_SETUP = [
    "PS1='% '; unset HISTFILE; setopt nobeep; n=0",
    # -D: no dump file is written anywhere.
    "fpath=({folder} $fpath); autoload -Uz compinit; compinit -u -D",
    "loomquill-cli() { n=$((n + 1)); print -r -- \"RE\"\"SULT$n<$*>\"; }",
]


def cases(options, kinds):
    """(typed, what the arguments must start with) pairs."""
    out = []
    for option in options:
        if option.startswith('--') and len(option) > 3:
            out.append((option[:-1], option))
    for option, words in kinds.items():
        for word in words:
            prefix = word[:-1] if len(word) > 1 else word
            # No other word of this option starts the same way, so completion is unique.
            if sum(w.startswith(prefix) for w in words) == 1:
                out.append((f'{option} {prefix}', f'{option} {word}'))
                out.append((f'{option}={prefix}', f'{option}={word}'))
    out.append(('--list so', '--list song.lst'))
    out.append(('--relpath su', '--relpath sub'))
    # The short form of --output takes a file name too.
    out.append(('-o so', '-o song.lst'))
    out.append(('-- --z', '-- --zz.txt'))
    return out


def run_shell(name, argv, setup, options, kinds, work):
    shell = Shell(argv, setup, work)
    failures = 0
    passes = 0
    try:
        for typed, expected in cases(options, kinds):
            got = shell.complete('loomquill-cli ' + typed)
            if got is not None and got.startswith(expected):
                passes += 1
            else:
                failures += 1
                print(f'FAILED: {name}: "{typed}" + TAB gave {got!r}, expected {expected!r}...',
                      file=sys.stderr)
    finally:
        shell.close()
    print(f'{name}: {passes} passed, {failures} failed')
    return failures


def main():
    cli, bash_file, zsh_file = (os.path.abspath(a) for a in sys.argv[1:4])
    options, kinds = help_words(cli)
    for must in ('--escape', '--mode', '--path-style', '--eol'):
        if must not in kinds:
            print(f'FAILED: --help lists no words for {must}', file=sys.stderr)
            return 1
    failures = 0
    ran = 0
    with tempfile.TemporaryDirectory() as work:
        for name in ('--zz.txt', 'song.lst', 'a.hqd'):
            open(os.path.join(work, name), 'w').close()
        os.mkdir(os.path.join(work, 'sub'))
        if shutil.which('bash'):
            setup = [line.replace('{completion}', bash_file) for line in BASH_SETUP]
            failures += run_shell('bash', ['bash', '--norc', '--noprofile', '-i'], setup,
                                  options, kinds, work)
            ran += 1
        else:
            print('SKIPPED: bash is not installed')
        if shutil.which('zsh'):
            folder = os.path.dirname(os.path.abspath(zsh_file))
            setup = [line.replace('{folder}', folder) for line in ZSH_SETUP]
            failures += run_shell('zsh', ['zsh', '-f', '-i'], setup, options, kinds, work)
            ran += 1
        else:
            print('SKIPPED: zsh is not installed (tools/install-deps.sh installs it)')
    if ran == 0:
        return SKIPPED
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
