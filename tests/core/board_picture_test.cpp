// board_picture_test.cpp: the picture reader of the heart's painter given damaged files, and the pictures it
// takes into each set.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "board_picture.h"
#include "common/files.h"

namespace {

typedef std::vector<unsigned char> Bytes;

struct damage_case {
    const char* what;
    size_t length;  // bytes kept from the start, 0 for all
    size_t at;      // where the patch goes, with its width in bytes (0: none)
    int width;
    uint32_t value;
    int readable;
};

}  // namespace

class PictureReader : public ::testing::TestWithParam<damage_case> {};

// A damaged picture is refused whole, without reading a byte outside the file (the sanitizers watch).
TEST_P(PictureReader, RefusesDamagedPictures)
{
    const damage_case& c = GetParam();
    Bytes b = bitmap_file(1);  // the first piece kind: colour-table indices 0 to 2
    ASSERT_EQ(b.size(), 14u + 40 + 1024 + 256);
    for (int i = 0; i < c.width; ++i)
        b[c.at + i] = (unsigned char)(c.value >> 8 * i);
    if (c.length != 0)
        b.resize(c.length);
    // A copy of exactly the kept length, so that a read past its end is caught.
    unsigned char* bytes = (unsigned char*)std::malloc(b.size() + 1);
    std::copy(b.begin(), b.end(), bytes);
    int width = 0;
    int height = 0;
    uint32_t* rgb = decode_bmp(bytes, b.size(), &width, &height);
    EXPECT_EQ(rgb != nullptr, c.readable);
    EXPECT_EQ(load_picture(1, bytes, b.size()), c.readable);
    std::free(bytes);
    if (rgb != nullptr) {
        EXPECT_EQ(width, 16);
        EXPECT_EQ(height, 16);
        std::free(rgb);
    }
    release_pictures();
}

INSTANTIATE_TEST_SUITE_P(
    Files, PictureReader,
    ::testing::Values(damage_case{"whole", 0, 0, 0, 0, 1}, damage_case{"one_byte", 1, 0, 0, 0, 0},
                      damage_case{"cut_in_the_headers", 30, 0, 0, 0, 0},
                      damage_case{"cut_in_the_colour_table", 54 + 512, 0, 0, 0, 0},
                      damage_case{"cut_in_the_last_row", 1333, 0, 0, 0, 0},
                      damage_case{"not_a_bitmap", 0, 0, 2, 'B' | 'A' << 8, 0},
                      damage_case{"pixels_past_the_end", 0, 10, 4, 0xFFFFFFF0, 0},
                      damage_case{"pixels_inside_the_colour_table", 0, 10, 4, 60, 0},
                      damage_case{"header_too_small", 0, 14, 4, 12, 0},
                      damage_case{"header_past_the_end", 0, 14, 4, 0x7FFFFFFF, 0},
                      damage_case{"no_width", 0, 18, 4, 0, 0}, damage_case{"huge_width", 0, 18, 4, 0x7FFFFFFF, 0},
                      damage_case{"no_height", 0, 22, 4, 0, 0},
                      damage_case{"top_down", 0, 22, 4, (uint32_t)-16, 0},
                      damage_case{"two_planes", 0, 26, 2, 2, 0}, damage_case{"24_bits", 0, 28, 2, 24, 0},
                      damage_case{"run_length_coded", 0, 30, 4, 1, 0},
                      damage_case{"too_many_colours", 0, 46, 4, 257, 0},
                      damage_case{"index_past_the_colour_table", 0, 46, 4, 2, 0}),
    [](const ::testing::TestParamInfo<damage_case>& info) { return std::string(info.param.what); });

// Each set takes only pictures of its own size, and the painter paints once all sixteen are in.
TEST(PictureSets, EachSlotTakesItsOwnSizeOnly)
{
    for (int slot = 0; slot < PICTURES; ++slot) {
        const Bytes own = bitmap_file(picture_number(slot));
        const Bytes other = bitmap_file(slot < LARGE_SET ? 16 : 8);
        EXPECT_EQ(load_picture(slot, other.data(), other.size()), 0) << "slot " << slot;
        EXPECT_EQ(pictures_loaded(), 0);
        EXPECT_EQ(load_picture(slot, own.data(), own.size()), 1) << "slot " << slot;
    }
    EXPECT_EQ(pictures_loaded(), 1);
    release_pictures();
    EXPECT_EQ(pictures_loaded(), 0);
}
