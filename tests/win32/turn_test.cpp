// turn_test.cpp: clicks and the turn the timer drives, from the selection to game over, through the
// window procedure on the Win32 stand-in.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "shell_fixture.h"

namespace {

// The number of squares the piece will advance, read from the route as the animation reads it.
int route_steps()
{
    int steps = 0;
    int x = animation_x;
    int y = animation_y;
    for (int i = pptr - 1; i >= 0; --i) {
        if (path[i].x != x || path[i].y != y) {
            ++steps;
            x = path[i].x;
            y = path[i].y;
        }
    }
    return steps;
}

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

class TurnTest : public ShellTest {
protected:
    // Runs the ticks of a move that has just been accepted, checking that every tick advances the
    // piece to a 4-neighbour with one move sound; returns the number of ticks it took.
    int run_move_ticks()
    {
        int kind = board[animation_x][animation_y];
        int ticks = 0;
        while (animate_state == MOVE && pptr > 0) {
            int from_x = animation_x;
            int from_y = animation_y;
            forget_records();
            tick();
            ++ticks;
            EXPECT_EQ(std::abs(animation_x - from_x) + std::abs(animation_y - from_y), 1) << "tick " << ticks;
            EXPECT_EQ(board[animation_x][animation_y], kind);
            EXPECT_EQ(board[from_x][from_y], EMPTY);
            EXPECT_EQ(sounds_played(), std::vector<int>{SOUND_MOVE});
            EXPECT_EQ(move_complete, 0);
            EXPECT_EQ(current_cursor, busy_cursor);
        }
        return ticks;
    }
};

// ---- Selection ----------------------------------------------------------------------------------

TEST_F(TurnTest, ClickOnAMovablePieceSelectsItOnce)
{
    start_with(rows_from_top({"12.......", "3........"}));
    click_square(1, 0);
    EXPECT_EQ(hilite_x, 1);
    EXPECT_EQ(hilite_y, 0);
    EXPECT_EQ(invalidations_since(), 1u);
    EXPECT_FALSE(headless::invalidations().back().erase);
    EXPECT_TRUE(headless::invalidations().back().whole);

    forget_records();
    click_square(1, 0);
    EXPECT_EQ(hilite_x, 1);
    EXPECT_EQ(hilite_y, 0);
    EXPECT_EQ(invalidations_since(), 0u) << "a second click on the selected piece changes nothing";

    click_square(0, 1);
    EXPECT_EQ(hilite_x, 0);
    EXPECT_EQ(hilite_y, 1);
    EXPECT_EQ(invalidations_since(), 1u) << "the selection moves to the other piece";
    EXPECT_TRUE(sounds_played().empty());
}

namespace {
struct clearing_click {
    const char* name;
    int x, y;
};
}  // namespace

class ClickClearingTheSelection : public TurnTest, public ::testing::WithParamInterface<clearing_click> {};

TEST_P(ClickClearingTheSelection, ClearsItSilently)
{
    start_with(rows_from_top({"12.......", "3........"}));
    click_square(1, 0);
    forget_records();
    click(GetParam().x, GetParam().y);
    EXPECT_EQ(hilite_x, NO_SELECTION);
    EXPECT_EQ(hilite_y, NO_SELECTION);
    EXPECT_EQ(invalidations_since(), 1u);
    EXPECT_TRUE(sounds_played().empty());
    EXPECT_EQ(move_complete, 1);
}

INSTANTIATE_TEST_SUITE_P(Places, ClickClearingTheSelection,
                         ::testing::Values(clearing_click{"blocked_in_piece", 0 * 16 + 8, 0 * 16 + 8},
                                           clearing_click{"preview_column", 9 * 16 + 3, 10},
                                           clearing_click{"right_of_the_windows_board", 200, 10},
                                           clearing_click{"strip_below_the_board", 10, 9 * 16},
                                           clearing_click{"new_game_button_height", 70, 160},
                                           clearing_click{"coordinates_past_32767", 0xFFFF, 0xFFFF}),
                         [](const ::testing::TestParamInfo<clearing_click>& info) {
                             return std::string(info.param.name);
                         });

namespace {
struct refusal_case {
    const char* name;
    std::vector<std::string> rows;
    int hx, hy;  // the selection before the click: a piece is selected by clicking it, an empty square is set
    int x, y;    // the square clicked
};
}  // namespace

class Refusal : public TurnTest, public ::testing::WithParamInterface<refusal_case> {};

TEST_P(Refusal, PlaysWoopsAndKeepsTheSelectionWithoutATrace)
{
    const refusal_case& c = GetParam();
    start_with(c.rows);
    if (c.hx != NO_SELECTION && board[c.hx][c.hy] != EMPTY) {
        click_square(c.hx, c.hy);
        ASSERT_EQ(hilite_x, c.hx);
        ASSERT_EQ(hilite_y, c.hy);
    } else {
        hilite_x = c.hx;
        hilite_y = c.hy;
    }
    const int pieces = pieces_on_board();
    forget_records();

    click_square(c.x, c.y);

    EXPECT_EQ(sounds_played(), std::vector<int>{SOUND_WOOPS});
    EXPECT_EQ(hilite_x, c.hx);
    EXPECT_EQ(hilite_y, c.hy);
    EXPECT_EQ(invalidations_since(), 0u);
    EXPECT_EQ(pptr, 0);
    EXPECT_EQ(pieces_on_board(), pieces);
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y)
            EXPECT_GE(board[x][y], 0) << "no visited mark is left behind";
    EXPECT_EQ(move_complete, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, Refusal,
    ::testing::Values(refusal_case{"empty_square_with_nothing_selected", rows_from_top(), NO_SELECTION, NO_SELECTION,
                                   4, 4},
                      // (8,8) is walled in by the pieces at (7,8) and (8,7).
                      refusal_case{"walled_in_square",
                                   {"1........", ".........", ".........", ".........", ".........", ".........",
                                    ".........", "........2", ".......3."},
                                   0, 0, 8, 8},
                      // Refused without a search.
                      refusal_case{"the_selected_empty_square_itself", rows_from_top(), 3, 3, 3, 3}),
    [](const ::testing::TestParamInfo<refusal_case>& info) { return std::string(info.param.name); });

// ---- A whole move -------------------------------------------------------------------------------

TEST_F(TurnTest, MoveThatScoresEndsOneTickAfterArrival)
{
    start_with({"1111.....", ".........", "....1....", ".........", ".........", ".........", ".........",
                ".........", "........7"},
               7);
    click_square(4, 2);
    forget_records();
    click_square(4, 0);
    ASSERT_EQ(move_complete, 0);
    EXPECT_EQ(hilite_x, NO_SELECTION) << "nothing is selected while the piece travels";
    EXPECT_EQ(cursors_since(), std::vector<HCURSOR>{busy_cursor});
    EXPECT_TRUE(sounds_played().empty());
    EXPECT_EQ(board[4][2], 1) << "the piece waits for the first tick";
    int steps = route_steps();
    EXPECT_EQ(steps, 2);

    EXPECT_EQ(run_move_ticks(), steps);
    EXPECT_EQ(animate_state, PAUSE);
    forget_records();
    tick();
    EXPECT_EQ(sounds_played(), std::vector<int>{SOUND_ZIP});
    EXPECT_EQ(current_score, 7 + 10);
    EXPECT_EQ(cursors_since(), std::vector<HCURSOR>{normal_cursor});
    EXPECT_EQ(pieces_on_board(), 1);
    expect_idle();
    EXPECT_EQ(next_batch[0], 1);
    EXPECT_EQ(next_batch[1], 2);
    EXPECT_EQ(next_batch[2], 3);
    EXPECT_EQ(boxes_since(), 0u) << "a piece is left, so there is no bonus";
}

TEST_F(TurnTest, MoveThatScoresReplaysAWaitingClick)
{
    start_with({"1111.....", ".........", "....1....", ".........", ".........", ".........", ".........",
                ".........", "........7"});
    click_square(4, 2);
    click_square(4, 0);
    tick();
    click_square(8, 8);
    forget_records();
    tick(2);
    expect_idle();
    std::vector<MSG> replayed = posted_since();
    ASSERT_EQ(replayed.size(), 1u);
    EXPECT_EQ(replayed[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(LOWORD(replayed[0].lParam), 8 * 16 + 8);
    EXPECT_EQ(HIWORD(replayed[0].lParam), 8 * 16 + 8);
    headless::run_pending();
    EXPECT_EQ(hilite_x, 8);
    EXPECT_EQ(hilite_y, 8);
}

// A score restored from a hand-edited file may already be the largest int; points stop there.
TEST_F(TurnTest, ScoreStopsAtTheLargestInt)
{
    start_with({"1111.....", ".........", "....1....", ".........", ".........", ".........", ".........",
                ".........", "........."},
               INT_MAX - 5);
    click_square(4, 2);
    click_square(4, 0);
    tick(3);
    EXPECT_EQ(headless::message_boxes().back().caption, "Wow!");
    EXPECT_EQ(current_score, INT_MAX);
}

TEST_F(TurnTest, MoveThatScoresNothingDropsThreePieces)
{
    start_with(rows_from_top({"5........"}));
    click_square(0, 0);
    click_square(0, 8);
    int steps = route_steps();
    EXPECT_EQ(steps, 8) << "the zigzag the search finds is smoothed into a straight walk";
    EXPECT_EQ(run_move_ticks(), steps);
    EXPECT_EQ(board[0][8], 5);

    forget_records();
    tick();  // the pause: nothing to clear
    EXPECT_EQ(animate_state, DROP1);
    EXPECT_TRUE(sounds_played().empty());
    for (int drop = 0; drop < 3; ++drop) {
        SCOPED_TRACE(drop);
        forget_records();
        EXPECT_EQ(next_batch[0], 1);
        tick();
        EXPECT_EQ(sounds_played(), std::vector<int>{SOUND_DROP});
        EXPECT_EQ(pieces_on_board(), 2 + drop);
        EXPECT_EQ(invalidations_since(), 1u);
    }
    EXPECT_EQ(kinds_on_board(), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_FALSE(next_batch[0] == 1 && next_batch[1] == 2 && next_batch[2] == 3) << "a new preview is drawn";
    expect_idle();
    EXPECT_EQ(current_score, 0);
    EXPECT_EQ(steps + 4, 12);
}

TEST_F(TurnTest, EveryTickRepaintsWithoutErasing)
{
    start_with(rows_from_top());
    forget_records();
    tick(5);
    EXPECT_EQ(invalidations_since(), 5u);
    const auto& all = headless::invalidations();
    for (size_t i = all.size() - 5; i < all.size(); ++i) {
        EXPECT_TRUE(all[i].whole);
        EXPECT_FALSE(all[i].erase);
    }
}

// ---- Clicks during a turn -----------------------------------------------------------------------

TEST_F(TurnTest, OnlyTheLastClickOfATurnIsReplayedOnceAfterIt)
{
    start_with(rows_from_top({"5........"}));
    click_square(0, 0);
    click_square(0, 8);
    forget_records();
    tick();
    click_square(5, 5);
    tick();
    click_square(0, 8);  // where the piece will stand
    EXPECT_EQ(pending_click, 1);
    EXPECT_EQ(hilite_x, NO_SELECTION);
    EXPECT_TRUE(posted_since().empty()) << "nothing is replayed while the turn runs";
    while (move_complete == 0)
        tick();
    expect_idle();
    std::vector<MSG> replayed = posted_since();
    ASSERT_EQ(replayed.size(), 1u);
    EXPECT_EQ(replayed[0].hwnd, MyWindow);
    EXPECT_EQ(replayed[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(replayed[0].wParam, 0u);
    EXPECT_EQ(LOWORD(replayed[0].lParam), 0 * 16 + 8);
    EXPECT_EQ(HIWORD(replayed[0].lParam), 8 * 16 + 8);
    EXPECT_EQ(pending_click, 0);

    EXPECT_EQ(headless::run_pending(), 1);
    if (anymoves(0, 8)) {
        EXPECT_EQ(hilite_x, 0);
        EXPECT_EQ(hilite_y, 8);
    }
    forget_records();
    tick(3);
    EXPECT_TRUE(posted_since().empty()) << "the click is replayed only once";
}

TEST_F(TurnTest, BusyCursorFromTheAcceptedClickToTheLastTick)
{
    start_with(rows_from_top({"5........"}));
    click_square(0, 0);
    forget_records();
    click_square(0, 2);
    int ticks = 0;
    while (move_complete == 0) {
        EXPECT_EQ(headless::current_cursor(), busy_cursor);
        BaseMsgProc(MyWindow, WM_SETCURSOR, (WPARAM)MyWindow, 0);
        EXPECT_EQ(headless::current_cursor(), busy_cursor) << "the frame shows the wait cursor too";
        tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 2 + 4);
    EXPECT_EQ(cursors_since().front(), busy_cursor);
    EXPECT_EQ(cursors_since().back(), normal_cursor);
    expect_idle();
}

// ---- Drops on a filling board -------------------------------------------------------------------

class FillingBoardTest : public TurnTest {
protected:
    // A full board without lines, with the given squares emptied; the piece at (1,0) then moves to (0,0).
    void start_full_but(const std::vector<std::pair<int, int>>& empties, int score)
    {
        std::vector<std::string> rows = no_line_rows();
        rows[0][0] = '.';
        for (auto [x, y] : empties)
            rows[y][x] = '.';
        start_with(rows, score);
        click_square(1, 0);
        click_square(0, 0);
        ASSERT_EQ(move_complete, 0);
    }
};

TEST_F(FillingBoardTest, BoardFullAfterTheFirstDropEndsTheGameAfterTheThirdDrop)
{
    start_full_but({}, 0);
    tick();  // the move
    tick();  // the pause
    forget_records();
    tick();
    EXPECT_EQ(free_cells(), 0);
    tick();
    tick();
    EXPECT_EQ(sounds_played(), (std::vector<int>{SOUND_DROP, SOUND_DROP, SOUND_DROP, SOUND_GAMEOVER}));
    EXPECT_EQ(dialogs_shown(), std::vector<int>{IDD_TOPSCORES}) << "a score of 0 never enters the table";
    EXPECT_EQ(score_recorded, 0);
    expect_idle();
}

TEST_F(FillingBoardTest, BoardFullAfterTheSecondDrop)
{
    start_full_but({{8, 8}}, 0);
    tick(2);
    tick();
    EXPECT_EQ(free_cells(), 1);
    tick();
    EXPECT_EQ(free_cells(), 0);
    EXPECT_EQ(dialogs_since(), 0u);
    tick();
    EXPECT_EQ(dialogs_since(), 1u);
}

TEST_F(FillingBoardTest, GameOverWithATopTenScore)
{
    start_full_but({}, 120);
    answer_new_high_score("Ann");
    tick(4);
    click_square(4, 4);  // waits for the end of the turn
    forget_records();
    tick();
    EXPECT_EQ(sounds_played(), (std::vector<int>{SOUND_DROP, SOUND_WINNER}));
    ASSERT_EQ(dialogs_shown(), (std::vector<int>{IDD_NEWHIGHSCORE, IDD_TOPSCORES}));
    const headless::dialog_run& entry = headless::dialogs()[seen_dialogs];
    EXPECT_EQ(entry.owner, MyWindow);
    // The winner sound is heard before any dialog opens.
    const auto& events = headless::events();
    size_t winner = headless::sounds().back().seq;
    EXPECT_LT(winner, static_cast<size_t>(entry.seq));
    EXPECT_EQ(events[winner].kind, headless::event_kind::sound);
    EXPECT_EQ(score_recorded, 1);
    EXPECT_EQ(scores[0].score, 120);
    EXPECT_STREQ(scores[0].name, "Ann");
    EXPECT_EQ(pending_click, 0) << "a click of the finished game is dropped";
    for (const MSG& msg : posted_since())
        EXPECT_NE(msg.message, static_cast<UINT>(WM_LBUTTONDOWN));
    expect_idle();
}

TEST_F(FillingBoardTest, LineCompletedByADropIsClearedBeforeTheFullBoardCheck)
{
    // Row 8 holds four 5s left of (4,8); the piece at (4,8) steps aside and the first drop, a 5,
    // lands on the only empty square and completes the row.
    std::vector<std::string> rows = no_line_rows();
    for (int x = 0; x < 4; ++x)
        rows[8][x] = '5';
    rows[8][5] = '.';
    start_with(rows);
    next_batch[0] = 5;
    click_square(4, 8);
    click_square(5, 8);
    ASSERT_EQ(move_complete, 0);
    tick(2);
    forget_records();
    tick(3);
    EXPECT_EQ(sounds_played(), (std::vector<int>{SOUND_DROP, SOUND_DROP, SOUND_DROP, SOUND_ZIP}));
    EXPECT_EQ(free_cells(), 5);
    EXPECT_EQ(current_score, 10);
    EXPECT_EQ(dialogs_since(), 0u) << "the game goes on";
    expect_idle();
}

TEST_F(FillingBoardTest, TicksBehindTheGameOverDialogsOnlyRepaint)
{
    start_full_but({}, 50);
    headless::set_modal_ticks(4);
    tick(4);
    std::vector<std::string> before = board_rows();
    forget_records();
    tick();
    ASSERT_EQ(dialogs_since(), 2u);
    EXPECT_EQ(headless::dialogs().back().ticks, 4);
    EXPECT_EQ(board_rows(), before) << "nothing dropped or moved behind the dialogs";
    EXPECT_EQ(sounds_played(), (std::vector<int>{SOUND_DROP, SOUND_WINNER}));
    EXPECT_EQ(invalidations_since(), 8u + 1u) << "each tick behind a dialog repaints";
    expect_idle();
}

// ---- The empty-board bonus ----------------------------------------------------------------------

TEST_F(TurnTest, ClearingMoveThatEmptiesTheBoardEarnsTheBonus)
{
    start_with(rows_from_top({"1111.....", ".........", "....1...."}));
    // The program seeds itself from the clock; one time in 343 that would draw the old preview again.
    dovra::srand(1);
    headless::set_modal_ticks(3);
    click_square(4, 2);
    click_square(4, 0);
    tick(2);
    forget_records();
    tick();
    ASSERT_EQ(boxes_since(), 1u);
    const auto& box = headless::message_boxes().back();
    EXPECT_EQ(box.text, "You cleared the board!\nThat's good for a 500 point bonus!");
    EXPECT_EQ(box.caption, "Wow!");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, MyWindow);
    EXPECT_EQ(box.ticks, 3);
    EXPECT_EQ(sounds_played(), std::vector<int>{SOUND_ZIP}) << "the ticks behind the box change nothing";
    EXPECT_EQ(kinds_on_board(), (std::vector<int>{1, 2, 3})) << "the preview shown during the move";
    EXPECT_EQ(current_score, 510);
    EXPECT_FALSE(next_batch[0] == 1 && next_batch[1] == 2 && next_batch[2] == 3);
    expect_idle();
}

// A close while the message is up waits for it, so what is saved holds the bonus and its three pieces.
TEST_F(TurnTest, CloseDuringTheBonusMessageKeepsTheBonus)
{
    start_with(rows_from_top({"1111.....", ".........", "....1...."}));
    std::string prefs_then;
    headless::script_message_box({headless::call([&] {
        headless::send(MyWindow, WM_CLOSE, 0, 0);
        prefs_then = read_file("prefs.txt");
    })});
    click_square(4, 2);
    click_square(4, 0);
    tick(3);
    ASSERT_EQ(boxes_since(), 1u);
    EXPECT_EQ(prefs_then, "<missing>");
    EXPECT_EQ(headless::live_count(headless::object_kind::bitmap), 16);

    headless::run_pending();
    const std::string prefs = read_file("prefs.txt");
    EXPECT_TRUE(contains(prefs, "current_score = 510\n")) << prefs;
    EXPECT_EQ(std::count(prefs.begin(), prefs.end(), '\n'), 10 + 3 + 2) << "three pieces saved";
    EXPECT_EQ(headless::quit_posted(), 1);
    EXPECT_EQ(headless::live_count(headless::object_kind::bitmap), 0);
    EXPECT_TRUE(headless::misuses().empty());
}

TEST_F(TurnTest, DropsThatEmptyTheBoardEarnTheBonus)
{
    // Find a seed whose first three drops land in three different rows, then lay a row of four
    // beside each landing square, so the three drops complete three rows.
    struct Square {
        int x, y;
    };
    for (unsigned seed = 1; seed < 5000; ++seed) {
        dovra::srand(seed);
        Square q[3];
        for (auto& s : q) {
            s.x = dovra::_lrand() % 9;
            s.y = dovra::_lrand() % 9;
        }
        if (q[0].y == q[1].y || q[0].y == q[2].y || q[1].y == q[2].y)
            continue;
        std::vector<std::string> rows = rows_from_top();
        Square last = {0, 0};
        for (int i = 0; i < 3; ++i) {
            int dir = q[i].x <= 4 ? 1 : -1;
            for (int k = 1; k <= 4; ++k)
                rows[q[i].y][q[i].x + dir * k] = static_cast<char>('1' + i);
            last = {q[i].x + dir * 4, q[i].y};
        }
        // The third row's far end is filled by a move from the square above it.
        if (last.y == 0 || rows[last.y - 1][last.x] != '.')
            continue;
        bool lands_on_drop = false;
        for (const auto& s : q)
            lands_on_drop |= (s.x == last.x && s.y == last.y - 1);
        if (lands_on_drop)
            continue;
        rows[last.y - 1][last.x] = '3';
        rows[last.y][last.x] = '.';

        start_with(rows, 0);
        click_square(last.x, last.y - 1);
        dovra::srand(seed);
        click_square(last.x, last.y);
        ASSERT_EQ(move_complete, 0);
        while (animate_state != DROP3)
            tick();
        forget_records();
        tick();
        EXPECT_EQ(sounds_played(), (std::vector<int>{SOUND_DROP, SOUND_ZIP, SOUND_ZIP, SOUND_ZIP}));
        ASSERT_EQ(boxes_since(), 1u);
        EXPECT_EQ(headless::message_boxes().back().caption, "Wow!");
        EXPECT_EQ(current_score, 3 * 10 + 500);
        // The pieces put on the board are the preview drawn in the same tick, after the six square draws.
        dovra::srand(seed);
        for (int i = 0; i < 6; ++i)
            dovra::_lrand();
        std::vector<int> drawn;
        for (int i = 0; i < 3; ++i)
            drawn.push_back(dovra::_lrand() % 7 + 1);
        std::sort(drawn.begin(), drawn.end());
        EXPECT_EQ(kinds_on_board(), drawn);
        expect_idle();
        return;
    }
    FAIL() << "no seed gives three drops in three rows";
}

// ---- Ending a turn at once ----------------------------------------------------------------------

TEST_F(TurnTest, EndTurnLeavesTheTurnIdle)
{
    start_with(rows_from_top({"5........"}));
    click_square(0, 0);
    click_square(0, 8);
    tick();
    click_square(3, 3);
    end_turn();
    expect_idle();
    EXPECT_EQ(pending_click, 0);
    std::vector<std::string> before = board_rows();
    forget_records();
    tick(12);
    EXPECT_EQ(board_rows(), before);
    EXPECT_TRUE(sounds_played().empty());
    EXPECT_TRUE(posted_since().empty());
}
