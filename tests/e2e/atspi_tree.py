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
