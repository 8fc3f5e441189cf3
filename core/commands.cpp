// commands.cpp: the menu and the New Game button: new game, scores, About, board size, preview,
// sound and exit, with the check marks kept in step with the settings.
#include "commands.h"

#include "board.h"
#include "modal.h"
#include "platform.h"
#include "prefs.h"
#include "resource.h"
#include "scores.h"
#include "turn.h"

int new_game_pending = 0;

namespace {

const char about_text[] =
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

void new_game_scores_shown()
{
    deal_pending_new_game();
}

void new_game_entry_stored()
{
    open_top_scores(new_game_scores_shown);
}

void board_size_command(int size)
{
    if (cell_size != size) {
        cell_size = size;
        SavePrefs();
    }
    platform_check(IDM_BIGBOARD, size == 32);
    platform_check(IDM_LITTLEBOARD, size == 16);
    platform_fit_window();
}

void preview_command()
{
    display_preview = display_preview ? 0 : 1;
    platform_check(IDM_PREVIEW, display_preview);
    SavePrefs();
    platform_fit_window();
}

void sound_command()
{
    sound_enabled = sound_enabled ? 0 : 1;
    platform_check(IDM_SOUND, sound_enabled);
    SavePrefs();
}

}  // namespace

void set_check_marks()
{
    platform_check(IDM_LITTLEBOARD, cell_size == 16);
    platform_check(IDM_BIGBOARD, cell_size == 32);
    platform_check(IDM_PREVIEW, display_preview != 0);
    platform_check(IDM_SOUND, sound_enabled != 0);
}

void new_game_command()
{
    // The old turn ends here, so none of its steps can touch the new game and no game-over
    // dialog can open behind the New High Score dialog.
    end_turn();
    // From here the old game is done with: a session that ends under the dialogs saves the new deal.
    new_game_pending = 1;
    if (score_recorded == 0 && CheckHighScores())
        open_new_high_score(new_game_entry_stored);
    else
        deal_pending_new_game();
}

void deal_pending_new_game()
{
    if (!new_game_pending)
        return;
    new_game_pending = 0;
    NewGame();
    score_recorded = 0;
    hilite_x = NO_SELECTION;
    hilite_y = NO_SELECTION;
    platform_repaint(1);
}

void command(int id)
{
    switch (id) {
    case IDM_EXIT:
        platform_close();
        break;
    case IDM_NEWGAME:
    case IDC_NEWGAME:
        new_game_command();
        break;
    case IDM_SHOWSCORES:
        open_top_scores(nullptr);
        break;
    case IDM_ABOUT:
        open_message_box(about_text, "About Dovra", nullptr);
        break;
    case IDM_BIGBOARD:
        board_size_command(32);
        break;
    case IDM_LITTLEBOARD:
        board_size_command(16);
        break;
    case IDM_PREVIEW:
        preview_command();
        break;
    case IDM_SOUND:
        sound_command();
        break;
    default:
        open_message_box("Undefined Menu Command!", "Alert!", nullptr);
        break;
    }
}
