// commands_test.cpp: every menu command and the New Game button, with the check marks, the window fitted to
// the settings, and New Game ending a turn that is still running, with both kinds of modal window.
#include <sstream>

#include "core/core_fixture.h"
#include "platform.h"

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

// The window fitted to the client area of each board size, with the preview and without.
const char BIG[] = "fit 320x321 button 208,292";
const char BIG_ALONE[] = "fit 288x321 button 208,292";
const char LITTLE[] = "fit 160x177 button 64,148";
const char LITTLE_ALONE[] = "fit 144x177 button 64,148";

// The Edit menu's marks as the settings are, and none ever on the commands that are not settings.
void expect_marks_mirror_settings()
{
    const std::map<int, int>& marks = fake::seen().marks;
    EXPECT_EQ(marks.at(IDM_LITTLEBOARD), cell_size == 16 ? 1 : 0);
    EXPECT_EQ(marks.at(IDM_BIGBOARD), cell_size == 32 ? 1 : 0);
    EXPECT_EQ(marks.at(IDM_PREVIEW), display_preview != 0 ? 1 : 0);
    EXPECT_EQ(marks.at(IDM_SOUND), sound_enabled != 0 ? 1 : 0);
    for (int id : {IDM_EXIT, IDM_NEWGAME, IDM_SHOWSCORES, IDM_ABOUT})
        EXPECT_EQ(marks.count(id), 0u) << id;
}

}  // namespace

using CommandsTest = CoreTest;
IN_BOTH_MODES(CommandsTest);

TEST_P(CommandsTest, ExitAsksForACloseThatTheLoopHandlesLater)
{
    start_with(SIX_PIECES, 40);

    menu(IDM_EXIT);

    EXPECT_EQ(since(), events{"close asked"});
    // Nothing is saved or released inside the command itself.
    EXPECT_FALSE(file_exists("prefs.txt"));
    EXPECT_EQ(fake::seen().closed, 0);

    EXPECT_EQ(fake::run_pending(), 1);
    EXPECT_TRUE(contains(read_file("prefs.txt"), "current_score = 40"));
    EXPECT_EQ(fake::seen().closed, 1);
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

using NewGameCommand = CoreCaseTest<new_game_case>;

TEST_P(NewGameCommand, DealsAFreshGameAfterOfferingAnUnrecordedScore)
{
    const new_game_case& c = param();
    if (c.scores_file)
        write_file("scores.txt", c.scores_file);
    start_with(SIX_PIECES, c.score);
    score_recorded = c.recorded;
    click_square(0, 0);
    ASSERT_EQ(hilite_x, 0);
    const std::string scores_before = read_file("scores.txt");
    fake::script("New High Score", {{fake::typing, "Ann"}});
    mark();

    menu(c.id);

    // The fresh game.
    EXPECT_EQ(pieces_on_board(), BATCH_SIZE);
    EXPECT_EQ(current_score, 0);
    for (int kind : next_batch)
        EXPECT_TRUE(kind >= 1 && kind <= PIECE_KINDS);
    EXPECT_EQ(selection(), std::make_pair(NO_SELECTION, NO_SELECTION));
    EXPECT_EQ(score_recorded, 0);
    // The old game stays in prefs.txt until the next save.
    EXPECT_FALSE(file_exists("prefs.txt"));
    // Repainted whole, background erased, once, after the dialogs; nothing queued.
    events expected;
    if (c.offered)
        expected = {"open New High Score", "shut New High Score", "open Top Scores", "shut Top Scores"};
    expected.push_back("repaint erased");
    ASSERT_EQ(since({"open", "shut", "repaint", "click", "close"}), expected);
    if (!c.offered) {
        EXPECT_EQ(read_file("scores.txt"), scores_before);
        return;
    }
    // The dialog came before the deal: it showed the old game's score; the table came after the entry.
    EXPECT_EQ(fake::seen().windows[0].score_then, c.score);
    int p = hilite_score;
    ASSERT_TRUE(p >= 0 && p < SCORE_ROWS);
    EXPECT_EQ(fake::seen().windows[1].hilite_then, p);
    EXPECT_EQ(scores[p].score, c.score);
    EXPECT_STREQ(scores[p].name, "Ann");
    EXPECT_TRUE(contains(read_file("scores.txt"), std::to_string(c.score) + " Ann"));
}

CASES_IN_BOTH_MODES(NewGameCommand,
                    ::testing::Values(new_game_case{"menu_score_0", IDM_NEWGAME, 0, 0, nullptr, 0},
                                      new_game_case{"button_score_0", IDC_NEWGAME, 0, 0, nullptr, 0},
                                      new_game_case{"menu_already_recorded", IDM_NEWGAME, 120, 1, nullptr, 0},
                                      new_game_case{"button_already_recorded", IDC_NEWGAME, 120, 1, nullptr, 0},
                                      new_game_case{"menu_below_the_table", IDM_NEWGAME, 500, 0, TEN_THOUSANDS, 0},
                                      new_game_case{"menu_equal_to_the_tenth", IDM_NEWGAME, 1000, 0, TEN_THOUSANDS, 0},
                                      new_game_case{"menu_qualifying", IDM_NEWGAME, 120, 0, nullptr, 1},
                                      new_game_case{"button_qualifying", IDC_NEWGAME, 120, 0, nullptr, 1},
                                      new_game_case{"menu_into_a_full_table", IDM_NEWGAME, 1001, 0, TEN_THOUSANDS, 1}));

// ---- New Game while a turn runs -----------------------------------------------------------------

namespace {
struct running_turn_case {
    const char* name;
    astate state;  // how far the turn has got when New Game comes
    int moving;    // with state MOVE: the piece is still on its way
    int score;     // 50 enters the table: New Game's dialogs open, and the heart has ticks behind them
};
}  // namespace

using NewGameDuringATurn = CoreCaseTest<running_turn_case>;

// Ended first, the turn cannot go on behind New Game's dialogs nor over the new game.
TEST_P(NewGameDuringATurn, EndsTheTurnSoNothingOfItReachesTheNewGame)
{
    const running_turn_case& c = param();
    start_with(SIX_PIECES, c.score);
    click_square(0, 0);
    click_square(4, 0);
    ASSERT_EQ(move_complete, 0) << "the move was accepted";
    tick();
    for (int guard = 0; animate_state != c.state && guard < 100; ++guard)
        tick();
    ASSERT_EQ(animate_state, c.state);
    ASSERT_EQ(move_complete, 0) << "the turn still runs";
    ASSERT_TRUE(!c.moving || pptr > 0);
    // A click during the turn waits for its end.
    click_square(2, 2);
    ASSERT_EQ(pending_click, 1);
    const fake::action tick_behind = {fake::modal_tick};
    fake::script("New High Score", {tick_behind, tick_behind, tick_behind, {fake::typing, "Ann"}, tick_behind});
    mark();

    menu(IDM_NEWGAME);

    expect_idle();
    EXPECT_EQ(pending_click, 0);
    EXPECT_EQ(pieces_on_board(), BATCH_SIZE);
    EXPECT_EQ(current_score, 0);
    EXPECT_EQ(score_recorded, 0);
    EXPECT_EQ(scores[0].score, c.score);
    EXPECT_EQ(scores[1].score, 0) << "entered once";
    std::vector<std::string> rows = board_rows();
    std::vector<int> batch(next_batch, next_batch + BATCH_SIZE);
    tick(20);
    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(std::vector<int>(next_batch, next_batch + BATCH_SIZE), batch);
    EXPECT_EQ(current_score, 0);
    // No sound, no window but New Game's, and the waiting click was dropped with its turn.
    EXPECT_EQ(since({"sound", "click", "open"}),
              (c.score ? events{"open New High Score", "open Top Scores"} : events{}));
    // The new game is playable at once.
    EXPECT_EQ(hilite_x, NO_SELECTION);
}

CASES_IN_BOTH_MODES(NewGameDuringATurn,
                    ::testing::Values(running_turn_case{"moving", MOVE, 1, 0}, running_turn_case{"arrived", PAUSE, 0, 50},
                                      running_turn_case{"first_drop_next", DROP1, 0, 0},
                                      running_turn_case{"second_drop_next", DROP2, 0, 50},
                                      running_turn_case{"last_drop_next", DROP3, 0, 50}));

// ---- Show Scores and About ----------------------------------------------------------------------

TEST_P(CommandsTest, ShowScoresShowsTheTableAndChangesNothing)
{
    write_file("scores.txt", "350 Ann\n120 Bob\n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0\n");
    start_with(SIX_PIECES, 75);
    std::vector<std::string> rows = board_rows();

    menu(IDM_SHOWSCORES);

    EXPECT_EQ(since(), (events{"open Top Scores", "shut Top Scores"})) << "no repaint, no other window";
    EXPECT_EQ(fake::seen().windows.back().hilite_then, 0) << "the newest entry is marked";
    EXPECT_EQ(scores[1].score, 120);
    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(current_score, 75);
    EXPECT_FALSE(file_exists("prefs.txt"));
}

TEST_P(CommandsTest, AboutShowsTheVersionAndTheRules)
{
    start_with(SIX_PIECES, 75);
    std::vector<std::string> rows = board_rows();

    menu(IDM_ABOUT);

    EXPECT_EQ(since(), (events{"open About Dovra", "shut About Dovra"})) << "no repaint, no other window";
    EXPECT_EQ(board_rows(), rows);
    const std::string& text = fake::seen().windows.back().text;
    EXPECT_EQ(text.rfind("Dovra\nVersion 1.08\n", 0), 0u);
    EXPECT_TRUE(contains(text, std::string("\n\n") + RULES + "\n\n"));
    EXPECT_FALSE(contains(text, "\r"));
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');

    // Name, version, two credits, blank, invitation, address, blank, ten rules, blank, three closing lines.
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 22u);
    for (int i : {4, 7, 18})
        EXPECT_EQ(lines[static_cast<size_t>(i)], "") << "line " << i + 1;
    for (int i : {2, 3, 5, 6, 19, 20, 21})
        EXPECT_NE(lines[static_cast<size_t>(i)], "") << "line " << i + 1;
    EXPECT_TRUE(contains(lines[6], "example.org")) << "the home page's address";
    // Every address it gives is a reserved example one.
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (contains(word, "@") || contains(word, "://") || contains(word, "www.")) {
            EXPECT_TRUE(contains(word, "example.org")) << word;
        }
    }
    for (const char* domain : {".com", ".net", ".edu", ".co.", ".de", ".uk"})
        EXPECT_FALSE(contains(text, domain)) << domain;
}

// ---- Board size, preview and sound --------------------------------------------------------------

namespace {
struct setting_case {
    const char* name;
    const char* prefs;
    int id;
    int cs, preview, sound;  // the settings after the command
    int written;
    const char* fit;  // the window fitted after the command; nullptr: none
};
}  // namespace

using SettingCommand = CoreCaseTest<setting_case>;

// The window springs back to the size of the settings, also when the size stays; the sound switch neither
// fits nor repaints.
TEST_P(SettingCommand, ChangesItsSettingFitsTheWindowAndSavesOnlyAChange)
{
    const setting_case& c = param();
    start((HAND_WRITTEN + std::string(c.prefs)).c_str());
    if (c.id == IDM_BIGBOARD || c.id == IDM_LITTLEBOARD) {
        // Marks out of step, as nothing but this command could leave them.
        platform_check(IDM_LITTLEBOARD, c.cs != 16);
        platform_check(IDM_BIGBOARD, c.cs != 32);
    }
    mark();

    menu(c.id);

    EXPECT_EQ(cell_size, c.cs);
    EXPECT_EQ(display_preview, c.preview);
    EXPECT_EQ(sound_enabled, c.sound);
    expect_marks_mirror_settings();
    EXPECT_EQ(contains(read_file("prefs.txt"), HAND_WRITTEN), !c.written) << "prefs.txt as written by hand";
    if (c.written) {
        std::string prefs = read_file("prefs.txt");
        EXPECT_TRUE(contains(prefs, "cell_size = " + std::to_string(c.cs)));
        EXPECT_TRUE(contains(prefs, "display_preview = " + std::to_string(c.preview)));
        EXPECT_TRUE(contains(prefs, "sound_enabled = " + std::to_string(c.sound)));
        EXPECT_TRUE(contains(prefs, "current_score = "));
    }
    EXPECT_EQ(since({"fit", "repaint", "open"}), c.fit ? events{c.fit} : events{});
}

CASES_IN_BOTH_MODES(
    SettingCommand,
    ::testing::Values(
        setting_case{"little_to_big", "cell_size = 16\n", IDM_BIGBOARD, 32, 1, 0, 1, BIG},
        setting_case{"big_to_little", "cell_size = 32\n", IDM_LITTLEBOARD, 16, 1, 0, 1, LITTLE},
        setting_case{"little_again", "cell_size = 16\n", IDM_LITTLEBOARD, 16, 1, 0, 0, LITTLE},
        setting_case{"big_again", "cell_size = 32\n", IDM_BIGBOARD, 32, 1, 0, 0, BIG},
        setting_case{"odd_to_big", "cell_size = 24\n", IDM_BIGBOARD, 32, 1, 0, 1, BIG},
        setting_case{"odd_to_little", "cell_size = 24\n", IDM_LITTLEBOARD, 16, 1, 0, 1, LITTLE},
        setting_case{"big_without_preview", "display_preview = 0\n", IDM_BIGBOARD, 32, 0, 0, 1, BIG_ALONE},
        // However wide the preview claims to be, the window stays within what the platform takes.
        setting_case{"big_with_a_huge_preview", "display_preview = 2147483647\n", IDM_BIGBOARD, 32, 2147483647, 0, 1,
                     "fit 32767x321 button 208,292"},
        setting_case{"preview_off_little", "display_preview = 1\n", IDM_PREVIEW, 16, 0, 0, 1, LITTLE_ALONE},
        setting_case{"preview_on_little", "display_preview = 0\n", IDM_PREVIEW, 16, 1, 0, 1, LITTLE},
        setting_case{"preview_off_big", "cell_size = 32\ndisplay_preview = 1\n", IDM_PREVIEW, 32, 0, 0, 1, BIG_ALONE},
        setting_case{"preview_on_big", "cell_size = 32\ndisplay_preview = 0\n", IDM_PREVIEW, 32, 1, 0, 1, BIG},
        // Any non-zero value counts as on.
        setting_case{"preview_five_counts_as_on", "display_preview = 5\n", IDM_PREVIEW, 16, 0, 0, 1, LITTLE_ALONE},
        setting_case{"preview_minus_one_counts_as_on", "display_preview = -1\n", IDM_PREVIEW, 16, 0, 0, 1,
                     LITTLE_ALONE},
        setting_case{"preview_int_max_counts_as_on", "display_preview = 2147483647\n", IDM_PREVIEW, 16, 0, 0, 1,
                     LITTLE_ALONE},
        setting_case{"preview_int_min_counts_as_on", "display_preview = -2147483648\n", IDM_PREVIEW, 16, 0, 0, 1,
                     LITTLE_ALONE},
        setting_case{"sound_on", "sound_enabled = 0\n", IDM_SOUND, 16, 1, 1, 1, nullptr},
        setting_case{"sound_off", "sound_enabled = 1\n", IDM_SOUND, 16, 1, 0, 1, nullptr},
        setting_case{"sound_seven_counts_as_on", "sound_enabled = 7\n", IDM_SOUND, 16, 1, 0, 1, nullptr},
        setting_case{"sound_minus_one_counts_as_on", "sound_enabled = -1\n", IDM_SOUND, 16, 1, 0, 1, nullptr}));

TEST_P(CommandsTest, SoundSwitchTakesEffectAtTheNextRefusal)
{
    start_with(SIX_PIECES);
    sound_enabled = 0;
    click_square(8, 0);  // an empty square with nothing selected: refused
    EXPECT_EQ(since("sound"), events{});

    menu(IDM_SOUND);
    click_square(8, 0);
    EXPECT_EQ(since("sound"), events{"sound woops"});

    menu(IDM_SOUND);
    mark();
    click_square(8, 0);
    EXPECT_EQ(since("sound"), events{});
}

// ---- Unknown commands and the check marks -------------------------------------------------------

using UnknownCommand = CoreCaseTest<int>;

TEST_P(UnknownCommand, GivesTheAlertAndChangesNothing)
{
    start_with(SIX_PIECES, 75);
    click_square(0, 0);
    std::vector<std::string> rows = board_rows();
    mark();

    menu(param());

    EXPECT_EQ(since(), (events{"open Alert!", "shut Alert!"})) << "no mark, fit, repaint, sound or close";
    EXPECT_EQ(fake::seen().windows.back().text, "Undefined Menu Command!");
    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(current_score, 75);
    EXPECT_EQ(selection(), std::make_pair(0, 0));
    EXPECT_EQ(cell_size, 16);
    EXPECT_EQ(display_preview, 1);
    EXPECT_EQ(sound_enabled, 1);
    EXPECT_FALSE(file_exists("prefs.txt"));
}

CASES_IN_BOTH_MODES(UnknownCommand, ::testing::Values(0, 1, 2, 100, 109, 110, 200, 400, 499, 501, 0xFFFF));

TEST_P(CommandsTest, CheckMarksFollowEverySettingThroughAnySequence)
{
    start("cell_size = 24\ndisplay_preview = 3\nsound_enabled = 0\n");
    expect_marks_mirror_settings();

    for (int id : {IDM_BIGBOARD, IDM_PREVIEW, IDM_SOUND, IDM_LITTLEBOARD, IDM_PREVIEW, IDM_PREVIEW, IDM_SOUND,
                   IDM_BIGBOARD, IDM_BIGBOARD, IDM_NEWGAME, IDM_LITTLEBOARD, IDM_SOUND, IDM_SHOWSCORES, IDM_ABOUT,
                   IDC_NEWGAME, 999, IDM_PREVIEW}) {
        SCOPED_TRACE("after command " + std::to_string(id));
        menu(id);
        expect_marks_mirror_settings();
    }
    EXPECT_EQ(cell_size, 16);
    EXPECT_EQ(display_preview, 1);
    EXPECT_EQ(sound_enabled, 1);
}
