// Measures the browser build in headless Chromium (run by hand, not a test):
// the time from the page's start to the game's first picture on a first
// visit and on a reload, and the frames per second of the first level by the
// game's own report (fps.txt, written on the way out through "Konec") and
// how long the program runs a frame between its sleeps.
//
//   node web/measure.cjs [seconds in the level, default 30]
'use strict';

const lib = require('./tests/lib.cjs');

const seconds = Number(process.argv[2] || 30);

// The browser may take long over a first visit on a busy machine.
const waitQuiet = (page, what, after, quietMs) => lib.waitQuiet(page, what, after, quietMs, 120000);

async function measure({page}) {
  const firstFrame = () => lib.waitFor('the first frame', () => page.evaluate(() => Module.abyssor.firstFrameMs), 60000);
  const cold = await firstFrame();
  await page.reload({waitUntil: 'load'});
  const warm = await firstFrame();
  console.log(`first frame: ${cold.toFixed(0)} ms on a first visit, ${warm.toFixed(0)} ms on a reload`);

  let count = await waitQuiet(page, 'the menu', 300, 800);
  await lib.tap(page, 'Enter');
  count = await waitQuiet(page, 'the announcement of the level', count + 2, 1400);
  await lib.tap(page, 'Space');
  await lib.sleep(1000);
  const before = await page.evaluate(() => [window.abyssorFlipCount, Module.abyssor.awakeMs]);
  await lib.sleep(seconds * 1000);
  const after = await page.evaluate(() => [window.abyssorFlipCount, Module.abyssor.awakeMs]);
  const frames = after[0] - before[0];
  console.log(`in the level: ${frames} frames, the program ran ${((after[1] - before[1]) / frames).toFixed(2)} ms ` +
              'a frame between its sleeps');
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
  console.log(report.trim());
}

lib.withGame(lib.hookGame, [], measure).catch((error) => {
  console.error(error.message || error);
  process.exit(1);
});
