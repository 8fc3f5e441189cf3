// start_state.h: the rules' and the files' process-wide variables as start-up finds them, for the
// suites and the fuzzer alike (no test framework here).
#pragma once

#include <cstring>

#include "board.h"
#include "prefs.h"
#include "scores.h"
#include "sound.h"

// Initial settings, default sound names, empty saved game, empty table, empty board.
inline void start_up_state()
{
    std::memset(board, 0, sizeof board);
    std::memset(next_batch, 0, sizeof next_batch);
    current_score = 0;
    cell_size = 16;
    display_preview = 1;
    sound_enabled = 0;
    set_default_sound_names();
    clear_saved_game();
    std::memset(scores, 0, sizeof scores);
    hilite_score = NO_HILITE;
    std::memset(newname, 0, sizeof newname);
    score_recorded = 0;
}
