// layout.h: the client area's layout for the settings: the board, the preview column, the score strip
// and the New Game button.
#pragma once

constexpr int BUTTON_WIDTH = 80;
constexpr int BUTTON_HEIGHT = 25;
constexpr int SCORE_STRIP = 33;

// The client area's size in pixels; prefs.txt may hold any display_preview, so it is worked out wide.
long long client_width();
long long client_height();
// A size kept to what the window calls take, 0 to 32767 pixels.
int window_extent(long long pixels);
// The New Game button's top-left corner in the client area: right-aligned under the board.
int button_x();
int button_y();
