// stub_paint.cpp: TEMPORARY until the painter lands.
#include "paint.h"
#include "board.h"
#include "prefs.h"
#include "turn.h"
int load_pictures() { return 1; }
void release_pictures() {}
void paint_client(cairo_t* cr)
{
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    for (int x = 0; x < 9; x++)
        for (int y = 0; y < 9; y++) {
            int v = board[x][y];
            cairo_set_source_rgb(cr, v ? (v * 37 % 255) / 255.0 : 1, v ? 0.3 : 1, v ? 0.6 : 1);
            if (x == hilite_x && y == hilite_y) cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_rectangle(cr, x * cell_size, y * cell_size - 1, cell_size - 1, cell_size - 1);
            cairo_fill(cr);
        }
}
