// wav_image.h: whether a sound file's image is a WAV the platform can play without reading past its end.
#pragma once

// 1 when image (length bytes) is a RIFF/WAVE whose every chunk lies inside it, with one PCM "fmt "
// chunk (1 or 2 channels, 8 or 16 bits, 8,000 to 192,000 samples a second, consistent block align
// and byte rate) before one "data" chunk; else 0.
int is_playable_wav(const unsigned char *image, long length);
