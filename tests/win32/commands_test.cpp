// commands_test.cpp: every menu command and the New Game button, with the check marks, the window
// fitting the settings, and New Game ending a turn that is still running.
#include "shell_fixture.h"

namespace {

// A line the program never writes, so that a file still holding it was not rewritten.
const char HAND_WRITTEN[] = "# written by hand\n";

// Six pieces, with room for the piece at the top left to travel along the first row.
const std::vector<std::string> SIX_PIECES = {"1........", ".........", "...5.....", ".........", "....2....",
                                             ".......6.", ".3.......", ".........", "........4"};

const char RULES[] =
    "The object of this game is to get a high score before running\n"
    "out of empty squares on the playing board.  You get points for\n"
    "arranging identical shapes in straight lines of five pieces or\n"
    "more; vertically, horizontally and/or diagonally.\n"
    "When you do this, the pieces that make up the line(s) will be\n"
    "cleared from the board.\n"
    "To make a move, click on a piece that is not blocked in and\n"
    "then click on an empty destination square.  The piece must be\n"
    "able to follow a clear path to the destination, and can only\n"
    "move horizontally and vertically.";

const char TEN_THOUSANDS[] = "1000 A\n1000 B\n1000 C\n1000 D\n1000 E\n1000 F\n1000 G\n1000 H\n1000 I\n1000 J\n11\n";

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// As the platform sends it when the button is pressed.
LRESULT press_new_game_button()
{
    return BaseMsgProc(MyWindow, WM_COMMAND, MAKEWPARAM(IDC_NEWGAME, BN_CLICKED),
                       reinterpret_cast<LPARAM>(hNewGameButton));
}

LRESULT command_or_button(int id)
{
    return id == IDC_NEWGAME ? press_new_game_button() : menu_command(id);
}

int prefs_written()
{
    return contains(read_file("prefs.txt"), HAND_WRITTEN) ? 0 : 1;
}

// What the player may do to the window with its frame: move it and stretch it.
void drag_window_to(int x, int y, int width, int height)
{
    ASSERT_TRUE(MoveWindow(MyWindow, x, y, width, height, TRUE));
}

}  // namespace

// Every prefs.txt these tests write starts with HAND_WRITTEN.
class CommandsTest : public ShellTest {
protected:
    void start_with_prefs(const std::string& text) { ShellTest::start_with_prefs(HAND_WRITTEN + text); }
};

// ---- Exit ---------------------------------------------------------------------------------------

TEST_F(CommandsTest, ExitPostsACloseThatTheLoopHandlesLater)
{
    start_with(SIX_PIECES, 40);

    EXPECT_EQ(menu_command(IDM_EXIT), 0);

    std::vector<MSG> posted = posted_since();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].hwnd, MyWindow);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(posted[0].wParam, 0u);
    EXPECT_EQ(posted[0].lParam, 0);
    // Nothing is saved or released inside the command itself.
    EXPECT_FALSE(file_exists("prefs.txt"));
    EXPECT_EQ(headless::timers().size(), 1u);

    headless::run_pending();
    EXPECT_TRUE(contains(read_file("prefs.txt"), "current_score = 40\n"));
    EXPECT_TRUE(headless::timers().empty());
    EXPECT_EQ(headless::quit_posted(), 1);
}

TEST_F(CommandsTest, ExitFromTheMenuEndsWinMainThroughTheNormalClose)
{
    on_idle(1, [] { PostMessageA(headless::main_window(), WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0); });

    EXPECT_EQ(run_winmain(NULL, SW_SHOWNORMAL), 0);

    EXPECT_TRUE(contains(read_file("prefs.txt"), "current_score = 0\n"));
    for (int slot = 0; slot < SOUND_SLOTS; ++slot)
        EXPECT_EQ(wavbuffer[slot], nullptr);
    EXPECT_EQ(headless::live_count(headless::object_kind::bitmap), 0);
    EXPECT_TRUE(headless::misuses().empty());
}

// ---- New Game -----------------------------------------------------------------------------------

namespace {
struct new_game_case {
    const char* name;
    int id;                   // 102 from the menu, 500 from the button
    int score;
    int recorded;             // score_recorded before the command
    const char* scores_file;  // nullptr: no scores.txt
    int offered;              // 1: New High Score, then Top Scores
};
}  // namespace

class NewGameCommand : public CommandsTest, public ::testing::WithParamInterface<new_game_case> {};

TEST_P(NewGameCommand, DealsAFreshGameAfterOfferingAnUnrecordedScore)
{
    const new_game_case& c = GetParam();
    if (c.scores_file)
        write_file("scores.txt", c.scores_file);
    start_with(SIX_PIECES, c.score);
    score_recorded = c.recorded;
    click_square(0, 0);
    ASSERT_EQ(hilite_x, 0);
    const std::string scores_before = read_file("scores.txt");
    forget_records();
    answer_new_high_score("Ann");

    EXPECT_EQ(command_or_button(c.id), 0);

    // The fresh game.
    EXPECT_EQ(pieces_on_board(), BATCH_SIZE);
    EXPECT_EQ(current_score, 0);
    for (int kind : next_batch)
        EXPECT_TRUE(kind >= 1 && kind <= PIECE_KINDS);
    EXPECT_EQ(hilite_x, NO_SELECTION);
    EXPECT_EQ(hilite_y, NO_SELECTION);
    EXPECT_EQ(score_recorded, 0);
    // Repainted whole, background erased.
    ASSERT_EQ(invalidations_since(), 1u);
    const headless::invalidation& inv = headless::invalidations().back();
    EXPECT_EQ(inv.hwnd, MyWindow);
    EXPECT_EQ(inv.whole, 1);
    EXPECT_EQ(inv.erase, 1);
    // The old game stays in prefs.txt until the next save.
    EXPECT_FALSE(file_exists("prefs.txt"));
    EXPECT_EQ(boxes_since(), 0u);
    for (const MSG& msg : posted_since())
        EXPECT_NE(msg.hwnd, MyWindow) << "message " << msg.message;

    if (!c.offered) {
        EXPECT_EQ(dialogs_since(), 0u);
        EXPECT_EQ(read_file("scores.txt"), scores_before);
        return;
    }
    ASSERT_EQ(dialogs_shown(), (std::vector<int>{IDD_NEWHIGHSCORE, IDD_TOPSCORES}));
    const headless::dialog_run& entry = headless::dialogs()[seen_dialogs];
    const headless::dialog_run& table = headless::dialogs()[seen_dialogs + 1];
    for (const headless::dialog_run* run : {&entry, &table}) {
        EXPECT_EQ(run->owner, MyWindow);
        EXPECT_EQ(run->param, 0);
        EXPECT_EQ(run->ended, 1);
    }
    // The dialog came before the deal: it showed the old game's score.
    EXPECT_EQ(entry.texts_after_init.at(IDC_YOUR_SCORE), std::to_string(c.score));
    int p = hilite_score;
    ASSERT_TRUE(p >= 0 && p < SCORE_ROWS);
    EXPECT_EQ(scores[p].score, c.score);
    EXPECT_STREQ(scores[p].name, "Ann");
    EXPECT_EQ(table.texts_after_init.at(IDC_ROW_NAME + p), "--> Ann");
    EXPECT_TRUE(contains(read_file("scores.txt"), std::to_string(c.score) + " Ann\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewGameCommand,
    ::testing::Values(new_game_case{"menu_score_0", IDM_NEWGAME, 0, 0, nullptr, 0},
                      new_game_case{"button_score_0", IDC_NEWGAME, 0, 0, nullptr, 0},
                      new_game_case{"menu_already_recorded", IDM_NEWGAME, 120, 1, nullptr, 0},
                      new_game_case{"button_already_recorded", IDC_NEWGAME, 120, 1, nullptr, 0},
                      new_game_case{"menu_below_the_table", IDM_NEWGAME, 500, 0, TEN_THOUSANDS, 0},
                      new_game_case{"menu_equal_to_the_tenth", IDM_NEWGAME, 1000, 0, TEN_THOUSANDS, 0},
                      new_game_case{"menu_qualifying", IDM_NEWGAME, 120, 0, nullptr, 1},
                      new_game_case{"button_qualifying", IDC_NEWGAME, 120, 0, nullptr, 1},
                      new_game_case{"menu_into_a_full_table", IDM_NEWGAME, 1001, 0, TEN_THOUSANDS, 1}),
    [](const ::testing::TestParamInfo<new_game_case>& info) { return std::string(info.param.name); });

// ---- New Game while a turn runs -----------------------------------------------------------------

namespace {
struct running_turn_case {
    const char* name;
    astate state;          // how far the turn has got when New Game comes
    int moving;            // with state MOVE: the piece is still on its way
};
}  // namespace

class NewGameDuringATurn : public CommandsTest, public ::testing::WithParamInterface<running_turn_case> {};

TEST_P(NewGameDuringATurn, EndsTheTurnSoNothingOfItReachesTheNewGame)
{
    const running_turn_case& c = GetParam();
    start_with(SIX_PIECES);
    click_square(0, 0);
    click_square(4, 0);
    ASSERT_EQ(move_complete, 0) << "the move was accepted";
    tick();
    for (int guard = 0; animate_state != c.state && guard < 100; ++guard)
        tick();
    ASSERT_EQ(animate_state, c.state);
    ASSERT_EQ(move_complete, 0) << "the turn still runs";
    if (c.moving) {
        ASSERT_GT(pptr, 0);
    }
    // A click during the turn waits for its end.
    click_square(2, 2);
    ASSERT_EQ(pending_click, 1);

    EXPECT_EQ(menu_command(IDM_NEWGAME), 0);

    expect_idle();
    EXPECT_EQ(pending_click, 0);
    EXPECT_EQ(pieces_on_board(), BATCH_SIZE);
    EXPECT_EQ(current_score, 0);

    std::vector<std::string> rows = board_rows();
    int batch[BATCH_SIZE] = {next_batch[0], next_batch[1], next_batch[2]};
    forget_records();
    tick(20);

    EXPECT_EQ(board_rows(), rows);
    for (int i = 0; i < BATCH_SIZE; ++i)
        EXPECT_EQ(next_batch[i], batch[i]);
    EXPECT_EQ(current_score, 0);
    EXPECT_TRUE(sounds_played().empty());
    EXPECT_TRUE(posted_since().empty()) << "the waiting click was dropped with its turn";
    EXPECT_EQ(boxes_since(), 0u);
    EXPECT_EQ(dialogs_since(), 0u);
    // The new game is playable at once.
    EXPECT_EQ(hilite_x, NO_SELECTION);
}

INSTANTIATE_TEST_SUITE_P(Stages, NewGameDuringATurn,
                         ::testing::Values(running_turn_case{"moving", MOVE, 1},
                                           running_turn_case{"arrived", PAUSE, 0},
                                           running_turn_case{"first_drop_next", DROP1, 0},
                                           running_turn_case{"second_drop_next", DROP2, 0},
                                           running_turn_case{"last_drop_next", DROP3, 0}),
                         [](const ::testing::TestParamInfo<running_turn_case>& info) {
                             return std::string(info.param.name);
                         });

// The turn below would fill the board and end the game within the ticks that reach the main window while
// the New High Score dialog is open; ended first, it cannot open a game-over dialog behind that one.
TEST_F(CommandsTest, NewGameDuringAGameEndingTurnOpensNoDialogBehindTheHighScore)
{
    // A full board without two equal pieces within four squares of each other on any line, less three
    // corners; no move or drop into them can complete five.
    std::vector<std::string> rows = no_line_rows();
    rows[8][8] = '.';
    rows[8][0] = '.';
    rows[0][8] = '.';
    start_with(rows, 50);
    click_square(7, 8);
    click_square(8, 8);
    ASSERT_EQ(move_complete, 0);
    tick();
    ASSERT_EQ(animate_state, PAUSE) << "one square to go: arrived";
    forget_records();
    headless::set_modal_ticks(6);
    answer_new_high_score("Ann");

    EXPECT_EQ(menu_command(IDM_NEWGAME), 0);

    ASSERT_EQ(dialogs_shown(), (std::vector<int>{IDD_NEWHIGHSCORE, IDD_TOPSCORES}));
    EXPECT_EQ(headless::dialogs()[seen_dialogs].ticks, 6) << "the ticks did reach the main window";
    EXPECT_TRUE(sounds_played().empty()) << "no drop, no game-over sound behind the dialogs";
    EXPECT_EQ(boxes_since(), 0u);
    EXPECT_EQ(scores[0].score, 50);
    EXPECT_STREQ(scores[0].name, "Ann");
    EXPECT_EQ(scores[1].score, 0) << "entered once";
    EXPECT_EQ(score_recorded, 0);
    EXPECT_EQ(pieces_on_board(), BATCH_SIZE);
    EXPECT_EQ(current_score, 0);
    EXPECT_EQ(move_complete, 1);
}

// ---- Show Scores and About ----------------------------------------------------------------------

TEST_F(CommandsTest, ShowScoresShowsTheTableAndChangesNothing)
{
    write_file("scores.txt", "350 Ann\n120 Bob\n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0\n");
    start_with(SIX_PIECES, 75);
    std::vector<std::string> rows = board_rows();

    EXPECT_EQ(menu_command(IDM_SHOWSCORES), 0);

    ASSERT_EQ(dialogs_shown(), std::vector<int>{IDD_TOPSCORES});
    const headless::dialog_run& run = headless::dialogs().back();
    EXPECT_EQ(run.owner, MyWindow);
    EXPECT_EQ(run.param, 0);
    EXPECT_EQ(run.texts_after_init.at(IDC_ROW_NAME), "--> Ann");
    EXPECT_EQ(run.texts_after_init.at(IDC_ROW_SCORE), "350");
    EXPECT_EQ(run.texts_after_init.at(IDC_ROW_NAME + 1), "Bob");
    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(current_score, 75);
    EXPECT_EQ(invalidations_since(), 0u);
    EXPECT_EQ(boxes_since(), 0u);
    EXPECT_FALSE(file_exists("prefs.txt"));
}

TEST_F(CommandsTest, AboutShowsTheVersionAndTheRules)
{
    start_with(SIX_PIECES, 75);
    std::vector<std::string> rows = board_rows();

    EXPECT_EQ(menu_command(IDM_ABOUT), 0);

    ASSERT_EQ(boxes_since(), 1u);
    const headless::message_box& box = headless::message_boxes().back();
    EXPECT_EQ(box.owner, MyWindow);
    EXPECT_EQ(box.caption, "About Dovra");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
    const std::string& text = box.text;
    EXPECT_EQ(text.rfind("Dovra\nVersion 1.08\n", 0), 0u);
    EXPECT_TRUE(contains(text, std::string("\n\n") + RULES + "\n\n"));
    EXPECT_FALSE(contains(text, "\r"));
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');

    // Name, version, two credits, blank, invitation, address, blank, ten rules, blank, three closing lines.
    std::vector<std::string> lines = split_lines(text);
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[18], "");
    for (int i : {2, 3, 5, 6, 19, 20, 21})
        EXPECT_NE(lines[static_cast<size_t>(i)], "") << "line " << i + 1;
    EXPECT_TRUE(contains(lines[6], "example.org")) << "the home page's address";
    // Every address it gives is a reserved example one.
    std::string word;
    for (size_t i = 0; i <= text.size(); ++i) {
        char ch = i < text.size() ? text[i] : ' ';
        if (ch != ' ' && ch != '\n') {
            word += ch;
            continue;
        }
        if (contains(word, "@") || contains(word, "://") || contains(word, "www.")) {
            EXPECT_TRUE(contains(word, "example.org")) << word;
        }
        word.clear();
    }
    for (const char* domain : {".com", ".net", ".edu", ".co.", ".de", ".uk"})
        EXPECT_FALSE(contains(text, domain)) << domain;

    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(invalidations_since(), 0u);
    EXPECT_EQ(dialogs_since(), 0u);
}

// ---- Board size, preview and sound --------------------------------------------------------------

namespace {
struct setting_case {
    const char* name;
    const char* prefs;
    int id;
    int cs, preview, sound;  // the settings after the command
    int written;
    int width, height;       // outer size after the command; the player had dragged it to 700 x 500
    int button_x, button_y;
};
}  // namespace

class SettingCommand : public CommandsTest, public ::testing::WithParamInterface<setting_case> {};

// The window springs back to the size the settings give, keeping its top-left corner; the sound switch
// neither resizes nor repaints.
TEST_P(SettingCommand, ChangesItsSettingFitsTheWindowAndSavesOnlyAChange)
{
    const setting_case& c = GetParam();
    start_with_prefs(c.prefs);
    drag_window_to(300, 200, 700, 500);
    if (c.id == IDM_BIGBOARD || c.id == IDM_LITTLEBOARD) {
        // Marks out of step, as nothing but this command could leave them.
        CheckMenuItem(GetMenu(MyWindow), IDM_LITTLEBOARD, MF_BYCOMMAND | (c.cs == 16 ? MF_UNCHECKED : MF_CHECKED));
        CheckMenuItem(GetMenu(MyWindow), IDM_BIGBOARD, MF_BYCOMMAND | (c.cs == 32 ? MF_UNCHECKED : MF_CHECKED));
    }
    forget_records();

    EXPECT_EQ(menu_command(c.id), 0);

    EXPECT_EQ(cell_size, c.cs);
    EXPECT_EQ(display_preview, c.preview);
    EXPECT_EQ(sound_enabled, c.sound);
    expect_marks_mirror_settings();
    EXPECT_EQ(prefs_written(), c.written);
    if (c.written) {
        std::string prefs = read_file("prefs.txt");
        EXPECT_TRUE(contains(prefs, "cell_size = " + std::to_string(c.cs) + "\n"));
        EXPECT_TRUE(contains(prefs, "display_preview = " + std::to_string(c.preview) + "\n"));
        EXPECT_TRUE(contains(prefs, "sound_enabled = " + std::to_string(c.sound) + "\n"));
        EXPECT_TRUE(contains(prefs, "current_score = "));
    }
    expect_window(300, 200, c.width, c.height);
    expect_button_at(c.button_x, c.button_y);
    const size_t moves = c.id == IDM_SOUND ? 0u : 2u;
    ASSERT_EQ(moves_since(), moves);
    for (size_t i = seen_moves; i < headless::move_window_calls().size(); ++i)
        EXPECT_EQ(headless::move_window_calls()[i].repaint, 1);
    if (moves == 0) {
        EXPECT_EQ(invalidations_since(), 0u);
    }
    EXPECT_EQ(boxes_since(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingCommand,
    ::testing::Values(
        setting_case{"little_to_big", "cell_size = 16\n", IDM_BIGBOARD, 32, 1, 0, 1, 320 + HEX, 321 + VEX, 208, 292},
        setting_case{"big_to_little", "cell_size = 32\n", IDM_LITTLEBOARD, 16, 1, 0, 1, 160 + HEX, 177 + VEX, 64, 148},
        setting_case{"little_again", "cell_size = 16\n", IDM_LITTLEBOARD, 16, 1, 0, 0, 160 + HEX, 177 + VEX, 64, 148},
        setting_case{"big_again", "cell_size = 32\n", IDM_BIGBOARD, 32, 1, 0, 0, 320 + HEX, 321 + VEX, 208, 292},
        setting_case{"odd_to_big", "cell_size = 24\n", IDM_BIGBOARD, 32, 1, 0, 1, 320 + HEX, 321 + VEX, 208, 292},
        setting_case{"odd_to_little", "cell_size = 24\n", IDM_LITTLEBOARD, 16, 1, 0, 1, 160 + HEX, 177 + VEX, 64, 148},
        setting_case{"big_without_preview", "cell_size = 16\ndisplay_preview = 0\n", IDM_BIGBOARD, 32, 0, 0, 1,
                     288 + HEX, 321 + VEX, 208, 292},
        // However wide the preview claims to be, the window stays within what the platform takes.
        setting_case{"big_with_a_huge_preview", "cell_size = 16\ndisplay_preview = 2147483647\n", IDM_BIGBOARD, 32,
                     2147483647, 0, 1, 32767, 321 + VEX, 208, 292},
        setting_case{"preview_off_little", "display_preview = 1\n", IDM_PREVIEW, 16, 0, 0, 1, 144 + HEX, 177 + VEX, 64,
                     148},
        setting_case{"preview_on_little", "display_preview = 0\n", IDM_PREVIEW, 16, 1, 0, 1, 160 + HEX, 177 + VEX, 64,
                     148},
        setting_case{"preview_off_big", "cell_size = 32\ndisplay_preview = 1\n", IDM_PREVIEW, 32, 0, 0, 1, 288 + HEX,
                     321 + VEX, 208, 292},
        setting_case{"preview_on_big", "cell_size = 32\ndisplay_preview = 0\n", IDM_PREVIEW, 32, 1, 0, 1, 320 + HEX,
                     321 + VEX, 208, 292},
        // Any non-zero value counts as on.
        setting_case{"preview_five_counts_as_on", "display_preview = 5\n", IDM_PREVIEW, 16, 0, 0, 1, 144 + HEX,
                     177 + VEX, 64, 148},
        setting_case{"preview_minus_one_counts_as_on", "display_preview = -1\n", IDM_PREVIEW, 16, 0, 0, 1, 144 + HEX,
                     177 + VEX, 64, 148},
        setting_case{"preview_int_max_counts_as_on", "display_preview = 2147483647\n", IDM_PREVIEW, 16, 0, 0, 1,
                     144 + HEX, 177 + VEX, 64, 148},
        setting_case{"preview_int_min_counts_as_on", "display_preview = -2147483648\n", IDM_PREVIEW, 16, 0, 0, 1,
                     144 + HEX, 177 + VEX, 64, 148},
        setting_case{"sound_on", "sound_enabled = 0\n", IDM_SOUND, 16, 1, 1, 1, 700, 500, 64, 148},
        setting_case{"sound_off", "sound_enabled = 1\n", IDM_SOUND, 16, 1, 0, 1, 700, 500, 64, 148},
        setting_case{"sound_seven_counts_as_on", "sound_enabled = 7\n", IDM_SOUND, 16, 1, 0, 1, 700, 500, 64, 148},
        setting_case{"sound_minus_one_counts_as_on", "sound_enabled = -1\n", IDM_SOUND, 16, 1, 0, 1, 700, 500, 64,
                     148}),
    [](const ::testing::TestParamInfo<setting_case>& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, PreviewTwiceComesBackToTheSameWindow)
{
    start();
    RECT before = headless::window_rect(MyWindow);

    menu_command(IDM_PREVIEW);
    RECT narrow = headless::window_rect(MyWindow);
    menu_command(IDM_PREVIEW);
    RECT after = headless::window_rect(MyWindow);

    EXPECT_EQ((before.right - before.left) - (narrow.right - narrow.left), 16);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(display_preview, 1);
    expect_marks_mirror_settings();
}

TEST_F(CommandsTest, SoundSwitchTakesEffectAtTheNextRefusal)
{
    start_with(SIX_PIECES);
    sound_enabled = 0;
    forget_records();

    click_square(8, 0);  // an empty square with nothing selected: refused
    EXPECT_TRUE(sounds_played().empty());

    menu_command(IDM_SOUND);
    click_square(8, 0);
    EXPECT_EQ(sounds_played(), std::vector<int>{SOUND_WOOPS});
    EXPECT_EQ(headless::sounds().back().flags, static_cast<UINT>(7));

    menu_command(IDM_SOUND);
    forget_records();
    click_square(8, 0);
    EXPECT_TRUE(sounds_played().empty());
}

// ---- Unknown commands and the check marks -------------------------------------------------------

class UnknownCommand : public CommandsTest, public ::testing::WithParamInterface<int> {};

TEST_P(UnknownCommand, GivesTheAlertAndChangesNothing)
{
    start_with(SIX_PIECES, 75);
    click_square(0, 0);
    std::vector<std::string> rows = board_rows();
    RECT rect = headless::window_rect(MyWindow);
    std::vector<int> marks;
    for (int id = IDM_EXIT; id <= IDM_SOUND; ++id)
        marks.push_back(headless::menu_checked(MyWindow, id));
    forget_records();

    EXPECT_EQ(menu_command(GetParam()), 0);

    ASSERT_EQ(boxes_since(), 1u);
    const headless::message_box& box = headless::message_boxes().back();
    EXPECT_EQ(box.text, "Undefined Menu Command!");
    EXPECT_EQ(box.caption, "Alert!");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, MyWindow);
    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(current_score, 75);
    EXPECT_EQ(hilite_x, 0);
    EXPECT_EQ(hilite_y, 0);
    EXPECT_EQ(cell_size, 16);
    EXPECT_EQ(display_preview, 1);
    EXPECT_EQ(sound_enabled, 1);
    for (int id = IDM_EXIT; id <= IDM_SOUND; ++id)
        EXPECT_EQ(headless::menu_checked(MyWindow, id), marks[static_cast<size_t>(id - IDM_EXIT)]) << id;
    expect_window(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    EXPECT_EQ(moves_since(), 0u);
    EXPECT_EQ(invalidations_since(), 0u);
    EXPECT_TRUE(posted_since().empty());
    EXPECT_EQ(dialogs_since(), 0u);
    EXPECT_TRUE(sounds_played().empty());
    EXPECT_FALSE(file_exists("prefs.txt"));
}

INSTANTIATE_TEST_SUITE_P(Ids, UnknownCommand, ::testing::Values(0, 1, 2, 100, 109, 110, 200, 400, 499, 501, 0xFFFF));

TEST_F(CommandsTest, NotificationCodeInTheHighWordIsNotExamined)
{
    start();

    EXPECT_EQ(menu_command(IDM_SOUND, 1), 0);
    EXPECT_EQ(sound_enabled, 1);
    EXPECT_EQ(menu_command(IDM_BIGBOARD, 0xFFFF), 0);
    EXPECT_EQ(cell_size, 32);
    EXPECT_EQ(menu_command(IDM_ABOUT, 0x8000), 0);
    ASSERT_EQ(headless::message_boxes().size(), 1u);
    EXPECT_EQ(headless::message_boxes().back().caption, "About Dovra");
}

TEST_F(CommandsTest, CheckMarksFollowEverySettingThroughAnySequence)
{
    start_with_prefs("cell_size = 24\ndisplay_preview = 3\nsound_enabled = 0\n");
    expect_marks_mirror_settings();

    for (int id : {IDM_BIGBOARD, IDM_PREVIEW, IDM_SOUND, IDM_LITTLEBOARD, IDM_PREVIEW, IDM_PREVIEW, IDM_SOUND,
                   IDM_BIGBOARD, IDM_BIGBOARD, IDM_NEWGAME, IDM_LITTLEBOARD, IDM_SOUND, IDM_SHOWSCORES, IDM_ABOUT,
                   IDC_NEWGAME, 999, IDM_PREVIEW}) {
        SCOPED_TRACE("after command " + std::to_string(id));
        EXPECT_EQ(menu_command(id), 0);
        expect_marks_mirror_settings();
    }
    EXPECT_EQ(cell_size, 16);
    EXPECT_EQ(display_preview, 1);
    EXPECT_EQ(sound_enabled, 1);
}
