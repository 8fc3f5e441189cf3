// screen.js: the client area on the page: the board and the preview painted by the program into a canvas, the
// score written in the Windows program's face and place, the New Game button, clicks and the turn's ticks.

const TICK_MS = 100;
const IDC_NEWGAME = 500;

const client = document.getElementById('client');
const canvas = document.getElementById('board');
const newGameButton = document.getElementById('new-game');
const scoreForReaders = document.getElementById('score');

// The client area in picture pixels, as the program last fitted it.
const fitted = { width: 0, height: 0, buttonX: 0, buttonY: 0, cellSize: 16 };
// Device pixels per picture pixel (whole blocks), and CSS pixels per picture pixel.
let blockSize = 1;
let cssScale = 1;
let paintAsked = false;
let tickTimer = 0;
let picture = null;  // a canvas of the client area at one device pixel per picture pixel

function showBusyCursor(busy) {
  document.documentElement.classList.toggle('busy', busy !== 0);
}

// At 100 % zoom a picture pixel is a CSS pixel, drawn as a whole block of device pixels; on a screen narrower
// than the game the blocks shrink until the game fits its width.
function layOut() {
  const ratio = window.devicePixelRatio || 1;
  const room = document.documentElement.clientWidth || fitted.width;
  const width = Math.max(1, fitted.width);
  blockSize = Math.max(1, Math.round(ratio));
  if (width * blockSize / ratio > room)
    blockSize = Math.max(1, Math.floor(room * ratio / width));
  cssScale = blockSize / ratio;
  if (width * cssScale > room)
    cssScale = room / width;
  canvas.width = fitted.width * blockSize;
  canvas.height = fitted.height * blockSize;
  const px = (n) => n * cssScale + 'px';
  client.style.width = canvas.style.width = px(fitted.width);
  client.style.height = canvas.style.height = px(fitted.height);
  newGameButton.style.left = px(fitted.buttonX);
  newGameButton.style.top = px(fitted.buttonY);
  newGameButton.style.width = px(80);
  newGameButton.style.height = px(25);
  newGameButton.style.fontSize = px(12);
  // A canvas given a size is blank until painted again, which happens before the page is next shown.
  requestPaint();
}

function fitClient(width, height, buttonX, buttonY, cellSize) {
  Object.assign(fitted, { width, height, buttonX, buttonY, cellSize });
  layOut();
}

function requestPaint() {
  if (paintAsked)
    return;
  paintAsked = true;
  requestAnimationFrame(paint);
}

// The score as the Windows program writes it: centred on the middle of the strip left of the New Game button,
// the top of its character cell level with the button's top, 13 pixels high (26 on big squares).
function writeScore(context, score) {
  const cs = fitted.cellSize;
  const size = cs >= 24 ? 26 : 13;
  context.save();
  context.scale(blockSize, blockSize);
  context.font = size + 'px "Dovra Score", "Liberation Sans", Arial, sans-serif';
  context.textAlign = 'center';
  context.textBaseline = 'alphabetic';
  context.fillStyle = '#000';
  const ascent = Math.round(context.measureText(String(score)).fontBoundingBoxAscent || size * 0.905);
  context.fillText(String(score), Math.trunc((9 * cs - 80) / 2), 9 * cs + 4 + ascent);
  context.restore();
}

function paint() {
  paintAsked = false;
  if (!heartRuns() || fitted.width < 1 || fitted.height < 1)
    return;
  const pixels = _web_paint();
  if (!pixels)
    return;
  const image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, fitted.width * fitted.height * 4),
                              fitted.width, fitted.height);
  const context = canvas.getContext('2d');
  if (blockSize === 1) {
    context.putImageData(image, 0, 0);
  } else {
    if (!picture)
      picture = document.createElement('canvas');
    picture.width = fitted.width;
    picture.height = fitted.height;
    picture.getContext('2d').putImageData(image, 0, 0);
    context.imageSmoothingEnabled = false;
    context.drawImage(picture, 0, 0, canvas.width, canvas.height);
  }
  const score = _web_score();
  writeScore(context, score);
  if (scoreForReaders.textContent !== 'Score: ' + score)
    scoreForReaders.textContent = 'Score: ' + score;
}

function startTicks() {
  if (tickTimer === 0)
    tickTimer = setInterval(() => {
      if (!callHeart(_web_tick))
        stopTicks();
    }, TICK_MS);
}

function stopTicks() {
  clearInterval(tickTimer);
  tickTimer = 0;
}

// A click's turn asks for ticks; the first comes one period later, as the next tick of a timer that always runs.
function clickAt(x, y, replayed) {
  if (callHeart(_web_click, x, y, replayed))
    startTicks();
}

// Handled after the current event, as a posted message is.
function queueClick(x, y) {
  setTimeout(() => clickAt(x, y, 1), 0);
}

canvas.addEventListener('pointerdown', (event) => {
  if (event.button !== 0 || !event.isPrimary)
    return;
  event.preventDefault();
  clickAt(Math.floor(event.offsetX / cssScale), Math.floor(event.offsetY / cssScale), 0);
});
newGameButton.addEventListener('click', () => callHeart(_web_command, IDC_NEWGAME));
window.addEventListener('resize', () => { if (heartRuns()) layOut(); });
// The score's face arrives beside the program; the score is written again once it is there.
if (document.fonts)
  document.fonts.load('13px "Dovra Score"').then(() => { if (heartRuns()) requestPaint(); }, () => {});
