// The page around the game: the edition of the game in the page's language,
// its data fetched and handed to the game, the download progress, the canvas
// scaled to the window, full screen, the sound hint and the way back after
// the game ends. The game itself (abyssor.js) reads its switches from the
// address.
'use strict';

// The edition: ?lang=cs or ?lang=en in the address names it; otherwise the
// first of the browser's preferred languages that has one decides (Czech or
// Slovak the Czech edition, English the English one), English by default.
function pickEdition() {
  var named = /[?&]lang=(cs|en)(?:&|$)/.exec(location.search);
  if (named) return named[1];
  var preferred = navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language || ''];
  for (var i = 0; i < preferred.length; i++) {
    var language = String(preferred[i]).toLowerCase().slice(0, 2);
    if (language === 'cs' || language === 'sk') return 'cs';
    if (language === 'en') return 'en';
  }
  return 'en';
}
var edition = pickEdition();

// As soon as the page is here (its style and script are written into it):
// what the game loads before its first picture (fetchPackage, below), and the
// program, which compiles meanwhile (once it is all here where the server
// does not call it WebAssembly), with its JavaScript half, which runs after
// this script (Module, below). The game starts once all are in.
var startData = fetchPackage('start-' + edition + '.data', function(loaded, total) {
  showProgress(loaded, total);
});
var startFiles = null;
var compiling = WebAssembly.compileStreaming(fetch('abyssor.wasm')).catch(function() {
  return fetch('abyssor.wasm').then(function(response) {
    return response.arrayBuffer();
  }).then(WebAssembly.compile);
});
var program = document.createElement('script');
program.src = 'abyssor.js';
document.body.appendChild(program);

// The page's own words in Czech; the page itself is written in English.
var CZECH = {
  'sound-hint': 'Zvuk zapne kliknutí nebo klávesa',
  'fullscreen': 'Celá obrazovka',
  'leave-fullscreen': 'Opustit celou obrazovku',
  'fullscreen-title': 'Celá obrazovka: Escape ji opustí (a ukončí rozehranou hru)',
  'loading': 'Nahrávám hru…',
  'loading-levels': 'Nahrávám úrovně…',
  'data-failed': 'Data hry se nepodařilo načíst: ',
  'of': ' z ',
  'ended': 'Hra skončila.',
  'ended-status': 'Hra skončila (stav ',
  'error': 'Hra se zastavila s chybou: ',
  'again': 'Hrát znovu',
  'or-return': 'nebo stiskni Enter',
  'go-fullscreen-button': 'Klikni a hraj na celé obrazovce',
  'controls': '<b>Myš</b> míří, <b>levé tlačítko</b> střílí, <b>pravé tlačítko</b> přivolá nálet, <b>← →</b> plavba, ' +
      '<b>Tab</b> další zbraň, <b>P</b> pauza, <b>Escape</b> ukončí hru, i na celé obrazovce, kterou přitom opustí ' +
      '(hru, která neběží, nechá být). V nabídce: <b>↑ ↓</b> a <b>Enter</b>.',
  'switches': 'Přepínače se píšou do adresy: <code>?-FS&amp;-EF1&amp;-EF2</code> (celá obrazovka, částicové efekty), ' +
      'a jazyk: <code>?lang=cs</code> nebo <code>?lang=en</code>. Rekordy zůstávají v tomto prohlížeči.'
};
var ENGLISH = {
  'fullscreen': 'Full screen', 'leave-fullscreen': 'Leave full screen', 'loading': 'Loading the game…',
  'loading-levels': 'Loading the levels…', 'data-failed': 'The game\'s data could not be loaded: ', 'of': ' of ',
  'ended': 'The game has ended.', 'ended-status': 'The game has ended (status ', 'error': 'The game stopped with an error: '
};
function say(key) {
  return (edition === 'cs' ? CZECH : ENGLISH)[key];
}

var stage = document.getElementById('stage');
var canvas = document.getElementById('screen');
var loading = document.getElementById('loading');
var loadingBar = document.getElementById('loading-bar');
var loadingText = document.getElementById('loading-text');
var loadingDetail = document.getElementById('loading-detail');
var ended = document.getElementById('ended');
var endedText = document.getElementById('ended-text');
var soundHint = document.getElementById('sound-hint');
var fullscreenButton = document.getElementById('fullscreen');
var goFullscreen = document.getElementById('go-fullscreen');

var running = false;
var leavingFullscreenOurselves = false;
var lastEscapeDown = -1e9;

// Whole multiples of the game's pixels where the room allows, so every pixel
// stays square and sharp; smaller than the game only in a small window.
function fitCanvas() {
  var width = stage.clientWidth, height = stage.clientHeight;
  var scale = Math.min(width / canvas.width, height / canvas.height);
  if (scale >= 1) scale = Math.floor(scale);
  if (!(scale > 0)) scale = 1;
  canvas.style.width = Math.round(canvas.width * scale) + 'px';
  canvas.style.height = Math.round(canvas.height * scale) + 'px';
}
window.addEventListener('resize', fitCanvas);

// The bar moves at most once a frame, however often the bytes come.
var progress = null;
function showProgress(loaded, total) {
  if (!progress) requestAnimationFrame(drawProgress);
  progress = [loaded, total];
}

function drawProgress() {
  if (!progress) return;
  var loaded = progress[0], total = progress[1];
  progress = null;
  var share = total > 0 ? Math.min(1, loaded / total) : 0;
  loadingBar.style.width = (share * 100).toFixed(1) + '%';
  loadingDetail.textContent = (loaded / 1048576).toFixed(1) + say('of') + (total / 1048576).toFixed(1) + ' MB';
}

function isFullscreen() {
  return !!(document.fullscreenElement || document.webkitFullscreenElement);
}

function enterFullscreen() {
  goFullscreen.hidden = true;
  var request = stage.requestFullscreen || stage.webkitRequestFullscreen;
  if (!request) return;
  var result = request.call(stage);
  // Where the browser allows it, Escape then reaches the game rather than
  // leaving full screen (holding it still leaves).
  var lock = function() {
    if (navigator.keyboard && navigator.keyboard.lock) navigator.keyboard.lock(['Escape']).catch(function() {});
  };
  if (result && result.then) result.then(lock).catch(function() {});
  else lock();
  canvas.focus();
}

function leaveFullscreen() {
  leavingFullscreenOurselves = true;
  if (navigator.keyboard && navigator.keyboard.unlock) navigator.keyboard.unlock();
  var exit = document.exitFullscreen || document.webkitExitFullscreen;
  if (exit) exit.call(document);
}

fullscreenButton.addEventListener('click', function() {
  if (isFullscreen()) leaveFullscreen();
  else enterFullscreen();
});
document.getElementById('go-fullscreen-button').addEventListener('click', enterFullscreen);

window.addEventListener('keydown', function(event) {
  if (event.code === 'Escape') lastEscapeDown = performance.now();
}, true);

// A browser that keeps Escape for leaving full screen never shows it to the
// page: the game gets the Escape all the same, so it ends the game there too.
function onFullscreenChange() {
  fitCanvas();
  fullscreenButton.textContent = say(isFullscreen() ? 'leave-fullscreen' : 'fullscreen');
  if (isFullscreen()) return;
  var ours = leavingFullscreenOurselves;
  leavingFullscreenOurselves = false;
  var page = Module['abyssor'];
  if (ours || !running || !page['key'] || performance.now() - lastEscapeDown < 500) return;
  page['key']('Escape', 'Escape', true);
  setTimeout(function() {
    page['key']('Escape', 'Escape', false);
  }, 150);
}
document.addEventListener('fullscreenchange', onFullscreenChange);
document.addEventListener('webkitfullscreenchange', onFullscreenChange);

function playAgain() {
  location.reload();
}
document.getElementById('again').addEventListener('click', playAgain);
window.addEventListener('keydown', function(event) {
  if (!ended.hidden && (event.code === 'Enter' || event.code === 'NumpadEnter')) playAgain();
});

function gameEnded(text) {
  running = false;
  if (Module['saveTable']) Module['saveTable']();
  if (isFullscreen()) leaveFullscreen();
  soundHint.hidden = true;
  canvas.style.cursor = 'default';
  endedText.textContent = text;
  ended.hidden = false;
  document.getElementById('again').focus();
}

// The data comes in packages (web/package_data.cmake), each a line of JSON,
// {"size": bytes after it, "files": [[path, bytes], ...]}, then the files'
// bytes in that order. A package is read as it arrives: its first line gives
// its size, so the progress is known from the first bytes. Browsers that
// can unpack a download as it comes fetch it compressed (<name>.gz), a
// ninth of its size.

// The package's bytes, unpacked if they came packed: a server may have
// unpacked them already (some send a .gz file as gzip-encoded).
function unpackedBody(body) {
  var reader = body.getReader();
  return reader.read().then(function(first) {
    var rest = new ReadableStream({
      start: function(controller) {
        if (!first.done) controller.enqueue(first.value);
      },
      pull: function(controller) {
        return reader.read().then(function(part) {
          if (part.done) controller.close();
          else controller.enqueue(part.value);
        });
      }
    });
    var packed = !first.done && first.value[0] === 0x1f && first.value[1] === 0x8b;
    return packed ? rest.pipeThrough(new DecompressionStream('gzip')) : rest;
  });
}

function fetchPackage(name, onProgress) {
  var unpacks = typeof DecompressionStream === 'function';
  return fetch(unpacks ? name + '.gz' : name).then(function(response) {
    if (!response.ok || !response.body) throw new Error(name + ' (' + response.status + ')');
    return unpacks ? unpackedBody(response.body) : response.body;
  }).then(function(body) {
    var reader = body.getReader();
    var head = new Uint8Array(0), listing = null, bytes = null, loaded = 0;
    var take = function(chunk) {
      if (!listing) {
        var joined = new Uint8Array(head.length + chunk.length);
        joined.set(head);
        joined.set(chunk, head.length);
        var end = joined.indexOf(10);
        if (end < 0) {
          head = joined;
          return;
        }
        listing = JSON.parse(new TextDecoder().decode(joined.subarray(0, end)));
        bytes = new Uint8Array(listing.size);
        chunk = joined.subarray(end + 1);
      }
      if (loaded + chunk.length > bytes.length) throw new Error(name + ' is longer than it says');
      bytes.set(chunk, loaded);
      loaded += chunk.length;
      onProgress(loaded, bytes.length);
    };
    var next = function() {
      return reader.read().then(function(part) {
        if (!part.done) {
          take(part.value);
          return next();
        }
        if (!bytes || loaded !== bytes.length) throw new Error(name + ' came in short');
        return {files: listing.files, bytes: bytes};
      });
    };
    return next();
  });
}

// The package's files into the game's file system, which keeps their bytes
// where they are.
function mountPackage(data) {
  var FS = Module['FS'];
  var at = 0;
  data.files.forEach(function(file) {
    var path = '/' + file[0];
    FS.mkdirTree(path.slice(0, path.lastIndexOf('/')));
    FS.writeFile(path, data.bytes.subarray(at, at + file[1]), {canOwn: true});
    at += file[1];
  });
}

function dataFailed(error) {
  loading.hidden = false;
  loading.classList.remove('levels');
  loadingText.textContent = say('data-failed') + (error && error.message || error);
}

// The levels' pictures and sounds, fetched while the intro plays. The game
// reads its files as it needs them, without waiting: until every file is
// here, the player's keys and clicks wait in the backend (the intro reads
// none), and the page shows how far the levels have come if the player tries
// to act or they take longer than the intro's first ten seconds.
var LEVELS_NOTICE_MS = 10000;
var levelsProgress = {};
var levelsRequested = false, levelsHere = false, levelsNoticed = false;

function showLevelsProgress() {
  var loaded = 0, total = 0;
  for (var name in levelsProgress) {
    loaded += levelsProgress[name][0];
    total += levelsProgress[name][1];
  }
  showProgress(loaded, total);
}

function noticeLevels() {
  if (levelsHere || levelsNoticed || !running) return;
  levelsNoticed = true;
  loading.classList.add('levels');
  loadingText.textContent = say('loading-levels');
  showLevelsProgress();
  loading.hidden = false;
}

function loadLevels() {
  if (levelsRequested) return;
  levelsRequested = true;
  setTimeout(noticeLevels, LEVELS_NOTICE_MS);
  var packages = ['levels.data', 'levels-' + edition + '.data'].map(function(name) {
    levelsProgress[name] = [0, 0];
    return fetchPackage(name, function(loaded, total) {
      levelsProgress[name] = [loaded, total];
      if (levelsNoticed) showLevelsProgress();
    }).then(mountPackage);
  });
  Promise.all(packages).then(function() {
    levelsHere = true;
    Module['abyssor']['inputHeld'] = false;
    if (levelsNoticed) loading.hidden = true;
  }, dataFailed);
}

window.addEventListener('keydown', noticeLevels);
canvas.addEventListener('pointerdown', noticeLevels);

// The game's log reaches the console in batches: at the start, a message a
// line cost more than loading the pictures.
var logLines = [];
function flushLog() {
  if (logLines.length) console.log(logLines.join('\n'));
  logLines = [];
}

var Module = {
  canvas: canvas,
  print: function(text) {
    if (!logLines.length) setTimeout(flushLog, 0);
    logLines.push(text);
  },
  printErr: function(text) {
    flushLog();
    console.warn(text);
  },
  instantiateWasm: function(imports, receiveInstance) {
    compiling.then(function(module) {
      return WebAssembly.instantiate(module, imports).then(function(instance) {
        receiveInstance(instance, module);
      });
    }).catch(dataFailed);
    return {};
  },
  // The game starts when its start package is here, which then goes into its
  // file system (which needs the program's memory, there by then).
  preInit: [function() {
    Module['addRunDependency']('abyssor-start-data');
    startData.then(function(data) {
      startFiles = data;
      Module['removeRunDependency']('abyssor-start-data');
    }, dataFailed);
  }],
  preRun: [function() {
    mountPackage(startFiles);
    startFiles = null;
  }],
  // The page's layout waits for the browser's next frame, out of the way of
  // the game's start.
  onRuntimeInitialized: function() {
    progress = null;
    loadingBar.style.width = '100%';
    running = true;
    loading.hidden = true;
    requestAnimationFrame(function() {
      canvas.focus();
    });
  },
  onExit: function(status) {
    gameEnded(status === 0 ? say('ended') : say('ended-status') + status + ').');
  },
  onAbort: function(what) {
    loading.hidden = true;
    gameEnded(say('error') + what);
  },
  abyssor: {
    inputHeld: true,
    onFirstFrame: loadLevels,
    onCanvasOpen: function(width, height, fullscreen) {
      requestAnimationFrame(fitCanvas);
      // Full screen needs a click or a key first.
      if (fullscreen && !isFullscreen()) goFullscreen.hidden = false;
    },
    onAudioState: function(state) {
      soundHint.hidden = state === 'running' || state === 'closed' || !running;
    }
  }
};

window.addEventListener('keydown', function(event) {
  if (!goFullscreen.hidden && event.code !== 'Escape') enterFullscreen();
});

// The page in the edition's language, and a link to the other edition
// (keeping the address's switches).
function showEdition() {
  document.documentElement.lang = edition;
  var other = edition === 'cs' ? 'en' : 'cs';
  var link = document.getElementById('other-edition');
  var query = location.search.replace(/^\?/, '').split('&').filter(function(part) {
    return part && part.indexOf('lang=') !== 0;
  });
  link.href = '?' + query.concat('lang=' + other).join('&');
  link.textContent = other === 'cs' ? 'Česky' : 'English';
  link.lang = link.hreflang = other;
  if (edition !== 'cs') return;
  ['sound-hint', 'fullscreen', 'again', 'or-return', 'go-fullscreen-button'].forEach(function(id) {
    document.getElementById(id).textContent = CZECH[id];
  });
  ['controls', 'switches'].forEach(function(id) {
    document.getElementById(id).innerHTML = CZECH[id];
  });
  fullscreenButton.title = CZECH['fullscreen-title'];
  loadingText.textContent = CZECH['loading'];
  endedText.textContent = CZECH['ended'];
}
showEdition();
fitCanvas();
