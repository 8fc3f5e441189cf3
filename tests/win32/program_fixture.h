// program_fixture.h: each test of the Windows front end starts the program afresh, in a folder of its own, on the
// system's user32, gdi32 and kernel32, with the program's resources linked into the test. The main window is
// subclassed as it is made, so that the messages reaching its procedure are kept, in order.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/heart_state.h"
#include "paint.h"
#include "resource.h"
#include "shell.h"
#include "win32/modal_player.h"

// A message that reached the main window's procedure, sent or dispatched by a message loop.
struct window_message {
    UINT message;
    WPARAM wParam;
    DWORD time;    // GetTickCount() then
    int pictures;  // the sixteen pictures were loaded then
    int score;     // current_score then
};

inline HINSTANCE instance()
{
    return GetModuleHandleA(NULL);
}

// The main window's messages that the tests look at, since its creation: creation, paints, ticks, clicks, commands,
// closing.
const std::vector<window_message>& main_window_messages();
// How many of them are of the given kind.
int count_messages(UINT message);
// The next main window the program makes fails to be made, as when the system is out of resources.
void refuse_next_main_window();
// Runs the thread's messages until done() holds or two seconds have passed; returns done().
bool pump_until(const std::function<bool()>& done);
// A step of the modal player that waits with the modal window open until n more ticks have reached the main window.
modal_step ticks_pass(const std::string& window, int n);
// A step that closes the main window, as its close box does, when no modal window is open.
modal_step close_main_window();

// The check mark of a menu item, 1 or 0.
int menu_checked(int item);

class ProgramTest : public TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Start-up as WinMain does it, without entering the message loop.
    void start();
    void start_with_prefs(const std::string& text);
    // Starts the program with sound on, the given board, preview and score, and nothing else to recall.
    void start_with(const std::vector<std::string>& rows, int score = 0);
    int run_winmain(HINSTANCE previous = NULL, int show = SW_SHOWNORMAL);

    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageA(MyWindow, message, wParam, lParam);
    }
    void click(int x, int y) { send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    // A click in the middle of board square (col, row).
    void click_square(int col, int row) { click(col * cell_size + cell_size / 2, row * cell_size + cell_size / 2); }
};
