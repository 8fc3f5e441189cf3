// route_test.cpp: blocked-in pieces, the steered route search, the path capacity and the smoothing of routes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "board.h"
#include "game/board_fixture.h"
#include "route.h"

namespace {

using Square = std::pair<int, int>;
using Route = std::vector<Square>;

// Slot i of the route list, counted or not.
Square entry(int i)
{
    return {path[i].x, path[i].y};
}

Route path_entries()
{
    Route r;
    for (int i = 0; i < pptr; i++)
        r.emplace_back(path[i].x, path[i].y);
    return r;
}

// The squares the piece visits, from the end of the list, passing over entries equal to where it is.
Route walk_from_end()
{
    Route w;
    if (pptr == 0)
        return w;
    w.push_back({path[pptr - 1].x, path[pptr - 1].y});
    for (int i = pptr - 2; i >= 0; i--) {
        const Square s{path[i].x, path[i].y};
        if (s != w.back())
            w.push_back(s);
    }
    return w;
}

bool neighbours(const Square &a, const Square &b)
{
    return std::abs(a.first - b.first) + std::abs(a.second - b.second) == 1;
}

Route reversed(Route r)
{
    return Route(r.rbegin(), r.rend());
}

// ---------------------------------------------------------------------------------------------
// anymoves

using AnyMoves = GameTest;

TEST_F(AnyMoves, CornerBlockedByTwoPieces)
{
    load_picture({
        "12.......",
        "3........",
        ".........",
        ".........",
        ".........",
        ".........",
        ".........",
        ".........",
        ".........",
    });
    EXPECT_EQ(anymoves(0, 0), 0);
    board[1][0] = EMPTY;
    EXPECT_EQ(anymoves(0, 0), 1);
    board[1][0] = 2;
    board[0][1] = EMPTY;
    EXPECT_EQ(anymoves(0, 0), 1);
}

TEST_F(AnyMoves, DiagonalSpaceDoesNotHelp)
{
    // (1,1) is empty, yet the piece at (0,0) cannot move.
    load_picture({
        "11.......", "1........", ".........", ".........", ".........",
        ".........", ".........", ".........", ".........",
    });
    EXPECT_EQ(anymoves(0, 0), 0);
}

TEST_F(AnyMoves, OnlyAnEmptyNeighbourCounts)
{
    // Each row of the table opens one neighbour of (4,4) with the given value.
    struct Case {
        int nx, ny;
        int value;
        int expected;
    };
    const Case cases[] = {
        {3, 4, EMPTY, 1}, {5, 4, EMPTY, 1}, {4, 3, EMPTY, 1}, {4, 5, EMPTY, 1},
        {3, 4, VISITED, 0}, {5, 4, VISITED, 0}, {4, 3, VISITED, 0}, {4, 5, VISITED, 0},
        {3, 3, EMPTY, 0}, {5, 5, EMPTY, 0}, {3, 5, EMPTY, 0}, {5, 3, EMPTY, 0},
        {4, 6, EMPTY, 0}, {2, 4, EMPTY, 0},
    };
    for (const Case &c : cases) {
        fill_board(1);
        board[c.nx][c.ny] = c.value;
        EXPECT_EQ(anymoves(4, 4), c.expected) << "open " << c.nx << "," << c.ny << " = " << c.value;
    }
}

TEST_F(AnyMoves, EverySquareSeesEachOfItsNeighbours)
{
    const int dx[] = {-1, 1, 0, 0};
    const int dy[] = {0, 0, -1, 1};
    for (int x = 0; x < BOARD_SIZE; x++) {
        for (int y = 0; y < BOARD_SIZE; y++) {
            for (int k = 0; k < 4; k++) {
                const int nx = x + dx[k], ny = y + dy[k];
                if (nx < 0 || nx >= BOARD_SIZE || ny < 0 || ny >= BOARD_SIZE)
                    continue;
                fill_board(4);
                board[nx][ny] = EMPTY;
                EXPECT_EQ(anymoves(x, y), 1) << x << "," << y << " open " << nx << "," << ny;
                board[nx][ny] = VISITED;
                EXPECT_EQ(anymoves(x, y), 0) << x << "," << y << " marked " << nx << "," << ny;
            }
        }
    }
}

TEST_F(AnyMoves, EdgesDoNotWrapAround)
{
    // Only the square across the board is empty: it is no neighbour.
    struct Case {
        int x, y;
        int ox, oy;
    };
    const Case cases[] = {
        {0, 4, 8, 4}, {8, 4, 0, 4}, {4, 0, 4, 8}, {4, 8, 4, 0},
        {0, 0, 8, 8}, {8, 8, 0, 0}, {0, 5, 8, 4}, {8, 3, 0, 4},
    };
    for (const Case &c : cases) {
        fill_board(2);
        board[c.ox][c.oy] = EMPTY;
        EXPECT_EQ(anymoves(c.x, c.y), 0) << c.x << "," << c.y;
    }
}

TEST_F(AnyMoves, ReadsOnly)
{
    board[4][4] = 3;
    const BoardCopy before = copy_board();
    EXPECT_EQ(anymoves(4, 4), 1);
    EXPECT_TRUE(same_board(before));
}

// ---------------------------------------------------------------------------------------------
// setpath, adjacent, clean_board

using SetPath = GameTest;

TEST_F(SetPath, AppendsAndCounts)
{
    EXPECT_EQ(setpath(3, 4), 1);
    EXPECT_EQ(setpath(5, 6), 1);
    EXPECT_EQ(path_entries(), (Route{{3, 4}, {5, 6}}));
}

TEST_F(SetPath, CountStopsAtEightyAndTheLastSlotIsReused)
{
    pptr = 79;
    EXPECT_EQ(setpath(1, 1), 1);
    EXPECT_EQ(pptr, 80);
    EXPECT_EQ(path[79].x, 1);
    EXPECT_EQ(setpath(2, 2), 1);
    EXPECT_EQ(pptr, 80);
    EXPECT_EQ(entry(80), Square(2, 2));
    EXPECT_EQ(setpath(3, 4), 1);
    EXPECT_EQ(pptr, 80);
    EXPECT_EQ(entry(80), Square(3, 4));
    EXPECT_EQ(entry(79), Square(1, 1));
}

TEST_F(SetPath, EightyOneAppendsFillEverySlot)
{
    for (int i = 0; i < PATH_SLOTS; i++)
        setpath(i / 9, i % 9);
    EXPECT_EQ(pptr, PATH_COUNT_MAX);
    for (int i = 0; i < PATH_SLOTS; i++)
        EXPECT_EQ(entry(i), Square(i / 9, i % 9));
}

using Adjacent = GameTest;

TEST_F(Adjacent, OnlyHorizontalAndVerticalNeighbours)
{
    struct Case {
        Square a, b;
        int expected;
    };
    const Case cases[] = {
        {{4, 4}, {5, 4}, 1}, {{4, 4}, {3, 4}, 1}, {{4, 4}, {4, 5}, 1}, {{4, 4}, {4, 3}, 1},
        {{4, 4}, {4, 4}, 0}, {{4, 4}, {5, 5}, 0}, {{4, 4}, {3, 3}, 0}, {{4, 4}, {5, 3}, 0},
        {{4, 4}, {6, 4}, 0}, {{4, 4}, {4, 2}, 0}, {{0, 0}, {8, 0}, 0}, {{0, 3}, {1, 4}, 0},
        {{0, 0}, {0, 1}, 1}, {{8, 8}, {7, 8}, 1},
    };
    for (const Case &c : cases) {
        path[10] = {c.a.first, c.a.second};
        path[20] = {c.b.first, c.b.second};
        EXPECT_EQ(adjacent(10, 20), c.expected)
            << c.a.first << "," << c.a.second << " / " << c.b.first << "," << c.b.second;
        EXPECT_EQ(adjacent(20, 10), c.expected);
    }
}

using CleanBoard = GameTest;

TEST_F(CleanBoard, ClearsMarksAndKeepsEverythingElse)
{
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            board[x][y] = (BOARD_SIZE * x + y) % 9 - 1;  // -1..7
    board[0][0] = -5;
    clean_board();
    for (int x = 0; x < BOARD_SIZE; x++) {
        for (int y = 0; y < BOARD_SIZE; y++) {
            const int was = (x == 0 && y == 0) ? -5 : (BOARD_SIZE * x + y) % 9 - 1;
            EXPECT_EQ(board[x][y], was < 0 ? 0 : was) << x << "," << y;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// clear_path: fixed examples

using ClearPath = GameTest;

TEST_F(ClearPath, ZigzagDownTheLeftColumnAndItsSmoothing)
{
    board[0][0] = 1;
    ASSERT_EQ(clear_path(0, 0, 0, 8), 1);
    const Route walked = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 2}, {1, 2}, {1, 3}, {0, 3}, {0, 4},
                          {1, 4}, {1, 5}, {0, 5}, {0, 6}, {1, 6}, {1, 7}, {0, 7}, {0, 8}};
    EXPECT_EQ(pptr, 17);
    EXPECT_EQ(path_entries(), reversed(walked));

    clean_board();
    optimize_path();
    EXPECT_EQ(pptr, 17);
    Route smoothed = {{0, 8}, {0, 7}, {0, 6}, {0, 5}, {0, 4}, {0, 3}, {0, 2}, {0, 1}};
    for (int i = 8; i < 17; i++)
        smoothed.push_back({0, 0});
    EXPECT_EQ(path_entries(), smoothed);
}

TEST_F(ClearPath, CornerToCornerAlongTheTopRowAndDownTheRightColumn)
{
    board[0][0] = 1;
    ASSERT_EQ(clear_path(0, 0, 8, 8), 1);
    Route walked;
    for (int x = 0; x <= 8; x++)
        walked.push_back({x, 0});
    for (int y = 1; y <= 8; y++)
        walked.push_back({8, y});
    EXPECT_EQ(pptr, 17);
    EXPECT_EQ(path_entries(), reversed(walked));
    clean_board();
    optimize_path();
    EXPECT_EQ(path_entries(), reversed(walked));
}

TEST_F(ClearPath, RoundAPieceTheRouteIsNotShortest)
{
    board[1][2] = 5;
    board[4][3] = 6;
    ASSERT_EQ(clear_path(1, 2, 4, 7), 1);
    const Route found = {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {5, 3}, {5, 4},
                         {4, 4}, {4, 5}, {5, 5}, {5, 6}, {4, 6}, {4, 7}};
    EXPECT_EQ(pptr, 13);
    EXPECT_EQ(path_entries(), reversed(found));

    clean_board();
    optimize_path();
    EXPECT_EQ(pptr, 13);
    const Route walk = {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {5, 3},
                        {5, 4}, {4, 4}, {4, 5}, {4, 6}, {4, 7}};
    EXPECT_EQ(walk_from_end(), walk);
    EXPECT_EQ(walk.size() - 1, 10u);
}

TEST_F(ClearPath, SerpentineCorridorIsFollowedToTheEnd)
{
    load_picture({
        "12...2...",
        ".2.2.2.2.",
        ".2.2.2.2.",
        ".2.2.2.2.",
        ".2.2.2.2.",
        ".2.2.2.2.",
        ".2.2.2.2.",
        ".2.2.2.2.",
        "...2...2.",
    });
    ASSERT_EQ(clear_path(0, 0, 8, 8), 1);
    Route walked;
    for (int column = 0; column < BOARD_SIZE; column += 2) {
        const bool down = column % 4 == 0;
        for (int i = 0; i < BOARD_SIZE; i++)
            walked.push_back({column, down ? i : 8 - i});
        if (column < 8)
            walked.push_back({column + 1, down ? 8 : 0});
    }
    EXPECT_EQ(pptr, 49);
    EXPECT_EQ(path_entries(), reversed(walked));
    // Every empty square lies on the corridor, so every one now holds a mark.
    for (auto &column : board)
        for (int v : column)
            EXPECT_NE(v, EMPTY);
    clean_board();
    optimize_path();
    EXPECT_EQ(path_entries(), reversed(walked));
}

TEST_F(ClearPath, DirectlyBelowIsReachedByADetour)
{
    for (int x = 0; x < 8; x++) {
        for (int y = 0; y < 8; y++) {
            SCOPED_TRACE(testing::Message() << "from " << x << "," << y);
            reset_game_state();
            board[x][y] = 3;
            ASSERT_EQ(clear_path(x, y, x, y + 1), 1);
            EXPECT_EQ(path_entries(), (Route{{x, y + 1}, {x + 1, y + 1}, {x + 1, y}, {x, y}}));
            clean_board();
            optimize_path();
            EXPECT_EQ(path_entries(), (Route{{x, y + 1}, {x, y}, {x, y}, {x, y}}));
            EXPECT_EQ(walk_from_end(), (Route{{x, y}, {x, y + 1}}));
        }
    }
}

TEST_F(ClearPath, DirectlyBelowOnTheRightEdgeGoesLeftAround)
{
    // Right is off the board, down leads straight there.
    board[8][3] = 3;
    ASSERT_EQ(clear_path(8, 3, 8, 4), 1);
    EXPECT_EQ(path_entries(), (Route{{8, 4}, {8, 3}}));
}

TEST_F(ClearPath, NeighbourTriedFirstIsTakenAtOnce)
{
    struct Case {
        int x1, y1;
    };
    // From (4,4): right for (5,4), left for (3,4), up for (4,3).
    for (const Case &c : {Case{5, 4}, Case{3, 4}, Case{4, 3}}) {
        reset_game_state();
        board[4][4] = 2;
        ASSERT_EQ(clear_path(4, 4, c.x1, c.y1), 1);
        EXPECT_EQ(path_entries(), (Route{{c.x1, c.y1}, {4, 4}}));
        EXPECT_EQ(board[c.x1][c.y1], VISITED);
        EXPECT_EQ(free_cells(), 80);
        int marks = 0;
        for (auto &column : board)
            for (int v : column)
                marks += v == VISITED;
        EXPECT_EQ(marks, 1);
    }
}

TEST_F(ClearPath, FirstStepFollowsTheSteeringTable)
{
    enum { L, R, U, D };
    const int dx[] = {-1, 1, 0, 0};
    const int dy[] = {0, 0, -1, 1};
    struct Case {
        int x1, y1;
        int order[4];
    };
    const Case cases[] = {
        {2, 2, {L, U, R, D}},  // left and up
        {2, 6, {L, D, R, U}},  // left and down
        {2, 4, {L, D, R, U}},  // left, same row
        {6, 2, {U, R, D, L}},  // right and up
        {4, 2, {U, R, D, L}},  // same column, up
        {6, 6, {R, D, L, U}},  // right and down
        {6, 4, {R, D, L, U}},  // right, same row
        {4, 6, {R, D, L, U}},  // same column, down
    };
    for (const Case &c : cases) {
        for (int blocked = 0; blocked < 4; blocked++) {
            SCOPED_TRACE(testing::Message() << "to " << c.x1 << "," << c.y1 << " with " << blocked << " blocked");
            reset_game_state();
            board[4][4] = 1;
            for (int k = 0; k < blocked; k++)
                board[4 + dx[c.order[k]]][4 + dy[c.order[k]]] = 2;
            ASSERT_EQ(clear_path(4, 4, c.x1, c.y1), 1);
            ASSERT_GE(pptr, 2);
            const int step = c.order[blocked];
            EXPECT_EQ(entry(pptr - 2), Square(4 + dx[step], 4 + dy[step]));
            EXPECT_EQ(entry(0), Square(c.x1, c.y1));
        }
    }
}

TEST_F(ClearPath, StartEqualsDestination)
{
    board[3][5] = 4;
    ASSERT_EQ(clear_path(3, 5, 3, 5), 1);
    EXPECT_EQ(path_entries(), (Route{{3, 5}}));
    EXPECT_EQ(board[3][5], 4);
}

TEST_F(ClearPath, RouteIsAppendedAfterExistingEntries)
{
    board[0][0] = 1;
    setpath(7, 7);
    ASSERT_EQ(clear_path(0, 0, 1, 0), 1);
    EXPECT_EQ(path_entries(), (Route{{7, 7}, {1, 0}, {0, 0}}));
}

TEST_F(ClearPath, CoordinatesOffTheBoardAreRefusedUntouched)
{
    struct Case {
        int x0, y0, x1, y1;
    };
    const Case cases[] = {
        {9, 9, 0, 0}, {9, 9, 4, 4}, {-1, 0, 4, 4}, {0, -1, 4, 4}, {0, 0, 9, 0},
        {0, 0, 0, 9}, {0, 0, -1, 3}, {4, 4, 4, -1}, {9, 0, 8, 0}, {1000, 3, 2, 2},
    };
    for (const Case &c : cases) {
        reset_game_state();
        load_picture({
            "1........", ".2.......", "..*......", ".........", "....3....",
            ".........", ".........", ".........", "........7",
        });
        path[0] = {6, 6};
        pptr = 1;
        const BoardCopy before = copy_board();
        EXPECT_EQ(clear_path(c.x0, c.y0, c.x1, c.y1), 0) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
        EXPECT_TRUE(same_board(before));
        EXPECT_EQ(path_entries(), (Route{{6, 6}}));
        EXPECT_EQ(path[1].x, 0);
    }
}

TEST_F(ClearPath, UnreachableDestinationIsRefusedAfterMarkingTheReachableSquares)
{
    struct Case {
        const char *what;
        Picture before;
        Square dest;
        Picture marked;
    };
    const Case cases[] = {
        {"occupied",
         {"1........", ".........", ".........", "...222...", "...2.2...", "...222...", ".........", ".........", "........6"},
         {8, 8},
         {"1********", "*********", "*********", "***222***", "***2.2***", "***222***", "*********", "*********", "********6"}},
        {"inside a ring",
         {"1........", ".........", ".........", "...222...", "...2.2...", "...222...", ".........", ".......33", ".......3."},
         {4, 4},
         {"1********", "*********", "*********", "***222***", "***2.2***", "***222***", "*********", "*******33", "*******3."}},
        {"in a walled corner",
         {"1........", ".........", ".........", "...222...", "...2.2...", "...222...", ".........", ".......33", ".......3."},
         {8, 8},
         {"1********", "*********", "*********", "***222***", "***2.2***", "***222***", "*********", "*******33", "*******3."}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        reset_game_state();
        load_picture(c.before);
        EXPECT_EQ(clear_path(0, 0, c.dest.first, c.dest.second), 0);
        EXPECT_EQ(pptr, 0);
        EXPECT_EQ(board_picture(), picture_text(c.marked));
        clean_board();
        EXPECT_EQ(board_picture(), picture_text(c.before));
    }
}

TEST_F(ClearPath, LeftoverMarksAreNotEntered)
{
    // Only squares holding exactly 0 are entered, so a column of marks is a wall.
    for (int y = 0; y < BOARD_SIZE; y++)
        board[4][y] = VISITED;
    board[0][0] = 1;
    const BoardCopy before = copy_board();
    EXPECT_EQ(clear_path(0, 0, 8, 0), 0);
    EXPECT_EQ(pptr, 0);
    for (int y = 0; y < BOARD_SIZE; y++)
        EXPECT_EQ(board[4][y], VISITED);
    for (int x = 5; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            EXPECT_EQ(board[x][y], before.cells[x][y]) << x << "," << y;
}

TEST_F(ClearPath, WalledInStartMarksNothing)
{
    load_picture({
        "12.......", "3........", ".........", ".........", ".........",
        ".........", ".........", ".........", ".........",
    });
    const BoardCopy before = copy_board();
    EXPECT_EQ(clear_path(0, 0, 5, 5), 0);
    EXPECT_TRUE(same_board(before));
    EXPECT_EQ(pptr, 0);
}

TEST_F(ClearPath, SuccessLeavesMarksOnDeadEndsToo)
{
    // The piece at (1,5) turns the search into column 0, which leads up into a dead end first.
    load_picture({
        "1.2......",
        "..2......",
        "..2......",
        "..2......",
        "..2......",
        ".12......",
        "..2......",
        "..2......",
        ".........",
    });
    ASSERT_EQ(clear_path(0, 0, 4, 0), 1);
    const Route found = {{0, 0}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {0, 4}, {0, 5},
                         {0, 6}, {1, 6}, {1, 7}, {1, 8}, {2, 8}, {3, 8}, {3, 7}, {3, 6},
                         {3, 5}, {3, 4}, {3, 3}, {3, 2}, {3, 1}, {3, 0}, {4, 0}};
    EXPECT_EQ(path_entries(), reversed(found));
    EXPECT_EQ(board_picture(), picture_text({
                                   "1*2**....",
                                   "**2*.....",
                                   "**2*.....",
                                   "**2*.....",
                                   "**2*.....",
                                   "*12*.....",
                                   "**2*.....",
                                   ".*2*.....",
                                   ".***.....",
                               }));
}

// ---------------------------------------------------------------------------------------------
// optimize_path

using OptimizePath = GameTest;

TEST_F(OptimizePath, ShortListsAreLeftAlone)
{
    for (int n : {0, 1, 2}) {
        reset_game_state();
        for (int i = 0; i < PATH_SLOTS; i++)
            path[i] = {i % 3, (i / 3) % 2};  // many neighbouring pairs beyond the count
        pptr = n;
        optimize_path();
        EXPECT_EQ(pptr, n);
        for (int i = 0; i < PATH_SLOTS; i++)
            EXPECT_EQ(entry(i), Square(i % 3, (i / 3) % 2)) << "pptr " << n << " slot " << i;
    }
}

TEST_F(OptimizePath, TheFarthestNeighbourDecides)
{
    // path[0] neighbours both path[2] and path[4]: everything between becomes path[4].
    const pth list[] = {{0, 0}, {5, 5}, {1, 0}, {7, 7}, {0, 1}, {6, 1}};
    for (const pth &p : list)
        setpath(p.x, p.y);
    optimize_path();
    EXPECT_EQ(pptr, 6);
    EXPECT_EQ(path_entries(), (Route{{0, 0}, {0, 1}, {0, 1}, {0, 1}, {0, 1}, {6, 1}}));
}

TEST_F(OptimizePath, StraightRouteIsUnchanged)
{
    for (int y = 8; y >= 0; y--)
        setpath(3, y);
    const Route before = path_entries();
    optimize_path();
    EXPECT_EQ(path_entries(), before);
}

TEST_F(OptimizePath, DoesNotLookPastTheCount)
{
    setpath(0, 0);
    setpath(4, 4);
    setpath(5, 5);
    path[3] = {1, 0};  // a neighbour of path[0], but not on the list
    optimize_path();
    EXPECT_EQ(path_entries(), (Route{{0, 0}, {4, 4}, {5, 5}}));
}

// ---------------------------------------------------------------------------------------------
// clear_path on random boards, against a breadth-first reference

struct Reach {
    bool reachable[BOARD_SIZE][BOARD_SIZE];  // empty squares connected to the start
};

Reach flood_from(const BoardCopy &b, int x0, int y0)
{
    Reach r{};
    std::vector<Square> queue = {{x0, y0}};
    for (size_t head = 0; head < queue.size(); head++) {
        const auto [x, y] = queue[head];
        const int dx[] = {1, -1, 0, 0};
        const int dy[] = {0, 0, 1, -1};
        for (int k = 0; k < 4; k++) {
            const int nx = x + dx[k], ny = y + dy[k];
            if (nx < 0 || nx > 8 || ny < 0 || ny > 8)
                continue;
            if (b.cells[nx][ny] != EMPTY || r.reachable[nx][ny])
                continue;
            r.reachable[nx][ny] = true;
            queue.push_back({nx, ny});
        }
    }
    return r;
}

TEST_F(ClearPath, AgreesWithBreadthFirstSearchOnRandomBoards)
{
    std::mt19937 rng(20240611u);
    int accepted = 0, refused = 0, longest = 0;
    for (int trial = 0; trial < 6000; trial++) {
        reset_game_state();
        const int density = static_cast<int>(rng() % 70);  // percent of squares holding pieces
        for (int x = 0; x < BOARD_SIZE; x++)
            for (int y = 0; y < BOARD_SIZE; y++)
                board[x][y] = static_cast<int>(rng() % 100) < density ? static_cast<int>(rng() % 7) + 1 : EMPTY;
        const int x0 = static_cast<int>(rng() % 9), y0 = static_cast<int>(rng() % 9);
        board[x0][y0] = static_cast<int>(rng() % 7) + 1;
        int x1 = static_cast<int>(rng() % 9), y1 = static_cast<int>(rng() % 9);
        if (trial % 4 != 0) {
            // Mostly aim at an empty square, as the click handler does.
            for (int tries = 0; tries < 20 && board[x1][y1] != EMPTY; tries++) {
                x1 = static_cast<int>(rng() % 9);
                y1 = static_cast<int>(rng() % 9);
            }
        }
        const BoardCopy before = copy_board();
        const Reach reach = flood_from(before, x0, y0);
        const bool expected = (x0 == x1 && y0 == y1) || reach.reachable[x1][y1];

        SCOPED_TRACE(testing::Message() << "trial " << trial << " " << x0 << "," << y0 << " -> " << x1 << ","
                                        << y1);
        const int r = clear_path(x0, y0, x1, y1);
        ASSERT_EQ(r, expected ? 1 : 0);

        // Marks appear only on empty squares connected to the start, and on all of them after a refusal.
        for (int x = 0; x < BOARD_SIZE; x++) {
            for (int y = 0; y < BOARD_SIZE; y++) {
                if (board[x][y] == VISITED) {
                    ASSERT_TRUE(reach.reachable[x][y]) << x << "," << y;
                } else {
                    ASSERT_EQ(board[x][y], before.cells[x][y]) << x << "," << y;
                }
                if (!r && reach.reachable[x][y]) {
                    ASSERT_EQ(board[x][y], VISITED) << x << "," << y;
                }
            }
        }

        if (!r) {
            ASSERT_EQ(pptr, 0);
            refused++;
            continue;
        }
        accepted++;
        longest = std::max(longest, pptr);

        // The raw list: destination first, start last, single steps, no square twice.
        const Route raw = path_entries();
        ASSERT_EQ(raw.front(), Square(x1, y1));
        ASSERT_EQ(raw.back(), Square(x0, y0));
        bool seen[BOARD_SIZE][BOARD_SIZE] = {};
        for (size_t i = 0; i < raw.size(); i++) {
            if (i + 1 < raw.size()) {
                ASSERT_TRUE(neighbours(raw[i], raw[i + 1])) << i;
                ASSERT_EQ(board[raw[i].first][raw[i].second], VISITED) << i;
            }
            ASSERT_FALSE(seen[raw[i].first][raw[i].second]) << i;
            seen[raw[i].first][raw[i].second] = true;
        }

        clean_board();
        ASSERT_TRUE(same_board(before));
        optimize_path();
        ASSERT_EQ(pptr, static_cast<int>(raw.size()));
        ASSERT_EQ(entry(0), Square(x1, y1));

        // What the animation walks: single steps through squares that were empty, start to destination.
        const Route walk = walk_from_end();
        ASSERT_EQ(walk.front(), Square(x0, y0));
        ASSERT_EQ(walk.back(), Square(x1, y1));
        ASSERT_LE(walk.size(), raw.size());
        for (size_t i = 1; i < walk.size(); i++) {
            ASSERT_TRUE(neighbours(walk[i - 1], walk[i])) << i;
            ASSERT_EQ(before.cells[walk[i].first][walk[i].second], EMPTY) << i;
        }
    }
    // The random boards must exercise both outcomes and some long routes.
    EXPECT_GT(accepted, 1000);
    EXPECT_GT(refused, 1000);
    EXPECT_GT(longest, 30);
}

}  // namespace
