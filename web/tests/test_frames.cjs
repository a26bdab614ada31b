// The browser build draws exactly what the desktop game draws. One input
// script (frames_input.txt) drives the desktop game on SDL's dummy driver with
// frame_probe.c loaded into it, and the game in headless Chromium. The 16-bit
// screen's hash must agree at every flip up to the script's "end" (the intro,
// the menu, a level with shots, creatures and the panel, the game-over screen),
// and the canvas's last picture with the desktop's converted for a window.
// Both play the Czech edition.
'use strict';

const assert = require('assert');
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const lib = require('./lib.cjs');

const DESKTOP = process.env.ABYSSOR_DESKTOP_BUILD || path.resolve(__dirname, '../../build');
const PROBE = process.env.ABYSSOR_FRAME_PROBE || path.join(DESKTOP, 'tests/libabyssor_frame_probe.so');
const SCRIPTS = process.env.ABYSSOR_WEB_SCRIPTS || path.resolve(lib.SITE, '../run/SCRIPT');

// The desktop game in a folder of its own with the very scripts the browser
// build packed: its flips' hashes and its last screen as a BMP.
function desktopRun(steps) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'abyssor-desktop-'));
  try {
    fs.cpSync(SCRIPTS, path.join(work, 'SCRIPT'), {recursive: true});
    for (const media of ['GFX', 'SFX']) fs.symlinkSync(path.join(DESKTOP, 'run', media), path.join(work, media));
    const env = {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy', LD_PRELOAD: PROBE,
                 ABYSSOR_STEPS: steps.flat().join(' '), ABYSSOR_FRAMES: path.join(work, 'frames'),
                 ABYSSOR_LAST_FRAME: path.join(work, 'last')};
    const run = childProcess.spawnSync(path.join(DESKTOP, 'run/abyssor'), [], {cwd: work, env, timeout: 120000});
    assert.strictEqual(run.status, 0, 'the desktop game did not reach the end of the script: ' + run.stderr.slice(-500));
    const hashes = fs.readFileSync(env.ABYSSOR_FRAMES, 'latin1').trim().split('\n').map((line) => line.split(' ')[1]);
    return {hashes, bmp: fs.readFileSync(env.ABYSSOR_LAST_FRAME)};
  } finally {
    fs.rmSync(work, {recursive: true, force: true});
  }
}

const browserRun = (steps) => lib.withGame(lib.hookGame, steps, async ({page, log}) => {
  await lib.waitFor('the end of the input script in the browser', () => page.evaluate(() => window.abyssorEnded), 180000)
    .catch((error) => { throw new Error(error.message + '\n' + log.slice(-5).join('\n')); });
  await lib.sleep(500);  // the game waits for a key; the browser paints its last flip
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const rgba = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    return {hashes: window.abyssorHashes, flips: window.abyssorFlipCount, size: [canvas.width, canvas.height],
            rgba: Array.from(rgba)};
  });
}, '?lang=cs');

async function main() {
  // Steps [flip, kind, a, b, c, ms] in the page's numbers for the events: 1 key, 2 motion, 3 button, 0 the end.
  const kinds = {key: 1, motion: 2, button: 3, end: 0};
  const steps = fs.readFileSync(path.join(__dirname, 'frames_input.txt'), 'utf8').split('\n')
    .filter((line) => /^\d/.test(line)).map((line) => line.trim().split(/\s+/))
    .map(([when, what, ...numbers]) => [+when.split('+')[0], kinds[what], ...numbers.map(Number), 0, 0, 0].slice(0, 5)
      .concat(+(when.split('+')[1] || 0)));
  const desktop = desktopRun(steps), browser = await browserRun(steps);
  let same = 0;
  while (same < desktop.hashes.length && desktop.hashes[same] === browser.hashes[same]) same++;
  console.log(`desktop ${desktop.hashes.length} flips, browser ${browser.hashes.length}, ${same} identical from the first`);
  assert.ok(desktop.hashes.length >= 600, `the script covers only ${desktop.hashes.length} flips`);
  assert.strictEqual(same, desktop.hashes.length, `flip ${same + 1} differs`);
  assert.strictEqual(browser.flips, desktop.hashes.length, 'the browser flipped another number of times');
  // SDL saves a BMP bottom up in B, G, R; 640 pixels need no padding at the rows' ends.
  const bmp = desktop.bmp, [width, height] = [bmp.readInt32LE(18), bmp.readInt32LE(22)];
  assert.deepStrictEqual([...browser.size, bmp.readUInt16LE(28)], [width, height, 24], 'the canvas has another size');
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const at = bmp.readUInt32LE(10) + ((height - 1 - y) * width + x) * 3, on = (y * width + x) * 4;
      const [shown, saved] = [String(browser.rgba.slice(on, on + 3)), String([bmp[at + 2], bmp[at + 1], bmp[at]])];
      assert.strictEqual(shown, saved, `the last picture differs first at (${x}, ${y}): canvas ${shown}, desktop ${saved}`);
    }
  }
  console.log('1 passed, 0 failed');
}

main().catch((error) => {
  console.error(error.message || error);
  console.log('0 passed, 1 failed');
  process.exit(1);
});
