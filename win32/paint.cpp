// paint.cpp: draws the whole client area from the game state: the board, the selected square
// inverted, the preview column and the score. The New Game button paints itself.
#include "paint.h"

#include <stdio.h>
#include <string.h>

#include "board.h"
#include "layout.h"
#include "prefs.h"
#include "resource.h"
#include "shell.h"
#include "turn.h"

HBITMAP symbol[PICTURES];
BITMAP bm[PICTURES];
LOGFONTA lf;

void reset_score_font()
{
    memset(&lf, 0, sizeof lf);
    lf.lfHeight = -13;
    lf.lfWeight = 400;
    lf.lfCharSet = 0;
    lf.lfOutPrecision = 3;
    lf.lfClipPrecision = 2;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = 0x22;
}

// Slot k holds the small picture of cell value k, slot 8 + k the large one; the empty
// squares are bitmaps 8 and 16, behind the seven pieces of their set.
static int picture_resource(int slot)
{
    if (slot == 0)
        return IDB_SMALL_EMPTY;
    if (slot == LARGE_SET)
        return IDB_LARGE_EMPTY;
    return slot;
}

void load_pictures()
{
    for (int slot = 0; slot < PICTURES; ++slot) {
        symbol[slot] = LoadBitmapA(MyInstance, MAKEINTRESOURCEA(picture_resource(slot)));
        GetObjectA(symbol[slot], sizeof(BITMAP), &bm[slot]);
    }
}

void release_pictures()
{
    for (int slot = 0; slot < PICTURES; ++slot) {
        DeleteObject(symbol[slot]);
        symbol[slot] = NULL;
    }
}

// Only the two ready-made sizes copy unscaled; every other size stretches the small set.
static int picture_slot(int value)
{
    return cell_size == 32 ? LARGE_SET + value : value;
}

static int unscaled()
{
    return cell_size == 16 || cell_size == 32;
}

static void draw_preview(HDC hdc, HDC hdcMemory)
{
    int cs = cell_size;
    for (int i = 0; i < BATCH_SIZE; ++i) {
        int slot = picture_slot(next_batch[i]);
        HGDIOBJ previous = SelectObject(hdcMemory, symbol[slot]);
        // The grid edges of the picture are left out: preview pieces stand without lines.
        if (unscaled())
            BitBlt(hdc, BOARD_SIZE * cs, i * cs - 1, cs - cs / 16, cs - cs / 16, hdcMemory, 0, 0, SRCCOPY);
        else
            StretchBlt(hdc, BOARD_SIZE * cs, i * cs - 1, cs, cs, hdcMemory, 0, 0, bm[slot].bmWidth - 1,
                       bm[slot].bmHeight - 1, SRCCOPY);
        SelectObject(hdcMemory, previous);
    }
}

static void draw_board(HDC hdc, HDC hdcMemory)
{
    int cs = cell_size;
    for (int x = 0; x < BOARD_SIZE; ++x) {
        for (int y = 0; y < BOARD_SIZE; ++y) {
            int slot = picture_slot(board[x][y]);
            DWORD rasterop = (x == hilite_x && y == hilite_y) ? NOTSRCCOPY : SRCCOPY;
            HGDIOBJ previous = SelectObject(hdcMemory, symbol[slot]);
            // The board sits one pixel high: the top row of row 0 is clipped, and is white anyway.
            if (unscaled())
                BitBlt(hdc, x * cs, y * cs - 1, cs, cs, hdcMemory, 0, 0, rasterop);
            else
                StretchBlt(hdc, x * cs, y * cs - 1, cs, cs, hdcMemory, 0, 0, bm[slot].bmWidth, bm[slot].bmHeight,
                           rasterop);
            SelectObject(hdcMemory, previous);
        }
    }
}

static void draw_score(HDC hdc)
{
    int cs = cell_size;
    char szText[40];
    snprintf(szText, sizeof szText, "%d", current_score);
    lf.lfHeight = cs >= 24 ? -26 : -13;
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ previous = SelectObject(hdc, font);
    SetTextAlign(hdc, TA_CENTER);
    TextOutA(hdc, (BOARD_SIZE * cs - BUTTON_WIDTH) / 2, BOARD_SIZE * cs + 4, szText, (int)strlen(szText));
    SelectObject(hdc, previous);
    DeleteObject(font);
}

void paint_client(HDC hdc)
{
    HDC hdcMemory = CreateCompatibleDC(hdc);
    if (display_preview)
        draw_preview(hdc, hdcMemory);
    draw_board(hdc, hdcMemory);
    draw_score(hdc);
    DeleteDC(hdcMemory);
}

void on_paint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    paint_client(hdc);
    EndPaint(hWnd, &ps);
}
