// heart_state.h: the heart's process-wide state as start-up finds it, sound files that tell their slots apart,
// and boards written as rows, for the suites that run the heart on the fake platform and in the Windows program.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "board.h"
#include "commands.h"
#include "common/files.h"
#include "common/start_state.h"
#include "core/wav_images.h"
#include "modal.h"
#include "prefs.h"
#include "random.h"
#include "route.h"
#include "sound.h"
#include "turn.h"

inline void reset_heart_state()
{
    start_up_state();
    pptr = 0;
    animate_state = MOVE;
    move_complete = 1;
    animation_x = animation_y = 0;
    hilite_x = hilite_y = NO_SELECTION;
    pending_click = 0;
    bonus_pending = 0;
    new_game_pending = 0;
    PendingxPos = PendingyPos = 0;
    reset_modal_windows();
    dovra::srand(1);
}

inline std::string slot_sound(int slot) { return pcm_wav(std::string("sound of slot ") + char('0' + slot)); }

// Six distinct sound images under the names of the start-up state, so that a sound played tells its slot.
inline void write_slot_sounds()
{
    for (int slot = 0; slot < SOUND_SLOTS; ++slot)
        write_file(sound_name[slot], slot_sound(slot));
}

// A board as rows[y][x]: '.' empty, '1'..'7' a piece. The rows given are the top ones; the rest are empty.
inline std::vector<std::string> rows_from_top(std::vector<std::string> rows = {})
{
    rows.resize(BOARD_SIZE, std::string(BOARD_SIZE, '.'));
    return rows;
}

// A full board without any two equal neighbours in a line, so no move or drop can complete five.
inline std::vector<std::string> no_line_rows()
{
    std::vector<std::string> rows = rows_from_top();
    for (int y = 0; y < BOARD_SIZE; ++y)
        for (int x = 0; x < BOARD_SIZE; ++x)
            rows[y][x] = static_cast<char>('1' + (x + 2 * y) % PIECE_KINDS);
    return rows;
}

inline void set_board(const std::vector<std::string>& rows)
{
    for (int y = 0; y < BOARD_SIZE; ++y)
        for (int x = 0; x < BOARD_SIZE; ++x)
            board[x][y] = rows[y][x] == '.' ? EMPTY : rows[y][x] - '0';
}

// Sound on, the given board and score, the preview 1 2 3: a game started, then laid out for a test.
inline void arrange_game(const std::vector<std::string>& rows, int score)
{
    sound_enabled = 1;
    set_board(rows);
    current_score = score;
    for (int i = 0; i < BATCH_SIZE; ++i)
        next_batch[i] = i + 1;
}

inline std::vector<std::string> board_rows()
{
    std::vector<std::string> rows = rows_from_top();
    for (int y = 0; y < BOARD_SIZE; ++y)
        for (int x = 0; x < BOARD_SIZE; ++x)
            if (board[x][y] != EMPTY)
                rows[y][x] = static_cast<char>('0' + board[x][y]);
    return rows;
}

inline std::vector<int> preview() { return {next_batch[0], next_batch[1], next_batch[2]}; }
inline std::pair<int, int> selection() { return {hilite_x, hilite_y}; }
inline int pieces_on_board() { return SQUARES - free_cells(); }
inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
