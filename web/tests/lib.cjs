// What the browser tests share: a static server for the site on 127.0.0.1,
// Debian's Chromium driven headless by puppeteer-core, and helpers that read
// the canvas and feed the page keys and the mouse.
'use strict';

const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const NODE_MODULES = path.resolve(process.env.ABYSSOR_NODE_MODULES || path.join(__dirname, '../../build-web/node/node_modules'));
const puppeteer = require(path.join(NODE_MODULES, 'puppeteer-core'));

const SITE = process.env.ABYSSOR_SITE || path.resolve(__dirname, '../../build-web/site');
const CHROMIUM = process.env.ABYSSOR_CHROMIUM || '/usr/bin/chromium';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream'
};

// Serves the site folder; resolves to {url, close}.
function serve(folder = SITE) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(folder, name === '/' ? 'index.html' : name);
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
                             'Cache-Control': 'no-cache'});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({url: `http://127.0.0.1:${server.address().port}/`, close: () => new Promise((done) => server.close(done))});
    });
  });
}

async function launch(extraArguments = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'abyssor-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    protocolTimeout: 120000,
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--no-first-run',
           '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
           '--disable-backgrounding-occluded-windows', '--window-size=900,700'].concat(extraArguments)
  });
  const close = async () => {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  };
  return {browser, close};
}

// Opens the page with a log of what the game printed; hooks may be set up
// before the game's own script runs.
async function openGame(browser, url, {beforeLoad, beforeLoadArgument} = {}) {
  const page = await browser.newPage();
  await page.setViewport({width: 900, height: 700});
  const log = [];
  page.on('console', (message) => log.push(message.text()));
  page.on('pageerror', (error) => log.push('PAGE ERROR: ' + error.message));
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad, beforeLoadArgument);
  await page.goto(url, {waitUntil: 'load'});
  return {page, log};
}

// The canvas's exact pixels, as [r, g, b] of the points asked for.
async function canvasPixels(page, points) {
  return page.evaluate((points) => {
    const canvas = document.getElementById('screen');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    return points.map(([x, y]) => {
      const at = (y * canvas.width + x) * 4;
      return [data[at], data[at + 1], data[at + 2]];
    });
  }, points);
}

// A hash of the whole canvas, to tell whether it changed.
async function canvasHash(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let hash = 2166136261;
    for (let i = 0; i < data.length; i++) hash = Math.imul(hash ^ data[i], 16777619) >>> 0;
    return hash;
  });
}

async function waitFor(what, test, timeoutMs = 30000, stepMs = 50) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    // A page that is being replaced answers with an error: not yet.
    const value = await test().catch(() => false);
    if (value) return value;
    if (Date.now() > end) throw new Error('Timed out waiting for ' + what);
    await new Promise((done) => setTimeout(done, stepMs));
  }
}

// The game reads held keys once a frame or waits for them: a key is held
// long enough to be seen.
async function tap(page, key, holdMs = 120) {
  await page.keyboard.press(key, {delay: holdMs});
}

async function sleep(ms) {
  await new Promise((done) => setTimeout(done, ms));
}

// Counts the game's flips in window.abyssorFlipCount; with `table`, also
// the times the high-score table reached the browser's storage
// (window.abyssorTableSaved); with `progress`, every status the download
// reported with the loading bar's width then (window.abyssorProgress). Runs
// in the page before its own scripts (openGame's beforeLoad, with the
// options as beforeLoadArgument), so it must not use anything of this file.
function installCounters(options) {
  const {table = false, progress = false} = options || {};
  window.abyssorFlipCount = 0;
  window.abyssorTableSaved = 0;
  window.abyssorProgress = [];
  Object.defineProperty(window, 'Module', {
    configurable: true,
    set(module) {
      module.abyssor.onFlip = () => window.abyssorFlipCount++;
      if (table) module.abyssor.onTableSaved = () => window.abyssorTableSaved++;
      if (progress) {
        const setStatus = module.setStatus;
        module.setStatus = (text) => {
          window.abyssorProgress.push([text, document.getElementById('loading-bar').style.width]);
          setStatus(text);
        };
      }
      delete window.Module;
      window.Module = module;
    }
  });
}

const flips = (page) => page.evaluate(() => window.abyssorFlipCount);

// Waits until the game has flipped at least `after` times and then not at
// all for quietMs: it waits for the player. Returns the flips counted.
async function waitQuiet(page, what, after, quietMs, timeoutMs = 90000) {
  let last = -1, since = Date.now();
  await waitFor(what, async () => {
    const count = await flips(page);
    if (count !== last) {
      last = count;
      since = Date.now();
      return false;
    }
    return count >= after && Date.now() - since >= quietMs;
  }, timeoutMs, 50);
  return last;
}

module.exports = {SITE, serve, launch, openGame, canvasPixels, canvasHash, waitFor, tap, sleep,
                  installCounters, flips, waitQuiet};
