// files.js: prefs.txt and scores.txt kept by the browser, byte for byte as the Windows program writes them:
// IndexedDB database "dovra", object store "files", the file's name as key, its bytes as value. The program reads
// and writes them as plain files in its folder; after each of its steps what it has written is stored.

const FOLDER = '/dovra';
const FILE_NAMES = ['prefs.txt', 'scores.txt'];

let database = null;            // null where the browser keeps nothing
let databaseOpened = null;      // the opening, begun as early as the page can
let refusalShown = false;
const stored = new Map();       // each file's bytes as last stored
let storing = Promise.resolve();  // settles when every write so far has reached the store

function sayFilesAreNotKept() {
  if (refusalShown)
    return;
  refusalShown = true;
  const notice = document.getElementById('storage-notice');
  notice.textContent = 'This browser does not let Dovra keep files here: your game and scores will not be kept.';
  notice.hidden = false;
}

function openDatabase() {
  return new Promise((resolve) => {
    let request;
    try {
      request = indexedDB.open('dovra', 1);
    } catch (e) {
      resolve(null);
      return;
    }
    request.onupgradeneeded = () => request.result.createObjectStore('files');
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => resolve(null);
    request.onblocked = () => resolve(null);
  });
}

// Opening reads no file, so the page begins it at once, beside the program's own loading.
function openDatabaseEarly() {
  if (!databaseOpened)
    databaseOpened = openDatabase();
  return databaseOpened;
}

// A value is a file's bytes; anything else in its place is no file at all, and is left as it is until the
// program writes that file.
function asBytes(value) {
  if (value instanceof Uint8Array)
    return value;
  if (value instanceof ArrayBuffer)
    return new Uint8Array(value);
  return null;
}

// The files as the store holds them, by name; the store is opened only by the Dovra that plays.
async function readFiles() {
  database = await openDatabaseEarly();
  const files = new Map();
  if (!database) {
    sayFilesAreNotKept();
    return files;
  }
  // Asked once: a browser may ask the player.
  if (navigator.storage && navigator.storage.persisted)
    navigator.storage.persisted().then((kept) => kept || navigator.storage.persist()).catch(() => {});
  await new Promise((resolve) => {
    let transaction;
    try {
      transaction = database.transaction('files', 'readonly');
    } catch (e) {
      resolve();
      return;
    }
    const store = transaction.objectStore('files');
    for (const name of FILE_NAMES) {
      const request = store.get(name);
      request.onsuccess = () => {
        const bytes = asBytes(request.result);
        if (bytes)
          files.set(name, bytes);
      };
    }
    transaction.oncomplete = transaction.onerror = transaction.onabort = () => resolve();
  });
  return files;
}

// The program's folder, holding the stored files, becomes its working folder.
function putFilesInFolder(files) {
  FS.mkdir(FOLDER);
  FS.chdir(FOLDER);
  files.forEach((bytes, name) => {
    FS.writeFile(FOLDER + '/' + name, bytes);
    stored.set(name, bytes);
  });
}

// A file written in text mode on Windows: each line end a carriage return and a line feed.
function withWindowsLineEnds(bytes) {
  let feeds = 0;
  for (const b of bytes)
    if (b === 0x0A)
      feeds++;
  const out = new Uint8Array(bytes.length + feeds);
  let j = 0;
  for (const b of bytes) {
    if (b === 0x0A)
      out[j++] = 0x0D;
    out[j++] = b;
  }
  return out;
}

function sameBytes(a, b) {
  if (!a || !b || a.length !== b.length)
    return false;
  for (let i = 0; i < a.length; i++)
    if (a[i] !== b[i])
      return false;
  return true;
}

function storeFile(name, bytes) {
  if (!database)
    return;
  let transaction;
  try {
    transaction = database.transaction('files', 'readwrite', { durability: 'strict' });
    transaction.objectStore('files').put(bytes, name);
    // At once: a page that is being left would abort a transaction still waiting to commit by itself.
    if (transaction.commit)
      transaction.commit();
  } catch (e) {
    sayFilesAreNotKept();
    return;
  }
  const done = new Promise((resolve) => {
    transaction.oncomplete = resolve;
    transaction.onerror = transaction.onabort = () => {
      sayFilesAreNotKept();
      resolve();
    };
  });
  storing = storing.then(() => done);
}

// Stores every file the program has written since the last look; returns when they are all in the store.
function keepFiles() {
  for (const name of FILE_NAMES) {
    let bytes;
    try {
      bytes = FS.readFile(FOLDER + '/' + name);
    } catch (e) {
      continue;
    }
    const windows = withWindowsLineEnds(bytes);
    if (sameBytes(windows, stored.get(name)))
      continue;
    stored.set(name, windows);
    storeFile(name, windows);
  }
  return storing;
}
