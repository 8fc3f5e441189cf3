// names_test.cpp: names with accented letters, and the longest sound name, through scores.txt and prefs.txt unchanged.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>

#include "prefs.h"
#include "scores.h"
#include "sound.h"
#include "core/store_fixture.h"

namespace {

// Names in the program's code page (Windows-1252 here), as the player's keyboard gives them.
struct NameCase {
    const char *label;
    std::string name;
    int fits_score_table;  // 0: longer than a score name may be
};

void PrintTo(const NameCase &c, std::ostream *os)
{
    *os << c.label;
}

// A path of the 259 characters a sound name may hold.
std::string longest_sound_name()
{
    const std::string folder = "C:\\Sounds\\\xC9t\xE9 ";
    return folder + std::string(SOUND_NAME_LEN - 1 - folder.size() - 4, 'x') + ".wav";
}

class Names : public StoreTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(Names, AreStoredReadBackAndRewrittenUnchanged)
{
    const std::string &name = GetParam().name;
    if (GetParam().fits_score_table) {
        hilite_score = 0;
        insert_score(0, 500, name.c_str());
        ASSERT_EQ(SaveScores(), 1);
        const std::string written = read_file("scores.txt");
        EXPECT_EQ(written.substr(0, name.size() + 4), "500 " + name);
        std::memset(scores, 0, sizeof scores);
        LoadScores();
        EXPECT_EQ(scores[0].name, name);
        ASSERT_EQ(SaveScores(), 1);
        EXPECT_EQ(read_file("scores.txt"), written);
    }

    std::snprintf(sound_name[SOUND_WINNER], SOUND_NAME_LEN, "%s", name.c_str());
    SavePrefs();
    const std::string written = read_file("prefs.txt");
    // The next start: defaults first, then the file.
    start_up_state();
    LoadPrefs("prefs.txt");
    EXPECT_EQ(sound_name[SOUND_WINNER], name);
    SavePrefs();
    EXPECT_EQ(read_file("prefs.txt"), written);
}

INSTANTIATE_TEST_SUITE_P(Names, Names, ::testing::Values(
    NameCase{"jose_garcia", "Jos\xE9 Garc\xED" "a", 1},
    NameCase{"zoe_angstrom", "Zo\xEB \xC5ngstr\xF6m", 1},
    NameCase{"accented_first_letter", "\xC9mile", 1},
    NameCase{"longest_sound_name", longest_sound_name(), 0}),
    [](const ::testing::TestParamInfo<NameCase> &info) { return std::string(info.param.label); });

}  // namespace
