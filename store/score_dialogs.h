// score_dialogs.h: the New High Score and Top Scores dialogs.
#pragma once

#include <windows.h>

INT_PTR CALLBACK HighScoreDialog(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ShowScoresDialog(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// Each runs its dialog modally over owner, from the templates of instance.
void show_new_high_score(HINSTANCE instance, HWND owner);
void show_top_scores(HINSTANCE instance, HWND owner);
