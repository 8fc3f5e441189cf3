// wav_image.h: whether a sound file's image is a WAV the platform can play without reading past its end,
// and where its format and samples are.
#pragma once

// What a player needs of a playable image: samples are little-endian, unsigned at 8 bits and signed at 16,
// the channels of one frame side by side.
struct wav_pcm {
    int channels;                  // 1 or 2
    int bits;                      // 8 or 16
    int rate;                      // frames a second
    const unsigned char *samples;  // the "data" chunk's body, inside the image
    long frames;                   // whole frames in it; a partial last frame is left out
};

// 1 when image (length bytes) is a RIFF/WAVE whose every chunk lies inside it, with one PCM "fmt "
// chunk (1 or 2 channels, 8 or 16 bits, 8,000 to 192,000 samples a second, consistent block align
// and byte rate) before one "data" chunk; else 0.
int is_playable_wav(const unsigned char *image, long length);
// 1 and *pcm filled in when is_playable_wav accepts the image; else 0.
int read_wav_pcm(const unsigned char *image, long length, wav_pcm *pcm);
