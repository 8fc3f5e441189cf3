// commands.h: the menu and button commands and the check marks that mirror the settings.
#pragma once

extern int new_game_pending;  // New Game's dialogs are open and its new game not yet dealt

// A command of the menu or the New Game button, by its IDM_ or IDC_ number of resource.h.
void command(int id);
// Every check mark of the Edit menu as the settings are.
void set_check_marks();
// New Game: offers an unfinished game's score for the table, then deals a new game.
void new_game_command();
// The rest of a New Game whose dialogs are still open: the new game, score 0, nothing selected.
void deal_pending_new_game();
