// The browser build played in headless Chromium as a player would, through
// the page's own keyboard and mouse: the download bar, the sound hint, the
// player's keys held until the levels are in, the menu's keys, a shell fired
// at the pointer (none beyond reach), a level code typed with Shift, full
// screen left by the browser's Escape, the name kept in the browser's
// storage across a reload, the way back after the end, the address's
// switches, and the edition the browser's languages or the address choose,
// whose data alone is downloaded.
'use strict';

const assert = require('assert');
const lib = require('./lib.cjs');

let passed = 0;
function check(name, condition, detail) {
  assert.ok(condition, name + (detail === undefined ? '' : ': ' + JSON.stringify(detail)));
  console.log('ok - ' + name);
  passed++;
}

// A rectangle [x, y, w, h] of the canvas, hashed.
const regionHash = (page, rect) => page.evaluate(([x, y, w, h]) => {
  const data = document.getElementById('screen').getContext('2d').getImageData(x, y, w, h).data;
  return data.reduce((hash, byte) => Math.imul(hash ^ byte, 16777619) >>> 0, 2166136261);
}, rect);

// The menu's first two items, from its script.
const readMenuItems = (page) => page.evaluate(() => ['b_new_game', 'b_kod'].map((key) =>
  new RegExp(key + '\\s+(\\d+),(\\d+),(\\d+),(\\d+)').exec(new TextDecoder('latin1')
    .decode(Module.FS.readFile('SCRIPT/menu.scr'))).slice(1).map(Number)));

// Where things are in a level, from the game's own data: the sea's middle,
// the gun's heat fill (the panel's picture and its place), the second
// level's code and the first level's score.
const readGeometry = (page) => page.evaluate(() => {
  const text = (name) => new TextDecoder('latin1').decode(Module.FS.readFile(name));
  const levels = text('SCRIPT/levels.scr').trim().split('\n').map((line) => line.split(/\s+/));
  const delo = text('SCRIPT/' + levels[0][0] + '/delo.scr');
  const centre = ['x', 'y'].map((axis) => +new RegExp('\\bstred_' + axis + '\\s+(-?\\d+)').exec(delo)[1]);
  const panel = text('SCRIPT/' + levels[0][0] + '/panel.scr').trim().split(/\s+/);
  const heat = Module.FS.readFile(panel[4]), view = new DataView(heat.buffer, heat.byteOffset);
  return {centre, secondCode: levels[1][1],
          heat: panel[18].split(',').map(Number).slice(0, 2).concat(view.getInt32(18, true), Math.abs(view.getInt32(22, true))),
          firstScore: +levels[0][2]};
});

// A left click at a point of the game's screen.
async function click(page, [x, y]) {
  const box = await (await page.$('#screen')).boundingBox();
  await page.mouse.click(box.x + (x + 0.5) * box.width / 640, box.y + (y + 0.5) * box.height / 480, {delay: 100});
}

// How many of a dozen looks at the heat fill over a second differ from `cold`.
async function heatChanges(page, heat, cold) {
  let changed = 0;
  for (let i = 0; i < 12; i++, await lib.sleep(80)) changed += (await regionHash(page, heat)) !== cold;
  return changed;
}

const firstFrame = (page) => lib.waitFor('the first frame', () => page.evaluate(() => Module.abyssor.firstFrameMs));
const tapAndWait = async (page, key, what, count, quietMs = 300) => {
  await lib.tap(page, key);
  return lib.waitQuiet(page, what, count + 1, quietMs);
};

// Past the level's announcement into the running level, which flips every frame.
async function startLevel(page, count) {
  await lib.waitQuiet(page, 'the announcement of the level', count + 2, 1400);
  await lib.tap(page, 'Space');
  const start = await page.evaluate(() => window.abyssorFlipCount);
  await lib.sleep(1000);
  check('the level runs', (await page.evaluate(() => window.abyssorFlipCount)) - start >= 15);
}

async function play({page, log, url}, releaseLevels, releaseStart) {
  // --- the download and the first picture: the start comes once the page has drawn (late on a busy machine) ---
  await page.evaluate(() => new Promise((done) => setTimeout(done, 20000) && requestAnimationFrame(() => requestAnimationFrame(done))));
  releaseStart();
  await firstFrame(page);
  const [bar, full, gone] = await page.evaluate(() => [window.abyssorBar,
    document.getElementById('loading-bar').style.width, document.getElementById('loading').hidden]);
  check('the download moved the bar, full and gone when the game starts',
        bar.some((width) => /^\d+\.\d%$/.test(width)) && full === '100%' && gone, [bar.slice(0, 5), full, gone]);
  const width = await page.$eval('#screen', (canvas) => canvas.style.width);
  check('the canvas is scaled by a whole number', /^(640|1280|1920)px$/.test(width), width);

  // --- sound waits for a gesture: headless Chromium starts it at once, so it is halted ---
  const audio = () => page.evaluate(() => Module.abyssor.audioContext.state + ',' +
                                          document.getElementById('sound-hint').hidden);
  await lib.waitFor('the sound', () => page.evaluate(() => !!Module.abyssor.audioContext), 5000);
  await page.evaluate(() => Module.abyssor.audioContext.suspend());
  await lib.waitFor('the sound hint', async () => (await audio()) === 'suspended,false', 5000);

  // --- the menu after the intro, which draws itself at an event: the player's input waits for the levels ---
  let count = await lib.waitQuiet(page, 'the end of the intro', 300, 800);
  const box = await (await page.$('#screen')).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await lib.tap(page, 'ArrowDown');
  await lib.sleep(500);
  const notice = await page.evaluate(() => [window.abyssorFlipCount, document.getElementById('loading').hidden,
                                            document.getElementById('loading-text').textContent]);
  check('before the levels are in, the player\'s input waits and the page says the levels are loading',
        String(notice) === String([count, false, 'Loading the levels…']), notice);
  releaseLevels();
  count = await lib.waitQuiet(page, 'the menu once the levels are in', count + 1, 300);
  await lib.waitFor('a key to start the sound and hide the hint', async () => (await audio()) === 'running,true', 5000);
  check('once they are in, the notice goes', await page.$eval('#loading', (overlay) => overlay.hidden));
  const menuItems = await readMenuItems(page);
  const items = async () => [await regionHash(page, menuItems[0]), await regionHash(page, menuItems[1])];
  const geometry = await readGeometry(page);
  const top = await items();
  count = await tapAndWait(page, 'ArrowDown', 'the menu after Down', count);
  const down = await items();
  check('Down moves the highlight from the first item to the level code', top.every((hash, i) => hash !== down[i]));
  count = await tapAndWait(page, 'ArrowUp', 'the menu after Up', count);
  check('Up brings the highlight back', String(await items()) === String(top));

  // --- a new game: a shell at the pointer, none beyond the reach ---
  await lib.tap(page, 'Enter');
  await startLevel(page, count);
  await click(page, [2, 2]);  // a corner no submarine on the ellipse reaches
  await lib.sleep(200);
  const cold = await regionHash(page, geometry.heat);
  check('a click beyond the reach fires nothing: the gun stays cold', (await heatChanges(page, geometry.heat, cold)) === 0);
  await click(page, geometry.centre);
  check('a click at the middle of the sea fires a shell: the gun heats', (await heatChanges(page, geometry.heat, cold)) > 0);

  // --- Escape ends the game; the game-over screen waits for a key ---
  await lib.tap(page, 'Escape');
  count = await lib.waitQuiet(page, 'the game-over screen', 0, 600);
  count = await tapAndWait(page, 'Space', 'the menu after a game without a record', count, 600);

  // --- the second level by its code (capitals, with Shift), left by leaving full screen ---
  count = await tapAndWait(page, 'ArrowDown', 'the highlight on the level code', count);
  await lib.tap(page, 'Enter');
  await lib.sleep(300);
  await page.keyboard.down('Shift');
  for (const letter of geometry.secondCode) await lib.tap(page, 'Key' + letter.toUpperCase(), 60);
  await page.keyboard.up('Shift');
  await lib.tap(page, 'Enter');
  await startLevel(page, count);
  await page.click('#fullscreen');
  await lib.waitFor('full screen', () => page.evaluate(() => document.fullscreenElement?.id === 'stage'), 5000);
  await page.evaluate(() => document.exitFullscreen());  // as the browser's own Escape does
  count = await lib.waitQuiet(page, 'the game-over screen after leaving full screen', 0, 600);

  // --- the name goes into the table and the browser's storage, and stays after a reload ---
  await lib.tap(page, 'Space');
  await lib.waitQuiet(page, 'the name entry', count + 1, 250);  // its cursor blinks every 500 ms
  for (const key of ['KeyW', 'KeyE', 'KeyB']) await lib.tap(page, key, 60);
  await lib.tap(page, 'Enter');
  await lib.waitFor('the table in the browser\'s storage', () => page.evaluate(() => window.abyssorTableSaved > 0), 10000);
  const readTable = () => page.evaluate(() => new TextDecoder().decode(Module.FS.readFile('SCRIPT/topten.scr')));
  const table = await readTable();
  check('the name is in the table with the score and the level reached by the code',
        table.includes(`web ${geometry.firstScore} 2\n`), table);
  await page.reload({waitUntil: 'load'});
  await firstFrame(page);
  check('after a reload the table still holds the name', (await readTable()) === table, await readTable());

  // --- Exit ends the program; Return plays again ---
  count = await lib.waitQuiet(page, 'the menu after the reload', 300, 800);
  count = await tapAndWait(page, 'ArrowUp', 'the highlight on Exit', count);  // round to the last item
  await lib.tap(page, 'Enter');
  await lib.waitFor('the end of the game', () => page.$eval('#ended', (overlay) => !overlay.hidden), 60000);
  await lib.tap(page, 'Enter');
  await lib.waitFor('Return after the end to start the game again',
                    () => page.evaluate(() => document.getElementById('ended').hidden && Module.abyssor.firstFrameMs > 0));

  // --- the address's switches: -FS offers full screen, taken at a click ---
  await page.goto(url + '?-FS&-EF1', {waitUntil: 'load'});
  await firstFrame(page);
  check('the switches reach the game', String(await page.evaluate(() => Module.arguments)) === '-FS,-EF1');
  await lib.waitFor('the full-screen offer', () => page.$eval('#go-fullscreen', (offer) => !offer.hidden), 5000);
  await page.click('#go-fullscreen-button');
  await lib.waitFor('full screen from -FS', () => page.evaluate(() => !!document.fullscreenElement), 5000);

  // --- the edition: the page's language, the credits' words, the data packages fetched ---
  const edition = async () => {
    await lib.waitFor('the levels', () => page.evaluate(() => Module.abyssor.inputHeld === false));
    return page.evaluate(() => [document.documentElement.lang,
      new TextDecoder('latin1').decode(Module.FS.readFile('SCRIPT/in.scr')).includes('outro Thanks!'),
      performance.getEntriesByType('resource').map((entry) => entry.name.replace(/.*\//, ''))
        .filter((name) => name.endsWith('.data.gz')).sort().join(' ')]);
  };
  const english = ['en', true, 'levels-en.data.gz levels.data.gz start-en.data.gz'];
  const czech = ['cs', false, 'levels-cs.data.gz levels.data.gz start-cs.data.gz'];
  check('an English browser gets the English edition, and its data alone', String(await edition()) === String(english),
        await edition());
  await page.evaluateOnNewDocument(() => Object.defineProperty(navigator, 'languages', {get: () => ['sk-SK', 'en-US']}));
  await page.goto(url, {waitUntil: 'load'});
  check('a Slovak browser gets the Czech edition, and its data alone', String(await edition()) === String(czech),
        await edition());
  await page.goto(url + '?lang=en', {waitUntil: 'load'});
  check('?lang=en in the address names the English edition', String(await edition()) === String(english), await edition());

  const errors = log.filter((line) => line.startsWith('PAGE ERROR'));
  check('no error on the page', errors.length === 0, errors);
}

// The start comes as over a network once the page has drawn, so that the bar moves; the levels when the test lets them.
const starts = ['/start-cs.data.gz', '/start-en.data.gz'], releaseStarts = starts.map(lib.holdBack);
lib.slowDown(...starts);
const releaseLevels = lib.holdBack('/levels.data.gz');
lib.withGame(lib.hookGame, [], (session) => play(session, releaseLevels, () => releaseStarts.forEach((go) => go()))).then(() => console.log(`${passed} passed, 0 failed`), (error) => {
  console.error('not ok - ' + (error.message || error));
  console.log(`${passed} passed, 1 failed`);
  process.exit(1);
});
