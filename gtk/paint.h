// paint.h: the GTK program's painter: the sixteen square pictures and the client area drawn from the game state.
#pragma once

#include <cairo.h>
#include <stddef.h>

constexpr int PICTURES = 16;
constexpr int LARGE_SET = 8;

// Decodes the sixteen pictures carried in the program, once at start-up. Returns 1 when all sixteen are
// there; otherwise keeps none and returns 0.
int load_pictures();
void release_pictures();

// Draws the whole client area from its top-left corner, as the Windows program paints its window: white
// background, the board, the selected square inverted, the preview column, the score. The New Game button
// is a widget of the window's own.
void paint_client(cairo_t* cr);

// An uncompressed 8-bit BMP with its colour table, bottom-up, as an opaque image surface of its size; null
// when the bytes are anything else or damaged.
cairo_surface_t* decode_bmp(const unsigned char* bytes, size_t size);
