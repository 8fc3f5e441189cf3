// turn.h: clicks on the board and the timer-driven turn that moves a piece and drops new ones.
#pragma once

enum astate { MOVE = 0, PAUSE = 1, DROP1 = 2, DROP2 = 3, DROP3 = 4 };

extern astate animate_state;
extern int move_complete;
extern int animation_x;
extern int animation_y;
extern int hilite_x;
extern int hilite_y;
extern int pending_click;
extern unsigned short PendingxPos;
extern unsigned short PendingyPos;
extern int bonus_pending;  // the "Wow!" box is open and its bonus not yet on the board

constexpr int NO_SELECTION = 9;
constexpr int TURN_TICK_MS = 100;

// A click at client pixel (xPos, yPos).
void on_click(unsigned xPos, unsigned yPos);
// One tick of the turn timer.
void on_tick();
void handle_animation();
// Opens the "Wow!" box when the board is empty and returns 1: the turn then ends once the box has closed,
// with its bonus. Returns 0 otherwise.
int CheckClearBoard();
// What the "Wow!" box's OK brings, when it is still owed: three pieces, a new preview, 500 points.
void pay_pending_bonus();
// Ends a running turn at once: idle, no route, no pending click, normal cursor.
void end_turn();
