// board.cpp: the board, the preview of the next three pieces, the score and dealing pieces onto the board.
#include "board.h"

#include <climits>

#include "random.h"

int board[BOARD_SIZE][BOARD_SIZE];
int next_batch[BATCH_SIZE];
int current_score;

namespace {

// Callers make sure a free square exists; the column is always drawn before the row.
void random_free_square(int *x, int *y)
{
    for (;;) {
        int cx = dovra::_lrand() % BOARD_SIZE;
        int cy = dovra::_lrand() % BOARD_SIZE;
        if (board[cx][cy] < 1) {
            *x = cx;
            *y = cy;
            return;
        }
    }
}

}  // namespace

int free_cells()
{
    int n = 0;
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            if (board[x][y] < 1)
                n++;
    return n;
}

void get_handfull()
{
    for (int i = 0; i < BATCH_SIZE; i++)
        next_batch[i] = dovra::_lrand() % PIECE_KINDS + 1;
}

int sprinkle_board()
{
    for (int i = 0; i < BATCH_SIZE; i++) {
        if (free_cells() == 0)
            continue;
        int x, y;
        random_free_square(&x, &y);
        board[x][y] = next_batch[i];
    }
    return 0;
}

int drop_next(int n)
{
    if (free_cells() == 0)
        return 0;
    int x, y;
    random_free_square(&x, &y);
    board[x][y] = next_batch[n];
    return 1;
}

void NewGame()
{
    current_score = 0;
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            board[x][y] = EMPTY;
    get_handfull();
    sprinkle_board();
    get_handfull();
    current_score = 0;
}

void add_points(int points)
{
    if (points > 0 && current_score > INT_MAX - points)
        current_score = INT_MAX;
    else
        current_score += points;
}
