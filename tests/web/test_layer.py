"""The web platform layer's checks (layer_checks.cpp) in headless Chromium:
matrix stacks and their errors, GLU's camera, flat shading's provoking
vertices for quads, polygons and quad strips, the lighting formula (ambient,
diffuse, specular, attenuation, two-sided, eye-space light positions), display
lists, the attribute stack, errors, and bitmap text.

    test_layer.py <web dir> <native build dir>"""
import sys

from cdp import Browser, Checks

t = Checks("web layer")
with Browser(sys.argv[1]) as b:
    b.open("layer_checks.html")
    b.wait("['ended', 'nowebgl'].includes(document.body.dataset.state)", timeout=60)
    lines = [l for l in b.console if l.startswith(("ok:", "FAIL:"))]
    for line in lines:
        print(line)
    t.check(any(l.startswith("layer checks: ") and l.endswith(" 0 failed") for l in b.console),
            "every layer check passes: " + next((l for l in b.console if l.startswith("layer checks")), "no count"))
    t.check(len(lines) >= 20 and all(l.startswith("ok:") for l in lines), "%d checks ran" % len(lines))
    t.check(b.eval("window.zouExitStatus") == 0, "the checks end with status 0: " + b.status())
t.exit()
