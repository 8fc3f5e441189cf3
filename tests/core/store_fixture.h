// store_fixture.h: a fresh folder and the start-up state for each file test, both put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "board.h"
#include "common/files.h"
#include "common/start_state.h"
#include "prefs.h"
#include "random.h"
#include "scores.h"
#include "sound.h"

// Line end as the program's text-mode files have it on disk.
#ifdef _WIN32
#define EOL "\r\n"
#else
#define EOL "\n"
#endif

// Everything the file code reads or writes, so that a test can put it back.
struct StoreState {
    int board_cells[BOARD_SIZE][BOARD_SIZE];
    int next[BATCH_SIZE];
    int score;
    int cell_size_v, display_preview_v, sound_enabled_v;
    char names[SOUND_SLOTS][SOUND_NAME_LEN];
    int saved_cells[SQUARES];
    int saved_score, checksum_v, saved_checksum_v;
    scrs table[SCORE_ROWS + 1];
    int hilite;
    char name_typed[60];
    int recorded;
};

inline StoreState take_store_state()
{
    StoreState s;
    std::memcpy(s.board_cells, board, sizeof board);
    std::memcpy(s.next, next_batch, sizeof next_batch);
    s.score = current_score;
    s.cell_size_v = cell_size;
    s.display_preview_v = display_preview;
    s.sound_enabled_v = sound_enabled;
    std::memcpy(s.names, sound_name, sizeof sound_name);
    std::memcpy(s.saved_cells, saved_board, sizeof saved_board);
    s.saved_score = saved_current_score;
    s.checksum_v = checksum;
    s.saved_checksum_v = saved_checksum;
    std::memcpy(s.table, scores, sizeof scores);
    s.hilite = hilite_score;
    std::memcpy(s.name_typed, newname, sizeof newname);
    s.recorded = score_recorded;
    return s;
}

inline void put_store_state(const StoreState &s)
{
    std::memcpy(board, s.board_cells, sizeof board);
    std::memcpy(next_batch, s.next, sizeof next_batch);
    current_score = s.score;
    cell_size = s.cell_size_v;
    display_preview = s.display_preview_v;
    sound_enabled = s.sound_enabled_v;
    std::memcpy(sound_name, s.names, sizeof sound_name);
    std::memcpy(saved_board, s.saved_cells, sizeof saved_board);
    saved_current_score = s.saved_score;
    checksum = s.checksum_v;
    saved_checksum = s.saved_checksum_v;
    std::memcpy(scores, s.table, sizeof scores);
    hilite_score = s.hilite;
    std::memcpy(newname, s.name_typed, sizeof newname);
    score_recorded = s.recorded;
}

// A fresh folder per test, and the file code's state as start-up leaves it; both put back afterwards.
class StoreTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        saved_state_ = take_store_state();
        start_up_state();
        dovra::srand(1);
        TempFolderTest::SetUp();
    }

    void TearDown() override
    {
        TempFolderTest::TearDown();
        put_store_state(saved_state_);
        // The generator's state at process start.
        dovra::srand(1);
    }

private:
    StoreState saved_state_;
};

// Bytes of every value, of a length below max_length, drawn from the program's own generator.
inline std::string random_junk(int max_length)
{
    std::string junk;
    const int length = dovra::_lrand() % max_length;
    for (int i = 0; i < length; i++)
        junk += static_cast<char>(dovra::_lrand() % 256);
    return junk;
}

// scores.txt as the program writes it: the rows given, "0 " for the rest of the ten, and the newest entry's index.
inline std::string scores_file(const std::vector<std::string> &rows, int newest)
{
    std::string text;
    for (size_t i = 0; i < static_cast<size_t>(SCORE_ROWS); i++)
        text += (i < rows.size() ? rows[i] : std::string("0 ")) + EOL;
    return text + std::to_string(newest) + EOL;
}
