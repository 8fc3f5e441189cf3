// score_dialogs.cpp: the New High Score and Top Scores dialogs, which only copy the table and the typed name in and out.
#include "score_dialogs.h"

#include "board.h"
#include "resource.h"
#include "scores.h"

namespace {

// The score dialog on the screen, and whether it is the New High Score dialog with its entry still to store.
HWND open_dialog = NULL;
int entry_pending = 0;

void record_score(HWND hDlg)
{
    GetDlgItemTextA(hDlg, IDC_NAME_EDIT, newname, static_cast<int>(sizeof newname));
    enter_high_score();
}

void set_open_dialog(HWND hDlg, int entry)
{
    open_dialog = hDlg;
    entry_pending = entry;
}

// Every way of ending a dialog comes here, so the entry is stored once, however many ways are taken.
void end_dialog(HWND hDlg)
{
    if (entry_pending && hDlg == open_dialog) {
        entry_pending = 0;
        record_score(hDlg);
    }
    EndDialog(hDlg, 1);
}

}  // namespace

void end_score_dialog()
{
    if (open_dialog != NULL)
        end_dialog(open_dialog);
}

INT_PTR CALLBACK HighScoreDialog(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        set_open_dialog(hDlg, 1);
        SetDlgItemInt(hDlg, IDC_YOUR_SCORE, static_cast<UINT>(current_score), TRUE);
        SetDlgItemTextA(hDlg, IDC_NAME_EDIT, newname);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            // Closing goes through WM_CLOSE, the one place where the score is stored.
            PostMessageA(hDlg, WM_CLOSE, 0, 0);
            return FALSE;
        case IDC_NAME_EDIT:
            // One character less than on close: the name as typed so far, at most 58 characters.
            GetDlgItemTextA(hDlg, IDC_NAME_EDIT, newname, static_cast<int>(sizeof newname) - 1);
            return FALSE;
        default:
            // Esc among them: the dialog has no cancel.
            return FALSE;
        }
    case WM_CLOSE:
        // Every way of closing the dialog records the score.
        end_dialog(hDlg);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ShowScoresDialog(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        set_open_dialog(hDlg, 0);
        for (int i = 0; i < SCORE_ROWS; i++) {
            char tline[ROW_TEXT_LEN];
            score_row_text(i, tline);
            SetDlgItemTextA(hDlg, IDC_ROW_NAME + i, tline);
            SetDlgItemInt(hDlg, IDC_ROW_SCORE + i, static_cast<UINT>(scores[i].score), TRUE);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            end_dialog(hDlg);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        end_dialog(hDlg);
        return TRUE;
    default:
        return FALSE;
    }
}

void show_new_high_score(HINSTANCE instance, HWND owner)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_NEWHIGHSCORE), owner, HighScoreDialog, 0);
    // Gone, however its loop ended.
    set_open_dialog(NULL, 0);
}

void show_top_scores(HINSTANCE instance, HWND owner)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_TOPSCORES), owner, ShowScoresDialog, 0);
    set_open_dialog(NULL, 0);
}
