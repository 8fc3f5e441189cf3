// wav_image_test.cpp: which sound file images are kept for playing and which leave their slot empty, and
// what a player is told of a kept one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>

#include "common/files.h"
#include "core/wav_images.h"
#include "wav_image.h"

namespace {

struct WavCase {
    const char *name;
    std::string image;
    int kept;
};

void PrintTo(const WavCase &c, std::ostream *os)
{
    *os << c.name;
}

class WavImage : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavImage, IsKeptOnlyWhenEveryChunkIsInsideAndTheFormatIsPcm)
{
    const std::string &image = GetParam().image;
    // An exact-size copy, so that the sanitizers see any read past the end.
    unsigned char *copy = static_cast<unsigned char *>(std::malloc(image.size() + 1));
    ASSERT_NE(copy, nullptr);
    image.copy(reinterpret_cast<char *>(copy), image.size());
    EXPECT_EQ(is_playable_wav(copy, static_cast<long>(image.size())), GetParam().kept);
    std::free(copy);
}

const std::string SAMPLES = "abcdefgh";
const std::string DATA = chunk("data", SAMPLES);
const std::string MONO8 = pcm_fmt(1, 8);

INSTANTIATE_TEST_SUITE_P(WavImage, WavImage, ::testing::Values(
    WavCase{"mono_8_bit", pcm_wav(SAMPLES, 1, 8), 1},
    WavCase{"stereo_8_bit", pcm_wav(SAMPLES, 2, 8), 1},
    WavCase{"mono_16_bit", pcm_wav(SAMPLES, 1, 16), 1},
    WavCase{"stereo_16_bit", pcm_wav(SAMPLES, 2, 16), 1},
    WavCase{"odd_chunks_with_pad_bytes", riff(chunk("LIST", "abc") + MONO8 + chunk("data", "abcde") + chunk("note", "x")), 1},
    WavCase{"last_odd_chunk_without_pad_byte", riff(MONO8 + "data" + le32(5) + "abcde"), 1},
    WavCase{"bytes_after_the_riff", pcm_wav(SAMPLES) + "tail", 1},
    WavCase{"highest_rate", riff(pcm_fmt(2, 16, 192000) + DATA), 1},
    WavCase{"longer_format_chunk", riff(chunk("fmt ", fmt_body(1, 1, 8000, 8000, 1, 8) + le16(0)) + DATA), 1},
    // The fault that crashed the sound thread: a format chunk claiming two gigabytes.
    WavCase{"format_chunk_past_end", "RIFF" + le32(16) + "WAVE" + "fmt " + le32(0x7FFFFFF0u) + le32(0), 0},
    WavCase{"data_chunk_past_end", riff(MONO8 + "data" + le32(1000) + SAMPLES), 0},
    WavCase{"riff_size_past_end", pcm_wav(SAMPLES).substr(0, 40), 0},
    WavCase{"chunk_header_cut_short", riff(MONO8 + DATA + "LIS"), 0},
    WavCase{"no_format_chunk", riff(DATA), 0},
    WavCase{"format_after_data", riff(DATA + MONO8), 0},
    WavCase{"two_format_chunks", riff(MONO8 + MONO8 + DATA), 0},
    WavCase{"two_data_chunks", riff(MONO8 + DATA + DATA), 0},
    WavCase{"no_data_chunk", riff(MONO8), 0},
    WavCase{"not_pcm", riff(chunk("fmt ", fmt_body(3, 1, 8000, 32000, 4, 32)) + DATA), 0},
    WavCase{"zero_channels", riff(chunk("fmt ", fmt_body(1, 0, 8000, 0, 0, 8)) + DATA), 0},
    WavCase{"three_channels", riff(chunk("fmt ", fmt_body(1, 3, 8000, 24000, 3, 8)) + DATA), 0},
    WavCase{"24_bits", riff(chunk("fmt ", fmt_body(1, 1, 8000, 24000, 3, 24)) + DATA), 0},
    WavCase{"rate_too_low", riff(pcm_fmt(1, 8, 7999) + DATA), 0},
    WavCase{"rate_too_high", riff(pcm_fmt(1, 8, 192001) + DATA), 0},
    WavCase{"block_align_wrong", riff(chunk("fmt ", fmt_body(1, 2, 8000, 16000, 1, 8)) + DATA), 0},
    WavCase{"byte_rate_wrong", riff(chunk("fmt ", fmt_body(1, 1, 8000, 9000, 1, 8)) + DATA), 0},
    WavCase{"format_chunk_too_short", riff(chunk("fmt ", fmt_body(1, 1, 8000, 8000, 1, 8).substr(0, 14)) + DATA), 0},
    WavCase{"not_wave", "RIFF" + le32(4 + static_cast<unsigned int>(MONO8.size() + DATA.size())) + "AVI " + MONO8 + DATA, 0},
    WavCase{"not_riff", "RIFX" + pcm_wav(SAMPLES).substr(4), 0},
    WavCase{"empty", "", 0}),
    [](const ::testing::TestParamInfo<WavCase> &info) { return std::string(info.param.name); });

struct PcmCase {
    const char *name;
    std::string image;
    int channels;
    int bits;
    int rate;
    long samples_at;  // where the samples start in the image
    long frames;
};

void PrintTo(const PcmCase &c, std::ostream *os)
{
    *os << c.name;
}

class WavPcm : public ::testing::TestWithParam<PcmCase> {};

// What a player is told of a kept image.
TEST_P(WavPcm, GivesTheFormatAndTheWholeFramesOfTheSamples)
{
    const PcmCase &c = GetParam();
    unsigned char *copy = static_cast<unsigned char *>(std::malloc(c.image.size()));
    ASSERT_NE(copy, nullptr);
    c.image.copy(reinterpret_cast<char *>(copy), c.image.size());
    wav_pcm pcm = {};
    ASSERT_EQ(read_wav_pcm(copy, static_cast<long>(c.image.size()), &pcm), 1);
    EXPECT_EQ(pcm.channels, c.channels);
    EXPECT_EQ(pcm.bits, c.bits);
    EXPECT_EQ(pcm.rate, c.rate);
    EXPECT_EQ(pcm.samples, copy + c.samples_at);
    EXPECT_EQ(pcm.frames, c.frames);
    std::free(copy);
}

INSTANTIATE_TEST_SUITE_P(WavPcm, WavPcm, ::testing::Values(
    PcmCase{"mono_8_bit", pcm_wav(SAMPLES, 1, 8), 1, 8, 8000, 44, 8},
    PcmCase{"stereo_16_bit", riff(pcm_fmt(2, 16, 44100) + chunk("data", SAMPLES + "abcd")), 2, 16, 44100, 44, 3},
    PcmCase{"partial_last_frame_left_out", riff(pcm_fmt(2, 8) + chunk("data", "abcde")), 2, 8, 8000, 44, 2},
    PcmCase{"chunks_before_and_between", riff(chunk("LIST", "abc") + MONO8 + chunk("note", "x") + DATA), 1, 8, 8000, 66, 8},
    PcmCase{"no_samples", riff(pcm_fmt(1, 16, 22050) + chunk("data", "")), 1, 16, 22050, 44, 0}),
    [](const ::testing::TestParamInfo<PcmCase> &info) { return std::string(info.param.name); });

// The sounds the program ships with are all kept.
TEST(WavImage, ShippedSoundsAreKept)
{
    const char *source = std::getenv("DOVRA_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "DOVRA_SOURCE_DIR names the source tree";
    std::string folder = std::string(source) + "/res/sounds/";
#ifdef _WIN32
    // Wine shows the Linux root as drive Z:.
    if (folder[0] == '/')
        folder = "Z:" + folder;
#endif
    for (const char *name : {"move.wav", "woops.wav", "drop.wav", "zip.wav", "gameover.wav", "winner.wav"}) {
        const std::string image = read_file(folder + name);
        ASSERT_NE(image, "<missing>") << name;
        EXPECT_EQ(is_playable_wav(reinterpret_cast<const unsigned char *>(image.data()), static_cast<long>(image.size())), 1)
            << name;
    }
}

}  // namespace
