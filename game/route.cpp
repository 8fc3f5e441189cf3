// route.cpp: whether a piece can move, the steered depth-first route search and the smoothing of its detours.
#include "route.h"

#include "board.h"

pth path[PATH_SLOTS];
int pptr;

namespace {

enum Step { LEFT, RIGHT, UP, DOWN };

// Indexed by [xdir < 0][ydir < 0]: the search heads towards the destination first
// and turns away from it last.
constexpr Step ORDER[2][2][4] = {
    {{RIGHT, DOWN, LEFT, UP}, {UP, RIGHT, DOWN, LEFT}},
    {{LEFT, DOWN, RIGHT, UP}, {LEFT, UP, RIGHT, DOWN}},
};

int on_board(int v)
{
    return v >= 0 && v < BOARD_SIZE;
}

}  // namespace

int anymoves(int x, int y)
{
    if (x > 0 && board[x - 1][y] == EMPTY)
        return 1;
    if (x < BOARD_SIZE - 1 && board[x + 1][y] == EMPTY)
        return 1;
    if (y > 0 && board[x][y - 1] == EMPTY)
        return 1;
    if (y < BOARD_SIZE - 1 && board[x][y + 1] == EMPTY)
        return 1;
    return 0;
}

int clear_path(int x0, int y0, int x1, int y1)
{
    if (!on_board(x0) || !on_board(y0) || !on_board(x1) || !on_board(y1))
        return 0;
    if (x0 == x1 && y0 == y1)
        return setpath(x0, y0);

    const Step *order = ORDER[x1 - x0 < 0][y1 - y0 < 0];
    for (int k = 0; k < 4; k++) {
        int nx = x0, ny = y0;
        switch (order[k]) {
        case LEFT:  nx--; break;
        case RIGHT: nx++; break;
        case UP:    ny--; break;
        case DOWN:  ny++; break;
        }
        if (!on_board(nx) || !on_board(ny) || board[nx][ny] != EMPTY)
            continue;
        // The mark stays after a dead end, so no square is entered twice in one search.
        board[nx][ny] = VISITED;
        if (clear_path(nx, ny, x1, y1))
            return setpath(x0, y0);
    }
    return 0;
}

int setpath(int x, int y)
{
    path[pptr].x = x;
    path[pptr].y = y;
    if (pptr < PATH_COUNT_MAX)
        pptr++;
    return 1;
}

void clean_board()
{
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            if (board[x][y] < 0)
                board[x][y] = EMPTY;
}

int adjacent(int a, int b)
{
    const pth &p = path[a];
    const pth &q = path[b];
    if ((p.x + 1 == q.x || p.x - 1 == q.x) && p.y == q.y)
        return 1;
    if (p.x == q.x && (p.y + 1 == q.y || p.y - 1 == q.y))
        return 1;
    return 0;
}

void optimize_path()
{
    // A detour between two neighbouring entries becomes copies of the later one, which the
    // animation passes over; the count stays the same.
    for (int i = 0; i < pptr; i++)
        for (int j = i + 2; j < pptr; j++)
            if (adjacent(i, j))
                for (int k = i + 1; k < j; k++)
                    path[k] = path[j];
}
