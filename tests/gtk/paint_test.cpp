// paint_test.cpp: the GTK painter drawn offscreen and read back pixel by pixel: every board square and preview
// slot against the pictures read straight from res/bitmaps, the selected square inverted, white wherever
// nothing is drawn, and the score's place.
#include <cairo.h>
#include <gtest/gtest.h>
#include <stdint.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "board.h"
#include "board_picture.h"
#include "common/files.h"
#include "paint.h"
#include "prefs.h"

// The selection belongs to the turn; the painter only reads it.
int hilite_x = 9;
int hilite_y = 9;

// Fontconfig, under Pango, keeps its caches to the end of the process without freeing them.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace {

typedef std::vector<unsigned char> Bytes;

const uint32_t WHITE = 0xFFFFFF;

// Which column (and row) of the small picture each of the 24 pixels of a square takes at cell size 24, as
// the Windows program draws it under Wine: the whole picture on the board, its top-left 15 x 15 in the
// preview. Measured from its window, where the painter differs in no pixel.
const int FROM_16_TO_24[24] = {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7, 8, 8, 9, 10, 10, 11, 12, 12, 13, 14, 14, 15};
const int FROM_15_TO_24[24] = {0, 0, 1, 2, 2, 3, 4, 4, 5, 5, 6, 7, 7, 8, 9, 9, 10, 10, 11, 12, 12, 13, 14, 14};

uint32_t le32(const Bytes& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}

// A picture file's pixels as 0xRRGGBB, top row first, found through the offsets its headers give.
struct picture_pixels {
    int side = 0;
    std::vector<uint32_t> rgb;
};

picture_pixels read_picture(int number)
{
    Bytes b = bitmap_file(number);
    picture_pixels p;
    if (b.size() < 54)
        return p;
    uint32_t pixels = le32(b, 10);
    uint32_t table = 14 + le32(b, 14);
    p.side = (int)le32(b, 18);
    size_t row = (p.side + 3) / 4 * 4;
    for (int y = 0; y < p.side; ++y)
        for (int x = 0; x < p.side; ++x) {
            size_t colour = table + 4 * b.at(pixels + (p.side - 1 - y) * row + x);
            p.rgb.push_back(b.at(colour + 2) << 16 | b.at(colour + 1) << 8 | b.at(colour));
        }
    return p;
}

picture_pixels small_set[8];
picture_pixels large_set[8];

// What pixel (px, py) of a square shows, counted from the square's top-left corner.
uint32_t expected_pixel(int value, int cs, int preview, int px, int py)
{
    const picture_pixels& p = cs == 32 ? large_set[value] : small_set[value];
    if (cs == 24) {
        const int* map = preview ? FROM_15_TO_24 : FROM_16_TO_24;
        px = map[px];
        py = map[py];
    }
    return p.rgb.at(py * p.side + px);
}

struct canvas {
    cairo_surface_t* surface;
    int width, height;
    uint32_t at(int x, int y) const
    {
        const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        return ((const uint32_t*)row)[x] & 0xFFFFFF;
    }
};

// One paint into an image a column and a few pixels larger than the client area, so that drawing outside
// it would show.
canvas paint_offscreen()
{
    int cs = cell_size;
    canvas c;
    c.width = (BOARD_SIZE + 1) * cs + 8;
    c.height = BOARD_SIZE * cs + 33 + 8;
    c.surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, c.width, c.height);
    cairo_t* cr = cairo_create(c.surface);
    cairo_set_source_rgb(cr, 0.5, 0.25, 0.75);  // anything but white: the painter's background must cover it
    cairo_paint(cr);
    paint_client(cr);
    cairo_destroy(cr);
    cairo_surface_flush(c.surface);
    return c;
}

// Every value 0..7 somewhere, none in a pattern that only one wrong formula would miss.
void fill_board_with_every_value()
{
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y)
            board[x][y] = (3 * x + 5 * y + x * y) % 8;
}

}  // namespace

class GtkPaint : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (int v = 0; v < 8; ++v) {
            small_set[v] = read_picture(v == 0 ? 8 : v);
            large_set[v] = read_picture(v == 0 ? 16 : 8 + v);
        }
    }

    void SetUp() override
    {
        ASSERT_EQ(load_pictures(), 1);
        fill_board_with_every_value();
        next_batch[0] = 7;
        next_batch[1] = 1;
        next_batch[2] = 4;
        current_score = 1234;
        hilite_x = hilite_y = 9;
        display_preview = 1;
    }

    void TearDown() override { release_pictures(); }
};

// ---- The board, the selection and the preview ---------------------------------------------------

namespace {
struct client_case {
    int cs;
    int preview;
    int selected;  // square (2, 0), in the row whose top pixel row is cut off
};
}  // namespace

class GtkPaintClient : public GtkPaint, public ::testing::WithParamInterface<client_case> {};

TEST_P(GtkPaintClient, EverySquareFromItsPictureAndWhiteWhereNothingIsDrawn)
{
    const client_case& c = GetParam();
    const int cs = c.cs;
    cell_size = cs;
    display_preview = c.preview;
    if (c.selected) {
        hilite_x = 2;
        hilite_y = 0;
    }
    canvas image = paint_offscreen();

    // The board sits one pixel high: square (x, y) starts at (x * cs, y * cs - 1).
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y) {
            int wrong = 0;
            std::string first;
            uint32_t flip = (x == hilite_x && y == hilite_y) ? WHITE : 0;
            for (int py = 0; py < cs; ++py)
                for (int px = 0; px < cs; ++px) {
                    int sy = y * cs - 1 + py;
                    if (sy < 0)
                        continue;
                    uint32_t want = expected_pixel(board[x][y], cs, 0, px, py) ^ flip;
                    if (image.at(x * cs + px, sy) != want && wrong++ == 0)
                        first = "pixel " + std::to_string(px) + "," + std::to_string(py);
                }
            EXPECT_EQ(wrong, 0) << "square " << x << "," << y << " value " << board[x][y] << ", first at " << first;
        }

    // Beside the board only the preview pieces, cut short of their grid edges (stretched whole otherwise).
    const int side = cs == 24 ? cs : cs - cs / 16;
    int wrong = 0;
    std::string first;
    for (int sy = 0; sy < BOARD_SIZE * cs; ++sy)
        for (int sx = BOARD_SIZE * cs; sx < image.width; ++sx) {
            int px = sx - BOARD_SIZE * cs;
            int slot = (sy + 1) / cs;
            int py = sy + 1 - slot * cs;
            int in_slot = c.preview && slot < BATCH_SIZE && px < side && py < side;
            uint32_t want = in_slot ? expected_pixel(next_batch[slot], cs, 1, px, py) : WHITE;
            if (image.at(sx, sy) != want && wrong++ == 0)
                first = std::to_string(sx) + "," + std::to_string(sy);
        }
    EXPECT_EQ(wrong, 0) << "right of the board, first at " << first;

    for (int sx = 0; sx < BOARD_SIZE * cs; ++sx)
        EXPECT_EQ(image.at(sx, BOARD_SIZE * cs - 1), WHITE) << "under the board at x " << sx;
    // The New Game button is the window's widget: nothing is drawn in its place.
    for (int sy = BOARD_SIZE * cs; sy < image.height; ++sy)
        for (int sx = BOARD_SIZE * cs - 80; sx < image.width; ++sx)
            ASSERT_EQ(image.at(sx, sy), WHITE) << "at " << sx << "," << sy;
    cairo_surface_destroy(image.surface);
}

INSTANTIATE_TEST_SUITE_P(SizesPreviewSelection, GtkPaintClient,
                         ::testing::Values(client_case{16, 1, 0}, client_case{16, 0, 1}, client_case{16, 1, 1},
                                           client_case{32, 1, 1}, client_case{32, 0, 0}, client_case{32, 1, 0},
                                           client_case{24, 1, 1}, client_case{24, 0, 0}, client_case{24, 0, 1}),
                         [](const ::testing::TestParamInfo<client_case>& info) {
                             return "cs" + std::to_string(info.param.cs) + (info.param.preview ? "_preview" : "") +
                                    (info.param.selected ? "_selected" : "");
                         });

// ---- The score ----------------------------------------------------------------------------------

namespace {
struct score_case {
    int cs;
    int score;
    int ink_top;  // the digits' first row under the board, as the Windows program draws them under Wine
};
}  // namespace

class GtkPaintScore : public GtkPaint, public ::testing::WithParamInterface<score_case> {};

// TextOutA centres the text on (9 * cs - 80) / 2 with the top of its character cell at 9 * cs + 4; the digits'
// ink starts a few rows lower. A pixel either way is left to the font's rendering.
TEST_P(GtkPaintScore, CentredLeftOfTheButtonTopLevelWithIt)
{
    const score_case& c = GetParam();
    cell_size = c.cs;
    current_score = c.score;
    canvas image = paint_offscreen();

    int x0 = image.width, x1 = -1, y0 = image.height;
    for (int sy = BOARD_SIZE * c.cs; sy < image.height; ++sy)
        for (int sx = 0; sx < image.width; ++sx)
            if (image.at(sx, sy) != WHITE) {
                x0 = std::min(x0, sx);
                x1 = std::max(x1, sx);
                y0 = std::min(y0, sy);
            }
    ASSERT_GE(x1, 0) << "no score drawn";
    int centre = (BOARD_SIZE * c.cs - 80) / 2;
    EXPECT_NEAR((x0 + x1) / 2.0, centre, 1.0) << "ink from x " << x0 << " to " << x1;
    EXPECT_NEAR(y0, BOARD_SIZE * c.cs + c.ink_top, 1) << "ink from y " << y0;
    cairo_surface_destroy(image.surface);
}

INSTANTIATE_TEST_SUITE_P(Sizes, GtkPaintScore,
                         ::testing::Values(score_case{16, 1234, 6}, score_case{16, 2147483647, 6},
                                           score_case{32, 1234, 10}, score_case{24, 98765, 10}),
                         [](const ::testing::TestParamInfo<score_case>& info) {
                             return "cs" + std::to_string(info.param.cs) + "_" + std::to_string(info.param.score);
                         });
