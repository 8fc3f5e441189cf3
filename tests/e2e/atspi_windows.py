#!/usr/bin/python3
# atspi_windows.py APP: what the accessibility bus shows of the running program APP: each of its windows as
# "window TITLE", then its labels as "label TEXT" and buttons as "button NAME", in the order of the widget
# tree, line breaks in a text written as \n.
import sys

import pyatspi


def show(node, out):
    try:
        role = node.getRole()
        name = node.name
    except Exception:  # a window closing meanwhile
        return
    if role == pyatspi.ROLE_FRAME:
        out.append("window " + name)
    elif role == pyatspi.ROLE_LABEL:
        out.append("label " + name.replace("\n", "\\n"))
    elif role == pyatspi.ROLE_PUSH_BUTTON:
        out.append("button " + name)
        return
    for i in range(node.childCount):
        show(node.getChildAtIndex(i), out)


out = []
for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == sys.argv[1]:
        show(app, out)
print("\n".join(out))
