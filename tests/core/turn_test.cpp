// turn_test.cpp: clicks and the turn the timer drives, from the selection to game over, with modal windows that
// block and with ones that close later, also in another order than they opened.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/core_fixture.h"

namespace {

const fake::action TICK_BEHIND = {fake::modal_tick};

std::vector<int> kinds_on_board()
{
    std::vector<int> kinds;
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y)
            if (board[x][y] > 0)
                kinds.push_back(board[x][y]);
    std::sort(kinds.begin(), kinds.end());
    return kinds;
}

}  // namespace

class TurnTest : public CoreTest {
protected:
    // Runs the ticks of a move that has just been accepted, checking that every tick advances the piece to a
    // 4-neighbour with one move sound, so a route of k squares takes k ticks; returns how many it took.
    int run_move_ticks()
    {
        const int kind = board[animation_x][animation_y];
        const size_t seen = seen_;
        int ticks = 0;
        while (animate_state == MOVE && pptr > 0) {
            const int from_x = animation_x;
            const int from_y = animation_y;
            mark();
            tick();
            ++ticks;
            EXPECT_EQ(std::abs(animation_x - from_x) + std::abs(animation_y - from_y), 1) << "tick " << ticks;
            EXPECT_EQ(board[animation_x][animation_y], kind);
            EXPECT_EQ(board[from_x][from_y], EMPTY);
            EXPECT_EQ(since("sound"), events{"sound move"});
            EXPECT_EQ(move_complete, 0);
            EXPECT_EQ(fake::seen().busy, 1);
        }
        seen_ = seen;
        return ticks;
    }
};

IN_BOTH_MODES(TurnTest);

// ---- Clicks between turns -----------------------------------------------------------------------

namespace {
struct idle_click_case {
    const char* name;
    std::vector<std::string> rows;
    int hx, hy;            // the selection before: a piece is selected by clicking it, an empty square is set
    int x, y;              // the pixel clicked
    int after_x, after_y;  // the selection after
    events asked;          // what the click asks of the platform
};

const std::vector<std::string> TWO_BESIDE_ONE = rows_from_top({"12.......", "3........"});
// (8,8) is walled in by the pieces at (7,8) and (8,7).
const std::vector<std::string> WALLED_IN = rows_from_top({"1........", ".........", ".........", ".........",
                                                          ".........", ".........", ".........", "........2",
                                                          ".......3."});
}  // namespace

using IdleClick = CoreCaseTest<idle_click_case>;

// A click between turns selects, clears or refuses, and leaves no visited mark, route or turn behind.
TEST_P(IdleClick, SelectsClearsOrRefuses)
{
    const idle_click_case& c = param();
    start_with(c.rows);
    if (c.hx != NO_SELECTION && board[c.hx][c.hy] != EMPTY) {
        click_square(c.hx, c.hy);
    } else {
        hilite_x = c.hx;
        hilite_y = c.hy;
    }
    ASSERT_EQ(selection(), std::make_pair(c.hx, c.hy));
    const std::vector<std::string> rows = board_rows();
    mark();

    click(c.x, c.y);

    EXPECT_EQ(since(), c.asked);
    EXPECT_EQ(selection(), std::make_pair(c.after_x, c.after_y));
    EXPECT_EQ(board_rows(), rows);
    EXPECT_EQ(pptr, 0);
    EXPECT_EQ(move_complete, 1);
}

CASES_IN_BOTH_MODES(
    IdleClick,
    ::testing::Values(
        // A movable piece is selected with a repaint of the whole window, not erased; a second click changes nothing.
        idle_click_case{"movable_piece", TWO_BESIDE_ONE, 9, 9, 24, 8, 1, 0, {"repaint"}},
        idle_click_case{"the_selected_piece_again", TWO_BESIDE_ONE, 1, 0, 24, 8, 1, 0, {}},
        idle_click_case{"another_movable_piece", TWO_BESIDE_ONE, 1, 0, 8, 24, 0, 1, {"repaint"}},
        // The selection is cleared silently.
        idle_click_case{"blocked_in_piece", TWO_BESIDE_ONE, 1, 0, 8, 8, 9, 9, {"repaint"}},
        idle_click_case{"preview_column", TWO_BESIDE_ONE, 1, 0, 9 * 16 + 3, 10, 9, 9, {"repaint"}},
        idle_click_case{"right_of_the_windows_board", TWO_BESIDE_ONE, 1, 0, 200, 10, 9, 9, {"repaint"}},
        idle_click_case{"strip_below_the_board", TWO_BESIDE_ONE, 1, 0, 10, 9 * 16, 9, 9, {"repaint"}},
        idle_click_case{"new_game_button_height", TWO_BESIDE_ONE, 1, 0, 70, 160, 9, 9, {"repaint"}},
        idle_click_case{"coordinates_past_32767", TWO_BESIDE_ONE, 1, 0, 0xFFFF, 0xFFFF, 9, 9, {"repaint"}},
        // Refused with the woops sound, the selection kept, no repaint; the last without a search.
        idle_click_case{"empty_square_with_nothing_selected", rows_from_top(), 9, 9, 72, 72, 9, 9, {"sound woops"}},
        idle_click_case{"walled_in_square", WALLED_IN, 0, 0, 136, 136, 0, 0, {"sound woops"}},
        idle_click_case{"the_selected_empty_square_itself", rows_from_top(), 3, 3, 56, 56, 3, 3, {"sound woops"}}));

// ---- A whole move -------------------------------------------------------------------------------

TEST_P(TurnTest, MoveThatScoresEndsOneTickAfterArrivalAndReplaysAWaitingClick)
{
    start_with(rows_from_top({"1111.....", ".........", "....1....", ".........", ".........", ".........",
                              ".........", ".........", "........7"}),
               7);
    click_square(4, 2);
    mark();
    click_square(4, 0);
    ASSERT_EQ(move_complete, 0);
    EXPECT_EQ(hilite_x, NO_SELECTION) << "nothing is selected while the piece travels";
    EXPECT_EQ(since(), (events{"cursor busy", "repaint"})) << "no sound yet";
    EXPECT_EQ(board[4][2], 1) << "the piece waits for the first tick";
    EXPECT_EQ(run_move_ticks(), 2) << "one square a tick";
    EXPECT_EQ(animate_state, PAUSE);
    click_square(8, 8);
    mark();
    tick();
    EXPECT_EQ(since(), (events{"tick", "cursor normal", "sound zip", "click 136,136", "repaint"}))
        << "a piece is left: no bonus";
    EXPECT_EQ(current_score, 7 + 10);
    EXPECT_EQ(pieces_on_board(), 1);
    EXPECT_EQ(preview(), (std::vector<int>{1, 2, 3}));
    expect_idle();
    EXPECT_EQ(fake::run_pending(), 1);
    EXPECT_EQ(selection(), std::make_pair(8, 8));
}

// A score restored from a hand-edited file may already be the largest int; points stop there.
TEST_P(TurnTest, ScoreStopsAtTheLargestInt)
{
    start_with(LAST_LINE, INT_MAX - 5);
    move(4, 2, 4, 0);
    tick(3);
    EXPECT_EQ(since("open"), events{"open Wow!"});
    EXPECT_EQ(current_score, INT_MAX);
}

// The busy cursor shows from the accepted click to the last of the turn's k + 4 ticks; of the clicks made
// meanwhile only the last is replayed, once, after the turn, and it acts on what its square holds then.
TEST_P(TurnTest, MoveThatScoresNothingDropsThreePieces)
{
    start_with(rows_from_top({"5........"}));
    move(0, 0, 0, 8);
    click_square(5, 5);
    click_square(0, 8);  // where the piece will stand
    EXPECT_EQ(pending_click, 1);
    EXPECT_EQ(hilite_x, NO_SELECTION);
    EXPECT_EQ(run_move_ticks(), 8) << "the zigzag the search finds is smoothed into a straight walk";
    EXPECT_EQ(board[0][8], 5);

    tick();  // the pause: nothing to clear
    EXPECT_EQ(animate_state, DROP1);
    EXPECT_EQ(since("sound"), events(8, "sound move"));
    EXPECT_EQ(since({"cursor", "click"}), events{"cursor busy"}) << "nothing is replayed while the turn runs";
    for (int drop = 0; drop < 3; ++drop) {
        SCOPED_TRACE(drop);
        mark();
        EXPECT_EQ(next_batch[0], 1);
        EXPECT_EQ(fake::seen().busy, 1);
        EXPECT_EQ(move_complete, 0);
        tick();
        EXPECT_EQ(since({"sound", "repaint"}), (events{"sound drop", "repaint"}));
        EXPECT_EQ(pieces_on_board(), 2 + drop);
    }
    EXPECT_EQ(since({"cursor", "click"}), (events{"cursor normal", "click 8,136"}));
    EXPECT_EQ(kinds_on_board(), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_NE(preview(), (std::vector<int>{1, 2, 3})) << "a new preview is drawn";
    expect_idle();
    EXPECT_EQ(current_score, 0);
    EXPECT_EQ(pending_click, 0);

    EXPECT_EQ(fake::run_pending(), 1);
    if (anymoves(0, 8)) {
        EXPECT_EQ(selection(), std::make_pair(0, 8));
    }
    mark();
    tick(3);
    EXPECT_EQ(since("click"), events{}) << "the click is replayed only once";
}

TEST_P(TurnTest, EveryTickRepaintsWithoutErasing)
{
    start_with(rows_from_top());
    tick(5);
    EXPECT_EQ(since("repaint"), events(5, "repaint"));
}

// ---- Drops on a filling board -------------------------------------------------------------------

namespace {
struct filling_case {
    const char* name;
    std::vector<std::pair<int, int>> empties;  // besides (0,0), where the move goes
    std::vector<int> free_after;               // empty squares after each drop
};
}  // namespace

using FillingBoard = CoreCaseTest<filling_case>;

// The drops left run with their sounds and place nothing; the game ends after the third. A score of 0 never
// enters the table.
TEST_P(FillingBoard, EndsTheGameAfterTheThirdDrop)
{
    start_full_but(param().empties, 0);
    tick(2);  // the move, the pause
    mark();
    for (int drop = 0; drop < 3; ++drop) {
        EXPECT_EQ(since("open"), events{});
        tick();
        EXPECT_EQ(free_cells(), param().free_after[static_cast<size_t>(drop)]);
    }
    EXPECT_EQ(since({"sound", "open"}),
              (events{"sound drop", "sound drop", "sound drop", "sound gameover", "open Top Scores"}));
    EXPECT_EQ(score_recorded, 0);
    expect_idle();
}

CASES_IN_BOTH_MODES(FillingBoard, ::testing::Values(filling_case{"full_after_the_first_drop", {}, {0, 0, 0}},
                                                    filling_case{"full_after_the_second_drop", {{8, 8}}, {1, 0, 0}}));

// The ticks behind the dialogs only repaint; the turn ends once the last has closed, its waiting click dropped.
TEST_P(TurnTest, GameOverWithATopTenScore)
{
    start_full_but({}, 120);
    fake::script("New High Score", {TICK_BEHIND, TICK_BEHIND, TICK_BEHIND, TICK_BEHIND, {fake::typing, "Ann"}});
    fake::script("Top Scores", {TICK_BEHIND, TICK_BEHIND, TICK_BEHIND, TICK_BEHIND, fake::call([] {
                                    EXPECT_EQ(move_complete, 0) << "until the last dialog closes";
                                })});
    tick(4);
    click_square(4, 4);  // waits for the end of the turn
    const std::vector<std::string> before = board_rows();
    mark();
    tick();
    // The winner sound is heard before any dialog opens.
    EXPECT_EQ(since({"tick", "sound", "open", "shut"}),
              (events{"tick", "sound drop", "sound winner", "open New High Score", "tick", "tick", "tick", "tick",
                      "shut New High Score", "open Top Scores", "tick", "tick", "tick", "tick", "shut Top Scores"}));
    EXPECT_EQ(board_rows(), before) << "nothing dropped or moved behind the dialogs";
    EXPECT_EQ(since("repaint").size(), 8u + 1u) << "each tick behind a dialog repaints";
    EXPECT_EQ(score_recorded, 1);
    EXPECT_EQ(scores[0].score, 120);
    EXPECT_STREQ(scores[0].name, "Ann");
    EXPECT_EQ(pending_click, 0) << "a click of the finished game is dropped";
    EXPECT_EQ(since("click"), events{});
    expect_idle();
}

TEST_P(TurnTest, LineCompletedByADropIsClearedBeforeTheFullBoardCheck)
{
    // Row 8 holds four 5s left of (4,8); the piece at (4,8) steps aside and the first drop, a 5,
    // lands on the only empty square and completes the row.
    std::vector<std::string> rows = no_line_rows();
    rows[8].replace(0, 4, "5555");
    rows[8][5] = '.';
    start_with(rows);
    next_batch[0] = 5;
    move(4, 8, 5, 8);
    ASSERT_EQ(move_complete, 0);
    tick(2);
    mark();
    tick(3);
    EXPECT_EQ(since({"sound", "open"}), (events{"sound drop", "sound drop", "sound drop", "sound zip"}))
        << "the game goes on";
    EXPECT_EQ(free_cells(), 5);
    EXPECT_EQ(current_score, 10);
    expect_idle();
}

// ---- The empty-board bonus ----------------------------------------------------------------------

TEST_P(TurnTest, ClearingMoveThatEmptiesTheBoardEarnsTheBonusOnceItsBoxHasClosed)
{
    start_with(LAST_LINE);
    // The heart seeds itself from the clock; one time in 343 that would draw the old preview again.
    dovra::srand(1);
    fake::script("Wow!", {TICK_BEHIND, TICK_BEHIND, TICK_BEHIND, fake::call([] {
                              EXPECT_EQ(current_score, 10);
                              EXPECT_EQ(pieces_on_board(), 0);
                              EXPECT_EQ(move_complete, 0);
                          })});
    move(4, 2, 4, 0);
    tick(2);
    mark();
    tick();
    ASSERT_EQ(since({"tick", "sound", "open", "shut"}),
              (events{"tick", "sound zip", "open Wow!", "tick", "tick", "tick", "shut Wow!"}))
        << "the ticks behind the box change nothing";
    EXPECT_EQ(fake::seen().windows.back().text, "You cleared the board!\nThat's good for a 500 point bonus!");
    EXPECT_EQ(kinds_on_board(), (std::vector<int>{1, 2, 3})) << "the preview shown during the move";
    EXPECT_EQ(current_score, 510);
    EXPECT_NE(preview(), (std::vector<int>{1, 2, 3}));
    expect_idle();
}

// A close while the message is up waits for it, so what is saved holds the bonus and its three pieces.
TEST_P(TurnTest, CloseDuringTheBonusMessageKeepsTheBonus)
{
    start_with(LAST_LINE);
    std::string prefs_then;
    fake::script("Wow!", {fake::call([&] {
                     fake::close_main_window();
                     prefs_then = read_file("prefs.txt");
                 })});
    move(4, 2, 4, 0);
    tick(3);
    EXPECT_EQ(prefs_then, "<missing>");
    EXPECT_EQ(fake::seen().closed, 0);

    fake::run_pending();
    EXPECT_EQ(since({"open", "shut", "close"}), (events{"open Wow!", "close waits", "shut Wow!", "close asked", "closed"}));
    const std::string prefs = read_file("prefs.txt");
    EXPECT_TRUE(contains(prefs, "current_score = 510")) << prefs;
    EXPECT_EQ(std::count(prefs.begin(), prefs.end(), '\n'), 10 + 3 + 2) << "three pieces saved";
}

// From seed 1 the three drops land at (5,1), (0,8) and (3,3), each completing a row of four of its kind; the move
// of the 3 at (7,2) completes nothing.
TEST_P(TurnTest, DropsThatEmptyTheBoardEarnTheBonus)
{
    start_with(rows_from_top({".........", ".1111....", ".......3.", "....333..", ".........", ".........",
                              ".........", ".........", ".2222...."}));
    move(7, 2, 7, 3);
    ASSERT_EQ(move_complete, 0);
    dovra::srand(1);
    tick(4);  // the step, the pause, two drops
    mark();
    tick();
    EXPECT_EQ(since({"sound", "open"}), (events{"sound drop", "sound zip", "sound zip", "sound zip", "open Wow!"}));
    EXPECT_EQ(current_score, 3 * 10 + 500);
    // The pieces put on the board are the preview drawn in the same tick, after the six square draws.
    EXPECT_EQ(kinds_on_board(), (std::vector<int>{2, 2, 7}));
    expect_idle();
}

// ---- Windows that close later, in another order than they opened ---------------------------------

// The About box, opened during a move, stays open after the turn's own window has opened behind it; what
// follows that window waits for it, and a close waits for both.
class OutOfOrder : public TurnTest {
protected:
    // The About box opens during a move whose turn ends with the bonus box, or with game over, behind it.
    void about_during_a_turn_ending_with(const char* behind)
    {
        fake::script("About Dovra", {{fake::hold}});
        fake::script(behind, {{fake::typing, "Ann"}, {fake::hold}});
        const int game_over = std::string(behind) == "New High Score";
        if (game_over) {
            start_full_but({}, 120);
        } else {
            start_with(LAST_LINE);
            move(4, 2, 4, 0);
        }
        click_square(8, 8);
        menu(IDM_ABOUT);
        tick(game_over ? 5 : 3);
        ASSERT_EQ(since("open"), (events{"open About Dovra", std::string("open ") + behind}));
    }
};
INSTANTIATE_TEST_SUITE_P(Modes, OutOfOrder, ::testing::Values(fake::mode::asynchronous), name_of_case());

TEST_P(OutOfOrder, AboutClosedBeforeTheBonusBox)
{
    about_during_a_turn_ending_with("Wow!");
    fake::act("About Dovra", {fake::ok});
    tick();
    EXPECT_EQ(current_score, 10) << "no bonus before its own box has closed";
    EXPECT_EQ(pieces_on_board(), 0);
    EXPECT_EQ(move_complete, 0);
    EXPECT_EQ(since("click"), events{});

    fake::act("Wow!", {fake::ok});
    EXPECT_EQ(current_score, 510);
    EXPECT_EQ(pieces_on_board(), 3);
    EXPECT_EQ(since("click"), events{"click 136,136"});
    expect_idle();
}

TEST_P(OutOfOrder, AboutClosedBeforeTheGameOverDialogs)
{
    about_during_a_turn_ending_with("New High Score");
    fake::act("About Dovra", {fake::ok});
    tick();
    EXPECT_EQ(move_complete, 0);
    EXPECT_EQ(score_recorded, 0);
    EXPECT_EQ(scores[0].score, 0);

    fake::act("New High Score", {fake::ok});
    EXPECT_EQ(since("open"), (events{"open About Dovra", "open New High Score", "open Top Scores"}));
    EXPECT_EQ(scores[0].score, 120);
    EXPECT_STREQ(scores[0].name, "Ann");
    EXPECT_EQ(score_recorded, 1);
    expect_idle();
}

// The close ends the name's dialog at once, its entry stored, and then waits for the About box too.
TEST_P(OutOfOrder, CloseUnderTwoWindowsWaitsForTheLast)
{
    about_during_a_turn_ending_with("New High Score");
    fake::deliver(fake::close_main_window);
    EXPECT_EQ(scores[0].score, 120);
    EXPECT_STREQ(scores[0].name, "Ann");
    EXPECT_EQ(move_complete, 1);
    EXPECT_EQ(fake::run_pending(), 0);
    EXPECT_FALSE(file_exists("prefs.txt"));

    fake::act("About Dovra", {fake::ok});
    EXPECT_EQ(fake::run_pending(), 1);
    EXPECT_EQ(since({"open", "shut", "close"}),
              (events{"open About Dovra", "open New High Score", "close waits", "shut New High Score",
                      "shut About Dovra", "close asked", "closed"}))
        << "no Top Scores while a close waits";
    EXPECT_FALSE(contains(read_file("prefs.txt"), "current_score")) << "a full board saves no game";
}

// A close waiting under the About box while the turn behind it ends the game with a top-ten score: the name's
// dialog can no longer open, so the entry is stored as its OK would store it, with the name typed last.
TEST_P(OutOfOrder, TopTenScoreReachedWhileACloseWaitsIsStored)
{
    fake::script("About Dovra", {{fake::hold}});
    start_full_but({}, 120);
    std::strcpy(newname, "Bo");
    menu(IDM_ABOUT);
    fake::deliver(fake::close_main_window);
    tick(5);
    EXPECT_EQ(since("open"), events{"open About Dovra"}) << "no dialog opens while a close waits";
    EXPECT_EQ(scores[0].score, 120);
    EXPECT_STREQ(scores[0].name, "Bo");
    EXPECT_EQ(read_file("scores.txt").substr(0, 6), "120 Bo");
    EXPECT_EQ(score_recorded, 1);
}
