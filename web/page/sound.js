// sound.js: the program's sounds played through Web Audio, a new one cutting short the one playing. A browser
// lets a page make sound only after the player's first click or key, which opens the audio here.

const SOUND_NAMES = ['move.wav', 'woops.wav', 'drop.wav', 'zip.wav', 'gameover.wav', 'winner.wav'];

let audio = null;
let playing = null;
const decoded = new Map();  // each sound image's samples as audio, by their place in the program's memory

function openAudio() {
  if (!audio) {
    try {
      audio = new AudioContext();
    } catch (e) {
      return;
    }
  }
  if (audio.state === 'suspended')
    audio.resume().catch(() => {});
}

// The sounds the site ships, fetched beside the program; a sound that cannot be had stays silent.
function fetchSounds() {
  return Promise.all(SOUND_NAMES.map((name) =>
    fetch('sounds/' + name).then((r) => (r.ok ? r.arrayBuffer() : null)).catch(() => null)));
}

function putSoundsInFolder(sounds) {
  FS.mkdir('/sounds');
  sounds.forEach((bytes, i) => {
    if (bytes)
      FS.writeFile('/sounds/' + SOUND_NAMES[i], new Uint8Array(bytes));
  });
}

// PCM samples as the program checked them: little-endian, unsigned at 8 bits and signed at 16, channels side by side.
function audioOf(samples, frames, channels, bits, rate) {
  const buffer = audio.createBuffer(channels, frames, rate);
  const step = channels * bits / 8;
  for (let c = 0; c < channels; c++) {
    const out = buffer.getChannelData(c);
    for (let i = 0; i < frames; i++) {
      const at = samples + i * step + c * bits / 8;
      out[i] = bits === 8 ? (HEAPU8[at] - 128) / 128 : ((HEAPU8[at] | HEAPU8[at + 1] << 8) << 16 >> 16) / 32768;
    }
  }
  return buffer;
}

function stopPlaying() {
  if (playing) {
    try {
      playing.stop();
    } catch (e) {
      // ended already
    }
    playing = null;
  }
}

// Null samples stop the sound that plays and play nothing.
function playSound(samples, frames, channels, bits, rate) {
  stopPlaying();
  if (!samples || !audio || audio.state !== 'running' || frames < 1)
    return;
  let buffer = decoded.get(samples);
  if (!buffer) {
    try {
      buffer = audioOf(samples, frames, channels, bits, rate);
    } catch (e) {
      return;
    }
    decoded.set(samples, buffer);
  }
  playing = audio.createBufferSource();
  playing.buffer = buffer;
  playing.connect(audio.destination);
  playing.start();
}

// The program lets its sound images go: none is read any more.
function stopSound() {
  stopPlaying();
  decoded.clear();
}

document.addEventListener('pointerdown', openAudio, true);
document.addEventListener('keydown', openAudio, true);
