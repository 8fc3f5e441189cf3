// turn.cpp: clicks on the board and the turn the 100 ms timer drives, from the first step of the
// moving piece to the drops, the empty-board bonus, game over and the replay of a waiting click.
#include "turn.h"

#include "board.h"
#include "lines.h"
#include "modal.h"
#include "platform.h"
#include "prefs.h"
#include "route.h"
#include "scores.h"
#include "sound.h"

astate animate_state = MOVE;
int move_complete = 1;
int animation_x = 0;
int animation_y = 0;
int hilite_x = NO_SELECTION;
int hilite_y = NO_SELECTION;
int pending_click = 0;
unsigned short PendingxPos = 0;
unsigned short PendingyPos = 0;
int bonus_pending = 0;

namespace {

// The turn now ending ended with the drops, so a full board ends the game.
int turn_dropped = 0;

void show_normal_cursor()
{
    platform_show_cursor(0);
}

void clear_selection()
{
    hilite_x = NO_SELECTION;
    hilite_y = NO_SELECTION;
}

// Starts the selected piece's route to the empty square clicked, or refuses it; (oldhx, oldhy) is the
// selection before the click.
void try_move(int oldhx, int oldhy)
{
    if ((hilite_x == oldhx && hilite_y == oldhy) || !clear_path(oldhx, oldhy, hilite_x, hilite_y)) {
        play_sound(SOUND_WOOPS);
        hilite_x = oldhx;
        hilite_y = oldhy;
    } else {
        clean_board();
        optimize_path();
        animation_x = oldhx;
        animation_y = oldhy;
        platform_show_cursor(1);
        animate_state = MOVE;
        move_complete = 0;
        clear_selection();
    }
    clean_board();
}

void replay_pending_click()
{
    if (!pending_click)
        return;
    pending_click = 0;
    platform_queue_click(PendingxPos, PendingyPos);
}

void game_over_scores_shown()
{
    move_complete = 1;
}

void game_over_entry_stored()
{
    score_recorded = 1;
    open_top_scores(game_over_scores_shown);
}

void game_over()
{
    // A click made during the last turn belongs to the finished game.
    pending_click = 0;
    const int entered = CheckHighScores();
    play_sound(entered ? SOUND_WINNER : SOUND_GAMEOVER);
    if (entered)
        open_new_high_score(game_over_entry_stored);
    else
        open_top_scores(game_over_scores_shown);
}

// The end of a turn once its bonus, if any, is on the board.
void finish_turn()
{
    if (turn_dropped && free_cells() == 0) {
        game_over();
        return;
    }
    replay_pending_click();
    move_complete = 1;
}

void bonus_box_closed()
{
    pay_pending_bonus();
    finish_turn();
}

}  // namespace

void on_click(unsigned xPos, unsigned yPos)
{
    if (pptr > 0 || move_complete == 0) {
        pending_click = 1;
        PendingxPos = static_cast<unsigned short>(xPos);
        PendingyPos = static_cast<unsigned short>(yPos);
        return;
    }

    const int oldhx = hilite_x;
    const int oldhy = hilite_y;
    const unsigned board_pixels = static_cast<unsigned>(BOARD_SIZE * cell_size);
    if (xPos >= board_pixels || yPos >= board_pixels) {
        clear_selection();
    } else {
        hilite_x = static_cast<int>(xPos / static_cast<unsigned>(cell_size));
        hilite_y = static_cast<int>(yPos / static_cast<unsigned>(cell_size));
        clean_board();
        pptr = 0;
        if (board[hilite_x][hilite_y] == EMPTY)
            try_move(oldhx, oldhy);
        else if (!anymoves(hilite_x, hilite_y))
            clear_selection();
    }

    if (hilite_x != oldhx || hilite_y != oldhy)
        platform_repaint(0);
}

void handle_animation()
{
    pth step;
    do {
        --pptr;
        step = path[pptr];
    } while (pptr != 0 && step.x == animation_x && step.y == animation_y);

    // Lift the piece before setting it down, so a step onto its own square cannot lose it.
    const int piece = board[animation_x][animation_y];
    board[animation_x][animation_y] = EMPTY;
    board[step.x][step.y] = piece;
    animation_x = step.x;
    animation_y = step.y;

    if (pptr < 1)
        animate_state = PAUSE;
    platform_repaint(0);
}

int CheckClearBoard()
{
    if (free_cells() != SQUARES)
        return 0;
    // The bonus is owed from the moment the box opens: a session that ends under it saves it.
    bonus_pending = 1;
    open_message_box("You cleared the board!\nThat's good for a 500 point bonus!", "Wow!", bonus_box_closed);
    return 1;
}

void pay_pending_bonus()
{
    if (!bonus_pending)
        return;
    bonus_pending = 0;
    sprinkle_board();
    get_handfull();
    add_points(500);
}

void on_tick()
{
    switch (animate_state) {
    case MOVE:
        if (pptr > 0) {
            play_sound(SOUND_MOVE);
            handle_animation();
        }
        break;
    case PAUSE:
        if (process_fives() > 0) {
            show_normal_cursor();
            animate_state = MOVE;
            play_sound(SOUND_ZIP);
            turn_dropped = 0;
            if (!CheckClearBoard())
                finish_turn();
        } else {
            animate_state = DROP1;
        }
        break;
    case DROP1:
        play_sound(SOUND_DROP);
        drop_next(0);
        animate_state = DROP2;
        break;
    case DROP2:
        play_sound(SOUND_DROP);
        drop_next(1);
        animate_state = DROP3;
        break;
    case DROP3:
        play_sound(SOUND_DROP);
        drop_next(2);
        while (process_fives() > 0)
            play_sound(SOUND_ZIP);
        get_handfull();
        // The turn is idle before any modal window opens, so the ticks that reach the board meanwhile
        // only repaint, and move_complete stays 0 until the last of them has closed.
        animate_state = MOVE;
        show_normal_cursor();
        turn_dropped = 1;
        if (!CheckClearBoard())
            finish_turn();
        break;
    }
    platform_repaint(0);
}

void end_turn()
{
    animate_state = MOVE;
    pptr = 0;
    move_complete = 1;
    pending_click = 0;
    show_normal_cursor();
}
