"""One feature program drawn natively and as a page, the two pictures compared.

    compare.py <web dir> <native build dir> <name> [--keep DIR]

The program is tests/web/compare/<name>.c, its line in programs.txt gives its
window size and the comparison's tolerance. Natively (compare_<name> on
freeglut + Mesa) it runs on a private Xvfb, and its window's picture is taken
once it has printed "drawn" and two shots in a row agree; as a page
(compare_<name>.html) it runs in headless Chromium, and the canvas's picture is
taken once the page has printed "drawn". imgcompare then compares them within
the program's tolerance. The control, the native program run with --control
(which changes one thing), must not pass for the page's picture. The page
must also not say that anything it was asked is not drawn. A program may
print lines besides "drawn" (hit records, a feedback buffer): the page must
print the same lines word for word, and then a control whose printed lines
differ from the page's is a control that fails, whatever its picture. Under
ZOU_WEB_RATIO=2 the page runs on a screen of two device pixels per CSS pixel,
its picture is brought back to CSS size (cdp.Browser.canvas_png), and a pixel
counts as equal when its colour is found within a pixel in the other picture
(imgcompare --near 1)."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(here))
from cdp import Browser, Checks  # noqa: E402


def table():
    """programs.txt as {name: {size, tolerate, share, ready}}."""
    rows = {}
    for line in open(os.path.join(here, "programs.txt")):
        if not line[:1].isalpha() or line.startswith("name"):
            continue
        name, size, tolerate, share, ready = line.split()[:5]
        w, h = size.split("x")
        rows[name] = dict(size=[int(w), int(h)], tolerate=tolerate, share=share, ready=ready == "1")
    return rows


class Xvfb:
    """A private X server for the native programs, on a display it picks."""

    def __enter__(self):
        read, write = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp", "-wr", "-noreset"],
                                     pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb gave no display number")
        self.env = dict(os.environ, DISPLAY=":" + number)
        return self

    def __exit__(self, *exc):
        self.proc.terminate()
        self.proc.wait(10)

    def run(self, args, title, out_png, timeout=30):
        """Runs a program until its window shows a steady picture; saves it.
        Returns the lines it printed on standard output before "drawn"."""
        log = open(out_png + ".log", "w+")
        err = open(out_png + ".err", "w+")
        proc = subprocess.Popen(args, env=self.env, stdout=log, stderr=err)
        try:
            deadline = time.time() + timeout
            while True:
                log.seek(0)
                if "drawn" in log.read().split():
                    break
                if proc.poll() is not None or time.time() > deadline:
                    log.seek(0)
                    err.seek(0)
                    raise RuntimeError("%s did not draw: %s" % (args[0], (log.read() + err.read())[-2000:]))
                time.sleep(0.05)
            win = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^%s$" % title],
                                 env=self.env, capture_output=True, text=True, timeout=10).stdout.split()[0]
            shots = []
            while len(shots) < 2 or shots[-1] != shots[-2]:
                if time.time() > deadline:
                    raise RuntimeError("%s: the window's picture did not settle" % args[0])
                time.sleep(0.1)
                shots.append(subprocess.run(["xwd", "-silent", "-id", win], env=self.env,
                                            capture_output=True, timeout=10, check=True).stdout)
            subprocess.run(["convert", "xwd:-", "png:" + out_png], input=shots[-1], check=True, timeout=20)
            log.seek(0)
            return printed(log.read())
        finally:
            proc.terminate()
            proc.wait(10)
            log.close()
            err.close()


def printed(text):
    """A program's printed lines up to "drawn", without it and blank lines."""
    lines = []
    for line in text.splitlines():
        if line.strip() == "drawn":
            break
        if line.strip():
            lines.append(line.rstrip())
    return lines


def holds(output, lines):
    """Whether the page's output holds these lines, word for word, in order."""
    page = iter(l.rstrip() for l in output.splitlines())
    return all(any(l == p for p in page) for l in lines)


def size_of(png):
    out = subprocess.run(["identify", "-format", "%w %h", png], capture_output=True, text=True, check=True).stdout
    return [int(v) for v in out.split()]


def compared(native, row, expected, actual, ratio):
    # A picture from a finer raster has its edges up to half a pixel aside.
    near = ["--near", "1"] if ratio != 1 else []
    r = subprocess.run([os.path.join(native, "tests", "imgcompare"), "--tolerate", row["tolerate"],
                        "--max-share", row["share"]] + near + [expected, actual], capture_output=True, text=True)
    print(r.stdout.strip(), flush=True)
    return r.returncode


def main():
    web, native, name = sys.argv[1], sys.argv[2], sys.argv[3]
    keep = sys.argv[5] if len(sys.argv) > 5 and sys.argv[4] == "--keep" else None
    row = table()[name]
    work = keep or tempfile.mkdtemp(prefix="zou-web-compare-%s." % name)
    os.makedirs(work, exist_ok=True)
    program = os.path.join(native, "tests", "web", "compare", "compare_" + name)
    title = "compare " + name
    t = Checks("web compare " + name)

    expected, control = os.path.join(work, "native.png"), os.path.join(work, "control.png")
    with Xvfb() as x:
        lines = x.run([program], title, expected)
        control_lines = x.run([program, "--control"], title, control)
    t.check(size_of(expected) == row["size"], "the native window is %dx%d" % tuple(row["size"]))

    page = os.path.join(work, "page.png")
    with Browser(web) as b:
        b.open("compare_%s.html" % name)
        b.wait("document.getElementById('output').textContent.split(/\\s/).includes('drawn') || "
               "['ended', 'nowebgl', 'refused', 'error'].includes(document.body.dataset.state)", timeout=60)
        b.canvas_png(page)
        output = b.output()
        t.check("drawn" in output.split(), "the page drew its picture (%s)" % b.status())
        t.check("not drawn in a web page" not in output, "the page draws everything it is asked: %s" % (
            "; ".join(l for l in output.splitlines() if "not drawn" in l) or "yes"))
        t.check(not b.errors, "no exception in the page %s" % (b.errors or ""))
    t.check(size_of(page) == row["size"], "the canvas is %dx%d (%s)" % (tuple(row["size"]) + (size_of(page),)))
    if b.ratio != 1:
        device = [round(v * b.ratio) for v in row["size"]]
        t.check(size_of(page[:-4] + "-device.png") == device, "at device pixel ratio %g its drawing buffer is %dx%d" % (
            (b.ratio,) + tuple(device)))
    t.check(compared(native, row, expected, page, b.ratio) == 0, "%s: the page's picture matches Mesa's (tolerate %s, at most %s%%)" % (
        name, row["tolerate"], row["share"]))
    if lines:
        for file, text in (("native.txt", "\n".join(lines) + "\n"), ("page.txt", output)):
            with open(os.path.join(work, file), "w") as f:
                f.write(text)
        t.check(holds(output, lines), "the page prints the %d lines the native program prints" % len(lines))
        t.check(not holds(output, control_lines), "control: %s --control's printed lines are not the page's" % name)
    else:
        t.check(compared(native, row, control, page, b.ratio) == 1, "control: %s --control does not pass for the page's picture" % name)

    if not t.failed and not keep:
        shutil.rmtree(work, ignore_errors=True)
    else:
        print("pictures in", work)
    t.exit()


if __name__ == "__main__":
    main()
