// board_picture.h: the board and the preview column drawn pixel for pixel as the Windows program paints them,
// into plain 0xRRGGBB pixels, for the front ends whose platform has no BitBlt and StretchBlt of its own.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int PICTURES = 16;
constexpr int LARGE_SET = 8;
constexpr int SMALL_SIDE = 16;
constexpr int LARGE_SIDE = 32;

// The bitmap file number picture slot `slot` comes from: slot k holds the small picture of cell value k, slot
// 8 + k the large one; the empty squares are the eighth and sixteenth files, behind the seven pieces of their set.
int picture_number(int slot);
// Decodes slot's picture from its file's bytes. 0, keeping none, when they are damaged or the picture is not of
// its set's size: the painter copies whole squares unscaled from the two sets.
int load_picture(int slot, const unsigned char* bytes, size_t size);
// 1 when all sixteen pictures are loaded.
int pictures_loaded();
void release_pictures();

// An uncompressed 8-bit BMP with its colour table, bottom-up, as newly allocated 0xRRGGBB pixels, top row first
// (free them with free); null when the bytes are anything else or damaged.
uint32_t* decode_bmp(const unsigned char* bytes, size_t size, int* width, int* height);

// Paints the client area's top-left width x height pixels (rows stride pixels apart) as the Windows program does
// before its score: white, the preview column, the board with square (selected_x, selected_y) inverted. A
// picture that is not loaded draws nothing.
void paint_board_picture(uint32_t* rgb, int width, int height, int stride, int selected_x, int selected_y);
