// lines.h: finding, clearing and scoring lines of five or more equal pieces.
#pragma once

constexpr int MIN_LINE = 5;

int adjacent_matches(int sum, int x, int y, int incx, int incy);
void clear_adjacent_matches(int n, int x, int y, int incx, int incy);
int compute_score(int count);
int process_fives();
