// window_test.cpp: start-up through WinMain, one Dovra per folder, the main window's class, layout, timer and
// cursor, the restore of a saved game, the messages handed to the heart and the Win32 calls its requests become,
// and closing, also under a modal window, through the window procedure on the Win32 stand-in.
#include <filesystem>
#include <tuple>

#include "modal.h"
#include "one_per_folder.h"
#include "platform.h"
#include "shell_fixture.h"

namespace {

// Hit-test codes of WM_SETCURSOR that the stand-in's header leaves out.
const int HT_CAPTION = 2;
const int HT_MENU = 5;
const int HT_LEFT = 10;
const int HT_BOTTOMRIGHT = 17;

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

}  // namespace

using WindowTest = ShellTest;

// ---- WinMain ------------------------------------------------------------------------------------

TEST_F(WindowTest, WinMainShowsThePaintedWindowBeforeTheFirstTickAndEndsOnClose)
{
    int paints_at_first_idle = -1;
    int ticks_at_first_idle = -1;
    int visible_at_first_idle = -1;
    int show_at_first_idle = -2;
    auto calls = std::make_shared<int>(0);
    int paints_at_third_idle = -1;
    int ticks_at_third_idle = -1;
    headless::set_idle_hook([&, calls] {
        ++*calls;
        HWND main = headless::main_window();
        if (*calls == 1) {
            paints_at_first_idle = headless::paints();
            ticks_at_first_idle = headless::ticks_delivered();
            visible_at_first_idle = headless::window(main)->visible;
            show_at_first_idle = headless::window(main)->show_cmd;
        } else if (*calls == 3) {
            paints_at_third_idle = headless::paints();
            ticks_at_third_idle = headless::ticks_delivered();
            PostMessageA(main, WM_CLOSE, 0, 0);
        }
    });

    EXPECT_EQ(run_winmain(NULL, SW_SHOWNOACTIVATE), 0);

    // The window was shown as asked and painted once before the first tick.
    EXPECT_EQ(paints_at_first_idle, 1);
    EXPECT_EQ(ticks_at_first_idle, 0);
    EXPECT_EQ(visible_at_first_idle, 1);
    EXPECT_EQ(show_at_first_idle, SW_SHOWNOACTIVATE);
    // Every tick the loop hands over is followed by a repaint.
    EXPECT_EQ(ticks_at_third_idle, 2);
    EXPECT_EQ(paints_at_third_idle, 3);
    // The close saved the game and ended the loop.
    EXPECT_NE(read_file("prefs.txt").find("current_score = 0\n"), std::string::npos);
    EXPECT_EQ(headless::quit_posted(), 0) << "the quit message was taken by the loop";
    EXPECT_TRUE(headless::queued().empty());
    EXPECT_TRUE(headless::misuses().empty());
}

TEST_F(WindowTest, ExitFromTheMenuEndsWinMainThroughTheNormalClose)
{
    on_idle(1, [] { PostMessageA(headless::main_window(), WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0); });

    EXPECT_EQ(run_winmain(NULL, SW_SHOWNORMAL), 0);

    EXPECT_TRUE(contains(read_file("prefs.txt"), "current_score = 0\n"));
    for (int slot = 0; slot < SOUND_SLOTS; ++slot)
        EXPECT_EQ(wavbuffer[slot], nullptr);
    EXPECT_EQ(headless::live_count(headless::object_kind::bitmap), 0);
    EXPECT_TRUE(headless::misuses().empty());
}

TEST_F(WindowTest, WinMainCarriesASavedGameThroughAWholeRun)
{
    write_file("prefs.txt", std::string(PREFS_HEADER) + SAVED_GAME);
    std::vector<std::string> rows_while_running;
    int score_while_running = -1;
    std::string score_shown;
    close_when_idle(1, [&] {
        rows_while_running = board_rows();
        score_while_running = current_score;
        for (const headless::draw_op& op : headless::last_paint())
            score_shown += op.kind == headless::draw_kind::text_out ? op.text : "";
    });

    EXPECT_EQ(run_winmain(NULL, SW_SHOWNORMAL), 0);

    EXPECT_EQ(rows_while_running, saved_rows());
    EXPECT_EQ(score_while_running, 24);
    EXPECT_EQ(score_shown, "24") << "already the first paint shows the restored score";
    EXPECT_EQ(read_file("prefs.txt"), std::string(PREFS_HEADER) + SAVED_GAME);
}

TEST_F(WindowTest, WinMainWithAPreviousInstanceDoesNotRegisterTheClassAgain)
{
    ASSERT_NE(Register_Window(headless::instance()), 0);
    close_when_idle(1);

    EXPECT_EQ(run_winmain(headless::instance(), SW_SHOWNORMAL), 0);
    EXPECT_NE(headless::main_window(), nullptr);
    EXPECT_TRUE(file_exists("prefs.txt"));
}

TEST_F(WindowTest, WinMainLeavesRegistrationToAPreviousInstance)
{
    close_when_idle(1);

    // Nobody registered the class, so the main window cannot be made.
    EXPECT_EQ(run_winmain(headless::instance(), SW_SHOWNORMAL), 0);
    EXPECT_EQ(headless::main_window(), nullptr);
}

TEST_F(WindowTest, WinMainReturnsZeroAtOnceWhenTheClassCannotBeRegistered)
{
    // The stand-in refuses a second class of the same name, so WinMain's own registration fails.
    ASSERT_NE(Register_Window(headless::instance()), 0);

    EXPECT_EQ(run_winmain(NULL, SW_SHOWNORMAL), 0);
    EXPECT_TRUE(headless::windows().empty());
    EXPECT_TRUE(headless::timers().empty());
    EXPECT_TRUE(headless::message_boxes().empty());
}

TEST_F(WindowTest, WinMainReturnsZeroWithoutAMessageWhenTheMainWindowCannotBeCreated)
{
    headless::fail_next_main_window_creation();

    // No idle hook: a loop entered now would find nothing to wait for, and the stand-in would abort.
    EXPECT_EQ(run_winmain(NULL, SW_SHOWNORMAL), 0);
    EXPECT_EQ(headless::main_window(), nullptr);
    EXPECT_EQ(MyWindow, nullptr);
    EXPECT_TRUE(headless::windows().empty());
    EXPECT_TRUE(headless::timers().empty());
    EXPECT_TRUE(headless::message_boxes().empty());
    EXPECT_TRUE(headless::dialogs().empty());
    EXPECT_EQ(headless::paints(), 0);
    EXPECT_FALSE(file_exists("prefs.txt"));
}

TEST_F(WindowTest, InitInstanceReportsAFailedMainWindow)
{
    ASSERT_NE(Register_Window(headless::instance()), 0);
    headless::fail_next_main_window_creation();

    EXPECT_EQ(Init_Instance(headless::instance(), SW_SHOWNORMAL), 0);
    EXPECT_EQ(MyWindow, nullptr);
    for (const headless::gdi_object& o : headless::objects())
        EXPECT_FALSE(o.kind == headless::object_kind::bitmap && !o.stock) << "a picture was loaded for no window";
}

// ---- Start-up order -----------------------------------------------------------------------------

TEST_F(WindowTest, SoundsAreLoadedFromTheNamesInPrefs)
{
    const std::string other = pcm_wav("another drop sound");
    write_file("other.wav", other);

    start_with_prefs("sound02 = other.wav\n");

    ASSERT_NE(wavbuffer[SOUND_DROP], nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(wavbuffer[SOUND_DROP]), other.size()), other);
    ASSERT_NE(wavbuffer[SOUND_MOVE], nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(wavbuffer[SOUND_MOVE]), slot_sound(0).size()), slot_sound(0));
}

TEST_F(WindowTest, CreationWorksOnItsOwnWindowBeforeCreateWindowReturns)
{
    start();

    // MyWindow is still null while WM_CREATE runs: the button, timer and marks must hang on hWnd.
    ASSERT_NE(MyWindow, nullptr);
    EXPECT_EQ(headless::main_window(), MyWindow);
    ASSERT_NE(hNewGameButton, nullptr);
    EXPECT_EQ(headless::window(hNewGameButton)->parent, MyWindow);
    ASSERT_EQ(headless::timers().size(), 1u);
    EXPECT_EQ(headless::timers()[0].hwnd, MyWindow);
    EXPECT_EQ(headless::menu_checked(MyWindow, IDM_LITTLEBOARD), 1);
    // The new game is announced with the background erased, ready for the first paint.
    ASSERT_EQ(headless::invalidations().size(), 1u);
    EXPECT_EQ(headless::invalidations()[0].hwnd, MyWindow);
    EXPECT_EQ(headless::invalidations()[0].whole, 1);
    EXPECT_EQ(headless::invalidations()[0].erase, 1);
}

TEST_F(WindowTest, PicturesAreInBeforeTheFirstPaint)
{
    start();

    ASSERT_EQ(headless::paints(), 1);
    std::vector<headless::draw_op> ops = headless::last_paint();
    int blits = 0;
    for (const headless::draw_op& op : ops) {
        if (op.kind == headless::draw_kind::text_out)
            continue;
        ++blits;
        EXPECT_GE(op.source_resource, 1) << "a square was drawn from no picture";
    }
    EXPECT_EQ(blits, SQUARES + BATCH_SIZE);
    EXPECT_TRUE(headless::misuses().empty());
    EXPECT_EQ(headless::ticks_delivered(), 0);
}

TEST_F(WindowTest, ScoresTableIsReadThePlayerNameEmptiedAndAGameDealtAtCreation)
{
    write_file("scores.txt", "350 Ann\n120 Bob\n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0 \n1\n");
    std::snprintf(newname, sizeof newname, "%s", "left over");

    start();

    EXPECT_EQ(scores[0].score, 350);
    EXPECT_STREQ(scores[0].name, "Ann");
    EXPECT_EQ(scores[1].score, 120);
    EXPECT_EQ(hilite_score, 1);
    EXPECT_STREQ(newname, "");
    // Without prefs.txt, a fresh deal of three pieces and a preview.
    EXPECT_EQ(pieces_on_board(), BATCH_SIZE);
    for (int kind : next_batch)
        EXPECT_TRUE(kind >= 1 && kind <= PIECE_KINDS);
}

TEST_F(WindowTest, CursorsAreTheSystemArrowAndWait)
{
    start();

    EXPECT_EQ(normal_cursor, headless::arrow_cursor());
    EXPECT_EQ(busy_cursor, headless::wait_cursor());
    EXPECT_EQ(current_cursor, normal_cursor);
    EXPECT_EQ(headless::current_cursor(), normal_cursor);
    EXPECT_EQ(headless::cursor_display_count(), 1);
}

TEST_F(WindowTest, TimerTicksEveryTenthOfASecondFromCreation)
{
    start();

    ASSERT_EQ(headless::timers().size(), 1u);
    EXPECT_EQ(headless::timers()[0].id, 321u);
    EXPECT_EQ(headless::timers()[0].period_ms, 100u);
    EXPECT_EQ(MyTimer, headless::timers()[0].id);
    tick(3);
    EXPECT_EQ(headless::now_ms(), 300);
}

// ---- Class and window ---------------------------------------------------------------------------

TEST_F(WindowTest, RegisteredClassGivesTheWindowItsNameMenuIconAndProcedure)
{
    ASSERT_NE(Register_Window(headless::instance()), 0);
    ASSERT_EQ(Init_Instance(headless::instance(), SW_SHOWNORMAL), 1);

    const headless::window_info* w = headless::window(MyWindow);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->class_name, "Dovra");
    EXPECT_EQ(w->text, "Dovra");
    EXPECT_EQ(w->style, static_cast<DWORD>(WS_OVERLAPPEDWINDOW)) << "created without WS_VISIBLE";
    EXPECT_EQ(w->ex_style, 0u);
    EXPECT_EQ(w->parent, nullptr);
    // Menu resource 1, with its eight commands.
    ASSERT_NE(w->menu, nullptr);
    for (int id : {IDM_EXIT, IDM_NEWGAME, IDM_SHOWSCORES, IDM_ABOUT, IDM_BIGBOARD, IDM_LITTLEBOARD, IDM_PREVIEW,
                   IDM_SOUND})
        EXPECT_NE(headless::menu_checked(MyWindow, id), -1) << id;
    // Icon resource 1 of the program.
    int program_icons = 0;
    for (const headless::gdi_object& o : headless::objects())
        if (o.kind == headless::object_kind::icon && !o.stock && o.resource == IDI_DOVRA)
            ++program_icons;
    EXPECT_EQ(program_icons, 1);
    // The class procedure is BaseMsgProc: a message sent by the platform reaches it.
    current_cursor = busy_cursor;
    EXPECT_EQ(headless::send(MyWindow, WM_SETCURSOR, reinterpret_cast<WPARAM>(MyWindow), HTCLIENT), 0);
    EXPECT_EQ(headless::current_cursor(), busy_cursor);
}

TEST_F(WindowTest, NewGameButtonIsACentredPushButtonUnderTheBoard)
{
    start();

    HWND button = headless::find_child(MyWindow, IDC_NEWGAME);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button, hNewGameButton);
    const headless::window_info* b = headless::window(button);
    EXPECT_EQ(b->class_name, "BUTTON");
    EXPECT_EQ(b->text, "New Game");
    EXPECT_EQ(b->style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | BS_CENTER));
    EXPECT_EQ(b->ex_style, 0u);
}

namespace {
struct settings_case {
    const char* prefs;
    int width;           // outer size
    int height;
    int button_x;
    int button_y;
    int little, big, preview, sound;  // check marks
};
}  // namespace

class StartUpSettings : public WindowTest, public ::testing::WithParamInterface<settings_case> {};

TEST_P(StartUpSettings, GiveTheWindowItsSizeButtonAndCheckMarks)
{
    const settings_case& c = GetParam();
    start_with_prefs(c.prefs);

    EXPECT_EQ(Hex, HEX);
    EXPECT_EQ(Vex, VEX);
    expect_window(headless::DEFAULT_X, headless::DEFAULT_Y, c.width, c.height);
    expect_button_at(c.button_x, c.button_y);
    expect_marks(c.little, c.big, c.preview, c.sound);
}

INSTANTIATE_TEST_SUITE_P(
    Prefs, StartUpSettings,
    ::testing::Values(
        settings_case{"", 160 + HEX, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"cell_size = 16\ndisplay_preview = 1\n", 160 + HEX, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"cell_size = 16\ndisplay_preview = 0\n", 144 + HEX, 177 + VEX, 64, 148, 1, 0, 0, 0},
        settings_case{"cell_size = 32\ndisplay_preview = 1\n", 320 + HEX, 321 + VEX, 208, 292, 0, 1, 1, 0},
        settings_case{"cell_size = 32\ndisplay_preview = 0\n", 288 + HEX, 321 + VEX, 208, 292, 0, 1, 0, 0},
        settings_case{"cell_size = 16\ndisplay_preview = 1\nsound_enabled = 0\n", 160 + HEX, 177 + VEX, 64, 148,
                      1, 0, 1, 0},
        settings_case{"cell_size = 32\ndisplay_preview = 0\nsound_enabled = 1\n", 288 + HEX, 321 + VEX, 208, 292,
                      0, 1, 0, 1},
        // Sizes and switches only a hand-edited file gives.
        settings_case{"cell_size = 24\n", 240 + HEX, 249 + VEX, 136, 220, 0, 0, 1, 0},
        settings_case{"cell_size = 256\ndisplay_preview = 0\n", 2304 + HEX, 2337 + VEX, 2224, 2308, 0, 0, 0, 0},
        settings_case{"cell_size = 1\n", 10 + HEX, 42 + VEX, -71, 13, 0, 0, 1, 0},
        settings_case{"display_preview = 2\n", 176 + HEX, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"display_preview = -5\n", 64 + HEX, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"cell_size = 24\ndisplay_preview = 5\nsound_enabled = -2\n", 336 + HEX, 249 + VEX, 136, 220,
                      0, 0, 1, 1},
        settings_case{"cell_size = 17\ndisplay_preview = -1\nsound_enabled = 0\n", 136 + HEX, 186 + VEX, 73, 157,
                      0, 0, 1, 0},
        // Cell sizes out of range are ignored: the little board stays.
        settings_case{"cell_size = 0\n", 160 + HEX, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"cell_size = -16\n", 160 + HEX, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"cell_size = 257\n", 160 + HEX, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"cell_size = 2147483647\n", 160 + HEX, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"cell_size = -2147483648\n", 160 + HEX, 177 + VEX, 64, 148, 1, 0, 1, 0},
        // Any int in prefs.txt gives a window the platform can take, with no overflow on the way (UBSan watches).
        settings_case{"display_preview = 2147483647\n", 32767, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"cell_size = 256\ndisplay_preview = 2147483647\n", 32767, 2337 + VEX, 2224, 2308, 0, 0, 1, 0},
        settings_case{"display_preview = 2047\n", 32767, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"display_preview = -2147483648\n", 0, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"cell_size = 256\ndisplay_preview = -2147483648\n", 0, 2337 + VEX, 2224, 2308, 0, 0, 1, 0},
        settings_case{"display_preview = -9\n", HEX, 177 + VEX, 64, 148, 1, 0, 1, 0},
        settings_case{"display_preview = -10\n", 0, 177 + VEX, 64, 148, 1, 0, 1, 0}));

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

    EXPECT_EQ(BaseMsgProc(MyWindow, WM_SETCURSOR, reinterpret_cast<WPARAM>(MyWindow), MAKELPARAM(c.hit, WM_MOUSEMOVE)),
              0);
    EXPECT_EQ(headless::current_cursor(), current_cursor);
}

INSTANTIATE_TEST_SUITE_P(HitTests, SetCursorMessage,
                         ::testing::Values(setcursor_case{HTCLIENT, 1}, setcursor_case{HTCLIENT, 0},
                                           setcursor_case{HT_CAPTION, 1}, setcursor_case{HT_MENU, 1},
                                           setcursor_case{HT_LEFT, 1}, setcursor_case{HT_BOTTOMRIGHT, 1},
                                           setcursor_case{HT_BOTTOMRIGHT, 0}));

namespace {
struct default_case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
}  // namespace

class DefaultHandling : public WindowTest, public ::testing::WithParamInterface<default_case> {};

TEST_P(DefaultHandling, OtherMessagesGoToTheDefaultProcedureAndChangeNothing)
{
    const default_case& c = GetParam();
    start_with(rows_from_top({"1........", ".........", ".........", ".........", "....2...."}), 30);
    std::vector<std::string> rows = board_rows();
    const size_t invalidations = headless::invalidations().size();

    EXPECT_EQ(BaseMsgProc(MyWindow, c.message, c.wParam, c.lParam),
              DefWindowProcA(MyWindow, c.message, c.wParam, c.lParam));
    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(current_score, 30);
    EXPECT_EQ(hilite_x, NO_SELECTION);
    EXPECT_EQ(headless::invalidations().size(), invalidations);
    EXPECT_TRUE(headless::posted().empty());
    EXPECT_TRUE(headless::message_boxes().empty());
    EXPECT_EQ(headless::timers().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, DefaultHandling,
    ::testing::Values(default_case{WM_ERASEBKGND, 0, 0}, default_case{WM_SIZE, 0, MAKELPARAM(500, 400)},
                      default_case{WM_MOUSEMOVE, 0, MAKELPARAM(8, 8)},
                      default_case{WM_RBUTTONDOWN, 0, MAKELPARAM(8, 8)},
                      // No double-click style: a double click on a piece is not a click.
                      default_case{WM_LBUTTONDBLCLK, 0, MAKELPARAM(8, 8)},
                      default_case{WM_KEYDOWN, 'N', 0}, default_case{WM_GETMINMAXINFO, 0, 0},
                      default_case{WM_USER + 7, 1, 2}));

namespace {
struct heart_message_case {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;   // -1: the New Game button's handle
    bool (*done)();  // true once the heart has done what the message asks, through the right Win32 calls
};
}  // namespace

class MessageToTheHeart : public WindowTest, public ::testing::WithParamInterface<heart_message_case> {};

// Each message is decoded once and handed on in plain values: the click's pixel from both words of lParam, the
// command from the low word of wParam, whatever its notification code; the button sends BN_CLICKED. The piece
// at (2,0) is selected, the player has dragged the window, the wait cursor shows, and each modal loop delivers
// two ticks.
TEST_P(MessageToTheHeart, IsDecodedAndHandedOver)
{
    const heart_message_case& c = GetParam();
    start_with(rows_from_top({"..5......"}), 30);
    click_square(2, 0);
    ASSERT_TRUE(MoveWindow(MyWindow, 300, 200, 700, 500, TRUE));
    SetCursor(busy_cursor);
    headless::set_modal_ticks(2);
    const LPARAM lParam = c.lParam == -1 ? reinterpret_cast<LPARAM>(hNewGameButton) : c.lParam;

    EXPECT_EQ(BaseMsgProc(MyWindow, c.message, c.wParam, lParam), 0);
    EXPECT_TRUE(c.done());
    EXPECT_EQ(modal_open, 0) << "the heart is told when its modal window has closed";
    EXPECT_TRUE(headless::misuses().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageToTheHeart,
    ::testing::Values(
        // The move starts with the wait cursor and a repaint of the whole window, not erased.
        heart_message_case{"click", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(72, 8),
                           [] {
                               EXPECT_EQ(headless::current_cursor(), headless::wait_cursor());
                               EXPECT_EQ(current_cursor, busy_cursor) << "for WM_SETCURSOR over the frame";
                               const headless::invalidation& repaint = headless::invalidations().back();
                               EXPECT_EQ(repaint.hwnd, MyWindow);
                               EXPECT_EQ(repaint.whole, 1);
                               EXPECT_EQ(repaint.erase, 0);
                               return pptr > 0 && path[0].x == 4 && path[0].y == 0;
                           }},
        heart_message_case{"sound", WM_COMMAND, MAKEWPARAM(IDM_SOUND, 1), 0,
                           [] { return sound_enabled == 0 && headless::menu_checked(MyWindow, IDM_SOUND) == 0; }},
        // Window and button are fitted to the board, the window's top-left corner in place.
        heart_message_case{"big_board", WM_COMMAND, MAKEWPARAM(IDM_BIGBOARD, 0xFFFF), 0,
                           [] {
                               expect_window(300, 200, 320 + HEX, 321 + VEX);
                               expect_button_at(208, 292);
                               const auto& moves = headless::move_window_calls();
                               EXPECT_TRUE(moves.end()[-1].repaint && moves.end()[-2].repaint);
                               return cell_size == 32;
                           }},
        heart_message_case{"about", WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0x8000), 0,
                           [] {
                               const headless::message_box& box = headless::message_boxes().back();
                               EXPECT_EQ(box.owner, MyWindow);
                               EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
                               EXPECT_EQ(box.ticks, 2);
                               return box.caption == "About Dovra";
                           }},
        // The new game is repainted erased; the normal cursor shows.
        heart_message_case{"new_game_button", WM_COMMAND, MAKEWPARAM(IDC_NEWGAME, BN_CLICKED), -1,
                           [] {
                               EXPECT_EQ(headless::invalidations().back().erase, 1);
                               EXPECT_EQ(headless::current_cursor(), headless::arrow_cursor());
                               EXPECT_EQ(current_cursor, normal_cursor);
                               return current_score == 0 && pieces_on_board() == BATCH_SIZE;
                           }}),
    [](const ::testing::TestParamInfo<heart_message_case>& info) { return std::string(info.param.name); });

// A click that came during a turn, and a close the heart asks for, go to the main window's queue, to be
// handled after the current message.
TEST_F(WindowTest, RequestsForLaterArePostedToTheMainWindow)
{
    start();
    platform_queue_click(40, 300);
    platform_close();
    ASSERT_EQ(headless::queued().size(), 2u);
    const MSG click = headless::queued()[0], close = headless::queued()[1];
    EXPECT_EQ(std::make_tuple(click.hwnd, click.message, click.wParam, click.lParam),
              std::make_tuple(MyWindow, static_cast<UINT>(WM_LBUTTONDOWN), WPARAM{0}, LPARAM{MAKELPARAM(40, 300)}));
    EXPECT_EQ(std::make_tuple(close.hwnd, close.message, close.wParam, close.lParam),
              std::make_tuple(MyWindow, static_cast<UINT>(WM_CLOSE), WPARAM{0}, LPARAM{0}));
    EXPECT_EQ(headless::timers().size(), 1u) << "nothing closed yet";
}

TEST_F(WindowTest, DestroyPostsTheQuitMessageAndReleasesNothing)
{
    start();
    const size_t deletes = headless::delete_calls().size();

    EXPECT_EQ(BaseMsgProc(MyWindow, WM_DESTROY, 0, 0), 0);
    EXPECT_EQ(headless::quit_posted(), 1);
    EXPECT_EQ(headless::quit_code(), 0);
    EXPECT_EQ(headless::timers().size(), 1u);
    EXPECT_EQ(headless::delete_calls().size(), deletes);
    EXPECT_FALSE(file_exists("prefs.txt"));
}

// ---- Close --------------------------------------------------------------------------------------

TEST_F(WindowTest, CloseSavesTheGameThenReleasesEverythingOnceAndQuits)
{
    start();
    set_board(saved_rows());
    current_score = 24;
    HCURSOR arrow = normal_cursor;
    HCURSOR wait = busy_cursor;

    EXPECT_EQ(BaseMsgProc(MyWindow, WM_CLOSE, 0, 0), 0);
    // A second close, as when Exit and the close box both reach the window, releases nothing again.
    EXPECT_EQ(BaseMsgProc(MyWindow, WM_CLOSE, 0, 0), 0);

    EXPECT_EQ(read_file("prefs.txt"), std::string(PREFS_HEADER) + SAVED_GAME);
    // Each of the sixteen pictures released once.
    int pictures = 0;
    for (const headless::gdi_object& o : headless::objects()) {
        if (o.kind != headless::object_kind::bitmap || o.stock)
            continue;
        ++pictures;
        EXPECT_EQ(o.deletes, 1) << "bitmap resource " << o.resource;
        EXPECT_EQ(o.alive, 0) << "bitmap resource " << o.resource;
    }
    EXPECT_EQ(pictures, 16);
    int cursor_deletes = 0;
    for (const headless::delete_call& d : headless::delete_calls())
        if (d.handle == arrow || d.handle == wait)
            ++cursor_deletes;
    EXPECT_EQ(cursor_deletes, 2);
    EXPECT_TRUE(headless::timers().empty());
    for (int slot = 0; slot < SOUND_SLOTS; ++slot)
        EXPECT_EQ(wavbuffer[slot], nullptr) << slot;
    EXPECT_EQ(headless::quit_posted(), 1);
    EXPECT_EQ(headless::quit_code(), 0);
    EXPECT_TRUE(headless::misuses().empty());
    // The window itself stays until the process ends.
    EXPECT_NE(headless::window(MyWindow), nullptr);
}

TEST_F(WindowTest, CloseWithAFullBoardWritesNoGame)
{
    start();
    set_board(no_line_rows());
    current_score = 480;

    EXPECT_EQ(BaseMsgProc(MyWindow, WM_CLOSE, 0, 0), 0);

    EXPECT_EQ(read_file("prefs.txt"), PREFS_HEADER);
}

TEST_F(WindowTest, CloseKeepsTheSettingsAndSoundNamesRead)
{
    start_with_prefs("cell_size = 32\ndisplay_preview = 0\nsound_enabled = 1\nsound04 = 'end game.wav'\n");
    std::memset(board, 0, sizeof board);
    board[2][1] = 3;
    current_score = 0;

    EXPECT_EQ(BaseMsgProc(MyWindow, WM_CLOSE, 0, 0), 0);

    EXPECT_EQ(read_file("prefs.txt"),
              "# Preferences file for Dovra\n"
              "cell_size = 32\n"
              "display_preview = 0\n"
              "sound_enabled = 1\n"
              "sound00 = move.wav\n"
              "sound01 = woops.wav\n"
              "sound02 = drop.wav\n"
              "sound03 = zip.wav\n"
              "sound04 = end game.wav\n"
              "sound05 = winner.wav\n"
              "cell19 = 3\n"
              "current_score = 0\n"
              "checksum = " +
                  std::to_string(3 ^ CHECKSUM_MASK) + "\n");
}

// ---- One Dovra per working folder ---------------------------------------------------------------

namespace {

std::string lock_name_of(const std::string& folder)
{
    char name[FOLDER_LOCK_NAME_LEN];
    folder_lock_name(folder.c_str(), name);
    return name;
}

// The folder as the file system resolves it, whatever name it was reached by.
std::string final_path(const std::string& folder)
{
    return std::filesystem::canonical(folder).string();
}

// Another Dovra's lock, taken as the program takes it, through the name given.
HANDLE hold_lock(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, NULL);
}

// The minimised main window of a Dovra in another process, marked as the Dovra of that folder.
HWND other_dovra_window(const std::string& folder_name)
{
    HWND w = headless::foreign_window("Dovra", "Dovra");
    SetPropA(w, folder_name.c_str(), reinterpret_cast<HANDLE>(1));
    ShowWindow(w, SW_MINIMIZE);
    return w;
}

struct lock_name_case {
    const char* folder;
    const char* name;
};

}  // namespace

class FolderLockName : public ::testing::TestWithParam<lock_name_case> {};

// A folder spelled in either case is one folder to Windows, so it gives one name.
TEST_P(FolderLockName, IsTheHashOfTheFoldedPath)
{
    EXPECT_EQ(lock_name_of(GetParam().folder), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FolderLockName,
    ::testing::Values(lock_name_case{"", "Dovra-cbf29ce484222325"},  // the 64-bit FNV-1a of nothing, and of "a"
                      lock_name_case{"a", "Dovra-af63dc4c8601ec8c"}, lock_name_case{"A", "Dovra-af63dc4c8601ec8c"},
                      lock_name_case{"C:\\Games\\Dovra", "Dovra-9ad6e2b2a04dbfdb"},
                      lock_name_case{"c:\\GAMES\\dovra", "Dovra-9ad6e2b2a04dbfdb"},
                      lock_name_case{"C:\\Games\\Dovra2", "Dovra-68e31e86641d18eb"}));

// A window property's name may hold neither a namespace separator nor any length.
TEST(FolderLockName, StaysShortForTheLongestPath)
{
    const std::string name = lock_name_of(std::string(5000, 'x'));
    EXPECT_EQ(name.size(), FOLDER_LOCK_NAME_LEN - 1);
    EXPECT_EQ(name.find('\\'), std::string::npos);
}

// 1 when kernel32.dll has GetFinalPathNameByHandleA; Windows XP has not, and the folder's path as reached names
// the window there.
class SecondStartInTheSameFolder : public WindowTest, public ::testing::WithParamInterface<int> {};

// Two starts in one folder: the second, started while the first runs, ends at once.
TEST_P(SecondStartInTheSameFolder, BringsTheFirstForwardAndTouchesNothing)
{
    if (!GetParam())
        headless::lack_final_path_call();
    write_file("prefs.txt", "cell_size = 32\n");
    write_file("scores.txt", "700 Ann\n");
    int second = -1;
    std::string prefs_then, scores_then;
    std::vector<std::string> files_open;
    HWND first = NULL;
    size_t windows_before = 0;
    close_when_idle(1, [&] {
        first = MyWindow;
        ShowWindow(first, SW_MINIMIZE);
        files_open = headless::open_files();
        // What the second start would read if it read anything.
        write_file("prefs.txt", "cell_size = 24\n");
        windows_before = headless::windows().size();
        second = run_winmain(NULL, SW_SHOWNORMAL);
        prefs_then = read_file("prefs.txt");
        scores_then = read_file("scores.txt");
    });

    EXPECT_EQ(run_winmain(NULL, SW_SHOWNORMAL), 0);

    EXPECT_EQ(files_open, std::vector<std::string>{final_path(".") + "/" + FOLDER_LOCK_FILE});
    EXPECT_EQ(second, 0);
    EXPECT_EQ(prefs_then, "cell_size = 24\n");
    EXPECT_EQ(scores_then, "700 Ann\n");
    EXPECT_EQ(headless::windows().size(), windows_before) << "the second start made a window";
    EXPECT_EQ(MyWindow, first);
    EXPECT_EQ(cell_size, 32) << "the second start read prefs.txt";
    EXPECT_EQ(headless::library_loads().size(), 1u) << "the second start loaded the sounds";
    EXPECT_EQ(headless::window(first)->show_cmd, SW_RESTORE);
    EXPECT_EQ(headless::foreground_window(), first);
    // The first one's close frees the folder for the next start.
    EXPECT_TRUE(headless::open_files().empty());
    EXPECT_FALSE(file_exists(FOLDER_LOCK_FILE)) << "the lock outlived the close";
    EXPECT_EQ(GetPropA(first, lock_name_of(final_path(".")).c_str()), nullptr);
    EXPECT_TRUE(headless::misuses().empty());
}

INSTANTIATE_TEST_SUITE_P(WindowTest, SecondStartInTheSameFolder, ::testing::Values(1, 0),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param ? "named_by_its_final_path" : "on_windows_xp");
                         });

namespace {

struct other_dovra_case {
    const char* name;
    const char* folder;  // the other Dovra's folder, by the name it reached it
    int has_window;      // its window is up yet
    int runs;            // this start goes on
};

void PrintTo(const other_dovra_case& c, std::ostream* os)
{
    *os << c.name;
}

}  // namespace

class OtherDovraRunning : public WindowTest, public ::testing::WithParamInterface<other_dovra_case> {};

// Another Dovra holds its folder's lock; a Dovra of a third folder, minimised, is listed before it.
TEST_P(OtherDovraRunning, StopsThisStartOnlyInItsOwnFolderAndBringsOnlyItForward)
{
    const other_dovra_case& c = GetParam();
    std::filesystem::create_directory("elsewhere");
    std::filesystem::create_directory_symlink(".", "link");
    HWND third = other_dovra_window(lock_name_of("C:\\Games\\Dovra"));
    HANDLE other_lock = hold_lock(std::string(c.folder) + "/" + FOLDER_LOCK_FILE);
    ASSERT_NE(other_lock, INVALID_HANDLE_VALUE);
    HWND other = c.has_window ? other_dovra_window(lock_name_of(final_path(c.folder))) : NULL;
    write_file("prefs.txt", "cell_size = 32\n");
    write_file("scores.txt", "700 Ann\n");
    close_when_idle(1);

    EXPECT_EQ(run_winmain(NULL, SW_SHOWNORMAL), 0);

    EXPECT_EQ(headless::main_window() != NULL, c.runs);
    // Read and written, or neither.
    EXPECT_EQ(cell_size, c.runs ? 32 : 16);
    EXPECT_EQ(scores[0].score, c.runs ? 700 : 0);
    EXPECT_EQ(headless::library_loads().size(), c.runs ? 1u : 0u);
    EXPECT_EQ(read_file("prefs.txt") == "cell_size = 32\n", c.runs == 0);
    EXPECT_EQ(read_file("scores.txt"), "700 Ann\n");
    EXPECT_EQ(headless::window(third)->show_cmd, SW_MINIMIZE);
    if (other) {
        EXPECT_EQ(headless::window(other)->show_cmd, c.runs ? SW_MINIMIZE : SW_RESTORE);
    }
    EXPECT_EQ(headless::foreground_window(), c.runs ? NULL : other);
    EXPECT_EQ(headless::open_files(), std::vector<std::string>{final_path(c.folder) + "/" + FOLDER_LOCK_FILE});
    if (c.runs) {
        EXPECT_FALSE(file_exists(FOLDER_LOCK_FILE)) << "this start's lock outlived its close";
    }
    CloseHandle(other_lock);
    EXPECT_TRUE(headless::misuses().empty());
}

INSTANTIATE_TEST_SUITE_P(WindowTest, OtherDovraRunning,
                         ::testing::Values(other_dovra_case{"in_another_folder", "elsewhere", 1, 1},
                                           other_dovra_case{"here_through_a_link_with_its_window_up", "link", 1, 0},
                                           other_dovra_case{"here_through_a_dotted_path_before_its_window_is_up",
                                                            "./", 0, 0}),
                         [](const ::testing::TestParamInfo<other_dovra_case>& info) {
                             return std::string(info.param.name);
                         });

namespace {

struct unheld_lock_case {
    const char* name;
    std::function<void()> prepare;  // what is in the folder before the start
    int lock_after;                 // a dovra.lock is in the folder after the close
};

void PrintTo(const unheld_lock_case& c, std::ostream* os)
{
    *os << c.name;
}

}  // namespace

class LockNotHeldByAnother : public WindowTest, public ::testing::WithParamInterface<unheld_lock_case> {};

// Only another Dovra's open lock stops a start; a lock file nobody holds, or none that can be made, does not.
TEST_P(LockNotHeldByAnother, LetsThisStartRun)
{
    const unheld_lock_case& c = GetParam();
    write_file("prefs.txt", "cell_size = 32\n");
    c.prepare();
    close_when_idle(1);

    EXPECT_EQ(run_winmain(NULL, SW_SHOWNORMAL), 0);
    std::filesystem::permissions(".", std::filesystem::perms::owner_all);

    EXPECT_NE(headless::main_window(), nullptr);
    EXPECT_EQ(cell_size, 32);
    EXPECT_EQ(file_exists(FOLDER_LOCK_FILE), c.lock_after != 0);
    EXPECT_TRUE(headless::open_files().empty());
    EXPECT_TRUE(headless::misuses().empty());
}

INSTANTIATE_TEST_SUITE_P(
    WindowTest, LockNotHeldByAnother,
    ::testing::Values(unheld_lock_case{"left_behind_by_a_power_cut", [] { write_file(FOLDER_LOCK_FILE, ""); }, 0},
                      unheld_lock_case{"in_a_read_only_folder",
                                       [] {
                                           std::filesystem::permissions(".", std::filesystem::perms::owner_read |
                                                                                 std::filesystem::perms::owner_exec);
                                       },
                                       0},
                      unheld_lock_case{"whose_name_a_folder_has_taken",
                                       [] { std::filesystem::create_directory(FOLDER_LOCK_FILE); }, 1}),
    [](const ::testing::TestParamInfo<unheld_lock_case>& info) { return std::string(info.param.name); });

// ---- The session's end or a close under the name being entered -----------------------------------

namespace {

struct pending_name_case {
    const char* name;
    UINT message;          // reaches the main window while the New High Score dialog waits for OK
    WPARAM wParam;
    int stored_at_once;    // the entry is in scores.txt when the message has been handled
    int saved_at_once;     // and the game in prefs.txt, New Game's new deal
    std::vector<int> dialogs;
};

void PrintTo(const pending_name_case& c, std::ostream* os)
{
    *os << c.name;
}

}  // namespace

class NameBeingEntered : public WindowTest, public ::testing::WithParamInterface<pending_name_case> {};

// New Game offers the saved game's 24 points; the name is typed, OK not yet pressed, when the session's end
// or a close reaches the main window.
TEST_P(NameBeingEntered, IsStoredOnceAndNothingIsReleasedUnderTheDialog)
{
    const pending_name_case& c = GetParam();
    // The saved game in another order than the program writes it: a save shows.
    const std::string prefs = "checksum = 27660\ncell77 = 7\ncurrent_score = 24\ncell40 = 2\ncell03 = 5\n";
    write_file("prefs.txt", prefs);
    std::string scores_then, prefs_then;
    int pictures_then = -1, sounds_then = -1, quit_then = -1;
    size_t timers_then = 0;
    on_idle(1, [&] {
        headless::set_modal_ticks(2);
        headless::script_dialog(IDD_NEWHIGHSCORE,
                                {headless::type_text(IDC_NAME_EDIT, "Ann"), headless::call([&] {
                                     // Nothing to ask the player: the game is kept when the session ends.
                                     EXPECT_EQ(headless::send(MyWindow, WM_QUERYENDSESSION, 0, 0), TRUE);
                                     headless::send(MyWindow, c.message, c.wParam, 0);
                                     scores_then = read_file("scores.txt");
                                     prefs_then = read_file("prefs.txt");
                                     pictures_then = headless::live_count(headless::object_kind::bitmap);
                                     sounds_then = wavbuffer[SOUND_MOVE] != nullptr;
                                     quit_then = headless::quit_posted();
                                     timers_then = headless::timers().size();
                                 }),
                                 headless::press_ok()});
        menu_command(IDM_NEWGAME);
        PostMessageA(MyWindow, WM_CLOSE, 0, 0);
    });

    EXPECT_EQ(run_winmain(NULL, SW_SHOWNORMAL), 0);

    const std::string table = "24 Ann\n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0\n";
    EXPECT_EQ(scores_then, c.stored_at_once ? table : "<missing>");
    // Saved at once, it is the new game New Game deals, so the old one cannot be entered again.
    if (c.saved_at_once)
        EXPECT_TRUE(contains(prefs_then, "current_score = 0\n")) << prefs_then;
    else
        EXPECT_EQ(prefs_then, prefs);
    // Nothing is released or ended, since the session may yet go on and the dialog's loop still runs.
    EXPECT_EQ(pictures_then, 16);
    EXPECT_EQ(sounds_then, 1);
    EXPECT_EQ(quit_then, 0);
    EXPECT_EQ(timers_then, 1u);
    std::vector<int> dialogs;
    for (const headless::dialog_run& run : headless::dialogs()) {
        dialogs.push_back(run.template_id);
        EXPECT_EQ(run.owner, MyWindow);
        EXPECT_EQ(run.param, 0);
        EXPECT_EQ(run.ticks, 2) << "the dialog's loop delivers the ticks";
    }
    EXPECT_EQ(dialogs, c.dialogs);
    // Afterwards the close ran as usual, once: the new game saved, everything released once.
    EXPECT_EQ(read_file("scores.txt"), table);
    EXPECT_TRUE(contains(read_file("prefs.txt"), "current_score = 0\n"));
    for (const headless::gdi_object& o : headless::objects()) {
        if (o.kind != headless::object_kind::bitmap || o.stock)
            continue;
        EXPECT_EQ(o.deletes, 1) << "bitmap resource " << o.resource;
    }
    for (int slot = 0; slot < SOUND_SLOTS; ++slot)
        EXPECT_EQ(wavbuffer[slot], nullptr) << slot;
    EXPECT_TRUE(headless::timers().empty());
    EXPECT_TRUE(headless::misuses().empty());
}

INSTANTIATE_TEST_SUITE_P(
    WindowTest, NameBeingEntered,
    ::testing::Values(pending_name_case{"session_ends", WM_ENDSESSION, TRUE, 1, 1, {IDD_NEWHIGHSCORE, IDD_TOPSCORES}},
                      pending_name_case{"session_goes_on", WM_ENDSESSION, FALSE, 0, 0,
                                        {IDD_NEWHIGHSCORE, IDD_TOPSCORES}},
                      // Top Scores would have followed; the close does not wait for it.
                      pending_name_case{"main_window_closed", WM_CLOSE, 0, 1, 0, {IDD_NEWHIGHSCORE}}),
    [](const ::testing::TestParamInfo<pending_name_case>& info) { return std::string(info.param.name); });
