// wav_image.cpp: the check a sound file's image passes before the platform may play it from memory, and
// the format and samples that a player takes from it.
#include "wav_image.h"

namespace {

constexpr unsigned long RIFF_HEADER = 8;   // "RIFF" and the size of the rest
constexpr unsigned long WAVE_HEADER = 12;  // ... and "WAVE"
constexpr unsigned long CHUNK_HEADER = 8;  // four letters and a little-endian size
constexpr unsigned long PCM_FORMAT_SIZE = 16;

constexpr unsigned int FORMAT_PCM = 1;
constexpr unsigned long MIN_RATE = 8000;
constexpr unsigned long MAX_RATE = 192000;

unsigned long le16(const unsigned char *p)
{
    return static_cast<unsigned long>(p[0]) | static_cast<unsigned long>(p[1]) << 8;
}

unsigned long le32(const unsigned char *p)
{
    return le16(p) | le16(p + 2) << 16;
}

int is_tag(const unsigned char *p, const char *tag)
{
    return p[0] == tag[0] && p[1] == tag[1] && p[2] == tag[2] && p[3] == tag[3];
}

// The platform plays what the format describes: plain PCM it can step through block by block. Its
// channels, bits and rate go into *pcm when it can.
int read_playable_format(const unsigned char *fmt, unsigned long size, wav_pcm *pcm)
{
    if (size < PCM_FORMAT_SIZE)
        return 0;
    const unsigned long format = le16(fmt);
    const unsigned long channels = le16(fmt + 2);
    const unsigned long rate = le32(fmt + 4);
    const unsigned long byte_rate = le32(fmt + 8);
    const unsigned long block_align = le16(fmt + 12);
    const unsigned long bits = le16(fmt + 14);
    if (format != FORMAT_PCM || (channels != 1 && channels != 2) || (bits != 8 && bits != 16))
        return 0;
    if (rate < MIN_RATE || rate > MAX_RATE)
        return 0;
    if (block_align != channels * bits / 8 || byte_rate != rate * block_align)
        return 0;
    pcm->channels = static_cast<int>(channels);
    pcm->bits = static_cast<int>(bits);
    pcm->rate = static_cast<int>(rate);
    return 1;
}

}  // namespace

int read_wav_pcm(const unsigned char *image, long length, wav_pcm *pcm)
{
    if (image == nullptr || length < static_cast<long>(WAVE_HEADER))
        return 0;
    if (!is_tag(image, "RIFF") || !is_tag(image + 8, "WAVE"))
        return 0;
    // Sizes are read as 32-bit values and added in 64 bits, so no claim can wrap around.
    const unsigned long long riff_end = RIFF_HEADER + static_cast<unsigned long long>(le32(image + 4));
    if (riff_end > static_cast<unsigned long long>(length))
        return 0;

    int formats = 0;
    int data_chunks = 0;
    wav_pcm found = {};
    unsigned long long pos = WAVE_HEADER;
    while (pos < riff_end) {
        if (riff_end - pos < CHUNK_HEADER)
            return 0;
        const unsigned char *chunk = image + pos;
        const unsigned long long size = le32(chunk + 4);
        const unsigned long long body = pos + CHUNK_HEADER;
        if (size > riff_end - body)
            return 0;
        if (is_tag(chunk, "fmt ")) {
            // A second description, or one after the samples, leaves the player guessing.
            if (formats > 0 || data_chunks > 0 ||
                !read_playable_format(image + body, static_cast<unsigned long>(size), &found))
                return 0;
            formats++;
        } else if (is_tag(chunk, "data")) {
            if (formats == 0 || data_chunks > 0)
                return 0;
            data_chunks++;
            found.samples = image + body;
            found.frames = static_cast<long>(size / static_cast<unsigned>(found.channels * found.bits / 8));
        }
        // An odd-sized chunk is followed by a pad byte; the last one may go without it.
        pos = body + size + (size & 1);
    }
    if (formats != 1 || data_chunks != 1)
        return 0;
    *pcm = found;
    return 1;
}

int is_playable_wav(const unsigned char *image, long length)
{
    wav_pcm pcm;
    return read_wav_pcm(image, length, &pcm);
}
