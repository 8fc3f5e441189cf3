// core_fixture.h: each test of the heart starts it afresh on the fake platform, in a folder of its own, and runs
// twice: with modal windows that block until closed and with windows that close later.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "common/heart_state.h"
#include "core/fake_platform.h"
#include "prefs.h"
#include "resource.h"
#include "scores.h"
#include "session.h"

using events = std::vector<std::string>;

// A row of four and a fifth piece that completes it: the move from (4,2) to (4,0) empties the board.
inline const std::vector<std::string> LAST_LINE = rows_from_top({"1111.....", ".........", "....1...."});

class CoreBase : public TempFolderTest {
protected:
    virtual fake::mode mode() const = 0;

    void SetUp() override
    {
        reset_heart_state();
        fake::reset(mode());
        TempFolderTest::SetUp();
        if (!HasFatalFailure())
            write_slot_sounds();
    }

    void TearDown() override
    {
        release_sounds();
        TempFolderTest::TearDown();
    }

public:
    // Start-up as the main window's creation gives it, after prefs.txt, when text is given, holds it.
    void start(const char* prefs = nullptr)
    {
        if (prefs != nullptr)
            write_file("prefs.txt", prefs);
        load_settings();
        set_check_marks();
        start_game();
        mark();
    }

    // Starts with sound on, the given board and score, the preview 1 2 3, and nothing else to recall.
    void start_with(const std::vector<std::string>& rows, int score = 0)
    {
        start();
        arrange_game(rows, score);
    }

    // A full board without lines, but for (0,0) and the given squares; the piece at (1,0) then moves to (0,0).
    void start_full_but(const std::vector<std::pair<int, int>>& empties, int score)
    {
        std::vector<std::string> rows = no_line_rows();
        rows[0][0] = '.';
        for (auto [x, y] : empties)
            rows[y][x] = '.';
        start_with(rows, score);
        move(1, 0, 0, 0);
        ASSERT_EQ(move_complete, 0);
    }

    void mark() { seen_ = fake::seen().events.size(); }

    // The events since the last mark() that begin with one of the prefixes.
    events since(const std::vector<std::string>& prefixes = {""}) const
    {
        events found;
        for (size_t i = seen_; i < fake::seen().events.size(); ++i) {
            const std::string& e = fake::seen().events[i];
            if (std::any_of(prefixes.begin(), prefixes.end(), [&](const std::string& p) { return e.rfind(p, 0) == 0; }))
                found.push_back(e);
        }
        return found;
    }
    events since(const char* prefix) const { return since(events{prefix}); }

    void click(int x, int y) { fake::deliver([=] { on_click(static_cast<unsigned>(x), static_cast<unsigned>(y)); }); }
    // A click in the middle of board square (col, row).
    void click_square(int col, int row) { click(col * cell_size + cell_size / 2, row * cell_size + cell_size / 2); }
    // Selects the piece at (col, row) and sends it to (to_col, to_row).
    void move(int col, int row, int to_col, int to_row)
    {
        click_square(col, row);
        click_square(to_col, to_row);
    }
    void tick(int n = 1) { fake::tick(n); }
    void menu(int id) { fake::deliver([=] { command(id); }); }

    // The turn is over: no piece travels, nothing is pending and the normal cursor shows.
    void expect_idle() const
    {
        EXPECT_EQ(animate_state, MOVE);
        EXPECT_EQ(pptr, 0);
        EXPECT_EQ(move_complete, 1);
        EXPECT_EQ(fake::seen().busy, 0);
    }

    size_t seen_ = 0;
};

class CoreTest : public CoreBase, public ::testing::WithParamInterface<fake::mode> {
    fake::mode mode() const override { return GetParam(); }
};

// A table of cases, each run in both modes.
template <class Case>
class CoreCaseTest : public CoreBase, public ::testing::WithParamInterface<std::tuple<fake::mode, Case>> {
    fake::mode mode() const override { return std::get<0>(this->GetParam()); }

public:
    const Case& param() const { return std::get<1>(this->GetParam()); }
};

// Test names: the case's name and the mode.
struct name_of_case {
    static std::string of(fake::mode m) { return m == fake::mode::blocking ? "blocking" : "asynchronous"; }
    static std::string of(int id) { return std::to_string(id); }
    template <class Case>
    static std::string of(const Case& c) { return c.name; }
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const { return of(info.param); }
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<std::tuple<fake::mode, Case>>& info) const
    {
        return of(std::get<1>(info.param)) + "_" + of(std::get<0>(info.param));
    }
};

#define BOTH_MODES ::testing::Values(fake::mode::blocking, fake::mode::asynchronous)
#define IN_BOTH_MODES(fixture) INSTANTIATE_TEST_SUITE_P(Modes, fixture, BOTH_MODES, name_of_case())
#define CASES_IN_BOTH_MODES(fixture, ...) \
    INSTANTIATE_TEST_SUITE_P(Cases, fixture, ::testing::Combine(BOTH_MODES, __VA_ARGS__), name_of_case())
