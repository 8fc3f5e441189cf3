// modal_windows.cpp: the modal windows the main window opens, and a close that waits until they have all
// returned, so that nothing they or the main window use is released while a modal loop still runs.
#include "modal_windows.h"

#include "score_dialogs.h"
#include "shell.h"

int modal_open = 0;
int close_waiting = 0;

namespace {

// The close that waited is posted, not run here: the caller of the modal window goes on first.
void returned(HWND hWnd)
{
    if (--modal_open == 0 && close_waiting)
        PostMessageA(hWnd, WM_CLOSE, 0, 0);
}

void run_dialog(HWND hWnd, void (*show)(HINSTANCE, HWND))
{
    if (close_waiting)
        return;
    ++modal_open;
    show(MyInstance, hWnd);
    returned(hWnd);
}

}  // namespace

void modal_message(HWND hWnd, const char* text, const char* caption)
{
    if (close_waiting)
        return;
    ++modal_open;
    MessageBoxA(hWnd, text, caption, MB_OK);
    returned(hWnd);
}

void modal_new_high_score(HWND hWnd)
{
    run_dialog(hWnd, show_new_high_score);
}

void modal_top_scores(HWND hWnd)
{
    run_dialog(hWnd, show_top_scores);
}

int close_waits()
{
    if (modal_open == 0) {
        close_waiting = 0;
        return 0;
    }
    close_waiting = 1;
    // A message box stays until it is answered; a score dialog ends now, its entry stored.
    end_score_dialog();
    return 1;
}
