// prefs.h: the settings, prefs.txt and the unfinished game saved in it.
#pragma once

extern int cell_size;
extern int display_preview;
extern int sound_enabled;

// The saved game as read from prefs.txt; entry 9 * x + y is board[x][y].
extern int saved_board[81];
extern int saved_current_score;
extern int checksum;
extern int saved_checksum;

constexpr int CHECKSUM_MASK = 0x6C2A;

void LoadPrefs(const char* prefsfile);
void SavePrefs();
int ReadInteger(const char* line, const char* str, int* var);
int ReadString(char* var, const char* line, const char* str, int maxlen);

// Empties the saved-game buffers before LoadPrefs runs.
void clear_saved_game();
// Puts the saved game on the board, with a fresh preview, when it passes its
// checksum and every square holds a value the game knows. Returns 1 when restored.
int restore_saved_game();
