// score_dialogs_test.cpp: the New High Score and Top Scores dialogs from the program's own templates, run by the
// system's dialog manager and played as a player plays them: the texts they show, read back, and the name typed,
// stored however the dialog is ended.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "board.h"
#include "core/store_fixture.h"
#include "resource.h"
#include "score_dialogs.h"
#include "scores.h"
#include "win32/modal_player.h"

namespace {

const char NEW_HIGH_SCORE[] = "New High Score";
const char TOP_SCORES[] = "Top Scores";

class ScoreDialogs : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "DialogOwner";
        ASSERT_NE(RegisterClassExA(&wc), 0);
        owner_ = CreateWindowExA(0, "DialogOwner", "Owner", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, wc.hInstance, NULL);
        ASSERT_NE(owner_, nullptr);
    }

    void TearDown() override
    {
        DestroyWindow(owner_);
        UnregisterClassA("DialogOwner", GetModuleHandleA(NULL));
        StoreTest::TearDown();
    }

    // Runs the dialog to its end, played by these steps; all of them must have been played.
    void run(void (*show)(HINSTANCE, HWND), std::vector<modal_step> steps)
    {
        modal_player player(std::move(steps));
        show(GetModuleHandleA(NULL), owner_);
        EXPECT_EQ(player.steps_left(), 0u) << "the dialog ended before every step was played";
        ASSERT_EQ(player.windows().size(), 1u);
        EXPECT_EQ(player.windows()[0].owner, owner_);
    }

    HWND owner_ = NULL;
};

void fill_table()
{
    static const char* const names[] = {"Ann", "Bob", "Cy", "Di", "Ed", "Flo", "Gus", "Hal", "Ida", "Jo"};
    for (int i = 0; i < SCORE_ROWS; i++) {
        scores[i].score = 1000 - 100 * i;
        std::strcpy(scores[i].name, names[i]);
    }
}

}  // namespace

// ---- New High Score -----------------------------------------------------------------------------

TEST_F(ScoreDialogs, NewHighScoreShowsTheScoreAndTheNameTypedLast)
{
    current_score = 350;
    std::strcpy(newname, "Kim");
    std::string score_shown, name_shown;

    run(show_new_high_score, {at(NEW_HIGH_SCORE, [&](HWND d) {
                                  score_shown = item_text(d, IDC_YOUR_SCORE);
                                  name_shown = item_text(d, IDC_NAME_EDIT);
                              }),
                              press_ok(NEW_HIGH_SCORE)});

    EXPECT_EQ(score_shown, "350");
    EXPECT_EQ(name_shown, "Kim");
    EXPECT_EQ(read_file("scores.txt"), scores_file({"350 Kim"}, 0));
}

namespace {
struct ending_case {
    const char* name;
    std::vector<modal_step> ending;  // after "Ann" is typed
};
}  // namespace

class NewHighScoreEnded : public ScoreDialogs, public ::testing::WithParamInterface<ending_case> {};

// Esc leaves the dialog open (it has no cancel); every way of ending it stores the name typed so far, once.
TEST_P(NewHighScoreEnded, StoresTheNameTypedOnce)
{
    current_score = 350;
    std::vector<modal_step> steps = {type_name(NEW_HIGH_SCORE, "Ann")};
    steps.insert(steps.end(), GetParam().ending.begin(), GetParam().ending.end());

    run(show_new_high_score, steps);

    EXPECT_EQ(read_file("scores.txt"), scores_file({"350 Ann"}, 0));
    EXPECT_STREQ(scores[0].name, "Ann");
    EXPECT_EQ(scores[1].score, 0) << "stored twice";
}

INSTANTIATE_TEST_SUITE_P(
    Endings, NewHighScoreEnded,
    ::testing::Values(ending_case{"ok", {press_ok(NEW_HIGH_SCORE)}},
                      ending_case{"escape_then_the_close_box",
                                  {press_escape(NEW_HIGH_SCORE), at(NEW_HIGH_SCORE, [](HWND) {}),
                                   close_box(NEW_HIGH_SCORE)}}),
    [](const ::testing::TestParamInfo<ending_case>& info) { return std::string(info.param.name); });

// As the session's end or a close of the main window ends it: at once, the name stored; a close of its own that
// may follow stores nothing again.
TEST_F(ScoreDialogs, NewHighScoreEndsFromOutsideAsItsOkDoes)
{
    current_score = 350;
    std::string stored_then;
    int visible = -1;

    run(show_new_high_score, {type_name(NEW_HIGH_SCORE, "Ann"), at(NEW_HIGH_SCORE, [&](HWND d) {
                                  end_score_dialog();
                                  stored_then = read_file("scores.txt");
                                  visible = IsWindowVisible(d);
                                  SendMessageA(d, WM_CLOSE, 0, 0);
                              })});

    EXPECT_EQ(stored_then, scores_file({"350 Ann"}, 0));
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(read_file("scores.txt"), scores_file({"350 Ann"}, 0));
}

// The name is taken as it is typed, at most 58 characters, and once more as the dialog closes, at most 59; the
// table keeps 39.
TEST_F(ScoreDialogs, LongNamesAreCutAsTypedAsClosedAndAsStored)
{
    current_score = 5;
    std::string while_typing;

    run(show_new_high_score, {type_name(NEW_HIGH_SCORE, std::string(70, 'y')),
                              at(NEW_HIGH_SCORE, [&](HWND) { while_typing = newname; }), press_ok(NEW_HIGH_SCORE)});

    EXPECT_EQ(while_typing, std::string(58, 'y'));
    EXPECT_EQ(std::string(newname), std::string(59, 'y'));
    EXPECT_EQ(std::string(scores[0].name), std::string(39, 'y'));
}

// ---- Top Scores ---------------------------------------------------------------------------------

TEST_F(ScoreDialogs, TopScoresShowsEachRowsTextAndScore)
{
    fill_table();
    std::memset(scores[0].name, 'z', 39);
    scores[0].name[39] = '\0';
    scores[0].score = 2147483647;
    scores[9] = {0, ""};
    hilite_score = 0;
    std::vector<std::string> names, points;

    run(show_top_scores, {at(TOP_SCORES, [&](HWND d) {
                              for (int i = 0; i < SCORE_ROWS; i++) {
                                  names.push_back(item_text(d, IDC_ROW_NAME + i));
                                  points.push_back(item_text(d, IDC_ROW_SCORE + i));
                              }
                          })});

    for (int i = 0; i < SCORE_ROWS; i++) {
        char text[ROW_TEXT_LEN];
        score_row_text(i, text);
        EXPECT_EQ(names[static_cast<size_t>(i)], text) << "row " << i;
        EXPECT_EQ(points[static_cast<size_t>(i)], std::to_string(scores[i].score)) << "row " << i;
    }
    EXPECT_EQ(names[0], "--> " + std::string(39, 'z'));
}

// As a close of the main window under it ends it.
TEST_F(ScoreDialogs, TopScoresEndsFromOutsideAsItsOkDoes)
{
    int visible = -1;

    run(show_top_scores, {at(TOP_SCORES, [&](HWND d) {
                              end_score_dialog();
                              visible = IsWindowVisible(d);
                          })});

    EXPECT_EQ(visible, 0);
}

TEST_F(ScoreDialogs, TopScoresEscapeLeavesItOpenAndTheCloseBoxEndsIt)
{
    run(show_top_scores, {press_escape(TOP_SCORES), at(TOP_SCORES, [](HWND) {}), close_box(TOP_SCORES)});

    // Showing the table never writes it.
    EXPECT_FALSE(file_exists("scores.txt"));
}
