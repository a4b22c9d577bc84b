// GLUT on a web page. Emscripten's GLUT library is the base; this file
// replaces what of it does not fit a page and adds what it lacks, so that a
// plain GLUT program runs unchanged. The page's canvas is the program's one
// window.
//  - glutMainLoop keeps the program running (the page's own event loop is
//    the main loop) and does not return; exit() from any callback ends the
//    program with its status, which the page shows (Module.onExit). A program
//    whose main returns without entering the loop ends with main's status.
//  - The window's size and every position the program sees are CSS pixels;
//    the canvas's drawing buffer has the screen's resolution (CSS size x
//    devicePixelRatio), kept up to date when the ratio changes, and the GL
//    layer scales what it hands WebGL (zwSetPixelRatio).
//  - glutCreateWindow asks for WebGL 2 with a preserved drawing buffer (the
//    picture can be read back after the frame) and the buffers the display
//    mode asks for; when no context can be had it tells the page
//    (Module.onNoWebGL) and stops the program. A lost context is reported
//    (Module.onContextLost).
//  - Single-buffered programs are presented when their display callback
//    returns (after their glFlush), double-buffered ones at glutSwapBuffers.
//    Module.onFrame hears of each presented frame; after Module.zouHold
//    frames the program stops drawing (glutPostRedisplay does nothing), so
//    the last picture stays to be compared.
//  - Browsers refuse full screen without a user gesture: glutFullScreen makes
//    the canvas fill the page, and asks for the real full screen only while a
//    key or click is being handled.
//  - Menus open as a small menu of page elements at the pointer.
//  - What a page cannot do (overlays, more than one window, colour index,
//    the special input devices) says so once on the console and returns.
mergeInto(LibraryManager.library, {
  $ZOUPAGE__deps: ['$Browser', '$handleException'],
  $ZOUPAGE: {
    // GLUT's state before the window exists.
    initTime: 0,
    initMode: 0x0002 | 0x0010, // GLUT_DOUBLE | GLUT_DEPTH, GLUT_RGBA
    initWidth: 0,             // 0: the canvas's size as the page made it
    initHeight: 0,
    initX: -1,
    initY: -1,
    initialised: false,
    options: {},              // glutSetOption's values by query
    // The window (the canvas): its place and size in CSS pixels.
    mode: 0,
    created: false,
    accumBits: 0,             // of the accumulation buffer, 0 without GLUT_ACCUM
    x: 0,
    y: 0,
    width: 0,
    height: 0,
    ratio: 1,                 // device pixels per CSS pixel of the drawing buffer
    fillPage: false,
    windowed: null,           // the window's place and size before it filled the page
    cursor: 0x0000,           // GLUT_CURSOR_RIGHT_ARROW
    // Windows by identifier: 1 is the canvas; others (second windows,
    // subwindows) keep their callbacks and data but are never shown.
    windows: {},
    nextWindow: 1,
    current: 0,
    // The loop.
    looping: false,
    ended: false,
    redisplayPending: false,
    reshapePending: false,
    idleFunc: 0,              // GLUT's, not a window's
    idleScheduled: false,
    frames: 0,
    held: false,
    // Input.
    modifiers: 0,
    inInput: false,           // in a keyboard, special or mouse callback
    buttons: 0,               // buttons pressed on the canvas, bit per GLUT button
    mouseX: 0,
    mouseY: 0,
    ignoreKeyRepeat: false,   // glutIgnoreKeyRepeat, per window in GLUT; one window here
    keyRepeat: 0x0002,        // glutSetKeyRepeat: GLUT_KEY_REPEAT_DEFAULT
    // Menus by identifier: {callback, items: [{label, value, submenu}], data}.
    menus: {},
    nextMenu: 1,
    currentMenu: 0,
    openMenu: null,           // the open menu's root element
    reported: {},

    // Says once per name that the page does not do it.
    report: function(name, why) {
      if (ZOUPAGE.reported[name]) return;
      ZOUPAGE.reported[name] = true;
      err(name + ': not drawn in a web page' + (why ? ' (' + why + ')' : ''));
    },

    // A message about a bad argument, in GLUT's words; nothing changes.
    complain: function(text) {
      err(text);
    },

    window: function() {
      return ZOUPAGE.windows[ZOUPAGE.current] || null;
    },

    newWindow: function() {
      var id = ZOUPAGE.nextWindow++;
      ZOUPAGE.windows[id] = {id: id, cb: {}, data: 0, menus: {}};
      ZOUPAGE.current = id;
      return id;
    },

    // Runs a piece of the program from the page's event loop: nothing after
    // the program ended; exit() and 'unwind' end the piece quietly.
    run: function(body) {
      if (ABORT || ZOUPAGE.ended) return;
      try {
        body();
      } catch (e) {
        handleException(e);
      }
    },

    // Calls window 1's callback `name` with `args`, through the table entry's
    // signature 'v' + one 'i' per argument.
    callback: function(name, args) {
      var w = ZOUPAGE.windows[1];
      var f = w && w.cb[name];
      if (!f) return false;
      var saved = ZOUPAGE.current;
      ZOUPAGE.run(function() {
        ZOUPAGE.current = 1;
        getWasmTableEntry(f).apply(null, args);
      });
      if (ZOUPAGE.windows[saved]) ZOUPAGE.current = saved;
      return true;
    },

    // Input callbacks see the modifiers of their event (glutGetModifiers).
    input: function(name, args, event) {
      ZOUPAGE.modifiers = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
      ZOUPAGE.inInput = true;
      try {
        return ZOUPAGE.callback(name, args);
      } finally {
        ZOUPAGE.inInput = false;
      }
    },

    // Ends the program with `status` (exit, glutLeaveMainLoop): throws
    // ExitStatus through the program's frames to the callback's caller.
    end: function(status) {
      ZOUPAGE.stop();
      runtimeKeepaliveCounter = 0;
      exit(status);
    },

    // What the page does when the program ends, however it ends: no more
    // input or drawing reaches it; the last picture stays.
    stop: function() {
      if (ZOUPAGE.ended) return;
      ZOUPAGE.ended = true;
      ZOUPAGE.closeMenu();
      ZOUPAGE.listen(false);
    },

    // ---- The canvas: place, size and resolution ------------------------------

    canvas: function() {
      return Module['canvas'];
    },

    // The drawing buffer at the screen's resolution for the CSS size.
    sizeBuffer: function() {
      var canvas = ZOUPAGE.canvas();
      var ratio = window.devicePixelRatio || 1;
      ZOUPAGE.ratio = ratio;
      canvas.width = Math.max(1, Math.round(ZOUPAGE.width * ratio));
      canvas.height = Math.max(1, Math.round(ZOUPAGE.height * ratio));
      if (Module['_zwSetPixelRatio']) Module['_zwSetPixelRatio'](ratio);
    },

    resize: function(width, height) {
      var canvas = ZOUPAGE.canvas();
      ZOUPAGE.width = Math.max(1, width);
      ZOUPAGE.height = Math.max(1, height);
      canvas.style.width = ZOUPAGE.width + 'px';
      canvas.style.height = ZOUPAGE.height + 'px';
      ZOUPAGE.sizeBuffer();
      // The program hears of it before its next display, as GLUT does.
      ZOUPAGE.reshapePending = true;
      ZOUPAGE.postRedisplay();
    },

    place: function(x, y) {
      var canvas = ZOUPAGE.canvas();
      ZOUPAGE.x = x;
      ZOUPAGE.y = y;
      canvas.style.left = x + 'px';
      canvas.style.top = y + 'px';
      ZOUPAGE.callback('position', [x, y]);
    },

    fill: function() {
      if (!ZOUPAGE.fillPage) {
        ZOUPAGE.windowed = [ZOUPAGE.x, ZOUPAGE.y, ZOUPAGE.width, ZOUPAGE.height];
        ZOUPAGE.fillPage = true;
      }
      ZOUPAGE.place(0, 0);
      ZOUPAGE.resize(window.innerWidth, window.innerHeight);
    },

    leaveFill: function() {
      ZOUPAGE.fillPage = false;
      if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
    },

    onResize: function() {
      if (ZOUPAGE.fillPage && !document.fullscreenElement) ZOUPAGE.fill();
    },

    onFullscreenChange: function() {
      if (document.fullscreenElement) {
        ZOUPAGE.place(0, 0);
        ZOUPAGE.resize(screen.width, screen.height);
      } else if (ZOUPAGE.fillPage) {
        ZOUPAGE.fill();
      }
    },

    // The screen's resolution changes (the window moved to another screen,
    // the page was zoomed): a new drawing buffer, drawn anew. The query
    // matches only the ratio it was made for, so it is made again each time.
    watchRatio: function() {
      if (!window.matchMedia) return;
      var query = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
      var changed = function() {
        if (query.removeEventListener) query.removeEventListener('change', changed);
        if (ZOUPAGE.ended) return;
        ZOUPAGE.sizeBuffer();
        ZOUPAGE.postRedisplay();
        ZOUPAGE.watchRatio();
      };
      if (query.addEventListener) query.addEventListener('change', changed);
    },

    // ---- Drawing -------------------------------------------------------------

    flush: function() {
      if (Module['_zwFlush']) Module['_zwFlush']();
    },

    // A picture is on the page: counted, and held after Module.zouHold frames.
    presented: function() {
      ZOUPAGE.frames++;
      if (Module['onFrame']) Module['onFrame'](ZOUPAGE.frames);
      if (Module['zouHold'] !== undefined && ZOUPAGE.frames >= Module['zouHold'] && !ZOUPAGE.held) {
        ZOUPAGE.held = true;
        if (Module['onHeld']) Module['onHeld'](ZOUPAGE.frames);
      }
    },

    postRedisplay: function() {
      if (!ZOUPAGE.looping || ZOUPAGE.held || ZOUPAGE.ended || ZOUPAGE.redisplayPending) return;
      ZOUPAGE.redisplayPending = true;
      window.requestAnimationFrame(ZOUPAGE.display);
    },

    display: function() {
      ZOUPAGE.redisplayPending = false;
      if (ZOUPAGE.held || ZOUPAGE.ended) return;
      if (ZOUPAGE.reshapePending) {
        ZOUPAGE.reshapePending = false;
        if (!ZOUPAGE.callback('reshape', [ZOUPAGE.width, ZOUPAGE.height])) {
          // GLUT's default reshape: the whole window (glutPage.cpp).
          ZOUPAGE.run(function() { Module['_zwGlutReshape'](ZOUPAGE.width, ZOUPAGE.height); });
        }
      }
      if (!ZOUPAGE.callback('display', [])) return;
      if (ZOUPAGE.ended) return;
      ZOUPAGE.run(ZOUPAGE.flush);
      if (!(ZOUPAGE.mode & 0x0002)) ZOUPAGE.presented();  // GLUT_SINGLE
    },

    scheduleIdle: function() {
      if (ZOUPAGE.idleScheduled || !ZOUPAGE.looping || !ZOUPAGE.idleFunc) return;
      ZOUPAGE.idleScheduled = true;
      setTimeout(ZOUPAGE.idle, 4);
    },

    idle: function() {
      ZOUPAGE.idleScheduled = false;
      var f = ZOUPAGE.idleFunc;
      if (!f || ZOUPAGE.ended) return;
      ZOUPAGE.run(function() { {{{ makeDynCall('v', 'f') }}}(); });
      ZOUPAGE.scheduleIdle();
    },

    // ---- Input ---------------------------------------------------------------

    // A position in the window's CSS pixels, counted from its top-left.
    at: function(event) {
      var r = ZOUPAGE.canvas().getBoundingClientRect();
      return [Math.floor(event.clientX - r.left), Math.floor(event.clientY - r.top)];
    },

    specialKeys: {
      'F1': 1, 'F2': 2, 'F3': 3, 'F4': 4, 'F5': 5, 'F6': 6, 'F7': 7, 'F8': 8, 'F9': 9, 'F10': 10,
      'F11': 11, 'F12': 12, 'ArrowLeft': 100, 'ArrowUp': 101, 'ArrowRight': 102, 'ArrowDown': 103,
      'PageUp': 104, 'PageDown': 105, 'Home': 106, 'End': 107, 'Insert': 108, 'NumLock': 109,
      'Clear': 110  // GLUT_KEY_BEGIN: the keypad's middle key without Num Lock
    },
    // The modifier keys themselves are special keys too (freeglut's
    // GLUT_KEY_SHIFT_L ...): the left one's code, the right one's next to it.
    modifierKeys: {'Shift': 112, 'Control': 114, 'Alt': 116, 'Meta': 118},
    namedKeys: {'Escape': 27, 'Enter': 13, 'Backspace': 8, 'Tab': 9, 'Delete': 127},

    // The event's key as GLUT gives it: ['special', code], ['key', code] or null.
    key: function(event) {
      var k = event.key;
      if (k in ZOUPAGE.specialKeys) return ['special', ZOUPAGE.specialKeys[k]];
      if (k in ZOUPAGE.modifierKeys) return ['special', ZOUPAGE.modifierKeys[k] + (event.location === 2 ? 1 : 0)];
      if (k in ZOUPAGE.namedKeys) return ['key', ZOUPAGE.namedKeys[k]];
      if (k && k.length === 1) {
        var c = k.charCodeAt(0);
        if (c > 255) return null;
        // Control with a letter gives the control character, as X does.
        if (event.ctrlKey && /[a-zA-Z]/.test(k)) c = k.toUpperCase().charCodeAt(0) - 64;
        return ['key', c];
      }
      return null;
    },

    onKey: function(event, up) {
      if (!ZOUPAGE.looping || ZOUPAGE.ended) return;
      if (ZOUPAGE.openMenu) {
        if (!up && event.key === 'Escape') ZOUPAGE.closeMenu();
        event.preventDefault();
        return;
      }
      var key = ZOUPAGE.key(event);
      if (!key) return;
      if (event.repeat && !up && (ZOUPAGE.ignoreKeyRepeat || ZOUPAGE.keyRepeat === 0)) {
        event.preventDefault();
        return;
      }
      var name = key[0] === 'special' ? (up ? 'specialUp' : 'special') : (up ? 'keyboardUp' : 'keyboard');
      if (ZOUPAGE.input(name, [key[1], ZOUPAGE.mouseX, ZOUPAGE.mouseY], event)) event.preventDefault();
    },
    onKeydown: function(event) { ZOUPAGE.onKey(event, false); },
    onKeyup: function(event) { ZOUPAGE.onKey(event, true); },

    onMousedown: function(event) {
      if (!ZOUPAGE.looping || ZOUPAGE.ended) return;
      if (ZOUPAGE.openMenu) {
        if (!ZOUPAGE.openMenu.contains(event.target)) ZOUPAGE.closeMenu();
        return;
      }
      if (event.target !== ZOUPAGE.canvas()) return;
      var p = ZOUPAGE.at(event);
      ZOUPAGE.mouseX = p[0];
      ZOUPAGE.mouseY = p[1];
      var button = event.button;
      var w = ZOUPAGE.windows[1];
      event.preventDefault();
      if (w && w.menus[button]) {
        ZOUPAGE.showMenu(w.menus[button], event);
        return;
      }
      ZOUPAGE.buttons |= 1 << button;
      ZOUPAGE.input('mouse', [button, 0 /* GLUT_DOWN */, p[0], p[1]], event);
    },

    onMouseup: function(event) {
      var bit = 1 << event.button;
      if (!(ZOUPAGE.buttons & bit)) return;
      ZOUPAGE.buttons &= ~bit;
      var p = ZOUPAGE.at(event);
      ZOUPAGE.input('mouse', [event.button, 1 /* GLUT_UP */, p[0], p[1]], event);
    },

    onMousemove: function(event) {
      if (!ZOUPAGE.looping || ZOUPAGE.ended || ZOUPAGE.openMenu) return;
      var p = ZOUPAGE.at(event);
      if (p[0] === ZOUPAGE.mouseX && p[1] === ZOUPAGE.mouseY) return;
      ZOUPAGE.mouseX = p[0];
      ZOUPAGE.mouseY = p[1];
      if (ZOUPAGE.buttons) ZOUPAGE.callback('motion', p);
      else if (event.target === ZOUPAGE.canvas()) ZOUPAGE.callback('passive', p);
    },

    onWheel: function(event) {
      if (!ZOUPAGE.looping || ZOUPAGE.ended || ZOUPAGE.openMenu) return;
      if (event.deltaY === 0) return;
      event.preventDefault();
      var p = ZOUPAGE.at(event);
      var direction = event.deltaY < 0 ? 1 : -1;  // away from the user: up, +1
      if (ZOUPAGE.input('wheel', [0, direction, p[0], p[1]], event)) return;
      // Without a wheel callback GLUT reports the wheel as buttons 3 and 4.
      var button = direction > 0 ? 3 : 4;
      ZOUPAGE.input('mouse', [button, 0, p[0], p[1]], event);
      ZOUPAGE.input('mouse', [button, 1, p[0], p[1]], event);
    },

    onEnter: function() { ZOUPAGE.callback('entry', [1 /* GLUT_ENTERED */]); },
    onLeave: function() { ZOUPAGE.callback('entry', [0 /* GLUT_LEFT */]); },

    onVisibility: function() {
      var visible = document.visibilityState !== 'hidden';
      ZOUPAGE.callback('visibility', [visible ? 1 : 0]);
      ZOUPAGE.callback('windowStatus', [visible ? 1 /* GLUT_FULLY_RETAINED */ : 0 /* GLUT_HIDDEN */]);
    },

    onContextMenu: function(event) { event.preventDefault(); },

    // A touch acts as the left button.
    onTouch: function(event) {
      var t = event.changedTouches[0];
      if (!t) return;
      var fake = {button: 0, clientX: t.clientX, clientY: t.clientY, target: event.target,
                  shiftKey: false, ctrlKey: false, altKey: false, preventDefault: function() {}};
      if (event.type === 'touchstart') ZOUPAGE.onMousedown(fake);
      else if (event.type === 'touchmove') ZOUPAGE.onMousemove(fake);
      else ZOUPAGE.onMouseup(fake);
      if (event.target === ZOUPAGE.canvas()) event.preventDefault();
    },

    listeners: [
      ['window', 'keydown', 'onKeydown'], ['window', 'keyup', 'onKeyup'],
      ['window', 'mousedown', 'onMousedown'], ['window', 'mouseup', 'onMouseup'],
      ['window', 'mousemove', 'onMousemove'], ['canvas', 'wheel', 'onWheel'],
      ['canvas', 'mouseenter', 'onEnter'], ['canvas', 'mouseleave', 'onLeave'],
      ['canvas', 'contextmenu', 'onContextMenu'], ['document', 'visibilitychange', 'onVisibility'],
      ['window', 'touchstart', 'onTouch'], ['window', 'touchmove', 'onTouch'], ['window', 'touchend', 'onTouch'],
      ['window', 'resize', 'onResize'], ['document', 'fullscreenchange', 'onFullscreenChange']
    ],

    listen: function(on) {
      ZOUPAGE.listeners.forEach(function(l) {
        var target = l[0] === 'canvas' ? ZOUPAGE.canvas() : l[0] === 'window' ? window : document;
        // Not passive: the page keeps the wheel and touches the program takes.
        var options = {capture: true, passive: false};
        if (on) target.addEventListener(l[1], ZOUPAGE[l[2]], options);
        else target.removeEventListener(l[1], ZOUPAGE[l[2]], options);
      });
    },

    // ---- Menus ---------------------------------------------------------------

    menu: function(caller) {
      var m = ZOUPAGE.menus[ZOUPAGE.currentMenu];
      if (!m) ZOUPAGE.complain(caller + ': no current menu (glutCreateMenu or glutSetMenu first)');
      return m;
    },

    // The item numbered `item` (from 1) of the current menu, or null.
    menuItem: function(caller, item) {
      var m = ZOUPAGE.menu(caller);
      if (!m) return null;
      if (item < 1 || item > m.items.length) {
        ZOUPAGE.complain(caller + ': menu ' + ZOUPAGE.currentMenu + ' has no item ' + item +
                         ' (it has ' + m.items.length + ')');
        return null;
      }
      return m;
    },

    // Opens menu `id` at the pointer: page elements, the submenus opening
    // beside their entry; an entry chosen (released on, or clicked) calls the
    // menu's callback with its value.
    showMenu: function(id, event) {
      ZOUPAGE.closeMenu();
      var root = document.createElement('div');
      root.className = 'zouMenu';
      root.style.cssText = 'position:fixed;left:0;top:0;z-index:10;';
      document.body.appendChild(root);
      ZOUPAGE.openMenu = root;
      ZOUPAGE.menuBox(root, id, event.clientX + 2, event.clientY + 2, 0, event.clientX - 2);
      ZOUPAGE.menuStatus(1 /* GLUT_MENU_IN_USE */, event);
    },

    // A box of menu `id`'s entries at (left, top), or ending at `before` when
    // there is no room on the right.
    menuBox: function(root, id, left, top, depth, before) {
      var m = ZOUPAGE.menus[id];
      var box = document.createElement('div');
      box.dataset.menu = id;
      box.dataset.depth = depth;
      box.style.cssText = 'position:fixed;min-width:80px;padding:2px 0;background:#eee;color:#000;' +
        'border:1px solid #666;box-shadow:2px 2px 4px rgba(0,0,0,0.5);font:13px sans-serif;cursor:default;' +
        'left:' + left + 'px;top:' + top + 'px;';
      root.appendChild(box);
      m.items.forEach(function(item) {
        var row = document.createElement('div');
        row.className = 'zouMenuItem';
        row.textContent = item.label + (item.submenu ? '  \u25b8' : '');
        row.style.cssText = 'padding:2px 12px;white-space:pre;';
        row.addEventListener('mouseenter', function() {
          row.style.background = '#36c';
          row.style.color = '#fff';
          // Deeper boxes than this one close; a submenu opens beside its entry.
          Array.prototype.slice.call(root.children).forEach(function(b) {
            if (Number(b.dataset.depth) > depth) root.removeChild(b);
          });
          if (item.submenu && ZOUPAGE.menus[item.submenu]) {
            var r = row.getBoundingClientRect();
            ZOUPAGE.menuBox(root, item.submenu, r.right, r.top, depth + 1, r.left);
          }
        });
        row.addEventListener('mouseleave', function() {
          row.style.background = '';
          row.style.color = '';
        });
        if (!item.submenu) {
          row.addEventListener('mouseup', function(e) {
            e.stopPropagation();
            ZOUPAGE.choose(id, item.value, e);
          });
        }
        box.appendChild(row);
      });
      // Near the page's right or bottom edge the box opens the other way.
      var r = box.getBoundingClientRect();
      if (r.right > window.innerWidth) box.style.left = Math.max(0, before - r.width) + 'px';
      if (r.bottom > window.innerHeight) box.style.top = Math.max(0, window.innerHeight - r.height) + 'px';
    },

    choose: function(id, value, event) {
      ZOUPAGE.closeMenu(event);
      var m = ZOUPAGE.menus[id];
      if (!m || !m.callback) return;
      var saved = ZOUPAGE.currentMenu;
      ZOUPAGE.currentMenu = id;
      ZOUPAGE.run(function() { {{{ makeDynCall('vi', 'm.callback') }}}(value); });
      if (ZOUPAGE.currentMenu === id) ZOUPAGE.currentMenu = saved;
    },

    closeMenu: function(event) {
      if (!ZOUPAGE.openMenu) return;
      ZOUPAGE.openMenu.remove();
      ZOUPAGE.openMenu = null;
      ZOUPAGE.menuStatus(0 /* GLUT_MENU_NOT_IN_USE */, event);
    },

    menuStatus: function(status, event) {
      var p = event ? ZOUPAGE.at(event) : [ZOUPAGE.mouseX, ZOUPAGE.mouseY];
      if (ZOUPAGE.menuStatusFunc) {
        var f = ZOUPAGE.menuStatusFunc;
        ZOUPAGE.run(function() { {{{ makeDynCall('viii', 'f') }}}(status, p[0], p[1]); });
      } else if (ZOUPAGE.menuStateFunc) {
        var g = ZOUPAGE.menuStateFunc;
        ZOUPAGE.run(function() { {{{ makeDynCall('vi', 'g') }}}(status); });
      }
    },

    // ---- Queries -------------------------------------------------------------

    // GLUT's cursors as CSS cursors, by GLUT_CURSOR_* value (0 to 0x13).
    cursors: ['default', 'default', 'pointer', 'not-allowed', 'help', 'move', 'cell', 'wait', 'text',
              'crosshair', 'ns-resize', 'ew-resize', 'n-resize', 's-resize', 'w-resize', 'e-resize',
              'nw-resize', 'ne-resize', 'se-resize', 'sw-resize'],

    attributes: function() {
      return Module.ctx && Module.ctx.getContextAttributes ? Module.ctx.getContextAttributes() : {};
    },
  },

  // ---- Start -----------------------------------------------------------------

  // GLUT's own command-line options are taken out of argv: -geometry WxH+X+Y
  // sizes and places the window; -display, -iconic, -direct, -indirect,
  // -gldebug and -sync mean nothing on a page.
  glutInit__deps: ['$ZOUPAGE'],
  glutInit: function(argcp, argv) {
    if (ZOUPAGE.initialised) {
      ZOUPAGE.complain('glutInit: called a second time; the first stands');
      return;
    }
    ZOUPAGE.initialised = true;
    ZOUPAGE.initTime = performance.now();
    if (!argcp || !argv) return;
    var argc = HEAP32[argcp >> 2], kept = [];
    for (var i = 0; i < argc; i++) {
      var p = HEAP32[(argv >> 2) + i];
      var a = UTF8ToString(p);
      if ((a === '-display' || a === '-geometry') && i + 1 < argc) {
        if (a === '-geometry') {
          var g = /^(?:(\d+)x(\d+))?(?:([+-]\d+)([+-]\d+))?$/.exec(UTF8ToString(HEAP32[(argv >> 2) + i + 1]));
          if (g && g[1]) { ZOUPAGE.initWidth = Number(g[1]); ZOUPAGE.initHeight = Number(g[2]); }
          if (g && g[3]) { ZOUPAGE.initX = Math.max(0, Number(g[3])); ZOUPAGE.initY = Math.max(0, Number(g[4])); }
        }
        i++;
        continue;
      }
      if (['-iconic', '-direct', '-indirect', '-gldebug', '-sync'].indexOf(a) >= 0) continue;
      kept.push(p);
    }
    for (var j = 0; j < kept.length; j++) HEAP32[(argv >> 2) + j] = kept[j];
    if (kept.length < argc) HEAP32[(argv >> 2) + kept.length] = 0;
    HEAP32[argcp >> 2] = kept.length;
  },

  glutInitDisplayMode__deps: ['$ZOUPAGE'],
  glutInitDisplayMode: function(mode) {
    ZOUPAGE.initMode = mode;
  },

  // The words of a display string that a page can give; the rest are ignored.
  glutInitDisplayString__deps: ['$ZOUPAGE'],
  glutInitDisplayString: function(string) {
    var bits = {rgba: 0, rgb: 0, alpha: 0x0008, single: 0, double: 0x0002, depth: 0x0010,
                stencil: 0x0020, acc: 0x0004, acca: 0x0004, samples: 0x0080, index: 0x0001,
                stereo: 0x0100, luminance: 0x0200};
    var mode = 0;
    UTF8ToString(string).split(/\s+/).forEach(function(word) {
      var name = word.replace(/[=<>!~].*$/, '');
      if (name in bits) mode |= bits[name];
    });
    ZOUPAGE.initMode = mode;
  },

  glutInitWindowSize__deps: ['$ZOUPAGE'],
  glutInitWindowSize: function(width, height) {
    if (width <= 0 || height <= 0) {
      ZOUPAGE.complain('glutInitWindowSize: ' + width + ' x ' + height + ' is not a window size');
      return;
    }
    ZOUPAGE.initWidth = width;
    ZOUPAGE.initHeight = height;
  },

  glutInitWindowPosition__deps: ['$ZOUPAGE'],
  glutInitWindowPosition: function(x, y) {
    ZOUPAGE.initX = x;
    ZOUPAGE.initY = y;
  },

  glutInitContextVersion__deps: ['$ZOUPAGE'],
  glutInitContextVersion: function(major, minor) {
    ZOUPAGE.options[0x0200] = major;
    ZOUPAGE.options[0x0201] = minor;
  },
  glutInitContextFlags__deps: ['$ZOUPAGE'],
  glutInitContextFlags: function(flags) { ZOUPAGE.options[0x0202] = flags; },
  glutInitContextProfile__deps: ['$ZOUPAGE'],
  glutInitContextProfile: function(profile) { ZOUPAGE.options[0x0203] = profile; },

  // ---- Windows ---------------------------------------------------------------

  glutCreateWindow__deps: ['$ZOUPAGE', 'glutSetWindowTitle'],
  glutCreateWindow: function(title) {
    if (ZOUPAGE.created) {
      ZOUPAGE.report('glutCreateWindow', 'a page has one window; the second one gets no picture');
      return ZOUPAGE.newWindow();
    }
    var mode = ZOUPAGE.initMode;
    if (mode & 0x0001) ZOUPAGE.report('GLUT_INDEX', 'colour index windows are RGBA on a page');
    if (mode & 0x0100) ZOUPAGE.report('GLUT_STEREO');
    var attributes = {
      antialias: (mode & 0x0080) != 0,  // GLUT_MULTISAMPLE
      alpha: (mode & 0x0008) != 0,      // GLUT_ALPHA: destination alpha for blending
      premultipliedAlpha: false,        // the page shows colours as drawn, over black
      depth: (mode & 0x0010) != 0,      // GLUT_DEPTH
      stencil: (mode & 0x0020) != 0,    // GLUT_STENCIL
      preserveDrawingBuffer: true,
      majorVersion: 2,
      minorVersion: 0
    };
    var canvas = ZOUPAGE.canvas();
    var ctx = null;
    try {
      ctx = Browser.createContext(canvas, true, true, attributes);
    } catch (e) {
      ctx = null;
    }
    if (!ctx) {
      if (Module['onNoWebGL']) Module['onNoWebGL']();
      ZOUPAGE.ended = true;
      throw 'unwind';
    }
    // A context the browser takes away (a driver reset, too many pages)
    // does not come back by itself: the page says so instead of going blank.
    canvas.addEventListener('webglcontextlost', function(e) {
      e.preventDefault();
      if (Module['onContextLost']) Module['onContextLost']();
    });
    ZOUPAGE.created = true;
    ZOUPAGE.mode = mode;
    // GLUT_ACCUM: the layer makes the buffer and says its bits per component.
    ZOUPAGE.accumBits = (mode & 0x0004) && Module['_zwAccumCreate'] ? Module['_zwAccumCreate']() : 0;
    ZOUPAGE.newWindow();
    ZOUPAGE.place(Math.max(0, ZOUPAGE.initX), Math.max(0, ZOUPAGE.initY));
    // Without glutInitWindowSize the window is the canvas as the page made it.
    var rect = canvas.getBoundingClientRect();
    ZOUPAGE.resize(ZOUPAGE.initWidth || canvas.width || rect.width, ZOUPAGE.initHeight || canvas.height || rect.height);
    // GL's viewport and scissor box start as the window (glState.cpp).
    if (Module['_zwWindowCreated']) Module['_zwWindowCreated'](ZOUPAGE.width, ZOUPAGE.height);
    ZOUPAGE.reshapePending = false;  // glutMainLoop gives the first reshape
    ZOUPAGE.watchRatio();
    ZOUPAGE.listen(true);
    _glutSetWindowTitle(title);
    return 1;
  },

  glutCreateSubWindow__deps: ['$ZOUPAGE'],
  glutCreateSubWindow: function(win, x, y, width, height) {
    ZOUPAGE.report('glutCreateSubWindow', 'subwindows get no picture');
    var saved = ZOUPAGE.current;
    var id = ZOUPAGE.newWindow();
    ZOUPAGE.windows[id].parent = saved;
    return id;
  },

  glutDestroyWindow__deps: ['$ZOUPAGE'],
  glutDestroyWindow: function(win) {
    if (!ZOUPAGE.windows[win]) {
      ZOUPAGE.complain('glutDestroyWindow: there is no window ' + win);
      return;
    }
    if (win === 1) {
      // The canvas goes away with its callbacks; the program goes on.
      ZOUPAGE.canvas().style.display = 'none';
      ZOUPAGE.listen(false);
    }
    delete ZOUPAGE.windows[win];
    if (ZOUPAGE.current === win) ZOUPAGE.current = 0;
  },

  glutSetWindow__deps: ['$ZOUPAGE'],
  glutSetWindow: function(win) {
    if (!ZOUPAGE.windows[win]) {
      ZOUPAGE.complain('glutSetWindow: there is no window ' + win);
      return;
    }
    ZOUPAGE.current = win;
  },

  glutGetWindow__deps: ['$ZOUPAGE'],
  glutGetWindow: function() {
    return ZOUPAGE.current;
  },

  glutSetWindowData__deps: ['$ZOUPAGE'],
  glutSetWindowData: function(data) {
    var w = ZOUPAGE.window();
    if (w) w.data = data;
  },

  glutGetWindowData__deps: ['$ZOUPAGE'],
  glutGetWindowData: function() {
    var w = ZOUPAGE.window();
    return w ? w.data : 0;
  },

  // The window's title is the page's, unless the page has its own
  // (Module.zouWindowTitle false: the framework's pages keep their names).
  glutSetWindowTitle__deps: ['$ZOUPAGE'],
  glutSetWindowTitle: function(title) {
    if (ZOUPAGE.current === 1 && Module['zouWindowTitle']) document.title = UTF8ToString(title);
  },

  // A page has no icon to title.
  glutSetIconTitle: function(title) {},

  glutReshapeWindow__deps: ['$ZOUPAGE'],
  glutReshapeWindow: function(width, height) {
    if (width <= 0 || height <= 0) {
      ZOUPAGE.complain('glutReshapeWindow: ' + width + ' x ' + height + ' is not a window size');
      return;
    }
    if (ZOUPAGE.current !== 1) return;
    ZOUPAGE.leaveFill();
    ZOUPAGE.resize(width, height);
  },

  glutPositionWindow__deps: ['$ZOUPAGE'],
  glutPositionWindow: function(x, y) {
    if (ZOUPAGE.current !== 1) return;
    ZOUPAGE.leaveFill();
    ZOUPAGE.place(x, y);
  },

  glutFullScreen__deps: ['$ZOUPAGE'],
  glutFullScreen: function() {
    if (ZOUPAGE.current !== 1) return;
    var gesture = navigator.userActivation && navigator.userActivation.isActive;
    if (!ZOUPAGE.fillPage) ZOUPAGE.windowed = [ZOUPAGE.x, ZOUPAGE.y, ZOUPAGE.width, ZOUPAGE.height];
    ZOUPAGE.fillPage = true;
    var canvas = ZOUPAGE.canvas();
    if (gesture && canvas.requestFullscreen) {
      canvas.requestFullscreen().catch(function() { ZOUPAGE.fill(); });
    } else {
      ZOUPAGE.fill();
    }
  },

  glutLeaveFullScreen__deps: ['$ZOUPAGE'],
  glutLeaveFullScreen: function() {
    if (!ZOUPAGE.fillPage || !ZOUPAGE.windowed) return;
    var w = ZOUPAGE.windowed;
    ZOUPAGE.leaveFill();
    ZOUPAGE.place(w[0], w[1]);
    ZOUPAGE.resize(w[2], w[3]);
  },

  glutFullScreenToggle__deps: ['glutFullScreen', 'glutLeaveFullScreen', '$ZOUPAGE'],
  glutFullScreenToggle: function() {
    if (ZOUPAGE.fillPage) _glutLeaveFullScreen();
    else _glutFullScreen();
  },

  glutShowWindow__deps: ['$ZOUPAGE'],
  glutShowWindow: function() { ZOUPAGE.report('glutShowWindow', 'the page shows its window'); },
  glutHideWindow__deps: ['$ZOUPAGE'],
  glutHideWindow: function() { ZOUPAGE.report('glutHideWindow'); },
  glutIconifyWindow__deps: ['$ZOUPAGE'],
  glutIconifyWindow: function() { ZOUPAGE.report('glutIconifyWindow'); },
  glutPushWindow__deps: ['$ZOUPAGE'],
  glutPushWindow: function() { ZOUPAGE.report('glutPushWindow'); },
  glutPopWindow__deps: ['$ZOUPAGE'],
  glutPopWindow: function() { ZOUPAGE.report('glutPopWindow'); },

  glutSetCursor__deps: ['$ZOUPAGE'],
  glutSetCursor: function(cursor) {
    var css;
    if (cursor >= 0 && cursor < ZOUPAGE.cursors.length) css = ZOUPAGE.cursors[cursor];
    else if (cursor === 0x0064) css = '';            // GLUT_CURSOR_INHERIT
    else if (cursor === 0x0065) css = 'none';        // GLUT_CURSOR_NONE
    else if (cursor === 0x0066) css = 'crosshair';   // GLUT_CURSOR_FULL_CROSSHAIR
    else {
      ZOUPAGE.complain('glutSetCursor: ' + cursor + ' is not a GLUT cursor');
      return;
    }
    ZOUPAGE.cursor = cursor;
    if (ZOUPAGE.current === 1) ZOUPAGE.canvas().style.cursor = css;
  },

  // Browsers do not let a page move the pointer.
  glutWarpPointer__deps: ['$ZOUPAGE'],
  glutWarpPointer: function(x, y) { ZOUPAGE.report('glutWarpPointer', 'a page cannot move the pointer'); },

  // ---- The loop --------------------------------------------------------------

  glutMainLoop__deps: ['$ZOUPAGE', '$runtimeKeepalivePush'],
  glutMainLoop: function() {
    if (ZOUPAGE.looping) return;
    if (!ZOUPAGE.created) {
      ZOUPAGE.complain('glutMainLoop: no window was created (glutCreateWindow first)');
      ZOUPAGE.end(1);
    }
    var w = ZOUPAGE.windows[1];
    if (w && !w.cb.display) {
      ZOUPAGE.complain('glutMainLoop: window 1 has no display callback (glutDisplayFunc first)');
      ZOUPAGE.end(1);
    }
    // The page's event loop runs the program from now on: the runtime stays
    // until the program exits.
    runtimeKeepalivePush();
    ZOUPAGE.looping = true;
    // The window's size reaches the program once, before its first display.
    ZOUPAGE.reshapePending = true;
    ZOUPAGE.postRedisplay();
    ZOUPAGE.callback('visibility', [1]);
    ZOUPAGE.callback('windowStatus', [1]);
    ZOUPAGE.scheduleIdle();
    throw 'unwind';
  },

  // The page's events arrive through its own loop, never on request.
  glutMainLoopEvent__deps: ['$ZOUPAGE'],
  glutMainLoopEvent: function() {
    ZOUPAGE.report('glutMainLoopEvent', 'a page delivers events from its own loop: use glutMainLoop');
  },

  // glutMainLoop never returns on a page, so leaving it ends the program, as
  // GLUT_ACTION_EXIT does; with the other actions the code after
  // glutMainLoop cannot run, and the page says so.
  glutLeaveMainLoop__deps: ['$ZOUPAGE'],
  glutLeaveMainLoop: function() {
    if (ZOUPAGE.options[0x01F9]) {
      ZOUPAGE.report('glutLeaveMainLoop', 'the code after glutMainLoop does not run; the program ends');
    }
    ZOUPAGE.end(0);
  },

  glutExit__deps: ['glutLeaveMainLoop'],
  glutExit: function() {
    _glutLeaveMainLoop();
  },

  glutPostRedisplay__deps: ['$ZOUPAGE'],
  glutPostRedisplay: function() {
    ZOUPAGE.postRedisplay();
  },

  glutPostWindowRedisplay__deps: ['$ZOUPAGE'],
  glutPostWindowRedisplay: function(win) {
    if (win === 1) ZOUPAGE.postRedisplay();
  },

  glutSwapBuffers__deps: ['$ZOUPAGE'],
  glutSwapBuffers: function() {
    if (ZOUPAGE.current !== 1) return;
    ZOUPAGE.flush();
    ZOUPAGE.presented();
  },

  // exit() from C: the program ends with its status whatever timers, idle
  // callbacks or the main loop keep waiting.
  exit__deps: ['$ZOUPAGE'],
  exit: function(status) {
    ZOUPAGE.end(status);
  },

  // ---- Callbacks -------------------------------------------------------------

  $ZOUCALLBACK__deps: ['$ZOUPAGE'],
  $ZOUCALLBACK: function(name, func) {
    var w = ZOUPAGE.window();
    if (!w) {
      ZOUPAGE.complain('glut' + name.charAt(0).toUpperCase() + name.slice(1) + 'Func: no current window');
      return;
    }
    w.cb[name] = func;
  },

  glutDisplayFunc__deps: ['$ZOUCALLBACK'],
  glutDisplayFunc: function(func) {
    if (!func) {
      ZOUPAGE.complain('glutDisplayFunc: a window needs a display callback; NULL is refused');
      return;
    }
    ZOUCALLBACK('display', func);
  },
  glutReshapeFunc__deps: ['$ZOUCALLBACK'],
  glutReshapeFunc: function(func) { ZOUCALLBACK('reshape', func); },
  glutKeyboardFunc__deps: ['$ZOUCALLBACK'],
  glutKeyboardFunc: function(func) { ZOUCALLBACK('keyboard', func); },
  glutKeyboardUpFunc__deps: ['$ZOUCALLBACK'],
  glutKeyboardUpFunc: function(func) { ZOUCALLBACK('keyboardUp', func); },
  glutSpecialFunc__deps: ['$ZOUCALLBACK'],
  glutSpecialFunc: function(func) { ZOUCALLBACK('special', func); },
  glutSpecialUpFunc__deps: ['$ZOUCALLBACK'],
  glutSpecialUpFunc: function(func) { ZOUCALLBACK('specialUp', func); },
  glutMouseFunc__deps: ['$ZOUCALLBACK'],
  glutMouseFunc: function(func) { ZOUCALLBACK('mouse', func); },
  glutMotionFunc__deps: ['$ZOUCALLBACK'],
  glutMotionFunc: function(func) { ZOUCALLBACK('motion', func); },
  glutPassiveMotionFunc__deps: ['$ZOUCALLBACK'],
  glutPassiveMotionFunc: function(func) { ZOUCALLBACK('passive', func); },
  glutEntryFunc__deps: ['$ZOUCALLBACK'],
  glutEntryFunc: function(func) { ZOUCALLBACK('entry', func); },
  glutVisibilityFunc__deps: ['$ZOUCALLBACK'],
  glutVisibilityFunc: function(func) { ZOUCALLBACK('visibility', func); },
  glutWindowStatusFunc__deps: ['$ZOUCALLBACK'],
  glutWindowStatusFunc: function(func) { ZOUCALLBACK('windowStatus', func); },
  glutMouseWheelFunc__deps: ['$ZOUCALLBACK'],
  glutMouseWheelFunc: function(func) { ZOUCALLBACK('wheel', func); },
  glutPositionFunc__deps: ['$ZOUCALLBACK'],
  glutPositionFunc: function(func) { ZOUCALLBACK('position', func); },
  // A page's window is never closed by the window system.
  glutCloseFunc__deps: ['$ZOUCALLBACK'],
  glutCloseFunc: function(func) { ZOUCALLBACK('close', func); },
  glutWMCloseFunc__deps: ['$ZOUCALLBACK'],
  glutWMCloseFunc: function(func) { ZOUCALLBACK('close', func); },

  // The idle callback is GLUT's, not a window's.
  glutIdleFunc__deps: ['$ZOUPAGE'],
  glutIdleFunc: function(func) {
    ZOUPAGE.idleFunc = func;
    ZOUPAGE.scheduleIdle();
  },

  glutTimerFunc__deps: ['$ZOUPAGE'],
  glutTimerFunc: function(msec, func, value) {
    if (!func) return;
    setTimeout(function() {
      ZOUPAGE.run(function() { {{{ makeDynCall('vi', 'func') }}}(value); });
    }, msec);
  },

  glutOverlayDisplayFunc__deps: ['$ZOUPAGE'],
  glutOverlayDisplayFunc: function(func) { ZOUPAGE.report('glutOverlayDisplayFunc'); },
  glutSpaceballMotionFunc__deps: ['$ZOUPAGE'],
  glutSpaceballMotionFunc: function(func) { ZOUPAGE.report('glutSpaceballMotionFunc', 'no spaceball'); },
  glutSpaceballRotateFunc__deps: ['$ZOUPAGE'],
  glutSpaceballRotateFunc: function(func) { ZOUPAGE.report('glutSpaceballRotateFunc', 'no spaceball'); },
  glutSpaceballButtonFunc__deps: ['$ZOUPAGE'],
  glutSpaceballButtonFunc: function(func) { ZOUPAGE.report('glutSpaceballButtonFunc', 'no spaceball'); },
  glutButtonBoxFunc__deps: ['$ZOUPAGE'],
  glutButtonBoxFunc: function(func) { ZOUPAGE.report('glutButtonBoxFunc', 'no button box'); },
  glutDialsFunc__deps: ['$ZOUPAGE'],
  glutDialsFunc: function(func) { ZOUPAGE.report('glutDialsFunc', 'no dials'); },
  glutTabletMotionFunc__deps: ['$ZOUPAGE'],
  glutTabletMotionFunc: function(func) { ZOUPAGE.report('glutTabletMotionFunc', 'no tablet'); },
  glutTabletButtonFunc__deps: ['$ZOUPAGE'],
  glutTabletButtonFunc: function(func) { ZOUPAGE.report('glutTabletButtonFunc', 'no tablet'); },
  glutJoystickFunc__deps: ['$ZOUPAGE'],
  glutJoystickFunc: function(func, interval) { ZOUPAGE.report('glutJoystickFunc', 'no joystick'); },
  glutForceJoystickFunc__deps: ['$ZOUPAGE'],
  glutForceJoystickFunc: function() { ZOUPAGE.report('glutForceJoystickFunc', 'no joystick'); },

  glutMenuStatusFunc__deps: ['$ZOUPAGE'],
  glutMenuStatusFunc: function(func) { ZOUPAGE.menuStatusFunc = func; },
  glutMenuStateFunc__deps: ['$ZOUPAGE'],
  glutMenuStateFunc: function(func) { ZOUPAGE.menuStateFunc = func; },

  // ---- Input state -----------------------------------------------------------

  glutGetModifiers__deps: ['$ZOUPAGE'],
  glutGetModifiers: function() {
    if (!ZOUPAGE.inInput) {
      if (!ZOUPAGE.reported['glutGetModifiers']) {
        ZOUPAGE.reported['glutGetModifiers'] = true;
        ZOUPAGE.complain('glutGetModifiers: called outside a keyboard, special or mouse callback');
      }
      return 0;
    }
    return ZOUPAGE.modifiers;
  },

  glutIgnoreKeyRepeat__deps: ['$ZOUPAGE'],
  glutIgnoreKeyRepeat: function(ignore) { ZOUPAGE.ignoreKeyRepeat = ignore != 0; },

  glutSetKeyRepeat__deps: ['$ZOUPAGE'],
  glutSetKeyRepeat: function(mode) {
    if (mode < 0 || mode > 2) {
      ZOUPAGE.complain('glutSetKeyRepeat: ' + mode + ' is not GLUT_KEY_REPEAT_OFF, _ON or _DEFAULT');
      return;
    }
    ZOUPAGE.keyRepeat = mode;
  },

  // ---- Menus -----------------------------------------------------------------

  glutCreateMenu__deps: ['$ZOUPAGE'],
  glutCreateMenu: function(func) {
    var id = ZOUPAGE.nextMenu++;
    ZOUPAGE.menus[id] = {callback: func, items: [], data: 0};
    ZOUPAGE.currentMenu = id;
    return id;
  },

  glutDestroyMenu__deps: ['$ZOUPAGE'],
  glutDestroyMenu: function(id) {
    if (!ZOUPAGE.menus[id]) {
      ZOUPAGE.complain('glutDestroyMenu: there is no menu ' + id);
      return;
    }
    if (ZOUPAGE.menuDestroyFunc) {
      var f = ZOUPAGE.menuDestroyFunc, saved = ZOUPAGE.currentMenu;
      ZOUPAGE.currentMenu = id;
      ZOUPAGE.run(function() { {{{ makeDynCall('v', 'f') }}}(); });
      ZOUPAGE.currentMenu = saved;
    }
    delete ZOUPAGE.menus[id];
    if (ZOUPAGE.currentMenu === id) ZOUPAGE.currentMenu = 0;
    Object.keys(ZOUPAGE.windows).forEach(function(k) {
      var menus = ZOUPAGE.windows[k].menus;
      Object.keys(menus).forEach(function(b) { if (menus[b] === id) delete menus[b]; });
    });
  },

  glutMenuDestroyFunc__deps: ['$ZOUPAGE'],
  glutMenuDestroyFunc: function(func) { ZOUPAGE.menuDestroyFunc = func; },

  glutGetMenu__deps: ['$ZOUPAGE'],
  glutGetMenu: function() { return ZOUPAGE.currentMenu; },

  glutSetMenu__deps: ['$ZOUPAGE'],
  glutSetMenu: function(id) {
    if (!ZOUPAGE.menus[id]) {
      ZOUPAGE.complain('glutSetMenu: there is no menu ' + id);
      return;
    }
    ZOUPAGE.currentMenu = id;
  },

  glutAddMenuEntry__deps: ['$ZOUPAGE'],
  glutAddMenuEntry: function(label, value) {
    var m = ZOUPAGE.menu('glutAddMenuEntry');
    if (m) m.items.push({label: UTF8ToString(label), value: value, submenu: 0});
  },

  glutAddSubMenu__deps: ['$ZOUPAGE'],
  glutAddSubMenu: function(label, submenu) {
    var m = ZOUPAGE.menu('glutAddSubMenu');
    if (!m) return;
    if (!ZOUPAGE.menus[submenu] || submenu === ZOUPAGE.currentMenu) {
      ZOUPAGE.complain('glutAddSubMenu: ' + submenu + ' is not a menu that can go in menu ' + ZOUPAGE.currentMenu);
      return;
    }
    m.items.push({label: UTF8ToString(label), value: 0, submenu: submenu});
  },

  glutChangeToMenuEntry__deps: ['$ZOUPAGE'],
  glutChangeToMenuEntry: function(item, label, value) {
    var m = ZOUPAGE.menuItem('glutChangeToMenuEntry', item);
    if (m) m.items[item - 1] = {label: UTF8ToString(label), value: value, submenu: 0};
  },

  glutChangeToSubMenu__deps: ['$ZOUPAGE'],
  glutChangeToSubMenu: function(item, label, submenu) {
    var m = ZOUPAGE.menuItem('glutChangeToSubMenu', item);
    if (!m) return;
    if (!ZOUPAGE.menus[submenu] || submenu === ZOUPAGE.currentMenu) {
      ZOUPAGE.complain('glutChangeToSubMenu: ' + submenu + ' is not a menu that can go in menu ' +
                       ZOUPAGE.currentMenu);
      return;
    }
    m.items[item - 1] = {label: UTF8ToString(label), value: 0, submenu: submenu};
  },

  glutRemoveMenuItem__deps: ['$ZOUPAGE'],
  glutRemoveMenuItem: function(item) {
    var m = ZOUPAGE.menuItem('glutRemoveMenuItem', item);
    if (m) m.items.splice(item - 1, 1);
  },

  glutAttachMenu__deps: ['$ZOUPAGE'],
  glutAttachMenu: function(button) {
    var w = ZOUPAGE.window();
    if (!w || !ZOUPAGE.menu('glutAttachMenu')) return;
    if (button < 0 || button > 2) {
      ZOUPAGE.complain('glutAttachMenu: ' + button + ' is not GLUT_LEFT_BUTTON, _MIDDLE_BUTTON or _RIGHT_BUTTON');
      return;
    }
    w.menus[button] = ZOUPAGE.currentMenu;
  },

  glutDetachMenu__deps: ['$ZOUPAGE'],
  glutDetachMenu: function(button) {
    var w = ZOUPAGE.window();
    if (w) delete w.menus[button];
  },

  glutSetMenuData__deps: ['$ZOUPAGE'],
  glutSetMenuData: function(data) {
    var m = ZOUPAGE.menu('glutSetMenuData');
    if (m) m.data = data;
  },

  glutGetMenuData__deps: ['$ZOUPAGE'],
  glutGetMenuData: function() {
    var m = ZOUPAGE.menus[ZOUPAGE.currentMenu];
    return m ? m.data : 0;
  },

  // Menus are the page's elements, in the page's font.
  glutSetMenuFont: function(menu, font) {},

  // ---- Queries ---------------------------------------------------------------

  glutGet__deps: ['$ZOUPAGE'],
  glutGet: function(type) {
    var mode = ZOUPAGE.created ? ZOUPAGE.mode : ZOUPAGE.initMode;
    var a = ZOUPAGE.attributes();
    var w = ZOUPAGE.window();
    switch (type) {
      case 0x0064: return ZOUPAGE.x;                              // GLUT_WINDOW_X
      case 0x0065: return ZOUPAGE.y;                              // GLUT_WINDOW_Y
      case 0x0066: return ZOUPAGE.created ? ZOUPAGE.width : 0;    // GLUT_WINDOW_WIDTH
      case 0x0067: return ZOUPAGE.created ? ZOUPAGE.height : 0;   // GLUT_WINDOW_HEIGHT
      case 0x0068: return a.alpha ? 32 : 24;                      // GLUT_WINDOW_BUFFER_SIZE
      case 0x0069: return a.stencil ? 8 : 0;                      // GLUT_WINDOW_STENCIL_SIZE
      case 0x006A: return a.depth ? 24 : 0;                       // GLUT_WINDOW_DEPTH_SIZE
      case 0x006B: case 0x006C: case 0x006D: return 8;            // GLUT_WINDOW_RED/GREEN/BLUE_SIZE
      case 0x006E: return a.alpha ? 8 : 0;                        // GLUT_WINDOW_ALPHA_SIZE
      case 0x006F: case 0x0070: case 0x0071: case 0x0072: return ZOUPAGE.accumBits;  // GLUT_WINDOW_ACCUM_*_SIZE
      case 0x0073: return (mode & 0x0002) ? 1 : 0;                // GLUT_WINDOW_DOUBLEBUFFER
      case 0x0074: return 1;                                      // GLUT_WINDOW_RGBA
      case 0x0075: return w && w.parent ? w.parent : 0;           // GLUT_WINDOW_PARENT
      case 0x0076:                                                // GLUT_WINDOW_NUM_CHILDREN
        return Object.keys(ZOUPAGE.windows).filter(function(k) {
          return ZOUPAGE.windows[k].parent === ZOUPAGE.current;
        }).length;
      case 0x0077: return 0;                                      // GLUT_WINDOW_COLORMAP_SIZE
      case 0x0078: return a.antialias ? 4 : 0;                    // GLUT_WINDOW_NUM_SAMPLES
      case 0x0079: return 0;                                      // GLUT_WINDOW_STEREO
      case 0x007A: return ZOUPAGE.cursor;                         // GLUT_WINDOW_CURSOR
      case 0x007B: return 0;                                      // GLUT_WINDOW_FORMAT_ID
      case 0x007C: return ZOUPAGE.initialised ? 1 : 0;            // GLUT_INIT_STATE
      case 0x007D: return 0;                                      // GLUT_WINDOW_SRGB
      case 0x00C8: return screen.width;                           // GLUT_SCREEN_WIDTH
      case 0x00C9: return screen.height;                          // GLUT_SCREEN_HEIGHT
      case 0x00CA: return Math.round(screen.width * 25.4 / 96);   // GLUT_SCREEN_WIDTH_MM (CSS: 96 px an inch)
      case 0x00CB: return Math.round(screen.height * 25.4 / 96);  // GLUT_SCREEN_HEIGHT_MM
      case 0x012C:                                                // GLUT_MENU_NUM_ITEMS
        var m = ZOUPAGE.menus[ZOUPAGE.currentMenu];
        return m ? m.items.length : 0;
      case 0x0190:                                                // GLUT_DISPLAY_MODE_POSSIBLE
        return (ZOUPAGE.initMode & (0x0001 | 0x0100 | 0x0200)) ? 0 : 1;
      case 0x01F4: return ZOUPAGE.initX;                          // GLUT_INIT_WINDOW_X
      case 0x01F5: return ZOUPAGE.initY;                          // GLUT_INIT_WINDOW_Y
      case 0x01F6: return ZOUPAGE.initWidth || 300;               // GLUT_INIT_WINDOW_WIDTH
      case 0x01F7: return ZOUPAGE.initHeight || 300;              // GLUT_INIT_WINDOW_HEIGHT
      case 0x01F8: return ZOUPAGE.initMode;                       // GLUT_INIT_DISPLAY_MODE
      case 0x01F9: return ZOUPAGE.options[0x01F9] || 0;           // GLUT_ACTION_ON_WINDOW_CLOSE
      case 0x01FA: case 0x01FB: return 0;                         // GLUT_WINDOW_BORDER_WIDTH/HEIGHT
      case 0x01FC: return 30000;                                  // GLUT_VERSION
      case 0x01FD: return ZOUPAGE.options[0x01FD] || 0;           // GLUT_RENDERING_CONTEXT
      case 0x01FE: return 1;                                      // GLUT_DIRECT_RENDERING
      case 0x01FF: return ZOUPAGE.fillPage ? 1 : 0;               // GLUT_FULL_SCREEN
      case 0x0200: case 0x0201: case 0x0202: case 0x0203:         // GLUT_INIT_MAJOR_VERSION ...
      case 0x0204: case 0x0205: case 0x0206: case 0x0207:         // GLUT_SKIP_STALE_MOTION_EVENTS ...
        return ZOUPAGE.options[type] || 0;
      case 0x02BC: return Math.floor(performance.now() - ZOUPAGE.initTime);  // GLUT_ELAPSED_TIME
    }
    ZOUPAGE.complain('glutGet: 0x' + type.toString(16) + ' is not a GLUT query');
    return -1;
  },

  glutSetOption__deps: ['$ZOUPAGE'],
  glutSetOption: function(option, value) {
    switch (option) {
      case 0x01F4: ZOUPAGE.initX = value; return;       // GLUT_INIT_WINDOW_X
      case 0x01F5: ZOUPAGE.initY = value; return;       // GLUT_INIT_WINDOW_Y
      case 0x01F6: ZOUPAGE.initWidth = value; return;   // GLUT_INIT_WINDOW_WIDTH
      case 0x01F7: ZOUPAGE.initHeight = value; return;  // GLUT_INIT_WINDOW_HEIGHT
      case 0x01F8: ZOUPAGE.initMode = value; return;    // GLUT_INIT_DISPLAY_MODE
      case 0x01F9: case 0x01FD: case 0x01FE: case 0x0200: case 0x0201: case 0x0202: case 0x0203:
      case 0x0204: case 0x0205: case 0x0206: case 0x0207:
        ZOUPAGE.options[option] = value;
        return;
    }
    ZOUPAGE.complain('glutSetOption: 0x' + option.toString(16) + ' is not an option GLUT sets');
  },

  glutDeviceGet__deps: ['$ZOUPAGE'],
  glutDeviceGet: function(type) {
    switch (type) {
      case 0x0258: return 1;                               // GLUT_HAS_KEYBOARD
      case 0x0259: return 1;                               // GLUT_HAS_MOUSE
      case 0x025D: return 3;                               // GLUT_NUM_MOUSE_BUTTONS
      case 0x0262: return ZOUPAGE.ignoreKeyRepeat ? 1 : 0; // GLUT_DEVICE_IGNORE_KEY_REPEAT
      case 0x0263: return ZOUPAGE.keyRepeat;               // GLUT_DEVICE_KEY_REPEAT
      case 0x025A: case 0x025B: case 0x025C: case 0x025E: case 0x025F: case 0x0260: case 0x0261:
      case 0x0264: case 0x0265: case 0x0266: case 0x0267: case 0x0268:
        return 0;                                          // spaceball, dials, tablet, joystick: none
    }
    ZOUPAGE.complain('glutDeviceGet: 0x' + type.toString(16) + ' is not a GLUT device query');
    return -1;
  },

  // The layer is OpenGL 1.1 with no extensions.
  glutExtensionSupported: function(name) { return 0; },

  glutGetProcAddress__deps: ['$ZOUPAGE'],
  glutGetProcAddress: function(name) {
    ZOUPAGE.report('glutGetProcAddress', 'the layer has no extension functions');
    return 0;
  },

  glutGetModeValues: function(mode, size) {
    if (size) HEAP32[size >> 2] = 0;
    return 0;
  },

  // ---- Overlays, colour index, video resizing, game mode: not on a page ------

  glutLayerGet__deps: ['$ZOUPAGE'],
  glutLayerGet: function(type) {
    switch (type) {
      case 0x0320: return 0;   // GLUT_OVERLAY_POSSIBLE
      case 0x0321: return 0;   // GLUT_LAYER_IN_USE: GLUT_NORMAL
      case 0x0322: return 0;   // GLUT_HAS_OVERLAY
      case 0x0323: return -1;  // GLUT_TRANSPARENT_INDEX
      case 0x0324: return 0;   // GLUT_NORMAL_DAMAGED
      case 0x0325: return -1;  // GLUT_OVERLAY_DAMAGED
    }
    ZOUPAGE.complain('glutLayerGet: 0x' + type.toString(16) + ' is not a GLUT layer query');
    return -1;
  },
  glutEstablishOverlay__deps: ['$ZOUPAGE'],
  glutEstablishOverlay: function() { ZOUPAGE.report('glutEstablishOverlay', 'no overlays'); },
  glutRemoveOverlay: function() {},
  glutUseLayer__deps: ['$ZOUPAGE'],
  glutUseLayer: function(layer) { if (layer !== 0) ZOUPAGE.report('glutUseLayer', 'no overlays'); },
  glutPostOverlayRedisplay__deps: ['$ZOUPAGE'],
  glutPostOverlayRedisplay: function() { ZOUPAGE.report('glutPostOverlayRedisplay', 'no overlays'); },
  glutPostWindowOverlayRedisplay__deps: ['$ZOUPAGE'],
  glutPostWindowOverlayRedisplay: function(win) { ZOUPAGE.report('glutPostWindowOverlayRedisplay', 'no overlays'); },
  glutShowOverlay__deps: ['$ZOUPAGE'],
  glutShowOverlay: function() { ZOUPAGE.report('glutShowOverlay', 'no overlays'); },
  glutHideOverlay__deps: ['$ZOUPAGE'],
  glutHideOverlay: function() { ZOUPAGE.report('glutHideOverlay', 'no overlays'); },

  glutSetColor__deps: ['$ZOUPAGE'],
  glutSetColor: function(cell, r, g, b) { ZOUPAGE.report('glutSetColor', 'no colour index'); },
  glutGetColor__deps: ['$ZOUPAGE'],
  glutGetColor: function(cell, component) { ZOUPAGE.report('glutGetColor', 'no colour index'); return -1; },
  glutCopyColormap__deps: ['$ZOUPAGE'],
  glutCopyColormap: function(win) { ZOUPAGE.report('glutCopyColormap', 'no colour index'); },

  glutVideoResizeGet: function(param) { return 0; },
  glutSetupVideoResizing__deps: ['$ZOUPAGE'],
  glutSetupVideoResizing: function() { ZOUPAGE.report('glutSetupVideoResizing'); },
  glutStopVideoResizing: function() {},
  glutVideoResize__deps: ['$ZOUPAGE'],
  glutVideoResize: function(x, y, width, height) { ZOUPAGE.report('glutVideoResize'); },
  glutVideoPan__deps: ['$ZOUPAGE'],
  glutVideoPan: function(x, y, width, height) { ZOUPAGE.report('glutVideoPan'); },

  // Game mode is not possible (glutGameModeGet says so); a program that
  // enters it anyway keeps its window.
  glutGameModeString: function(string) {},
  glutEnterGameMode__deps: ['$ZOUPAGE'],
  glutEnterGameMode: function() {
    ZOUPAGE.report('glutEnterGameMode', 'no game mode; glutFullScreen fills the page');
    return 0;
  },
  glutLeaveGameMode: function() {},
  glutGameModeGet: function(mode) { return 0; },

});
