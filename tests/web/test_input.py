"""Keyboard and mouse on the pages in headless Chromium, and a browser without
WebGL.

    test_input.py <web dir> <native build dir>

shapeview.html?still (the shapes stand where they were built, on a 1024x768
canvas): a click on each shape's known place prints "picked: NAME", a click on
empty space "picked: nothing"; Escape ends the program with status 0, which
the page reports. drape.html starts with the canvas filling the page; F1 makes
it a window 70 x 90 pixels smaller at (35, 55), F1 again asks for the real
full screen from the key event (headless Chromium grants it: the canvas takes
the screen's size), F1 once more goes back to the window; Escape ends it with
status 0. Random keys, clicks and drags on every page, from its first moment
on, throw nothing and leave it drawing. A WebGL context the browser takes
away is reported on the page. With WebGL turned off, the page says
that it needs WebGL instead of showing a blank canvas."""
import random
import sys

from cdp import Browser, Checks

web = sys.argv[1]
t = Checks("web input")
W, H = 1024, 768


def page_xy(x, y):
    """Framework coordinates (origin bottom-left) to the page's (top-left)."""
    return x, H - 1 - y


def slot(i):
    return (i + 0.5) * W / 4


with Browser(web, W, H) as b:
    b.open("shapeview.html?still")
    b.wait("window.zouFrames >= 2")
    places = [
        ("wave", slot(0), H / 2),             # the centre of the bent grid
        ("fan", slot(1) + 15, H / 2 + 10),    # inside the star's core
        ("loop", slot(2), H / 2 + 65),        # on the hexagon's top edge
        ("points", slot(3) + 70, H / 2),      # the ring's first point
        ("nothing", W / 2, H - 68),           # empty space above the shapes
        ("nothing", slot(2), H / 2),          # inside the hexagon's outline: not on it
    ]
    for name, x, y in places:
        before = len(b.console)
        b.click(*page_xy(x, y))
        b.wait("true")
        b.pump(0.3)
        said = [l for l in b.console[before:] if l.startswith("picked:")]
        t.check(said == ["picked: " + name], "a click at (%d, %d) prints picked: %s (%s)" % (x, y, name, said))
    b.key("Escape", "Escape", 27)
    b.wait("['ended'].includes(document.body.dataset.state)", timeout=30)
    t.check(b.eval("window.zouExitStatus") == 0 and b.status() == "shapeview ended with status 0",
            "Escape ends shapeview with status 0: " + b.status())

    b.open("drape.html")
    b.wait("window.zouFrames >= 5")
    geometry = "[canvas.width, canvas.height, canvas.style.left, canvas.style.top, !!document.fullscreenElement]"
    t.check(b.eval(geometry) == [W, H, "0px", "0px", False], "drape starts with the canvas filling the page")
    b.key("F1", "F1", 112)
    b.pump(0.5)
    t.check(b.eval(geometry) == [W - 70, H - 90, "35px", "55px", False],
            "F1: a window 70 x 90 smaller at (35, 55): %s" % b.eval(geometry))
    b.key("F1", "F1", 112)
    try:
        b.wait("!!document.fullscreenElement && canvas.width == screen.width", timeout=10)
    except RuntimeError:
        pass
    t.check(b.eval(geometry) == b.eval("[screen.width, screen.height, '0px', '0px', true]"),
            "F1 again: the page's real full screen at the screen's size: %s" % b.eval(geometry))
    b.key("F1", "F1", 112)
    try:
        b.wait("!document.fullscreenElement && canvas.width == %d" % (W - 70), timeout=10)
    except RuntimeError:
        pass
    t.check(b.eval(geometry) == [W - 70, H - 90, "35px", "55px", False], "F1 once more: the window again")
    b.wait_frames(3)
    b.key("Escape", "Escape", 27)
    b.wait("document.body.dataset.state == 'ended'", timeout=30)
    t.check(b.eval("window.zouExitStatus") == 0 and b.status() == "drape ended with status 0",
            "Escape ends drape with status 0: " + b.status())

    # Random input, from the first moment on: keys (letters, digits, arrows,
    # function keys but F1 and Escape), clicks and drags anywhere.
    rng = random.Random(14)
    keys = [(c, "Key" + c.upper(), ord(c.upper()), c) for c in "abcdefghijklmnopqrstuvwxyz"] + \
           [(d, "Digit" + d, ord(d), d) for d in "0123456789"] + \
           [(" ", "Space", 32, " "), ("Enter", "Enter", 13, "\r"), ("Tab", "Tab", 9, None)] + \
           [(k, k, c, None) for k, c in (("ArrowLeft", 37), ("ArrowUp", 38), ("F2", 113), ("F5", 116))]
    for page in ("drape.html", "drape-stable.html", "shapeview.html"):
        b.errors = []
        b.open(page)
        for i in range(120):
            if rng.random() < 0.5:
                key, code, number, text = rng.choice(keys)
                b.key(key, code, number, text=text)
            else:
                x, y = rng.randrange(W), rng.randrange(H)
                b.mouse("mousePressed", x, y)
                b.mouse("mouseMoved", rng.randrange(W), rng.randrange(H))
                b.mouse("mouseReleased", rng.randrange(W), rng.randrange(H))
        b.wait_frames(3, timeout=60)
        t.check(not b.errors and b.state() in ("running", "loading"),
                "random input on %s: still drawing, nothing thrown (%s; %s)" % (page, b.state(), b.errors[:3]))

    # A context the browser takes away: the page says so.
    b.open("drape.html")
    b.wait("window.zouFrames >= 3")
    b.eval("canvas.getContext('webgl2').getExtension('WEBGL_lose_context').loseContext()")
    b.wait("document.body.dataset.state != 'running'", timeout=10)
    t.check(b.state() == "contextlost" and "took the WebGL context away" in b.status() and not b.errors,
            "a lost WebGL context is reported on the page: " + b.status())

with Browser(web, W, H, extra_flags=["--disable-webgl", "--disable-3d-apis"]) as b:
    b.open("drape.html")
    b.wait("document.body.dataset.state != 'loading'", timeout=30)
    t.check(b.state() == "nowebgl" and "needs WebGL 2" in b.status() and not b.eval("window.zouFrames"),
            "without WebGL the page says so and draws nothing: " + b.status())
    t.check(b.eval("getComputedStyle(canvas).display") == "none", "without WebGL no blank canvas is shown")

t.exit()
