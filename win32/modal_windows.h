// modal_windows.h: the Windows program's modal windows, each run in a modal loop of its own.
#pragma once

#include <windows.h>

// The window that owns them and takes the heart's other requests: the main window, from the start of its
// creation on, before CreateWindowExA has returned it as MyWindow.
extern HWND heart_window;
