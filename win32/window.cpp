// window.cpp: the main window: its class, start-up, geometry, and the window procedure that hands
// each message to the file that owns it.
#include "shell.h"

#include "commands.h"
#include "layout.h"
#include "modal.h"
#include "paint.h"
#include "prefs.h"
#include "resource.h"
#include "session.h"
#include "sound.h"
#include "turn.h"

HINSTANCE MyInstance;
HWND MyWindow;
UINT_PTR MyTimer;
HWND hNewGameButton;
HCURSOR normal_cursor;
HCURSOR busy_cursor;
HCURSOR current_cursor;
int Vex;
int Hex;
char szAppName[6] = "Dovra";
char szAppCaption[6] = "Dovra";
int main_window_closed;

int window_width()
{
    return window_extent(client_width() + Hex);
}

int window_height()
{
    return window_extent(client_height() + Vex);
}

int Register_Window(HINSTANCE hInst)
{
    WNDCLASSEXA wc;
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BaseMsgProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInst;
    wc.hIcon = LoadIconA(hInst, MAKEINTRESOURCEA(IDI_DOVRA));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = NULL;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    wc.lpszClassName = szAppName;
    return RegisterClassExA(&wc);
}

int Init_Instance(HINSTANCE hInst, int nCmdShow)
{
    MyInstance = hInst;
    load_settings();
    Vex = 2 * GetSystemMetrics(SM_CYBORDER) + 2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYMENU) +
          GetSystemMetrics(SM_CYCAPTION);
    Hex = 2 * GetSystemMetrics(SM_CXBORDER) + 2 * GetSystemMetrics(SM_CXFRAME);

    MyWindow = CreateWindowExA(0, szAppName, szAppCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                               window_width(), window_height(), NULL, NULL, hInst, NULL);
    if (!MyWindow)
        return 0;

    // The first paint comes from UpdateWindow, after the pictures are in.
    load_pictures();
    ShowWindow(MyWindow, nCmdShow);
    UpdateWindow(MyWindow);
    return 1;
}

// The heart's requests go to hWnd from here on: CreateWindowExA has not yet returned it as MyWindow.
static void on_create(HWND hWnd)
{
    heart_window = hWnd;
    reset_score_font();
    normal_cursor = LoadCursorA(NULL, IDC_ARROW);
    busy_cursor = LoadCursorA(NULL, IDC_WAIT);
    SetCursor(normal_cursor);
    current_cursor = normal_cursor;
    ShowCursor(TRUE);
    hNewGameButton = CreateWindowExA(0, "BUTTON", "New Game", WS_CHILD | WS_VISIBLE | BS_CENTER, button_x(),
                                     button_y(), BUTTON_WIDTH, BUTTON_HEIGHT, hWnd, (HMENU)(INT_PTR)IDC_NEWGAME,
                                     MyInstance, NULL);
    set_check_marks();
    MyTimer = SetTimer(hWnd, TURN_TIMER_ID, TURN_TICK_MS, NULL);
    start_game();
    InvalidateRect(hWnd, NULL, TRUE);
}

// Saves before anything is released, so the game on the board is what reaches prefs.txt.
static void on_close()
{
    SavePrefs();
    release_pictures();
    DeleteObject((HGDIOBJ)normal_cursor);
    DeleteObject((HGDIOBJ)busy_cursor);
    KillTimer(MyWindow, MyTimer);
    release_sounds();
}

LRESULT CALLBACK BaseMsgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        on_create(hWnd);
        return 0;
    case WM_PAINT:
        on_paint(hWnd);
        return 0;
    case WM_CLOSE:
        // Once only, and never under a modal window, whose loop would go on using what is released.
        if (!main_window_closed && !close_waits()) {
            main_window_closed = 1;
            on_close();
            PostQuitMessage(0);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_QUERYENDSESSION:
        // Nothing to ask the player: the game is kept when the session ends.
        return TRUE;
    case WM_ENDSESSION:
        // At logoff or shutdown the program is never closed, only ended: what the open modal windows'
        // OK would still do is done now (a name being entered stored, the bonus paid, New Game's deal),
        // then the game is saved as closing saves it. Nothing is released, since a session whose end is
        // called off runs on (wParam FALSE).
        if (wParam)
            session_ends();
        return 0;
    case WM_SETCURSOR:
        // Always ours, also over the frame: the wait cursor stays up for the whole turn.
        SetCursor(current_cursor);
        return 0;
    case WM_COMMAND:
        command(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        on_tick();
        return 0;
    case WM_LBUTTONDOWN:
        on_click(LOWORD(lParam), HIWORD(lParam));
        return 0;
    default:
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}
