// web.mjs BASE SITE SERVER_LOG RUNS IDLE: the web benchmark's runs in Debian's Chromium (see web.sh): Dovra's
// page at BASE/dovra/ (its files in SITE) against the bare page at BASE/bare/, from the same server, whose
// request log is SERVER_LOG. Each run visits each page in a fresh browser context (nothing cached, no service
// worker, no stored game), then again in that context (its service worker and caches in place), then leaves
// it at rest for IDLE seconds. The first frame is the page's first contentful paint (Paint Timing): Dovra's
// page shows nothing before its game, which it shows with the board painted. Prints medians; judges nothing.
import { createRequire } from 'node:module';
import fs from 'node:fs';
import path from 'node:path';

const require = createRequire(new URL('../tests/web/package.json', import.meta.url));
const { chromium } = require('playwright-core');

const [base, site, serverLog, runsArg, idleArg] = process.argv.slice(2);
const runs = Number(runsArg);
const idle = Number(idleArg);
const tick = 100; // clock ticks per second of /proc/<pid>/stat (getconf CLK_TCK)

// What the page does on its way to the first frame, as marks on its own clock: the wasm compiled, the program
// ready, the store open and read, the game started. Only observed, nothing changed.
function observe() {
  const mark = (name) => { if (performance.getEntriesByName(name).length === 0) performance.mark(name); };
  for (const name of ['instantiate', 'instantiateStreaming']) {
    const original = WebAssembly[name];
    WebAssembly[name] = function (...args) {
      return original.apply(this, args).then((result) => { mark('wasm ready'); return result; });
    };
  }
  const open = IDBFactory.prototype.open;
  IDBFactory.prototype.open = function (...args) {
    const request = open.apply(this, args);
    request.addEventListener('success', () => mark('store open'));
    return request;
  };
  const transaction = IDBDatabase.prototype.transaction;
  IDBDatabase.prototype.transaction = function (...args) {
    const t = transaction.apply(this, args);
    t.addEventListener('complete', () => mark('files read'));
    return t;
  };
  window.Module = { postRun: [() => mark('program ready')] };
  // Told at the end of the task that shows the game: once the heart has started and painted the board.
  new MutationObserver(() => {
    const game = document.getElementById('game');
    if (game && !game.hidden)
      mark('game started');
  }).observe(document, { subtree: true, childList: true, attributes: true, attributeFilter: ['hidden'] });
}

// Waits for the page's first contentful paint (Paint Timing) and returns the page's milestones in ms since
// navigation: Dovra's page shows nothing before its game, so its first contentful frame is the board's.
async function milestones(page, shown) {
  await page.waitForFunction(shown, null, { timeout: 30000 });
  return page.evaluate(() => new Promise((resolve) => {
    new PerformanceObserver(() => {
      const times = {};
      for (const e of performance.getEntriesByType('paint'))
        times[e.name] = e.startTime;
      if (!times['first-contentful-paint'])
        return;
      for (const e of performance.getEntriesByType('mark'))
        times[e.name] = e.startTime;
      for (const e of performance.getEntriesByType('resource')) {
        const name = e.name.replace(/^.*\/dovra\//, '').replace(/^sounds\/.*/, 'sounds, the last');
        times[name] = Math.max(times[name] || 0, e.responseEnd);
      }
      const navigation = performance.getEntriesByType('navigation')[0];
      times['DOMContentLoaded'] = navigation.domContentLoadedEventEnd;
      times.transferred = [navigation, ...performance.getEntriesByType('resource')]
        .reduce((sum, e) => sum + e.transferSize, 0);
      resolve(times);
    }).observe({ type: 'paint', buffered: true });
  }));
}

// The CPU time (user + system, clock ticks) of every process below this one: the browser and its children.
function browserTicks() {
  const parent = new Map();
  const ticks = new Map();
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    let stat;
    try {
      stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
    } catch {
      continue;
    }
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    parent.set(pid, fields[1]);
    ticks.set(pid, Number(fields[11]) + Number(fields[12]));
  }
  const mine = (pid) => {
    for (let p = pid; p && p !== '0'; p = parent.get(p))
      if (p === String(process.pid))
        return p !== pid;
    return false;
  };
  return new Map([...ticks].filter(([pid]) => mine(pid)));
}

function ticksSince(before) {
  let sum = 0;
  for (const [pid, t] of browserTicks())
    sum += t - (before.get(pid) || 0);
  return sum;
}

// The server's answers since the log held `from` bytes: bodies sent (each 200 a whole file) and 304s.
function served(from) {
  const lines = fs.readFileSync(serverLog, 'utf8').slice(from).split('\n');
  const sent = { requests: 0, bytes: 0, notModified: 0 };
  for (const line of lines) {
    const m = / "GET \/dovra\/([^ ?]*)[^"]*" (\d+)/.exec(line);
    if (!m)
      continue;
    if (m[2] === '304') {
      sent.notModified++;
    } else if (m[2] === '200') {
      sent.requests++;
      sent.bytes += fs.statSync(path.join(site, m[1] || 'index.html')).size;
    }
  }
  return sent;
}

const pages = {
  bare: { url: `${base}/bare/`, shown: () => true },
  dovra: {
    url: `${base}/dovra/`,
    shown: () => !document.getElementById('game').hidden && document.getElementById('board').width > 0,
  },
};

// One run of a page: its first visit, its return visit, then IDLE seconds at rest.
async function run(browser, name, measured) {
  const { url, shown } = pages[name];
  const context = await browser.newContext({ viewport: { width: 400, height: 300 } });
  await context.addInitScript(observe);
  const page = await context.newPage();
  const logAt = fs.statSync(serverLog).size;
  await page.goto(url);
  const first = await milestones(page, shown);
  // The service worker has kept every file once it is active.
  await page.evaluate(() => ('serviceWorker' in navigator && document.querySelector('link[rel=manifest]')
    ? navigator.serviceWorker.ready.then(() => true) : false));
  await page.waitForTimeout(500);
  const sent = served(logAt);
  await page.goto(url);
  const back = await milestones(page, shown);
  const result = { first, back, sent };
  if (measured && idle > 0) {
    await page.waitForTimeout(2000);
    const cdp = await context.newCDPSession(page);
    await cdp.send('Performance.enable');
    const metric = async (key) => (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === key).value;
    const before = browserTicks();
    const task0 = await metric('TaskDuration');
    const script0 = await metric('ScriptDuration');
    await page.waitForTimeout(idle * 1000);
    result.idleTicks = ticksSince(before);
    result.task = (await metric('TaskDuration')) - task0;
    result.script = (await metric('ScriptDuration')) - script0;
  }
  await context.close();
  return result;
}

const median = (values) => {
  const v = values.filter((x) => x !== undefined).sort((a, b) => a - b);
  if (v.length === 0)
    return NaN;
  return v.length % 2 ? v[(v.length - 1) / 2] : (v[v.length / 2 - 1] + v[v.length / 2]) / 2;
};

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--no-first-run'],
});
const results = { bare: [], dovra: [] };
// The machine may be shared: its load shows how far the figures can be trusted.
const load = () => fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ');
const loadBefore = load();
try {
  // One visit of each unmeasured, so every measured one finds the browser and the files warm.
  await run(browser, 'bare', false);
  await run(browser, 'dovra', false);
  for (let i = 1; i <= runs; i++) {
    process.stderr.write(`== run ${i} of ${runs}\n`);
    for (const name of ['bare', 'dovra'])
      results[name].push(await run(browser, name, true));
  }
} finally {
  await browser.close();
}

const fcp = (name, visit) => median(results[name].map((r) => r[visit]['first-contentful-paint']));
console.log(`\nMedians of ${runs} runs in ${browser.version()} (headless), served by Python's http.server on 127.0.0.1; ` +
  `load average ${loadBefore} before, ${load()} after.\n`);
console.log('| Page | First visit: navigation to first frame | Return visit | CPU at rest, all processes | Page\'s tasks at rest (script) |');
console.log('|---|---|---|---|---|');
for (const [name, label] of [['bare', 'bare page, one canvas'], ['dovra', 'Dovra, the board shown']]) {
  const cpu = median(results[name].map((r) => r.idleTicks)) / tick;
  const task = median(results[name].map((r) => r.task));
  const script = median(results[name].map((r) => r.script));
  console.log(`| ${label} | ${fcp(name, 'first').toFixed(0)} ms | ${fcp(name, 'back').toFixed(0)} ms | ` +
    `${cpu.toFixed(2)} s in ${idle} s (${(100 * cpu / idle).toFixed(2)} %) | ` +
    `${(1000 * task).toFixed(1)} ms (${(1000 * script).toFixed(1)} ms) |`);
}
console.log(`\nFirst frame against the bare page's: first visit x ${(fcp('dovra', 'first') / fcp('bare', 'first')).toFixed(2)}, ` +
  `return visit x ${(fcp('dovra', 'back') / fcp('bare', 'back')).toFixed(2)} (aim: at most 1.3)`);

// Where Dovra's first frame waits, as medians of ms since navigation.
const steps = ['dovra.js', 'dovra.wasm', 'score.woff', 'sounds, the last', 'DOMContentLoaded', 'wasm ready',
  'program ready', 'store open', 'files read', 'game started', 'first-contentful-paint'];
console.log('\nDovra\'s page on its way to the first frame (ms since navigation; a file: its last byte received):\n');
console.log('| Step | First visit | Return visit |');
console.log('|---|---|---|');
for (const step of steps) {
  const at = (visit) => median(results.dovra.map((r) => r[visit][step]));
  console.log(`| ${step} | ${at('first').toFixed(1)} | ${at('back').toFixed(1)} |`);
}

const early = results.dovra.filter((r) => ['first', 'back'].some((v) => r[v]['first-contentful-paint'] < r[v]['game started']));
if (early.length)
  console.log(`\nIn ${early.length} runs the first contentful frame came before the game was shown: it was not the board's.`);

const sent = results.dovra[results.dovra.length - 1].sent;
const transferred = median(results.dovra.map((r) => r.first.transferred));
console.log(`\nA first visit of Dovra (page and service worker): the server sent ${sent.requests} files, ` +
  `${sent.bytes} bytes, uncompressed, and answered ${sent.notModified} with 304 Not Modified; ` +
  `the page's own fetches, as Chromium reports them transferred: ${transferred} bytes.`);
