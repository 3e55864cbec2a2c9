#!/usr/bin/python3
"""Drives one running file manager as a person would, for scripts/check-file-managers.sh.

    file-manager-probe.py menu PID FOLDER SHOTS_PREFIX
        right-clicks the background of the window of PID (xdotool), reads the menu that opens
        through the accessibility bus, fails when Pallstone's "New File" is not in it, then picks
        New File > a text type and fails unless a new .txt file appears in FOLDER; then opens the
        menu of the first item (Home, Shift+F10) and fails unless Pallstone's "Hide Selected
        Items" is in it. Pictures of the screen go to SHOTS_PREFIX-menu.png, -submenu.png,
        -after.png and -file-menu.png.
        GTK 4.18 (Nautilus 48) gives the entries of its popover menus no names: there the
        entries are picked by their place (see probe_nameless_menu).
    file-manager-probe.py keys PID FOLDER SHOTS_PREFIX
        the same for Dolphin, with the keyboard (see probe_menu_by_keys); the selected file's
        "Hide Selected Items" is picked too and must put the file in FOLDER/.hidden.
    file-manager-probe.py hide PID FOLDER SHOTS_PREFIX
        selects the first item of FOLDER's view (a click on the background, then Home), picks
        Pallstone's "Hide Selected Items" from its menu (Shift+F10) and fails unless the view drops
        the item by itself; then picks "Unhide All Items" from the background's menu and fails
        unless the item shows again. Pictures go to SHOTS_PREFIX-hidden.png and -unhidden.png.
Exits 3 when the application never shows up on the accessibility bus.
"""
import os
import re
import subprocess
import sys
import time

import pyatspi

MENU_ROLES = {pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_RADIO_MENU_ITEM,
              pyatspi.ROLE_MENU}
MAX_NODES = 20000
# Qt 5 applications now and then never register with the accessibility bus.
NOT_ACCESSIBLE = 3


def log(*parts):
    print("probe:", *parts, file=sys.stderr, flush=True)


def application(pid, timeout=30):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                continue
        time.sleep(0.5)
    desktop = pyatspi.Registry.getDesktop(0)
    found = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
    log(f"no accessible application with process {pid} among",
        [(a.name, a.get_process_id()) for a in found if a is not None])
    sys.exit(NOT_ACCESSIBLE)


def nodes(root):
    """Every accessible node under root, breadth first, at most MAX_NODES."""
    queue, seen = [root], 0
    while queue and seen < MAX_NODES:
        node = queue.pop(0)
        seen += 1
        yield node
        try:
            count = node.childCount
        except Exception:
            continue
        for i in range(min(count, 2000)):
            try:
                child = node.getChildAtIndex(i)
            except Exception:
                child = None
            if child is not None:
                queue.append(child)


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def shown(node):
    """GTK 4 marks the items of an open popover menu visible but never showing."""
    try:
        states = node.getState()
        return states.contains(pyatspi.STATE_SHOWING) or states.contains(pyatspi.STATE_VISIBLE)
    except Exception:
        return False


def menu_items(app):
    items = []
    for node in nodes(app):
        try:
            if node.getRole() in MENU_ROLES and node.name and shown(node):
                items.append(node)
        except Exception:
            continue
    return items


def shoot(path):
    subprocess.run(["import", "-window", "root", path], check=False)


def window_geometry(pid):
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                         capture_output=True, text=True).stdout.split()
    best = None
    for wid in ids:
        shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", wid],
                               capture_output=True, text=True).stdout
        values = dict(line.split("=", 1) for line in shell.split() if "=" in line)
        area = int(values.get("WIDTH", 0)) * int(values.get("HEIGHT", 0))
        if best is None or area > best[0]:
            best = (area, wid, values)
    if best is None or best[0] < 200 * 200:
        return None
    return best[1], {k: int(v) for k, v in best[2].items() if k != "SCREEN"}


def right_click_background(pid):
    end = time.monotonic() + 30
    found = None
    while time.monotonic() < end and not found:
        found = window_geometry(pid)
        if not found:
            time.sleep(0.5)
    if not found:
        raise SystemExit("probe: the file manager shows no window")
    wid, g = found
    subprocess.run(["xdotool", "windowactivate", "--sync", wid], check=False)
    # The view's background: below and right of the few items the folder holds.
    x, y = g["X"] + g["WIDTH"] * 3 // 4, g["Y"] + g["HEIGHT"] * 3 // 4
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "3"], check=True)


def choose(node):
    """Picks a menu entry as a click does: its default action, else a click on its middle."""
    try:
        action = node.queryAction()
        names = [action.getName(i).lower() for i in range(action.nActions)]
        for wanted in ("click", "press", "activate"):
            if wanted in names:
                action.doAction(names.index(wanted))
                return
        if action.nActions:
            action.doAction(0)
            return
    except NotImplementedError:
        pass
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                    str(box.y + box.height // 2), "click", "1"], check=True)


def wait_for(what, predicate, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = predicate()
        if found:
            return found
        time.sleep(0.3)
    return None


def keys(*names, delay=150):
    subprocess.run(["xdotool", "key", "--delay", str(delay), *names], check=True)


def first_name(folder):
    return sorted(n for n in os.listdir(folder) if not n.startswith("."))[0]


def expect_only_hidden(folder, name):
    """Waits for FOLDER/.hidden to list name alone, as "Hide Selected Items" on it leaves it."""
    path = os.path.join(folder, ".hidden")

    def listed():
        try:
            with open(path, encoding="utf-8", errors="surrogateescape") as f:
                return [line for line in f.read().split("\n") if line] == [name]
        except OSError:
            return False

    done = wait_for("hidden", listed, 10)
    if not done:
        raise SystemExit(f"probe: Hide Selected Items on {name} left no .hidden naming it alone")
    log("file menu: Hide Selected Items put", name, "in .hidden")


def expect_text_file(folder, before, shots, by_place=False):
    """Waits for New File > a text type to leave a new .txt file in folder. by_place: the
    entries were picked by their place, so a menu without Pallstone's entries shows only here."""

    def created():
        return [n for n in set(os.listdir(folder)) - before if n.endswith(".txt")]

    made = wait_for("file", created, 15)
    time.sleep(1)
    shoot(shots + "-after.png")
    if not made:
        hint = " (see the pictures: were Pallstone's entries in the menu?)" if by_place else ""
        raise SystemExit("probe: New File > a text type made no file in " + folder + hint)
    log("created:", made)


def names_of(items):
    return [item.name for item in items]


def entries(app, wanted, known):
    """The shown menu entries whose name passes wanted. GTK 3 builds some menus before they open
    and GTK 4 marks nothing as showing: a showing entry counts, else a visible one that was not
    there before the right-click."""
    items = menu_items(app)
    on_screen = [i for i in items if showing(i)]
    if on_screen:
        return [i for i in on_screen if wanted(i.name)]
    return [i for i in items if wanted(i.name) and i.name not in known]


def probe_menu(pid, folder, shots):
    app = application(pid)
    before = set(os.listdir(folder))
    known = set(names_of(menu_items(app)))
    showing_before = set(names_of(i for i in menu_items(app) if showing(i)))
    right_click_background(pid)

    def opened():
        now = menu_items(app)
        return ([i for i in now if showing(i) and i.name not in showing_before] or
                [i for i in now if i.name not in known])

    menu = wait_for("menu", opened, 10)
    if not menu and wait_for("nameless menu", lambda: nameless_menu(app), 3):
        return probe_nameless_menu(app, pid, folder, shots, before)
    new_file = wait_for("entries", lambda: entries(app, lambda n: n == "New File", known), 3)
    shoot(shots + "-menu.png")
    if not menu:
        raise SystemExit("probe: no menu opened on the right-click")
    log("menu:", names_of(menu))
    if not new_file:
        raise SystemExit("probe: the first menu has no Pallstone entries")
    choose(new_file[0])

    def text_type(name):
        return name.lower().lstrip(".") in ("txt", "text", "text file", "text document")

    typed = wait_for("submenu", lambda: entries(app, text_type, known), 10)
    shoot(shots + "-submenu.png")
    if not typed:
        raise SystemExit("probe: New File shows no text type: " + repr(names_of(menu_items(app))))
    choose(typed[0])
    expect_text_file(folder, before, shots)
    probe_file_menu(app, pid, shots)


def nameless_menu(app):
    """The entries of an open GTK 4.18 popover menu: menu items, shown, all without a name."""
    items = []
    for node in nodes(app):
        try:
            if node.getRole() in MENU_ROLES and shown(node):
                items.append(node)
        except Exception:
            continue
    return items if items and not any(i.name for i in items) else None


def window_origin(pid):
    found = window_geometry(pid)
    if not found:
        raise SystemExit("probe: the file manager shows no window")
    return found[1]["X"], found[1]["Y"]


def probe_nameless_menu(app, pid, folder, shots, before):
    """Nautilus 48's background menu: New Folder, Paste, Select All, then the extensions'
    entries, Pallstone's New File first; its submenu starts with its back button and "Choose
    Location and Type...", then Text Document. Without Pallstone's entries the places differ and
    no text file is made."""
    shoot(shots + "-menu.png")
    log("menu: entries without names (GTK 4.18), picked by place")
    keys(*["Down"] * 3, "Return")
    time.sleep(1)
    keys(*["Down"] * 2)
    time.sleep(0.5)
    shoot(shots + "-submenu.png")
    keys("Return")
    expect_text_file(folder, before, shots, by_place=True)
    # The selected file's menu: a right-click on the first item, whose place the view tells in
    # window coordinates (GTK 4 on X knows no desktop ones); Pallstone's Hide Selected Items is
    # third from the bottom, above Properties and the file manager's own last entry.
    name = first_name(folder)
    item = wait_for("item", lambda: [n for n in nodes(app) if n.name == name and shown(n)], 10)
    if not item:
        raise SystemExit(f"probe: the view shows no {name}")
    box = item[0].queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    x, y = window_origin(pid)
    subprocess.run(["xdotool", "mousemove", str(x + box.x + box.width // 2),
                    str(y + box.y + box.height // 2), "click", "3"], check=True)
    time.sleep(1)
    shoot(shots + "-file-menu.png")
    keys(*["Up"] * 3, "Return")
    expect_only_hidden(folder, name)


def open_first_item_menu(pid):
    """Selects the first item of the view (a click on the background, then Home) and opens its
    menu with Shift+F10."""
    right_click_background(pid)
    subprocess.run(["xdotool", "key", "Escape"], check=False)
    subprocess.run(["xdotool", "click", "1"], check=False)
    subprocess.run(["xdotool", "key", "--delay", "200", "Home", "shift+F10"], check=True)


def probe_file_menu(app, pid, shots):
    """The menu of a selected file: the first item selected with the keyboard, its menu opened
    with Shift+F10; Pallstone's "Hide Selected Items" must be in it."""
    known = set(names_of(menu_items(app)))
    open_first_item_menu(pid)
    found = wait_for("entry", lambda: entries(app, lambda n: n == "Hide Selected Items", known),
                     10)
    shoot(shots + "-file-menu.png")
    subprocess.run(["xdotool", "key", "Escape"], check=False)
    if not found:
        raise SystemExit("probe: the selected file's menu has no Pallstone entries")
    log("file menu: Hide Selected Items is there")


def probe_menu_by_keys(pid, folder, shots):
    """Dolphin (Qt 5) registers with the accessibility bus only now and then: its menu is worked
    with the keyboard instead. Its own background menu has six entries before the plugins', so
    the seventh is Pallstone's first, New File; its submenu opens on its first entry ("Choose
    Location and Type..."), and the one below is txt. Without Pallstone's entries the seventh is
    Properties, and no file is made."""
    before = set(os.listdir(folder))
    right_click_background(pid)
    time.sleep(2)
    shoot(shots + "-menu.png")
    keys(*["Down"] * 7, "Right")
    time.sleep(1)
    keys("Down")
    time.sleep(0.5)
    shoot(shots + "-submenu.png")
    keys("Return")
    expect_text_file(folder, before, shots, by_place=True)
    # The selected file's menu: the first item selected by typing the start of its name, its
    # menu opened with the Menu key; Pallstone's Hide Selected Items is third from the bottom,
    # above the plugins' last entry and Properties.
    name = first_name(folder)
    subprocess.run(["xdotool", "type", "--delay", "150", name[:3]], check=True)
    time.sleep(1)
    keys("Menu")
    time.sleep(1.5)
    shoot(shots + "-file-menu.png")
    keys(*["Up"] * 3, "Return")
    expect_only_hidden(folder, name)


# Long enough for GLib to forget a folder's ".hidden" list (it keeps it five seconds and some
# more) and for the view to be read again: a view that is right only after a manual refresh fails.
VIEW_CHANGE_S = 12
GLIB_FORGETS_S = 9
COUNT = re.compile(r"^(\d+) (items?|files?)\b")


def view_state(app, name):
    """Whether the view shows name: its item when the view's items are accessible, else the item
    count in the status bar (Thunar's icon view hides its items from the accessibility bus)."""
    count = None
    for node in nodes(app):
        try:
            text = node.name or ""
        except Exception:
            continue
        if text == name and shown(node):
            return True, None
        found = COUNT.match(text)
        if found and showing(node):
            count = int(found.group(1))
    return False, count


def shows(app, name, visible, total, by_name):
    """by_name: the view's items are accessible; else only the status bar's count tells, and
    it shows no count while an item is selected."""
    named, count = view_state(app, name)
    if by_name:
        return named == visible
    if count is None:
        # A click on the background (where the pointer was left) ends the selection.
        subprocess.run(["xdotool", "click", "1"], check=False)
    return count == (total if visible else total - 1)


def pick(app, known, title):
    found = wait_for("entry", lambda: entries(app, lambda n: n == title, known), 10)
    if not found:
        raise SystemExit(f"probe: the menu has no {title!r}: " + repr(names_of(menu_items(app))))
    choose(found[0])


def probe_hide(pid, folder, shots):
    app = application(pid)
    items = sorted(n for n in os.listdir(folder) if not n.startswith("."))
    if len(items) < 2:
        raise SystemExit("probe: hide needs two items in " + folder)
    first, total = items[0], len(items)
    state = wait_for("view", lambda: (lambda s: s if s[0] or s[1] == total else None)(
        view_state(app, first)), 15)
    if not state:
        raise SystemExit(f"probe: the view never showed {first}")
    by_name = state[0]
    known = set(names_of(menu_items(app)))
    open_first_item_menu(pid)
    pick(app, known, "Hide Selected Items")
    hidden = wait_for("hidden", lambda: shows(app, first, False, total, by_name),
                      VIEW_CHANGE_S)
    shoot(shots + "-hidden.png")
    if not hidden:
        raise SystemExit(f"probe: {first} is in .hidden but the view still shows it")
    log("hidden without a refresh:", first)
    # Hiding came soon after the folder loaded, while GLib still kept its old list; showing comes
    # once GLib has forgotten the list it read since: both cases are checked.
    time.sleep(GLIB_FORGETS_S)
    known = set(names_of(menu_items(app)))
    right_click_background(pid)
    pick(app, known, "Unhide All Items")
    shown = wait_for("shown", lambda: shows(app, first, True, total, by_name),
                     VIEW_CHANGE_S)
    shoot(shots + "-unhidden.png")
    if not shown:
        raise SystemExit(f"probe: {first} left .hidden but the view does not show it")
    log("shown again without a refresh:", first)


def main(argv):
    if len(argv) == 5 and argv[1] == "menu":
        probe_menu(int(argv[2]), argv[3], argv[4])
        return 0
    if len(argv) == 5 and argv[1] == "hide":
        probe_hide(int(argv[2]), argv[3], argv[4])
        return 0
    if len(argv) == 5 and argv[1] == "keys":
        probe_menu_by_keys(int(argv[2]), argv[3], argv[4])
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
