// The page around the game: the download progress, the canvas scaled to the
// window, full screen, the sound hint and the way back after the game ends.
// The game itself (abyssor.js) reads its switches from the address.
'use strict';

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
  loadingDetail.textContent = (loaded / 1048576).toFixed(1) + ' of ' + (total / 1048576).toFixed(1) + ' MB';
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
  fullscreenButton.textContent = isFullscreen() ? 'Leave full screen' : 'Full screen';
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
      loadingText.textContent = 'Loading the game…';
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
    gameEnded(status === 0 ? 'The game has ended.' : 'The game has ended (status ' + status + ').');
  },
  onAbort: function(what) {
    loading.hidden = true;
    gameEnded('The game stopped with an error: ' + what);
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

fitCanvas();
