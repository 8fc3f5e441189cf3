// wav_fuzz.cpp: feeds arbitrary bytes, in memory, to the check that a sound file's image passes before it is played.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "wav_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // No kept image can be shorter than its headers: RIFF, fmt and its 16 bytes, data.
    if (is_playable_wav(data, static_cast<long>(size)) && (size < 44 || std::memcmp(data, "RIFF", 4) != 0))
        std::abort();
    // The samples a player is given lie inside the image, after those headers.
    wav_pcm pcm;
    if (read_wav_pcm(data, static_cast<long>(size), &pcm)) {
        const size_t at = static_cast<size_t>(pcm.samples - data);
        const size_t bytes = static_cast<size_t>(pcm.frames) * static_cast<size_t>(pcm.channels * pcm.bits / 8);
        if (pcm.samples < data + 44 || at > size || bytes > size - at)
            std::abort();
    }
    return 0;
}
