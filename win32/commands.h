// commands.h: the menu and button commands and the check marks that mirror the settings.
#pragma once

#include <windows.h>

void on_command(HWND hWnd, int id);
void set_check_marks(HWND hWnd);
extern int new_game_pending;  // New Game's dialogs are open and its new game not yet dealt

// New Game: offers an unfinished game's score for the table, then deals a new game.
void new_game_command(HWND hWnd);
// The rest of a New Game whose dialogs are still open: the new game, score 0, nothing selected.
void deal_pending_new_game(HWND hWnd);
