// paint.h: the sixteen square pictures, the score font and the paint of the main window.
#pragma once

#include <windows.h>

constexpr int PICTURES = 16;
constexpr int LARGE_SET = 8;

extern HBITMAP symbol[PICTURES];
extern BITMAP bm[PICTURES];
extern LOGFONTA lf;

void reset_score_font();
void load_pictures();
void release_pictures();
// Draws the client area into hdc, over what is there: everything but the background and the button.
void paint_client(HDC hdc);
void on_paint(HWND hWnd);
