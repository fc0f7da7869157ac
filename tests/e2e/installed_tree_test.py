#!/usr/bin/env python3
"""What cmake --install puts where desktops, shells and packagers look, checked by the
programs that read it: desktop-file-validate, appstreamcli, gio, man, zsh; the icons at
every size of the icon theme; one application id naming the desktop entry, the metainfo,
the icon and the running window's class (xprop, on the test's X display).

    installed_tree_test.py BUILD_DIR SOURCE_DIR

A check whose tool is missing is skipped with a message (tools/install-deps.sh installs them
all).
"""
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ICON_SIZES = (16, 32, 48, 64, 128, 256)
APP_ID = 'io.github.loomquill.Loomquill'
DESKTOP_ID = APP_ID + '.desktop'
HOMEPAGE = 'https://github.com/loomquill/loomquill'
# Kinds of files "Open With" must offer Loomquill for, and whose default it must not take.
# The types whose default application is read with xdg-mime.
XDG_DEFAULT_TYPES = ('text/plain', 'image/jpeg', 'audio/mpeg', 'application/octet-stream',
                     'inode/directory')
OPEN_WITH_TYPES = ('application/octet-stream', 'text/plain', 'text/x-csrc', 'inode/directory',
                   'audio/flac', 'audio/mpeg', 'video/mp4', 'image/png', 'image/jpeg',
                   'application/pdf', 'application/zip', 'application/x-zerosize')

passes = 0
failures = 0


def check(what, ok, detail=''):
    global passes, failures
    if ok:
        passes += 1
    else:
        failures += 1
        print(f'FAILED: {what}' + (f'\n{detail}' if detail else ''), file=sys.stderr)


def tool(name):
    if shutil.which(name):
        return True
    print(f'SKIPPED: {name} is not installed, so its checks did not run')
    return False


def run(argv, **kw):
    return subprocess.run(argv, capture_output=True, text=True, **kw)


def png_size(path):
    """Width and height of a PNG whose chunks are all whole and intact, else None."""
    data = open(path, 'rb').read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        return None
    at, size, seen = 8, None, []
    while at + 8 <= len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        crc = data[at + 8 + length:at + 12 + length]
        if len(crc) != 4 or struct.unpack('>I', crc)[0] != zlib.crc32(kind + body):
            return None
        if kind == b'IHDR':
            size = struct.unpack('>II', body[:8])
        seen.append(kind)
        at += 12 + length
    return size if seen and seen[-1] == b'IEND' else None


def check_desktop_entry(share):
    desktop = os.path.join(share, 'applications', DESKTOP_ID)
    check('desktop entry installed', os.path.isfile(desktop))
    if tool('desktop-file-validate'):
        r = run(['desktop-file-validate', desktop])
        # It reports errors it calls "not yet fatal" with status 0: any message fails.
        check('desktop-file-validate accepts the entry', r.returncode == 0 and not r.stdout +
              r.stderr, r.stdout + r.stderr)
    return desktop


def gio():
    """GIO's Python binding (python3-gi), or None with a message."""
    try:
        import gi
        gi.require_version('Gio', '2.0')
        from gi.repository import Gio
        return Gio
    except (ImportError, ValueError):
        print(f'SKIPPED: {sys.executable} has no python3-gi, so GIO\'s checks did not run')
        return None


def desktop_key(desktop, key):
    """A key of the entry's main group, as GLib's key file reader reads it."""
    Gio = gio()
    if Gio is None:
        return None
    from gi.repository import GLib
    entry = GLib.KeyFile()
    entry.load_from_file(desktop, GLib.KeyFileFlags.NONE)
    try:
        return entry.get_string('Desktop Entry', key)
    except GLib.Error:
        return ''


def check_ids(share, desktop):
    if not os.path.isfile(desktop):
        return
    for key in ('Icon', 'StartupWMClass'):
        value = desktop_key(desktop, key)
        if value is not None:
            check(f'desktop entry {key} is the application id', value == APP_ID, repr(value))
    check('no entry under the old name', not os.path.exists(
        os.path.join(share, 'applications', 'loomquill.desktop')))


def window_class(argv, env):
    """The WM_CLASS of the main window of a program started with argv, as xprop reads it."""
    home = env['HOME']
    app = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # A window may be found before it has its class, and the start notice shares the
        # title: read every one found until one carries a class.
        for _ in range(50):
            r = run(['xdotool', 'search', '--onlyvisible', '--pid', str(app.pid), '--name',
                     '^Halvorn Loomquill'])
            for window in r.stdout.split():
                got = re.findall(r'"([^"]*)"', run(['xprop', '-id', window, 'WM_CLASS']).stdout)
                if got:
                    return got
            time.sleep(0.2)
        return None
    finally:
        app.terminate()
        app.wait(10)
        shutil.rmtree(home, ignore_errors=True)


def check_window_class(prefix, desktop):
    if not os.environ.get('DISPLAY'):
        print('SKIPPED: no X display, so the window\'s class was not read')
        return
    if not tool('xprop') or not tool('xdotool') or not os.path.isfile(desktop):
        return
    wanted = desktop_key(desktop, 'StartupWMClass')
    if wanted is None:
        return
    home = tempfile.mkdtemp()
    os.mkdir(os.path.join(home, 'run'), 0o700)
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, 'cfg'),
               XDG_RUNTIME_DIR=os.path.join(home, 'run'),
               XDG_CACHE_HOME=os.path.join(home, 'cache'))
    got = window_class([os.path.join(prefix, 'bin', 'loomquill')], env)
    # Docks match the class with StartupWMClass; Wayland's app_id is the instance name.
    check('the window\'s WM_CLASS is the entry\'s StartupWMClass, both parts',
          got == [wanted, wanted], f'WM_CLASS {got!r}, StartupWMClass {wanted!r}')


def xdg_defaults(env, desktop):
    """xdg-mime's default application of each type of XDG_DEFAULT_TYPES; desktop is empty for
    its own reading of the folders, else the desktop it asks (GNOME: gio)."""
    env = {k: v for k, v in env.items()
           if k not in ('XDG_CURRENT_DESKTOP', 'DESKTOP_SESSION', 'KDE_FULL_SESSION',
                        'GNOME_DESKTOP_SESSION_ID', 'XDG_SESSION_DESKTOP')}
    if desktop:
        env['XDG_CURRENT_DESKTOP'] = desktop
    return {kind: run(['xdg-mime', 'query', 'default', kind], env=env).stdout.strip()
            for kind in XDG_DEFAULT_TYPES}


def desktop_apps(env):
    r = run(['/usr/bin/python3', os.path.join(HERE, 'desktop_apps.py'), *OPEN_WITH_TYPES],
            env=env)
    if r.returncode != 0:
        check('desktop_apps.py runs', False, r.stderr)
        return None
    return json.loads(r.stdout)


def check_open_with(prefix, share):
    """Installing the entry, with the cache that dpkg's trigger builds on a real install,
    changes no default application, and Loomquill is offered in "Open With" for every kind
    of file: on a desktop where nothing else opens these types, and on this machine's."""
    if not tool('update-desktop-database') or not tool('xdg-mime') or gio() is None:
        return
    r = run(['update-desktop-database', os.path.join(share, 'applications')])
    check('update-desktop-database reads the entry', r.returncode == 0 and not r.stderr, r.stderr)
    with tempfile.TemporaryDirectory() as home:
        bare = os.path.join(home, 'bare')
        os.makedirs(os.path.join(bare, 'applications'))
        os.symlink('/usr/share/mime', os.path.join(bare, 'mime'))
        for world, system in (('a desktop with no other application', bare),
                              ('this machine', '/usr/share')):
            # TryExec finds the installed link on PATH.
            env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, 'data'),
                       XDG_CONFIG_HOME=os.path.join(home, 'config'),
                       XDG_CONFIG_DIRS=os.path.join(home, 'config-dirs'),
                       PATH=f'{prefix}/bin:' + os.environ['PATH'])
            before_env = dict(env, XDG_DATA_DIRS=system)
            after_env = dict(env, XDG_DATA_DIRS=f'{share}:{system}')
            for desktop in ('', 'GNOME'):
                reader = f'xdg-mime ({desktop or "its own reading"})'
                before = xdg_defaults(before_env, desktop)
                after = xdg_defaults(after_env, desktop)
                for kind in XDG_DEFAULT_TYPES:
                    check(f'{world}: {reader} keeps the default of {kind}',
                          before[kind] == after[kind],
                          f'before {before[kind]!r}, after {after[kind]!r}')
            before = desktop_apps(before_env)
            after = desktop_apps(after_env)
            if before is None or after is None:
                continue
            for kind in OPEN_WITH_TYPES:
                check(f'{world}: GIO keeps the default of {kind}',
                      before['default'][kind] == after['default'][kind],
                      f"before {before['default'][kind]!r}, after {after['default'][kind]!r}")
            check(f'{world}: menus list Loomquill', DESKTOP_ID in after['all'], after['all'])
            check(f'{world}: GIO takes Loomquill for a program that opens files',
                  DESKTOP_ID in after['files'])
            if 'chooser' not in after:
                print('SKIPPED: no display, so GTK\'s Open With dialog was not read')
                continue
            for kind in OPEN_WITH_TYPES:
                check(f'{world}: GTK\'s Open With dialog offers Loomquill for {kind}',
                      DESKTOP_ID in after['chooser'][kind], after['chooser'][kind])


def check_metainfo(prefix, share):
    folder = os.path.join(share, 'metainfo')
    files = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
    check('one metainfo file', len(files) == 1, repr(files))
    if len(files) != 1:
        return
    path = os.path.join(folder, files[0])
    root = ET.parse(path).getroot()
    check('metainfo file named after its ID', files[0] == root.findtext('id') + '.metainfo.xml')
    check('metainfo launches the desktop entry',
          root.findtext('launchable[@type="desktop-id"]') == DESKTOP_ID)
    check('metainfo ID is the application id', root.findtext('id') == APP_ID)
    check('metainfo names the themed icon', root.findtext('icon[@type="stock"]') == APP_ID)
    check('metainfo names the home page', root.findtext('url[@type="homepage"]') == HOMEPAGE)
    for part in ('summary', 'description', 'screenshots/screenshot/image', 'releases/release',
                 'content_rating'):
        check(f'metainfo has {part}', root.find(part) is not None)
    if tool('appstreamcli'):
        for argv in (['appstreamcli', 'validate', '--no-net', '--pedantic', path],
                     ['appstreamcli', 'validate-tree', '--no-net', '--pedantic', prefix]):
            r = run(argv)
            check(' '.join(argv[:2]) + ' passes', r.returncode == 0, r.stdout + r.stderr)


def check_icons(share, source):
    theme = os.path.join(share, 'icons', 'hicolor')
    for size in ICON_SIZES:
        path = os.path.join(theme, f'{size}x{size}', 'apps', APP_ID + '.png')
        got = png_size(path) if os.path.isfile(path) else None
        check(f'{size}x{size} icon is a whole PNG of that size', got == (size, size), repr(got))
    svg = os.path.join(theme, 'scalable', 'apps', APP_ID + '.svg')
    try:
        root = ET.parse(svg).getroot()
        box = root.get('viewBox', '').split()
        check('scalable icon is a square SVG', root.tag.endswith('svg') and len(box) == 4 and
              box[2] == box[3])
    except (OSError, ET.ParseError) as e:
        check('scalable icon is an SVG', False, str(e))
    # The window and the desktop show the same drawing: the PNGs are rendered from it.
    with open(svg, 'rb') as a, open(os.path.join(source, 'packaging/icons/loomquill.svg'),
                                   'rb') as b:
        check('scalable icon is the drawn one', a.read() == b.read())


def check_manuals(share, cli):
    pages = {p: os.path.join(share, 'man', 'man1', p + '.1.gz')
             for p in ('loomquill', 'loomquill-cli')}
    texts = {}
    for page, path in pages.items():
        check(f'{page}(1) installed', os.path.isfile(path))
        if not os.path.isfile(path):
            continue
        if tool('man'):
            env = dict(os.environ, MANWIDTH='80', LC_ALL='C.UTF-8', MAN_KEEP_FORMATTING='')
            r = run(['man', '--warnings', '-l', path], env=env)
            check(f'{page}(1) renders without warnings', r.returncode == 0 and not r.stderr,
                  r.stderr)
            texts[page] = r.stdout
    text = texts.get('loomquill-cli')
    if text is None:
        return
    # Every option and every word the program itself lists is described.
    usage = run([cli, '--help']).stdout
    for option in sorted(set(re.findall(r'(?<![\w-])--[a-z][a-z-]*', usage))):
        check(f'loomquill-cli(1) describes {option}', re.search(
            r'^\s+.*' + re.escape(option) + r'\b', text, re.M) is not None)
    for word in sorted(set(w for group in re.findall(r' ([a-z]+(?:\|[a-z]+)+)', usage)
                           for w in group.split('|'))):
        check(f'loomquill-cli(1) names the word {word}', re.search(r'\b' + word + r'\b', text))
    for name in re.findall(r'ZQ_[A-Z]+', usage):
        check(f'loomquill-cli(1) describes {name}', name in text)
    for section in ('OPTIONS', 'VARIABLES', 'ESCAPING', 'EXIT STATUS', 'FILES', 'EXAMPLES'):
        check(f'loomquill-cli(1) has {section}', re.search(f'^{section}$', text, re.M))
    for section in ('EXIT STATUS', 'FILES', 'EXAMPLES'):
        check(f'loomquill(1) has {section}', re.search(f'^{section}$', texts.get(
            'loomquill', ''), re.M))


def check_completions(share, zsh_dir):
    bash = os.path.join(share, 'bash-completion', 'completions', 'loomquill-cli')
    check('bash completion where bash-completion loads it by command name', os.path.isfile(bash))
    zsh = os.path.join(zsh_dir, '_loomquill-cli')
    check('zsh completion installed', os.path.isfile(zsh))
    if tool('zsh'):
        # The folder is one the system's zsh searches, relative to its own prefix.
        r = run(['zsh', '-fc', 'print -l -- $fpath'])
        relative = os.path.relpath(zsh_dir, os.path.dirname(share))
        check('zsh searches the folder of the completion',
              any(p.endswith('/' + relative) for p in r.stdout.split()), r.stdout)


def main():
    build, source = sys.argv[1:3]
    with tempfile.TemporaryDirectory() as prefix:
        r = run(['cmake', '--install', build, '--prefix', prefix])
        if r.returncode != 0:
            print(r.stdout + r.stderr, file=sys.stderr)
            return 1
        share = os.path.join(prefix, 'share')
        desktop = check_desktop_entry(share)
        check_ids(share, desktop)
        check_window_class(prefix, desktop)
        check_open_with(prefix, share)
        check_metainfo(prefix, share)
        check_icons(share, source)
        check_manuals(share, os.path.join(prefix, 'bin', 'loomquill-cli'))
        check_completions(share, os.path.join(share, 'zsh', 'vendor-completions'))
    print(f'{passes} passed, {failures} failed')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
