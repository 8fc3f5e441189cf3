// sound_player.cpp: the system's sound player, sndPlaySoundA from the system folder's winmm.dll.
#include "sound_player.h"

#include <mmsystem.h>

#include <cstring>

#include "platform.h"

namespace {

constexpr UINT PLAY_FLAGS = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;

// winmm.dll is not among the DLLs that Windows always takes from its own folder: imported, the first one
// found would be used, one beside the program before the system's. So it is loaded by its full path in the
// system folder, and the DLLs it needs are looked for there too.
sound_player find_player()
{
    const char file[] = "\\winmm.dll";
    char path[MAX_PATH + sizeof file];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    std::memcpy(path + length, file, sizeof file);
    HMODULE winmm = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (winmm == NULL)
        return nullptr;
    // FARPROC stands for any entry point; the one asked for has this type.
    return reinterpret_cast<sound_player>(reinterpret_cast<void (*)()>(GetProcAddress(winmm, "sndPlaySoundA")));
}

}  // namespace

sound_player system_sound_player = nullptr;

void platform_open_sound()
{
    system_sound_player = find_player();
}

void platform_play_sound(const unsigned char *image, long length)
{
    // The image says its own length, which the system's player reads.
    (void)length;
    if (system_sound_player != nullptr)
        system_sound_player(reinterpret_cast<LPCSTR>(image), PLAY_FLAGS);
}

void platform_stop_sound()
{
    if (system_sound_player != nullptr)
        system_sound_player(nullptr, 0);
}
