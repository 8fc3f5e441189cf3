// turn.cpp: clicks on the board and the turn the 100 ms timer drives, from the first step of the
// moving piece to the drops, the empty-board bonus, game over and the replay of a waiting click.
#include "turn.h"

#include "board.h"
#include "lines.h"
#include "modal_windows.h"
#include "prefs.h"
#include "route.h"
#include "scores.h"
#include "shell.h"
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

static void show_cursor(HCURSOR cursor)
{
    SetCursor(cursor);
    current_cursor = cursor;
}

static void clear_selection()
{
    hilite_x = NO_SELECTION;
    hilite_y = NO_SELECTION;
}

// Selects the empty square's piece route or refuses it; (oldhx, oldhy) is the selection before the click.
static void try_move(int oldhx, int oldhy)
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
        show_cursor(busy_cursor);
        animate_state = MOVE;
        move_complete = 0;
        clear_selection();
    }
    clean_board();
}

void on_click(HWND hWnd, unsigned xPos, unsigned yPos)
{
    if (pptr > 0 || move_complete == 0) {
        pending_click = 1;
        PendingxPos = (unsigned short)xPos;
        PendingyPos = (unsigned short)yPos;
        return;
    }

    int oldhx = hilite_x;
    int oldhy = hilite_y;
    unsigned board_pixels = (unsigned)(BOARD_SIZE * cell_size);
    if (xPos >= board_pixels || yPos >= board_pixels) {
        clear_selection();
    } else {
        hilite_x = (int)(xPos / (unsigned)cell_size);
        hilite_y = (int)(yPos / (unsigned)cell_size);
        clean_board();
        pptr = 0;
        if (board[hilite_x][hilite_y] == EMPTY)
            try_move(oldhx, oldhy);
        else if (!anymoves(hilite_x, hilite_y))
            clear_selection();
    }

    if (hilite_x != oldhx || hilite_y != oldhy)
        InvalidateRect(hWnd, NULL, FALSE);
}

void handle_animation(HWND hWnd)
{
    pth step;
    do {
        --pptr;
        step = path[pptr];
    } while (pptr != 0 && step.x == animation_x && step.y == animation_y);

    // Lift the piece before setting it down, so a step onto its own square cannot lose it.
    int piece = board[animation_x][animation_y];
    board[animation_x][animation_y] = EMPTY;
    board[step.x][step.y] = piece;
    animation_x = step.x;
    animation_y = step.y;

    if (pptr < 1)
        animate_state = PAUSE;
    InvalidateRect(hWnd, NULL, FALSE);
}

void CheckClearBoard(HWND hWnd)
{
    if (free_cells() != SQUARES)
        return;
    // The bonus is owed from the moment the box opens: a session that ends under it saves it.
    bonus_pending = 1;
    modal_message(hWnd, "You cleared the board!\nThat's good for a 500 point bonus!", "Wow!");
    pay_pending_bonus();
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

static void replay_pending_click()
{
    if (!pending_click)
        return;
    pending_click = 0;
    PostMessageA(MyWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(PendingxPos, PendingyPos));
}

static void game_over(HWND hWnd)
{
    // A click made during the last turn belongs to the finished game.
    pending_click = 0;
    int entered = CheckHighScores();
    play_sound(entered ? SOUND_WINNER : SOUND_GAMEOVER);
    if (entered) {
        modal_new_high_score(hWnd);
        score_recorded = 1;
    }
    modal_top_scores(hWnd);
}

void on_tick(HWND hWnd)
{
    switch (animate_state) {
    case MOVE:
        if (pptr > 0) {
            play_sound(SOUND_MOVE);
            handle_animation(hWnd);
        }
        break;
    case PAUSE:
        if (process_fives() > 0) {
            show_cursor(normal_cursor);
            animate_state = MOVE;
            play_sound(SOUND_ZIP);
            CheckClearBoard(hWnd);
            move_complete = 1;
            replay_pending_click();
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
        // The turn is idle before any modal window opens, so the ticks it lets through only repaint.
        animate_state = MOVE;
        show_cursor(normal_cursor);
        CheckClearBoard(hWnd);
        if (free_cells() == 0)
            game_over(hWnd);
        else
            replay_pending_click();
        move_complete = 1;
        break;
    }
    InvalidateRect(hWnd, NULL, FALSE);
}

void end_turn()
{
    animate_state = MOVE;
    pptr = 0;
    move_complete = 1;
    pending_click = 0;
    show_cursor(normal_cursor);
}
