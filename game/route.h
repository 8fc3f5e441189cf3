// route.h: the route a selected piece travels, found by a steered depth-first search.
#pragma once

struct pth {
    int x;
    int y;
};

constexpr int PATH_SLOTS = 81;
constexpr int PATH_COUNT_MAX = 80;

// path[0] is the destination, path[pptr - 1] the start square.
extern pth path[PATH_SLOTS];
extern int pptr;

int anymoves(int x, int y);
int clear_path(int x0, int y0, int x1, int y1);
int setpath(int x, int y);
void clean_board();
int adjacent(int a, int b);
void optimize_path();
