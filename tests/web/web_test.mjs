// web_test.mjs WORK VERSION T0: the browser's part of web_test.sh. Serves WORK/site over http://127.0.0.1 and plays it in
// Debian's Chromium as a player does: with the mouse and the keyboard, the files in IndexedDB put there before
// and read back after. Leaves the canvas as the page shows it in WORK/web-16.png, web-32.png and web-dpr2.png for
// web_test.sh to hold against the Windows program's, and checks everything else itself. T0: when the run began, for
// the log.
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const [work, version, started] = process.argv.slice(2);
const site = path.join(work, 'site');
const lib = fileURLToPath(new URL('../e2e/e2e_lib.sh', import.meta.url));
const t0 = Number(started) * 1000 || Date.now();
const log = (text) => console.log(`[${((Date.now() - t0) / 1000).toFixed(1).padStart(5)} s] ${text}`);
class Failure extends Error {}
function check(ok, text) {
  if (!ok)
    throw new Failure(text);
}
const passed = [];

// ---------------------------------------------------------------- the server
let server = null;
let port = 0;
let origin = '';

async function freePort() {
  const probe = net.createServer().listen(0, '127.0.0.1');
  await new Promise((resolve) => probe.once('listening', resolve));
  const free = probe.address().port;
  await new Promise((resolve) => probe.close(resolve));
  return free;
}

// Python's own server, as a player may serve the site; on the same port each time, so the origin stays the same.
async function serve(folder) {
  port = port || await freePort();
  origin = `http://127.0.0.1:${port}/`;
  server = spawn('/usr/bin/python3', ['-m', 'http.server', String(port), '--bind', '127.0.0.1', '--directory', folder],
                 { stdio: ['ignore', 'ignore', fs.openSync(path.join(work, 'http.log'), 'a')] });
  for (let i = 0; i < 100; i++) {
    if (await fetch(origin).then(() => true, () => false))
      return;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Failure(`the server did not answer at ${origin}`);
}

function stopServer() {
  if (server && server.exitCode === null)
    server.kill();
  const stopped = server;
  server = null;
  return new Promise((resolve) => (stopped.exitCode !== null ? resolve() : stopped.once('exit', resolve)));
}

// ---------------------------------------------------------------- the player's files in IndexedDB
const crlf = (text) => Buffer.from(text.replace(/\r?\n/g, '\r\n'), 'latin1');
const prepared = fs.readFileSync(path.join(work, 'prepared.txt'));

// The pieces of a prefs.txt: "x,y" -> kind.
function cellsOf(bytes) {
  const cells = new Map();
  for (const [, n, kind] of bytes.toString('latin1').matchAll(/^cell(\d\d) = (\d+)\r?$/gm))
    cells.set(`${Math.floor(n / 9)},${n % 9}`, Number(kind));
  return cells;
}

// A page of the site's origin that is not the game puts the files in the store the game reads them from.
async function withFiles(context, files) {
  const page = await context.newPage();
  await page.goto(origin + 'no-game-here');
  await page.evaluate((entries) => new Promise((resolve, reject) => {
    const request = indexedDB.open('dovra', 1);
    request.onupgradeneeded = () => request.result.createObjectStore('files');
    request.onerror = () => reject(request.error);
    request.onsuccess = () => {
      const transaction = request.result.transaction('files', 'readwrite');
      for (const [name, bytes] of entries)
        transaction.objectStore('files').put(new Uint8Array(bytes), name);
      transaction.oncomplete = () => { request.result.close(); resolve(); };
      transaction.onerror = () => reject(transaction.error);
    };
  }), Object.entries(files).map(([name, bytes]) => [name, Array.from(bytes)]));
  return page;
}

// The files as the store holds them now: name -> Buffer, a value that is no Uint8Array as a string saying so.
async function storedFiles(page) {
  const entries = await page.evaluate(() => new Promise((resolve, reject) => {
    const request = indexedDB.open('dovra');
    request.onerror = () => reject(request.error);
    request.onsuccess = () => {
      const files = {};
      const store = request.result.transaction('files').objectStore('files');
      store.openCursor().onsuccess = (event) => {
        const cursor = event.target.result;
        if (!cursor) {
          request.result.close();
          resolve(files);
          return;
        }
        files[cursor.key] = cursor.value instanceof Uint8Array ? Array.from(cursor.value) : String(cursor.value);
        cursor.continue();
      };
    };
  }));
  const files = {};
  for (const [name, value] of Object.entries(entries)) {
    check(Array.isArray(value), `IndexedDB holds ${name} as ${value}, not as a Uint8Array`);
    files[name] = Buffer.from(value);
  }
  return files;
}

// ---------------------------------------------------------------- the game on the page
let browser;

async function newContext(options = {}) {
  const context = await browser.newContext({ viewport: { width: 640, height: 480 }, deviceScaleFactor: 1, ...options });
  context.setDefaultTimeout(10000);
  return context;
}

// Loads the game, with FILES put in the store first, and waits until it has painted.
async function play(context, files = { 'prefs.txt': prepared }) {
  const page = await withFiles(context, files);
  await page.goto(origin);
  await painted(page);
  return page;
}

async function painted(page) {
  await page.locator('#score').filter({ hasText: /^Score: \d+$/ }).waitFor();
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
}

async function shot(page, name, scale = 'css') {
  await page.locator('#board').screenshot({ path: path.join(work, name + '.png'), scale });
}

// What the page shows, read by the end-to-end library as it reads the Windows program's window: the squares as
// a map "x,y" -> kind (0 empty, "?" unrecognised) and the preview's three kinds. Little Board only.
async function look(page, name) {
  await shot(page, name);
  const out = execFileSync('bash', ['-c', '. "$1"; trap - EXIT; work=$2 OX=0 OY=0; ' +
    '/usr/bin/convert "$work/$3.png" -depth 8 txt:- >"$work/$3.txt"; board "$3"', 'look', lib, work, name]).toString();
  const squares = new Map();
  const preview = [];
  for (const line of out.trim().split('\n')) {
    const [a, b, kind] = line.split(' ');
    const k = kind === '?' ? kind : Number(kind);
    if (a === 'p')
      preview[Number(b)] = k;
    else
      squares.set(`${a},${b}`, k);
  }
  return { squares, preview, score: await page.locator('#score').textContent() };
}

const pieceList = (squares) => [...squares].filter(([, kind]) => kind !== 0).map(([at, kind]) => `${at}:${kind}`).join(' ');

function sameBoard(seen, cells, what) {
  for (const [at, kind] of seen.squares)
    check(kind === (cells.get(at) || 0), `${what}: square (${at}) shows ${kind}, expected ${cells.get(at) || 0}` +
          ` (all shown: ${pieceList(seen.squares)})`);
}

const centre = (x, y) => ({ x: x * 16 + 7, y: y * 16 + 6 });
const clickSquare = (page, x, y) => page.locator('#board').click({ position: centre(x, y) });

// From now on window.busySeen tells whether the busy cursor has shown.
function watchBusy(page) {
  return page.evaluate(() => {
    window.busySeen = false;
    new MutationObserver(() => { window.busySeen ||= document.documentElement.classList.contains('busy'); })
      .observe(document.documentElement, { attributes: true, attributeFilter: ['class'] });
  });
}

// A move with the mouse from square (fx, fy) to (tx, ty); resolves once the turn has ended. The busy cursor is
// the class "busy" on the html element from the click that starts the turn to the turn's last tick.
async function move(page, fx, fy, tx, ty) {
  await watchBusy(page);
  await clickSquare(page, fx, fy);
  await clickSquare(page, tx, ty);
  await page.waitForFunction(() => window.busySeen && !document.documentElement.classList.contains('busy'))
    .catch(() => { throw new Failure(`the move from (${fx}, ${fy}) to (${tx}, ${ty}) never showed the busy cursor, or never ended`); });
}

const dialog = (page, name) => page.getByRole('dialog', { name, exact: true });

async function menu(page, title, item) {
  await page.getByRole('menuitem', { name: title, exact: true }).click();
  await page.getByRole('menu', { name: title }).locator('[role^="menuitem"]', { hasText: item }).click();
}

// ---------------------------------------------------------------- the checks
async function siteAsServed() {
  const types = {
    'index.html': 'text/html', 'dovra.js': /^(text|application)\/javascript$/, 'dovra.wasm': 'application/wasm',
    'sw.js': /^(text|application)\/javascript$/,
    'manifest.webmanifest': 'application/manifest+json', 'score.woff': 'font/woff', 'icon-192.png': 'image/png',
    'sounds/move.wav': /^audio\/(x-)?wav$/,
  };
  for (const [file, type] of Object.entries(types)) {
    const response = await fetch(origin + file);
    const got = (response.headers.get('content-type') || '').split(';')[0];
    check(response.ok && (type instanceof RegExp ? type.test(got) : got === type), `${file} is served as ${got}, expected ${type}`);
  }
  const manifest = JSON.parse(await (await fetch(origin + 'manifest.webmanifest')).text());
  check(manifest.name === 'Dovra' && manifest.start_url && manifest.display === 'standalone',
        `the manifest's name, start_url or display: ${JSON.stringify(manifest)}`);
  const start = await fetch(new URL(manifest.start_url, origin + 'manifest.webmanifest'));
  check(start.ok && (await start.text()).includes('dovra.js'), `the manifest's start_url ${manifest.start_url} is not the game`);
  for (const side of [192, 512]) {
    const icon = manifest.icons.find((i) => i.sizes === `${side}x${side}`);
    check(icon && icon.type === 'image/png', `the manifest names no PNG icon of ${side} pixels`);
    const png = Buffer.from(await (await fetch(new URL(icon.src, origin + 'manifest.webmanifest'))).arrayBuffer());
    check(png.readUInt32BE(16) === side && png.readUInt32BE(20) === side, `${icon.src} is not a ${side} x ${side} PNG`);
  }
  passed.push('served with the right MIME types; the manifest names the game, its start, standalone, icons of 192 and 512 pixels that load');
}

// The prepared game at 16 and 32 pixels a square as the canvas shows it, for web_test.sh to compare; then Exit
// writes prefs.txt, which must be the Windows program's byte for byte after the same steps.
async function picturesAndExit() {
  const context = await newContext();
  const page = await play(context);
  await shot(page, 'web-16');
  await menu(page, 'Edit', 'Big Board');
  await page.locator('[aria-checked="true"]', { hasText: 'Big Board' }).waitFor({ state: 'attached' });
  await painted(page);
  await shot(page, 'web-32');
  await menu(page, 'File', 'Exit');
  await page.getByText('Dovra has ended.').waitFor();
  await page.getByRole('button', { name: 'Start Dovra again' }).waitFor();
  const saved = (await storedFiles(page))['prefs.txt'];
  const windows = fs.readFileSync(path.join(work, 'windows-prefs.txt'));
  fs.writeFileSync(path.join(work, 'web-prefs.txt'), saved);
  check(saved.equals(windows), `prefs.txt after Big Board and Exit differs from the Windows program's:\n` +
        `${saved.toString('latin1')}\n--- the Windows program wrote:\n${windows.toString('latin1')}`);
  await context.close();
  passed.push("Big Board and Exit leave in IndexedDB the Windows program's prefs.txt, byte for byte");

  const dense = await newContext({ deviceScaleFactor: 2 });
  await shot(await play(dense), 'web-dpr2', 'device');
  await dense.close();
}

async function moveReloadAndSecondTab() {
  const context = await newContext();
  const page = await play(context);
  const start = await look(page, 'move-start');
  const cells = cellsOf(prepared);
  sameBoard(start, cells, 'the restored game');
  // A piece of a kind that is not about to drop, three squares down, which are empty in the prepared game.
  const [at, kind] = [...cells].find(([, k]) => !start.preview.includes(k));
  const [fx, fy] = at.split(',').map(Number);
  await move(page, fx, fy, fx, fy + 3);
  const moved = await look(page, 'moved');
  const pieces = [...moved.squares.values()].filter((k) => k !== 0);
  check(moved.squares.get(`${fx},${fy + 3}`) === kind && moved.squares.get(at) !== kind && pieces.length === cells.size + 3 &&
        !pieces.includes('?'), `after a move of kind ${kind} from (${at}) three squares down: ${pieceList(moved.squares)}`);
  log(`kind ${kind} moved from (${at}) three squares down, three pieces dropped`);

  await page.reload();
  await painted(page);
  const reloaded = await look(page, 'reloaded');
  sameBoard(reloaded, new Map([...moved.squares].filter(([, k]) => k !== 0)), 'after a reload');
  check(reloaded.score === moved.score, `after a reload: ${reloaded.score}, before: ${moved.score}`);
  passed.push('a move played with the mouse under the busy cursor: the piece arrives and three drop; a reload restores the game');

  // A second tab finds the game playing in the first, and takes it over only when asked.
  const before = await storedFiles(page);
  const second = await context.newPage();
  await second.goto(origin);
  await second.getByText('Dovra is already open in another tab.').waitFor();
  const instead = second.getByRole('button', { name: 'Play here instead' });
  await instead.waitFor();
  check(await second.locator('#game').isHidden(), 'the second tab shows the game while the first plays');
  const after = await storedFiles(second);
  check(Object.keys(after).join() === Object.keys(before).join() && Object.keys(after).every((n) => after[n].equals(before[n])),
        'the second tab changed the files in IndexedDB');
  await instead.click();
  await page.getByText('Dovra now plays in another tab.').waitFor();
  await painted(second);
  const taken = await look(second, 'taken-over');
  sameBoard(taken, new Map([...moved.squares].filter(([, k]) => k !== 0)), 'the game in the tab that took it over');
  check(taken.score === moved.score, `the game taken over: ${taken.score}, expected ${moved.score}`);
  // And back: the first tab, whose program has run and ended, plays again.
  await page.getByRole('button', { name: 'Play here' }).click();
  await second.getByText('Dovra now plays in another tab.').waitFor();
  await painted(page);
  sameBoard(await look(page, 'taken-back'), new Map([...moved.squares].filter(([, k]) => k !== 0)), 'the game taken back');
  passed.push('a second tab says the game is open in another, touches no file, and "Play here instead" moves the same game ' +
              'there, and "Play here" back again');
  return page;
}

// The page hidden while the piece travels, then dropped by the browser without another word: the next visit
// finds every piece, the one on the move where it had got to.
async function hiddenMidTurn() {
  const context = await newContext();
  const page = await play(context);
  const cells = cellsOf(prepared);
  // Kind 2 at (3, 1) has seven empty squares below it: 0.7 s on its way.
  const [fx, fy, kind] = [3, 1, 2];
  check(cells.get('3,1') === kind, 'the prepared game has no kind 2 at (3, 1)');
  await clickSquare(page, fx, fy);
  await clickSquare(page, fx, 8);
  await page.waitForTimeout(150);
  const midTurn = await page.evaluate(() => {
    const busy = document.documentElement.classList.contains('busy');
    Object.defineProperty(document, 'visibilityState', { value: 'hidden', configurable: true });
    document.dispatchEvent(new Event('visibilitychange'));
    return busy;
  });
  check(midTurn, 'the turn had ended before the page was hidden: no turn to interrupt');
  const bytes = (await storedFiles(page))['prefs.txt'];
  const text = bytes.toString('latin1');
  const saved = cellsOf(bytes);
  const at = [...saved].filter(([, k]) => k === kind).map(([a]) => a);
  check(saved.size === cells.size && [...cells].every(([a, k]) => k === kind || saved.get(a) === k) && at.length === 1 &&
        at[0].startsWith(`${fx},`) && /^current_score = 1234\r$/m.test(text), `prefs.txt saved when the page was hidden mid-turn:\n${text}`);
  const stop = at[0];
  // As a browser discards a hidden tab: no pagehide, nothing more stored.
  const cdp = await context.newCDPSession(page);
  cdp.send('Page.crash').catch(() => {});
  await new Promise((resolve) => page.once('crash', resolve));
  const again = await context.newPage();
  await again.goto(origin);
  await painted(again);
  sameBoard(await look(again, 'after-discard'), saved, 'the game after the hidden tab was discarded');
  await context.close();
  passed.push(`the page hidden mid-turn saves every piece, the travelling one at (${stop}); a tab discarded then restores it`);
}

// The board full but two squares: the piece moved and two drops end the game; the player's name is asked for
// and shown marked in the table, and scores.txt holds it as the Windows program writes it.
async function gameOver() {
  const context = await newContext();
  const page = await play(context, { 'prefs.txt': fs.readFileSync(path.join(work, 'full.txt')) });
  await clickSquare(page, 7, 8);
  await clickSquare(page, 8, 8);
  const entry = dialog(page, 'New High Score');
  await entry.waitFor();
  const said = await entry.ariaSnapshot();
  for (const words of ['Congratulations!', 'You made it to the top ten list.', 'Your score: 1234', 'textbox "Please enter your name:"'])
    check(said.includes(words), `New High Score does not say "${words}":\n${said}`);
  await page.keyboard.type('Zoë');
  await entry.getByRole('button', { name: 'OK' }).click();
  const table = dialog(page, 'Top Scores');
  await table.waitFor();
  const rows = await table.getByRole('row').allTextContents();
  check(rows.length === 11 && /^\s*-->\s+Zoë\s*1234\s*$/.test(rows[1]) && rows.slice(2).every((r) => /^\s*0\s*$/.test(r)),
        `Top Scores after the game: ${JSON.stringify(rows)}`);
  const tree = await table.ariaSnapshot();
  check(/- table:/.test(tree) && /- cell "--> Zoë"/.test(tree) && /- columnheader "Name"/.test(tree), `Top Scores as read:\n${tree}`);
  const scores = (await storedFiles(page))['scores.txt'];
  const expected = Buffer.concat([crlf('1234 Zo'), Buffer.from([0xEB]), crlf('\n' + '0 \n'.repeat(9) + '0\n')]);
  check(scores && scores.equals(expected), `scores.txt in IndexedDB: ${JSON.stringify(scores && scores.toString('latin1'))}`);
  await table.getByRole('button', { name: 'OK' }).click();
  await context.close();
  passed.push('a game over asks the name in New High Score; Top Scores shows it marked "--> ", ten rows; scores.txt in CR LF and the Windows code page');
}

// The menu bar and the About box from the keyboard alone, as the accessibility tree reads them.
async function keyboardAndDialogs(page) {
  await page.evaluate(() => document.activeElement.blur());
  await page.keyboard.press('Tab');
  const bar = page.getByRole('menubar', { name: 'Dovra' });
  check(await page.evaluate(() => document.activeElement.textContent) === 'File', 'Tab does not reach the menu bar at File');
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Enter');
  const edit = await bar.ariaSnapshot();
  check(edit === [
    '- menubar "Dovra":',
    '  - menuitem "File"',
    '  - menuitem "Edit" [expanded]',
    '  - menu "Edit":',
    '    - menuitemcheckbox "Little Board" [checked]',
    '    - menuitemcheckbox "Big Board"',
    '    - menuitemcheckbox "Preview" [checked]',
    '    - menuitemcheckbox "Sound"',
    '  - menuitem "Help"',
  ].join('\n'), `the menu bar, Edit open, as read:\n${edit}`);
  for (let i = 0; i < 3; i++)
    await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.querySelector('[data-command="108"]').getAttribute('aria-checked') === 'true');
  const prefs = (await storedFiles(page))['prefs.txt'].toString('latin1');
  check(/^sound_enabled = 1\r$/m.test(prefs), `Edit, Sound from the keyboard did not save sound_enabled = 1:\n${prefs}`);

  // Alt and the underlined letters, as on a desktop: Help, About.
  await page.keyboard.press('Alt+h');
  await page.keyboard.press('a');
  const about = page.getByRole('alertdialog', { name: 'About Dovra' });
  await about.waitFor();
  const text = await about.ariaSnapshot();
  for (const words of [`Dovra\nVersion ${version}`, 'You get points for arranging identical shapes', 'button "OK"'])
    check(text.replace(/\s+/g, ' ').includes(words.replace(/\s+/g, ' ')), `About as read does not hold "${words}":\n${text}`);
  await page.keyboard.press('Escape');
  await about.waitFor({ state: 'detached' });
  passed.push('the menu bar, its check marks and the About box read as a menubar, menuitemcheckboxes and an alertdialog; Tab, the arrows, Enter, Alt with the underlined letters and Esc work them');
}

// On a phone narrower than the Big Board with its preview, the whole game fits the screen's width in whole blocks
// of device pixels, and taps play it.
async function phone() {
  const context = await newContext({ viewport: { width: 300, height: 640 }, deviceScaleFactor: 3, isMobile: true,
                                     hasTouch: true });
  const big = Buffer.from(prepared.toString('latin1').replace(/^cell_size = \d+/m, 'cell_size = 32'), 'latin1');
  const page = await play(context, { 'prefs.txt': big });
  const shown = await page.evaluate(() => {
    const board = document.getElementById('board');
    return { width: board.width, css: board.getBoundingClientRect().width, touch: getComputedStyle(board).touchAction };
  });
  check(shown.width % 320 === 0 && shown.width > 320 && shown.css <= 300 && Math.abs(shown.css * 3 - shown.width) < 1,
        `the Big Board on a 300 pixel wide phone: ${JSON.stringify(shown)}`);
  check(shown.touch === 'manipulation', `taps on the board may zoom: touch-action ${shown.touch}`);
  // A piece of the prepared game and an empty square below it, tapped at their centres.
  const [at] = [...cellsOf(big)].find(([xy]) => !cellsOf(big).has(xy.replace(/\d+$/, (y) => String(+y + 3))));
  const [x, y] = at.split(',').map(Number);
  const box = await page.locator('#board').boundingBox();
  const tap = (sx, sy) => page.touchscreen.tap(box.x + (sx * 32 + 16) * box.width / 320, box.y + (sy * 32 + 16) * box.width / 320);
  await watchBusy(page);
  await tap(x, y);
  await tap(x, y + 3);
  await page.waitForFunction(() => window.busySeen).catch(() => { throw new Failure(`taps on (${at}) and three below moved nothing`); });
  await context.close();
  passed.push('on a phone 300 pixels wide the Big Board with its preview fits in whole blocks of device pixels, and taps move a piece');
}

// After one visit the game loads and plays with the network gone; a new release replaces it at the next visit.
async function offline() {
  const context = await newContext();
  const page = await play(context);
  const cached = await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    const names = (await caches.keys()).filter((k) => k.startsWith('dovra-'));
    const cache = await caches.open(names[0]);
    return [names, (await cache.keys()).map((r) => r.url).sort()];
  });
  const files = fs.readdirSync(site, { recursive: true }).filter((f) => fs.statSync(path.join(site, f)).isFile() && f !== 'sw.js');
  const wanted = ['', ...files].map((f) => origin + f).sort();
  check(cached[0].length === 1 && JSON.stringify(cached[1]) === JSON.stringify(wanted),
        `the service worker's cache ${cached[0]} holds ${cached[1].join(' ')}; the site is ${wanted.join(' ')}`);
  await context.setOffline(true);
  await stopServer();
  await page.reload();
  await painted(page);
  await move(page, 1, 1, 1, 4);
  check((await look(page, 'offline')).squares.get('1,4') === 1, 'offline: the piece did not reach (1, 4)');
  passed.push('after one visit the service worker holds every file: with the network and the server gone the game loads and plays');

  // The next release: other files under the same names, and a service worker of its own.
  const next = path.join(work, 'site-next');
  fs.cpSync(site, next, { recursive: true });
  const index = path.join(next, 'index.html');
  fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace('<title>', '<meta name="release" content="next">\n<title>'));
  const sw = path.join(next, 'sw.js');
  fs.writeFileSync(sw, fs.readFileSync(sw, 'utf8').replace("const CACHE = 'dovra-", "const CACHE = 'dovra-next-"));
  await serve(next);
  await context.setOffline(false);
  await page.reload();
  let keys = [];
  for (let i = 0; i < 150 && !(keys.length === 1 && keys[0].startsWith('dovra-next-')); i++) {
    await page.waitForTimeout(100);
    keys = await page.evaluate(() => caches.keys());
  }
  check(keys.length === 1 && keys[0].startsWith('dovra-next-'), `the next release's service worker did not replace the cache: ${keys}`);
  await page.reload();
  await painted(page);
  check(await page.locator('meta[name="release"]').count() === 1, 'a visit after the new release still shows the old page');
  await context.close();
  passed.push('a new release served replaces the cached site at the next visit');
}

for (const signal of ['SIGINT', 'SIGTERM'])
  process.on(signal, () => {
    if (server)
      server.kill();
    process.exit(130);
  });

try {
  await serve(site);
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
           '--disable-sync', '--no-first-run'],
  });
  log(`Chromium ${browser.version()}, the site at ${origin}`);
  const section = async (run, ...args) => {
    const result = await run(...args);
    log(`${run.name}: passed`);
    return result;
  };
  await section(siteAsServed);
  await section(picturesAndExit);
  // The game taken over by a second tab goes on there with the keyboard alone.
  const taken = await section(moveReloadAndSecondTab);
  await section(keyboardAndDialogs, taken);
  await taken.context().close();
  await section(hiddenMidTurn);
  await section(gameOver);
  await section(phone);
  await section(offline);
  for (const line of passed)
    console.log(`e2e: passed: ${line}`);
} catch (e) {
  console.error(`FAIL: ${e instanceof Failure ? e.message : e.stack}`);
  process.exitCode = 1;
} finally {
  if (browser)
    await browser.close();
  if (server)
    await stopServer();
}
