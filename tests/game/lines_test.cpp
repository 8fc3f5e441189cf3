// lines_test.cpp: runs of equal pieces, which of them are cleared in one call, and what they score.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "board.h"
#include "game/board_fixture.h"
#include "lines.h"

namespace {

struct Dir {
    int incx, incy;
    const char *name;
};
const Dir DIRS[4] = {{1, 0, "horizontal"}, {0, 1, "vertical"}, {1, 1, "diagonal"}, {1, -1, "anti-diagonal"}};

bool on_board(int x, int y)
{
    return x >= 0 && x < BOARD_SIZE && y >= 0 && y < BOARD_SIZE;
}

// ---------------------------------------------------------------------------------------------
// compute_score

TEST(ComputeScore, PointsForEachCount)
{
    // {squares, points}: nothing below five, negative counts included; 8n - 42 from nine on.
    const std::pair<int, int> expected[] = {{-100, 0}, {-1, 0},  {0, 0},   {1, 0},   {2, 0},   {3, 0},
                                            {4, 0},    {5, 10},  {6, 14},  {7, 18},  {8, 24},  {9, 30},
                                            {10, 38},  {11, 46}, {12, 54}, {17, 94}, {33, 222}, {81, 606}};
    for (const auto &[n, points] : expected)
        EXPECT_EQ(compute_score(n), points) << n << " squares";
}

// ---------------------------------------------------------------------------------------------
// adjacent_matches and clear_adjacent_matches

using AdjacentMatches = GameTest;

TEST_F(AdjacentMatches, CountsEqualSquaresAfterTheFirst)
{
    load_picture({
        "1111123..",
        ".1.......",
        "..1......",
        "...1.....",
        "....1....",
        ".........",
        ".........",
        ".........",
        "2........",
    });
    EXPECT_EQ(adjacent_matches(0, 0, 0, 1, 0), 4);
    EXPECT_EQ(adjacent_matches(0, 1, 0, 1, 0), 3);
    EXPECT_EQ(adjacent_matches(10, 0, 0, 1, 0), 14);
    EXPECT_EQ(adjacent_matches(0, 0, 0, 1, 1), 4);
    EXPECT_EQ(adjacent_matches(0, 0, 0, 0, 1), 0);
    EXPECT_EQ(adjacent_matches(0, 4, 4, -1, -1), 4);
    EXPECT_EQ(adjacent_matches(0, 5, 0, 1, 0), 0);
    EXPECT_EQ(adjacent_matches(0, 0, 8, 1, -1), 0);
}

TEST_F(AdjacentMatches, StopsAtTheEdge)
{
    fill_board(3);
    EXPECT_EQ(adjacent_matches(0, 0, 0, 1, 0), 8);
    EXPECT_EQ(adjacent_matches(0, 0, 8, 1, -1), 8);
    EXPECT_EQ(adjacent_matches(0, 8, 8, 1, 0), 0);
    EXPECT_EQ(adjacent_matches(0, 8, 0, 1, -1), 0);
    EXPECT_EQ(adjacent_matches(0, 4, 8, 0, 1), 0);
    EXPECT_EQ(adjacent_matches(0, 3, 0, 1, 1), 5);
}

TEST_F(AdjacentMatches, TheFirstSquareIsNotTested)
{
    // Started on an empty square it counts the empty squares that follow.
    EXPECT_EQ(adjacent_matches(0, 0, 0, 1, 0), 8);
}

TEST_F(AdjacentMatches, ClearsExactlyTheGivenSquares)
{
    fill_board(2);
    clear_adjacent_matches(5, 0, 8, 1, -1);
    EXPECT_EQ(board_picture(), picture_text({
                                   "222222222",
                                   "222222222",
                                   "222222222",
                                   "222222222",
                                   "2222.2222",
                                   "222.22222",
                                   "22.222222",
                                   "2.2222222",
                                   ".22222222",
                               }));
    fill_board(2);
    clear_adjacent_matches(0, 4, 4, 1, 0);
    EXPECT_EQ(free_cells(), 0);
    clear_adjacent_matches(9, 0, 3, 1, 0);
    EXPECT_EQ(free_cells(), 9);
    for (int x = 0; x < BOARD_SIZE; x++)
        EXPECT_EQ(board[x][3], EMPTY);
}

// ---------------------------------------------------------------------------------------------
// process_fives: boards before and after one call

struct LineCase {
    const char *name;
    Picture before;
    Picture after;  // UNCHANGED: as before
    int cleared;
    int points;
};

const Picture CLEARED = {".........", ".........", ".........", ".........", ".........",
                         ".........", ".........", ".........", "........."};
const Picture UNCHANGED = {};

const LineCase LINE_CASES[] = {
    {"four in a row clear nothing",
     {".........", ".........", ".........", ".........", "1111.....", ".........", ".........", ".........", "........."},
     UNCHANGED, 0, 0},
    {"five in a row",
     {".........", ".........", ".........", ".........", "..11111..", ".........", ".........", ".........", "........."},
     CLEARED, 5, 10},
    {"six in a column",
     {".........", "...2.....", "...2.....", "...2.....", "...2.....", "...2.....", "...2.....", ".........", "........."},
     CLEARED, 6, 14},
    {"seven on a diagonal",
     {".........", ".3.......", "..3......", "...3.....", "....3....", ".....3...", "......3..", ".......3.", "........."},
     CLEARED, 7, 18},
    {"eight on the anti-diagonal",
     {".........", ".......4.", "......4..", ".....4...", "....4....", "...4.....", "..4......", ".4.......", "4........"},
     CLEARED, 8, 24},
    {"a full column of nine",
     {"........5", "........5", "........5", "........5", "........5", "........5", "........5", "........5", "........5"},
     CLEARED, 9, 30},
    {"a full row of nine",
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "666666666"},
     CLEARED, 9, 30},
    {"the whole diagonal",
     {"7........", ".7.......", "..7......", "...7.....", "....7....", ".....7...", "......7..", ".......7.", "........7"},
     CLEARED, 9, 30},
    {"the whole anti-diagonal",
     {"........1", ".......1.", "......1..", ".....1...", "....1....", "...1.....", "..1......", ".1.......", "1........"},
     CLEARED, 9, 30},
    {"anti-diagonal from the bottom-left corner",
     {".........", ".........", ".........", ".........", "....2....", "...2.....", "..2......", ".2.......", "2........"},
     CLEARED, 5, 10},
    {"plus-shaped cross shares its middle",
     {".........", ".........", "....3....", "....3....", "..33333..", "....3....", "....3....", ".........", "........."},
     CLEARED, 9, 30},
    {"corner-shaped cross shares its end",
     {".........", ".........", ".........", ".........", "4........", "4........", "4........", "4........", "44444...."},
     CLEARED, 9, 30},
    {"a row and a diagonal without a common square",
     {"....11111", ".........", "2........", ".2.......", "..2......", "...2.....", "....2....", ".........", "........."},
     CLEARED, 10, 38},
    {"a run in every direction through one square",
     {".........", ".........", "..5.5.5..", "...555...", "..55555..", "...555...", "..5.5.5..", ".........", "........."},
     CLEARED, 17, 94},
    {"a row and a long column of other kinds",
     {".........", "11111....", ".......2.", ".......2.", ".......2.", ".......2.", ".......2.", ".......2.", ".......2."},
     CLEARED, 12, 54},
    {"a piece of another kind breaks the run",
     {".........", ".........", "111121111", ".........", "1........", "1........", "2........", "1........", "1........"},
     UNCHANGED, 0, 0},
    {"an empty square breaks the run",
     {".........", ".........", "1111.1111", ".........", ".........", ".........", ".........", ".........", "........."},
     UNCHANGED, 0, 0},
    {"only the equal pieces go",
     {".........", ".........", ".........", "..2.....3", "321111123", "..2......", ".........", ".........", "........."},
     {".........", ".........", ".........", "..2.....3", "32.....23", "..2......", ".........", ".........", "........."},
     5, 10},
    {"the longest run in a direction wins over an earlier one",
     {"11111....", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "...222222"},
     {"11111....", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."},
     6, 14},
    {"an almost-line next to a line is left",
     {".........", "3333.....", "33333....", ".........", ".........", ".........", ".........", ".........", "........."},
     {".........", "3333.....", ".........", ".........", ".........", ".........", ".........", ".........", "........."},
     5, 10},
    {"a run may end where another kind starts",
     {".........", ".........", ".........", "......5..", ".....5...", "....5....", "...5.....", "..5......", ".6......."},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", ".6......."},
     5, 10},
};

void PrintTo(const LineCase &c, std::ostream *os)
{
    *os << c.name;
}

class ProcessFivesTable : public GameTest, public testing::WithParamInterface<LineCase> {};

TEST_P(ProcessFivesTable, ClearsAndScores)
{
    const LineCase &c = GetParam();
    load_picture(c.before);
    current_score = 100;
    EXPECT_EQ(process_fives(), c.cleared);
    EXPECT_EQ(current_score, 100 + c.points);
    EXPECT_EQ(board_picture(), picture_text(c.after == UNCHANGED ? c.before : c.after));
}

INSTANTIATE_TEST_SUITE_P(Boards, ProcessFivesTable, testing::ValuesIn(LINE_CASES),
                         [](const testing::TestParamInfo<LineCase> &info) {
                             std::string name;
                             for (const char *p = info.param.name; *p; p++)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

// ---------------------------------------------------------------------------------------------
// process_fives: several runs in one direction, and runs at every place on the board

using ProcessFives = GameTest;

TEST_F(ProcessFives, TwoRunsInOneDirectionTakeTwoCalls)
{
    struct Case {
        const char *name;
        Picture before;
        Picture after_first;
    };
    const Case cases[] = {
        // Scan order is column first: the row starting at x 0 goes before the row starting at x 2.
        {"rows",
         {".........", "..44444..", ".........", ".........", ".........", "44444....", ".........", ".........", "........."},
         {".........", "..44444..", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
        {"columns",
         {"......1..", "......1..", "......1..", "......1..", ".1....1..", ".1.......", ".1.......", ".1.......", ".1......."},
         {"......1..", "......1..", "......1..", "......1..", "......1..", ".........", ".........", ".........", "........."}},
        {"rows starting in the same column: the upper one first",
         {".........", ".........", "77777....", ".........", ".........", ".........", "77777....", ".........", "........."},
         {".........", ".........", ".........", ".........", ".........", ".........", "77777....", ".........", "........."}},
        {"diagonals",
         {"....2....", ".....2...", "......2..", ".......2.", "2.......2", ".2.......", "..2......", "...2.....", "....2...."},
         {"....2....", ".....2...", "......2..", ".......2.", "........2", ".........", ".........", ".........", "........."}},
        {"anti-diagonals, found from their lower-left ends",
         {".........", "....6....", "...6.....", "..6......", ".6......6", "6......6.", "......6..", ".....6...", "....6...."},
         {".........", ".........", ".........", ".........", "........6", ".......6.", "......6..", ".....6...", "....6...."}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        reset_game_state();
        load_picture(c.before);
        EXPECT_EQ(process_fives(), 5);
        EXPECT_EQ(current_score, 10);
        EXPECT_EQ(board_picture(), picture_text(c.after_first));
        EXPECT_EQ(process_fives(), 5);
        EXPECT_EQ(current_score, 20);
        EXPECT_EQ(free_cells(), 81);
        EXPECT_EQ(process_fives(), 0);
        EXPECT_EQ(current_score, 20);
    }
}

TEST_F(ProcessFives, FiveAnywhereInAnyDirection)
{
    // Every placement that fits, so every edge and corner is met in all four directions.
    int placements = 0;
    for (const Dir &d : DIRS) {
        for (int x = 0; x < BOARD_SIZE; x++) {
            for (int y = 0; y < BOARD_SIZE; y++) {
                if (!on_board(x + 4 * d.incx, y + 4 * d.incy))
                    continue;
                for (int len : {5, 4}) {
                    SCOPED_TRACE(testing::Message() << d.name << " from " << x << "," << y << " length " << len);
                    reset_game_state();
                    const int kind = 1 + (x + y) % PIECE_KINDS;
                    for (int i = 0; i < len; i++)
                        board[x + i * d.incx][y + i * d.incy] = kind;
                    // A piece of another kind just past the end must not be taken along.
                    const int ex = x + len * d.incx, ey = y + len * d.incy;
                    if (on_board(ex, ey))
                        board[ex][ey] = kind % PIECE_KINDS + 1;
                    const int pieces = 81 - free_cells();
                    EXPECT_EQ(process_fives(), len == 5 ? 5 : 0);
                    EXPECT_EQ(current_score, len == 5 ? 10 : 0);
                    EXPECT_EQ(81 - free_cells(), len == 5 ? pieces - 5 : pieces);
                    if (on_board(ex, ey)) {
                        EXPECT_EQ(board[ex][ey], kind % PIECE_KINDS + 1);
                    }
                }
                placements++;
            }
        }
    }
    EXPECT_EQ(placements, 45 + 45 + 25 + 25);
}

TEST_F(ProcessFives, EmptyBoardScoresNothing)
{
    current_score = 7;
    EXPECT_EQ(process_fives(), 0);
    EXPECT_EQ(current_score, 7);
    EXPECT_EQ(free_cells(), 81);
}

TEST_F(ProcessFives, FullBoardOfOneKind)
{
    // Row 0, column 0, the diagonal and the anti-diagonal: 36 squares less the shared ones.
    fill_board(4);
    const int cleared = process_fives();
    EXPECT_EQ(cleared, 36 - 2 - 1 - 1 - 1);
    EXPECT_EQ(current_score, 8 * cleared - 42);
    for (int i = 0; i < BOARD_SIZE; i++) {
        EXPECT_EQ(board[i][0], EMPTY);
        EXPECT_EQ(board[0][i], EMPTY);
        EXPECT_EQ(board[i][i], EMPTY);
        EXPECT_EQ(board[i][8 - i], EMPTY);
    }
}

// ---------------------------------------------------------------------------------------------
// process_fives against a slow, obvious reference on random boards

using SquareSet = std::set<std::pair<int, int>>;

// Each direction's winner is the longest maximal run, ties going to the run whose first
// square (scanning columns, then rows) comes first; runs of five or more are cleared together.
int reference_fives(int b[BOARD_SIZE][BOARD_SIZE], int *score)
{
    SquareSet gone;
    for (const Dir &d : DIRS) {
        int best_len = 0;
        SquareSet best;
        for (int x = 0; x < BOARD_SIZE; x++) {
            for (int y = 0; y < BOARD_SIZE; y++) {
                const int v = b[x][y];
                if (v == EMPTY)
                    continue;
                const int px = x - d.incx, py = y - d.incy;
                if (on_board(px, py) && b[px][py] == v)
                    continue;  // not the first square of its run
                SquareSet run;
                for (int cx = x, cy = y; on_board(cx, cy) && b[cx][cy] == v; cx += d.incx, cy += d.incy)
                    run.insert({cx, cy});
                if (static_cast<int>(run.size()) > best_len) {
                    best_len = static_cast<int>(run.size());
                    best = run;
                }
            }
        }
        if (best_len >= 5)
            gone.insert(best.begin(), best.end());
    }
    for (const auto &s : gone)
        b[s.first][s.second] = EMPTY;
    const int n = static_cast<int>(gone.size());
    const int points = n < 5 ? 0 : n == 5 ? 10 : n == 6 ? 14 : n == 7 ? 18 : n == 8 ? 24 : 8 * n - 42;
    *score += points;
    return n;
}

TEST_F(ProcessFives, AgreesWithTheReferenceOnRandomBoards)
{
    std::mt19937 rng(777u);
    int cleared_total = 0, multi_direction = 0;
    for (int trial = 0; trial < 1500; trial++) {
        reset_game_state();
        const int kinds = 1 + static_cast<int>(rng() % 3);
        const int density = 40 + static_cast<int>(rng() % 61);
        for (int x = 0; x < BOARD_SIZE; x++)
            for (int y = 0; y < BOARD_SIZE; y++)
                board[x][y] = static_cast<int>(rng() % 100) < density ? 1 + static_cast<int>(rng() % kinds) : EMPTY;
        int ref[BOARD_SIZE][BOARD_SIZE];
        std::memcpy(ref, board, sizeof ref);
        int ref_score = current_score = static_cast<int>(rng() % 1000);

        // Call until nothing more is cleared, as the turn logic does after the drops.
        for (int call = 0; call < 40; call++) {
            SCOPED_TRACE(testing::Message() << "trial " << trial << " call " << call);
            const int expected = reference_fives(ref, &ref_score);
            const int got = process_fives();
            ASSERT_EQ(got, expected);
            ASSERT_EQ(current_score, ref_score);
            ASSERT_EQ(std::memcmp(ref, board, sizeof ref), 0) << board_picture();
            cleared_total += got;
            multi_direction += got > 9;
            if (got == 0)
                break;
        }
    }
    EXPECT_GT(cleared_total, 10000);
    EXPECT_GT(multi_direction, 300);
}

}  // namespace
