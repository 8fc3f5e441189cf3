// route_bench.cpp: how long a route search, its smoothing and a line-clearing pass take on typical and worst boards.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "board.h"
#include "lines.h"
#include "route.h"

namespace {

struct Snapshot {
    int cells[BOARD_SIZE][BOARD_SIZE];
};

void restore(const Snapshot &s)
{
    std::memcpy(board, s.cells, sizeof board);
}

Snapshot open_board()
{
    Snapshot s{};
    s.cells[0][0] = 1;
    return s;
}

// Columns 1, 3, 5 and 7 are walls with alternating gaps: the only route from (0,0) to (8,8) snakes through all
// the others.
Snapshot serpentine_board()
{
    Snapshot s{};
    for (int column = 1; column < BOARD_SIZE; column += 2)
        for (int y = 0; y < BOARD_SIZE; y++)
            s.cells[column][y] = 2;
    for (int column = 1; column < BOARD_SIZE; column += 2)
        s.cells[column][column % 4 == 1 ? 8 : 0] = 0;
    s.cells[0][0] = 1;
    return s;
}

std::vector<Snapshot> random_boards(int count, int density, int kinds)
{
    std::mt19937 rng(12345u);
    std::vector<Snapshot> boards(count);
    for (Snapshot &s : boards)
        for (auto &column : s.cells)
            for (int &v : column)
                v = static_cast<int>(rng() % 100) < density ? 1 + static_cast<int>(rng() % kinds) : 0;
    return boards;
}

void run_search(benchmark::State &state, const Snapshot &s, int x1, int y1)
{
    for (auto _ : state) {
        restore(s);
        pptr = 0;
        benchmark::DoNotOptimize(clear_path(0, 0, x1, y1));
        clean_board();
        optimize_path();
        benchmark::DoNotOptimize(path);
    }
}

void BM_RouteOpenBoard(benchmark::State &state)
{
    run_search(state, open_board(), 8, 8);
}
BENCHMARK(BM_RouteOpenBoard);

void BM_RouteSerpentine(benchmark::State &state)
{
    run_search(state, serpentine_board(), 8, 8);
}
BENCHMARK(BM_RouteSerpentine);

void BM_RouteRefusedAfterFlood(benchmark::State &state)
{
    Snapshot s = open_board();
    s.cells[7][8] = 3;
    s.cells[8][7] = 3;
    run_search(state, s, 8, 8);
}
BENCHMARK(BM_RouteRefusedAfterFlood);

void BM_OptimizeLongestList(benchmark::State &state)
{
    for (auto _ : state) {
        pptr = 0;
        for (int i = 0; i < PATH_COUNT_MAX; i++)
            setpath(i / 9, (i / 9) % 2 ? 8 - i % 9 : i % 9);
        optimize_path();
        benchmark::DoNotOptimize(path);
    }
}
BENCHMARK(BM_OptimizeLongestList);

void BM_ProcessFivesRandomBoards(benchmark::State &state)
{
    const std::vector<Snapshot> boards = random_boards(256, static_cast<int>(state.range(0)), 3);
    size_t next = 0;
    for (auto _ : state) {
        restore(boards[next++ % boards.size()]);
        benchmark::DoNotOptimize(process_fives());
    }
}
BENCHMARK(BM_ProcessFivesRandomBoards)->Arg(30)->Arg(70)->Arg(100);

}  // namespace
