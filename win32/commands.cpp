// commands.cpp: the menu and the New Game button: new game, scores, About, board size, preview,
// sound and exit, with the check marks kept in step with the settings.
#include "commands.h"

#include "board.h"
#include "modal_windows.h"
#include "prefs.h"
#include "resource.h"
#include "scores.h"
#include "shell.h"
#include "turn.h"

static const char about_text[] =
    "Dovra\n"
    "Version 1.08\n"
    "Written by the Dovra developers, dovra@example.org\n"
    "Based on the classic lines puzzle genre.\n"
    "\n"
    "Visit the Dovra home page on the web:\n"
    "https://dovra.example.org/\n"
    "\n"
    "The object of this game is to get a high score before running\n"
    "out of empty squares on the playing board.  You get points for\n"
    "arranging identical shapes in straight lines of five pieces or\n"
    "more; vertically, horizontally and/or diagonally.\n"
    "When you do this, the pieces that make up the line(s) will be\n"
    "cleared from the board.\n"
    "To make a move, click on a piece that is not blocked in and\n"
    "then click on an empty destination square.  The piece must be\n"
    "able to follow a clear path to the destination, and can only\n"
    "move horizontally and vertically.\n"
    "\n"
    "Dovra is free: play it and pass it on as you like.\n"
    "If you enjoy the game, please tell us so by e-mail.\n"
    "Reports of faults and other comments are welcome at the address above.";

static void check(HMENU menu, int id, int on)
{
    CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void set_check_marks(HWND hWnd)
{
    HMENU menu = GetMenu(hWnd);
    check(menu, IDM_LITTLEBOARD, cell_size == 16);
    check(menu, IDM_BIGBOARD, cell_size == 32);
    check(menu, IDM_PREVIEW, display_preview != 0);
    check(menu, IDM_SOUND, sound_enabled != 0);
}

// The window and the button follow the settings; the top-left corner stays where it is.
static void fit_window(HWND hWnd)
{
    RECT rect;
    GetWindowRect(hWnd, &rect);
    MoveWindow(hWnd, rect.left, rect.top, window_width(), window_height(), TRUE);
    MoveWindow(hNewGameButton, button_x(), button_y(), BUTTON_WIDTH, BUTTON_HEIGHT, TRUE);
}

int new_game_pending = 0;

void new_game_command(HWND hWnd)
{
    // The old turn ends here, so none of its steps can touch the new game and no game-over
    // dialog can open behind the New High Score dialog.
    end_turn();
    // From here the old game is done with: a session that ends under the dialogs saves the new deal.
    new_game_pending = 1;
    if (score_recorded == 0 && CheckHighScores()) {
        modal_new_high_score(hWnd);
        modal_top_scores(hWnd);
    }
    deal_pending_new_game(hWnd);
}

void deal_pending_new_game(HWND hWnd)
{
    if (!new_game_pending)
        return;
    new_game_pending = 0;
    NewGame();
    score_recorded = 0;
    hilite_x = NO_SELECTION;
    hilite_y = NO_SELECTION;
    InvalidateRect(hWnd, NULL, TRUE);
}

static void board_size_command(HWND hWnd, int size)
{
    if (cell_size != size) {
        cell_size = size;
        SavePrefs();
    }
    HMENU menu = GetMenu(hWnd);
    check(menu, IDM_BIGBOARD, size == 32);
    check(menu, IDM_LITTLEBOARD, size == 16);
    fit_window(hWnd);
}

static void preview_command(HWND hWnd)
{
    display_preview = display_preview ? 0 : 1;
    check(GetMenu(hWnd), IDM_PREVIEW, display_preview);
    SavePrefs();
    fit_window(hWnd);
}

static void sound_command(HWND hWnd)
{
    sound_enabled = sound_enabled ? 0 : 1;
    check(GetMenu(hWnd), IDM_SOUND, sound_enabled);
    SavePrefs();
}

void on_command(HWND hWnd, int id)
{
    switch (id) {
    case IDM_EXIT:
        PostMessageA(hWnd, WM_CLOSE, 0, 0);
        break;
    case IDM_NEWGAME:
    case IDC_NEWGAME:
        new_game_command(hWnd);
        break;
    case IDM_SHOWSCORES:
        modal_top_scores(hWnd);
        break;
    case IDM_ABOUT:
        modal_message(hWnd, about_text, "About Dovra");
        break;
    case IDM_BIGBOARD:
        board_size_command(hWnd, 32);
        break;
    case IDM_LITTLEBOARD:
        board_size_command(hWnd, 16);
        break;
    case IDM_PREVIEW:
        preview_command(hWnd);
        break;
    case IDM_SOUND:
        sound_command(hWnd);
        break;
    default:
        modal_message(hWnd, "Undefined Menu Command!", "Alert!");
        break;
    }
}
