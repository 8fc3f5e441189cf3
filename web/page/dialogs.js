// dialogs.js: the modal windows with the Windows program's words: the message boxes ("Wow!", "Alert!", About),
// New High Score and Top Scores. Each tells the program when it has closed; however the New High Score dialog
// closes, its name is stored first, once. Esc closes a message box and nothing else, as in the GTK program.

let scoreDialog = null;  // the New High Score or Top Scores dialog on the page
let entryDialog = null;  // the New High Score dialog while its entry is still to be stored
let dialogCount = 0;

// Texts of the program are in the Windows code page, as its files are.
const codePage = new TextDecoder('windows-1252');
let codePageByte = null;

function codePageText(pointer) {
  let end = pointer;
  while (HEAPU8[end] !== 0)
    end++;
  return codePage.decode(HEAPU8.subarray(pointer, end));
}

// What the code page cannot hold becomes "?".
function codePageBytes(text) {
  if (!codePageByte) {
    const all = new Uint8Array(256).map((_, i) => i);
    codePageByte = new Map(Array.from(codePage.decode(all), (c, i) => [c, i]));
  }
  return Uint8Array.from(Array.from(text, (c) => codePageByte.get(c) || 0x3F));
}

function element(tag, attributes, ...children) {
  const e = document.createElement(tag);
  for (const name in attributes || {})
    e.setAttribute(name, attributes[name]);
  e.append(...children);
  return e;
}

// A window of its own, with its caption, a close box and an OK button, above the page until it closes.
function openModalWindow(modal, caption, role, body, escapeCloses, beforeClose) {
  const id = 'dialog-' + ++dialogCount;
  const dialog = element('dialog', { 'class': 'window', 'aria-labelledby': id + '-caption', 'role': role });
  const closeBox = element('button', { 'type': 'button', 'class': 'close-box', 'aria-label': 'Close' }, '\u00d7');
  const ok = element('button', { 'type': 'submit', 'class': 'ok' }, 'OK');
  const form = element('form', { 'method': 'dialog' }, ...body, element('p', { 'class': 'buttons' }, ok));
  dialog.append(element('header', {}, element('h2', { 'id': id + '-caption' }, caption), closeBox), form);
  let closing = false;
  const close = () => {
    if (closing)
      return;
    closing = true;
    if (beforeClose)
      beforeClose(dialog);
    if (dialog.open)
      dialog.close();
  };
  closeBox.addEventListener('click', close);
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    close();
  });
  dialog.addEventListener('cancel', (event) => {
    event.preventDefault();
    if (escapeCloses)
      close();
  });
  dialog.addEventListener('close', () => {
    closing = true;
    dialog.remove();
    if (dialog === scoreDialog)
      scoreDialog = null;
    callHeart(_web_modal_closed, modal);
  });
  dialog.closeWindow = close;
  document.body.append(dialog);
  dialog.showModal();
  return dialog;
}

function openMessageBox(modal, text, caption) {
  const message = element('p', { 'class': 'message' }, text);
  const dialog = openModalWindow(modal, caption, 'alertdialog', [message], true, null);
  message.id = dialog.getAttribute('aria-labelledby') + '-text';
  dialog.setAttribute('aria-describedby', message.id);
  dialog.querySelector('.ok').focus();
}

// The name as it will be stored: the Windows code page, at most size bytes, handed to the program.
function passName(field, size) {
  const bytes = codePageBytes(field.value);
  const buffer = _web_text_buffer();
  const n = Math.min(bytes.length, size, _web_text_buffer_size());
  HEAPU8.set(bytes.subarray(0, n), buffer);
  HEAPU8[buffer + n] = 0;
}

function openNewHighScore(modal, score, name) {
  const field = element('input', { 'type': 'text', 'id': 'name', 'maxlength': '59', 'autocomplete': 'nickname' });
  field.value = name;
  field.addEventListener('input', () => {
    passName(field, 59);
    callHeart(_web_name_typed);
  });
  const body = [
    element('p', { 'class': 'centred' }, 'Congratulations!'),
    element('p', { 'class': 'centred' }, '  You made it to the top ten list.'),
    element('p', { 'class': 'centred' }, element('span', {}, 'Your score:'), ' ', element('span', { 'id': 'your-score' }, String(score))),
    element('p', { 'class': 'centred' }, element('label', { 'for': 'name' }, 'Please enter your name:')),
    element('p', { 'class': 'centred' }, field),
  ];
  const dialog = openModalWindow(modal, 'New High Score', 'dialog', body, false, () => {
    if (entryDialog !== dialog)
      return;
    entryDialog = null;
    passName(field, 59);
    callHeart(_web_name_entered);
  });
  entryDialog = scoreDialog = dialog;
  field.focus();
}

function openTopScores(modal) {
  const rows = [];
  for (let i = 0; i < 10; i++)
    rows.push(element('tr', {}, element('td', {}, codePageText(_web_row_name(i))), element('td', {}, String(_web_row_score(i)))));
  const table = element('table', {}, element('thead', {}, element('tr', {}, element('th', { 'scope': 'col' }, 'Name'),
                                                                   element('th', { 'scope': 'col' }, 'Score'))),
                        element('tbody', {}, ...rows));
  const dialog = openModalWindow(modal, 'Top Scores', 'dialog', [table], false, null);
  scoreDialog = dialog;
  dialog.querySelector('.ok').focus();
}

// Ends the score dialog that is open, if any, as its OK does.
function endScoreDialog() {
  if (scoreDialog)
    scoreDialog.closeWindow();
}

// Every modal window goes without a word: the program has ended.
function dropModalWindows() {
  for (const dialog of document.querySelectorAll('dialog.window')) {
    dialog.remove();
  }
  scoreDialog = entryDialog = null;
}
