// board_picture.cpp: the board and the preview column drawn pixel for pixel as the Windows program paints them:
// the pictures copied unscaled at the two sizes they are made for, stretched as Wine's StretchBlt stretches at any
// other, the selected square inverted.
#include "board_picture.h"

#include <cstdlib>

#include "board.h"
#include "prefs.h"

namespace {

struct picture {
    int side;
    uint32_t* rgb;
};
picture pictures[PICTURES];

constexpr uint32_t WHITE = 0xFFFFFF;

uint32_t read16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

uint32_t read32(const unsigned char* p)
{
    return read16(p) | read16(p + 2) << 16;
}

// Where the painter draws: width x height pixels, rows stride pixels apart.
struct target {
    uint32_t* rgb;
    int width, height, stride;
};

// One destination pixel, clipped to the target.
void put(const target& t, int x, int y, uint32_t pixel)
{
    if (x >= 0 && x < t.width && y >= 0 && y < t.height)
        t.rgb[static_cast<size_t>(y) * static_cast<size_t>(t.stride) + static_cast<size_t>(x)] = pixel;
}

// The top-left w x h pixels of a picture, unscaled, their top-left corner at (x, y).
void copy_picture(const target& t, const picture* p, int invert, int x, int y, int w, int h)
{
    if (p == nullptr)
        return;
    for (int py = 0; py < h && py < p->side; py++)
        for (int px = 0; px < w && px < p->side; px++)
            put(t, x + px, y + py, p->rgb[py * p->side + px] ^ (invert ? WHITE : 0));
}

// Which source pixels make up destination pixel d, first[d] to last[d], when StretchBlt brings src_length
// pixels to dst_length: the Windows program's stretch under Wine walks the two axes as Bresenham draws a line,
// rounding at pixel centres. Enlarging, each destination pixel takes one source pixel; shrinking, a run.
void stretch_axis(int src_length, int dst_length, int* first, int* last)
{
    if (src_length > dst_length) {
        int err = 3 * dst_length - 2 * src_length;
        int d = 0;
        first[0] = 0;
        for (int s = 0; s < src_length && d < dst_length; ++s) {
            last[d] = s;
            if (err > 0) {
                err += 2 * dst_length - 2 * src_length;
                if (++d < dst_length)
                    first[d] = s + 1;
            } else {
                err += 2 * dst_length;
            }
        }
    } else {
        int err = 3 * src_length - 2 * dst_length;
        int s = 0;
        for (int d = 0; d < dst_length; ++d) {
            first[d] = last[d] = s;
            if (err > 0) {
                ++s;
                err += 2 * src_length - 2 * dst_length;
            } else {
                err += 2 * src_length;
            }
        }
    }
}

// The top-left side x side pixels of a picture stretched to cs x cs at (x, y), as StretchBlt does in a context's
// default mode (BLACKONWHITE): a destination pixel made of several source pixels takes them ANDed bit by bit.
// first and last hold cs entries each.
void stretch_picture(const target& t, const picture* p, int side, int invert, int x, int y, int* first, int* last)
{
    const int cs = cell_size;
    if (p == nullptr || cs < 1)
        return;
    if (cs == 1 && side > 1)
        --side;  // Wine's StretchBlt takes one source pixel less when the destination is one pixel wide
    stretch_axis(side, cs, first, last);
    for (int dy = 0; dy < cs; ++dy) {
        for (int dx = 0; dx < cs; ++dx) {
            uint32_t pixel = WHITE;
            for (int sy = first[dy]; sy <= last[dy]; ++sy)
                for (int sx = first[dx]; sx <= last[dx]; ++sx)
                    pixel &= p->rgb[sy * p->side + sx];
            put(t, x + dx, y + dy, invert ? pixel ^ WHITE : pixel);
        }
    }
}

// Only the two ready-made sizes copy unscaled; every other size stretches the small set. A value the game
// never holds draws nothing.
const picture* picture_of(int value)
{
    if (value < EMPTY || value > PIECE_KINDS)
        return nullptr;
    const picture* p = &pictures[cell_size == LARGE_SIDE ? LARGE_SET + value : value];
    return p->rgb != nullptr ? p : nullptr;
}

int unscaled()
{
    return cell_size == SMALL_SIDE || cell_size == LARGE_SIDE;
}

// The grid edges of the picture are left out: preview pieces stand without lines.
void paint_preview(const target& t, int* first, int* last)
{
    const int cs = cell_size;
    for (int i = 0; i < BATCH_SIZE; ++i) {
        const picture* p = picture_of(next_batch[i]);
        if (unscaled())
            copy_picture(t, p, 0, BOARD_SIZE * cs, i * cs - 1, cs - cs / 16, cs - cs / 16);
        else
            stretch_picture(t, p, SMALL_SIDE - 1, 0, BOARD_SIZE * cs, i * cs - 1, first, last);
    }
}

// The board sits one pixel high: the top row of row 0 is clipped, and is white anyway.
void paint_board(const target& t, int selected_x, int selected_y, int* first, int* last)
{
    const int cs = cell_size;
    for (int x = 0; x < BOARD_SIZE; ++x) {
        for (int y = 0; y < BOARD_SIZE; ++y) {
            const int invert = x == selected_x && y == selected_y;
            if (unscaled())
                copy_picture(t, picture_of(board[x][y]), invert, x * cs, y * cs - 1, cs, cs);
            else
                stretch_picture(t, picture_of(board[x][y]), SMALL_SIDE, invert, x * cs, y * cs - 1, first, last);
        }
    }
}

}  // namespace

int picture_number(int slot)
{
    if (slot == 0)
        return 8;
    if (slot == LARGE_SET)
        return 16;
    return slot;
}

uint32_t* decode_bmp(const unsigned char* bytes, size_t size, int* width_out, int* height_out)
{
    const size_t FILE_HEADER = 14;
    const size_t INFO_HEADER = 40;
    const uint32_t MAX_SIDE = 1024;  // far beyond any square picture, and no size arithmetic can overflow
    if (bytes == nullptr || size < FILE_HEADER + INFO_HEADER || bytes[0] != 'B' || bytes[1] != 'M')
        return nullptr;
    const uint32_t pixels_at = read32(bytes + 10);
    const uint32_t header = read32(bytes + 14);
    const uint32_t width = read32(bytes + 18);
    const uint32_t height = read32(bytes + 22);  // above 0: bottom-up; a top-down one would read as huge
    const uint32_t planes = read16(bytes + 26);
    const uint32_t bits = read16(bytes + 28);
    const uint32_t compression = read32(bytes + 30);
    uint32_t colours = read32(bytes + 46);
    if (header < INFO_HEADER || header > size - FILE_HEADER)
        return nullptr;
    if (width < 1 || width > MAX_SIDE || height < 1 || height > MAX_SIDE)
        return nullptr;
    if (planes != 1 || bits != 8 || compression != 0)
        return nullptr;
    if (colours == 0)
        colours = 256;
    if (colours > 256)
        return nullptr;
    const size_t table = FILE_HEADER + header;
    if (table + 4 * colours > size || pixels_at < table + 4 * colours)
        return nullptr;
    const size_t row_bytes = (width + 3) / 4 * 4;
    if (pixels_at > size || (size - pixels_at) / row_bytes < height)
        return nullptr;

    uint32_t* rgb = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * width * height));
    if (rgb == nullptr)
        return nullptr;
    for (uint32_t y = 0; y < height; ++y) {
        const unsigned char* row = bytes + pixels_at + (height - 1 - y) * row_bytes;
        for (uint32_t x = 0; x < width; ++x) {
            if (row[x] >= colours) {
                std::free(rgb);
                return nullptr;
            }
            const unsigned char* quad = bytes + table + 4 * row[x];  // blue, green, red, reserved
            rgb[y * width + x] = static_cast<uint32_t>(quad[2]) << 16 | static_cast<uint32_t>(quad[1]) << 8 | quad[0];
        }
    }
    *width_out = static_cast<int>(width);
    *height_out = static_cast<int>(height);
    return rgb;
}

int load_picture(int slot, const unsigned char* bytes, size_t size)
{
    if (slot < 0 || slot >= PICTURES)
        return 0;
    std::free(pictures[slot].rgb);
    pictures[slot].rgb = nullptr;
    int width = 0;
    int height = 0;
    uint32_t* rgb = decode_bmp(bytes, size, &width, &height);
    const int side = slot < LARGE_SET ? SMALL_SIDE : LARGE_SIDE;
    if (rgb == nullptr || width != side || height != side) {
        std::free(rgb);
        return 0;
    }
    pictures[slot].side = side;
    pictures[slot].rgb = rgb;
    return 1;
}

int pictures_loaded()
{
    for (const picture& p : pictures)
        if (p.rgb == nullptr)
            return 0;
    return 1;
}

void release_pictures()
{
    for (picture& p : pictures) {
        std::free(p.rgb);
        p.rgb = nullptr;
    }
}

void paint_board_picture(uint32_t* rgb, int width, int height, int stride, int selected_x, int selected_y)
{
    if (rgb == nullptr || width < 1 || height < 1 || stride < width)
        return;
    const target t = {rgb, width, height, stride};
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            put(t, x, y, WHITE);
    const int cs = cell_size > 0 ? cell_size : 1;
    int* first = static_cast<int*>(std::malloc(2 * sizeof(int) * static_cast<size_t>(cs)));
    if (first == nullptr)
        return;
    int* last = first + cs;
    if (display_preview)
        paint_preview(t, first, last);
    paint_board(t, selected_x, selected_y, first, last);
    std::free(first);
}
