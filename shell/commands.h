// commands.h: the menu and button commands and the check marks that mirror the settings.
#pragma once

#include <windows.h>

void on_command(HWND hWnd, int id);
void set_check_marks(HWND hWnd);
// New Game: offers an unfinished game's score for the table, then deals a new game.
void new_game_command(HWND hWnd);
