"""The browser tests' harness: serves the web build on 127.0.0.1, starts
headless Chromium (SwiftShader's WebGL), and drives one page through the
DevTools protocol with Debian's python3-websocket.

    with Browser(web_dir) as b:
        b.open("drape.html?hold=38")
        b.wait("document.body.dataset.state == 'held'")
        b.canvas_png("/tmp/shot.png")

A screen of several device pixels per CSS pixel is emulated with ratio= (or
the environment's ZOU_WEB_RATIO, so that any test runs again at ratio 2): the
canvas then has that many more pixels, and canvas_png brings its picture back
to CSS size, each CSS pixel taken from the device pixel under its centre, as
the layer's glReadPixels reads the program's pixels.
"""
import base64
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

import websocket

CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--use-gl=angle", "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader", "--no-first-run", "--no-default-browser-check",
    "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
    "--disable-backgrounding-occluded-windows", "--mute-audio",
]


class _Handler(http.server.SimpleHTTPRequestHandler):
    # Cross-origin isolation gives the pages' clocks their fine resolution.
    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


def serve(directory, port=0):
    """An HTTP server for `directory` on 127.0.0.1 in a thread; returns it."""
    handler = lambda *a, **k: _Handler(*a, directory=directory, **k)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    sys.exit("web tests: chromium is not installed")


class Browser:
    def __init__(self, web_dir, width=1024, height=768, extra_flags=(), ratio=None):
        self.web_dir = web_dir
        self.width, self.height = width, height
        self.ratio = float(os.environ.get("ZOU_WEB_RATIO", "1")) if ratio is None else ratio
        self.extra_flags = list(extra_flags)
        self.console = []  # every console line of the page, in order
        self.errors = []   # uncaught exceptions in the page, in order
        self._id = 0

    def __enter__(self):
        self.server = serve(self.web_dir)
        self.base = "http://127.0.0.1:%d/" % self.server.server_address[1]
        self.profile = tempfile.mkdtemp(prefix="zou-web-chromium.")
        cmd = [chromium()] + CHROMIUM_FLAGS + self.extra_flags + [
            "--user-data-dir=" + self.profile, "--remote-debugging-port=0",
            "--window-size=%d,%d" % (self.width, self.height), "about:blank"]
        self.proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.time() + 30
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if time.time() > deadline or self.proc.poll() is not None:
                raise RuntimeError("chromium did not open its DevTools port")
            time.sleep(0.1)
        port = open(port_file).read().split()[0]
        targets = json.loads(_http_get("http://127.0.0.1:%s/json/list" % port))
        page = next(t for t in targets if t["type"] == "page")
        self.ws = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=60, suppress_origin=True)
        self.call("Runtime.enable")
        self.call("Page.enable")
        # The page's viewport at exactly the size asked for, whatever the
        # window's decorations take.
        self.call("Emulation.setDeviceMetricsOverride", width=self.width, height=self.height,
                  deviceScaleFactor=self.ratio, mobile=False)
        return self

    def __exit__(self, *exc):
        try:
            self.ws.close()
        except Exception:
            pass
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        self.server.shutdown()
        shutil.rmtree(self.profile, ignore_errors=True)

    def _event(self, message):
        if message.get("method") == "Runtime.exceptionThrown":
            details = message["params"]["exceptionDetails"]
            self.errors.append(details.get("exception", {}).get("description") or details.get("text"))
        if message.get("method") == "Runtime.consoleAPICalled":
            args = message["params"]["args"]
            self.console.append(" ".join(str(a.get("value", "")) for a in args))

    def call(self, method, **params):
        self._id += 1
        self.ws.send(json.dumps({"id": self._id, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == self._id:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self._event(message)

    def pump(self, seconds):
        """Collects the page's events for `seconds`."""
        end = time.time() + seconds
        while time.time() < end:
            self.eval("0")
            time.sleep(0.05)

    def eval(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("page: %s: %s" % (expression, result["exceptionDetails"].get("text")))
        return result["result"].get("value")

    def open(self, path):
        self.console = []
        self.call("Page.navigate", url=self.base + path)
        self.wait("document.readyState == 'complete'")

    def wait(self, condition, timeout=120):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.eval(condition):
                return
            time.sleep(0.05)
        raise RuntimeError("timed out after %d s waiting for %s (page state: %s, status: %s)" % (
            timeout, condition, self.eval("document.body.dataset.state"),
            self.eval("document.getElementById('status').textContent")))

    def state(self):
        return self.eval("document.body.dataset.state")

    def status(self):
        return self.eval("document.getElementById('status').textContent")

    def output(self):
        return self.eval("document.getElementById('output').textContent")

    def canvas_png(self, path):
        """The canvas's picture (its own pixels, not the page's), as PNG, at
        the canvas's CSS size: at a device pixel ratio other than 1 the
        drawing buffer's picture is kept beside it as <path>-device.png."""
        url = self.eval("document.getElementById('canvas').toDataURL('image/png')")
        device = path[:-4] + "-device.png" if self.ratio != 1 else path
        with open(device, "wb") as f:
            f.write(base64.b64decode(url.split(",", 1)[1]))
        if self.ratio != 1:
            # Each CSS pixel from the device pixel under its centre, as the
            # layer's glReadPixels reads: at ratio r the one at (r/2, r/2)
            # from the block's lower-left, which -roll brings to the top-left
            # corner that -sample takes.
            css = self.eval("[canvas.clientWidth, canvas.clientHeight]")
            r = int(self.ratio)
            roll = "-%d-%d" % (r // 2, r - 1 - r // 2) if r == self.ratio else "+0+0"
            subprocess.run(["convert", device, "-roll", roll, "-sample", "%dx%d!" % tuple(css), path], check=True)

    def page_png(self, path):
        """The whole page as the browser shows it, as PNG."""
        data = self.call("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))

    def key(self, key, code, key_code, text=None):
        down = dict(type="keyDown" if text else "rawKeyDown", key=key, code=code,
                    windowsVirtualKeyCode=key_code, nativeVirtualKeyCode=key_code)
        if text:
            down["text"] = text
        self.call("Input.dispatchKeyEvent", **down)
        self.call("Input.dispatchKeyEvent", type="keyUp", key=key, code=code,
                  windowsVirtualKeyCode=key_code, nativeVirtualKeyCode=key_code)

    def letter(self, c):
        """A printable key, as a keyboard sends it."""
        code = "Space" if c == " " else "Key" + c.upper()
        self.key(c, code, ord(c.upper()), text=c)

    def frames(self):
        """Frames the page's program has presented so far."""
        return self.eval("window.zouFrames || 0")

    def wait_frames(self, n, timeout=180):
        """Waits until n more frames have been presented."""
        target = self.frames() + n
        self.wait("(window.zouFrames || 0) >= %d" % target, timeout)

    def mouse(self, kind, x, y, button="left", buttons=1):
        self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                  buttons=buttons if kind != "mouseReleased" else 0, clickCount=1)

    def click(self, x, y):
        self.mouse("mouseMoved", x, y, button="none", buttons=0)
        self.mouse("mousePressed", x, y)
        self.mouse("mouseReleased", x, y)


def _http_get(url):
    import urllib.request
    with urllib.request.urlopen(url, timeout=10) as r:
        return r.read().decode()


class Checks:
    """Counts failures and prints one line per check; exit() ends the test."""

    def __init__(self, name):
        self.name, self.passed, self.failed = name, 0, 0

    def check(self, ok, what):
        print(("ok: " if ok else "FAIL: ") + what, flush=True)
        if ok:
            self.passed += 1
        else:
            self.failed += 1
        return ok

    def exit(self):
        print("%s: %d passed, %d failed" % (self.name, self.passed, self.failed))
        sys.exit(1 if self.failed or not self.passed else 0)
