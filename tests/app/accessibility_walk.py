#!/usr/bin/python3
"""Walks Velto's windows over AT-SPI from outside the process, as a screen reader does.

Run by walk.sh, which starts Xvfb, a private session bus with the accessibility bus and
Velto on a prepared profile. Exits non-zero with one line per fault found."""
import sys
import time

import pyatspi

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def wait_for(find, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    return None


def velto():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Velto":
            return app
    return None


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def states(node):
    return node.getState()


def find(root, role, name=None, starts=None):
    for node in descendants(root):
        if node.getRoleName() != role:
            continue
        if name is not None and node.name != name:
            continue
        if starts is not None and not node.name.startswith(starts):
            continue
        return node
    return None


def frame_with(app, role, name):
    """The top-level window holding a node of that role and name."""
    for window in app:
        if window is not None and find(window, role, name):
            return window
    return None


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click", "Toggle", "toggle"):
            return action.doAction(i)
    return action.nActions > 0 and action.doAction(0)


def main():
    app = wait_for(velto)
    if not check(app is not None, "Velto never appeared on the accessibility bus"):
        return
    popover = wait_for(lambda: frame_with(app, "push button", "Start"))
    if not check(popover is not None, "no window with a push button named Start"):
        return

    # Every icon-only button is a push button with its name.
    for name in ("Start", "Skip", "Reset", "Session tag", "Insights", "Settings", "Music sync"):
        check(find(popover, "push button", name) is not None, f"popover: no push button named {name!r}")
    for name in ("Focus", "Break"):
        check(find(popover, "page tab", name) is not None, f"popover: no page tab named {name!r}")
    focus_tab = find(popover, "page tab", "Focus")
    if focus_tab:
        check(states(focus_tab).contains(pyatspi.STATE_CHECKED), "popover: the Focus tab is not checked")
        check(states(focus_tab).contains(pyatspi.STATE_FOCUSABLE), "popover: the Focus tab is not focusable")
    chip = find(popover, "radio button", "25 minutes")
    if check(chip is not None, "popover: no radio button named '25 minutes'"):
        check(states(chip).contains(pyatspi.STATE_CHECKED), "popover: the 25-minute chip is not checked")
    check(find(popover, "radio button", "50 minutes") is not None, "popover: no radio button '50 minutes'")
    switch = find(popover, "check box", "Start the next interval automatically")
    if check(switch is not None, "popover: the auto-start switch is not a named check box"):
        check(not states(switch).contains(pyatspi.STATE_CHECKED), "popover: auto-start reads as on")
    skip = find(popover, "push button", "Skip")
    if skip:
        check(not states(skip).contains(pyatspi.STATE_ENABLED), "popover: Skip reads as enabled while idle")
    long_tag = find(popover, "label", starts="Tag: ")
    if check(long_tag is not None, "popover: the session tag is not readable"):
        check(len(long_tag.name) == len("Tag: ") + 200, "popover: the 200-character tag is not read in full")

    # The countdown and the day's figures are text.
    check(find(popover, "label", "25:00") is not None, "popover: the countdown is not readable")
    check(find(popover, "label", "Ready") is not None, "popover: the status text is not readable")
    for name in ("0 sessions", "0m focused"):
        check(find(popover, "label", name) is not None, f"popover: the figure {name!r} is not readable")

    # Pressed through the accessibility interface, play starts the timer.
    play = find(popover, "push button", "Start")
    press(play)
    check(wait_for(lambda: find(popover, "push button", "Pause"), 3) is not None,
          "popover: pressing Start over AT-SPI did not start the timer")
    check(wait_for(lambda: find(popover, "label", starts="24:5"), 4) is not None,
          "popover: the countdown does not run after pressing Start")
    if skip:
        check(wait_for(lambda: states(skip).contains(pyatspi.STATE_ENABLED), 2),
              "popover: Skip stays disabled while the timer runs")

    # The other tab discards the interval; the note's Undo is a named button that brings it back.
    press(find(popover, "page tab", "Break"))
    undo = wait_for(lambda: find(popover, "push button", "Undo"), 3)
    if check(undo is not None, "popover: no push button named 'Undo' after the tab switch"):
        check(states(undo).contains(pyatspi.STATE_FOCUSABLE), "popover: Undo is not focusable")
        press(undo)
        check(wait_for(lambda: find(popover, "label", starts="24:5"), 3) is not None,
              "popover: pressing Undo over AT-SPI did not bring the interval back")

    # The dashboard, opened the same way.
    press(find(popover, "push button", "Insights"))
    dashboard = wait_for(lambda: frame_with(app, "push button", "More"))
    if not check(dashboard is not None, "pressing Insights opened no dashboard with a 'More' button"):
        return
    for name in ("Insights", "Tags", "Integrations", "Settings"):
        check(find(dashboard, "page tab", name) is not None, f"dashboard: no page tab named {name!r}")
    for name in ("1 Session", "25m Focus Time"):
        check(wait_for(lambda: find(dashboard, "label", name), 3) is not None,
              f"dashboard: the figure {name!r} is not readable")
    weeks = [node for node in descendants(dashboard)
             if node.getRoleName() == "label" and "focus" in node.name.lower() and ";" in node.name]
    check(len(weeks) == 12, f"dashboard: {len(weeks)} heat-map weeks are readable, not 12")

    check(find(dashboard, "push button", "Export…") is not None, "dashboard: no push button 'Export…'")

    press(find(dashboard, "page tab", "Tags"))
    check(wait_for(lambda: find(dashboard, "page tab", "Manage"), 3) is not None,
          "dashboard: the Tags section has no Insights/Manage tabs")
    chart = wait_for(lambda: find(dashboard, "chart"), 3)
    if check(chart is not None, "dashboard: the ring chart is not readable"):
        check("total" in chart.name, f"dashboard: the chart reads {chart.name!r}")
    legend = wait_for(lambda: find(dashboard, "label", starts="W" * 200), 3)
    check(legend is not None, "dashboard: the legend does not read the 200-character tag in full")
    check(find(dashboard, "label", starts="Deep Work, ") is not None, "dashboard: the legend is not readable")

    press(find(dashboard, "page tab", "Settings"))
    check(wait_for(lambda: find(dashboard, "spin button", "Focus length in minutes"), 3) is not None,
          "dashboard: the focus length is not a named spin button")
    check(find(dashboard, "check box", "Open at login") is not None, "dashboard: no check box 'Open at login'")
    check(find(dashboard, "spin button", "Focus intervals before a long break") is not None,
          "dashboard: the cycle's length is not a named spin button")
    check(find(dashboard, "check box", "Daily goal") is not None, "dashboard: no check box 'Daily goal'")
    check(find(dashboard, "text", "Command for Focus started") is not None,
          "dashboard: the command fields are not named")
    check(find(dashboard, "push button", "Test") is not None, "dashboard: no push button 'Test'")

    # Every control anywhere has a role and a name.
    controls = ("push button", "page tab", "radio button", "check box", "spin button", "menu item")
    for window in (popover, dashboard):
        for node in descendants(window):
            if node.getRoleName() in controls:
                check(node.name.strip() != "", f"a {node.getRoleName()} without a name")
            check(node.getRoleName() != "filler" or not states(node).contains(pyatspi.STATE_FOCUSABLE),
                  f"a focusable filler {node.name!r}")


if __name__ == "__main__":
    main()
    for failure in failures:
        print("FAIL:", failure)
    print("accessibility walk:", "ok" if not failures else f"{len(failures)} faults")
    sys.exit(1 if failures else 0)
