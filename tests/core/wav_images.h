// wav_images.h: WAV file images built chunk by chunk, for the suites that load or check sounds.
#pragma once

#include <string>

inline std::string le16(unsigned int v)
{
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

inline std::string le32(unsigned int v)
{
    return le16(v & 0xFFFF) + le16(v >> 16);
}

// A chunk with its size, and the pad byte that follows an odd-sized body.
inline std::string chunk(const std::string &tag, const std::string &body)
{
    return tag + le32(static_cast<unsigned int>(body.size())) + body + (body.size() % 2 ? std::string(1, '\0') : "");
}

// The 16 bytes of a format description, every field as given.
inline std::string fmt_body(unsigned int format, unsigned int channels, unsigned int rate, unsigned int byte_rate,
                            unsigned int block_align, unsigned int bits)
{
    return le16(format) + le16(channels) + le32(rate) + le32(byte_rate) + le16(block_align) + le16(bits);
}

// A PCM format description whose block align and byte rate agree with the rest.
inline std::string pcm_fmt(unsigned int channels, unsigned int bits, unsigned int rate = 8000)
{
    const unsigned int align = channels * bits / 8;
    return chunk("fmt ", fmt_body(1, channels, rate, rate * align, align, bits));
}

// "RIFF", the size of the rest, "WAVE" and the chunks.
inline std::string riff(const std::string &chunks)
{
    return "RIFF" + le32(static_cast<unsigned int>(4 + chunks.size())) + "WAVE" + chunks;
}

// A complete PCM WAV image holding the given sample bytes.
inline std::string pcm_wav(const std::string &samples, unsigned int channels = 1, unsigned int bits = 8)
{
    return riff(pcm_fmt(channels, bits) + chunk("data", samples));
}
