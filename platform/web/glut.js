// GLUT on a web page: the parts of emscripten's GLUT that do not fit a page
// (or are missing), replaced. The window is the page's canvas.
//  - glutCreateWindow asks for WebGL 2 with a preserved drawing buffer (so the
//    picture can be read back after the frame) and, when no context can be
//    had, tells the page (Module.onNoWebGL) and stops the program.
//  - Browsers refuse full screen without a user gesture: glutFullScreen makes
//    the canvas fill the page, and asks for the real full screen only while a
//    key or click is being handled.
//  - glutSwapBuffers counts the frames; after Module.zouHold frames the
//    program stops drawing (glutPostRedisplay does nothing), so the last
//    picture stays to be compared.
//  - glutGetWindow, and glutGet for the window's place, which are missing.
//  - A lost WebGL context is reported to the page (Module.onContextLost).
mergeInto(LibraryManager.library, {
  $ZOUPAGE__deps: ['$GLUT', '$Browser'],
  $ZOUPAGE: {
    fillPage: false,
    frames: 0,
    held: false,
    x: 0,
    y: 0,

    reshape: function(width, height) {
      var canvas = Module['canvas'];
      canvas.width = width;
      canvas.height = height;
      canvas.style.width = width + 'px';
      canvas.style.height = height + 'px';
      if (GLUT.reshapeFunc) {
        {{{ makeDynCall('vii', 'GLUT.reshapeFunc') }}}(width, height);
      }
      _glutPostRedisplay();
    },

    place: function(x, y) {
      var canvas = Module['canvas'];
      ZOUPAGE.x = x;
      ZOUPAGE.y = y;
      canvas.style.left = x + 'px';
      canvas.style.top = y + 'px';
    },

    fill: function() {
      ZOUPAGE.fillPage = true;
      ZOUPAGE.place(0, 0);
      ZOUPAGE.reshape(window.innerWidth, window.innerHeight);
    },

    onResize: function() {
      if (ZOUPAGE.fillPage && !document.fullscreenElement) ZOUPAGE.fill();
    },

    onFullscreenChange: function() {
      if (document.fullscreenElement) {
        ZOUPAGE.place(0, 0);
        ZOUPAGE.reshape(screen.width, screen.height);
      } else if (ZOUPAGE.fillPage) {
        ZOUPAGE.fill();
      }
    },
  },

  glutCreateWindow__deps: ['$ZOUPAGE'],
  glutCreateWindow: function(name) {
    var attributes = {
      antialias: false,
      alpha: false,
      depth: (GLUT.initDisplayMode & 0x0010 /*GLUT_DEPTH*/) != 0,
      stencil: (GLUT.initDisplayMode & 0x0020 /*GLUT_STENCIL*/) != 0,
      preserveDrawingBuffer: true,
      majorVersion: 2,
      minorVersion: 0
    };
    var ctx = null;
    try {
      ctx = Browser.createContext(Module['canvas'], true, true, attributes);
    } catch (e) {
      ctx = null;
    }
    if (!ctx) {
      if (Module['onNoWebGL']) Module['onNoWebGL']();
      throw 'unwind';
    }
    // A context the browser takes away (a driver reset, too many pages)
    // does not come back by itself: the page says so instead of going blank.
    Module['canvas'].addEventListener('webglcontextlost', function(e) {
      e.preventDefault();
      if (Module['onContextLost']) Module['onContextLost']();
    });
    window.addEventListener('resize', ZOUPAGE.onResize);
    document.addEventListener('fullscreenchange', ZOUPAGE.onFullscreenChange);
    return 1;
  },

  glutGetWindow: function() {
    return Module.ctx ? 1 : 0;
  },

  glutGet__deps: ['$ZOUPAGE'],
  glutGet: function(type) {
    var canvas = Module['canvas'];
    switch (type) {
      case 100: /* GLUT_WINDOW_X */ return ZOUPAGE.x;
      case 101: /* GLUT_WINDOW_Y */ return ZOUPAGE.y;
      case 102: /* GLUT_WINDOW_WIDTH */ return canvas.width;
      case 103: /* GLUT_WINDOW_HEIGHT */ return canvas.height;
      case 200: /* GLUT_SCREEN_WIDTH */ return screen.width;
      case 201: /* GLUT_SCREEN_HEIGHT */ return screen.height;
      case 700: /* GLUT_ELAPSED_TIME */ return Date.now() - GLUT.initTime;
      default: return 0;
    }
  },

  glutFullScreen__deps: ['$ZOUPAGE'],
  glutFullScreen: function() {
    var gesture = navigator.userActivation && navigator.userActivation.isActive;
    ZOUPAGE.fillPage = true;
    if (gesture && Module['canvas'].requestFullscreen) {
      Module['canvas'].requestFullscreen().catch(function() { ZOUPAGE.fill(); });
    } else {
      ZOUPAGE.fill();
    }
  },

  glutReshapeWindow__deps: ['$ZOUPAGE'],
  glutReshapeWindow: function(width, height) {
    ZOUPAGE.fillPage = false;
    if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
    ZOUPAGE.reshape(width, height);
  },

  glutPositionWindow__deps: ['$ZOUPAGE'],
  glutPositionWindow: function(x, y) {
    ZOUPAGE.fillPage = false;
    if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
    ZOUPAGE.place(x, y);
  },

  glutMainLoop__deps: ['$GLUT', 'glutPostRedisplay'],
  glutMainLoop: function() {
    // The window's size as it stands reaches the program once, as a reshape.
    var canvas = Module['canvas'];
    if (GLUT.reshapeFunc) {
      {{{ makeDynCall('vii', 'GLUT.reshapeFunc') }}}(canvas.width, canvas.height);
    }
    _glutPostRedisplay();
    throw 'unwind';
  },

  glutSwapBuffers__deps: ['$ZOUPAGE'],
  glutSwapBuffers: function() {
    ZOUPAGE.frames++;
    if (Module['onFrame']) Module['onFrame'](ZOUPAGE.frames);
    if (Module['zouHold'] !== undefined && ZOUPAGE.frames >= Module['zouHold'] && !ZOUPAGE.held) {
      ZOUPAGE.held = true;
      if (Module['onHeld']) Module['onHeld'](ZOUPAGE.frames);
    }
  },

  glutPostRedisplay__deps: ['$GLUT', '$ZOUPAGE'],
  glutPostRedisplay: function() {
    if (ZOUPAGE.held || !GLUT.displayFunc || GLUT.requestedAnimationFrame) return;
    GLUT.requestedAnimationFrame = true;
    Browser.requestAnimationFrame(function() {
      GLUT.requestedAnimationFrame = false;
      if (ABORT) return;
      Browser.mainLoop.runIter(function() {
        {{{ makeDynCall('v', 'GLUT.displayFunc') }}}();
      });
    });
  },

});
