"""Prints the texts of the labels in the program's window whose title starts
with the first argument, read through the accessibility bus (AT-SPI), and
exits 1 when there is no such window. Without an argument it only makes sure
the accessibility bus is up, so that a program started afterwards joins it."""
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def labels(node, depth, out):
    if node is None or depth > 12:
        return
    try:
        name = node.get_name() or ""
        if node.get_role_name() == "label" and name:
            out.append(name)
        count = node.get_child_count()
    except gi.repository.GLib.Error:
        return
    for i in range(count):
        labels(node.get_child_at_index(i), depth + 1, out)


desktop = Atspi.get_desktop(0)
if len(sys.argv) < 2:
    sys.exit(0)
for i in range(desktop.get_child_count()):
    app = desktop.get_child_at_index(i)
    for j in range(app.get_child_count() if app else 0):
        window = app.get_child_at_index(j)
        if window is not None and (window.get_name() or "").startswith(sys.argv[1]):
            found = []
            labels(window, 0, found)
            print("\n".join(found))
            sys.exit(0)
sys.exit(1)
