// paint_test.cpp: what one paint of the main window draws, read from the stand-in's draw log: the board,
// the inverted selection, the preview column, the score, and the objects a paint makes and gives back.
#include "shell_fixture.h"

namespace {

using headless::draw_kind;
using headless::draw_op;

// Bitmap resources per cell value 0..7: the small set, and the large one drawn only at cell size 32.
const int SMALL_PICTURE[8] = {8, 1, 2, 3, 4, 5, 6, 7};
const int LARGE_PICTURE[8] = {16, 9, 10, 11, 12, 13, 14, 15};

// Every value 0..7 somewhere, none in a pattern that only one wrong formula would miss.
void fill_board_with_every_value()
{
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y)
            board[x][y] = (3 * x + 5 * y + x * y) % 8;
}

struct split_paint {
    std::vector<draw_op> board;     // in drawing order
    std::vector<draw_op> preview;
    std::vector<draw_op> text;
};

// Sorts one paint's operations by where they land: the preview column starts at 9 * cs.
split_paint split(const std::vector<draw_op>& ops, int cs)
{
    split_paint parts;
    for (const draw_op& op : ops) {
        if (op.kind == draw_kind::text_out)
            parts.text.push_back(op);
        else if (op.x >= BOARD_SIZE * cs)
            parts.preview.push_back(op);
        else
            parts.board.push_back(op);
    }
    return parts;
}

}  // namespace

class PaintTest : public ShellTest {
protected:
    void start_at_cell_size(int cs) { start_with_prefs("cell_size = " + std::to_string(cs) + "\n"); }

    std::vector<draw_op> paint()
    {
        EXPECT_EQ(BaseMsgProc(MyWindow, WM_PAINT, 0, 0), 0);
        return headless::last_paint();
    }

    // The squares drawn with NOTSRCCOPY, as (column, row).
    std::vector<std::pair<int, int>> inverted_squares()
    {
        std::vector<std::pair<int, int>> squares;
        int cs = cell_size;
        for (const draw_op& op : split(paint(), cs).board)
            if (op.rop == NOTSRCCOPY)
                squares.emplace_back(op.x / cs, (op.y + 1) / cs);
        return squares;
    }
};

// ---- The board and the preview at every kind of cell size ---------------------------------------

namespace {
struct size_case {
    int cs;
    int stretched;        // 0: BitBlt of ready-made pictures; 1: StretchBlt of the small set
    int preview_size;     // side of each preview copy on the screen
    int font_height;
    int score_x;
    int score_y;
};
}  // namespace

class PaintAtSize : public PaintTest, public ::testing::WithParamInterface<size_case> {};

TEST_P(PaintAtSize, EverySquareOnceFromItsPicture)
{
    const size_case& c = GetParam();
    start_at_cell_size(c.cs);
    ASSERT_EQ(cell_size, c.cs);
    fill_board_with_every_value();

    split_paint p = split(paint(), c.cs);

    ASSERT_EQ(p.board.size(), static_cast<size_t>(SQUARES));
    int drawn[BOARD_SIZE][BOARD_SIZE] = {};
    for (const draw_op& op : p.board) {
        // The board sits one pixel high: square (x, y) starts at (x * cs, y * cs - 1).
        ASSERT_EQ(op.x % c.cs, 0);
        ASSERT_EQ((op.y + 1) % c.cs, 0);
        int x = op.x / c.cs;
        int y = (op.y + 1) / c.cs;
        ASSERT_TRUE(x >= 0 && x < BOARD_SIZE && y >= 0 && y < BOARD_SIZE) << op.x << "," << op.y;
        ++drawn[x][y];
        int v = board[x][y];
        SCOPED_TRACE("square " + std::to_string(x) + "," + std::to_string(y) + " value " + std::to_string(v));
        EXPECT_EQ(op.kind, c.stretched ? draw_kind::stretch_blt : draw_kind::bit_blt);
        EXPECT_EQ(op.width, c.cs);
        EXPECT_EQ(op.height, c.cs);
        EXPECT_EQ(op.src_x, 0);
        EXPECT_EQ(op.src_y, 0);
        // Stretching takes the whole small picture.
        EXPECT_EQ(op.src_width, c.stretched ? 16 : c.cs);
        EXPECT_EQ(op.src_height, c.stretched ? 16 : c.cs);
        EXPECT_EQ(op.source_resource, c.cs == 32 ? LARGE_PICTURE[v] : SMALL_PICTURE[v]);
        EXPECT_EQ(op.rop, SRCCOPY);
    }
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y)
            EXPECT_EQ(drawn[x][y], 1) << "square " << x << "," << y;
}

TEST_P(PaintAtSize, PreviewColumnBesideTheTopThreeRows)
{
    const size_case& c = GetParam();
    start_at_cell_size(c.cs);
    next_batch[0] = 7;
    next_batch[1] = 1;
    next_batch[2] = 4;

    split_paint p = split(paint(), c.cs);

    ASSERT_EQ(p.preview.size(), 3u);
    for (int i = 0; i < BATCH_SIZE; ++i) {
        const draw_op& op = p.preview[static_cast<size_t>(i)];
        SCOPED_TRACE("preview slot " + std::to_string(i));
        EXPECT_EQ(op.kind, c.stretched ? draw_kind::stretch_blt : draw_kind::bit_blt);
        EXPECT_EQ(op.x, BOARD_SIZE * c.cs);
        EXPECT_EQ(op.y, i * c.cs - 1);
        EXPECT_EQ(op.width, c.preview_size);
        EXPECT_EQ(op.height, c.preview_size);
        EXPECT_EQ(op.src_x, 0);
        EXPECT_EQ(op.src_y, 0);
        // The grid edges are left out: 15 x 15 of the small picture, or the unscaled copy cut short.
        EXPECT_EQ(op.src_width, c.stretched ? 15 : c.preview_size);
        EXPECT_EQ(op.src_height, c.stretched ? 15 : c.preview_size);
        int kind = next_batch[i];
        EXPECT_EQ(op.source_resource, c.cs == 32 ? LARGE_PICTURE[kind] : SMALL_PICTURE[kind]);
        EXPECT_EQ(op.rop, SRCCOPY);
    }
}

TEST_P(PaintAtSize, ScoreCentredLeftOfTheButtonInTheFontForTheSize)
{
    const size_case& c = GetParam();
    start_at_cell_size(c.cs);
    current_score = 0;

    split_paint p = split(paint(), c.cs);

    ASSERT_EQ(p.text.size(), 1u);
    const draw_op& op = p.text[0];
    EXPECT_EQ(op.text, "0");
    EXPECT_EQ(op.x, c.score_x);
    EXPECT_EQ(op.y, c.score_y);
    EXPECT_EQ(op.align, static_cast<UINT>(TA_CENTER));
    EXPECT_EQ(op.logfont.lfHeight, c.font_height);
    EXPECT_EQ(lf.lfHeight, c.font_height) << "the record keeps the last height";
}

INSTANTIATE_TEST_SUITE_P(
    CellSizes, PaintAtSize,
    ::testing::Values(size_case{16, 0, 15, -13, 32, 148}, size_case{32, 0, 30, -26, 104, 292},
                      size_case{24, 1, 24, -26, 68, 220}, size_case{23, 1, 23, -13, 63, 211},
                      size_case{25, 1, 25, -26, 72, 229}, size_case{8, 1, 8, -13, -4, 76},
                      // (9 - 80) / 2 truncates toward zero.
                      size_case{1, 1, 1, -13, -35, 13}, size_case{256, 1, 256, -26, 1112, 2308}),
    [](const ::testing::TestParamInfo<size_case>& info) { return "cs" + std::to_string(info.param.cs); });

// ---- The selection ------------------------------------------------------------------------------

namespace {
struct selection_case {
    int cs;
    int hx, hy;
};
}  // namespace

class PaintSelection : public PaintTest, public ::testing::WithParamInterface<selection_case> {};

TEST_P(PaintSelection, OnlyTheSelectedSquareIsInverted)
{
    const selection_case& c = GetParam();
    start_at_cell_size(c.cs);
    fill_board_with_every_value();
    hilite_x = c.hx;
    hilite_y = c.hy;

    std::vector<std::pair<int, int>> expected;
    if (c.hx != NO_SELECTION)
        expected.emplace_back(c.hx, c.hy);
    EXPECT_EQ(inverted_squares(), expected);
}

// Without a selection nothing is inverted: PaintAtSize checks every square's copy mode.
INSTANTIATE_TEST_SUITE_P(Squares, PaintSelection,
                         ::testing::Values(selection_case{16, 3, 5}, selection_case{16, 5, 3}, selection_case{16, 0, 0},
                                           selection_case{16, 8, 8}, selection_case{16, 0, 8}, selection_case{32, 8, 0},
                                           selection_case{24, 4, 4}));

TEST_F(PaintTest, ClickedPieceShowsInvertedUntilTheSelectionIsCleared)
{
    start_with(rows_from_top({"1........", ".........", ".........", ".........", "....2...."}));

    click_square(4, 4);
    EXPECT_EQ(inverted_squares(), (std::vector<std::pair<int, int>>{{4, 4}}));
    // A click below the board clears the selection.
    click(10, BOARD_SIZE * cell_size + 10);
    EXPECT_TRUE(inverted_squares().empty());
}

// ---- Preview switch -----------------------------------------------------------------------------

namespace {
struct preview_case {
    int cs;
    int display_preview;
    size_t copies;
};
}  // namespace

class PaintPreviewSwitch : public PaintTest, public ::testing::WithParamInterface<preview_case> {};

TEST_P(PaintPreviewSwitch, NothingRightOfTheBoardWhenOff)
{
    const preview_case& c = GetParam();
    start_with_prefs("cell_size = " + std::to_string(c.cs) + "\ndisplay_preview = " +
                     std::to_string(c.display_preview) + "\n");

    std::vector<draw_op> ops = paint();
    split_paint p = split(ops, c.cs);
    EXPECT_EQ(p.preview.size(), c.copies);
    EXPECT_EQ(p.board.size(), static_cast<size_t>(SQUARES));
    EXPECT_EQ(p.text.size(), 1u);
    EXPECT_EQ(ops.size(), SQUARES + c.copies + 1);
}

INSTANTIATE_TEST_SUITE_P(Values, PaintPreviewSwitch,
                         ::testing::Values(preview_case{16, 0, 0}, preview_case{32, 0, 0}, preview_case{24, 0, 0},
                                           // Any non-zero value counts as on; PaintAtSize has the 1.
                                           preview_case{16, 5, 3}, preview_case{16, -1, 3}));

// ---- The score ----------------------------------------------------------------------------------

namespace {
struct score_case {
    int cs;
    int score;
    const char* text;
    int x, y;
};
}  // namespace

class PaintScore : public PaintTest, public ::testing::WithParamInterface<score_case> {};

// TA_CENTER keeps every length centred on the same point.
TEST_P(PaintScore, WholeNumberCentredOnTheSamePoint)
{
    const score_case& c = GetParam();
    start_at_cell_size(c.cs);
    current_score = c.score;

    split_paint p = split(paint(), c.cs);
    ASSERT_EQ(p.text.size(), 1u);
    EXPECT_EQ(p.text[0].text, c.text);
    EXPECT_EQ(p.text[0].x, c.x);
    EXPECT_EQ(p.text[0].y, c.y);
    EXPECT_EQ(p.text[0].align, static_cast<UINT>(TA_CENTER));
}

// PaintAtSize has the score 0 at every size.
INSTANTIATE_TEST_SUITE_P(Scores, PaintScore,
                         ::testing::Values(score_case{16, 7, "7", 32, 148}, score_case{16, 1234, "1234", 32, 148},
                                           score_case{16, 2147483647, "2147483647", 32, 148},
                                           score_case{16, -42, "-42", 32, 148},
                                           score_case{32, 98765, "98765", 104, 292}));

TEST_F(PaintTest, ScoreFontIsTheProgramsRecord)
{
    start();

    split_paint p = split(paint(), cell_size);
    ASSERT_EQ(p.text.size(), 1u);
    const LOGFONTA& f = p.text[0].logfont;
    EXPECT_EQ(f.lfHeight, -13);
    EXPECT_EQ(f.lfWidth, 0);
    EXPECT_EQ(f.lfEscapement, 0);
    EXPECT_EQ(f.lfOrientation, 0);
    EXPECT_EQ(f.lfWeight, 400);
    EXPECT_EQ(f.lfItalic, 0);
    EXPECT_EQ(f.lfUnderline, 0);
    EXPECT_EQ(f.lfStrikeOut, 0);
    EXPECT_EQ(f.lfCharSet, 0);
    EXPECT_EQ(f.lfOutPrecision, 3);
    EXPECT_EQ(f.lfClipPrecision, 2);
    EXPECT_EQ(f.lfQuality, 1);
    EXPECT_EQ(f.lfPitchAndFamily, 0x22);
    EXPECT_STREQ(f.lfFaceName, "");
    // Drawn in a font of its own, not the context's default.
    const headless::gdi_object* font = headless::object(p.text[0].font);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->stock, 0);
}

// ---- What one paint makes and gives back --------------------------------------------------------

TEST_F(PaintTest, EachPaintMakesOneMemoryContextAndOneFontAndGivesEverythingBack)
{
    start_with_prefs("cell_size = 32\n");
    hilite_x = 2;
    hilite_y = 6;
    paint();
    cell_size = 24;  // the stretching path selects and restores the same way
    paint();
    display_preview = 0;
    paint();

    ASSERT_EQ(headless::paints(), 4);  // the first from start-up
    for (int p = 1; p <= headless::paints(); ++p) {
        SCOPED_TRACE("paint " + std::to_string(p));
        int memory_dcs = 0;
        int fonts = 0;
        int paint_dcs = 0;
        for (const headless::gdi_object& o : headless::objects()) {
            if (o.created_in_paint != p)
                continue;
            switch (o.kind) {
            case headless::object_kind::memory_dc:
                ++memory_dcs;
                EXPECT_EQ(o.deletes, 1);
                EXPECT_EQ(o.alive, 0);
                // The bitmap it was made with is back in it: no picture stays selected.
                ASSERT_NE(headless::object(o.selected_bitmap), nullptr);
                EXPECT_EQ(headless::object(o.selected_bitmap)->stock, 1);
                break;
            case headless::object_kind::font:
                ++fonts;
                EXPECT_EQ(o.deletes, 1);
                EXPECT_EQ(o.alive, 0);
                break;
            case headless::object_kind::paint_dc:
                ++paint_dcs;
                EXPECT_EQ(o.alive, 0) << "EndPaint ran";
                ASSERT_NE(headless::object(o.selected_font), nullptr);
                EXPECT_EQ(headless::object(o.selected_font)->stock, 1) << "the context's own font is back";
                break;
            default:
                ADD_FAILURE() << "a paint made an object of kind " << static_cast<int>(o.kind);
            }
        }
        EXPECT_EQ(memory_dcs, 1);
        EXPECT_EQ(fonts, 1);
        EXPECT_EQ(paint_dcs, 1);
    }
    EXPECT_EQ(headless::live_count(headless::object_kind::font), 0);
    EXPECT_EQ(headless::live_count(headless::object_kind::memory_dc), 0);
    EXPECT_EQ(headless::live_count(headless::object_kind::bitmap), 16) << "the pictures stay loaded";
    EXPECT_TRUE(headless::misuses().empty());
}

TEST_F(PaintTest, PaintChangesNoGameState)
{
    start_with({"1.......7", ".........", "..3......", ".........", "....2....", ".........", ".........",
                ".....6...", "4.......5"},
               77);
    hilite_x = 4;
    hilite_y = 4;
    std::vector<std::string> rows = board_rows();
    const size_t invalidations = headless::invalidations().size();

    paint();

    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(next_batch[0], 1);
    EXPECT_EQ(next_batch[1], 2);
    EXPECT_EQ(next_batch[2], 3);
    EXPECT_EQ(current_score, 77);
    EXPECT_EQ(hilite_x, 4);
    EXPECT_EQ(hilite_y, 4);
    EXPECT_EQ(cell_size, 16);
    EXPECT_EQ(display_preview, 1);
    EXPECT_EQ(headless::invalidations().size(), invalidations);
    EXPECT_TRUE(headless::sounds().empty());
}

TEST_F(PaintTest, RepaintAfterATickDrawsTheWholeWindowAgain)
{
    start();
    const int before = headless::paints();

    // A tick asks for a repaint without erasing, so every square has to be drawn again.
    tick();
    ASSERT_TRUE(UpdateWindow(MyWindow));

    EXPECT_EQ(headless::paints(), before + 1);
    EXPECT_EQ(headless::last_paint().size(), static_cast<size_t>(SQUARES + BATCH_SIZE + 1));
    EXPECT_TRUE(headless::misuses().empty());
}
