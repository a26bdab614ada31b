// What the browser tests (and web/measure.cjs) share: the site served on
// 127.0.0.1 to Debian's Chromium, driven headless by puppeteer-core, and
// waiting on the game's flips.
'use strict';

const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const BUILD = path.resolve(__dirname, '../../build-web');
const puppeteer = require(path.join(process.env.ABYSSOR_NODE_MODULES || path.join(BUILD, 'node/node_modules'),
                                    'puppeteer-core'));
const SITE = process.env.ABYSSOR_SITE || path.join(BUILD, 'site');
const TYPES = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
               '.wasm': 'application/wasm'};

// Files the server holds back until released (holdBack), and files it sends
// in pieces 40 ms apart, as a slow network would (slowDown), by name.
const heldBack = new Map(), slow = new Set();
const slowDown = (...names) => names.forEach((name) => slow.add(name));

// Holds back a file of the site (e.g. '/levels.data') until the function
// returned is called.
function holdBack(name) {
  let release;
  heldBack.set(name, new Promise((done) => release = done));
  return () => heldBack.delete(name) && release();
}

// Serves the site (or another folder), starts Chromium and opens the game in
// it (the address followed by `query`, e.g. '?lang=cs'), with
// `beforeLoad(argument)` run in the page ahead of the game's own scripts;
// `body` gets {page, log, url}. Everything is closed after it. Files carry
// their time and no other rule for caching, as `python3 -m http.server`
// serves them: a reload takes them from the browser's cache, asking at most
// whether they changed.
async function withGame(beforeLoad, argument, body, query = '', site = SITE) {
  const server = http.createServer(async (request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    await heldBack.get(name);
    const file = path.join(site, name === '/' ? 'index.html' : name);
    const stat = file.startsWith(site) && fs.statSync(file, {throwIfNoEntry: false});
    if (!stat || !stat.isFile()) return response.writeHead(404).end();
    const modified = stat.mtime.toUTCString();
    const headers = {'Last-Modified': modified};
    if (request.headers['if-modified-since'] === modified) return response.writeHead(304, headers).end();
    response.writeHead(200, {...headers, 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream'});
    if (!slow.has(name)) return fs.createReadStream(file).pipe(response);
    for await (const piece of fs.createReadStream(file, {highWaterMark: 65536})) { response.write(piece); await sleep(40); }
    response.end();
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'abyssor-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.ABYSSOR_CHROMIUM || '/usr/bin/chromium', headless: true, userDataDir: profile,
    protocolTimeout: 120000,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--no-first-run', '--window-size=900,700',
           '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
           '--disable-backgrounding-occluded-windows']
  });
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 900, height: 700});
    const log = [];
    page.on('console', (message) => log.push(message.text()));
    page.on('pageerror', (error) => log.push('PAGE ERROR: ' + error.message));
    await page.evaluateOnNewDocument(beforeLoad, argument);
    const url = `http://127.0.0.1:${server.address().port}/`;
    await page.goto(url + query, {waitUntil: 'load'});
    return await body({page, log, url});
  } finally {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
    server.close();
  }
}

// Runs in the page before the game: counts its flips (abyssorFlipCount), the
// table's arrivals in the browser's storage (abyssorTableSaved) and the loading
// bar's width whenever it changes (abyssorBar). Given steps [flip, kind, a,
// b, c, ms], it also records every flip's hash (abyssorHashes) and gives the
// game their events ms after the flips they name (a screen that has just
// appeared drops what comes in its first 200 ms), up to one of kind 0
// (abyssorEnded).
function hookGame(steps = []) {
  Object.assign(window, {abyssorFlipCount: 0, abyssorTableSaved: 0, abyssorBar: [], abyssorHashes: [],
                         abyssorEnded: false});
  new MutationObserver((changes) => {
    for (const change of changes) if (change.target.id === 'loading-bar') window.abyssorBar.push(change.target.style.width);
  }).observe(document, {attributes: true, attributeFilter: ['style'], subtree: true});
  let next = 0, held = false;
  Object.defineProperty(window, 'Module', {configurable: true, set(module) {
    const give = () => {
      for (; !held && next < steps.length && steps[next][0] <= window.abyssorFlipCount; next++) {
        const [, kind, a, b, c, ms] = steps[next];
        if (ms > 0 && !steps[next].due) {
          steps[next].due = true;
          held = true;
          setTimeout(() => { held = false; give(); }, ms);
          return;
        }
        if (kind) module.abyssor.pushEvent(kind, a, b, c);
        else window.abyssorEnded = true;
      }
    };
    module.abyssor.onFlip = (flip, hash) => {
      window.abyssorFlipCount = flip;
      if (window.abyssorEnded) return;
      window.abyssorHashes.push(hash);
      give();
    };
    module.abyssor.onTableSaved = () => window.abyssorTableSaved++;
    delete window.Module;
    window.Module = module;
  }});
}

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

async function waitFor(what, test, timeoutMs = 30000) {
  for (const end = Date.now() + timeoutMs; ;) {
    const value = await test().catch(() => false);  // a page being replaced answers with an error
    if (value) return value;
    if (Date.now() > end) throw new Error('Timed out waiting for ' + what);
    await sleep(50);
  }
}

// Waits until the game has flipped `after` times and then not for quietMs:
// it waits for the player. Returns the flips counted.
async function waitQuiet(page, what, after, quietMs, timeoutMs = 90000) {
  let last = -1, since = 0;
  await waitFor(what, async () => {
    const count = await page.evaluate(() => window.abyssorFlipCount);
    if (count !== last) [last, since] = [count, Date.now()];
    return count >= after && Date.now() - since >= quietMs;
  }, timeoutMs);
  return last;
}

// A key held long enough for the game's once-a-frame look at the keys.
const tap = (page, key, holdMs = 120) => page.keyboard.press(key, {delay: holdMs});

module.exports = {SITE, withGame, holdBack, slowDown, hookGame, sleep, waitFor, waitQuiet, tap};
