#!/usr/bin/env python3
"""The window as a screen reader meets it: through the real accessibility bus (AT-SPI).

Starts qm830k on an X display (Xvfb) and a D-Bus session of its own, lists the window's accessible tree,
fails on a control without a name, reads every channel cell by its row and column names and
ticks two of the boxes beside the rows to hear the cells say their row is switched off or
transmit-inhibited.

    atspi_tree.py PROGRAM MAKER_INI

Exits 77 (skipped) with the reason when no bus, display or pyatspi can be had here.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77

# The roles a user operates; each must say what it is. Labels, panels, fillers and
# separators are not controls (a screen reader passes them by).
CONTROL_ROLES = {
    "check box", "push button", "toggle button", "radio button", "combo box", "table",
    "tree", "tree table", "scroll bar", "slider", "spin button", "menu", "menu item",
    "check menu item", "radio menu item", "text", "entry", "password text", "page tab",
    "list", "tool bar", "popup menu",
}


def skip(reason):
    print("SKIP: " + reason)
    sys.exit(SKIP)


def reexec_on_session():
    """A private D-Bus session and X display, so the test touches nothing of the desktop's."""
    if os.environ.get("QM_ATSPI_INNER") == "1":
        return
    for tool in ("dbus-run-session", "Xvfb"):
        if not shutil.which(tool):
            skip(tool + " is not installed (dbus-daemon, xvfb)")
    env = dict(os.environ, QM_ATSPI_INNER="1")
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    env.pop("AT_SPI_BUS_ADDRESS", None)
    cmd = ["dbus-run-session", "--", sys.executable, os.path.abspath(__file__)] + sys.argv[1:]
    sys.exit(subprocess.call(cmd, env=env))


def start_display():
    """An X server of the test's own; its display number comes back on a pipe."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp"], pass_fds=(write,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    with os.fdopen(read, "rb") as pipe:
        number = pipe.readline().strip()
    if not number:
        server.kill()
        server.wait()
        skip("Xvfb did not start")
    return server, ":" + number.decode()


def name_of(node):
    try:
        return node.name or ""
    except Exception:  # a node that went away while it was read
        return ""


def role_of(node):
    try:
        return node.getRoleName()
    except Exception:
        return ""


def showing(node):
    import pyatspi
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def visible(node):
    import pyatspi
    try:
        return node.getState().contains(pyatspi.STATE_VISIBLE)
    except Exception:
        return False


def walk(node, depth, out, in_menu=False):
    """Collects (depth, node) for the node and every child that is on the screen, and the
    entries of the menus (closed menus are not on the screen, their entries count all the
    same)."""
    out.append((depth, node))
    try:
        count = node.childCount
    except Exception:
        return
    if role_of(node) == "table":
        return  # the cells are read by row and column below
    in_menu = in_menu or role_of(node) == "menu bar"
    for k in range(count):
        child = node.getChildAtIndex(k)
        if child is not None and (showing(child) or (in_menu and visible(child))):
            walk(child, depth + 1, out, in_menu)


def find(nodes, role, name):
    for _, n in nodes:
        if role_of(n) == role and name_of(n) == name:
            return n
    return None


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    program, maker = sys.argv[1], sys.argv[2]
    try:
        import pyatspi
    except ImportError:
        skip("python3-pyatspi is not installed")
    reexec_on_session()

    server, display = start_display()
    os.environ["DISPLAY"] = display
    work = tempfile.mkdtemp(prefix="qm-atspi-")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               QT_ACCESSIBILITY="1", LANG="zh_CN.UTF-8")
    proc = subprocess.Popen([program, "--maker-ini", maker, "--ini",
                             os.path.join(work, "QM830K.ini"), "--lang", "zh"], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        frame = None
        bus = False  # the registry answered
        deadline = time.time() + 30
        while time.time() < deadline and frame is None:
            if proc.poll() is not None:
                print(proc.stderr.read().decode(errors="replace"))
                print("FAIL: qm830k ended before its window showed")
                return 1
            try:
                desktop = pyatspi.Registry.getDesktop(0)
                bus = True
                for k in range(desktop.childCount):
                    app = desktop.getChildAtIndex(k)
                    if app is None or name_of(app) != "qm830k":
                        continue
                    for j in range(app.childCount):
                        w = app.getChildAtIndex(j)
                        if w is not None and role_of(w) == "frame" and \
                                name_of(w).startswith("QM830K"):
                            frame = w
            except Exception:  # the bus is starting up
                pass
            time.sleep(0.3)
        if frame is None and not bus:
            skip("the accessibility bus (at-spi2-core) did not answer")
        if frame is None:
            print("FAIL: the window did not appear on the accessibility bus within 30 s")
            return 1

        nodes = []
        walk(frame, 0, nodes)
        # Each menu opened as the user would, so its entries are on the screen.
        for _, bar in [x for x in nodes if role_of(x[1]) == "menu bar"]:
            for k in range(bar.childCount):
                item = bar.getChildAtIndex(k)
                try:
                    item.queryAction().doAction(0)
                except Exception:
                    continue
                time.sleep(0.3)
                for j in range(item.childCount):
                    walk(item.getChildAtIndex(j), 3, nodes, True)
        unnamed = []
        for depth, n in nodes:
            role, name = role_of(n), name_of(n)
            desc = ""
            try:
                desc = n.description or ""
            except Exception:
                pass
            print("  " * depth + "%s \"%s\"%s" % (role, name, (" — " + desc) if desc else ""))
            if role in CONTROL_ROLES and not name.strip():
                unnamed.append(role)
        print("%d nodes on the screen, %d controls without a name" % (len(nodes), len(unnamed)))

        grid = find(nodes, "table", "信道表")
        if grid is None:
            print("FAIL: no table named 信道表")
            return 1
        table = grid.queryTable()
        rows, cols = table.nRows, table.nColumns
        print("信道表: %d x %d" % (rows, cols))

        def read_cell(r, c):
            cell = table.getAccessibleAt(r, c)
            header = table.getColumnHeader(c)
            column = name_of(header) if header is not None else table.getColumnDescription(c)
            row = name_of(table.getAccessibleAt(r, 0))
            return row, column.replace("\n", " "), name_of(cell), cell.description or ""

        unread = 0
        for r in range(rows):
            line = []
            for c in range(1, cols):
                row, column, text, desc = read_cell(r, c)
                if not row or not column.strip() or not text:
                    unread += 1
                line.append("%s=%s%s" % (column, text, (" (" + desc + ")") if desc else ""))
            print("  %s: %s" % (name_of(table.getAccessibleAt(r, 0)), "; ".join(line)))

        # Channel 3 switched off and channel 5 transmit-inhibited by their boxes, as a
        # screen reader user would tick them; the cells then say so.
        said = {}
        for box, (r, c) in (("信道3 关闭", (2, 1)), ("信道5 禁发", (4, 3))):
            node = find(nodes, "check box", box)
            if node is None:
                print("FAIL: no check box named " + box)
                return 1
            node.queryAction().doAction(0)  # "Toggle"
            time.sleep(0.5)
            said[box] = read_cell(r, c)
            print("after %s: %s / %s = %s (%s)" % ((box,) + said[box]))

        failures = []
        if unnamed:
            failures.append("controls without a name: " + ", ".join(unnamed))
        if rows != 16 or cols != 9:
            failures.append("the channel table is %d x %d" % (rows, cols))
        if unread:
            failures.append("%d cells without a row name, column name or text" % unread)
        if said["信道3 关闭"][3] != "此信道已关闭":
            failures.append("channel 3's cell says %r" % said["信道3 关闭"][3])
        if said["信道5 禁发"][3] != "此信道禁止发射":
            failures.append("channel 5's transmit cell says %r" % said["信道5 禁发"][3])
        for f in failures:
            print("FAIL: " + f)
        if not failures:
            print("PASS: every control named, every cell read by its row and column")
        return 1 if failures else 0
    finally:
        proc.kill()
        proc.wait()
        server.kill()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
