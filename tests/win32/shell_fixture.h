// shell_fixture.h: each shell test starts the program afresh on the Win32 stand-in, in a folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/heart_state.h"
#include "headless.h"
#include "paint.h"
#include "prefs.h"
#include "resource.h"
#include "scores.h"
#include "shell.h"

// The non-client extras the stand-in's metrics give a captioned, sizable window with a menu bar.
const int HEX = 2 * headless::CXBORDER + 2 * headless::CXFRAME;
const int VEX = 2 * headless::CYBORDER + 2 * headless::CYFRAME + headless::CYMENU + headless::CYCAPTION;

// Puts every process-wide variable of the program back to its value at process start.
inline void reset_program_state()
{
    reset_heart_state();
    MyInstance = NULL;
    MyWindow = NULL;
    MyTimer = 0;
    hNewGameButton = NULL;
    normal_cursor = busy_cursor = current_cursor = NULL;
    main_window_closed = 0;
}

// A menu command as the menu sends it; the notification code rides in the high word.
inline LRESULT menu_command(int id, int notification = 0)
{
    return BaseMsgProc(MyWindow, WM_COMMAND, MAKEWPARAM(id, notification), 0);
}

inline int run_winmain(HINSTANCE previous, int show)
{
    char command_line[] = "";
    return WinMain(headless::instance(), previous, command_line, show);
}

// Runs action the n-th time WinMain's loop runs out of messages.
inline void on_idle(int n, std::function<void()> action)
{
    auto calls = std::make_shared<int>(0);
    headless::set_idle_hook([calls, n, action] {
        if (++*calls == n)
            action();
    });
}

// Ends WinMain's loop from the n-th time it runs out of messages; what runs first is up to the caller.
inline void close_when_idle(int n, std::function<void()> before_close = nullptr)
{
    on_idle(n, [before_close] {
        if (before_close)
            before_close();
        PostMessageA(headless::main_window(), WM_CLOSE, 0, 0);
    });
}

// The main window's check marks, and none on the commands that are not settings.
inline void expect_marks(int little, int big, int preview, int sound)
{
    EXPECT_EQ(headless::menu_checked(MyWindow, IDM_LITTLEBOARD), little);
    EXPECT_EQ(headless::menu_checked(MyWindow, IDM_BIGBOARD), big);
    EXPECT_EQ(headless::menu_checked(MyWindow, IDM_PREVIEW), preview);
    EXPECT_EQ(headless::menu_checked(MyWindow, IDM_SOUND), sound);
    for (int id : {IDM_EXIT, IDM_NEWGAME, IDM_SHOWSCORES, IDM_ABOUT})
        EXPECT_EQ(headless::menu_checked(MyWindow, id), 0) << id;
}

// The main window's outer rectangle.
inline void expect_window(int left, int top, int width, int height)
{
    RECT r = headless::window_rect(MyWindow);
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

// The New Game button, always 80 x 25, at (x, y) of the client area.
inline void expect_button_at(int x, int y)
{
    RECT b = headless::window_rect(hNewGameButton);
    EXPECT_EQ(b.left, x);
    EXPECT_EQ(b.top, y);
    EXPECT_EQ(b.right - b.left, 80);
    EXPECT_EQ(b.bottom - b.top, 25);
}

class ShellTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        headless::reset();
        reset_program_state();
        TempFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        write_slot_sounds();
    }

    void TearDown() override
    {
        release_sounds();
        TempFolderTest::TearDown();
        headless::reset();
    }

    // Start-up as WinMain does it, without entering the message loop.
    void start()
    {
        ASSERT_NE(Register_Window(headless::instance()), 0);
        ASSERT_EQ(Init_Instance(headless::instance(), SW_SHOWNORMAL), 1);
    }

    void start_with_prefs(const std::string& text)
    {
        write_file("prefs.txt", text);
        start();
    }

    // Starts the program with sound on, the given board, preview and score, and nothing else to recall.
    void start_with(const std::vector<std::string>& rows, int score = 0)
    {
        start();
        arrange_game(rows, score);
    }

    void click(int x, int y) { BaseMsgProc(MyWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(x, y)); }

    // A click in the middle of board square (col, row).
    void click_square(int col, int row) { click(col * cell_size + cell_size / 2, row * cell_size + cell_size / 2); }

    void tick(int n = 1) { ASSERT_EQ(headless::tick(n), n); }
};
