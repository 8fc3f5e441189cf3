// replace_file_test.cpp: a save that fails at any step leaves the old prefs.txt or scores.txt byte for byte.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>

#include "board.h"
#include "prefs.h"
#include "replace_file.h"
#include "scores.h"
#include "core/store_fixture.h"

namespace {

struct StepName {
    int step;
    const char *name;
};

const StepName STEPS[] = {
    {0, "nothing_fails"}, {REPLACE_WRITE, "write"}, {REPLACE_SYNC, "flush_to_disk"},
    {REPLACE_CLOSE, "close"}, {REPLACE_RENAME, "write_through_rename"},
};

void PrintTo(const StepName &s, std::ostream *os)
{
    *os << s.name;
}

class FailingSave : public StoreTest, public ::testing::WithParamInterface<std::tuple<std::string, StepName>> {
protected:
    void TearDown() override
    {
        replace_failing_step = 0;
        StoreTest::TearDown();
    }
};

TEST_P(FailingSave, LeavesTheOldFileByteForByte)
{
    const std::string &file = std::get<0>(GetParam());
    const int step = std::get<1>(GetParam()).step;
    const std::string old = std::string("old\r\n\0\xFF kept as it was\n", 23);
    write_file(file, old);
    // Something new for either file to hold.
    board[4][4] = 3;
    current_score = 77;
    hilite_score = 0;
    insert_score(0, 77, "New");

    replace_failing_step = step;
    if (file == "prefs.txt")
        SavePrefs();
    else
        EXPECT_EQ(SaveScores(), step == 0 ? 1 : 0);
    replace_failing_step = 0;

    if (step == 0)
        EXPECT_NE(read_file(file), old);
    else
        EXPECT_EQ(read_file(file), old);
    EXPECT_FALSE(file_exists(file + ".tmp"));
}

INSTANTIATE_TEST_SUITE_P(Saves, FailingSave,
    ::testing::Combine(::testing::Values(std::string("prefs.txt"), std::string("scores.txt")), ::testing::ValuesIn(STEPS)),
    [](const ::testing::TestParamInfo<std::tuple<std::string, StepName>> &info) {
        return std::get<0>(info.param).substr(0, std::get<0>(info.param).find('.')) + "_" + std::get<1>(info.param).name;
    });

}  // namespace
