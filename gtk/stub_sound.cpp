// stub_sound.cpp: TEMPORARY until the sound player lands.
#include "platform.h"
void platform_open_sound() {}
void platform_play_sound(const unsigned char*, long) {}
void platform_stop_sound() {}
