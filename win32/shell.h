// shell.h: the main window, its handles and the entry points of the window procedure.
#pragma once

#include <windows.h>

extern HINSTANCE MyInstance;
extern HWND MyWindow;
// The window the heart's requests act on and its modal windows belong to: the main window, from the start
// of its creation on, before CreateWindowExA has returned it as MyWindow.
extern HWND heart_window;
extern UINT_PTR MyTimer;
extern HWND hNewGameButton;
extern HCURSOR normal_cursor;
extern HCURSOR busy_cursor;
extern HCURSOR current_cursor;
extern int Vex;
extern int Hex;
extern char szAppName[6];
extern char szAppCaption[6];
extern int main_window_closed;  // the close has run: its resources are released

constexpr UINT TURN_TIMER_ID = 321;

int Register_Window(HINSTANCE hInst);
int Init_Instance(HINSTANCE hInst, int nCmdShow);
LRESULT CALLBACK BaseMsgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The outer window size for the current settings.
int window_width();
int window_height();
