// The page around one program: reads the query words, starts the program on
// the canvas (or, for ?hash=, the cloth without a window), and shows what the
// program prints and how it ended. document.body.dataset.state tells tests
// where the page stands: loading, running, held, done (hash lines written),
// ended (the program exited), refused (bad query words), nowebgl, contextlost.
(function () {
  'use strict';
  var config = window.zouPage;  // set by the page: program, title, windowTitle, hash, flags, keys
  var body = document.body;
  var output = document.getElementById('output');
  var statusLine = document.getElementById('status');
  var canvas = document.getElementById('canvas');
  // Frames the page runs at most for ?hash= and ?hold=: a minute or so of
  // the cloth in a browser, far more than any picture needs.
  var maxFrames = 100000;

  function setState(state, text) {
    body.dataset.state = state;
    if (text !== undefined) statusLine.textContent = text;
  }
  function print(line) {
    console.log(line);
    output.textContent += line + '\n';
  }
  function printErr(line) {
    console.error(line);
    output.textContent += line + '\n';
  }

  // A frame number: digits only, at most maxFrames.
  function frameNumber(text) {
    if (!/^[0-9]{1,7}$/.test(text)) return null;
    var n = Number(text);
    return n <= maxFrames ? n : null;
  }

  // The query words, checked: {hash: [...], hold: N, flags: [...]} or a
  // message saying what is wrong.
  function readQuery() {
    var words = {flags: []};
    var known = ['hold'];
    if (config.hash !== null) known.push('hash');
    if (config.bench) known.push('bench');
    Object.keys(config.flags).forEach(function (f) { known.push(f); });
    var query = window.location.search.replace(/^\?/, '');
    if (query === '') return words;
    var parts = query.split('&');
    for (var i = 0; i < parts.length; i++) {
      var eq = parts[i].indexOf('=');
      var key = decodeURIComponent(eq < 0 ? parts[i] : parts[i].slice(0, eq));
      var value = eq < 0 ? '' : decodeURIComponent(parts[i].slice(eq + 1));
      if (known.indexOf(key) < 0)
        return {error: 'unknown query word "' + key + '" (this page knows ' + known.join(', ') + ')'};
      if (key in words && key !== 'flags')
        return {error: 'query word "' + key + '" given twice'};
      if (key === 'hash') {
        var frames = value.split(',').map(frameNumber);
        if (value === '' || frames.indexOf(null) >= 0)
          return {error: 'hash: "' + value + '" is not a list of frame numbers from 0 to ' + maxFrames +
                  ' separated by commas'};
        words.hash = frames;
      } else if (key === 'hold') {
        var n = frameNumber(value);
        if (n === null || n < 1)
          return {error: 'hold: "' + value + '" is not a frame count from 1 to ' + maxFrames};
        words.hold = n;
      } else if (key === 'bench') {
        if (value !== '') return {error: 'bench takes no value'};
        words.bench = true;
      } else {
        if (value !== '') return {error: key + ' takes no value'};
        words.flags.push(config.flags[key]);
      }
    }
    if (words.hash && (words.hold !== undefined || words.bench || words.flags.length))
      return {error: 'hash runs the cloth without a picture: it goes with no other query word'};
    return words;
  }

  function load(src, then) {
    var script = document.createElement('script');
    script.src = src;
    script.onload = then;
    script.onerror = function () { setState('error', 'could not load ' + src); };
    document.body.appendChild(script);
  }

  // ?hash=: the lines of drape_run hash (with the page's own options).
  function runHash(frames) {
    setState('running', config.title + ': hashing the cloth at frames ' + frames.join(', '));
    canvas.style.display = 'none';
    load('drape_run.js', function () {
      var args = config.hash.concat(['hash']).concat(frames.map(String));
      window.zouDrapeRun({
        arguments: args,
        print: print,
        printErr: printErr,
        onExit: function (status) {
          if (status === 0)
            setState('done', config.title + ': hash lines of frames ' + frames.join(', '));
          else
            setState('ended', 'drape_run ended with status ' + status);
        }
      });
    });
  }

  function runProgram(words) {
    setState('loading', config.title + ': loading');
    var started = 0;
    var module = {
      canvas: canvas,
      arguments: words.flags,
      zouWindowTitle: config.windowTitle,
      print: print,
      printErr: printErr,
      onNoWebGL: function () {
        canvas.style.display = 'none';
        setState('nowebgl', config.title + ' needs WebGL 2, and this browser could not create a WebGL 2 ' +
                 'context (WebGL may be turned off, or the graphics driver refused)');
      },
      onContextLost: function () {
        canvas.style.display = 'none';
        setState('contextlost', config.title + ': the browser took the WebGL context away; reload the page ' +
                 'to start again');
      },
      onFrame: function (n) {
        if (n === 1) {
          started = performance.now();
          setState('running', config.title + ' is running');
        }
        window.zouFrames = n;
        window.zouSeconds = (performance.now() - started) / 1000;
      },
      onExit: function (status) {
        setState('ended', config.title + ' ended with status ' + status);
        window.zouExitStatus = status;
      }
    };
    if (words.hold !== undefined) {
      module.zouHold = words.hold;
      module.onHeld = function (n) { setState('held', config.title + ': holding at frame ' + n); };
    }
    if (words.bench) {
      // Once the program has drawn its first frame (the context and the
      // window size exist), the cost of a frame is measured apart from it.
      var frame = module.onFrame;
      module.onFrame = function (n) {
        frame(n);
        if (n !== 1) return;
        // First the frames per second of the running program over 5 s; then
        // the cost of a frame (which queues hundreds of frames' WebGL work,
        // so it comes last).
        var frames0 = window.zouFrames, t0 = performance.now();
        setTimeout(function () {
          var fps = (window.zouFrames - frames0) * 1000 / (performance.now() - t0);
          var figures = JSON.parse(module.UTF8ToString(module._zouWebMeasure()));
          figures.fps = fps;
          figures.canvas = [canvas.width, canvas.height];
          window.zouBench = figures;
          print('bench: ' + JSON.stringify(figures));
        }, 5000);
      };
    }
    load(config.program + '.js', function () {
      window.zouProgram(module).then(function (m) { window.zouModule = m; });
    });
  }

  document.getElementById('keys').textContent = config.keys;
  document.title = config.title;
  var words = readQuery();
  if (words.error) {
    canvas.style.display = 'none';
    setState('refused', config.title + ': ' + words.error + '; nothing was run');
    printErr(config.title + ': ' + words.error);
    return;
  }
  if (words.hash) runHash(words.hash);
  else runProgram(words);
})();
