#!/usr/bin/python3
"""Reads the real window's AT-SPI tree: every control has a role and a name, the states a
reader needs, the design's typos spelled right, and an action that does what a click does.
Run inside a private session bus (atspi_e2e.sh starts one).
    atspi_tree.py BIN_DIR"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

CONTROLS = {"push button", "check box", "radio button", "text", "list", "menu item",
            "check menu item", "radio menu item", "menu"}
TYPOS = ("Paht", ",,,", "Vew", "assocation", "informations")

failures = []


def check(what, ok):
    if not ok:
        failures.append(what)
        print("FAILED: " + what, file=sys.stderr)


def states(node):
    return {pyatspi.stateToString(s) for s in node.getState().getStates()}


def wait_for(find, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    return None


def app_node():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        child = desktop.getChildAtIndex(i)
        if child is not None and "loomquill" in (child.name or "").lower():
            return child
    return None


def walk(node):
    yield node
    # A list that manages its descendants is read row by row, as a reader reads it.
    if node.getState().contains(pyatspi.STATE_MANAGES_DESCENDANTS):
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find(root, role, name):
    for node in walk(root):
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def click(node):
    action = node.queryAction()
    check(f"{node.getRoleName()} {node.name!r} has an action", action.nActions > 0)
    if action.nActions > 0:
        action.doAction(0)


def x_windows(pid):
    """The process's visible X windows, by id, with their titles."""
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                         capture_output=True, text=True).stdout.split()
    return {w: subprocess.run(["xdotool", "getwindowname", w], capture_output=True,
                              text=True).stdout.strip() for w in ids}


def new_window(pid, before, title, seconds=20):
    """The id of a window with this title that was not up before, once it is up."""
    return wait_for(lambda: next((w for w, t in x_windows(pid).items()
                                  if w not in before and t == title), None), seconds)


def close_window(pid, window, keys=("alt+F4",)):
    """Sends the keys to the window (Alt+F4: openbox asks it to close) until it has gone;
    whether it went."""
    for key in list(keys) * 3:
        if window not in x_windows(pid):
            return True
        subprocess.run(["xdotool", "windowactivate", "--sync", window], check=False,
                       stderr=subprocess.DEVNULL)
        subprocess.run(["xdotool", "key", key], check=False)
        if wait_for(lambda: window not in x_windows(pid), 5):
            return True
    return False


def menu_open():
    """Whether a popup menu's window is mapped on the display."""
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", ""],
                         capture_output=True, text=True).stdout.split()
    return any("POPUP_MENU" in subprocess.run(["xprop", "-id", w, "_NET_WM_WINDOW_TYPE"],
                                              capture_output=True, text=True).stdout
               for w in ids)


def act(node):
    """Runs the node's first action. A menu item's command runs inside the reader's call, so
    one that opens a dialog keeps the answer back until the dialog closes: no answer in
    time is not a failure."""
    if node is None:
        return
    action = node.queryAction()
    check(f"{node.getRoleName()} {node.name!r} has an action", action.nActions > 0)
    if action.nActions == 0:
        return
    try:
        action.doAction(0)
    except GLib.GError:
        pass


def menu_item(app, path):
    """The menu item at path: the menu names, then the item's."""
    node = app
    for name in path:
        node = next((n for n in walk(node)
                     if n.name == name and n.getRoleName() in ("menu", "menu item",
                                                               "radio menu item",
                                                               "check menu item")), None)
        if node is None:
            check(f"the menu item {' > '.join(path)} is there", False)
            return None
    return node


def counter(app):
    """The counter's text (focused position/count)."""
    for node in walk(app):
        if node.getRoleName() == "text":
            text = node.queryText().getText(0, -1)
            if "/" in text and text.replace("/", "").isdigit():
                return text
    return None


def text_of(node):
    return node.queryText().getText(0, -1)


def clipboard():
    return subprocess.run(["timeout", "5", "xclip", "-o", "-selection", "clipboard"],
                          capture_output=True, text=True).stdout


def run_dialog(app, pid, path, title, keys=("alt+F4",), typed=None):
    """Runs the menu item at path: a window with this title opens and is closed again (the
    text typed into it first, if any)."""
    item = menu_item(app, path)
    if item is None:
        return
    before = x_windows(pid)
    act(item)
    window = new_window(pid, before, title)
    check(f"{' > '.join(path)} opens {title!r}", window is not None)
    if window is None:
        others = {w: t for w, t in x_windows(pid).items() if w not in before}
        print(f"  windows that opened: {others}", file=sys.stderr)
        for other in others:
            close_window(pid, other)
        return
    time.sleep(0.5)
    if typed is not None:
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False)
        subprocess.run(["xdotool", "key", "ctrl+l"], check=False)
        time.sleep(0.3)
        subprocess.run(["xdotool", "type", "--delay", "10", typed], check=False)
        time.sleep(0.3)
    check(f"{title!r} closes again", close_window(pid, window, keys))


def open_list(app, pid, path):
    run_dialog(app, pid, ["File", "Open list..."], "Open List", ("Return",), typed=path)


def rows(listed):
    return [listed.getChildAtIndex(i) for i in range(listed.childCount)]


def list_checks(app, pid):
    """The file list's rows as list items, its selection and focus, its menu."""
    home = os.environ["HOME"]
    names = [f"{home}/music/{i} Ünïcode & song {i}.ogg" for i in range(5)]
    small = os.path.join(home, "five.lst")
    with open(small, "w", encoding="utf-8") as out:
        out.write("".join(n + "\n" for n in names))
    listed = find(app, "list", "Drag & Drop files")
    check("the file list is there", listed is not None)
    if listed is None:
        return
    check("the file list has an action", "Action" in listed.get_interfaces()
          and listed.queryAction().nActions > 0)
    check("the file list is multi-selectable", "multiselectable" in states(listed))
    # Names are copied as they are listed.
    full = find(app, "radio button", "Full Path")
    if full is not None:
        act(full)
    open_list(app, pid, small)
    check("the five rows are the list's children",
          wait_for(lambda: listed.childCount == 5, 20) is not None)
    children = rows(listed)
    check("each row is a list item", [c.getRoleName() for c in children] == ["list item"] * 5)
    check("each row is named by its text", [c.name for c in children] == names)
    check("each row knows its place", [c.getIndexInParent() for c in children] == list(range(5)))
    check("the rows are in view", all("showing" in states(c) for c in children))
    check("the first row is selected after the list opens",
          [("selected" in states(c)) for c in children] == [True] + [False] * 4)
    check("the counter shows the first of five", counter(app) == "1/5")

    # The selection through AtkSelection moves the window's: its counter, its copy.
    selection = listed.querySelection()
    check("one row is selected", selection.nSelectedChildren == 1)
    selection.selectChild(3)
    check("a row added to the selection takes the focus",
          wait_for(lambda: counter(app) == "4/5", 10) is not None)
    check("two rows are selected", selection.nSelectedChildren == 2)
    check("the second selected is row 3", selection.getSelectedChild(1).name == names[3])
    check("row 3 reads selected", "selected" in states(children[3]))
    selection.deselectSelectedChild(0)
    check("the first row left the selection", not selection.isChildSelected(0))
    check("one row stays selected", selection.nSelectedChildren == 1)
    act(menu_item(app, ["List", "Copy selected item"]))
    check("Copy selected item copies the row selected by the reader",
          wait_for(lambda: names[3] in clipboard(), 10) is not None)
    act(children[1])
    check("a row's click selects it alone",
          wait_for(lambda: counter(app) == "2/5", 10) is not None)
    check("the clicked row alone is selected",
          [selection.isChildSelected(i) for i in range(5)] == [False, True] + [False] * 3)

    # The focused row is reported as the keyboard moves.
    listed.queryComponent().grabFocus()
    check("the list takes the focus", wait_for(lambda: "focused" in states(listed), 10))
    check("the focused row reads focused",
          wait_for(lambda: "focused" in states(children[1]), 10) is not None)
    events = []
    listener = lambda event: events.append(event.type)  # noqa: E731
    pyatspi.Registry.registerEventListener(listener, "object:active-descendant-changed",
                                           "object:state-changed:focused",
                                           "object:selection-changed")
    subprocess.run(["xdotool", "key", "Down"], check=False)
    check("Down moves the focus to the next row",
          wait_for(lambda: counter(app) == "3/5", 10) is not None)
    check("the next row reads focused", "focused" in states(rows(listed)[2]))
    check("the row left reads not focused", "focused" not in states(rows(listed)[1]))

    def told():
        GLib.MainContext.default().iteration(False)
        return {"object:active-descendant-changed", "object:selection-changed"} <= set(events)

    check("the reader is told of the active row and the selection", wait_for(told, 10))
    pyatspi.Registry.deregisterEventListener(listener, "object:active-descendant-changed",
                                             "object:state-changed:focused",
                                             "object:selection-changed")

    # The list's action opens its popup menu, as the Menu key does.
    act(listed)
    check("the list's action opens its menu", wait_for(menu_open, 10))
    subprocess.run(["xdotool", "key", "Escape"], check=False)
    check("the menu closes", wait_for(lambda: not menu_open(), 10))

    # A hundred thousand rows: the children are counted, not made.
    act(menu_item(app, ["File", "Clear List"]))
    check("Clear List empties the list", wait_for(lambda: listed.childCount == 0, 10))
    big = os.path.join(home, "many.lst")
    with open(big, "w", encoding="utf-8") as out:
        out.write("".join(f"/srv/archive/track-{i:06d}.flac\n" for i in range(100000)))
    open_list(app, pid, big)
    check("100,000 rows are the list's children",
          wait_for(lambda: listed.childCount == 100000, 60) is not None)
    last = listed.getChildAtIndex(99999)
    check("row 99,999 is there", last is not None)
    if last is not None:
        check("row 99,999 is named by its text", last.name == "/srv/archive/track-099999.flac")
        check("row 99,999 is out of view", "showing" not in states(last))
        check("row 99,999 knows its place", last.getIndexInParent() == 99999)
        listed.querySelection().selectChild(99999)
        check("selecting row 99,999 moves the counter",
              wait_for(lambda: counter(app) == "100000/100000", 10) is not None)
        check("row 99,999 comes into view", wait_for(lambda: "showing" in states(last), 10))
    check("no row past the end", listed.getChildAtIndex(100000) is None)
    act(menu_item(app, ["List", "Clear: delete all items"]))
    check("Clear: delete all items empties the list",
          wait_for(lambda: listed.childCount == 0, 20) is not None)
    check("the row objects are stale after", last is None or "defunct" in states(last))


def menu_checks(app, pid):
    """Each menu item runs through its action; its effect seen from outside."""
    home = os.environ["HOME"]
    listed = find(app, "list", "Drag & Drop files")
    header = find(app, "text", "Header")
    names = [f"{home}/m{i}.txt" for i in range(3)]
    three = os.path.join(home, "three.lst")
    with open(three, "w", encoding="utf-8") as out:
        out.write("".join(n + "\n" for n in names))
    open_list(app, pid, three)
    wait_for(lambda: listed.childCount == 3, 20)

    # The list commands.
    act(rows(listed)[0])
    act(menu_item(app, ["List", "Move down"]))
    check("Move down moves the row",
          wait_for(lambda: [c.name for c in rows(listed)] == [names[1], names[0], names[2]], 10))
    act(menu_item(app, ["List", "Move up"]))
    check("Move up moves it back",
          wait_for(lambda: [c.name for c in rows(listed)] == names, 10))
    act(menu_item(app, ["List", "Create and copy selected item"]))
    check("Create and copy selected item copies the item composed",
          wait_for(lambda: clipboard().strip() == names[0], 10))
    act(menu_item(app, ["List", "Delete selected item"]))
    check("Delete selected item removes the row",
          wait_for(lambda: [c.name for c in rows(listed)] == names[1:], 10))

    # Templates put their texts in the fields.
    for template in ["Batch backup", "HTML links", "JSON lines", "M3U playlist",
                     "Markdown list", "Shell backup"]:
        before = text_of(header)
        act(menu_item(app, ["Templates", template]))
        check(f"Templates > {template} changes the header",
              wait_for(lambda: text_of(header) != before, 10))
    for template in ["CSV table", "Numbered list"]:
        before = text_of(header)
        act(menu_item(app, ["Templates", "More", template]))
        check(f"Templates > More > {template} changes the header",
              wait_for(lambda: text_of(header) != before, 10))

    # File's commands: what they write, and the dialogs they open.
    out_file = os.path.join(home, "ZQScript.txt")
    act(menu_item(app, ["File", "Create output file"]))
    check("Create output file writes the output file",
          wait_for(lambda: os.path.exists(out_file), 10))
    saved = os.path.join(home, "saved.lst")
    run_dialog(app, pid, ["File", "Save list..."], "Save List", ("Return",), typed=saved)
    check("Save list writes the list",
          wait_for(lambda: os.path.exists(saved) and open(saved).read().split() != [], 10))
    for path, title in [(["File", "Set output file..."], "File"),
                        (["File", "Set main head..."], "Input"),
                        (["File", "Set main queue..."], "Input"),
                        (["File", "Set Send To interface..."], "Send To"),
                        (["File", "Options", "Change Font..."], "Choose font"),
                        (["Templates", "Save Template"], "Save Head & Queue"),
                        (["Templates", "Open Template"], "Save Head & Queue"),
                        (["File", "Preview output"], "Preview output"),
                        (["Help", "About..."], "About Halvorn Loomquill")]:
        run_dialog(app, pid, path, title)

    # Each way of escaping names is a radio item that gets checked.
    escapes = menu_item(app, ["File", "Options", "Escape names for"])
    if escapes is not None:
        for item in [c for c in rows(escapes) if c.getRoleName() == "radio menu item"]:
            act(item)
            check(f"Escape names for > {item.name} gets checked",
                  wait_for(lambda: "checked" in states(item), 10))

    # What opens elsewhere (an editor, the help, a browser) may end in a notice here when
    # the machine has none: the action runs, any window it opened is closed, the window
    # answers again.
    for path in (["File", "View output file"], ["Help", "Index"],
                 ["Help", "Connect to WEB page"]):
        before = x_windows(pid)
        act(menu_item(app, path))
        time.sleep(3)
        for window in [w for w in x_windows(pid) if w not in before]:
            close_window(pid, window, ("Return", "alt+F4"))
        check(f"the window answers after {' > '.join(path)}",
              wait_for(lambda: counter(app) is not None, 20) is not None)


def main():
    app_bin = os.path.join(sys.argv[1], "loomquill")
    log = open(os.path.join(os.environ["HOME"], "app.log"), "w")
    proc = subprocess.Popen([app_bin], stdout=log, stderr=log)
    try:
        app = wait_for(app_node, 30)
        check("the window is on the accessibility bus", app is not None)
        if app is None:
            return
        frame = wait_for(lambda: find(app, "frame", "Halvorn Loomquill"))
        check("the main window is a frame named by its title", frame is not None)
        # A loaded machine fills the tree for a while after the frame shows.
        def all_controls():
            found = [n for n in walk(app) if n.getRoleName() in CONTROLS]
            return found if len(found) > 40 else None

        controls = wait_for(all_controls, 30) or []
        check("the tree holds the window's controls", len(controls) > 40)
        for node in controls:
            role = node.getRoleName()
            check(f"a {role} has a name", bool(node.name))
            for typo in TYPOS:
                check(f"{role} {node.name!r} reads {typo!r} spelled right", typo not in node.name)
            if role in ("push button", "check box", "radio button"):
                check(f"{role} {node.name!r} has an action", node.queryAction().nActions > 0)

        # The design's typos, read spelled right; the tool bar's buttons named.
        for role, name in [("radio button", "Full Path"), ("menu item", "Set output file..."),
                           ("push button", "View last created output"),
                           ("push button", "Preview output"), ("push button", "Clear file list"),
                           ("push button", "Click here"), ("list", "Drag & Drop files")]:
            check(f"a {role} named {name!r}", find(app, role, name) is not None)

        full = find(app, "radio button", "Full Path")
        relative_field = find(app, "text", "Relative Path")
        if full is not None:
            check("the checked radio is checked", "checked" in states(full))
        if relative_field is not None:
            check("the disabled field is not enabled", "enabled" not in states(relative_field))
        # The window gets the keyboard (no window manager hands it over), then the reader
        # moves the focus to a field.
        subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Halvorn Loomquill$",
                        "windowfocus"], check=False)
        header = find(app, "text", "Header")
        check("the Header field is there", header is not None)
        if header is not None:
            check("the field can take the focus", "focusable" in states(header))
            header.queryComponent().grabFocus()
            check("the focused field is focused",
                  wait_for(lambda: "focused" in states(header), 15) is not None)
            check("no other control is focused",
                  [n.name for n in controls if "focused" in states(n)] == ["Header"])

        # Activation does what a click does.
        invert = find(app, "check box", "Invert slash (\\ become /)")
        if invert is not None:
            before = "checked" in states(invert)
            click(invert)
            check("the check box toggles",
                  wait_for(lambda: ("checked" in states(invert)) != before, 15) is not None)
            click(invert)
            check("the check box toggles back",
                  wait_for(lambda: ("checked" in states(invert)) == before, 15) is not None)
        no_path = find(app, "radio button", "No Path")
        if no_path is not None and full is not None and relative_field is not None:
            click(no_path)
            check("the radio gets checked",
                  wait_for(lambda: "checked" in states(no_path), 15) is not None)
            check("the other radio is unchecked",
                  wait_for(lambda: "checked" not in states(full), 15) is not None)
            check("the disabled field stays disabled with No Path",
                  "enabled" not in states(relative_field))
        list_checks(app, proc.pid)
        menu_checks(app, proc.pid)
        # A button's command: MainHead's Input dialog opens, seen on the X display (its modal
        # loop keeps the window busy for the reader, so it comes last).
        main_head = find(app, "push button", "MainHead")
        check("the MainHead button is there", main_head is not None)
        if main_head is not None:
            click(main_head)
            box = wait_for(lambda: subprocess.run(
                ["xdotool", "search", "--onlyvisible", "--name", "^Input$"],
                capture_output=True, text=True).stdout.strip(), 20)
            check("the MainHead button opens the Input dialog", box is not None)
    finally:
        proc.terminate()
        proc.wait(10)
        log.close()
    passed = "all" if not failures else f"{len(failures)} failed"
    print(f"atspi: {passed}")


main()
sys.exit(1 if failures else 0)
