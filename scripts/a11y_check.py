#!/usr/bin/python3
"""Checks both programs through the accessibility bus (AT-SPI), as a screen reader or a
UI automation tool sees them. Run by scripts/a11y_check.sh, which starts the display, the
session bus and the programs.

For each window it finds every control by its accessible description (its design name,
"Text1", "Command3"), prints its role, its accessible name (what a person hears) and its
text, and checks that each control has a Japanese name (labels excepted: their text is
what is read). Then it walks the tab order with the Tab key, presses buttons with the
space key, and reads the results back, so every button is shown to be reachable and
usable from the keyboard.

    a11y_check.py vornilex|quellatto   exit status 0 when every check holds
"""
import sys
import time

import pyatspi

TAB, SPACE, RETURN, DOWN = 0xFF09, 0x20, 0xFF0D, 0xFF54

# The designed controls of each window, in tab order. Labels take no focus.
WINDOWS = {
    "Form1 (Vornilex)": {
        "tab": ["Drive1", "File1", "Dir1", "Text1", "Command1", "Command3", "Command4",
                "List1", "Text2", "Command2", "Command5", "Command6", "Text3"],
        "labels": ["Label1", "Label2"],
    },
    "Form1 (Quellatto)": {
        "tab": ["Text1", "Command1", "Text2", "Command2", "Text4"],
        "labels": ["Label1", "Label3"],
    },
    "Form2": {"tab": ["Text1", "Command1", "Text2", "List1", "Command2"], "labels": []},
    "Form3": {"tab": ["Text1", "Command2", "Command1", "Text2"], "labels": []},
}

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print(f"  FAILED: {what}")


def wait_for(find, what, seconds=10.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    check(False, f"{what} did not appear on the bus")
    return None


def application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == name:
            return app
    return None


def walk(obj):
    yield obj
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def by_description(root):
    """The controls under `root` by accessible description (the first of each)."""
    found = {}
    for obj in walk(root):
        if obj.description and obj.description not in found:
            found[obj.description] = obj
    return found


def text_of(obj):
    try:
        text = obj.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return None


def set_text(obj, value):
    obj.queryEditableText().setTextContents(value)


def has_japanese(s):
    return any("\u3040" <= c <= "\u30ff" or "\u4e00" <= c <= "\u9fff" for c in s or "")


def focused(root):
    for obj in walk(root):
        if obj.getState().contains(pyatspi.STATE_FOCUSED) and obj.description:
            return obj
    return None


def key(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
    time.sleep(0.25)


def show(label, obj):
    text = text_of(obj)
    shown = "" if text is None else f"  text={text.splitlines()[0] if text else ''!r}"
    if text and "\n" in text.strip():
        shown += " …"
    print(f"  {label:<9} {obj.getRoleName():<12} name={obj.name!r}{shown}")


def check_window(title, window):
    design = WINDOWS[title]
    # The window manager gives a new window the focus a moment after it shows.
    wait_for(lambda: window.getState().contains(pyatspi.STATE_ACTIVE), f"{title} active")
    print(f"{title}: window name={window.name!r} description={window.description!r}")
    controls = by_description(window)
    for name in design["tab"] + design["labels"]:
        obj = controls.get(name)
        check(obj is not None, f"{title}: no control described as {name}")
        if obj is None:
            continue
        show(name, obj)
        if obj.getRoleName() == "combo box":
            # Qt reads a combo box on Linux by its value (the chosen drive), not by the
            # name given to it; the description still finds it.
            print(f"  {'':<9} (read by its value: Qt gives a combo box no other name here)")
        elif name not in design["labels"]:   # a label's name is its live caption
            check(has_japanese(obj.name) or obj.getRoleName() == "push button"
                  and bool(obj.name), f"{title}: {name} has no Japanese name")
            check(obj.getState().contains(pyatspi.STATE_FOCUSABLE),
                  f"{title}: {name} takes no keyboard focus")
    items = [o.name for o in walk(window) if o.getRoleName() in ("menu", "menu item")]
    if items:
        print(f"  menus: {' | '.join(items)}")
    return controls


def check_tab_order(title, window, controls):
    order = WINDOWS[title]["tab"]
    wait_for(lambda: window.getState().contains(pyatspi.STATE_ACTIVE), f"{title} active")
    # Start at the first control that takes the focus through the bus (lists do not),
    # walk once round the window with Tab, and read the walk from the first control on.
    for name in order:
        if give_focus(window, controls[name], seconds=2.0):
            break
    walked = []
    for _ in order:
        now = focused(window)
        walked.append(now.description if now else "?")
        key(TAB)
    if order[0] in walked:
        at = walked.index(order[0])
        walked = walked[at:] + walked[:at]
    print(f"  tab order: {' → '.join(walked)}")
    check(walked == order, f"{title}: tab order {walked}, designed {order}")


def give_focus(window, control, seconds=5.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        control.queryComponent().grabFocus()
        time.sleep(0.1)
        if focused(window) is control:
            return True
    return False


def press_with_keyboard(window, control):
    check(give_focus(window, control), f"{control.description} does not take the focus")
    key(SPACE)


def menu_item(window, caption):
    for obj in walk(window):
        if obj.getRoleName() == "menu item" and obj.name == caption:
            return obj
    return None


def press_action(obj):
    action = obj.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "Press", "click", "activate"):
            action.doAction(i)
            return True
    if action.nActions:
        action.doAction(0)
        return True
    return False


def window_described(app, description):
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.description == description and \
                w.getState().contains(pyatspi.STATE_SHOWING):
            return w
    return None


def check_vornilex():
    app = wait_for(lambda: application("vornilex"), "Vornilex")
    if not app:
        return
    window = wait_for(lambda: window_described(app, "Form1"), "Vornilex's Form1")
    if not window:
        return
    controls = check_window("Form1 (Vornilex)", window)

    # The working folder holds a.txt and neko.txt. A list takes no focus through the bus:
    # reach it from Drive1 with Tab, as a user does; the first file is then current.
    give_focus(window, controls["Drive1"])
    key(TAB)
    check(focused(window) is controls["File1"], "Tab from Drive1 does not reach File1")

    def page_shown(expected):
        view = text_of(controls["Text2"]) or ""
        chosen = [o.name for o in walk(controls["File1"]) if o.getRoleName() == "list item"
                  and o.getState().contains(pyatspi.STATE_SELECTED)]
        print(f"  File1 selected {chosen}, Text2 reads {view.splitlines()[:1]}, "
              f"Label2 reads {controls['Label2'].name!r}")
        check(expected in view and controls["Label2"].name == "1", f"the page of {chosen} is not shown")

    print("  keyboard: space in File1 selects the current (first) file, the view shows it")
    key(SPACE)
    page_shown("一行目")
    print("  keyboard: Down in File1 selects the next file, the view shows it")
    key(DOWN)
    page_shown("猫")

    print("  keyboard: 猫 in Text1, space on Command1 (検索)")
    set_text(controls["Text1"], "猫")
    press_with_keyboard(window, controls["Command1"])
    entries = [obj.name for obj in walk(controls["List1"]) if obj.getRoleName() == "list item"]
    print(f"  List1 reads: {entries}")
    check(entries and all("行目に見つかりました" in e for e in entries), "List1 holds no hit entry")

    print("  keyboard: 犬 in Text1, space on Command1: the notice is read, Enter closes it")
    set_text(controls["Text1"], "犬")
    press_with_keyboard(window, controls["Command1"])
    box = wait_for(lambda: window_described(app, "MsgBox"), "the notice 見つかりません")
    if box:
        labels = [text_of(o) or o.name for o in walk(box) if o.getRoleName() == "label"]
        print(f"  notice: name={box.name!r} text={[t for t in labels if t]}")
        check(any("見つかりません" in (t or "") for t in labels), "the notice does not read 見つかりません")
        key(RETURN)
        time.sleep(0.3)
        check(window_described(app, "MsgBox") is None, "Enter did not close the notice")
    check_tab_order("Form1 (Vornilex)", window, controls)


def check_quellatto():
    app = wait_for(lambda: application("quellatto"), "Quellatto")
    if not app:
        return
    form1 = wait_for(lambda: window_described(app, "Form1"), "Quellatto's Form1")
    if not form1:
        return
    controls = check_window("Form1 (Quellatto)", form1)
    check_tab_order("Form1 (Quellatto)", form1, controls)
    print("  keyboard: 'ab cd' in Text1, space on Command1 (測定)")
    set_text(controls["Text1"], "ab cd")
    press_with_keyboard(form1, controls["Command1"])
    print(f"  Text2 reads {text_of(controls['Text2'])!r}, Label1 reads {controls['Label1'].name!r}")
    check(text_of(controls["Text2"]) == "5", "測定 did not count 5")

    item = menu_item(form1, "compare")
    check(item is not None, "no menu item compare")
    if not item:
        return
    print("  menu item 'compare' pressed through the bus")
    press_action(item)
    form2 = wait_for(lambda: window_described(app, "Form2"), "Form2")
    if not form2:
        return
    controls = check_window("Form2", form2)
    check_tab_order("Form2", form2, controls)
    print("  keyboard: 'abc' and 'abd', space on Command1 (比較)")
    set_text(controls["Text1"], "abc")
    set_text(controls["Text2"], "abd")
    press_with_keyboard(form2, controls["Command1"])
    time.sleep(0.3)
    entries = [obj.name for obj in walk(controls["List1"]) if obj.getRoleName() == "list item"]
    print(f"  List1 reads: {entries}")
    check(entries == ["3 文字目の c と d が違います。"], "比較 did not list the difference")

    item = menu_item(form2, "case")
    check(item is not None, "no menu item case")
    if not item:
        return
    print("  menu item 'case' pressed through the bus")
    press_action(item)
    form3 = wait_for(lambda: window_described(app, "Form3"), "Form3")
    if not form3:
        return
    controls = check_window("Form3", form3)
    check_tab_order("Form3", form3, controls)
    print("  keyboard: 'Abc あ1' in Text1, space on Command1 (小→大)")
    set_text(controls["Text1"], "Abc あ1")
    press_with_keyboard(form3, controls["Command1"])
    print(f"  Text2 reads {text_of(controls['Text2'])!r}, Command1 now {controls['Command1'].name!r}")
    check(text_of(controls["Text2"]) == "ABC あ1", "the conversion did not go to upper case")


def main():
    which = sys.argv[1] if len(sys.argv) > 1 else ""
    if which == "vornilex":
        check_vornilex()
    elif which == "quellatto":
        check_quellatto()
    else:
        print(__doc__)
        return 2
    print(f"{which}: {'all checks hold' if not failures else f'{len(failures)} checks failed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
