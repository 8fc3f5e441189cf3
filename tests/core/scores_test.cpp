// scores_test.cpp: ranking and entering scores, and scores.txt written, read back, hand-edited or damaged.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "board.h"
#include "random.h"
#include "scores.h"
#include "core/store_fixture.h"

namespace {

using ScoreTable = StoreTest;

void set_table(const std::vector<int> &values)
{
    std::memset(scores, 0, sizeof scores);
    for (size_t i = 0; i < values.size() && i < static_cast<size_t>(SCORE_ROWS); i++) {
        scores[i].score = values[i];
        std::snprintf(scores[i].name, sizeof scores[i].name, "P%zu", i);
    }
}

std::vector<int> table_scores()
{
    std::vector<int> v;
    for (int i = 0; i < SCORE_ROWS; i++)
        v.push_back(scores[i].score);
    return v;
}

// What the New High Score dialog does with a name once it closes.
void enter_score(int score, const char *name)
{
    int p = score_position(score);
    hilite_score = p;
    insert_score(p, score, name);
    SaveScores();
}

// ---------------------------------------------------------------------------------------------
// Qualifying and ranking

struct RankCase {
    std::vector<int> table;
    int score;
    int position;
};

void PrintTo(const RankCase &c, std::ostream *os)
{
    *os << "score " << c.score;
}

class Ranking : public StoreTest, public ::testing::WithParamInterface<RankCase> {};

TEST_P(Ranking, PlacesBelowEqualScores)
{
    set_table(GetParam().table);
    current_score = GetParam().score;
    EXPECT_EQ(score_position(GetParam().score), GetParam().position);
    EXPECT_EQ(CheckHighScores(), GetParam().position < SCORE_ROWS ? 1 : 0);
}

const std::vector<int> FULL = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};

INSTANTIATE_TEST_SUITE_P(ScoreTable, Ranking, ::testing::Values(
    // Zero never qualifies, any positive score does on an empty table.
    RankCase{{}, 0, 10},
    RankCase{{5, 4, 3}, 0, 10},
    RankCase{{}, 1, 0},
    RankCase{{500, 300, 300, 100}, 300, 3},
    RankCase{{500, 300, 300, 100}, 301, 1},
    RankCase{{500, 300, 300, 100}, 500, 1},
    RankCase{{500, 300, 300, 100}, 501, 0},
    RankCase{{500, 300, 300, 100}, 1, 4},
    RankCase{FULL, 10, 10},
    RankCase{FULL, 11, 9},
    RankCase{FULL, 9, 10},
    RankCase{FULL, 101, 0},
    RankCase{FULL, INT_MAX, 0},
    RankCase{{INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX}, INT_MAX, 10}));

TEST_F(ScoreTable, InsertMovesLowerRowsDownAndDropsTheTenth)
{
    set_table(FULL);
    scores[SCORE_ROWS].score = -1;
    insert_score(3, 75, "NEW");
    EXPECT_EQ(table_scores(), (std::vector<int>{100, 90, 80, 75, 70, 60, 50, 40, 30, 20}));
    EXPECT_STREQ(scores[3].name, "NEW");
    EXPECT_STREQ(scores[4].name, "P3");
    EXPECT_STREQ(scores[9].name, "P8");
    EXPECT_STREQ(scores[2].name, "P2");
    EXPECT_EQ(scores[SCORE_ROWS].score, -1);
}

TEST_F(ScoreTable, InsertAtTheEndsAndOutside)
{
    set_table(FULL);
    insert_score(9, 15, "LAST");
    EXPECT_EQ(table_scores(), (std::vector<int>{100, 90, 80, 70, 60, 50, 40, 30, 20, 15}));
    insert_score(0, 200, "TOP");
    EXPECT_EQ(table_scores(), (std::vector<int>{200, 100, 90, 80, 70, 60, 50, 40, 30, 20}));
    // Position 10 is the spare row behind the table: the table itself stays as it was.
    insert_score(10, 5, "SPARE");
    EXPECT_EQ(table_scores(), (std::vector<int>{200, 100, 90, 80, 70, 60, 50, 40, 30, 20}));
    EXPECT_EQ(scores[SCORE_ROWS].score, 5);
    insert_score(-1, 7, "X");
    insert_score(11, 7, "X");
    EXPECT_EQ(table_scores(), (std::vector<int>{200, 100, 90, 80, 70, 60, 50, 40, 30, 20}));
}

TEST_F(ScoreTable, NameCutAtThirtyNineCharacters)
{
    const std::string long_name(50, 'N');
    insert_score(0, 10, long_name.c_str());
    EXPECT_EQ(std::string(scores[0].name), std::string(39, 'N'));
}

// ---------------------------------------------------------------------------------------------
// scores.txt written by the program

TEST_F(ScoreTable, ExampleOfTwoGames)
{
    enter_score(350, "AAA");
    enter_score(120, "BBB");
    EXPECT_EQ(read_file("scores.txt"), scores_file({"350 AAA", "120 BBB"}, 1));
    EXPECT_FALSE(file_exists("scores.txt.tmp"));

    std::memset(scores, 0, sizeof scores);
    hilite_score = NO_HILITE;
    LoadScores();
    EXPECT_EQ(scores[0].score, 350);
    EXPECT_STREQ(scores[0].name, "AAA");
    EXPECT_EQ(scores[1].score, 120);
    EXPECT_STREQ(scores[1].name, "BBB");
    EXPECT_EQ(scores[2].score, 0);
    EXPECT_STREQ(scores[2].name, "");
    EXPECT_EQ(hilite_score, 1);
}

TEST_F(ScoreTable, WrittenOrderAndNewestIndexAfterInsertion)
{
    set_table(FULL);
    enter_score(65, "MID");
    const std::string text = read_file("scores.txt");
    EXPECT_EQ(text.find("65 MID" EOL), std::string("100 P0" EOL "90 P1" EOL "80 P2" EOL "70 P3" EOL).size());
    EXPECT_EQ(text.substr(text.size() - std::strlen("20 P8" EOL "4" EOL)), "20 P8" EOL "4" EOL);
}

TEST_F(ScoreTable, NamesAreWrittenInFullAndReadBackWithoutLeadingBlanks)
{
    enter_score(30, "  Lead");
    enter_score(20, "Caf\xE9 Noir");
    EXPECT_EQ(read_file("scores.txt").substr(0, std::strlen("30   Lead" EOL "20 Caf\xE9 Noir" EOL)),
              "30   Lead" EOL "20 Caf\xE9 Noir" EOL);
    LoadScores();
    EXPECT_STREQ(scores[0].name, "Lead");
    EXPECT_STREQ(scores[1].name, "Caf\xE9 Noir");
}

TEST_F(ScoreTable, UnwritableFileKeepsOldFileAndTheTableInMemory)
{
    write_file("scores.txt", "50 OLD\n");
    std::filesystem::create_directory("scores.txt.tmp");
    hilite_score = 0;
    insert_score(0, 80, "NEW");
    EXPECT_EQ(SaveScores(), 0);
    EXPECT_EQ(read_file("scores.txt"), "50 OLD\n");
    EXPECT_EQ(scores[0].score, 80);
    EXPECT_STREQ(scores[0].name, "NEW");
}

TEST_F(ScoreTable, DirectoryInPlaceOfTheFileLeavesNoTemporary)
{
    std::filesystem::create_directory("scores.txt");
    EXPECT_EQ(SaveScores(), 0);
    EXPECT_TRUE(std::filesystem::is_directory("scores.txt"));
    EXPECT_FALSE(file_exists("scores.txt.tmp"));
}

TEST_F(ScoreTable, SaveReportsSuccess)
{
    EXPECT_EQ(SaveScores(), 1);
    EXPECT_EQ(read_file("scores.txt"), scores_file({}, NO_HILITE));
}

// What Top Scores shows as each row's name: the newest entry marked, the longest name whole, and no mark at all
// when the newest is off the table.
TEST_F(ScoreTable, RowTextMarksOnlyTheNewestEntry)
{
    set_table(FULL);
    std::memset(scores[0].name, 'z', 39);
    scores[0].name[39] = '\0';
    for (int newest : {0, 2, SCORE_ROWS - 1, NO_HILITE, SCORE_ROWS, -1, INT_MIN}) {
        hilite_score = newest;
        for (int i = 0; i < SCORE_ROWS; i++) {
            char text[ROW_TEXT_LEN];
            score_row_text(i, text);
            EXPECT_EQ(text, (i == newest ? "--> " : "") + std::string(scores[i].name))
                << "row " << i << ", newest " << newest;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Reading hand-edited and damaged files

struct Expected {
    int score;
    const char *name;
};

struct ReadCase {
    const char *name;
    std::string text;
    std::vector<Expected> rows;  // from entry 0; later entries must be 0 and empty
    int hilite;
};

void PrintTo(const ReadCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReadingScores : public StoreTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadingScores, FollowsTheReadRules)
{
    write_file("scores.txt", GetParam().text);
    LoadScores();
    const std::vector<Expected> &rows = GetParam().rows;
    for (int i = 0; i < SCORE_ROWS; i++) {
        const Expected want = i < static_cast<int>(rows.size()) ? rows[i] : Expected{0, ""};
        EXPECT_EQ(scores[i].score, want.score) << "entry " << i;
        EXPECT_STREQ(scores[i].name, want.name) << "entry " << i;
    }
    EXPECT_EQ(scores[SCORE_ROWS].score, 0);
    EXPECT_EQ(hilite_score, GetParam().hilite);
}

std::string ten_rows()
{
    std::string s;
    for (int i = 0; i < SCORE_ROWS; i++)
        s += std::to_string(100 - i) + " R" + std::to_string(i) + "\n";
    return s;
}

std::vector<Expected> ten_expected()
{
    static const char *const names[] = {"R0", "R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9"};
    std::vector<Expected> v;
    for (int i = 0; i < SCORE_ROWS; i++)
        v.push_back({100 - i, names[i]});
    return v;
}

INSTANTIATE_TEST_SUITE_P(ScoreTable, ReadingScores, ::testing::Values(
    ReadCase{"empty_file", "", {}, NO_HILITE},
    ReadCase{"only_350", "350", {{350, ""}}, NO_HILITE},
    ReadCase{"only_350_with_line_end", "350\n", {{350, ""}}, NO_HILITE},
    ReadCase{"blank_and_no_name", "350 \n", {{350, ""}}, NO_HILITE},
    ReadCase{"leading_blanks_of_name", "350    AAA\n", {{350, "AAA"}}, NO_HILITE},
    ReadCase{"blank_before_number", " 350 AAA\n", {{0, "350 AAA"}}, NO_HILITE},
    ReadCase{"negative_number", "-5 AAA\n", {{0, "5 AAA"}}, NO_HILITE},
    ReadCase{"any_separator", "350xAAA\n", {{350, "AAA"}}, NO_HILITE},
    ReadCase{"high_byte_in_name", "350 AB\xE9" "CD\n", {{350, "AB\xE9" "CD"}}, NO_HILITE},
    ReadCase{"high_bytes_begin_name_control_ends_it", "350 \xC3\xA9\x01 AB\n", {{350, "\xC3\xA9"}}, NO_HILITE},
    ReadCase{"blanks_inside_kept", "7 Ann  Lee  \n", {{7, "Ann  Lee  "}}, NO_HILITE},
    ReadCase{"crlf", "350 AAA\r\n120 BBB\r\n1\r\n", {{350, "AAA"}, {120, "BBB"}, {1, ""}}, NO_HILITE},
    ReadCase{"overflowing_digits", "99999999999999999999 BIG\n2147483647 MAX\n2147483648 OVER\n",
             {{INT_MAX, "BIG"}, {INT_MAX, "MAX"}, {INT_MAX, "OVER"}}, NO_HILITE},
    ReadCase{"not_sorted", "100 A\n200 B\n150 C\n", {{100, "A"}, {200, "B"}, {150, "C"}}, NO_HILITE},
    ReadCase{"name_cut_at_39", "5 " + std::string(45, 'n') + "\n", {{5, "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"}}, NO_HILITE},
    // 59 characters make the first piece; the rest of the line is read as the next line.
    ReadCase{"long_line_in_pieces", "5 " + std::string(57, 'a') + "Zbcd\n", {{5, "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"}, {0, "bcd"}}, NO_HILITE},
    ReadCase{"eleven_lines", ten_rows() + "3\n", ten_expected(), 3},
    ReadCase{"lines_after_eleventh_ignored", ten_rows() + "4\n999 EXTRA\n7\n", ten_expected(), 4},
    ReadCase{"index_with_blanks_and_sign", ten_rows() + "  +2 newest\n", ten_expected(), 2},
    ReadCase{"negative_index", ten_rows() + "-3\n", ten_expected(), -3},
    ReadCase{"index_without_digits", ten_rows() + "abc\n", ten_expected(), 0},
    ReadCase{"index_overflow", ten_rows() + "123456789012345\n", ten_expected(), INT_MAX},
    ReadCase{"index_underflow", ten_rows() + "-123456789012345\n", ten_expected(), -INT_MAX},
    ReadCase{"index_without_line_end", ten_rows() + "9", ten_expected(), 9}),
    [](const ::testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.name); });

TEST_F(ScoreTable, MissingFileLeavesTheEmptyTable)
{
    LoadScores();
    for (int i = 0; i <= SCORE_ROWS; i++) {
        EXPECT_EQ(scores[i].score, 0);
        EXPECT_STREQ(scores[i].name, "");
    }
    EXPECT_EQ(hilite_score, NO_HILITE);
}

TEST_F(ScoreTable, BinaryJunkIsHarmless)
{
    dovra::srand(77);
    for (int round = 0; round < 30; round++) {
        write_file("scores.txt", random_junk(2000));
        std::memset(scores, 0, sizeof scores);
        LoadScores();
        for (int i = 0; i <= SCORE_ROWS; i++) {
            ASSERT_LT(std::strlen(scores[i].name), sizeof scores[i].name);
            ASSERT_GE(scores[i].score, 0);
        }
    }
}

}  // namespace
