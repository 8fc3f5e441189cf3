// session.h: the heart's part of the program's start and end.
#pragma once

// Before the main window exists: the settings, the sound names and the saved game from prefs.txt, then the
// sounds.
void load_settings();
// While the main window is created: the high-score table, the random seed, a new game or the saved one.
void start_game();
// What the open modal windows' OK would still do besides storing a name (the bonus paid, New Game's deal),
// then the game saved as closing saves it.
void keep_what_is_owed();
// The session ends while the program runs: what the open modal windows' OK would still do is done (a name
// being entered stored, the bonus paid, New Game's deal), then the game is saved as closing saves it.
void session_ends();
