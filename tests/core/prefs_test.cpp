// prefs_test.cpp: prefs.txt written and read back, the saved game's checksum, and hand-edited or damaged files.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "board.h"
#include "prefs.h"
#include "random.h"
#include "sound.h"
#include "core/store_fixture.h"

namespace {

using PrefsFile = StoreTest;

const std::string SETTINGS_PART =
    "# Preferences file for Dovra" EOL
    "cell_size = 16" EOL
    "display_preview = 1" EOL
    "sound_enabled = 0" EOL
    "sound00 = move.wav" EOL
    "sound01 = woops.wav" EOL
    "sound02 = drop.wav" EOL
    "sound03 = zip.wav" EOL
    "sound04 = gameover.wav" EOL
    "sound05 = winner.wav" EOL;

// The unfinished game of the example: kind 5 at (0, 3), 2 at (4, 4), 7 at (8, 5), score 24.
void deal_example_game()
{
    std::memset(board, 0, sizeof board);
    board[0][3] = 5;
    board[4][4] = 2;
    board[8][5] = 7;
    current_score = 24;
}

// What LoadPrefs found, as start-up sees it: the settings, and the board after the restore rule.
void load_from_start(const char *name = "prefs.txt")
{
    clear_saved_game();
    LoadPrefs(name);
}

// A board filled from a seeded stream, with some empty squares, for round trips.
void deal_varied_game(unsigned int seed)
{
    dovra::srand(seed);
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            board[x][y] = dovra::_lrand() % 3 == 0 ? EMPTY : dovra::_lrand() % PIECE_KINDS + 1;
    current_score = 12345;
}

// The three preview kinds that a fresh get_handfull gives after srand(seed).
std::vector<int> handfull_after(unsigned int seed)
{
    dovra::srand(seed);
    std::vector<int> kinds;
    for (int i = 0; i < BATCH_SIZE; i++)
        kinds.push_back(dovra::_lrand() % PIECE_KINDS + 1);
    return kinds;
}

std::vector<int> batch()
{
    return {next_batch[0], next_batch[1], next_batch[2]};
}

// ---------------------------------------------------------------------------------------------
// Writing

TEST_F(PrefsFile, ExampleFileByteForByte)
{
    deal_example_game();
    SavePrefs();
    // 5 + 2 + 7 + 24 = 38, and 38 XOR 0x6C2A = 27660.
    EXPECT_EQ(read_file("prefs.txt"), SETTINGS_PART +
        "cell03 = 5" EOL
        "cell40 = 2" EOL
        "cell77 = 7" EOL
        "current_score = 24" EOL
        "checksum = 27660" EOL);
    EXPECT_FALSE(file_exists("prefs.txt.tmp"));
}

TEST_F(PrefsFile, FullBoardEndsAfterTheSoundNames)
{
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            board[x][y] = 1 + (x + y) % PIECE_KINDS;
    current_score = 99;
    SavePrefs();
    EXPECT_EQ(read_file("prefs.txt"), SETTINGS_PART);
}

TEST_F(PrefsFile, EmptyBoardWritesOnlyScoreAndMask)
{
    current_score = 0;
    SavePrefs();
    EXPECT_EQ(read_file("prefs.txt"), SETTINGS_PART + "current_score = 0" EOL "checksum = 27690" EOL);
}

TEST_F(PrefsFile, SettingsAndNamesWrittenAsStored)
{
    cell_size = 32;
    display_preview = 0;
    sound_enabled = -7;
    std::strcpy(sound_name[1], "");
    std::strcpy(sound_name[3], "C:\\sounds\\my zip.wav  ");
    for (int x = 0; x < BOARD_SIZE; x++)
        for (int y = 0; y < BOARD_SIZE; y++)
            board[x][y] = 3;
    SavePrefs();
    EXPECT_EQ(read_file("prefs.txt"),
        "# Preferences file for Dovra" EOL
        "cell_size = 32" EOL
        "display_preview = 0" EOL
        "sound_enabled = -7" EOL
        "sound00 = move.wav" EOL
        "sound01 = " EOL
        "sound02 = drop.wav" EOL
        "sound03 = C:\\sounds\\my zip.wav  " EOL
        "sound04 = gameover.wav" EOL
        "sound05 = winner.wav" EOL);
}

TEST_F(PrefsFile, SaveReplacesTheWholeOldFile)
{
    write_file("prefs.txt", std::string(5000, 'x') + "\n");
    deal_example_game();
    SavePrefs();
    const std::string text = read_file("prefs.txt");
    EXPECT_EQ(text.find('x'), std::string::npos);
    EXPECT_EQ(text.rfind("checksum = 27660" EOL), text.size() - std::strlen("checksum = 27660" EOL));
}

TEST_F(PrefsFile, ChecksumWrapsAroundLikeThirtyTwoBits)
{
    board[2][2] = 7;
    board[3][3] = 6;
    current_score = INT_MAX;
    SavePrefs();
    // INT_MAX + 13 wraps to INT_MIN + 12; XOR with the mask keeps the sign bit.
    const int expected = static_cast<int>(0x8000000Cu ^ 0x6C2Au);
    EXPECT_NE(read_file("prefs.txt").find("checksum = " + std::to_string(expected) + EOL), std::string::npos);

    std::memset(board, 0, sizeof board);
    current_score = 0;
    load_from_start();
    ASSERT_EQ(restore_saved_game(), 1);
    EXPECT_EQ(board[2][2], 7);
    EXPECT_EQ(board[3][3], 6);
    EXPECT_EQ(current_score, INT_MAX);
}

// Any obstruction in the way of the new file leaves the old one as it was and no temporary behind.
TEST_F(PrefsFile, UnwritableTemporaryLeavesOldFileIntact)
{
    write_file("prefs.txt", "cell_size = 32\n");
    std::filesystem::create_directory("prefs.txt.tmp");
    deal_example_game();
    SavePrefs();
    EXPECT_EQ(read_file("prefs.txt"), "cell_size = 32\n");
    EXPECT_TRUE(std::filesystem::is_directory("prefs.txt.tmp"));
}

TEST_F(PrefsFile, DirectoryInPlaceOfTheFileStaysAndNoTemporaryRemains)
{
    std::filesystem::create_directory("prefs.txt");
    write_file("prefs.txt/keep", "keep");
    deal_example_game();
    SavePrefs();
    EXPECT_TRUE(std::filesystem::is_directory("prefs.txt"));
    EXPECT_EQ(read_file("prefs.txt/keep"), "keep");
    EXPECT_FALSE(file_exists("prefs.txt.tmp"));
}

// ---------------------------------------------------------------------------------------------
// Reading back what was written

TEST_F(PrefsFile, ExampleFileRestoresTheGame)
{
    deal_example_game();
    SavePrefs();
    std::memset(board, 0, sizeof board);
    board[1][1] = 4;
    current_score = 0;

    load_from_start();
    EXPECT_EQ(saved_checksum, 27660);
    EXPECT_EQ(checksum, 38);
    dovra::srand(99);
    ASSERT_EQ(restore_saved_game(), 1);
    EXPECT_EQ(board[0][3], 5);
    EXPECT_EQ(board[4][4], 2);
    EXPECT_EQ(board[8][5], 7);
    EXPECT_EQ(board[1][1], EMPTY);
    EXPECT_EQ(free_cells(), SQUARES - 3);
    EXPECT_EQ(current_score, 24);
    EXPECT_EQ(batch(), handfull_after(99));
}

TEST_F(PrefsFile, SavedGameRestoredSquareForSquare)
{
    for (unsigned int seed : {1u, 2u, 3u, 42u}) {
        deal_varied_game(seed);
        ASSERT_GT(free_cells(), 0);
        int expected[BOARD_SIZE][BOARD_SIZE];
        std::memcpy(expected, board, sizeof board);
        SavePrefs();

        NewGame();
        load_from_start();
        ASSERT_EQ(restore_saved_game(), 1) << "seed " << seed;
        EXPECT_EQ(std::memcmp(expected, board, sizeof board), 0) << "seed " << seed;
        EXPECT_EQ(current_score, 12345);
    }
}

TEST_F(PrefsFile, SettingsAndNamesRoundTrip)
{
    cell_size = 32;
    display_preview = 0;
    sound_enabled = 1;
    std::strcpy(sound_name[0], "step sound.wav");
    std::strcpy(sound_name[2], "");
    std::strcpy(sound_name[5], "sounds/fanfare.wav");
    SavePrefs();

    start_up_state();
    load_from_start();
    EXPECT_EQ(cell_size, 32);
    EXPECT_EQ(display_preview, 0);
    EXPECT_EQ(sound_enabled, 1);
    EXPECT_STREQ(sound_name[0], "step sound.wav");
    EXPECT_STREQ(sound_name[1], "woops.wav");
    EXPECT_STREQ(sound_name[2], "");
    EXPECT_STREQ(sound_name[5], "sounds/fanfare.wav");
}

TEST_F(PrefsFile, CrLfAndLfReadAlike)
{
    const std::string lines[] = {
        "cell_size = 32", "display_preview = 0", "sound_enabled = 1", "sound03 = boom.wav",
        "cell03 = 5", "cell40 = 2", "cell77 = 7", "current_score = 24", "checksum = 27660",
    };
    for (const char *eol : {"\n", "\r\n"}) {
        std::string text;
        for (const std::string &l : lines)
            text += l + eol;
        write_file("prefs.txt", text);
        start_up_state();
        load_from_start();
        EXPECT_EQ(cell_size, 32);
        EXPECT_EQ(display_preview, 0);
        EXPECT_EQ(sound_enabled, 1);
        EXPECT_STREQ(sound_name[3], "boom.wav");
        EXPECT_EQ(restore_saved_game(), 1);
        EXPECT_EQ(board[8][5], 7);
        EXPECT_EQ(current_score, 24);
    }
}

TEST_F(PrefsFile, LineOrderDoesNotMatter)
{
    write_file("prefs.txt", "checksum = 27660\ncell77 = 7\ncurrent_score = 24\ncell40 = 2\ncell03 = 5\n");
    load_from_start();
    ASSERT_EQ(restore_saved_game(), 1);
    EXPECT_EQ(board[0][3], 5);
    EXPECT_EQ(current_score, 24);
}

// ---------------------------------------------------------------------------------------------
// Saved games that must not come back

struct Damage {
    const char *what;
    std::function<std::string(const std::string &)> edit;
};

std::string replaced(const std::string &text, const std::string &from, const std::string &to)
{
    std::string s = text;
    const size_t at = s.find(from);
    if (at != std::string::npos)
        s.replace(at, from.size(), to);
    return s;
}

void PrintTo(const Damage &d, std::ostream *os)
{
    *os << d.what;
}

class DamagedGame : public StoreTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedGame, IsNotRestoredButSettingsApply)
{
    deal_example_game();
    cell_size = 32;
    SavePrefs();
    write_file("prefs.txt", GetParam().edit(read_file("prefs.txt")));

    start_up_state();
    board[6][6] = 1;
    current_score = 3;
    load_from_start();
    EXPECT_EQ(restore_saved_game(), 0);
    EXPECT_EQ(board[6][6], 1);
    EXPECT_EQ(board[0][3], EMPTY);
    EXPECT_EQ(current_score, 3);
    EXPECT_EQ(cell_size, 32);
}

INSTANTIATE_TEST_SUITE_P(PrefsFile, DamagedGame, ::testing::Values(
    Damage{"changed cell", [](const std::string &t) { return replaced(t, "cell40 = 2", "cell40 = 3"); }},
    Damage{"changed score", [](const std::string &t) { return replaced(t, "current_score = 24", "current_score = 25"); }},
    Damage{"changed checksum", [](const std::string &t) { return replaced(t, "checksum = 27660", "checksum = 27661"); }},
    Damage{"duplicated cell line", [](const std::string &t) { return replaced(t, "cell40 = 2", "cell40 = 2" EOL "cell40 = 2"); }},
    Damage{"missing checksum", [](const std::string &t) { return replaced(t, "checksum = 27660", ""); }},
    // Both out-of-range cells keep the sum at 38, so only the range check can stop them.
    Damage{"cell of kind 8", [](const std::string &t) {
        return replaced(replaced(t, "cell40 = 2", "cell40 = 8"), "current_score = 24", "current_score = 18"); }},
    Damage{"negative cell", [](const std::string &t) {
        return replaced(replaced(t, "cell40 = 2", "cell40 = -1"), "current_score = 24", "current_score = 27"); }},
    // The sum wraps round to 38 as well.
    Damage{"cell of int min", [](const std::string &t) {
        return replaced(replaced(t, "cell40 = 2", "cell40 = -2147483648"), "current_score = 24",
                        "current_score = -2147483622"); }}),
    [](const ::testing::TestParamInfo<Damage> &info) {
        std::string name;
        for (const char *p = info.param.what; *p; p++)
            name += (*p == ' ' || *p == '-') ? '_' : *p;
        return name;
    });

TEST_F(PrefsFile, DuplicatedCellLineKeepsTheLastValueAndAddsBoth)
{
    write_file("prefs.txt", "cell05 = 3\ncell05 = 4\n");
    load_from_start();
    EXPECT_EQ(saved_board[5], 4);
    EXPECT_EQ(checksum, 7);
}

TEST_F(PrefsFile, SettingsOnlyRestoresNoGame)
{
    write_file("prefs.txt", "cell_size = 32\ndisplay_preview = 0\nsound_enabled = 1\n");
    load_from_start();
    EXPECT_EQ(cell_size, 32);
    EXPECT_EQ(restore_saved_game(), 0);
}

TEST_F(PrefsFile, MaskAloneRestoresEmptyBoardWithScoreZero)
{
    write_file("prefs.txt", "cell_size = 16\nchecksum = 27690\n");
    NewGame();
    current_score = 50;
    load_from_start();
    ASSERT_EQ(restore_saved_game(), 1);
    EXPECT_EQ(free_cells(), SQUARES);
    EXPECT_EQ(current_score, 0);
}

// Restoring clears no line and caps no score.
TEST_F(PrefsFile, SavedLineOfFiveAndBigScoreComeBackAsTheyAre)
{
    write_file("prefs.txt", "cell00 = 7\ncell09 = 7\ncell18 = 7\ncell27 = 7\ncell36 = 7\ncurrent_score = 100000\n"
                            "checksum = " + std::to_string((35 + 100000) ^ CHECKSUM_MASK) + "\n");
    load_from_start();
    ASSERT_EQ(restore_saved_game(), 1);
    EXPECT_EQ(free_cells(), SQUARES - 5);
    EXPECT_EQ(board[4][0], 7);
    EXPECT_EQ(current_score, 100000);
}

TEST_F(PrefsFile, MissingFileChangesNothing)
{
    load_from_start("no such file.txt");
    EXPECT_EQ(cell_size, 16);
    EXPECT_EQ(display_preview, 1);
    EXPECT_EQ(sound_enabled, 0);
    EXPECT_STREQ(sound_name[4], "gameover.wav");
    EXPECT_EQ(restore_saved_game(), 0);
}

TEST_F(PrefsFile, DirectoryAsFileChangesNothing)
{
    std::filesystem::create_directory("prefs.txt");
    load_from_start();
    EXPECT_EQ(cell_size, 16);
    EXPECT_EQ(restore_saved_game(), 0);
}

TEST_F(PrefsFile, ClearSavedGameEmptiesTheBuffers)
{
    for (int i = 0; i < SQUARES; i++)
        saved_board[i] = i;
    checksum = 5;
    saved_checksum = 6;
    saved_current_score = 7;
    clear_saved_game();
    for (int i = 0; i < SQUARES; i++)
        ASSERT_EQ(saved_board[i], 0);
    EXPECT_EQ(checksum, 0);
    EXPECT_EQ(saved_checksum, 0);
    EXPECT_EQ(saved_current_score, 0);
    EXPECT_EQ(restore_saved_game(), 0);
}

// ---------------------------------------------------------------------------------------------
// Single lines of a hand-edited file

struct LineCase {
    const char *name;
    std::string text;
    std::function<void()> check;
};

void PrintTo(const LineCase &c, std::ostream *os)
{
    *os << c.name;
}

class HandEditedLine : public StoreTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(HandEditedLine, ReadsAsDocumented)
{
    saved_board[5] = 4;  // shows whether a line stores into entry 5
    write_file("prefs.txt", GetParam().text);
    LoadPrefs("prefs.txt");
    GetParam().check();
}

void expect_untouched()
{
    EXPECT_EQ(cell_size, 16);
    EXPECT_EQ(display_preview, 1);
    EXPECT_EQ(sound_enabled, 0);
    EXPECT_EQ(checksum, 0);
    EXPECT_EQ(saved_checksum, 0);
    EXPECT_EQ(saved_current_score, 0);
    EXPECT_EQ(saved_board[5], 4);
    EXPECT_STREQ(sound_name[0], "move.wav");
    EXPECT_STREQ(sound_name[1], "woops.wav");
}

INSTANTIATE_TEST_SUITE_P(PrefsFile, HandEditedLine, ::testing::Values(
    LineCase{"cell_zero", "cell05 = 0\n", [] { EXPECT_EQ(saved_board[5], 0); EXPECT_EQ(checksum, 0); }},
    LineCase{"key_as_substring", "cell100 = 3\n", [] { EXPECT_EQ(saved_board[10], 3); EXPECT_EQ(checksum, 3); }},
    LineCase{"longer_key", "cell_sizes = 32\n", [] { EXPECT_EQ(cell_size, 32); }},
    LineCase{"no_equals_sign", "cell_size 32\n", expect_untouched},
    LineCase{"no_blanks", "cell_size=32\n", [] { EXPECT_EQ(cell_size, 32); }},
    LineCase{"text_around", "xx cell_size = 32 yy\n", [] { EXPECT_EQ(cell_size, 32); }},
    LineCase{"text_before_equals", "cell_size is now = 32\n", [] { EXPECT_EQ(cell_size, 32); }},
    LineCase{"tab_before_number", "cell_size =\t 32\n", [] { EXPECT_EQ(cell_size, 32); }},
    LineCase{"blank_then_hash", " # note\n", expect_untouched},
    LineCase{"blank_then_hash_with_key", " # cell_size = 32\n", [] { EXPECT_EQ(cell_size, 32); }},
    LineCase{"comment", "# cell_size = 32\n", expect_untouched},
    LineCase{"key_is_case_sensitive", "Cell_Size = 32\n", expect_untouched},
    LineCase{"double_quotes", "sound01 = \"my sound.wav\"\n", [] { EXPECT_STREQ(sound_name[1], "my sound.wav"); }},
    LineCase{"single_quotes", "sound01 = 'my sound.wav'\n", [] { EXPECT_STREQ(sound_name[1], "my sound.wav"); }},
    LineCase{"trailing_blanks", "sound01 = name.wav   \n", [] { EXPECT_STREQ(sound_name[1], "name.wav   "); }},
    LineCase{"trailing_blanks_crlf", "sound01 = name.wav   \r\n", [] { EXPECT_STREQ(sound_name[1], "name.wav   "); }},
    LineCase{"empty_name", "sound01 = \n", [] { EXPECT_STREQ(sound_name[1], ""); }},
    LineCase{"empty_name_at_eof", "sound01 =", [] { EXPECT_STREQ(sound_name[1], ""); }},
    LineCase{"high_byte_in_name", "sound01 = abc\xE9" "def.wav\n", [] { EXPECT_STREQ(sound_name[1], "abc\xE9" "def.wav"); }},
    LineCase{"tab_ends_name", "sound01 = abc\tdef\n", [] { EXPECT_STREQ(sound_name[1], "abc"); }},
    LineCase{"sound_key_comes_first", "sound02 = x.wav cell_size = 32\n",
             [] { EXPECT_STREQ(sound_name[2], "x.wav cell_size = 32"); EXPECT_EQ(cell_size, 16); }},
    LineCase{"first_occurrence_counts", "cell07 cell07 = 5\n", [] { EXPECT_EQ(saved_board[7], 5); }},
    LineCase{"settings", "display_preview = 0\nsound_enabled = 1\n",
             [] { EXPECT_EQ(display_preview, 0); EXPECT_EQ(sound_enabled, 1); }},
    LineCase{"plus_sign", "display_preview = +7\n", [] { EXPECT_EQ(display_preview, 7); }},
    LineCase{"score_adds_to_sum", "current_score = 24\ncell03 = 5\n",
             [] { EXPECT_EQ(saved_current_score, 24); EXPECT_EQ(saved_board[3], 5); EXPECT_EQ(checksum, 29); }},
    LineCase{"checksum_is_not_summed", "checksum = 123\n", [] { EXPECT_EQ(saved_checksum, 123); EXPECT_EQ(checksum, 0); }},
    // A matched key with no number takes the line: later keys are not tried and the value stays.
    LineCase{"no_digits_still_matches", "sound_enabled = x cell05 = 3\n",
             [] { EXPECT_EQ(sound_enabled, 0); EXPECT_EQ(saved_board[5], 4); }},
    LineCase{"sign_only", "display_preview = -\n", expect_untouched},
    LineCase{"cell_without_number_adds_its_entry", "cell05 =\n", [] { EXPECT_EQ(saved_board[5], 4); EXPECT_EQ(checksum, 4); }},
    LineCase{"digits_then_text", "cell_size = 24px\n", [] { EXPECT_EQ(cell_size, 24); }},
    LineCase{"cell_size_lowest", "cell_size = 1\n", [] { EXPECT_EQ(cell_size, 1); }},
    LineCase{"cell_size_highest", "cell_size = 256\n", [] { EXPECT_EQ(cell_size, 256); }},
    LineCase{"cell_size_zero", "cell_size = 0\n", expect_untouched},
    LineCase{"cell_size_negative", "cell_size = -16\n", expect_untouched},
    LineCase{"cell_size_too_big", "cell_size = 257\ndisplay_preview = 0\n",
             [] { EXPECT_EQ(cell_size, 16); EXPECT_EQ(display_preview, 0); }},
    LineCase{"largest_int", "checksum = 2147483647\n", [] { EXPECT_EQ(saved_checksum, INT_MAX); }},
    LineCase{"smallest_int", "checksum = -2147483648\n", [] { EXPECT_EQ(saved_checksum, INT_MIN); }},
    LineCase{"just_past_largest", "checksum = 2147483648\n", expect_untouched},
    LineCase{"just_past_smallest", "checksum = -2147483649\n", expect_untouched},
    LineCase{"huge_number", "cell_size = 99999999999999999999999999999999\n", expect_untouched},
    LineCase{"huge_score_adds_old_value", "current_score = 5\ncurrent_score = 123456789012\n",
             [] { EXPECT_EQ(saved_current_score, 5); EXPECT_EQ(checksum, 10); }},
    LineCase{"huge_cells_wrap", "cell01 = 2147483647\ncell02 = 2147483647\ncell03 = 2\n",
             [] { EXPECT_EQ(checksum, 0); }},
    LineCase{"leading_zeros", "cell_size = 0000000000000000000000032\n", [] { EXPECT_EQ(cell_size, 32); }}),
    [](const ::testing::TestParamInfo<LineCase> &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Long lines, long names and junk

// Lines are read whole up to this many characters; a longer one arrives in pieces of this size.
constexpr size_t PIECE = 1023;

TEST_F(PrefsFile, LineLongerThanAPieceIsTwoLines)
{
    // Piece one: a name line filling the piece; piece two: a setting of its own.
    const std::string first = "sound00 = " + std::string(PIECE - 10 - 259, ' ') + std::string(259, 'n');
    const std::string second = "cell_size = 32" + std::string(59, 'b');
    ASSERT_EQ(first.size(), PIECE);
    write_file("prefs.txt", first + second + "\n");
    LoadPrefs("prefs.txt");
    EXPECT_EQ(sound_name[0], std::string(259, 'n'));
    EXPECT_EQ(cell_size, 32);
}

TEST_F(PrefsFile, SecondPieceBeginningWithHashIsAComment)
{
    write_file("prefs.txt", "sound00 = " + std::string(PIECE - 10, 'n') + "# cell_size = 32\n");
    LoadPrefs("prefs.txt");
    EXPECT_EQ(sound_name[0], std::string(259, 'n'));
    EXPECT_EQ(cell_size, 16);
}

TEST_F(PrefsFile, VeryLongLinesAreReadPieceByPiece)
{
    write_file("prefs.txt", std::string(100000, 'z') + "\ncell_size = 24\n");
    LoadPrefs("prefs.txt");
    EXPECT_EQ(cell_size, 24);
}

TEST_F(PrefsFile, BinaryJunkIsHarmless)
{
    dovra::srand(2024);
    for (int round = 0; round < 20; round++) {
        std::string junk = random_junk(3000);
        // Real keys among the junk, so that the parsers run on it.
        junk += "\x01sound02 = \xff\x00 x\ncell_size = \x80\ncell44 = 9\x00\ncurrent_score = -\n";
        junk += std::string("cell03 = \0 5\n", 13);
        write_file("prefs.txt", junk);
        start_up_state();
        LoadPrefs("prefs.txt");
        for (int slot = 0; slot < SOUND_SLOTS; slot++)
            ASSERT_LT(std::strlen(sound_name[slot]), static_cast<size_t>(SOUND_NAME_LEN));
        restore_saved_game();
    }
}

// ---------------------------------------------------------------------------------------------
// The two parsers on their own

TEST(ReadInteger, MatchesAndParses)
{
    int v = 77;
    EXPECT_EQ(ReadInteger("size = 5\n", "size", &v), 1);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(ReadInteger("size = -5", "size", &v), 1);
    EXPECT_EQ(v, -5);
    EXPECT_EQ(ReadInteger("size = ", "size", &v), 1);
    EXPECT_EQ(v, -5);
    EXPECT_EQ(ReadInteger("size 9", "size", &v), 0);
    EXPECT_EQ(ReadInteger("= 9 size", "size", &v), 0);
    EXPECT_EQ(ReadInteger("", "size", &v), 0);
    EXPECT_EQ(v, -5);
}

TEST(ReadString, KeepsWithinMaxlen)
{
    char name[8];
    std::memset(name, '?', sizeof name);
    EXPECT_EQ(ReadString(name, "k = abcdefghijk\n", "k", 8), 1);
    EXPECT_STREQ(name, "abcdefg");

    const std::string long_line = "k = " + std::string(400, 'a');
    char big[SOUND_NAME_LEN];
    EXPECT_EQ(ReadString(big, long_line.c_str(), "k", SOUND_NAME_LEN), 1);
    EXPECT_EQ(std::strlen(big), static_cast<size_t>(SOUND_NAME_LEN - 1));

    std::strcpy(name, "keep");
    EXPECT_EQ(ReadString(name, "other = x", "k2", 8), 0);
    EXPECT_STREQ(name, "keep");
    EXPECT_EQ(ReadString(name, "k = \"'\"'", "k", 8), 1);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(ReadString(name, "k = a\"b", "k", 8), 1);
    EXPECT_STREQ(name, "a");
}

}  // namespace
