// The canvas shows exactly the screen of the last flip whenever the program
// sleeps in a level, where every flip is of the whole screen, though only
// the pixels that changed are converted and repainted: at moments between
// the frames of a level with the gun firing, the canvas read back into the
// screen's 16 bits hashes as the game hashed its last flip.
'use strict';

const assert = require('assert');
const lib = require('./lib.cjs');

const CHECKS = 40;

// Runs in the page: the canvas in the screen's 5-6-5 bits, hashed as the
// game hashes its screen (64-bit FNV-1a over the bytes, little end first),
// and the hash of the last flip.
const canvasAndFlip = () => {
  const rgba = document.getElementById('screen').getContext('2d').getImageData(0, 0, 640, 480).data;
  let hash = 14695981039346656037n;
  for (let i = 0; i < rgba.length; i += 4) {
    const pixel = ((rgba[i] >> 3) << 11) | ((rgba[i + 1] >> 2) << 5) | (rgba[i + 2] >> 3);
    for (const byte of [pixel & 0xFF, pixel >> 8]) hash = BigInt.asUintN(64, (hash ^ BigInt(byte)) * 1099511628211n);
  }
  return [hash.toString(16).padStart(16, '0'), window.abyssorHashes[window.abyssorFlipCount - 1],
          window.abyssorFlipCount];
};

async function play({page}) {
  await lib.waitFor('the first frame', () => page.evaluate(() => Module.abyssor.firstFrameMs), 60000);
  const count = await lib.waitQuiet(page, 'the menu', 300, 800);
  await lib.tap(page, 'Enter');
  await lib.waitQuiet(page, 'the announcement of the level', count + 2, 1400);
  await lib.tap(page, 'Space');
  await lib.sleep(500);
  const box = await (await page.$('#screen')).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height * 0.55);
  await page.mouse.down();
  await page.keyboard.down('ArrowRight');
  const flips = new Set();
  for (let i = 0; i < CHECKS; i++) {
    await page.mouse.move(box.x + box.width * (0.3 + 0.4 * (i % 5) / 4), box.y + box.height * 0.5);
    await lib.sleep(40 + 37 * (i % 4));
    const [canvas, flip, number] = await page.evaluate(canvasAndFlip);
    assert.strictEqual(canvas, flip, `the canvas is not the screen of flip ${number}`);
    flips.add(number);
  }
  await page.mouse.up();
  assert.ok(flips.size >= CHECKS / 2, `the level did not run: ${flips.size} flips seen`);
  console.log(`ok - the canvas is the screen of the last flip at ${CHECKS} moments (${flips.size} flips)`);
}

lib.withGame(lib.hookGame, [], play).then(() => console.log('1 passed, 0 failed'), (error) => {
  console.error('not ok - ' + (error.message || error));
  console.log('0 passed, 1 failed');
  process.exit(1);
});
