// board.h: the board, the three pieces that drop next, the score and the piece supply.
#pragma once

constexpr int BOARD_SIZE = 9;
constexpr int SQUARES = BOARD_SIZE * BOARD_SIZE;
constexpr int EMPTY = 0;
constexpr int VISITED = -1;
constexpr int PIECE_KINDS = 7;
constexpr int BATCH_SIZE = 3;

// board[x][y]: x the column from the left, y the row from the top.
extern int board[BOARD_SIZE][BOARD_SIZE];
extern int next_batch[BATCH_SIZE];
extern int current_score;

int free_cells();
void get_handfull();
int sprinkle_board();
int drop_next(int n);
void NewGame();
// Adds points to current_score, stopping at the largest int: a score restored from a
// hand-edited file may already stand there.
void add_points(int points);
