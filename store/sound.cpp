// sound.cpp: the six sound effects, read whole into memory at start-up and handed to the system's player to
// play from there.
#include "sound.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "prefs.h"
#include "wav_image.h"

unsigned char *wavbuffer[SOUND_SLOTS];

namespace {

constexpr UINT PLAY_FLAGS = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;

typedef BOOL(WINAPI *sound_player)(LPCSTR, UINT);

// sndPlaySoundA, or null when the system has none to give: then every request plays nothing.
sound_player player = nullptr;

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

// The whole file as one block, or null when it cannot be read in full or is not a WAV the platform
// can play safely: the platform walks the image's chunks by the sizes they claim.
unsigned char *load_image(const char *name)
{
    FILE *f = std::fopen(name, "rb");
    if (f == nullptr)
        return nullptr;
    unsigned char *image = nullptr;
    long length = -1;
    // A folder opens like a file on some systems and then measures as the largest
    // possible length; it fails its first read, so try one before measuring.
    if (std::fgetc(f) != EOF && std::fseek(f, 0, SEEK_END) == 0)
        length = std::ftell(f);
    if (length > 0 && std::fseek(f, 0, SEEK_SET) == 0)
        image = static_cast<unsigned char *>(std::malloc(static_cast<size_t>(length)));
    if (image != nullptr) {
        const size_t n = std::fread(image, 1, static_cast<size_t>(length), f);
        // A short read leaves part of the block without file data: better no sound than noise.
        if (n < static_cast<size_t>(length) || !is_playable_wav(image, length)) {
            std::free(image);
            image = nullptr;
        }
    }
    std::fclose(f);
    return image;
}

}  // namespace

int LoadSounds()
{
    player = find_player();
    for (int slot = 0; slot < SOUND_SLOTS; slot++)
        wavbuffer[slot] = load_image(sound_name[slot]);
    return 1;
}

void play_sound(int slot)
{
    if (slot < 0 || slot >= SOUND_SLOTS || sound_enabled == 0 || player == nullptr)
        return;
    // An empty slot passes null, which stops whatever is playing.
    player(reinterpret_cast<LPCSTR>(wavbuffer[slot]), PLAY_FLAGS);
}

void release_sounds()
{
    // No image may be freed while the platform is still playing from it.
    if (player != nullptr)
        player(nullptr, 0);
    for (int slot = 0; slot < SOUND_SLOTS; slot++) {
        std::free(wavbuffer[slot]);
        wavbuffer[slot] = nullptr;
    }
}
