// modal_windows.h: the modal windows the main window opens, and a close that waits until they have all returned.
#pragma once

#include <windows.h>

extern int modal_open;     // modal windows whose loops run now, each inside the caller of the one before
extern int close_waiting;  // a close came while one was open

// Each runs one modal window owned by hWnd; none opens while a close is waiting.
void modal_message(HWND hWnd, const char* text, const char* caption);
void modal_new_high_score(HWND hWnd);
void modal_top_scores(HWND hWnd);

// For WM_CLOSE: 0 when no modal window is open, so the close may run now. Otherwise 1: the close waits, an
// open score dialog ends as its OK does, and WM_CLOSE is posted again to the main window once the last
// modal window has returned.
int close_waits();
