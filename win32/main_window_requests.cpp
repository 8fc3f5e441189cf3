// main_window_requests.cpp: what the heart asks of the main window: cursors, repaints, a queued click,
// check marks, the window's size and its close.
#include "layout.h"
#include "platform.h"
#include "shell.h"

HWND heart_window;

void platform_show_cursor(int busy)
{
    current_cursor = busy ? busy_cursor : normal_cursor;
    SetCursor(current_cursor);
}

void platform_repaint(int erase)
{
    InvalidateRect(heart_window, NULL, erase ? TRUE : FALSE);
}

void platform_queue_click(int x, int y)
{
    PostMessageA(MyWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
}

void platform_check(int item, int on)
{
    CheckMenuItem(GetMenu(heart_window), static_cast<UINT>(item), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

// The top-left corner stays where it is.
void platform_fit_window()
{
    RECT rect;
    GetWindowRect(heart_window, &rect);
    MoveWindow(heart_window, rect.left, rect.top, window_width(), window_height(), TRUE);
    MoveWindow(hNewGameButton, button_x(), button_y(), BUTTON_WIDTH, BUTTON_HEIGHT, TRUE);
}

void platform_close()
{
    PostMessageA(heart_window, WM_CLOSE, 0, 0);
}
