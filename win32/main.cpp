// main.cpp: the program's entry point and its message loop.
#include "one_per_folder.h"
#include "shell.h"

static int run(HINSTANCE hInst, HINSTANCE hPrevInst, int nCmdShow)
{
    if (!hPrevInst && !Register_Window(hInst))
        return 0;
    if (!Init_Instance(hInst, nCmdShow))
        return 0;
    mark_main_window(MyWindow);

    // GetMessageA gives -1 on failure; that ends the loop too rather than dispatching nothing forever.
    MSG msg = {};
    BOOL got;
    while ((got = GetMessageA(&msg, NULL, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return got == 0 ? (int)msg.wParam : 0;
}

int WINAPI WinMain(HINSTANCE hInst, HINSTANCE hPrevInst, LPSTR lpCmdLine, int nCmdShow)
{
    (void)lpCmdLine;
    // A Dovra already running in this folder keeps its files to itself: this one reads and writes nothing.
    if (!claim_working_folder())
        return 0;
    int status = run(hInst, hPrevInst, nCmdShow);
    // Only now, with the game saved, may the next start read the folder's files.
    release_working_folder();
    return status;
}
