// store_fixture.h: each file test runs in a fresh folder of its own and leaves every process-wide variable as it found it.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "board.h"
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

// The state start-up establishes before it reads the files: initial settings,
// default sound names, empty saved game, empty table, empty board.
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

inline void write_file(const char *name, const std::string &bytes)
{
    FILE *f = std::fopen(name, "wb");
    ASSERT_NE(f, nullptr) << name;
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    ASSERT_EQ(std::fclose(f), 0);
}

// The file's bytes as they are on disk; "<missing>" when it cannot be opened.
inline std::string read_file(const char *name)
{
    FILE *f = std::fopen(name, "rb");
    if (f == nullptr)
        return "<missing>";
    std::string bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF)
        bytes += static_cast<char>(c);
    std::fclose(f);
    return bytes;
}

inline bool file_exists(const char *name)
{
    std::error_code ec;
    return std::filesystem::exists(name, ec);
}

// A fresh folder per test, made the current one because the program names its files relative to it.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_state_ = take_store_state();
        start_up_state();
        dovra::srand(1);
        namespace fs = std::filesystem;
        old_dir_ = fs::current_path();
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        for (int attempt = 0; attempt < 100 && dir_.empty(); attempt++) {
            fs::path candidate = fs::temp_directory_path() /
                ("dovra-store-" + std::to_string(stamp) + "-" + std::to_string(counter++));
            std::error_code ec;
            if (fs::create_directory(candidate, ec))
                dir_ = candidate;
        }
        ASSERT_FALSE(dir_.empty()) << "no temporary folder";
        fs::current_path(dir_);
    }

    void TearDown() override
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::current_path(old_dir_, ec);
        if (!dir_.empty())
            fs::remove_all(dir_, ec);
        put_store_state(saved_state_);
        // The generator's state at process start.
        dovra::srand(1);
    }

private:
    StoreState saved_state_;
    std::filesystem::path old_dir_;
    std::filesystem::path dir_;
};
