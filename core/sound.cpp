// sound.cpp: the six sound effects, read whole into memory at start-up and handed to the platform's player
// to play from there.
#include "sound.h"

#include <cstdio>
#include <cstdlib>

#include "platform.h"
#include "prefs.h"
#include "wav_image.h"

unsigned char *wavbuffer[SOUND_SLOTS];
long wavlength[SOUND_SLOTS];
const char *sound_fallback_folder = nullptr;

namespace {

// The whole file as one block, or null when it cannot be read in full or is not a WAV the platform
// can play safely: the platform walks the image's chunks by the sizes they claim.
unsigned char *load_image(const char *name, long *loaded)
{
    *loaded = 0;
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
        } else {
            *loaded = length;
        }
    }
    std::fclose(f);
    return image;
}

// The player's own file in the working folder first, else the one of that name the program came with.
unsigned char *load_sound(const char *name, long *loaded)
{
    unsigned char *image = load_image(name, loaded);
    if (image != nullptr || sound_fallback_folder == nullptr || name[0] == '\0' || name[0] == '/')
        return image;
    char path[2 * SOUND_NAME_LEN];
    const int n = std::snprintf(path, sizeof path, "%s/%s", sound_fallback_folder, name);
    if (n < 0 || n >= static_cast<int>(sizeof path))
        return nullptr;
    return load_image(path, loaded);
}

}  // namespace

int LoadSounds()
{
    platform_open_sound();
    for (int slot = 0; slot < SOUND_SLOTS; slot++)
        wavbuffer[slot] = load_sound(sound_name[slot], &wavlength[slot]);
    return 1;
}

void play_sound(int slot)
{
    if (slot < 0 || slot >= SOUND_SLOTS || sound_enabled == 0)
        return;
    // An empty slot passes null, which stops whatever is playing.
    platform_play_sound(wavbuffer[slot], wavlength[slot]);
}

void release_sounds()
{
    // No image may be freed while the platform is still playing from it.
    platform_stop_sound();
    for (int slot = 0; slot < SOUND_SLOTS; slot++) {
        std::free(wavbuffer[slot]);
        wavbuffer[slot] = nullptr;
        wavlength[slot] = 0;
    }
}
