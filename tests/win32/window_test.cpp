// window_test.cpp: start-up through WinMain, the main window's class, menu, button, timer, size and cursor, the
// messages handed to the heart and the Win32 calls its requests become, and closing, also under a modal window, on
// the system's own user32.
#include <algorithm>
#include <tuple>

#include "layout.h"
#include "modal.h"
#include "one_per_folder.h"
#include "platform.h"
#include "win32/program_fixture.h"

namespace {

const char PREFS_HEADER[] =
    "# Preferences file for Dovra\n"
    "cell_size = 16\n"
    "display_preview = 1\n"
    "sound_enabled = 0\n"
    "sound00 = move.wav\n"
    "sound01 = woops.wav\n"
    "sound02 = drop.wav\n"
    "sound03 = zip.wav\n"
    "sound04 = gameover.wav\n"
    "sound05 = winner.wav\n";

// Kind 5 at (0, 3), kind 2 at (4, 4), kind 7 at (8, 5), score 24: (5 + 2 + 7 + 24) XOR 0x6C2A = 27660.
const char SAVED_GAME[] =
    "cell03 = 5\n"
    "cell40 = 2\n"
    "cell77 = 7\n"
    "current_score = 24\n"
    "checksum = 27660\n";

// The board of SAVED_GAME.
std::vector<std::string> saved_rows()
{
    std::vector<std::string> rows = rows_from_top();
    rows[3][0] = '5';
    rows[4][4] = '2';
    rows[5][8] = '7';
    return rows;
}

// The program's text files end their lines with CR LF on Windows.
std::string with_crlf(const std::string& text)
{
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

bool quit_posted()
{
    MSG msg;
    return PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

// The paints from message `from` on: "erased" when the background was erased since the paint before, as showing
// the window erases it at once and a paint's BeginPaint erases it when the repaint asked for that.
std::vector<std::string> paints_since(size_t from)
{
    const std::vector<window_message>& m = main_window_messages();
    std::vector<std::string> paints;
    int erased = 0;
    for (size_t i = from; i < m.size(); ++i) {
        if (m[i].message == WM_ERASEBKGND)
            erased = 1;
        if (m[i].message != WM_PAINT)
            continue;
        erased |= i + 1 < m.size() && m[i + 1].message == WM_ERASEBKGND;
        paints.push_back(erased ? "erased" : "not erased");
        erased = 0;
        i += i + 1 < m.size() && m[i + 1].message == WM_ERASEBKGND;
    }
    return paints;
}

// The outer window's size for a client area of width x height: the system's border, frame, caption and menu bar
// metrics added.
SIZE window_size_for(int width, int height)
{
    return {width + 2 * GetSystemMetrics(SM_CXBORDER) + 2 * GetSystemMetrics(SM_CXFRAME),
            height + 2 * GetSystemMetrics(SM_CYBORDER) + 2 * GetSystemMetrics(SM_CYFRAME) +
                GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYCAPTION)};
}

// Where the New Game button is in the client area, and its size.
RECT button_rect()
{
    RECT r;
    GetWindowRect(hNewGameButton, &r);
    MapWindowPoints(NULL, MyWindow, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

using WindowTest = ProgramTest;

// ---- WinMain ------------------------------------------------------------------------------------

TEST_F(WindowTest, WinMainShowsThePaintedWindowBeforeTheFirstTickAndEndsOnClose)
{
    int visible = 0;
    {
        modal_player player({ticks_pass("", 2), at("", [&](HWND) {
                                 visible = IsWindowVisible(MyWindow);
                                 PostMessageA(MyWindow, WM_CLOSE, 0, 0);
                             })});
        EXPECT_EQ(run_winmain(), 0);
    }

    EXPECT_EQ(visible, 1);
    // Painted, pictures in, before the first tick; each tick repainted before the next one or the close.
    int ticks = 0, painted = 0;
    for (const window_message& m : main_window_messages()) {
        if (m.message == WM_PAINT) {
            EXPECT_TRUE(m.pictures) << "a paint came before the pictures were loaded";
            painted = 1;
        } else if (m.message == WM_TIMER || m.message == WM_CLOSE) {
            EXPECT_EQ(painted, 1) << "no paint before tick " << ticks + 1 << " or the close";
            painted = 0;
            ticks += m.message == WM_TIMER;
        }
    }
    EXPECT_GE(ticks, 2);
    EXPECT_EQ(main_window_messages().back().message, static_cast<UINT>(WM_CLOSE));
    // The close saved the game and ended the loop, which took the quit message.
    EXPECT_TRUE(contains(read_file("prefs.txt"), "current_score = 0\r\n"));
    EXPECT_FALSE(quit_posted());
}

TEST_F(WindowTest, ExitFromTheMenuEndsWinMainThroughTheNormalClose)
{
    {
        modal_player player({at("", [](HWND) { PostMessageA(MyWindow, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0); })});
        EXPECT_EQ(run_winmain(), 0);
    }

    EXPECT_TRUE(contains(read_file("prefs.txt"), "current_score = 0\r\n"));
    EXPECT_EQ(symbol[0], nullptr);
    for (int slot = 0; slot < SOUND_SLOTS; ++slot)
        EXPECT_EQ(wavbuffer[slot], nullptr);
    EXPECT_FALSE(KillTimer(MyWindow, TURN_TIMER_ID)) << "the timer outlived the close";
}

TEST_F(WindowTest, WinMainCarriesASavedGameThroughAWholeRun)
{
    write_file("prefs.txt", std::string(PREFS_HEADER) + SAVED_GAME);
    std::vector<std::string> rows_while_running;
    {
        modal_player player({at("", [&](HWND) { rows_while_running = board_rows(); }), close_main_window()});
        EXPECT_EQ(run_winmain(), 0);
    }

    EXPECT_EQ(rows_while_running, saved_rows());
    ASSERT_GE(count_messages(WM_PAINT), 1);
    for (const window_message& m : main_window_messages()) {
        if (m.message == WM_PAINT) {
            EXPECT_EQ(m.score, 24) << "already the first paint shows the restored score";
            break;
        }
    }
    EXPECT_EQ(read_file("prefs.txt"), with_crlf(std::string(PREFS_HEADER) + SAVED_GAME));
}

namespace {
struct registration_case {
    const char* name;
    int registered_before;  // the class is there when WinMain starts
    int previous_instance;  // WinMain is told of a previous instance
    int runs;               // it makes its window and plays
};
}  // namespace

class Registration : public WindowTest, public ::testing::WithParamInterface<registration_case> {};

// A previous instance has registered the class; without one, WinMain registers it, and fails when it cannot.
TEST_P(Registration, DecidesWhetherWinMainMakesItsWindow)
{
    const registration_case& c = GetParam();
    if (c.registered_before) {
        ASSERT_NE(Register_Window(instance()), 0);
    }
    {
        modal_player player({close_main_window()});
        EXPECT_EQ(run_winmain(c.previous_instance ? instance() : NULL), 0);
    }

    EXPECT_EQ(MyWindow != NULL, c.runs != 0);
    EXPECT_EQ(file_exists("prefs.txt"), c.runs != 0);
}

INSTANTIATE_TEST_SUITE_P(WindowTest, Registration,
                         ::testing::Values(registration_case{"registers_its_class", 0, 0, 1},
                                           registration_case{"leaves_it_to_a_previous_instance", 1, 1, 1},
                                           registration_case{"told_of_an_instance_that_registered_nothing", 0, 1, 0},
                                           registration_case{"whose_class_is_taken", 1, 0, 0}),
                         [](const ::testing::TestParamInfo<registration_case>& info) { return info.param.name; });

TEST_F(WindowTest, WinMainWithoutItsMainWindowReturnsAtOnceHavingLoadedAndWrittenNothing)
{
    refuse_next_main_window();

    EXPECT_EQ(run_winmain(), 0);

    EXPECT_EQ(MyWindow, nullptr);
    EXPECT_EQ(symbol[0], nullptr) << "a picture was loaded for no window";
    EXPECT_FALSE(file_exists("prefs.txt"));
    EXPECT_FALSE(file_exists(FOLDER_LOCK_FILE)) << "the folder was not freed";
}

// ---- The main window ----------------------------------------------------------------------------

TEST_F(WindowTest, ClassGivesTheWindowItsNameMenuIconAndProcedure)
{
    start();

    char text[64];
    ASSERT_GT(GetClassNameA(MyWindow, text, sizeof text), 0);
    EXPECT_STREQ(text, "Dovra");
    GetWindowTextA(MyWindow, text, sizeof text);
    EXPECT_STREQ(text, "Dovra");
    EXPECT_EQ(GetClassLongPtrA(MyWindow, GCLP_WNDPROC), reinterpret_cast<ULONG_PTR>(BaseMsgProc));
    EXPECT_NE(GetClassLongPtrA(MyWindow, GCLP_HICON), 0u);
    // The menu of the resource script: File, Edit and Help.
    HMENU menu = GetMenu(MyWindow);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    GetMenuStringA(menu, IDM_SHOWSCORES, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Show Scores");
    EXPECT_EQ(GetWindowLongA(MyWindow, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
}

// The window is made and its creation runs before CreateWindowExA has returned it: the button, the timer, the
// marks and the cursors hang on the window being made.
TEST_F(WindowTest, CreationGivesTheButtonTimerMarksAndCursors)
{
    start();

    EXPECT_EQ(heart_window, MyWindow);
    HWND button = GetDlgItem(MyWindow, IDC_NEWGAME);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button, hNewGameButton);
    char text[32];
    GetClassNameA(button, text, sizeof text);
    EXPECT_STREQ(text, "Button");
    GetWindowTextA(button, text, sizeof text);
    EXPECT_STREQ(text, "New Game");
    const LONG style = GetWindowLongA(button, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | BS_CENTER), WS_CHILD | WS_VISIBLE | BS_CENTER);
    EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(menu_checked(IDM_LITTLEBOARD), 1);
    EXPECT_EQ(normal_cursor, LoadCursorA(NULL, IDC_ARROW));
    EXPECT_EQ(busy_cursor, LoadCursorA(NULL, IDC_WAIT));
    EXPECT_EQ(GetCursor(), normal_cursor);
    // The new game is shown with the background erased.
    EXPECT_EQ(paints_since(0), std::vector<std::string>{"erased"});
    // The turn's timer ticks the window, a tenth of a second apart at least.
    ASSERT_TRUE(pump_until([] { return count_messages(WM_TIMER) >= 2; }));
    const DWORD created = main_window_messages().front().time;
    DWORD second_tick = 0;
    for (const window_message& m : main_window_messages())
        if (m.message == WM_TIMER) {
            EXPECT_EQ(m.wParam, TURN_TIMER_ID);
            second_tick = m.time;
        }
    EXPECT_GE(second_tick - created, static_cast<DWORD>(2 * TURN_TICK_MS - 10));
}

namespace {
struct settings_case {
    const char* prefs;
    int width, height;                // the board, preview and score strip
    int button_x, button_y;
    int little, big, preview, sound;  // check marks
};
}  // namespace

class StartUpSettings : public WindowTest, public ::testing::WithParamInterface<settings_case> {};

TEST_P(StartUpSettings, GiveTheWindowItsSizeTheButtonAndTheCheckMarks)
{
    const settings_case& c = GetParam();
    start_with_prefs(c.prefs);

    RECT window, client;
    GetWindowRect(MyWindow, &window);
    GetClientRect(MyWindow, &client);
    EXPECT_EQ(window.right - window.left, window_size_for(c.width, c.height).cx);
    EXPECT_EQ(window.bottom - window.top, window_size_for(c.width, c.height).cy);
    EXPECT_GE(client.right, c.width) << "the client area is too small for the board";
    EXPECT_GE(client.bottom, c.height) << "the client area is too small for the board";
    EXPECT_EQ(button_rect().left, c.button_x);
    EXPECT_EQ(button_rect().top, c.button_y);
    EXPECT_EQ(button_rect().right - button_rect().left, BUTTON_WIDTH);
    EXPECT_EQ(button_rect().bottom - button_rect().top, BUTTON_HEIGHT);
    EXPECT_EQ(menu_checked(IDM_LITTLEBOARD), c.little);
    EXPECT_EQ(menu_checked(IDM_BIGBOARD), c.big);
    EXPECT_EQ(menu_checked(IDM_PREVIEW), c.preview);
    EXPECT_EQ(menu_checked(IDM_SOUND), c.sound);
    for (int id : {IDM_EXIT, IDM_NEWGAME, IDM_SHOWSCORES, IDM_ABOUT})
        EXPECT_EQ(menu_checked(id), 0) << id;
}

INSTANTIATE_TEST_SUITE_P(
    Prefs, StartUpSettings,
    ::testing::Values(settings_case{"", 160, 177, 64, 148, 1, 0, 1, 0},
                      settings_case{"cell_size = 16\ndisplay_preview = 0\n", 144, 177, 64, 148, 1, 0, 0, 0},
                      settings_case{"cell_size = 32\ndisplay_preview = 1\n", 320, 321, 208, 292, 0, 1, 1, 0},
                      settings_case{"cell_size = 32\ndisplay_preview = 0\nsound_enabled = 1\n", 288, 321, 208, 292,
                                    0, 1, 0, 1},
                      // A size and switches only a hand-edited file gives.
                      settings_case{"cell_size = 24\ndisplay_preview = 5\nsound_enabled = -2\n", 336, 249, 136, 220,
                                    0, 0, 1, 1}));

// ---- Messages -----------------------------------------------------------------------------------

namespace {
struct setcursor_case {
    int hit;
    int busy;
};
}  // namespace

class SetCursorMessage : public WindowTest, public ::testing::WithParamInterface<setcursor_case> {};

// The cursor of the turn shows over the frame and caption too: the default handling never runs.
TEST_P(SetCursorMessage, AppliesTheCurrentCursorWhereverThePointerIs)
{
    const setcursor_case& c = GetParam();
    start();
    current_cursor = c.busy ? busy_cursor : normal_cursor;
    SetCursor(c.busy ? normal_cursor : busy_cursor);

    EXPECT_EQ(send(WM_SETCURSOR, reinterpret_cast<WPARAM>(MyWindow), MAKELPARAM(c.hit, WM_MOUSEMOVE)), 0);
    EXPECT_EQ(GetCursor(), current_cursor);
}

INSTANTIATE_TEST_SUITE_P(HitTests, SetCursorMessage,
                         ::testing::Values(setcursor_case{HTCLIENT, 1}, setcursor_case{HTCLIENT, 0},
                                           setcursor_case{HTCAPTION, 1}, setcursor_case{HTMENU, 1},
                                           setcursor_case{HTBOTTOMRIGHT, 0}));

namespace {
struct other_message_case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
}  // namespace

class OtherMessage : public WindowTest, public ::testing::WithParamInterface<other_message_case> {};

TEST_P(OtherMessage, ChangesNothing)
{
    const other_message_case& c = GetParam();
    start_with(rows_from_top({"1........", ".........", ".........", ".........", "....2...."}), 30);
    const std::vector<std::string> rows = board_rows();
    ValidateRect(MyWindow, NULL);

    send(c.message, c.wParam, c.lParam);

    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(current_score, 30);
    EXPECT_EQ(selection(), std::make_pair(NO_SELECTION, NO_SELECTION));
    EXPECT_FALSE(GetUpdateRect(MyWindow, NULL, FALSE)) << "a repaint was asked for";
    EXPECT_EQ(modal_open, 0);
}

INSTANTIATE_TEST_SUITE_P(Messages, OtherMessage,
                         ::testing::Values(other_message_case{WM_MOUSEMOVE, 0, MAKELPARAM(8, 8)},
                                           other_message_case{WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(8, 8)},
                                           // No double-click style: a double click on a piece is not a click.
                                           other_message_case{WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 8)},
                                           other_message_case{WM_KEYDOWN, 'N', 0},
                                           other_message_case{WM_USER + 7, 1, 2}));

namespace {
struct heart_message_case {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;  // -1: the New Game button's handle
    std::vector<std::string> modal_windows;
    std::function<void(size_t from)> check;  // what the heart did, through the right Win32 calls
};
}  // namespace

class MessageToTheHeart : public WindowTest, public ::testing::WithParamInterface<heart_message_case> {};

// Each message is decoded once and handed on in plain values: the click's pixel from both words of lParam, the
// command from the low word of wParam, whatever its notification code; the button sends BN_CLICKED. The piece
// at (2,0) is selected, the player has dragged the window, and the wait cursor shows.
TEST_P(MessageToTheHeart, IsDecodedAndHandedOver)
{
    const heart_message_case& c = GetParam();
    start_with(rows_from_top({"..5......"}), 30);
    click_square(2, 0);
    ASSERT_TRUE(MoveWindow(MyWindow, 300, 200, 700, 500, TRUE));
    UpdateWindow(MyWindow);
    SetCursor(busy_cursor);
    const LPARAM lParam = c.lParam == -1 ? reinterpret_cast<LPARAM>(hNewGameButton) : c.lParam;
    const size_t from = main_window_messages().size();

    std::vector<modal_window_seen> windows;
    {
        // A message box's loop goes on ticking the main window.
        modal_player player({ticks_pass("About Dovra", 2)});
        EXPECT_EQ(send(c.message, c.wParam, lParam), 0);
        windows = player.windows();
    }
    UpdateWindow(MyWindow);

    c.check(from);
    std::vector<std::string> captions;
    for (const modal_window_seen& w : windows) {
        captions.push_back(w.caption);
        EXPECT_EQ(w.owner, MyWindow) << w.caption;
    }
    EXPECT_EQ(captions, c.modal_windows);
    EXPECT_EQ(modal_open, 0) << "the heart is told when its modal window has closed";
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageToTheHeart,
    ::testing::Values(
        // The move starts with the wait cursor and a repaint of the whole window, not erased.
        heart_message_case{"click", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(72, 8), {},
                           [](size_t from) {
                               EXPECT_EQ(GetCursor(), busy_cursor);
                               EXPECT_EQ(current_cursor, busy_cursor) << "for WM_SETCURSOR over the frame";
                               EXPECT_EQ(paints_since(from), std::vector<std::string>{"not erased"});
                               EXPECT_TRUE(pptr > 0 && path[0].x == 4 && path[0].y == 0);
                           }},
        heart_message_case{"sound", WM_COMMAND, MAKEWPARAM(IDM_SOUND, 1), 0, {},
                           [](size_t) {
                               EXPECT_EQ(sound_enabled, 0);
                               EXPECT_EQ(menu_checked(IDM_SOUND), 0);
                           }},
        // Window and button are fitted to the board, the window's top-left corner in place.
        heart_message_case{"big_board", WM_COMMAND, MAKEWPARAM(IDM_BIGBOARD, 0xFFFF), 0, {},
                           [](size_t) {
                               RECT window;
                               GetWindowRect(MyWindow, &window);
                               EXPECT_EQ(std::make_tuple(window.left, window.top, window.right - window.left,
                                                         window.bottom - window.top),
                                         std::make_tuple(300L, 200L, window_size_for(320, 321).cx,
                                                         window_size_for(320, 321).cy));
                               EXPECT_EQ(std::make_pair(button_rect().left, button_rect().top),
                                         std::make_pair(208L, 292L));
                               EXPECT_EQ(menu_checked(IDM_BIGBOARD), 1);
                               EXPECT_EQ(cell_size, 32);
                           }},
        heart_message_case{"about", WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0x8000), 0, {"About Dovra"},
                           [](size_t from) {
                               int ticks = 0;
                               for (size_t i = from; i < main_window_messages().size(); ++i)
                                   ticks += main_window_messages()[i].message == WM_TIMER;
                               EXPECT_GE(ticks, 2);
                           }},
        // The score is offered for the table, then the new game is repainted erased with the normal cursor.
        heart_message_case{"new_game_button", WM_COMMAND, MAKEWPARAM(IDC_NEWGAME, BN_CLICKED), -1,
                           {"New High Score", "Top Scores"},
                           [](size_t from) {
                               EXPECT_EQ(paints_since(from).back(), "erased");
                               EXPECT_EQ(GetCursor(), normal_cursor);
                               EXPECT_EQ(current_cursor, normal_cursor);
                               EXPECT_EQ(current_score, 0);
                               EXPECT_EQ(pieces_on_board(), BATCH_SIZE);
                           }}),
    [](const ::testing::TestParamInfo<heart_message_case>& info) { return std::string(info.param.name); });

// A tick asks for a repaint of the whole window without erasing: every square is drawn again.
TEST_F(WindowTest, TickRepaintsTheWholeWindowWithoutErasing)
{
    start();
    ValidateRect(MyWindow, NULL);
    const size_t from = main_window_messages().size();

    send(WM_TIMER, TURN_TIMER_ID);

    RECT update, client;
    ASSERT_TRUE(GetUpdateRect(MyWindow, &update, FALSE));
    GetClientRect(MyWindow, &client);
    EXPECT_TRUE(EqualRect(&update, &client));
    UpdateWindow(MyWindow);
    EXPECT_EQ(paints_since(from), std::vector<std::string>{"not erased"});
}

// A click that came during a turn, and a close the heart asks for, go to the main window's queue, to be handled
// after the current message.
TEST_F(WindowTest, RequestsForLaterArePostedToTheMainWindow)
{
    start();
    platform_queue_click(40, 300);
    platform_close();

    MSG click, close;
    ASSERT_TRUE(PeekMessageA(&click, NULL, 0, WM_USER, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&close, NULL, 0, WM_USER, PM_REMOVE));
    EXPECT_EQ(std::make_tuple(click.hwnd, click.message, click.wParam, click.lParam),
              std::make_tuple(MyWindow, static_cast<UINT>(WM_LBUTTONDOWN), WPARAM{0}, LPARAM{MAKELPARAM(40, 300)}));
    EXPECT_EQ(std::make_tuple(close.hwnd, close.message, close.wParam, close.lParam),
              std::make_tuple(MyWindow, static_cast<UINT>(WM_CLOSE), WPARAM{0}, LPARAM{0}));
    EXPECT_FALSE(file_exists("prefs.txt")) << "nothing closed yet";
}

// ---- Closing ------------------------------------------------------------------------------------

TEST_F(WindowTest, CloseSavesTheGameThenReleasesEverythingOnceAndQuits)
{
    start();
    set_board(saved_rows());
    current_score = 24;
    HBITMAP pictures[PICTURES];
    std::copy(symbol, symbol + PICTURES, pictures);

    EXPECT_EQ(send(WM_CLOSE), 0);
    const std::string saved = read_file("prefs.txt");
    write_file("prefs.txt", "# not to be written again\n");
    // A second close, as when Exit and the close box both reach the window, saves and releases nothing again.
    EXPECT_EQ(send(WM_CLOSE), 0);

    EXPECT_EQ(saved, with_crlf(std::string(PREFS_HEADER) + SAVED_GAME));
    EXPECT_EQ(read_file("prefs.txt"), "# not to be written again\n");
    for (int slot = 0; slot < PICTURES; ++slot) {
        EXPECT_EQ(GetObjectType(pictures[slot]), 0u) << "picture " << slot << " was not released";
        EXPECT_EQ(symbol[slot], nullptr);
    }
    EXPECT_FALSE(KillTimer(MyWindow, TURN_TIMER_ID)) << "the timer outlived the close";
    for (int slot = 0; slot < SOUND_SLOTS; ++slot)
        EXPECT_EQ(wavbuffer[slot], nullptr) << slot;
    EXPECT_TRUE(quit_posted());
    // The window itself stays until the process ends.
    EXPECT_TRUE(IsWindow(MyWindow));
}

TEST_F(WindowTest, DestroyEndsTheLoopAndReleasesNothing)
{
    start();

    EXPECT_EQ(send(WM_DESTROY), 0);

    EXPECT_TRUE(quit_posted());
    EXPECT_FALSE(file_exists("prefs.txt"));
    EXPECT_EQ(GetObjectType(symbol[0]), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_NE(wavbuffer[SOUND_MOVE], nullptr);
}

namespace {

struct pending_name_case {
    const char* name;
    UINT message;        // reaches the main window while the New High Score dialog waits for OK
    WPARAM wParam;
    int stored_at_once;  // the entry is in scores.txt when the message has been handled
    int saved_at_once;   // and the game in prefs.txt, New Game's new deal
    std::vector<std::string> modal_windows;
};

}  // namespace

class NameBeingEntered : public WindowTest, public ::testing::WithParamInterface<pending_name_case> {};

// New Game offers the saved game's 24 points; the name is typed, OK not yet pressed, when the session's end or a
// close reaches the main window.
TEST_P(NameBeingEntered, IsStoredOnceAndNothingIsReleasedUnderTheDialog)
{
    const pending_name_case& c = GetParam();
    // The saved game in another order than the program writes it: a save shows.
    const std::string prefs = "checksum = 27660\ncell77 = 7\ncurrent_score = 24\ncell40 = 2\ncell03 = 5\n";
    write_file("prefs.txt", prefs);
    std::string scores_then, prefs_then;
    int pictures_then = 0, sounds_then = 0, quit_then = 1, timer_then = 0;
    std::vector<modal_window_seen> windows;
    {
        modal_player player({at("", [](HWND) { PostMessageA(MyWindow, WM_COMMAND, MAKEWPARAM(IDM_NEWGAME, 0), 0); }),
                             type_name("New High Score", "Ann"), ticks_pass("New High Score", 2),
                             at("New High Score",
                                [&](HWND) {
                                    // Nothing to ask the player: the game is kept when the session ends.
                                    EXPECT_EQ(SendMessageA(MyWindow, WM_QUERYENDSESSION, 0, 0), TRUE);
                                    const int ticks = count_messages(WM_TIMER);
                                    SendMessageA(MyWindow, c.message, c.wParam, 0);
                                    scores_then = read_file("scores.txt");
                                    prefs_then = read_file("prefs.txt");
                                    pictures_then = GetObjectType(symbol[0]) == OBJ_BITMAP;
                                    sounds_then = wavbuffer[SOUND_MOVE] != nullptr;
                                    quit_then = quit_posted();
                                    timer_then = pump_until([ticks] { return count_messages(WM_TIMER) > ticks; });
                                }),
                             close_main_window()});
        EXPECT_EQ(run_winmain(), 0);
        windows = player.windows();
    }

    const std::string table = with_crlf("24 Ann\n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0\n");
    EXPECT_EQ(scores_then, c.stored_at_once ? table : "<missing>");
    // Saved at once, it is the new game New Game deals, so the old one cannot be entered again.
    if (c.saved_at_once)
        EXPECT_TRUE(contains(prefs_then, "current_score = 0\r\n")) << prefs_then;
    else
        EXPECT_EQ(prefs_then, prefs);
    // Nothing is released or ended, since the session may yet go on and the dialog's loop still runs.
    EXPECT_EQ(pictures_then, 1);
    EXPECT_EQ(sounds_then, 1);
    EXPECT_EQ(quit_then, 0);
    EXPECT_EQ(timer_then, 1) << "the timer no longer ticks";
    std::vector<std::string> captions;
    for (const modal_window_seen& w : windows) {
        captions.push_back(w.caption);
        EXPECT_EQ(w.owner, MyWindow);
    }
    EXPECT_EQ(captions, c.modal_windows);
    // Afterwards the close ran as usual, once: the new game saved, everything released.
    EXPECT_EQ(read_file("scores.txt"), table);
    EXPECT_TRUE(contains(read_file("prefs.txt"), "current_score = 0\r\n"));
    EXPECT_EQ(symbol[0], nullptr);
    for (int slot = 0; slot < SOUND_SLOTS; ++slot)
        EXPECT_EQ(wavbuffer[slot], nullptr) << slot;
    EXPECT_FALSE(KillTimer(MyWindow, TURN_TIMER_ID));
}

INSTANTIATE_TEST_SUITE_P(
    WindowTest, NameBeingEntered,
    ::testing::Values(pending_name_case{"session_ends", WM_ENDSESSION, TRUE, 1, 1, {"New High Score", "Top Scores"}},
                      pending_name_case{"session_goes_on", WM_ENDSESSION, FALSE, 0, 0,
                                        {"New High Score", "Top Scores"}},
                      // Top Scores would have followed; the close does not wait for it.
                      pending_name_case{"main_window_closed", WM_CLOSE, 0, 1, 0, {"New High Score"}}),
    [](const ::testing::TestParamInfo<pending_name_case>& info) { return std::string(info.param.name); });
