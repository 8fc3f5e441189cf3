// layout_test.cpp: the client area and the New Game button for every board size and preview setting prefs.txt
// can hold, and sizes kept to what the window calls take.
#include <gtest/gtest.h>

#include <climits>

#include "layout.h"
#include "prefs.h"

namespace {

struct layout_case {
    int cell_size, display_preview;
    int width, framed_width;  // the client's width, and with a frame of 8 pixels added, as a window's
    int height;
    int button_x, button_y;
};

class Layout : public ::testing::TestWithParam<layout_case> {
    void TearDown() override
    {
        cell_size = 16;
        display_preview = 1;
    }
};

TEST_P(Layout, FitsTheBoardPreviewAndScoreStrip)
{
    const layout_case& c = GetParam();
    cell_size = c.cell_size;
    display_preview = c.display_preview;

    EXPECT_EQ(window_extent(client_width()), c.width);
    EXPECT_EQ(window_extent(client_width() + 8), c.framed_width);
    EXPECT_EQ(window_extent(client_height()), c.height);
    EXPECT_EQ(button_x(), c.button_x);
    EXPECT_EQ(button_y(), c.button_y);
}

// The two board sizes of the menu, then sizes and switches that only a hand-edited file gives: any int there
// gives a size from 0 to 32767, with no overflow on the way (the sanitizers watch).
INSTANTIATE_TEST_SUITE_P(
    Settings, Layout,
    ::testing::Values(layout_case{16, 1, 160, 168, 177, 64, 148}, layout_case{16, 0, 144, 152, 177, 64, 148},
                      layout_case{32, 1, 320, 328, 321, 208, 292}, layout_case{32, 0, 288, 296, 321, 208, 292},
                      layout_case{24, 5, 336, 344, 249, 136, 220}, layout_case{17, -1, 136, 144, 186, 73, 157},
                      layout_case{1, 1, 10, 18, 42, -71, 13}, layout_case{256, 0, 2304, 2312, 2337, 2224, 2308},
                      layout_case{16, 2047, 32767, 32767, 177, 64, 148},
                      layout_case{256, INT_MAX, 32767, 32767, 2337, 2224, 2308},
                      layout_case{16, INT_MIN, 0, 0, 177, 64, 148},
                      layout_case{256, INT_MIN, 0, 0, 2337, 2224, 2308},
                      layout_case{16, -9, 0, 8, 177, 64, 148}, layout_case{16, -10, 0, 0, 177, 64, 148}));

}  // namespace
