"""The cloth pages' ?hash= against the native drape_run, and query words that
are refused.

    test_hash.py <web dir> <native build dir>

Determinism: drape.html?hash=1,38,82,200,1000 writes exactly the lines of the
native `drape_run hash 1 38 82 200 1000`, and drape-stable.html those of
`drape_run --stable hash ...`: the wasm build's plain (non-SSE) spring code
gives the same bits as the native SSE2/AVX one. Bad query words: the page says
what is wrong and runs nothing (no program loaded, no frame drawn). The index
links the three pages with their keys."""
import subprocess
import sys
import time

from cdp import Browser, Checks

web, native = sys.argv[1], sys.argv[2]
frames = ["1", "38", "82", "200", "1000"]
t = Checks("web hash")

with Browser(web) as b:
    for page, options in (("drape", []), ("drape-stable", ["--stable"])):
        expected = subprocess.run([native + "/drape_run"] + options + ["hash"] + frames, check=True,
                                  capture_output=True, text=True).stdout
        b.open("%s.html?hash=%s" % (page, ",".join(frames)))
        b.wait("['done', 'ended', 'refused'].includes(document.body.dataset.state)")
        got = b.output()
        t.check(b.state() == "done" and got == expected,
                "%s.html?hash= gives drape_run %s's lines:\n%s" % (page, " ".join(options + ["hash"] + frames), got))
        # The lines reach the console too, one line each.
        t.check([l for l in b.console if l] == expected.splitlines(), "%s: the same lines on the console" % page)

    # The index links the three pages, each with its keys.
    b.open("index.html")
    links = b.eval("Array.from(document.querySelectorAll('li')).map(li => "
                   "[li.querySelector('a').getAttribute('href'), li.querySelector('span').textContent])")
    t.check([l[0] for l in links] == ["drape.html", "drape-stable.html", "shapeview.html"] and
            all("Esc quits" in l[1] for l in links), "index.html links the three pages with their keys: %s" % links)

    refused = [
        ("drape.html?hash=abc", "hash: \"abc\" is not a list of frame numbers"),
        ("drape.html?hash=-1", "hash: \"-1\" is not a list of frame numbers"),
        ("drape.html?hash=38,,82", "hash: \"38,,82\" is not a list of frame numbers"),
        ("drape.html?hash=99999999", "hash: \"99999999\" is not a list of frame numbers"),
        ("drape-stable.html?hold=1e12", "hold: \"1e12\" is not a frame count"),
        ("drape.html?hold=100001", "hold: \"100001\" is not a frame count"),
        ("drape.html?hold=0", "hold: \"0\" is not a frame count from 1"),
        ("drape.html?colour=red", "unknown query word \"colour\""),
        ("drape.html?hold=3&hold=4", "query word \"hold\" given twice"),
        ("drape.html?hash=3&hold=4", "hash runs the cloth without a picture"),
        ("shapeview.html?hash=38", "unknown query word \"hash\""),
    ]
    for url, message in refused:
        b.open(url)
        time.sleep(0.5)
        status = b.status()
        ran = b.eval("typeof zouProgram != 'undefined' || typeof zouDrapeRun != 'undefined' || "
                     "window.zouFrames !== undefined")
        t.check(b.state() == "refused" and message in status and "nothing was run" in status and not ran,
                "%s is refused: %s" % (url, status))

t.exit()
