// session_test.cpp: the program's start, and the session's end while a modal window is open: what its OK would
// still do is done first, so the game saved is the one the player would have had, whether the window blocks or not.
#include <algorithm>
#include <cstdio>

#include "core/core_fixture.h"

namespace {

// What prefs.txt holds of the game: "score N, P pieces", or "no game".
std::string saved_game(const std::string& prefs)
{
    const size_t at = prefs.find("current_score = ");
    if (at == std::string::npos)
        return "no game";
    const int pieces = static_cast<int>(std::count(prefs.begin(), prefs.end(), '\n')) - 10 - 2;
    return "score " + std::to_string(std::atoi(prefs.c_str() + at + 16)) + ", " + std::to_string(pieces) + " pieces";
}

struct session_end_case {
    const char* name;
    void (*open)(CoreBase& test, fake::action end_session);  // opens the window; it ends the session
    const char* game;         // saved_game() of prefs.txt at the session's end
    const char* first_score;  // the first line of scores.txt then, "<missing>" without one
};

// A game of 24 points, which enter the table, and two pieces.
const std::vector<std::string> TWO_PIECES = rows_from_top({"5........", ".........", "..2......"});

const session_end_case CASES[] = {
    {"bonus_box",
     [](CoreBase& test, fake::action end) {
         test.start_with(LAST_LINE);
         fake::script("Wow!", {end});
         test.move(4, 2, 4, 0);
         test.tick(3);
     },
     "score 510, 3 pieces", "<missing>"},
    {"new_games_new_high_score",
     [](CoreBase& test, fake::action end) {
         fake::script("New High Score", {{fake::typing, "Ann"}, end, {fake::ok}});
         test.start_with(TWO_PIECES, 24);
         test.menu(IDM_NEWGAME);
     },
     "score 0, 3 pieces", "24 Ann"},
    {"new_games_top_scores",
     [](CoreBase& test, fake::action end) {
         fake::script("New High Score", {{fake::typing, "Ann"}});
         fake::script("Top Scores", {end, {fake::ok}});
         test.start_with(TWO_PIECES, 24);
         test.menu(IDM_NEWGAME);
     },
     "score 0, 3 pieces", "24 Ann"},
    {"game_overs_new_high_score",
     [](CoreBase& test, fake::action end) {
         fake::script("New High Score", {{fake::typing, "Bo"}, end, {fake::ok}});
         test.start_full_but({}, 120);
         test.tick(5);  // the step, the pause and the drops that end the game
     },
     "no game", "120 Bo"},
    {"game_overs_top_scores",
     [](CoreBase& test, fake::action end) {
         fake::script("Top Scores", {end, {fake::ok}});
         test.start_full_but({}, 0);
         test.tick(5);
     },
     "no game", "<missing>"},
    {"about_box",
     [](CoreBase& test, fake::action end) {
         test.start_with(TWO_PIECES, 24);
         fake::script("About Dovra", {end});
         test.menu(IDM_ABOUT);
     },
     "score 24, 2 pieces", "<missing>"},
};

}  // namespace

using SessionEndUnder = CoreCaseTest<session_end_case>;

TEST_P(SessionEndUnder, SavesWhatTheWindowsOkWouldLeave)
{
    std::string prefs_then, scores_then;
    param().open(*this, fake::call([&] {
        session_ends();
        prefs_then = read_file("prefs.txt");
        scores_then = read_file("scores.txt");
    }));

    EXPECT_EQ(saved_game(prefs_then), param().game) << prefs_then;
    EXPECT_EQ(scores_then.substr(0, scores_then.find_first_of("\r\n")), param().first_score);
    // The window's own OK, coming after all where the session's end is called off, adds nothing twice.
    SavePrefs();
    EXPECT_EQ(saved_game(read_file("prefs.txt")), saved_game(prefs_then));
    EXPECT_EQ(read_file("scores.txt"), scores_then);
}

CASES_IN_BOTH_MODES(SessionEndUnder, ::testing::ValuesIn(CASES));

class SessionStart : public CoreBase {
    fake::mode mode() const override { return fake::mode::blocking; }
};

// Without prefs.txt: the table read, a name typed in an earlier run forgotten, a fresh deal and preview.
TEST_F(SessionStart, ReadsTheTableEmptiesTheNameAndDealsAGame)
{
    write_file("scores.txt", "350 Ann\n120 Bob\n0 \n0 \n0 \n0 \n0 \n0 \n0 \n0 \n1\n");
    std::snprintf(newname, sizeof newname, "%s", "left over");

    start();

    EXPECT_EQ(scores[0].score, 350);
    EXPECT_STREQ(scores[0].name, "Ann");
    EXPECT_EQ(scores[1].score, 120);
    EXPECT_EQ(hilite_score, 1);
    EXPECT_STREQ(newname, "");
    EXPECT_EQ(pieces_on_board(), BATCH_SIZE);
    for (int kind : next_batch)
        EXPECT_TRUE(kind >= 1 && kind <= PIECE_KINDS);
}
