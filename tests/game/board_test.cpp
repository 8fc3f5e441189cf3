// board_test.cpp: the random source, free squares, the piece supply and dealing a new game.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "board.h"
#include "game/board_fixture.h"
#include "random.h"

namespace {

// The value the generator gives after srand(seed) and `skip` earlier draws.
int nth_draw(unsigned int seed, int skip)
{
    dovra::srand(seed);
    for (int i = 0; i < skip; i++)
        dovra::_lrand();
    return dovra::_lrand();
}

std::vector<int> squares_holding(int value)
{
    std::vector<int> squares;
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            if (board[x][y] == value)
                squares.push_back(BOARD_SIZE * x + y);
    return squares;
}

// ---------------------------------------------------------------------------------------------
// Random source

TEST(RandomSource, SeedOneGivesKnownSequence)
{
    dovra::srand(1);
    EXPECT_EQ(dovra::_lrand(), 5540);
    EXPECT_EQ(dovra::_lrand(), 221838220);
    EXPECT_EQ(dovra::_lrand(), 695693412);
}

TEST(RandomSource, ReseedingRestartsTheSequence)
{
    dovra::srand(12345);
    std::vector<int> first;
    for (int i = 0; i < 20; i++)
        first.push_back(dovra::_lrand());
    dovra::srand(12345);
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(dovra::_lrand(), first[i]) << "draw " << i;
}

TEST(RandomSource, SeedZeroFirstDrawComesFromTheIncrementAlone)
{
    // state 0 * m + 1 = 1: the high bits are 0, then 1 * m + 1 gives 0x15A4 again.
    dovra::srand(0);
    EXPECT_EQ(dovra::_lrand(), 0);
    EXPECT_EQ(dovra::_lrand(), 0x15A4);
}

TEST(RandomSource, SeedReplacesTheWholeState)
{
    // A long-running generator has high state bits set; seeding must clear them.
    dovra::srand(7);
    for (int i = 0; i < 1000; i++)
        dovra::_lrand();
    dovra::srand(1);
    EXPECT_EQ(dovra::_lrand(), 5540);
}

TEST(RandomSource, ResultsAreNeverNegative)
{
    for (unsigned int seed : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 1700000000u}) {
        dovra::srand(seed);
        for (int i = 0; i < 5000; i++) {
            const int v = dovra::_lrand();
            ASSERT_GE(v, 0) << "seed " << seed << " draw " << i;
        }
    }
}

TEST(RandomSource, HighSeedBitsAreKept)
{
    // Seeds differing only in bit 31 must give different streams.
    EXPECT_NE(nth_draw(0x00000001u, 0), nth_draw(0x80000001u, 0));
}

// ---------------------------------------------------------------------------------------------
// Free squares and the preview

using FreeCells = GameTest;

TEST_F(FreeCells, CountsEmptyAndVisitedButNotPieces)
{
    EXPECT_EQ(free_cells(), 81);
    load_picture({
        "1234567..",
        "*********",
        ".........",
        ".........",
        ".........",
        ".........",
        ".........",
        ".........",
        "........7",
    });
    EXPECT_EQ(free_cells(), 81 - 8);
    fill_board(3);
    EXPECT_EQ(free_cells(), 0);
    fill_board(VISITED);
    EXPECT_EQ(free_cells(), 81);
}

TEST_F(FreeCells, ChangesNothing)
{
    load_picture({
        "1*.......", ".........", ".........", ".........", ".........",
        ".........", ".........", ".........", ".........",
    });
    const BoardCopy before = copy_board();
    free_cells();
    EXPECT_TRUE(same_board(before));
}

using GetHandfull = GameTest;

TEST_F(GetHandfull, DrawsThreeKindsInOrder)
{
    for (unsigned int seed = 0; seed < 50; seed++) {
        dovra::srand(seed);
        get_handfull();
        for (int i = 0; i < BATCH_SIZE; i++)
            EXPECT_EQ(next_batch[i], nth_draw(seed, i) % 7 + 1) << "seed " << seed << " slot " << i;
    }
}

TEST_F(GetHandfull, EveryKindTurnsUpAndNoOther)
{
    dovra::srand(99);
    int seen[PIECE_KINDS + 1] = {};
    for (int i = 0; i < 200; i++) {
        get_handfull();
        for (int k : next_batch) {
            ASSERT_GE(k, 1);
            ASSERT_LE(k, PIECE_KINDS);
            seen[k]++;
        }
    }
    for (int k = 1; k <= PIECE_KINDS; k++)
        EXPECT_GT(seen[k], 0) << "kind " << k;
}

// ---------------------------------------------------------------------------------------------
// Dropping pieces

using DropNext = GameTest;

TEST_F(DropNext, FullBoardPlacesNothingAndDrawsNothing)
{
    fill_board(5);
    set_batch(1, 2, 3);
    dovra::srand(4242);
    for (int n = 0; n < BATCH_SIZE; n++)
        EXPECT_EQ(drop_next(n), 0);
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            EXPECT_EQ(board[x][y], 5);
    EXPECT_EQ(batch(), (std::vector<int>{1, 2, 3}));
    const int next = dovra::_lrand();
    EXPECT_EQ(next, nth_draw(4242, 0));
}

TEST_F(DropNext, LastFreeSquareReceivesTheChosenKind)
{
    struct Case {
        int n;
        int x, y;
        int hole;  // what the last free square holds before the drop
    };
    const Case cases[] = {
        {0, 0, 0, EMPTY}, {1, 8, 8, EMPTY}, {2, 4, 7, EMPTY},
        {0, 8, 0, VISITED}, {1, 0, 8, VISITED}, {2, 3, 3, VISITED},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "n " << c.n << " at " << c.x << "," << c.y);
        fill_board(6);
        board[c.x][c.y] = c.hole;
        set_batch(1, 2, 3);
        dovra::srand(17);
        EXPECT_EQ(drop_next(c.n), 1);
        EXPECT_EQ(board[c.x][c.y], c.n + 1);
        EXPECT_EQ(free_cells(), 0);
        EXPECT_EQ(batch(), (std::vector<int>{1, 2, 3}));
    }
}

TEST_F(DropNext, NeverLandsOnAPiece)
{
    for (unsigned int seed = 1; seed <= 300; seed++) {
        reset_game_state();
        // A checkerboard of pieces leaves roughly half the squares free.
        for (int x = 0; x < BOARD_SIZE; x++)
            for (int y = 0; y < BOARD_SIZE; y++)
                board[x][y] = (x + y + static_cast<int>(seed)) % 2 ? 7 : EMPTY;
        const BoardCopy before = copy_board();
        set_batch(2, 4, 6);
        dovra::srand(seed);
        const int n = static_cast<int>(seed % 3);
        ASSERT_EQ(drop_next(n), 1);
        int changed = 0;
        for (int x = 0; x < BOARD_SIZE; x++) {
            for (int y = 0; y < BOARD_SIZE; y++) {
                if (board[x][y] == before.cells[x][y])
                    continue;
                changed++;
                EXPECT_EQ(before.cells[x][y], EMPTY) << "seed " << seed;
                EXPECT_EQ(board[x][y], next_batch[n]) << "seed " << seed;
            }
        }
        EXPECT_EQ(changed, 1) << "seed " << seed;
    }
}

TEST_F(DropNext, ColumnIsDrawnBeforeRow)
{
    // On an empty board the first two draws decide the square: column first, then row.
    for (unsigned int seed = 0; seed < 40; seed++) {
        reset_game_state();
        next_batch[1] = 5;
        const int x = nth_draw(seed, 0) % 9;
        const int y = nth_draw(seed, 1) % 9;
        dovra::srand(seed);
        ASSERT_EQ(drop_next(1), 1);
        EXPECT_EQ(board[x][y], 5) << "seed " << seed;
        EXPECT_EQ(free_cells(), 80);
    }
}

using SprinkleBoard = GameTest;

TEST_F(SprinkleBoard, TwoFreeSquaresTakeTheFirstTwoPieces)
{
    for (unsigned int seed = 0; seed < 30; seed++) {
        reset_game_state();
        fill_board(7);
        board[2][5] = EMPTY;
        board[6][1] = VISITED;
        set_batch(1, 2, 3);
        dovra::srand(seed);
        EXPECT_EQ(sprinkle_board(), 0);
        EXPECT_EQ(free_cells(), 0);
        std::vector<int> placed = {board[2][5], board[6][1]};
        std::sort(placed.begin(), placed.end());
        EXPECT_EQ(placed, (std::vector<int>{1, 2})) << "seed " << seed;
        EXPECT_TRUE(squares_holding(3).empty());
        EXPECT_EQ(next_batch[2], 3);
    }
}

TEST_F(SprinkleBoard, NoFreeSquareChangesNothing)
{
    fill_board(4);
    set_batch(1, 2, 3);
    dovra::srand(8);
    EXPECT_EQ(sprinkle_board(), 0);
    EXPECT_EQ(free_cells(), 0);
    EXPECT_TRUE(squares_holding(1).empty());
    const int next = dovra::_lrand();
    EXPECT_EQ(next, nth_draw(8, 0));
}

TEST_F(SprinkleBoard, ThreePiecesLandOnThreeDifferentSquares)
{
    for (unsigned int seed = 0; seed < 200; seed++) {
        reset_game_state();
        set_batch(3, 3, 3);
        dovra::srand(seed);
        EXPECT_EQ(sprinkle_board(), 0);
        EXPECT_EQ(squares_holding(3).size(), 3u) << "seed " << seed;
    }
}

// ---------------------------------------------------------------------------------------------
// Dealing a new game

using NewGameTest = GameTest;

TEST_F(NewGameTest, SeedOneDealsTheKnownOpening)
{
    dovra::srand(1);
    NewGame();
    EXPECT_EQ(board[8][3], 4);
    EXPECT_EQ(board[3][0], 3);
    EXPECT_EQ(board[0][6], 2);
    EXPECT_EQ(free_cells(), 78);
    EXPECT_EQ(batch(), (std::vector<int>{3, 4, 7}));
    EXPECT_EQ(current_score, 0);

    // Twelve draws: three kinds, three squares of two draws each, three kinds of the preview.
    const int next = dovra::_lrand();
    EXPECT_EQ(next, nth_draw(1, 12));
}

TEST_F(NewGameTest, ClearsTheOldGame)
{
    fill_board(6);
    board[4][4] = VISITED;
    current_score = 1234;
    dovra::srand(5);
    NewGame();
    EXPECT_EQ(free_cells(), 78);
    EXPECT_EQ(squares_holding(VISITED).size(), 0u);
    EXPECT_EQ(squares_holding(EMPTY).size(), 78u);
    EXPECT_EQ(current_score, 0);
}

TEST_F(NewGameTest, OpeningPiecesAreTheFirstThreeKindsDrawn)
{
    for (unsigned int seed = 0; seed < 300; seed++) {
        reset_game_state();
        std::vector<int> kinds;
        for (int i = 0; i < 3; i++)
            kinds.push_back(nth_draw(seed, i) % 7 + 1);
        std::sort(kinds.begin(), kinds.end());

        dovra::srand(seed);
        NewGame();
        ASSERT_EQ(free_cells(), 78) << "seed " << seed;
        std::vector<int> on_board;
        for (int x = 0; x < BOARD_SIZE; x++)
            for (int y = 0; y < BOARD_SIZE; y++)
                if (board[x][y] != EMPTY)
                    on_board.push_back(board[x][y]);
        std::sort(on_board.begin(), on_board.end());
        EXPECT_EQ(on_board, kinds) << "seed " << seed;
        for (int k : next_batch) {
            EXPECT_GE(k, 1);
            EXPECT_LE(k, PIECE_KINDS);
        }
        EXPECT_EQ(current_score, 0);
    }
}

TEST_F(NewGameTest, LeavesTheRouteAlone)
{
    pptr = 3;
    path[0] = {1, 2};
    dovra::srand(3);
    NewGame();
    EXPECT_EQ(pptr, 3);
    EXPECT_EQ(path[0].x, 1);
    EXPECT_EQ(path[0].y, 2);
}

}  // namespace
