"""drape-stable's testbed on its page in headless Chromium: pause and drag.

    test_testbed.py <web dir> <native build dir>

With the ground and the status line off (g, s), so that the picture is the
cloth alone: while the cloth falls, two pictures 5 frames apart differ;
after space ("paused at frame N") two pictures 10 redrawn frames apart are
identical, and after space again they differ again. At rest (frame 350 and
on) two pictures 15 frames apart are identical (at most 0.05% of the pixels
differ), and a drag that grabs a knob in the cloth's middle and pulls it
150 pixels up changes more than 1% of them. Escape ends it with status 0."""
import os
import shutil
import subprocess
import sys
import tempfile

from cdp import Browser, Checks

web, native = sys.argv[1], sys.argv[2]
compare = os.path.join(native, "tests", "imgcompare")
work = tempfile.mkdtemp(prefix="zou-web-testbed.")
t = Checks("web testbed")
shots = [0]


def shot(b):
    shots[0] += 1
    path = os.path.join(work, "shot-%02d.png" % shots[0])
    b.canvas_png(path)
    return path


def differing(a, b):
    """The share of pixels (percent) that differ between two pictures."""
    r = subprocess.run([compare, "--max-share", "100", a, b], capture_output=True, text=True)
    for word in r.stdout.split():
        if word.startswith("(") and word.endswith("%,"):
            return float(word[1:-2])
    raise RuntimeError("imgcompare said: " + r.stdout + r.stderr)


def said(b, since, prefix):
    return [l for l in b.console[since:] if l.startswith(prefix)]


with Browser(web) as b:
    b.open("drape-stable.html")
    b.wait("window.zouFrames >= 1")
    b.letter("g")
    b.letter("s")
    b.wait("window.zouFrames >= 20")
    falling1 = shot(b)
    b.wait_frames(5)
    falling2 = shot(b)
    t.check(differing(falling1, falling2) > 0.5, "the falling cloth moves between two pictures")

    before = len(b.console)
    b.letter(" ")
    b.pump(0.3)
    paused = said(b, before, "drape-stable: paused at frame")
    paused1 = shot(b)
    b.wait_frames(10)
    paused2 = shot(b)
    t.check(len(paused) == 1 and differing(paused1, paused2) == 0,
            "space pauses: two pictures 10 frames apart are the same (%s)" % paused)
    before = len(b.console)
    b.letter(" ")
    b.wait_frames(5)
    t.check(said(b, before, "drape-stable: running from frame") and differing(paused2, shot(b)) > 0.5,
            "space again: the cloth moves on")

    b.wait("window.zouFrames >= 350", timeout=240)
    rest1 = shot(b)
    b.wait_frames(15)
    rest2 = shot(b)
    t.check(differing(rest1, rest2) <= 0.05, "at rest, two pictures 15 frames apart are the same")

    before = len(b.console)
    b.mouse("mouseMoved", 505, 400, button="none", buttons=0)
    b.mouse("mousePressed", 505, 400)
    for y in range(390, 245, -10):
        b.mouse("mouseMoved", 505, y)
        b.pump(0.05)
    b.wait_frames(30)
    pulled = shot(b)
    b.mouse("mouseReleased", 505, 250)
    b.pump(0.3)
    held = said(b, before, "drape-stable: holding knob")
    let_go = said(b, before, "drape-stable: let go of knob")
    share = differing(rest2, pulled)
    t.check(len(held) == 1 and len(let_go) == 1 and share > 1.0,
            "a drag grabs a knob, pulls the cloth (%.2f%% of the pixels change) and lets go: %s %s" % (
                share, held, let_go))

    b.key("Escape", "Escape", 27)
    b.wait("document.body.dataset.state == 'ended'", timeout=30)
    t.check(b.eval("window.zouExitStatus") == 0, "Escape ends drape-stable with status 0: " + b.status())

if not t.failed:
    shutil.rmtree(work, ignore_errors=True)
t.exit()
