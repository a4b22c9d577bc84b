"""Plain GLUT programs as pages (tests/web/programs/) in headless Chromium:
GLUT's main loop, window, callbacks and menus, at device pixel ratios 1 and 2.

    test_glut.py <web dir> <native build dir>

square.html (GLUT_SINGLE, 250 x 250 at 100, 100, "white square") shows its
square at that size under that title; glutreturn.html (main returns 5 without
a main loop) ends with status 5; glutevents.html (320 x 240 at 40, 30) gets
its reshape before its first display, its timers, the mouse with the
modifiers held, q's exit(3) as the page's status, l's glutLeaveMainLoop as
status 0, and a menu on the right button whose entries (one in a submenu)
call the menu callback with the current menu set. At ratio 2 the drawing
buffers are twice the size while the programs see the same CSS sizes and
positions. glutlinks.html calls what a page cannot honour (overlays,
subwindows, special devices, ...) and bad arguments: one message each, nothing
changed; glutentries.html links every entry point the headers declare.
Every case is a row of the table at the end."""
import os
import subprocess
import sys
import tempfile

from cdp import Browser, Checks

web = sys.argv[1]
t = Checks("web glut")
work = tempfile.mkdtemp(prefix="zou-web-glut.")
GEOMETRY = "[canvas.width, canvas.height, canvas.style.width, canvas.style.height, canvas.style.left, canvas.style.top]"


def pixels(b, name):
    """The canvas as rows of (r, g, b) through ImageMagick's text output."""
    png = os.path.join(work, name + ".png")
    b.canvas_png(png)
    text = subprocess.run(["convert", png, "-alpha", "off", "-depth", "8", "txt:-"],
                          capture_output=True, text=True, check=True).stdout
    image = {}
    for line in text.splitlines()[1:]:
        where, rest = line.split(":", 1)
        x, y = map(int, where.split(","))
        rgb = rest.split("(")[1].split(")")[0].split(",")[:3]
        image[(x, y)] = tuple(int(float(v)) for v in rgb)
    return image


def lines(b, prefix):
    return [l for l in b.console if l.startswith(prefix)]


def press(b, x, y, button="left", modifiers=0, release=True):
    buttons = {"left": 1, "right": 2, "middle": 4}[button]
    b.call("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y, modifiers=modifiers)
    b.call("Input.dispatchMouseEvent", type="mousePressed", x=x, y=y, button=button, buttons=buttons,
           clickCount=1, modifiers=modifiers)
    if release:
        b.call("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y, button=button, buttons=0,
               clickCount=1, modifiers=modifiers)


def item_centre(b, label):
    """The page position of the open menu's entry `label`."""
    return b.eval("""(() => { for (const e of document.querySelectorAll('.zouMenuItem'))
        if (e.textContent.trim().startsWith(%r)) { const r = e.getBoundingClientRect();
          return [r.left + r.width / 2, r.top + r.height / 2]; } return null; })()""" % label)


def square(b, ratio):
    b.open("square.html")
    b.wait("(window.zouFrames || 0) >= 1")
    size = 250 * ratio
    t.check(b.eval(GEOMETRY) == [size, size, "250px", "250px", "100px", "100px"],
            "ratio %d: square's canvas is 250 x 250 CSS pixels at (100, 100), its buffer %d x %d: %s" % (
                ratio, size, size, b.eval(GEOMETRY)))
    t.check(b.eval("document.title") == "white square", "the window's title is the page's: " + b.eval("document.title"))
    image = pixels(b, "square-%d" % ratio)  # in CSS pixels
    white = sum(1 for v in image.values() if v == (255, 255, 255))
    black = sum(1 for v in image.values() if v == (0, 0, 0))
    side = 125  # from 0.25 to 0.75 of the window
    t.check(abs(white - side * side) <= 2 * side + 1 and white + black == 250 * 250,
            "ratio %d: a white square of %d x %d on black (%d white, %d black)" % (ratio, side, side, white, black))
    t.check(image[(125, 125)] == (255, 255, 255) and image[(2, 2)] == (0, 0, 0),
            "the square stands in the middle, the corners are black")
    t.check(b.state() == "running" and not b.errors, "single-buffered and still running: %s %s" % (b.status(), b.errors))


def returns(b, ratio):
    b.open("glutreturn.html")
    b.wait("document.body.dataset.state == 'ended'", timeout=30)
    t.check(b.status() == "glutreturn ended with status 5" and lines(b, "leaving main") == ["leaving main with 5"],
            "a main that returns 5 without a main loop ends with status 5: " + b.status())


def start(b, ratio):
    b.open("glutevents.html")
    b.wait("(window.zouFrames || 0) >= 1")
    b.wait("document.getElementById('output').textContent.includes('timer 3')", timeout=30)
    t.check(b.eval(GEOMETRY) == [320 * ratio, 240 * ratio, "320px", "240px", "40px", "30px"],
            "ratio %d: glutevents' canvas is 320 x 240 at (40, 30), its buffer x%d: %s" % (ratio, ratio, b.eval(GEOMETRY)))
    first = [l for l in b.console if l.startswith(("window", "reshape", "display"))][:3]
    t.check(first == ["window 320 240 at 40 30, depth 1, double 1", "reshape 320 240, window 320 240 at 40 30", "display 0"],
            "the program sees CSS pixels; reshape comes once before the first display: %s" % first)
    t.check(lines(b, "timer") == ["timer %d at least 1 ms" % i for i in (1, 2, 3)],
            "three chained timers fire in order, after their delay: %s" % lines(b, "timer"))
    t.check(any("glutGetModifiers: called outside" in l for l in b.console),
            "glutGetModifiers outside an input callback warns")


def mouse(b, ratio):
    start(b, ratio)
    # Shift (8) and Control (2) held: GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_CTRL.
    press(b, 40 + 100, 30 + 50, modifiers=8 | 2)
    b.pump(0.3)
    said = lines(b, "mouse")
    t.check(said == ["mouse 0 0 at 100 50 modifiers 3", "mouse 0 1 at 100 50 modifiers 3"],
            "ratio %d: a click with shift and control: button, state, CSS position, modifiers: %s" % (ratio, said))
    # A drag reports motion in CSS pixels, outside the window too.
    press(b, 40 + 10, 30 + 10, release=False)
    b.call("Input.dispatchMouseEvent", type="mouseMoved", x=40 + 30, y=30 + 20, button="left", buttons=1)
    b.call("Input.dispatchMouseEvent", type="mouseMoved", x=20, y=10, button="left", buttons=1)
    b.call("Input.dispatchMouseEvent", type="mouseReleased", x=20, y=10, button="left", buttons=0, clickCount=1)
    b.pump(0.3)
    t.check(lines(b, "motion") == ["motion 30 20", "motion -20 -20"] and lines(b, "mouse")[-1] == "mouse 0 1 at -20 -20 modifiers 0",
            "ratio %d: a drag's motion and release, beyond the window's corner too: %s %s" % (
                ratio, lines(b, "motion"), lines(b, "mouse")[-1:]))


def repeat(b, key, text):
    down = dict(key=text, code="Key" + text.upper(), windowsVirtualKeyCode=ord(text.upper()), text=text)
    b.call("Input.dispatchKeyEvent", type="keyDown", **down)
    b.call("Input.dispatchKeyEvent", type="keyDown", autoRepeat=True, **down)
    b.call("Input.dispatchKeyEvent", type="keyUp", key=text, code=down["code"], windowsVirtualKeyCode=down["windowsVirtualKeyCode"])


def keys(b, ratio):
    start(b, ratio)
    repeat(b, "a", "a")
    b.letter("i")
    repeat(b, "b", "b")
    b.pump(0.3)
    said = [l for l in lines(b, "key") if "modifiers" in l or "up" in l]
    t.check(said == ["key a modifiers 0", "key a modifiers 0", "key up a", "key i modifiers 0", "key up i",
                     "key b modifiers 0", "key up b"],
            "a held key repeats until glutIgnoreKeyRepeat; keys up are reported: %s" % said)
    b.letter("c")
    b.pump(0.2)
    t.check(b.eval("canvas.style.cursor") == "crosshair", "glutSetCursor(GLUT_CURSOR_CROSSHAIR) is CSS's crosshair")


def menu(b, ratio):
    start(b, ratio)
    press(b, 40 + 100, 30 + 100, button="right", release=False)
    b.call("Input.dispatchMouseEvent", type="mouseReleased", x=140, y=130, button="right", buttons=0, clickCount=1)
    b.pump(0.2)
    t.check(b.eval("document.querySelectorAll('.zouMenu').length") == 1 and not lines(b, "mouse"),
            "the right button opens the attached menu, not a mouse callback")
    green = item_centre(b, "Green")
    t.check(green is not None and green[0] > 140 and green[1] > 130, "the menu opens at the pointer: Green at %s" % green)
    if green:
        press(b, *green)
        b.wait("document.getElementById('output').textContent.includes('display 2')", timeout=10)
    t.check(lines(b, "menu") == ["menu 2 from the main menu"] and b.eval("document.querySelectorAll('.zouMenu').length") == 0,
            "choosing Green calls the callback with 2, the main menu current; the menu closes: %s" % lines(b, "menu"))
    image = pixels(b, "menu-%d" % ratio)
    t.check(image[(10, 10)] == (0, 255, 0), "the program drew its choice: %s" % (image[(10, 10)],))
    # The submenu opens beside its entry when the pointer reaches it.
    press(b, 40 + 20, 30 + 20, button="right")
    more = item_centre(b, "More")
    if more:
        b.call("Input.dispatchMouseEvent", type="mouseMoved", x=more[0], y=more[1])
        b.pump(0.1)
    blue = item_centre(b, "Blue")
    if blue:
        b.call("Input.dispatchMouseEvent", type="mouseMoved", x=blue[0], y=blue[1])
        press(b, *blue)
        b.wait("document.getElementById('output').textContent.includes('display 3')", timeout=10)
    t.check(lines(b, "menu")[1:] == ["menu 3 from the submenu"], "Blue in the submenu: %s" % lines(b, "menu"))
    t.check(not lines(b, "mouse") and not b.errors, "no mouse callback for the menu's button, nothing thrown")


def exits(b, ratio):
    start(b, ratio)
    b.key("ArrowLeft", "ArrowLeft", 37)
    b.pump(0.2)
    b.call("Input.dispatchKeyEvent", type="rawKeyDown", key="Shift", code="ShiftRight", windowsVirtualKeyCode=16,
           location=2)
    b.pump(0.2)
    t.check(lines(b, "special") == ["special 100", "special 113"],
            "the left arrow is GLUT_KEY_LEFT, the right shift key GLUT_KEY_SHIFT_R: %s" % lines(b, "special"))
    b.letter("q")
    b.wait("document.body.dataset.state == 'ended'", timeout=30)
    t.check(b.status() == "glutevents ended with status 3" and b.eval("window.zouExitStatus") == 3,
            "exit(3) from the keyboard callback ends the page with status 3: " + b.status())
    b.letter("q")
    b.pump(0.2)
    t.check(lines(b, "key") == ["key q modifiers 0"], "nothing reaches the program after it ended: %s" % lines(b, "key"))


def leaves(b, ratio):
    start(b, ratio)
    b.letter("l")
    b.wait("document.body.dataset.state == 'ended'", timeout=30)
    t.check(b.status() == "glutevents ended with status 0", "glutLeaveMainLoop ends the program with status 0: " + b.status())


def ratio_change(b, ratio):
    """The screen's resolution changes under a running page (the window moved
    to another screen): a new drawing buffer, the program's sizes unchanged."""
    start(b, ratio)
    displays = len(lines(b, "display"))
    # Headless Chromium tells the page's media queries of an emulated ratio
    # only with a change of viewport, so the viewport grows by a pixel too.
    b.call("Emulation.setDeviceMetricsOverride", width=801, height=600, deviceScaleFactor=2, mobile=False)
    b.wait("canvas.width == 640", timeout=10)
    b.wait("document.getElementById('output').textContent.split('display').length - 1 > %d" % displays, timeout=10)
    t.check(b.eval(GEOMETRY) == [640, 480, "320px", "240px", "40px", "30px"] and lines(b, "reshape") == ["reshape 320 240, window 320 240 at 40 30"],
            "ratio 1 to 2 while running: the buffer doubles, drawn anew, no new reshape: %s %s" % (
                b.eval(GEOMETRY), lines(b, "reshape")))


def entry_points(b, ratio):
    """glutlinks: what a page cannot honour reports once per entry point; bad
    arguments are refused with a message and change nothing."""
    b.open("glutlinks.html")
    b.wait("document.body.dataset.state == 'ended'", timeout=30)
    said = [l.split(":")[0] for l in b.console if l.endswith("not drawn in a web page") or "not drawn in a web page (" in l]
    t.check(b.status() == "glutlinks ended with status 0" and lines(b, "wrong") == [],
            "every entry point answers as it should: %s %s" % (b.status(), lines(b, "wrong")))
    t.check(len(said) == len(set(said)) and {"glutCreateSubWindow", "glutEstablishOverlay", "glutWarpPointer",
                                             "glutSpaceballMotionFunc", "glutEnterGameMode", "glutMainLoopEvent",
                                             "glutSetColor", "glutVideoResize"} <= set(said),
            "each entry point a page cannot honour says so once (%d of them): %s" % (len(said), said))
    refusals = [l for l in b.console if l.startswith(("glutSetWindow:", "glutRemoveMenuItem:", "glutChangeToMenuEntry:",
                                                      "glutAddSubMenu:", "glutSetMenu:", "glutSetCursor:", "glutGet:",
                                                      "glutInitWindowSize:", "glutReshapeWindow:", "glutSetKeyRepeat:",
                                                      "glutAttachMenu:", "glutDestroyMenu:"))]
    t.check(len(refusals) == 12 and not b.errors, "twelve bad arguments, twelve messages: %s" % refusals)


def every_entry(b, ratio):
    """glutentries (made from the headers by pages.cmake) linked, so every
    GLUT entry point has a definition; its page runs."""
    b.open("glutentries.html")
    b.wait("document.body.dataset.state == 'ended'", timeout=30)
    count = [int(l.split()[0]) for l in lines(b, "") if l.endswith("GLUT entry points")]
    t.check(b.status() == "glutentries ended with status 0" and count and count[0] >= 140,
            "every GLUT 3.7 and freeglut entry point declared links: %s (%s)" % (count, b.status()))


def window(b, ratio):
    """The program moves, resizes, renames its window, fills the page and
    comes back."""
    start(b, ratio)
    b.letter("w")
    b.wait("document.getElementById('output').textContent.includes('reshape 200 100')", timeout=10)
    t.check(b.eval(GEOMETRY) == [200 * ratio, 100 * ratio, "200px", "100px", "10px", "20px"] and
            b.eval("document.title") == "moved" and lines(b, "reshape")[-1] == "reshape 200 100, window 200 100 at 10 20",
            "glutReshapeWindow, glutPositionWindow, glutSetWindowTitle: %s %s %s" % (
                b.eval(GEOMETRY), b.eval("document.title"), lines(b, "reshape")[-1:]))
    b.letter("f")
    b.wait("document.getElementById('output').textContent.includes('reshape 800 600')", timeout=10)
    t.check(b.eval(GEOMETRY)[2:] == ["800px", "600px", "0px", "0px"], "glutFullScreen fills the page: %s" % b.eval(GEOMETRY))
    b.letter("g")
    b.wait("canvas.style.width == '200px'", timeout=10)
    b.pump(0.2)
    t.check(b.eval(GEOMETRY)[2:] == ["200px", "100px", "10px", "20px"] and
            lines(b, "reshape")[-1] == "reshape 200 100, window 200 100 at 10 20",
            "glutLeaveFullScreen brings the window back: %s %s" % (b.eval(GEOMETRY), lines(b, "reshape")[-1:]))


# name, device pixel ratio, case
CASES = [
    ("square", 1, square), ("square", 2, square),
    ("main returns", 1, returns), ("entry points", 1, entry_points),
    ("every entry point", 1, every_entry),
    ("events", 1, mouse), ("events", 2, mouse),
    ("menu", 1, menu), ("menu", 2, menu),
    ("keys", 1, keys), ("window", 1, window), ("window", 2, window), ("exit", 1, exits), ("leave", 1, leaves), ("ratio change", 1, ratio_change),
]

with Browser(web, 800, 600, ratio=1) as b:
    for name, ratio, case in CASES:
        b.call("Emulation.setDeviceMetricsOverride", width=800, height=600, deviceScaleFactor=ratio, mobile=False)
        b.ratio = ratio  # canvas_png gives the picture in CSS pixels
        b.errors = []
        print("-- %s at ratio %d" % (name, ratio), flush=True)
        case(b, ratio)

t.exit()
