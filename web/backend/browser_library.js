// The JavaScript half of the browser backend: the canvas, the page's input
// turned into SDL's keys and buttons, sleeping, and the sound queue. The page
// (page/game.js) talks to it through Module['abyssor'].

var LibraryBrowserGame = {
  $BrowserGame__deps: ['$Asyncify'],
  $BrowserGame: {
    queue: [],
    canvas: null,
    context: null,
    image: null,
    imagePointer: 0,
    heldKeys: {},
    heldButtons: {},
    audio: null,
    channel: null,
    channelWake: null,
    listening: false,
    awakeSince: 0,
    // Sound is mixed this far ahead of what plays (seconds).
    audioAhead: 0.12,

    // DOM key positions to SDL 1.2 keys. Letters follow their position on a
    // US keyboard; typed text comes from the unicode field. Function keys are
    // left to the browser.
    keys: (function() {
      var table = {
        'Backspace': 8, 'Tab': 9, 'Enter': 13, 'Pause': 19, 'Escape': 27, 'Space': 32,
        'Quote': 39, 'Comma': 44, 'Minus': 45, 'Period': 46, 'Slash': 47, 'Semicolon': 59,
        'IntlBackslash': 60, 'Equal': 61, 'BracketLeft': 91, 'Backslash': 92, 'BracketRight': 93,
        'Backquote': 96, 'Delete': 127,
        'NumpadDecimal': 266, 'NumpadDivide': 267, 'NumpadMultiply': 268, 'NumpadSubtract': 269,
        'NumpadAdd': 270, 'NumpadEnter': 271, 'NumpadEqual': 272,
        'ArrowUp': 273, 'ArrowDown': 274, 'ArrowRight': 275, 'ArrowLeft': 276,
        'Insert': 277, 'Home': 278, 'End': 279, 'PageUp': 280, 'PageDown': 281,
        'NumLock': 300, 'CapsLock': 301, 'ScrollLock': 302, 'ShiftRight': 303, 'ShiftLeft': 304,
        'ControlRight': 305, 'ControlLeft': 306, 'AltRight': 307, 'AltLeft': 308,
        'MetaRight': 309, 'MetaLeft': 310
      };
      for (var i = 0; i < 26; i++) table['Key' + String.fromCharCode(65 + i)] = 97 + i;
      for (var d = 0; d < 10; d++) {
        table['Digit' + d] = 48 + d;
        table['Numpad' + d] = 256 + d;
      }
      return table;
    })(),
    // Characters of keys that type none of their own.
    characters: {'Enter': 13, 'NumpadEnter': 13, 'Backspace': 8, 'Tab': 9, 'Escape': 27, 'Delete': 127},

    page: function() {
      return Module['abyssor'] || {};
    },
    // The page holds the player's input back (inputHeld) while the game's
    // files are still coming; it waits here in its order, the pointer's
    // moves as the last place it reached.
    held: function() {
      return !!BrowserGame.page()['inputHeld'];
    },
    push: function(kind, a, b, c) {
      var queue = BrowserGame.queue;
      var last = queue[queue.length - 1];
      if (kind === 2 && last && last[0] === 2 && BrowserGame.held()) queue.pop();
      queue.push([kind, a | 0, b | 0, c | 0]);
    },
    // A key pressed or released as the page saw it (also used by tests and
    // by the page's own Escape in full screen).
    key: function(code, keyText, pressed) {
      var sym = BrowserGame.keys[code];
      if (!sym) return false;
      if (pressed) {
        if (BrowserGame.heldKeys[sym]) return true;
        BrowserGame.heldKeys[sym] = true;
      } else {
        if (!BrowserGame.heldKeys[sym]) return true;
        delete BrowserGame.heldKeys[sym];
      }
      var unicode = 0;
      if (pressed) {
        if (BrowserGame.characters[code] !== undefined) unicode = BrowserGame.characters[code];
        else if (keyText && keyText.length === 1) unicode = keyText.charCodeAt(0);
      }
      BrowserGame.push(1, pressed ? 1 : 0, sym, unicode);
      return true;
    },
    releaseAll: function() {
      for (var sym in BrowserGame.heldKeys) BrowserGame.push(1, 0, +sym, 0);
      BrowserGame.heldKeys = {};
      for (var button in BrowserGame.heldButtons) BrowserGame.push(3, 0, +button, 0);
      BrowserGame.heldButtons = {};
    },
    pointer: function(event) {
      var canvas = BrowserGame.canvas;
      var rect = canvas.getBoundingClientRect();
      if (rect.width <= 0 || rect.height <= 0) return null;
      var x = Math.floor((event.clientX - rect.left) * canvas.width / rect.width);
      var y = Math.floor((event.clientY - rect.top) * canvas.height / rect.height);
      return [Math.max(0, Math.min(canvas.width - 1, x)), Math.max(0, Math.min(canvas.height - 1, y))];
    },
    button: function(domButton) {
      return domButton === 0 ? 1 : domButton === 1 ? 2 : domButton === 2 ? 3 : 0;
    },
    listen: function() {
      if (BrowserGame.listening) return;
      BrowserGame.listening = true;
      var canvas = BrowserGame.canvas;
      window.addEventListener('keydown', function(event) {
        if (event.ctrlKey || event.metaKey || event.altKey) return;
        if (event.repeat) {
          if (BrowserGame.keys[event.code]) event.preventDefault();
          return;
        }
        if (BrowserGame.key(event.code, event.key, true)) event.preventDefault();
      });
      window.addEventListener('keyup', function(event) {
        if (BrowserGame.key(event.code, event.key, false)) event.preventDefault();
      });
      window.addEventListener('blur', BrowserGame.releaseAll);
      canvas.addEventListener('mousemove', function(event) {
        var at = BrowserGame.pointer(event);
        if (at) BrowserGame.push(2, at[0], at[1], 0);
      });
      canvas.addEventListener('mousedown', function(event) {
        var at = BrowserGame.pointer(event);
        var button = BrowserGame.button(event.button);
        if (!at || !button) return;
        event.preventDefault();
        BrowserGame.push(2, at[0], at[1], 0);
        BrowserGame.heldButtons[button] = true;
        BrowserGame.push(3, 1, button, 0);
      });
      window.addEventListener('mouseup', function(event) {
        var button = BrowserGame.button(event.button);
        if (!BrowserGame.heldButtons[button]) return;
        delete BrowserGame.heldButtons[button];
        BrowserGame.push(3, 0, button, 0);
      });
      canvas.addEventListener('wheel', function(event) {
        event.preventDefault();
        var button = event.deltaY < 0 ? 4 : 5;
        BrowserGame.push(3, 1, button, 0);
        BrowserGame.push(3, 0, button, 0);
      }, {passive: false});
      canvas.addEventListener('contextmenu', function(event) {
        event.preventDefault();
      });
    },
    // The browser's sound is made after the first picture, or at the first
    // click or key if that comes sooner: making it held the page up for a
    // fifth of a second on a first visit. Until then the sound is mixed at
    // the pace of the clock and dropped, as while browsers keep it silent.
    startSound: function() {
      var audio = BrowserGame.audio;
      if (!audio) return;
      var context = audio.context;
      var page = BrowserGame.page();
      if (!context) {
        try {
          context = new (window.AudioContext || window.webkitAudioContext)();
        } catch (e) {
          return;
        }
        audio.context = page['audioContext'] = context;
        context.onstatechange = function() {
          if (page['onAudioState']) page['onAudioState'](context.state);
        };
        context.onstatechange();
      }
      if (context.state !== 'running' && context.state !== 'closed') context.resume();
    },
    wake: function() {
      var wakeUp = BrowserGame.channelWake;
      BrowserGame.channelWake = null;
      if (wakeUp) wakeUp();
    }
  },

  browser_sleep__deps: ['$BrowserGame', '$Asyncify'],
  browser_sleep: function(ms) {
    // The time the program ran between two sleeps, summed for measurements
    // (web/measure.cjs): the game's own work and drawing.
    var page = BrowserGame.page();
    if (BrowserGame.awakeSince && Asyncify.state === Asyncify.State.Normal) page['awakeMs'] = (page['awakeMs'] || 0) + performance.now() - BrowserGame.awakeSince;
    return Asyncify.handleSleep(function(wakeUpGame) {
      var wakeUp = function() {
        BrowserGame.awakeSince = performance.now();
        wakeUpGame();
      };
      if (ms > 0) {
        setTimeout(wakeUp, ms);
        return;
      }
      if (ms < 0) {
        // Until the browser has painted: busy screens show every frame the
        // display can. A hidden page paints nothing; it goes on slowly.
        var woken = false;
        var wake = function() {
          if (woken) return;
          woken = true;
          wakeUp();
        };
        requestAnimationFrame(wake);
        setTimeout(wake, 100);
        return;
      }
      // A message comes back at once, where a timer may be held back.
      if (!BrowserGame.channel) {
        BrowserGame.channel = new MessageChannel();
        BrowserGame.channel.port1.onmessage = BrowserGame.wake;
      }
      BrowserGame.channelWake = wakeUp;
      BrowserGame.channel.port2.postMessage(0);
    });
  },

  browser_canvas_open__deps: ['$BrowserGame'],
  browser_canvas_open: function(width, height, fullscreen) {
    var canvas = Module['canvas'];
    BrowserGame.canvas = canvas;
    canvas.width = width;
    canvas.height = height;
    BrowserGame.context = canvas.getContext('2d', {alpha: false});
    // Black, as the screen starts: only what changes on it is put later.
    BrowserGame.context.fillStyle = '#000';
    BrowserGame.context.fillRect(0, 0, width, height);
    BrowserGame.image = null;
    BrowserGame.listen();
    // The menu draws itself on an event: the canvas appearing is one.
    BrowserGame.push(4, 0, 0, 0);
    var page = BrowserGame.page();
    page['key'] = BrowserGame.key;
    // SDL's own events, for input scripts: (1, pressed, key, unicode),
    // (2, x, y) or (3, pressed, button).
    page['pushEvent'] = BrowserGame.push;
    page['releaseAll'] = BrowserGame.releaseAll;
    if (page['onCanvasOpen']) page['onCanvasOpen'](width, height, !!fullscreen);
  },

  browser_canvas_put__deps: ['$BrowserGame'],
  browser_canvas_put: function(rgba, width, height, x, y, w, h) {
    var image = BrowserGame.image;
    if (!image || image.data.buffer !== HEAPU8.buffer || BrowserGame.imagePointer !== rgba || image.width !== width) {
      image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width, height);
      BrowserGame.image = image;
      BrowserGame.imagePointer = rgba;
    }
    BrowserGame.context.putImageData(image, 0, 0, x, y, w, h);
    var page = BrowserGame.page();
    if (!page['firstFrameMs']) {
      page['firstFrameMs'] = performance.now();
      setTimeout(BrowserGame.startSound, 0);
      if (page['onFirstFrame']) page['onFirstFrame']();
    }
  },

  browser_cursor_show__deps: ['$BrowserGame'],
  browser_cursor_show: function(visible) {
    if (BrowserGame.canvas) BrowserGame.canvas.style.cursor = visible ? 'default' : 'none';
  },

  browser_next_event__deps: ['$BrowserGame'],
  browser_next_event: function(fields) {
    var queue = BrowserGame.queue;
    // While input is held, only the canvas's own events go through.
    var at = BrowserGame.held() ? queue.findIndex(function(event) {
      return event[0] === 4;
    }) : 0;
    var event = at >= 0 ? queue.splice(at, 1)[0] : null;
    if (!event) return 0;
    HEAP32[(fields >> 2)] = event[1];
    HEAP32[(fields >> 2) + 1] = event[2];
    HEAP32[(fields >> 2) + 2] = event[3];
    return event[0];
  },

  // The frame comparison hears of every flip with the screen's hash
  // (onFlip), measurements only of its number (onFlipCount).
  browser_frame_hook_wanted__deps: ['$BrowserGame'],
  browser_frame_hook_wanted: function() {
    var page = BrowserGame.page();
    return page['onFlip'] ? 1 : page['onFlipCount'] ? 2 : 0;
  },

  browser_frame_hook__deps: ['$BrowserGame'],
  browser_frame_hook: function(flip, high, low) {
    var page = BrowserGame.page();
    if (!page['onFlip']) {
      page['onFlipCount'](flip);
      return;
    }
    var hex = ('00000000' + (high >>> 0).toString(16)).slice(-8) + ('00000000' + (low >>> 0).toString(16)).slice(-8);
    page['onFlip'](flip, hex);
  },

  browser_audio_open__deps: ['$BrowserGame'],
  browser_audio_open: function(frequency, channels, format, samples) {
    if (!window.AudioContext && !window.webkitAudioContext) return 0;
    BrowserGame.audio = {
      context: null, frequency: frequency, channels: channels, format: format, samples: samples,
      queuedUntil: 0, clockUntil: performance.now() / 1000, playing: false
    };
    // Browsers let sound start only from a click or a key.
    window.addEventListener('pointerdown', BrowserGame.startSound, true);
    window.addEventListener('keydown', BrowserGame.startSound, true);
    return 1;
  },

  browser_audio_chunks_wanted__deps: ['$BrowserGame'],
  browser_audio_chunks_wanted: function() {
    var audio = BrowserGame.audio;
    if (!audio) return 0;
    var chunk = audio.samples / audio.frequency;
    if (audio.context && audio.context.state === 'running') {
      var now = audio.context.currentTime;
      if (!audio.playing || audio.queuedUntil < now) audio.queuedUntil = now + 0.02;
      audio.playing = true;
      return Math.max(0, Math.min(16, Math.ceil((BrowserGame.audioAhead - (audio.queuedUntil - now)) / chunk)));
    }
    // Silent: mix at the pace of the clock and drop what comes out.
    var clock = performance.now() / 1000;
    if (audio.playing || clock - audio.clockUntil > 1) audio.clockUntil = clock;
    audio.playing = false;
    var wanted = Math.floor((clock - audio.clockUntil) / chunk);
    audio.clockUntil += wanted * chunk;
    return wanted;
  },

  browser_audio_play__deps: ['$BrowserGame'],
  browser_audio_play: function(samples, bytes) {
    var audio = BrowserGame.audio;
    if (!audio || !audio.playing) return;
    var channels = audio.channels;
    var width = audio.format === 0x8010 ? 2 : 1;
    var frames = Math.floor(bytes / (width * channels));
    if (frames <= 0) return;
    var buffer = audio.context.createBuffer(channels, frames, audio.frequency);
    for (var c = 0; c < channels; c++) {
      var out = buffer.getChannelData(c);
      for (var i = 0; i < frames; i++) {
        var at = samples + (i * channels + c) * width;
        if (width === 2) out[i] = HEAP16[at >> 1] / 32768;
        else if (audio.format === 0x0008) out[i] = (HEAPU8[at] - 128) / 128;
        else out[i] = HEAP8[at] / 128;
      }
    }
    var source = audio.context.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.context.destination);
    source.start(audio.queuedUntil);
    audio.queuedUntil += frames / audio.frequency;
  },

  browser_audio_close__deps: ['$BrowserGame'],
  browser_audio_close: function() {
    var audio = BrowserGame.audio;
    BrowserGame.audio = null;
    if (audio && audio.context) {
      audio.context.close();
      var page = BrowserGame.page();
      if (page['onAudioState']) page['onAudioState']('closed');
    }
  }
};

mergeInto(LibraryManager.library, LibraryBrowserGame);
