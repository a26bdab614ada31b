// The browser build played in headless Chromium as a player would, through
// the page's own keyboard and mouse events: the download, the sound hint, the
// menu, a new game, a shell fired at the pointer (and none beyond reach),
// Escape, a game started by its level code that ends by leaving full screen,
// the name typed into the high scores, the table after a reload, Exit and
// the way back, and the full-screen switch of the address.
'use strict';

const assert = require('assert');
const lib = require('./lib.cjs');

const checks = [];
function check(name, condition, detail) {
  checks.push(name);
  assert.ok(condition, name + (detail !== undefined ? ': ' + JSON.stringify(detail) : ''));
  console.log('ok - ' + name);
}

const flips = lib.flips;
const waitQuiet = lib.waitQuiet;

// A rectangle of the canvas, hashed.
function regionHash(page, [x, y, w, h]) {
  return page.evaluate(([x, y, w, h]) => {
    const data = document.getElementById('screen').getContext('2d').getImageData(x, y, w, h).data;
    let hash = 2166136261;
    for (let i = 0; i < data.length; i++) hash = Math.imul(hash ^ data[i], 16777619) >>> 0;
    return hash;
  }, [x, y, w, h]);
}

// What the page needs to know of the data set, read from the game's files.
function readGeometry(page) {
  return page.evaluate(() => {
    const text = (name) => new TextDecoder('latin1').decode(Module.FS.readFile(name));
    const number = (script, key) => +new RegExp('\\b' + key + '\\s+(-?\\d+)').exec(script)[1];
    const rect = (script, key) => new RegExp(key + '\\s+(\\d+),(\\d+),(\\d+),(\\d+)').exec(script).slice(1).map(Number);
    const menu = text('SCRIPT/menu.scr');
    const level = text('SCRIPT/levels.scr').trim().split('\n')[0].split(/\s+/)[0];
    const delo = text('SCRIPT/' + level + '/delo.scr');
    const panel = text('SCRIPT/' + level + '/panel.scr').trim().split(/\s+/);
    const heatPicture = Module.FS.readFile(panel[4]);
    const heatAt = panel[13 + 5].split(',').map(Number);
    const view = new DataView(heatPicture.buffer, heatPicture.byteOffset);
    const secondLevel = text('SCRIPT/levels.scr').trim().split('\n')[1].split(/\s+/);
    return {
      newGame: rect(menu, 'b_new_game'), levelCode: rect(menu, 'b_kod'),
      centre: [number(delo, 'stred_x'), number(delo, 'stred_y')],
      heat: [heatAt[0], heatAt[1], view.getInt32(18, true), Math.abs(view.getInt32(22, true))],
      secondCode: secondLevel[1], firstScore: +text('SCRIPT/levels.scr').trim().split('\n')[0].split(/\s+/)[2]
    };
  });
}

// A point of the game's screen, clicked or pointed at through the page.
async function screenPoint(page, x, y) {
  const box = await (await page.$('#screen')).boundingBox();
  return [box.x + (x + 0.5) * box.width / 640, box.y + (y + 0.5) * box.height / 480];
}

async function click(page, x, y, button = 'left') {
  const [px, py] = await screenPoint(page, x, y);
  await page.mouse.move(px, py);
  await lib.sleep(60);
  await page.mouse.down({button});
  await lib.sleep(100);
  await page.mouse.up({button});
}

// The heat fill's pictures over about a second: how many differ from the
// cold gun's.
async function heatChanges(page, heat, cold) {
  let changed = 0;
  for (let i = 0; i < 12; i++) {
    if ((await regionHash(page, heat)) !== cold) changed++;
    await lib.sleep(80);
  }
  return changed;
}

async function waitForMenu(page) {
  // The intro's last slide ends in the menu, which then waits.
  return waitQuiet(page, 'the menu after the intro', 300, 800);
}

async function startLevel(page, flipsBefore) {
  await waitQuiet(page, 'the announcement of the level', flipsBefore + 2, 1400);
  await lib.tap(page, 'Space');
  const start = await flips(page);
  await lib.sleep(1000);
  const running = (await flips(page)) - start;
  check('the level runs: the game flips every frame', running >= 15, running);
}

async function main() {
  const server = await lib.serve();
  const {browser, close} = await lib.launch();
  try {
    // --- the download and the first picture ---
    const {page, log} = await lib.openGame(browser, server.url, {beforeLoad: lib.installCounters,
                                                            beforeLoadArgument: {table: true, progress: true}});
    await lib.waitFor('the first frame', () => page.evaluate(() => Module.abyssor.firstFrameMs), 30000);
    const progress = await page.evaluate(() => window.abyssorProgress);
    const reports = progress.filter(([text]) => /^Downloading data\.\.\. \(\d+\/\d+\)$/.test(text));
    check('the download reported its progress to the bar', reports.length > 0 && progress.some(([, width]) => /^\d+\.\d%$/.test(width)),
          progress.slice(0, 5));
    check('the bar is full when the game starts', (await page.$eval('#loading-bar', (bar) => bar.style.width)) === '100%');
    check('the loading overlay is gone', await page.$eval('#loading', (overlay) => overlay.hidden));
    const width = await page.$eval('#screen', (canvas) => canvas.style.width);
    check('the canvas is scaled by a whole number', /^(640|1280|1920)px$/.test(width), width);
    const geometry = await readGeometry(page);

    // --- sound waits for a gesture ---
    const audio = () => page.evaluate(() => [Module.abyssor.audioContext.state,
                                             document.getElementById('sound-hint').hidden]);
    const first = await audio();
    check('the sound hint shows exactly while the sound waits', (first[0] === 'running') === first[1], first);
    // Headless Chromium lets sound start at once; a browser that waits for a
    // gesture is played by halting the sound.
    await page.evaluate(() => Module.abyssor.audioContext.suspend());
    await lib.waitFor('the sound hint', async () => String(await audio()) === 'suspended,false', 5000);

    // --- the menu: Down and Up move the highlight ---
    let count = await waitForMenu(page);
    const newGameLit = await regionHash(page, geometry.newGame);
    const levelCodeDark = await regionHash(page, geometry.levelCode);
    await lib.tap(page, 'ArrowDown');
    check('a key starts the sound and the hint goes', String(await lib.waitFor('sound', async () => {
      const state = await audio();
      return state[0] === 'running' && state;
    }, 5000)) === 'running,true');
    count = await waitQuiet(page, 'the menu after Down', count + 1, 300);
    check('Down moves the highlight off the first item', (await regionHash(page, geometry.newGame)) !== newGameLit);
    check('Down moves the highlight onto the level code', (await regionHash(page, geometry.levelCode)) !== levelCodeDark);
    await lib.tap(page, 'ArrowUp');
    count = await waitQuiet(page, 'the menu after Up', count + 1, 300);
    check('Up brings the highlight back', (await regionHash(page, geometry.newGame)) === newGameLit &&
          (await regionHash(page, geometry.levelCode)) === levelCodeDark);

    // --- a new game: shells at the pointer, none beyond the reach ---
    await lib.tap(page, 'Enter');
    await startLevel(page, count);
    await click(page, 2, 2);  // a corner no submarine on the ellipse reaches
    await lib.sleep(200);
    const cold = await regionHash(page, geometry.heat);
    check('a click beyond the reach fires nothing: the gun stays cold', (await heatChanges(page, geometry.heat, cold)) === 0);
    await click(page, geometry.centre[0], geometry.centre[1]);
    const warm = await heatChanges(page, geometry.heat, cold);
    check('a click at the middle of the sea fires a shell: the gun heats', warm > 0, warm);
    await lib.tap(page, 'Tab');
    await lib.tap(page, 'ArrowRight', 400);

    // --- Escape ends the game: the game-over screen waits for a key ---
    await lib.tap(page, 'Escape');
    count = await waitQuiet(page, 'the game-over screen', 0, 600);
    await lib.tap(page, 'Space');
    count = await waitQuiet(page, 'the menu after a game without a record', count + 1, 600);

    // --- a game at the second level by its code, left by leaving full screen ---
    await lib.tap(page, 'ArrowDown');
    count = await waitQuiet(page, 'the highlight on the level code', count + 1, 300);
    await lib.tap(page, 'Enter');
    await lib.sleep(300);
    // Case counts in a code: capitals with Shift held.
    await page.keyboard.down('Shift');
    for (const letter of geometry.secondCode) await lib.tap(page, 'Key' + letter.toUpperCase(), 60);
    await page.keyboard.up('Shift');
    await lib.tap(page, 'Enter');
    await startLevel(page, count);
    await page.click('#fullscreen');
    await lib.waitFor('full screen', () => page.evaluate(() => !!document.fullscreenElement), 5000);
    check('the button puts the game in full screen', await page.evaluate(() => document.fullscreenElement.id === 'stage'));
    await page.evaluate(() => document.exitFullscreen());  // as the browser's own Escape does
    count = await waitQuiet(page, 'the game-over screen after leaving full screen', 0, 600);
    check('leaving full screen with the browser\'s Escape ends the game too',
          !(await page.evaluate(() => !!document.fullscreenElement)));

    // --- the name goes into the table and into the browser's storage ---
    await lib.tap(page, 'Space');
    // The name entry's cursor blinks every 500 ms, so it is quiet for less.
    await waitQuiet(page, 'the name entry', count + 1, 250);
    for (const key of ['KeyW', 'KeyE', 'KeyB']) await lib.tap(page, key, 60);
    await lib.tap(page, 'Enter');
    await lib.waitFor('the table in the browser\'s storage', () => page.evaluate(() => window.abyssorTableSaved > 0), 10000);
    const table = await page.evaluate(() => new TextDecoder().decode(Module.FS.readFile('SCRIPT/topten.scr')));
    check('the name is in the table as soon as it is entered', table.includes(`web ${geometry.firstScore} 2\n`), table);

    // --- a reload keeps it ---
    await page.reload({waitUntil: 'load'});
    await lib.waitFor('the first frame after the reload', () => page.evaluate(() => Module.abyssor.firstFrameMs), 30000);
    const kept = await page.evaluate(() => new TextDecoder().decode(Module.FS.readFile('SCRIPT/topten.scr')));
    check('after a reload the table still holds the name', kept === table, kept);

    // --- Exit: the credits, the end, and playing again ---
    count = await waitForMenu(page);
    await lib.tap(page, 'ArrowUp');  // round to the last item
    count = await waitQuiet(page, 'the highlight on Exit', count + 1, 300);
    await lib.tap(page, 'Enter');
    await lib.waitFor('the end of the game', () => page.$eval('#ended', (overlay) => !overlay.hidden), 60000);
    const report = await page.evaluate(() => new TextDecoder().decode(Module.FS.readFile('fps.txt')));
    check('the game wrote its frame-rate report on the way out', /fps : \d/.test(report), report);
    const credits = (await flips(page)) - count;
    check('the credits rolled before the end', credits > 100, credits);
    await lib.tap(page, 'Enter');
    await lib.waitFor('the game again', () => page.evaluate(() => !!(window.Module && Module.abyssor.firstFrameMs)), 30000);
    check('Return after the end starts the game again', await page.$eval('#ended', (overlay) => overlay.hidden));

    // --- the address's switches: -FS asks for full screen at the first click ---
    await page.goto(server.url + '?-FS&-EF1', {waitUntil: 'load'});
    await lib.waitFor('the first frame with -FS', () => page.evaluate(() => Module.abyssor.firstFrameMs), 30000);
    check('the switches reach the game', String(await page.evaluate(() => Module.arguments)) === '-FS,-EF1');
    await lib.waitFor('the full-screen offer', () => page.$eval('#go-fullscreen', (offer) => !offer.hidden), 5000);
    await page.click('#go-fullscreen-button');
    await lib.waitFor('full screen from -FS', () => page.evaluate(() => !!document.fullscreenElement), 5000);
    check('-FS plays in full screen after a click', true);

    const errors = log.filter((line) => line.startsWith('PAGE ERROR'));
    check('no error on the page', errors.length === 0, errors);
    console.log(`${checks.length} passed, 0 failed`);
  } finally {
    await close();
    await server.close();
  }
}

main().catch((error) => {
  console.error('not ok - ' + (error.message || error));
  console.log(`${checks.length} passed, 1 failed`);
  process.exit(1);
});
