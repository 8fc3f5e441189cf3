// session_end_test.cpp: the Windows session ends while a modal window is open: what its OK would still
// do is done first, so the game saved is the one the player would have had.
#include <algorithm>

#include "shell_fixture.h"

class SessionEndUnder;

namespace {

struct saved_at_session_end {
    std::string prefs;
    std::string scores;
};

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
    void (*open)(SessionEndUnder& test, headless::dialog_action end_session);  // opens the window; it ends the session
    const char* game;          // saved_game() of prefs.txt at the session's end
    const char* first_score;   // the first line of scores.txt then; none when there is no such file
};

void PrintTo(const session_end_case& c, std::ostream* os)
{
    *os << c.name;
}

}  // namespace

class SessionEndUnder : public ShellTest, public ::testing::WithParamInterface<session_end_case> {
public:
    using ShellTest::click_square;
    using ShellTest::start_with;
    using ShellTest::tick;
};

namespace {

// A row of four and a fifth piece that completes it: the move empties the board.
const std::vector<std::string> LAST_LINE = {"1111.....", ".........", "....1...."};

// Moves the lone piece of a full board without lines to the corner; the drops end the game.
void fill_the_board(SessionEndUnder& test, int score)
{
    std::vector<std::string> rows = no_line_rows();
    rows[0][0] = '.';
    test.start_with(rows, score);
    test.click_square(1, 0);
    test.click_square(0, 0);
    test.tick(5);
}

void new_game_with_24_points(SessionEndUnder& test)
{
    test.start_with(rows_from_top({"5........", ".........", "..2......"}), 24);
    menu_command(IDM_NEWGAME);
}

const session_end_case CASES[] = {
    {"bonus_box",
     [](SessionEndUnder& test, headless::dialog_action end) {
         test.start_with(rows_from_top(LAST_LINE));
         headless::script_message_box({end});
         test.click_square(4, 2);
         test.click_square(4, 0);
         test.tick(3);
     },
     "score 510, 3 pieces", ""},
    {"new_games_new_high_score",
     [](SessionEndUnder& test, headless::dialog_action end) {
         headless::script_dialog(IDD_NEWHIGHSCORE,
                                 {headless::type_text(IDC_NAME_EDIT, "Ann"), end, headless::press_ok()});
         new_game_with_24_points(test);
     },
     "score 0, 3 pieces", "24 Ann\n"},
    {"new_games_top_scores",
     [](SessionEndUnder& test, headless::dialog_action end) {
         answer_new_high_score("Ann");
         headless::script_dialog(IDD_TOPSCORES, {end, headless::press_ok()});
         new_game_with_24_points(test);
     },
     "score 0, 3 pieces", "24 Ann\n"},
    {"game_overs_new_high_score",
     [](SessionEndUnder& test, headless::dialog_action end) {
         headless::script_dialog(IDD_NEWHIGHSCORE,
                                 {headless::type_text(IDC_NAME_EDIT, "Bo"), end, headless::press_ok()});
         fill_the_board(test, 120);
     },
     "no game", "120 Bo\n"},
    {"game_overs_top_scores",
     [](SessionEndUnder& test, headless::dialog_action end) {
         headless::script_dialog(IDD_TOPSCORES, {end, headless::press_ok()});
         fill_the_board(test, 0);
     },
     "no game", ""},
    {"about_box",
     [](SessionEndUnder& test, headless::dialog_action end) {
         test.start_with(rows_from_top({"5........", ".........", "..2......"}), 24);
         headless::script_message_box({end});
         menu_command(IDM_ABOUT);
     },
     "score 24, 2 pieces", ""},
};

}  // namespace


TEST_P(SessionEndUnder, SavesWhatTheWindowsOkWouldLeave)
{
    saved_at_session_end then;
    GetParam().open(*this, headless::call([&then] {
        headless::send(MyWindow, WM_ENDSESSION, TRUE, 0);
        then = {read_file("prefs.txt"), read_file("scores.txt")};
    }));

    EXPECT_EQ(saved_game(then.prefs), GetParam().game) << then.prefs;
    EXPECT_EQ(then.scores.substr(0, then.scores.find('\n') + 1), GetParam().first_score);
    // The window's own OK, coming after all where the session's end is called off, adds nothing twice.
    SavePrefs();
    EXPECT_EQ(saved_game(read_file("prefs.txt")), saved_game(then.prefs));
    EXPECT_EQ(read_file("scores.txt"), then.scores);
    EXPECT_TRUE(headless::misuses().empty());
}

INSTANTIATE_TEST_SUITE_P(ModalWindows, SessionEndUnder, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<session_end_case>& info) {
                             return std::string(info.param.name);
                         });
