// sound_player.h: the system's sound player, through which the Windows program plays its sounds.
#pragma once

#include <windows.h>

typedef BOOL(WINAPI *sound_player)(LPCSTR, UINT);

// sndPlaySoundA of the system folder's winmm.dll, once platform_open_sound has looked for it; null when the
// system has none to give, and then every request plays nothing.
extern sound_player system_sound_player;
