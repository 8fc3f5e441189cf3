// shell_fixture.h: each shell test starts the program afresh on the Win32 stand-in, in a folder of its own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "board.h"
#include "headless.h"
#include "paint.h"
#include "prefs.h"
#include "random.h"
#include "route.h"
#include "scores.h"
#include "shell.h"
#include "sound.h"
#include "turn.h"

// Six distinct sound images, so that a recorded sndPlaySoundA call tells which slot played.
inline const char* const sound_files[SOUND_SLOTS] = {"move.wav",     "woops.wav", "drop.wav",
                                                      "zip.wav",      "gameover.wav", "winner.wav"};

inline void write_file(const std::string& name, const std::string& text)
{
    FILE* f = std::fopen(name.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

inline std::string read_file(const std::string& name)
{
    std::string text;
    FILE* f = std::fopen(name.c_str(), "rb");
    if (!f)
        return text;
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

// Puts every process-wide variable of the program back to its value at process start.
inline void reset_program_state()
{
    std::memset(board, 0, sizeof board);
    std::memset(next_batch, 0, sizeof next_batch);
    current_score = 0;
    pptr = 0;
    cell_size = 16;
    display_preview = 1;
    sound_enabled = 0;
    saved_current_score = 0;
    saved_checksum = 0;
    std::memset(scores, 0, sizeof scores);
    hilite_score = NO_HILITE;
    newname[0] = '\0';
    score_recorded = 0;
    animate_state = MOVE;
    move_complete = 1;
    animation_x = animation_y = 0;
    hilite_x = hilite_y = NO_SELECTION;
    pending_click = 0;
    PendingxPos = PendingyPos = 0;
    MyInstance = NULL;
    MyWindow = NULL;
    MyTimer = 0;
    hNewGameButton = NULL;
    normal_cursor = busy_cursor = current_cursor = NULL;
    dovra::srand(1);
}

class ShellTest : public ::testing::Test {
protected:
    std::filesystem::path folder;
    std::filesystem::path home;

    void SetUp() override
    {
        headless::reset();
        reset_program_state();
        home = std::filesystem::current_path();
        folder = std::filesystem::temp_directory_path() /
                 ("dovra-shell-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        for (int slot = 0; slot < SOUND_SLOTS; ++slot)
            write_file(sound_files[slot], std::string("sound of slot ") + char('0' + slot));
    }

    void TearDown() override
    {
        release_sounds();
        std::filesystem::current_path(home);
        std::filesystem::remove_all(folder);
        headless::reset();
    }

    // Start-up as WinMain does it, without entering the message loop.
    void start()
    {
        ASSERT_NE(Register_Window(headless::instance()), 0);
        ASSERT_EQ(Init_Instance(headless::instance(), SW_SHOWNORMAL), 1);
    }

    // Starts the program with sound on, the given board, preview and score, and nothing else to recall.
    void start_with(const std::vector<std::string>& rows, int score = 0)
    {
        start();
        sound_enabled = 1;
        set_board(rows);
        current_score = score;
        next_batch[0] = 1;
        next_batch[1] = 2;
        next_batch[2] = 3;
        forget_records();
    }

    void forget_records()
    {
        seen_sounds = headless::sounds().size();
        seen_invalidations = headless::invalidations().size();
        seen_cursors = headless::cursor_calls().size();
        seen_posted = headless::posted().size();
        seen_boxes = headless::message_boxes().size();
        seen_dialogs = headless::dialogs().size();
    }

    // rows[y][x]: '.' empty, '1'..'7' a piece.
    static void set_board(const std::vector<std::string>& rows)
    {
        for (int y = 0; y < BOARD_SIZE; ++y)
            for (int x = 0; x < BOARD_SIZE; ++x)
                board[x][y] = rows[y][x] == '.' ? EMPTY : rows[y][x] - '0';
    }

    static std::vector<std::string> board_rows()
    {
        std::vector<std::string> rows(BOARD_SIZE, std::string(BOARD_SIZE, '.'));
        for (int y = 0; y < BOARD_SIZE; ++y)
            for (int x = 0; x < BOARD_SIZE; ++x)
                if (board[x][y] != EMPTY)
                    rows[y][x] = static_cast<char>('0' + board[x][y]);
        return rows;
    }

    // A full board without any two equal neighbours in a line, so no move or drop can complete five.
    static std::vector<std::string> no_line_rows()
    {
        std::vector<std::string> rows(BOARD_SIZE, std::string(BOARD_SIZE, '.'));
        for (int y = 0; y < BOARD_SIZE; ++y)
            for (int x = 0; x < BOARD_SIZE; ++x)
                rows[y][x] = static_cast<char>('1' + (x + 2 * y) % PIECE_KINDS);
        return rows;
    }

    void click(int x, int y)
    {
        BaseMsgProc(MyWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
    }

    // A click in the middle of board square (col, row).
    void click_square(int col, int row)
    {
        click(col * cell_size + cell_size / 2, row * cell_size + cell_size / 2);
    }

    void tick(int n = 1)
    {
        ASSERT_EQ(headless::tick(n), n);
    }

    // Sound slots played since the last forget_records(), in order; -1 for an unknown image.
    std::vector<int> sounds_played() const
    {
        std::vector<int> slots;
        const auto& calls = headless::sounds();
        for (size_t i = seen_sounds; i < calls.size(); ++i) {
            int slot = -1;
            for (int s = 0; s < SOUND_SLOTS; ++s)
                if (calls[i].sound == wavbuffer[s])
                    slot = s;
            slots.push_back(slot);
        }
        return slots;
    }

    size_t invalidations_since() const { return headless::invalidations().size() - seen_invalidations; }
    std::vector<HCURSOR> cursors_since() const
    {
        const auto& calls = headless::cursor_calls();
        return std::vector<HCURSOR>(calls.begin() + static_cast<long>(seen_cursors), calls.end());
    }
    std::vector<MSG> posted_since() const
    {
        const auto& msgs = headless::posted();
        return std::vector<MSG>(msgs.begin() + static_cast<long>(seen_posted), msgs.end());
    }
    size_t boxes_since() const { return headless::message_boxes().size() - seen_boxes; }
    size_t dialogs_since() const { return headless::dialogs().size() - seen_dialogs; }

    size_t seen_sounds = 0;
    size_t seen_invalidations = 0;
    size_t seen_cursors = 0;
    size_t seen_posted = 0;
    size_t seen_boxes = 0;
    size_t seen_dialogs = 0;
};
