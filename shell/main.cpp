// main.cpp: the program's entry point and its message loop.
#include "shell.h"

int WINAPI WinMain(HINSTANCE hInst, HINSTANCE hPrevInst, LPSTR lpCmdLine, int nCmdShow)
{
    (void)lpCmdLine;
    if (!hPrevInst && !Register_Window(hInst))
        return 0;
    if (!Init_Instance(hInst, nCmdShow))
        return 0;

    // GetMessageA gives -1 on failure; that ends the loop too rather than dispatching nothing forever.
    MSG msg = {};
    BOOL got;
    while ((got = GetMessageA(&msg, NULL, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return got == 0 ? (int)msg.wParam : 0;
}
