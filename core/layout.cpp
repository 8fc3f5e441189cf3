// layout.cpp: the client area's layout for the settings.
#include "layout.h"

#include "board.h"
#include "prefs.h"

long long client_width()
{
    return (static_cast<long long>(display_preview) + BOARD_SIZE) * cell_size;
}

long long client_height()
{
    return static_cast<long long>(BOARD_SIZE) * cell_size + SCORE_STRIP;
}

int window_extent(long long pixels)
{
    const long long largest = 32767;
    if (pixels < 0)
        return 0;
    return static_cast<int>(pixels < largest ? pixels : largest);
}

int button_x()
{
    return BOARD_SIZE * cell_size - BUTTON_WIDTH;
}

int button_y()
{
    return BOARD_SIZE * cell_size + 4;
}
