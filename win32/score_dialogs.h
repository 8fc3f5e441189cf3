// score_dialogs.h: the New High Score and Top Scores dialogs.
#pragma once

#include <windows.h>

INT_PTR CALLBACK HighScoreDialog(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ShowScoresDialog(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// Each runs its dialog modally over owner, from the templates of instance.
void show_new_high_score(HINSTANCE instance, HWND owner);
void show_top_scores(HINSTANCE instance, HWND owner);
// Ends the score dialog that is open, if any, as its OK does: the New High Score dialog stores the entry
// with the name typed so far and writes scores.txt before this returns.
void end_score_dialog();
