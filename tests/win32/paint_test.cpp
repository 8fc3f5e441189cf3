// paint_test.cpp: what the program paints, read back pixel by pixel. It paints into a memory device context
// over a DIB section, white as the window's background is: every square from its picture, one pixel high, the
// selected one inverted, the preview column without grid lines, and the score centred left of the button.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "layout.h"
#include "win32/program_fixture.h"

namespace {

// Bitmap resources per cell value 0..7: the small set, and the large one drawn only at cell size 32.
const int SMALL_PICTURE[8] = {8, 1, 2, 3, 4, 5, 6, 7};
const int LARGE_PICTURE[8] = {16, 9, 10, 11, 12, 13, 14, 15};

const uint32_t WHITE = 0xFFFFFF;

// Pixels as 0xRRGGBB, row by row from the top.
struct image {
    int width, height;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)] & WHITE; }
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; }
};

BITMAPINFO top_down_32_bits(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A picture of the program's resources, as the system loads it.
image picture(int resource)
{
    HBITMAP bitmap = LoadBitmapA(instance(), MAKEINTRESOURCEA(resource));
    BITMAP bm = {};
    GetObjectA(bitmap, sizeof bm, &bm);
    image p{bm.bmWidth, bm.bmHeight, std::vector<uint32_t>(static_cast<size_t>(bm.bmWidth * bm.bmHeight))};
    BITMAPINFO info = top_down_32_bits(p.width, p.height);
    HDC screen = GetDC(NULL);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(p.height), p.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    DeleteObject(bitmap);
    return p;
}

const image& picture_of(int value)
{
    static std::vector<image> loaded;
    if (loaded.empty())
        for (int resource = 1; resource <= PICTURES; ++resource)
            loaded.push_back(picture(resource));
    return loaded[static_cast<size_t>((cell_size == 32 ? LARGE_PICTURE : SMALL_PICTURE)[value] - 1)];
}

// The board, the preview column and the score strip beside and under them, as the program paints them.
image painted()
{
    const int width = (BOARD_SIZE + 1) * cell_size + 8, height = BOARD_SIZE * cell_size + SCORE_STRIP;
    BITMAPINFO info = top_down_32_bits(width, height);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ previous = SelectObject(dc, dib);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    paint_client(dc);
    GdiFlush();
    const uint32_t* first = static_cast<const uint32_t*>(bits);
    image shown{width, height, std::vector<uint32_t>(first, first + width * height)};
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(dib);
    return shown;
}

// The top-left w x h pixels of p at (left, top), inverted when asked, as far as they fall on the image.
void put(image& on, const image& p, int left, int top, int w, int h, int invert)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (left + x >= 0 && left + x < on.width && top + y >= 0 && top + y < on.height)
                on.at(left + x, top + y) = invert ? p.at(x, y) ^ WHITE : p.at(x, y);
}

// What the board and the preview must look like, square (sx, sy) selected, for pictures drawn unscaled.
image expected_board(const image& like, int sx, int sy)
{
    image e{like.width, like.height, std::vector<uint32_t>(like.pixels.size(), WHITE)};
    const int cs = cell_size;
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y)
            put(e, picture_of(board[x][y]), x * cs, y * cs - 1, cs, cs, x == sx && y == sy);
    // The preview's pictures stand without their grid lines.
    for (int i = 0; i < BATCH_SIZE && display_preview; ++i)
        put(e, picture_of(next_batch[i]), BOARD_SIZE * cs, i * cs - 1, cs - cs / 16, cs - cs / 16, 0);
    return e;
}

// The board and the preview column: everything above the score strip.
void expect_board_as(const image& shown, const image& expected)
{
    int wrong = 0;
    for (int y = 0; y < BOARD_SIZE * cell_size - 1; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (shown.at(x, y) != expected.at(x, y) && wrong++ == 0)
                ADD_FAILURE() << "first wrong pixel at (" << x << ", " << y << "): " << std::hex << shown.at(x, y)
                              << " instead of " << expected.at(x, y);
    EXPECT_EQ(wrong, 0) << "pixels drawn wrong";
}

// Where the score's dark pixels are in the strip under the board: left, top, right, bottom.
RECT score_box(const image& shown)
{
    RECT box = {shown.width, shown.height, -1, -1};
    for (int y = BOARD_SIZE * cell_size - 1; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            const uint32_t p = shown.at(x, y);
            if ((p & 0xFF) + ((p >> 8) & 0xFF) + (p >> 16) < 384) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x);
                box.bottom = std::max<LONG>(box.bottom, y);
            }
        }
    return box;
}

// The score: centred on a point halfway along the board left of the button, 4 pixels under the board, in a font
// twice as tall from cell size 24 on.
void expect_score(const image& shown, const std::string& text, int big)
{
    const RECT box = score_box(shown);
    ASSERT_GE(box.right, box.left) << "no score drawn";
    EXPECT_NEAR(box.left + box.right + 1, BOARD_SIZE * cell_size - BUTTON_WIDTH, 4) << "not centred";
    EXPECT_NEAR(box.top, BOARD_SIZE * cell_size + 4 + (big ? 6 : 2), 2) << "the digits' tops under the text's top";
    EXPECT_NEAR(box.bottom - box.top + 1, big ? 18 : 10, big ? 3 : 2) << "the font's size";
    EXPECT_GE(box.right - box.left + 1, static_cast<LONG>(text.size()) * (big ? 10 : 5)) << "too narrow for " << text;
}

// Every value 0..7 somewhere, none in a pattern that only one wrong formula would miss.
void fill_board_with_every_value()
{
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y)
            board[x][y] = (3 * x + 5 * y + x * y) % 8;
}

struct paint_case {
    const char* name;
    int cs, preview;
    int hx, hy;  // the selection
    int score;
    const char* text;
};

}  // namespace

class PaintAtSize : public ProgramTest, public ::testing::WithParamInterface<paint_case> {};

TEST_P(PaintAtSize, DrawsTheBoardTheSelectionThePreviewAndTheScore)
{
    const paint_case& c = GetParam();
    start_with_prefs("cell_size = " + std::to_string(c.cs) + "\ndisplay_preview = " + std::to_string(c.preview) +
                     "\n");
    ASSERT_EQ(cell_size, c.cs);
    fill_board_with_every_value();
    next_batch[0] = 7;
    next_batch[1] = 1;
    next_batch[2] = 4;
    hilite_x = c.hx;
    hilite_y = c.hy;
    current_score = c.score;
    const std::vector<std::string> rows = board_rows();
    ValidateRect(MyWindow, NULL);

    const image shown = painted();

    expect_board_as(shown, expected_board(shown, c.hx, c.hy));
    expect_score(shown, c.text, c.cs == 32);
    // Painting changes nothing and asks for nothing.
    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(current_score, c.score);
    EXPECT_EQ(selection(), std::make_pair(c.hx, c.hy));
    EXPECT_FALSE(GetUpdateRect(MyWindow, NULL, FALSE));
}

// Any preview setting but 0 shows the preview.
INSTANTIATE_TEST_SUITE_P(
    Sizes, PaintAtSize,
    ::testing::Values(paint_case{"little_board", 16, 1, 3, 5, 7, "7"},
                      paint_case{"little_board_selected_across", 16, 1, 5, 3, 1234, "1234"},
                      paint_case{"big_board", 32, 1, 8, 0, 98765, "98765"},
                      paint_case{"little_board_alone", 16, 0, NO_SELECTION, NO_SELECTION, 2147483647, "2147483647"},
                      paint_case{"big_board_alone", 32, 0, 0, 8, -42, "-42"},
                      paint_case{"little_board_any_preview_but_0", 16, -1, 0, 0, 0, "0"}),
    [](const ::testing::TestParamInfo<paint_case>& info) { return std::string(info.param.name); });

class PaintStretched : public ProgramTest, public ::testing::WithParamInterface<int> {};

// A size only a hand-edited prefs.txt gives stretches the small set: each square and preview piece shows its
// picture's middle in its middle.
TEST_P(PaintStretched, ShowsEachPicturesMiddleInTheMiddleAndTheScore)
{
    const int cs = GetParam();
    start_with_prefs("cell_size = " + std::to_string(cs) + "\n");
    fill_board_with_every_value();
    next_batch[0] = 7;
    next_batch[1] = 1;
    next_batch[2] = 4;

    const image shown = painted();

    auto middle_of = [](const image& p, uint32_t seen) {
        for (int y = 7; y <= 8; ++y)
            for (int x = 7; x <= 8; ++x)
                if (p.at(x, y) == seen)
                    return true;
        return false;
    };
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y)
            EXPECT_TRUE(middle_of(picture_of(board[x][y]), shown.at(x * cs + cs / 2, y * cs - 1 + cs / 2)))
                << "square " << x << "," << y;
    for (int i = 0; i < BATCH_SIZE; ++i)
        EXPECT_TRUE(middle_of(picture_of(next_batch[i]), shown.at(BOARD_SIZE * cs + cs / 2, i * cs - 1 + cs / 2)))
            << "preview " << i;
    expect_score(shown, "0", cs >= 24);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PaintStretched, ::testing::Values(23, 24));

using PaintTest = ProgramTest;

TEST_F(PaintTest, ClickedPieceShowsInvertedUntilTheSelectionIsCleared)
{
    start_with(rows_from_top({"1........", ".........", ".........", ".........", "....2...."}));

    click_square(4, 4);
    const image selected = painted();
    expect_board_as(selected, expected_board(selected, 4, 4));
    // A click below the board clears the selection.
    click(10, BOARD_SIZE * cell_size + 10);
    const image cleared = painted();
    expect_board_as(cleared, expected_board(cleared, NO_SELECTION, NO_SELECTION));
}
