// The browser build draws exactly what the desktop game draws: one input
// script drives the desktop game (SDL's dummy driver, a virtual clock and
// web/tests/frame_probe.c loaded into it) and the game in headless Chromium
// (the script's events go into the page's event queue after the flips it
// names), and the hash of the 16-bit screen is compared at every flip, from
// the first to the script's "end": the intro, the menu, a new game, a level
// with shots, the panel and the creatures, and the game-over screen. The
// last screen is also compared pixel for pixel between the canvas and the
// desktop's picture of it, converted from 16 bits as a desktop window is.
'use strict';

const assert = require('assert');
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const lib = require('./lib.cjs');

const SCRIPT = process.env.ABYSSOR_INPUT || path.join(__dirname, 'frames_input.txt');
const DESKTOP_BUILD = process.env.ABYSSOR_DESKTOP_BUILD || path.resolve(__dirname, '../../build');
const PROBE = process.env.ABYSSOR_FRAME_PROBE || path.join(DESKTOP_BUILD, 'tests/libabyssor_frame_probe.so');
const WEB_SCRIPTS = process.env.ABYSSOR_WEB_SCRIPTS || path.resolve(lib.SITE, '../run/SCRIPT');
const MIN_FLIPS = 600;

function readScript(file) {
  const steps = [];
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    const words = line.trim().split(/\s+/);
    if (!words[0] || words[0].startsWith('#')) continue;
    const numbers = words.slice(2).map(Number);
    steps.push({flip: Number(words[0]), what: words[1], numbers});
  }
  return steps;
}

// The desktop game in a folder of its own with the very scripts the browser
// build packed, and the desktop build's pictures and sounds.
function desktopFlips() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'abyssor-desktop-'));
  try {
    fs.cpSync(WEB_SCRIPTS, path.join(work, 'SCRIPT'), {recursive: true});
    fs.symlinkSync(path.join(DESKTOP_BUILD, 'run/GFX'), path.join(work, 'GFX'));
    fs.symlinkSync(path.join(DESKTOP_BUILD, 'run/SFX'), path.join(work, 'SFX'));
    const frames = path.join(work, 'frames.txt');
    const lastFrame = path.join(work, 'last.bmp');
    const run = childProcess.spawnSync(path.join(DESKTOP_BUILD, 'run/abyssor'), [], {
      cwd: work,
      env: Object.assign({}, process.env, {
        SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy', LD_PRELOAD: PROBE,
        ABYSSOR_INPUT: SCRIPT, ABYSSOR_FRAMES: frames, ABYSSOR_LAST_FRAME: lastFrame
      }),
      timeout: 120000, encoding: 'utf8', maxBuffer: 64 * 1024 * 1024
    });
    assert.strictEqual(run.status, 0, 'the desktop game did not reach the end of the script: ' + run.stderr.slice(-500));
    const hashes = fs.readFileSync(frames, 'utf8').trim().split('\n').map((line) => line.split(' ')[1]);
    return {hashes, picture: readBmp24(fs.readFileSync(lastFrame))};
  } finally {
    fs.rmSync(work, {recursive: true, force: true});
  }
}

// A 24-bit BMP as SDL saves it, as rows of [r, g, b] from the top.
function readBmp24(bytes) {
  const offset = bytes.readUInt32LE(10), width = bytes.readInt32LE(18), height = bytes.readInt32LE(22);
  assert.strictEqual(bytes.readUInt16LE(28), 24, 'the desktop\'s last frame is not a 24-bit picture');
  const rowBytes = Math.ceil(width * 3 / 4) * 4;
  const rgb = Buffer.alloc(width * Math.abs(height) * 3);
  for (let y = 0; y < Math.abs(height); y++) {
    const from = offset + (height > 0 ? Math.abs(height) - 1 - y : y) * rowBytes;
    for (let x = 0; x < width; x++) {
      const at = (y * width + x) * 3;
      rgb[at] = bytes[from + x * 3 + 2];
      rgb[at + 1] = bytes[from + x * 3 + 1];
      rgb[at + 2] = bytes[from + x * 3];
    }
  }
  return {width, height: Math.abs(height), rgb};
}

// Runs in the page before the game: hashes every flip and feeds the
// script's events after the flips they follow.
function installScript(steps) {
  window.abyssorFlips = [];
  window.abyssorEnded = false;
  window.abyssorAllFlips = 0;
  let next = 0;
  const onFlip = (flip, hash) => {
    window.abyssorAllFlips = flip;
    if (window.abyssorEnded) return;
    window.abyssorFlips.push(hash);
    const page = window.Module['abyssor'];
    while (next < steps.length && steps[next].flip <= flip) {
      const step = steps[next++];
      const [a, b, c] = step.numbers;
      if (step.what === 'key') page.pushEvent(1, a, b, c);
      else if (step.what === 'motion') page.pushEvent(2, a, b, 0);
      else if (step.what === 'button') page.pushEvent(3, a, b, 0);
      else if (step.what === 'end') window.abyssorEnded = true;
    }
  };
  Object.defineProperty(window, 'Module', {
    configurable: true,
    set(module) {
      module.abyssor.onFlip = onFlip;
      delete window.Module;
      window.Module = module;
    }
  });
}

async function browserFlips(steps) {
  const server = await lib.serve();
  const {browser, close} = await lib.launch();
  try {
    const {page, log} = await lib.openGame(browser, server.url, {beforeLoad: installScript, beforeLoadArgument: steps});
    await lib.waitFor('the end of the input script in the browser', () => page.evaluate(() => window.abyssorEnded),
                      180000, 250).catch(async (error) => {
      const count = await page.evaluate(() => window.abyssorFlips.length);
      throw new Error(error.message + ' (' + count + ' flips seen)\n' + log.slice(-5).join('\n'));
    });
    // The game now waits for a key: the canvas shows its last flip once the
    // browser has painted.
    await lib.sleep(500);
    return await page.evaluate(() => {
      const canvas = document.getElementById('screen');
      const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
      const rgb = [];
      for (let i = 0; i < data.length; i += 4) rgb.push(data[i], data[i + 1], data[i + 2]);
      return {hashes: window.abyssorFlips, allFlips: window.abyssorAllFlips,
              picture: {width: canvas.width, height: canvas.height, rgb}};
    });
  } finally {
    await close();
    await server.close();
  }
}

async function main() {
  const steps = readScript(SCRIPT);
  const started = Date.now();
  const desktopRun = desktopFlips();
  const desktop = desktopRun.hashes;
  const desktopMs = Date.now() - started;
  const browserRun = await browserFlips(steps);
  const browser = browserRun.hashes;
  const browserMs = Date.now() - started - desktopMs;
  let same = 0;
  while (same < desktop.length && same < browser.length && desktop[same] === browser[same]) same++;
  console.log(`desktop ${desktop.length} flips (${desktopMs} ms), browser ${browser.length} flips (${browserMs} ms), ` +
              `${same} identical from the first`);
  assert.ok(desktop.length >= MIN_FLIPS, `the script covers only ${desktop.length} flips`);
  assert.strictEqual(same, desktop.length, `flip ${same + 1} differs: desktop ${desktop[same]}, browser ${browser[same]}`);
  assert.strictEqual(browser.length, desktop.length, 'the browser flipped a different number of times');
  assert.strictEqual(browserRun.allFlips, desktop.length, 'the browser flipped on after the end of the script');
  const shown = browserRun.picture, saved = desktopRun.picture;
  assert.deepStrictEqual([shown.width, shown.height], [saved.width, saved.height], 'the canvas has another size');
  let differing = 0, firstDifference = -1;
  for (let i = 0; i < saved.rgb.length; i += 3) {
    if (shown.rgb[i] !== saved.rgb[i] || shown.rgb[i + 1] !== saved.rgb[i + 1] || shown.rgb[i + 2] !== saved.rgb[i + 2]) {
      if (differing++ === 0) firstDifference = i / 3;
    }
  }
  const at = (i) => `(${i % saved.width}, ${Math.floor(i / saved.width)})`;
  console.log(`last screen: ${differing} of ${saved.width * saved.height} pixels differ between the canvas and the desktop`);
  assert.strictEqual(differing, 0, differing && `the canvas differs from the desktop first at ${at(firstDifference)}: ` +
                     `canvas ${shown.rgb.slice(firstDifference * 3, firstDifference * 3 + 3)}, ` +
                     `desktop ${Array.from(saved.rgb.slice(firstDifference * 3, firstDifference * 3 + 3))}`);
  console.log('1 passed, 0 failed');
}

main().catch((error) => {
  console.error(error.message || error);
  console.log('0 passed, 1 failed');
  process.exit(1);
});
