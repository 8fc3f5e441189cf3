// session.js: the page's session with the program: one Dovra per browser profile (a Web Lock held while it
// plays), the files read before the game starts and stored after each step, the page hidden or left handled as
// the end of a session, Exit, a game handed over to another tab, and the service worker that keeps the site.

const LOCK = 'dovra';
const TAKE_OVER = 'dovra-take-over';  // the tab's name across the reload that takes the game over
const game = document.getElementById('game');
const notice = document.getElementById('notice');
const noticeText = document.getElementById('notice-text');
const noticeButton = document.getElementById('notice-button');
const channel = 'BroadcastChannel' in window ? new BroadcastChannel('dovra') : null;

let running = false;       // the program has started and not ended
let programRan = false;    // it has started in this page, and runs only once in a page
let letGo = null;          // lets go of the lock once the program has ended
let handOverAsked = false; // another tab asked for the game before it had started here

const programReady = new Promise((resolve) => { Module.onRuntimeInitialized = resolve; });
openDatabaseEarly();

function heartRuns() {
  return running;
}

// Every step of the program runs through here, so that what it has written is stored straight after.
function callHeart(step, ...args) {
  if (!running)
    return 0;
  const result = step(...args);
  keepFiles();
  return result;
}

function showNotice(text, button, action) {
  noticeText.textContent = text;
  noticeButton.textContent = button;
  noticeButton.onclick = action;
  notice.hidden = false;
  noticeButton.focus();
}

// The program has ended: the files reach the store before another tab may take the lock.
async function ended(text, button, action) {
  running = false;
  stopTicks();
  stopPlaying();
  dropModalWindows();
  showBusyCursor(0);
  game.hidden = true;
  showNotice(text, button, action);
  await storing;
  if (letGo)
    letGo();
  letGo = null;
}

function closeRequested() {
  if (running && callHeart(_web_close))
    endedByExit();
}

function endedByExit() {
  ended('Dovra has ended.', 'Start Dovra again', () => location.reload()).then(() => {
    // An installed app's window closes; a tab stays, offering a new start.
    if (window.matchMedia('(display-mode: standalone)').matches)
      window.close();
  });
}

function handOver() {
  if (!running) {
    handOverAsked = true;
    return;
  }
  callHeart(_web_end);
  ended('Dovra now plays in another tab.', 'Play here', takeOver);
}

// Asks the tab that plays to save and let go, then plays here once it has. A page whose program has already run
// and ended takes the game over as a fresh page.
function takeOver() {
  if (programRan) {
    window.name = TAKE_OVER;
    location.reload();
    return;
  }
  notice.hidden = true;
  if (channel)
    channel.postMessage('hand over');
  navigator.locks.request(LOCK, play);
}

// Plays until the program ends; the lock, when there is one, is held as long as this has not settled.
function play() {
  return new Promise((resolve) => {
    letGo = resolve;
    Promise.all([readFiles(), programReady]).then((ready) => {
      putFilesInFolder(ready[0]);
      game.hidden = false;
      running = programRan = true;
      callHeart(_web_start);
      // The sounds are most of the site's bytes: fetched once the board has been shown, the heart takes them up then.
      requestAnimationFrame(() => setTimeout(() => fetchSounds().then((sounds) => {
        putSoundsInFolder(sounds);
        callHeart(_web_sounds_arrived);
      })));
      if (handOverAsked)
        handOver();
    });
  });
}

// The page hidden may be the last the page hears: a browser closes or discards a hidden tab without a word.
function sessionEnds() {
  if (running) {
    callHeart(_web_session_ends);
  }
}

if (channel)
  channel.onmessage = (event) => {
    if (event.data === 'hand over')
      handOver();
  };
document.addEventListener('visibilitychange', () => {
  if (document.visibilityState === 'hidden')
    sessionEnds();
});
window.addEventListener('pagehide', sessionEnds);

function takeOverAsked() {
  const asked = window.name === TAKE_OVER;
  if (asked)
    window.name = '';
  return asked;
}

if (navigator.locks && takeOverAsked()) {
  takeOver();
} else if (navigator.locks) {
  navigator.locks.request(LOCK, { ifAvailable: true }, (lock) => {
    if (lock)
      return play();
    game.hidden = true;
    showNotice('Dovra is already open in another tab.', 'Play here instead', takeOver);
    return undefined;
  });
} else {
  play();
}

if ('serviceWorker' in navigator)
  window.addEventListener('load', () => navigator.serviceWorker.register('sw.js').catch(() => {}));
