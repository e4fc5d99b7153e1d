# SPDX-License-Identifier: GPL-3.0-or-later
# Prints what a screen reader sees of every application on the session's
# accessibility bus: one line per object, "role|name|description|states",
# states limited to selected and focused.
import pyatspi

WATCHED = (pyatspi.STATE_SELECTED, pyatspi.STATE_FOCUSED)


def walk(node, lines, depth=0):
    states = node.getState().getStates()
    marks = ",".join(pyatspi.stateToString(s) for s in WATCHED if s in states)
    lines.append("|".join((node.getRoleName(), node.name, node.description, marks)))
    if depth < 60:
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                walk(child, lines, depth + 1)


lines = []
desktop = pyatspi.Registry.getDesktop(0)
for i in range(desktop.childCount):
    application = desktop.getChildAtIndex(i)
    if application is not None:
        walk(application, lines)
print("\n".join(lines))
