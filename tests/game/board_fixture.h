// board_fixture.h: shared set-up for the game rule tests: a clean game state and boards drawn as pictures.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "board.h"
#include "route.h"

// A picture lists the rows from the top; in each row the columns from the left.
// '.' is an empty square, '1'..'7' a piece kind, '*' a visited mark.
using Picture = std::array<const char *, BOARD_SIZE>;

inline void reset_game_state()
{
    std::memset(board, 0, sizeof board);
    std::memset(next_batch, 0, sizeof next_batch);
    std::memset(path, 0, sizeof path);
    pptr = 0;
    current_score = 0;
}

inline void load_picture(const Picture &rows)
{
    for (int y = 0; y < BOARD_SIZE; y++) {
        for (int x = 0; x < BOARD_SIZE; x++) {
            const char c = rows[y][x];
            board[x][y] = c == '.' ? EMPTY : c == '*' ? VISITED : c - '0';
        }
    }
}

// The board in the same notation, rows joined by '/', so that a failing test shows it readably.
inline std::string board_picture()
{
    std::string s;
    for (int y = 0; y < BOARD_SIZE; y++) {
        if (y > 0)
            s += '/';
        for (int x = 0; x < BOARD_SIZE; x++) {
            const int v = board[x][y];
            s += v == EMPTY ? '.' : v == VISITED ? '*' : (v >= 1 && v <= 9) ? char('0' + v) : '?';
        }
    }
    return s;
}

inline std::string picture_text(const Picture &rows)
{
    std::string s;
    for (int y = 0; y < BOARD_SIZE; y++) {
        if (y > 0)
            s += '/';
        s += rows[y];
    }
    return s;
}

inline void fill_board(int value)
{
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            board[x][y] = value;
}

inline void set_batch(int first, int second, int third)
{
    next_batch[0] = first;
    next_batch[1] = second;
    next_batch[2] = third;
}

inline std::vector<int> batch()
{
    return {next_batch[0], next_batch[1], next_batch[2]};
}

struct BoardCopy {
    int cells[BOARD_SIZE][BOARD_SIZE];
};

inline BoardCopy copy_board()
{
    BoardCopy c;
    std::memcpy(c.cells, board, sizeof board);
    return c;
}

inline bool same_board(const BoardCopy &c)
{
    return std::memcmp(c.cells, board, sizeof board) == 0;
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override { reset_game_state(); }
    void TearDown() override { reset_game_state(); }
};
