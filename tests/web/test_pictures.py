"""The pages' pictures against drape-render's offscreen Mesa pictures, at
1024x768 in headless Chromium (SwiftShader's WebGL 2).

    test_pictures.py <web dir> <native build dir>

drape.html?hold=38 (first contact) is compared with `drape-render --png 38`,
and drape-stable.html?hold=400 (the cloth at rest; the testbed's ground and
status line turned off with g and s after the first frame, so that the cloth
alone is drawn) with `drape-render --stable --png 400`, by imgcompare. Tolerance: at most 0.5% of the pixels may differ
(measured: about 0.05%, a few hundred line ends that two rasterisers place a
pixel apart). The controls must fail: each picture shifted by two pixels
(about 4% of the pixels move), and for drape the next frame, 39.

The lit view: drape-stable.html?hold=60 with the ground and the shaded cloth
(w; s turns the status line off) against `drape-render --stable --ground
--shaded --png 60`: the shader's lighting against Mesa's fixed-function
lighting. Lit surfaces round a step or two apart, so pixels within 2 of each
other count as equal (imgcompare --tolerate 2) and at most 0.5% may differ
(measured: about 0.03%). Controls: the picture shifted by two pixels, and the
picture 3% brighter (what a lighting term off by a few percent looks like),
must fail.

With ZOU_WEB_RATIO=2 (the test web_test_pictures_ratio2) the same pages run on
an emulated screen of two device pixels per CSS pixel: the canvas has twice
the pixels each way, and its picture brought back to CSS size (the device
pixel under each CSS pixel's centre, cdp.Browser.canvas_png) is compared as
above, a pixel counting as equal when its colour is found within a pixel in
the other picture (imgcompare --near 1): the finer raster places edges and
thin lines up to half a pixel aside."""
import os
import shutil
import subprocess
import sys
import tempfile

from cdp import Browser, Checks

web, native = sys.argv[1], sys.argv[2]
compare = os.path.join(native, "tests", "imgcompare")
tolerance = "0.5"
work = tempfile.mkdtemp(prefix="zou-web-pictures.")
t = Checks("web pictures")


def render(options, frames, out):
    subprocess.run([os.path.join(native, "drape-render")] + options +
                   ["--png", ",".join(map(str, frames)), "--out", out], check=True, capture_output=True)


def compared(expected, actual, *options):
    near = ["--near", "1"] if ratio != 1 and "--near" not in options else []
    r = subprocess.run([compare, "--max-share", tolerance] + near + list(options) + [expected, actual],
                       capture_output=True, text=True)
    print(r.stdout.strip())
    return r.returncode


def shifted(png):
    out = png.replace(".png", "-shifted.png")
    subprocess.run(["convert", png, "-roll", "+2+0", out], check=True)
    return out


render([], [38, 39], os.path.join(work, "drape"))
render(["--stable"], [400], os.path.join(work, "stable"))
render(["--stable", "--ground", "--shaded"], [60], os.path.join(work, "lit"))

with Browser(web) as b:
    ratio = b.ratio
    for page, frame, ref in (("drape", 38, "drape/frame-0038.png"), ("drape-stable", 400, "stable/frame-0400.png")):
        b.open("%s.html?hold=%d" % (page, frame))
        if page == "drape-stable":
            b.wait("window.zouFrames >= 1")
            b.letter("g")
            b.letter("s")
        b.wait("['held', 'ended', 'nowebgl'].includes(document.body.dataset.state)", timeout=180)
        size = b.eval("[canvas.width, canvas.height]")
        shot = os.path.join(work, "%s-%d.png" % (page, frame))
        b.canvas_png(shot)
        reference = os.path.join(work, ref)
        t.check(b.state() == "held" and size == [round(1024 * ratio), round(768 * ratio)],
                "%s.html?hold=%d holds at frame %d on a %gx%g canvas (%s, %s)" % (
                    page, frame, frame, 1024 * ratio, 768 * ratio, b.status(), size))
        t.check(compared(reference, shot) == 0, "%s frame %d in the page matches drape-render's" % (page, frame))
        t.check(compared(reference, shifted(shot)) == 1, "control: %s frame %d shifted by 2 pixels fails" % (page, frame))
        if page == "drape":
            # The cloth moves less than a pixel in places from one frame to
            # the next: this control looks at the pixels themselves.
            t.check(compared(os.path.join(work, "drape/frame-0039.png"), shot, "--near", "0") == 1,
                    "control: drape frame 38 in the page does not pass for frame 39")

    b.open("drape-stable.html?hold=60")
    b.wait("window.zouFrames >= 1")
    b.letter("s")
    b.letter("w")
    b.wait("['held', 'ended', 'nowebgl'].includes(document.body.dataset.state)", timeout=180)
    lit = os.path.join(work, "drape-stable-lit-60.png")
    b.canvas_png(lit)
    reference = os.path.join(work, "lit/frame-0060.png")
    t.check(compared(reference, lit, "--tolerate", "2") == 0,
            "drape-stable frame 60 with the lit ground and shaded cloth matches drape-render --ground --shaded")
    t.check(compared(reference, shifted(lit), "--tolerate", "2") == 1, "control: the lit view shifted by 2 pixels fails")
    brighter = lit.replace(".png", "-brighter.png")
    subprocess.run(["convert", lit, "-evaluate", "multiply", "1.03", brighter], check=True)
    t.check(compared(reference, brighter, "--tolerate", "2") == 1, "control: the lit view 3% brighter fails")

if not t.failed:
    shutil.rmtree(work, ignore_errors=True)
t.exit()
