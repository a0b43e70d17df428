"""NMaker's main window as a screen reader finds it on the AT-SPI desktop.

    atspi_tree.py PID    (PID: the running program, so a crash ends the wait)
"""
import os
import re
import sys
import time

from gi.repository import Gio, GLib

DEADLINE = 30.0
FIELD_LABELS = {"フォルダ作成先フォルダの指定", "連番開始番号", "連番終了番号", "連番部分の桁数",
                "接頭部分", "接尾部分"}
NUMBER_LABELS = {"連番開始番号", "連番終了番号", "連番部分の桁数"}
BUTTONS = {"参照...": "フォルダの選択", "作成": "指定したフォルダを作成します",
           "削除": "指定したフォルダを削除します", "終了": "Nestmakerを閉じる"}


def fail(message, root=None):
    print(f"atspi_tree: {message}")
    if root is not None:
        print("atspi_tree: the tree as read:")
        dump(root)
    sys.exit(1)


def accessibility_bus():
    # Without it pyatspi only warns and then sees an empty desktop; say so plainly. Polled, as
    # a launcher started by hand may not own its name yet.
    end = time.monotonic() + DEADLINE
    while True:
        try:
            bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
            reply = bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                  None, GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 10000,
                                  None)
            return reply.unpack()[0]
        except GLib.Error as e:
            if time.monotonic() > end:
                fail(f"no accessibility bus on the session bus: {e.message}")
        time.sleep(0.1)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def states(node):
    return set(node.getState().getStates())


def dump(node, depth=0):
    try:
        line = f"{node.getRoleName()}: {node.name!r} — {node.description!r}"
    except GLib.Error as e:
        line = f"(gone: {e.message})"
    print("  " * depth + line)
    for child in node:
        if child is not None:
            dump(child, depth + 1)


def program_running(pid):
    try:
        os.kill(pid, 0)
        return True
    except ProcessLookupError:
        return False


def find_window(pid):
    """The program's frame once it shows, with what it holds in place."""
    seen = set()
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        if not program_running(pid):
            fail(f"the program ended before its window was read (applications seen: {sorted(seen)})")
        try:
            desktop = pyatspi.Registry.getDesktop(0)
            for app in desktop:
                if app is None:
                    continue
                seen.add(app.name)
                if app.name.lower() != "nmaker":
                    continue
                for frame in app:
                    if (frame is not None and frame.getRole() == pyatspi.ROLE_FRAME and
                            pyatspi.STATE_SHOWING in states(frame) and frame.childCount > 0):
                        return app, frame
        except GLib.Error:
            pass  # the program registered or changed while being read; look again
        time.sleep(0.1)
    fail(f"no application 'nmaker' with a showing frame within {DEADLINE:.0f} s "
         f"(applications seen: {sorted(seen) or 'none'}); Qt joins the accessibility bus "
         f"only with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 or a screen reader running")


def check(app, frame):
    problems = []
    nodes = list(walk(frame))
    print(f"atspi_tree: application {app.name!r}, frame {frame.name!r}, {len(nodes)} objects")
    if "NMaker" not in frame.name:
        problems.append(f"the frame is named {frame.name!r}")

    buttons = [n for n in nodes if n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
    for name, tip in BUTTONS.items():
        found = [b for b in buttons if b.name == name]
        if len(found) != 1:
            problems.append(f"{len(found)} push buttons named {name!r}")
        elif found[0].description != tip:
            problems.append(f"button {name!r} is described as {found[0].description!r}")
    create = [b for b in buttons if b.name == "作成"]
    if create:
        missing = {pyatspi.STATE_ENABLED, pyatspi.STATE_SENSITIVE, pyatspi.STATE_SHOWING} - \
            states(create[0])
        if missing:
            problems.append(f"button '作成' lacks {[pyatspi.stateToString(s) for s in missing]}")

    # Each spinner pair sits in its own container, named after the field it steps.
    for name in ("1 増やす", "1 減らす"):
        owners = sorted(b.parent.name for b in buttons if b.name == name)
        if owners != sorted(NUMBER_LABELS):
            problems.append(f"buttons {name!r} belong to {owners}, not one to each number field")

    fields = [n for n in nodes if n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)]
    covered = set()
    for field in fields:
        labels = [t for r in field.getRelationSet()
                  if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                  for t in (r.getTarget(i) for i in range(r.getNTargets()))
                  if t is not None and t.getRole() == pyatspi.ROLE_LABEL and t.name in FIELD_LABELS]
        if len(labels) != 1:
            problems.append(f"field {field.name!r} is labelled by {[l.name for l in labels]}")
            continue
        if field.name != labels[0].name:
            problems.append(f"field labelled {labels[0].name!r} is named {field.name!r}")
        covered.add(labels[0].name)
        if labels[0].name == "フォルダ作成先フォルダの指定":
            missing = {pyatspi.STATE_FOCUSABLE, pyatspi.STATE_EDITABLE} - states(field)
            if missing:
                problems.append(f"the folder field lacks "
                                f"{[pyatspi.stateToString(s) for s in missing]}")
    if len(fields) != len(FIELD_LABELS) or covered != FIELD_LABELS:
        problems.append(f"{len(fields)} text fields; labels without a field: "
                        f"{sorted(FIELD_LABELS - covered)}")

    bars = [n for n in nodes if n.getRole() == pyatspi.ROLE_MENU_BAR]
    menus = {}
    for bar in bars:
        for menu in bar:
            items = [i.name for i in walk(menu)
                     if i is not menu and i.getRole() == pyatspi.ROLE_MENU_ITEM]
            menus[menu.name] = items
            print(f"atspi_tree: {menu.getRoleName()} {menu.name!r} holds {len(items)} menu items")
            if "&" in menu.name:
                problems.append(f"menu {menu.name!r} is read with its '&'")
            if not items or not all(items):
                problems.append(f"menu {menu.name!r} has items {items}")
    # "ファイル(F)": the letter in brackets is part of the caption, the & is not.
    titles = {re.sub(r"\(\w\)$", "", m.replace("&", "")) for m in menus}
    if len(bars) != 1 or not {"ファイル", "ヘルプ"} <= titles:
        problems.append(f"{len(bars)} menu bars, menus {sorted(menus)}")

    if problems:
        fail("\n  ".join(["the main window reads wrongly:"] + problems), frame)
    print("atspi_tree: the main window reads as it should")


def main():
    if len(sys.argv) != 2:
        fail("usage: atspi_tree.py PID")
    print(f"atspi_tree: accessibility bus at {accessibility_bus()}")
    global pyatspi
    import pyatspi
    app, frame = find_window(int(sys.argv[1]))
    try:
        check(app, frame)
    except GLib.Error as e:
        fail(f"the window went away while being read: {e.message}")


if __name__ == "__main__":
    main()
