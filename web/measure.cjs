// Measures the browser build in headless Chromium (run by hand, not a test;
// docs/browser.md has the figures):
// - the time from the page's start to the game's first picture on a first
//   visit, on a reload once everything is in and on a reload while the
//   levels still download;
// - the floor of a frame in this browser: the 640 x 480 16-bit screen (the
//   game's own, read back from the canvas) turned into RGBA through a
//   65,536-entry table and put on a canvas, in the page, between the frames
//   measured;
// - the level frame: how long the program runs between its sleeps in the
//   first level, per frame, against the floor;
// - the worst frame: the same with every pool full (web/worst_frame.cpp,
//   built here, in a page of its own);
// - the frames per second of the level by the game's own report (fps.txt).
//
//   node web/measure.cjs [seconds in the level, default 30]
'use strict';

const childProcess = require('child_process');
const os = require('os');
const path = require('path');
const lib = require('./tests/lib.cjs');

const seconds = Number(process.argv[2] || 30);
const FLOOR_EVERY = 'every 100 ms while the game plays';
const BUILD = path.resolve(lib.SITE, '..');

// The browser may take long over a first visit on a busy machine.
const waitQuiet = (page, what, after, quietMs) => lib.waitQuiet(page, what, after, quietMs, 120000);

// Runs in the page before the game: counts the flips without hashing them
// (abyssorFlipCount), and for the worst frame sums the time spent filling
// the pools between frames (abyssorFillMs) and notes where the timed frames
// begin and end (abyssorTimed: flips and program time at each).
function countFlips() {
  Object.assign(window, {abyssorFlipCount: 0, abyssorFillMs: 0, abyssorTimed: []});
  let fillStart = 0;
  Object.defineProperty(window, 'Module', {configurable: true, set(module) {
    Object.assign(module.abyssor, {
      onFlipCount: (flip) => window.abyssorFlipCount = flip,
      onFillStart: () => fillStart = performance.now(),
      onFillEnd: () => window.abyssorFillMs += performance.now() - fillStart,
      onTimedFrames: () => window.abyssorTimed.push([window.abyssorFlipCount, module.abyssor.awakeMs || 0,
                                                     window.abyssorFillMs])
    });
    delete window.Module;
    window.Module = module;
  }});
}

// The floor, in the page: the game's screen as it stands, in 16 bits, turned
// into RGBA through a table and put on a canvas of the same size over the
// game's, every 100 ms while the game plays, so that both see the same load
// on the machine. floorStart begins; floorEnd stops and gives the mean time
// of one (ms), leaving out the first rounds, which warm the page up.
function floorStart() {
  const game = document.getElementById('screen');
  const [width, height] = [game.width, game.height];
  const shown = game.getContext('2d').getImageData(0, 0, width, height).data;
  const screen = new Uint16Array(width * height);
  for (let i = 0; i < screen.length; i++)
    screen[i] = ((shown[4 * i] >> 3) << 11) | ((shown[4 * i + 1] >> 2) << 5) | (shown[4 * i + 2] >> 3);
  const table = new Uint32Array(65536);
  for (let value = 0; value < 65536; value++) {
    const [r, g, b] = [(value >> 11) << 3, ((value >> 5) & 63) << 2, (value & 31) << 3];
    table[value] = (0xFF000000 | (b << 16) | (g << 8) | r) >>> 0;
  }
  const canvas = document.createElement('canvas');
  Object.assign(canvas, {width, height});
  Object.assign(canvas.style, {position: 'fixed', left: '0', top: '0'});
  document.body.appendChild(canvas);
  const context = canvas.getContext('2d', {alpha: false});
  const image = context.createImageData(width, height);
  const rgba = new Uint32Array(image.data.buffer);
  const floor = window.abyssorFloor = {rounds: -10, totalMs: 0, canvas};
  floor.timer = setInterval(() => {
    const start = performance.now();
    for (let i = 0; i < rgba.length; i++) rgba[i] = table[screen[i]];
    context.putImageData(image, 0, 0);
    if (floor.rounds++ >= 0) floor.totalMs += performance.now() - start;
  }, 100);
}

function floorEnd() {
  const floor = window.abyssorFloor;
  clearInterval(floor.timer);
  floor.canvas.remove();
  return floor.totalMs / floor.rounds;
}

const ms = (value) => value.toFixed(2) + ' ms';
const ratio = (value, floorMs) => (value / floorMs).toFixed(2);

async function measureGame({page}) {
  const firstFrame = () => lib.waitFor('the first frame', () => page.evaluate(() => Module.abyssor.firstFrameMs),
                                       60000);
  const levelsIn = () => lib.waitFor('the levels', () => page.evaluate(() => Module.abyssor.inputHeld === false),
                                    120000);
  const cold = await firstFrame();
  // A reload of a page that has everything, as a player's who has played,
  // and one while the levels still come (the old page is torn down midway).
  await levelsIn();
  await page.reload({waitUntil: 'load'});
  const warm = await firstFrame();
  await page.reload({waitUntil: 'load'});
  const midway = await firstFrame();
  await levelsIn();
  console.log(`first picture: ${cold.toFixed(0)} ms on a first visit, ${warm.toFixed(0)} ms on a reload ` +
              `(goals 1000 and 300 ms), ${midway.toFixed(0)} ms on a reload while the levels still download`);

  let count = await waitQuiet(page, 'the menu', 300, 800);
  await lib.tap(page, 'Enter');
  count = await waitQuiet(page, 'the announcement of the level', count + 2, 1400);
  await lib.tap(page, 'Space');
  await lib.sleep(1000);
  await page.evaluate(floorStart);
  const before = await page.evaluate(() => [window.abyssorFlipCount, Module.abyssor.awakeMs]);
  await lib.sleep(seconds * 1000);
  const after = await page.evaluate(() => [window.abyssorFlipCount, Module.abyssor.awakeMs]);
  const floorMs = await page.evaluate(floorEnd);
  const frames = after[0] - before[0], frameMs = (after[1] - before[1]) / frames;
  console.log(`floor (the screen through the table onto a canvas, ${FLOOR_EVERY}): ${ms(floorMs)}`);
  console.log(`level frame: ${ms(frameMs)} between sleeps (${frames} frames), ${ratio(frameMs, floorMs)} times ` +
              'the floor (goal at most 2)');
  await lib.tap(page, 'Escape');
  count = await waitQuiet(page, 'the game-over screen', 0, 600);

  await lib.tap(page, 'Space');
  // Nothing was shot: no name to enter, the menu comes back.
  count = await waitQuiet(page, 'the menu', count + 1, 600);
  await lib.tap(page, 'ArrowUp');
  await waitQuiet(page, 'Konec', count + 1, 300);
  await lib.tap(page, 'Enter');
  await lib.waitFor('the end of the game', () => page.$eval('#ended', (overlay) => !overlay.hidden), 60000);
  const report = await page.evaluate(() => new TextDecoder().decode(Module.FS.readFile('fps.txt')));
  console.log(report.trim().split('\n').filter((line) => /\d/.test(line)).join(', '));
}

async function measureWorstFrame({page}) {
  await lib.waitFor('the timed frames', () => page.evaluate(() => window.abyssorTimed.length === 1), 180000);
  await page.evaluate(floorStart);
  await lib.waitFor('the end of the timed frames', () => page.evaluate(() => window.abyssorTimed.length === 2),
                    180000);
  const floorMs = await page.evaluate(floorEnd);
  const [[flips0, awake0, fill0], [flips1, awake1, fill1]] = await page.evaluate(() => window.abyssorTimed);
  const frames = flips1 - flips0, frameMs = (awake1 - awake0 - (fill1 - fill0)) / frames;
  console.log(`worst frame (every pool full): ${ms(frameMs)} between sleeps (${frames} frames), ` +
              `${ratio(frameMs, floorMs)} times the floor, ${ms(floorMs)} in its page (goal at most 8)`);
}

async function main() {
  console.log(`load average ${os.loadavg().map((load) => load.toFixed(2)).join(', ')} on ${os.cpus().length} ` +
              `cores (${os.cpus()[0].model})`);
  // Emscripten finds its JavaScript tools among Debian's node modules.
  const build = childProcess.spawnSync('cmake', ['--build', BUILD, '--target', 'abyssor_worst_frame'],
                                       {encoding: 'utf8', env: {...process.env, NODE_PATH: '/usr/share/nodejs'}});
  if (build.status !== 0) throw new Error('The worst frame could not be built:\n' + build.stdout + build.stderr);
  await lib.withGame(countFlips, [], measureGame);
  await lib.withGame(countFlips, [], measureWorstFrame, '', path.join(BUILD, 'measure'));
  console.log(`load average ${os.loadavg().map((load) => load.toFixed(2)).join(', ')}`);
}

main().catch((error) => {
  console.error(error.message || error);
  process.exit(1);
});
