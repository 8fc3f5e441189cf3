// lines.cpp: finding the longest run in each direction, clearing runs of five or more and scoring them.
#include "lines.h"

#include "board.h"

namespace {

struct Direction {
    int incx;
    int incy;
};

// Horizontal, vertical, diagonal down-right, anti-diagonal up-right: clearing follows this order.
constexpr Direction DIRECTIONS[4] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};

}  // namespace

int adjacent_matches(int sum, int x, int y, int incx, int incy)
{
    int nx = x + incx;
    int ny = y + incy;
    if (nx < 0 || nx >= BOARD_SIZE || ny < 0 || ny >= BOARD_SIZE)
        return sum;
    if (board[nx][ny] == board[x][y])
        return adjacent_matches(sum + 1, nx, ny, incx, incy);
    return sum;
}

void clear_adjacent_matches(int n, int x, int y, int incx, int incy)
{
    for (int i = 0; i < n; i++) {
        board[x][y] = EMPTY;
        x += incx;
        y += incy;
    }
}

int compute_score(int count)
{
    switch (count) {
    case 5: return 10;
    case 6: return 14;
    case 7: return 18;
    case 8: return 24;
    default: break;
    }
    if (count >= 9)
        return 8 * count - 42;
    return 0;
}

int process_fives()
{
    const int pre = free_cells();
    int best[4] = {0, 0, 0, 0};
    int first_x[4] = {0, 0, 0, 0};
    int first_y[4] = {0, 0, 0, 0};

    for (int x = 0; x < BOARD_SIZE; x++) {
        for (int y = 0; y < BOARD_SIZE; y++) {
            if (board[x][y] == EMPTY)
                continue;
            for (int d = 0; d < 4; d++) {
                int len = adjacent_matches(0, x, y, DIRECTIONS[d].incx, DIRECTIONS[d].incy);
                // Strictly longer only: of equal runs the first one scanned is kept.
                if (len > best[d]) {
                    best[d] = len;
                    first_x[d] = x;
                    first_y[d] = y;
                }
            }
        }
    }

    // All four runs were chosen before any clearing; a shared square is counted once below.
    for (int d = 0; d < 4; d++)
        if (best[d] >= MIN_LINE - 1)
            clear_adjacent_matches(best[d] + 1, first_x[d], first_y[d], DIRECTIONS[d].incx,
                                   DIRECTIONS[d].incy);

    const int cleared = free_cells() - pre;
    add_points(compute_score(cleared));
    return cleared;
}
