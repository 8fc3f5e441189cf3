// platform.h: what the platform-free heart asks of the front end it runs in. Every front end (the Windows
// program, the GTK program, the tests' fakes) implements each of these.
#pragma once

// ---- Sound: the system's player, playing an in-memory WAV image --------------------------------------

// Finds the system's sound player, once, before the first request.
void platform_open_sound();
// Plays a whole WAV image of length bytes, which the heart has checked to be a plain PCM WAV whose chunks
// all lie inside it, asynchronously, cutting short any sound still playing; null stops the sound that plays
// and plays nothing. The image stays allocated and unchanged until platform_stop_sound.
void platform_play_sound(const unsigned char* image, long length);
// Stops any sound that plays: afterwards no image is read any more.
void platform_stop_sound();
