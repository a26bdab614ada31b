// The page around the game: the edition of the game in the page's language,
// the download progress, the canvas scaled to the window, full screen, the
// sound hint and the way back after the game ends. The game itself
// (abyssor.js) reads its switches from the address.
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

// The page's own words in Czech; the page itself is written in English.
var CZECH = {
  'sound-hint': 'Zvuk zapne kliknutí nebo klávesa',
  'fullscreen': 'Celá obrazovka',
  'leave-fullscreen': 'Opustit celou obrazovku',
  'fullscreen-title': 'Celá obrazovka: Escape ji opustí (a ukončí rozehranou hru)',
  'loading': 'Nahrávám hru…',
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
  'fullscreen': 'Full screen', 'leave-fullscreen': 'Leave full screen', 'loading': 'Loading the game…', 'of': ' of ',
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

function showProgress(loaded, total) {
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

var Module = {
  canvas: canvas,
  print: function(text) {
    console.log(text);
  },
  printErr: function(text) {
    console.warn(text);
  },
  // The data package reports "Downloading data... (loaded/total)".
  setStatus: function(text) {
    var progress = /\((\d+(?:\.\d+)?)\/(\d+(?:\.\d+)?)\)/.exec(text || '');
    if (progress) {
      loadingText.textContent = say('loading');
      showProgress(+progress[1], +progress[2]);
    } else if (text) {
      loadingText.textContent = text;
    }
  },
  onRuntimeInitialized: function() {
    // The last progress report may come before the last bytes.
    loadingBar.style.width = '100%';
    running = true;
    loading.hidden = true;
    canvas.focus();
  },
  onExit: function(status) {
    gameEnded(status === 0 ? say('ended') : say('ended-status') + status + ').');
  },
  onAbort: function(what) {
    loading.hidden = true;
    gameEnded(say('error') + what);
  },
  // Starting the browser's sound takes a while: it is done while the data
  // still downloads (it stays silent until the first click or key).
  preRun: [function() {
    try {
      var AudioContextClass = window.AudioContext || window.webkitAudioContext;
      if (AudioContextClass) Module['abyssor']['audioContext'] = new AudioContextClass();
    } catch (e) {
      // the game makes its own, or plays without sound
    }
  }],
  abyssor: {
    onCanvasOpen: function(width, height, fullscreen) {
      fitCanvas();
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

// The data both editions share, the edition's own (its scripts and pictures
// that hold words), then the game: in this order, each as soon as it is here.
['data-common.js', 'data-' + edition + '.js', 'abyssor.js'].forEach(function(name) {
  var script = document.createElement('script');
  script.src = name;
  script.async = false;
  document.body.appendChild(script);
});
