// paint.h: the GTK program's painter: the sixteen square pictures and the client area drawn from the game state.
#pragma once

#include <cairo.h>

// Decodes the sixteen pictures carried in the program, once at start-up. Returns 1 when all sixteen are
// there; otherwise keeps none and returns 0. release_pictures() of board_picture.h lets them go.
int load_pictures();

// Draws the whole client area from its top-left corner, as the Windows program paints its window: white
// background, the board, the selected square inverted, the preview column, the score. The New Game button
// is a widget of the window's own.
void paint_client(cairo_t* cr);
