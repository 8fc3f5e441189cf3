// score_dialogs_test.cpp: the New High Score and Top Scores dialogs run through the Win32 stand-in.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "board.h"
#include "headless.h"
#include "resource.h"
#include "score_dialogs.h"
#include "scores.h"
#include "core/store_fixture.h"

namespace {

class ScoreDialogs : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        headless::reset();
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = headless::instance();
        wc.lpszClassName = "DialogOwner";
        ASSERT_NE(RegisterClassExA(&wc), 0);
        owner_ = CreateWindowExA(0, "DialogOwner", "Owner", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, headless::instance(), NULL);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override
    {
        headless::reset();
        StoreTest::TearDown();
    }

    HWND owner() const { return owner_; }

    // The record of the run; template -1 when the dialog never opened.
    headless::dialog_run run_new_high_score(std::vector<headless::dialog_action> script)
    {
        return run(IDD_NEWHIGHSCORE, std::move(script), show_new_high_score);
    }

    headless::dialog_run run_top_scores(std::vector<headless::dialog_action> script)
    {
        return run(IDD_TOPSCORES, std::move(script), show_top_scores);
    }

private:
    headless::dialog_run run(int id, std::vector<headless::dialog_action> script, void (*show)(HINSTANCE, HWND))
    {
        const size_t before = headless::dialogs().size();
        headless::script_dialog(id, std::move(script));
        show(headless::instance(), owner_);
        if (headless::dialogs().size() != before + 1) {
            ADD_FAILURE() << "dialog " << id << " did not run";
            headless::dialog_run none{};
            none.template_id = -1;
            return none;
        }
        return headless::dialogs().back();
    }

    HWND owner_ = NULL;
};

std::string text_of(const std::map<int, std::string> &texts, int id)
{
    auto it = texts.find(id);
    return it == texts.end() ? "<no control " + std::to_string(id) + ">" : it->second;
}

int close_requests(HWND dialog)
{
    int n = 0;
    for (const MSG &m : headless::posted())
        if (m.hwnd == dialog && m.message == WM_CLOSE)
            n++;
    return n;
}

void fill_table()
{
    static const char *const names[] = {"Ann", "Bob", "Cy", "Di", "Ed", "Flo", "Gus", "Hal", "Ida", "Jo"};
    for (int i = 0; i < SCORE_ROWS; i++) {
        scores[i].score = 1000 - 100 * i;
        std::strcpy(scores[i].name, names[i]);
    }
}

// ---------------------------------------------------------------------------------------------
// New High Score

TEST_F(ScoreDialogs, NewHighScoreShowsScoreAndLastName)
{
    current_score = 350;
    std::strcpy(newname, "Kim");
    const headless::dialog_run run = run_new_high_score({headless::press_ok()});
    ASSERT_EQ(headless::dialogs().size(), 1u);
    EXPECT_EQ(run.template_id, IDD_NEWHIGHSCORE);
    EXPECT_EQ(run.owner, owner());
    EXPECT_EQ(run.param, 0);
    EXPECT_EQ(text_of(run.texts_after_init, IDC_YOUR_SCORE), "350");
    EXPECT_EQ(text_of(run.texts_after_init, IDC_NAME_EDIT), "Kim");
}

TEST_F(ScoreDialogs, OkPostsCloseAndStoresTheScore)
{
    current_score = 350;
    const headless::dialog_run run = run_new_high_score({headless::type_text(IDC_NAME_EDIT, "AAA"), headless::press_ok()});
    EXPECT_EQ(run.ended, 1);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(close_requests(run.hwnd), 1);
    EXPECT_EQ(scores[0].score, 350);
    EXPECT_STREQ(scores[0].name, "AAA");
    EXPECT_EQ(hilite_score, 0);
    EXPECT_STREQ(newname, "AAA");
    EXPECT_EQ(read_file("scores.txt"), scores_file({"350 AAA"}, 0));
}

TEST_F(ScoreDialogs, TwoGamesGiveTheExampleFile)
{
    current_score = 350;
    run_new_high_score({headless::type_text(IDC_NAME_EDIT, "AAA"), headless::press_ok()});
    current_score = 120;
    const headless::dialog_run second = run_new_high_score({headless::type_text(IDC_NAME_EDIT, "BBB"), headless::press_ok()});
    // The name typed last is offered again.
    EXPECT_EQ(text_of(second.texts_after_init, IDC_NAME_EDIT), "AAA");
    EXPECT_EQ(read_file("scores.txt"), scores_file({"350 AAA", "120 BBB"}, 1));
}

TEST_F(ScoreDialogs, EscapeLeavesTheDialogOpen)
{
    current_score = 350;
    const headless::dialog_run run = run_new_high_score({headless::press_escape()});
    EXPECT_EQ(run.ended, 0);
    EXPECT_EQ(close_requests(run.hwnd), 0);
    EXPECT_EQ(scores[0].score, 0);
    EXPECT_FALSE(file_exists("scores.txt"));
}

TEST_F(ScoreDialogs, CloseBoxStoresTheScoreLikeOk)
{
    fill_table();
    current_score = 700;
    const headless::dialog_run run = run_new_high_score(
        {headless::type_text(IDC_NAME_EDIT, "Lee"), headless::press_escape(), headless::press_close()});
    EXPECT_EQ(run.ended, 1);
    EXPECT_EQ(run.result, 1);
    // Equal scores keep their places; the new one goes below them.
    EXPECT_EQ(hilite_score, 4);
    EXPECT_EQ(scores[3].score, 700);
    EXPECT_STREQ(scores[3].name, "Di");
    EXPECT_EQ(scores[4].score, 700);
    EXPECT_STREQ(scores[4].name, "Lee");
    EXPECT_EQ(scores[5].score, 600);
    EXPECT_STREQ(scores[9].name, "Ida");
    const std::string text = read_file("scores.txt");
    EXPECT_NE(text.find("700 Di" EOL "700 Lee" EOL "600 Ed" EOL), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - std::strlen("200 Ida" EOL "4" EOL)), "200 Ida" EOL "4" EOL);
}

// As the end of the session or a close of the main window ends it; a close of its own may still follow.
TEST_F(ScoreDialogs, EndedFromOutsideStoresTheNameTypedSoFarOnce)
{
    current_score = 350;
    auto end_then_close = [this] {
        end_score_dialog();
        headless::send(GetLastActivePopup(owner()), WM_CLOSE, 0, 0);
    };
    const headless::dialog_run run =
        run_new_high_score({headless::type_text(IDC_NAME_EDIT, "Ann"), headless::call(end_then_close),
                            headless::press_ok()});
    EXPECT_EQ(run.ended, 1);
    EXPECT_EQ(run.actions, 2);
    EXPECT_EQ(read_file("scores.txt"), scores_file({"350 Ann"}, 0));
    EXPECT_EQ(run_top_scores({headless::call(end_score_dialog)}).ended, 1);
}

TEST_F(ScoreDialogs, TypingUpdatesTheNameAtFiftyEightCharacters)
{
    current_score = 5;
    const std::string typed(70, 'x');
    run_new_high_score({headless::type_text(IDC_NAME_EDIT, "first"), headless::type_text(IDC_NAME_EDIT, typed)});
    EXPECT_EQ(std::string(newname), std::string(58, 'x'));
    EXPECT_EQ(scores[0].score, 0);
}

TEST_F(ScoreDialogs, ClosingTakesFiftyNineCharactersAndStoresThirtyNine)
{
    current_score = 5;
    const std::string typed(70, 'y');
    run_new_high_score({headless::type_text(IDC_NAME_EDIT, typed), headless::press_ok()});
    EXPECT_EQ(std::string(newname), std::string(59, 'y'));
    EXPECT_EQ(std::string(scores[0].name), std::string(39, 'y'));
    EXPECT_EQ(read_file("scores.txt").substr(0, 2 + 39 + std::strlen(EOL)), "5 " + std::string(39, 'y') + EOL);
}

TEST_F(ScoreDialogs, UnwritableFileKeepsTheEntryInMemory)
{
    write_file("scores.txt", "9 OLD\n");
    std::filesystem::create_directory("scores.txt.tmp");
    current_score = 40;
    const headless::dialog_run run = run_new_high_score({headless::type_text(IDC_NAME_EDIT, "New"), headless::press_ok()});
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(scores[0].score, 40);
    EXPECT_STREQ(scores[0].name, "New");
    EXPECT_EQ(read_file("scores.txt"), "9 OLD\n");
}

// ---------------------------------------------------------------------------------------------
// Top Scores

TEST_F(ScoreDialogs, TopScoresShowsTheTableAndMarksTheNewest)
{
    fill_table();
    hilite_score = 2;
    const headless::dialog_run run = run_top_scores({headless::press_ok()});
    EXPECT_EQ(run.template_id, IDD_TOPSCORES);
    EXPECT_EQ(run.owner, owner());
    EXPECT_EQ(run.param, 0);
    EXPECT_EQ(run.ended, 1);
    EXPECT_EQ(run.result, 1);
    for (int i = 0; i < SCORE_ROWS; i++) {
        const std::string name = i == 2 ? std::string("--> ") + scores[i].name : std::string(scores[i].name);
        EXPECT_EQ(text_of(run.texts_after_init, IDC_ROW_NAME + i), name) << "row " << i;
        EXPECT_EQ(text_of(run.texts_after_init, IDC_ROW_SCORE + i), std::to_string(1000 - 100 * i)) << "row " << i;
    }
}

TEST_F(ScoreDialogs, TopScoresMarksNothingOutsideTheTable)
{
    fill_table();
    for (int h : {NO_HILITE, SCORE_ROWS, -1, -2147483647}) {
        hilite_score = h;
        const headless::dialog_run run = run_top_scores({headless::press_ok()});
        for (int i = 0; i < SCORE_ROWS; i++)
            EXPECT_EQ(text_of(run.texts_after_init, IDC_ROW_NAME + i), scores[i].name) << "hilite " << h;
    }
}

TEST_F(ScoreDialogs, TopScoresShowsEmptyRowsAndLongNames)
{
    std::memset(scores[0].name, 'z', 39);
    scores[0].name[39] = '\0';
    scores[0].score = 2147483647;
    hilite_score = 0;
    const headless::dialog_run run = run_top_scores({headless::press_ok()});
    EXPECT_EQ(text_of(run.texts_after_init, IDC_ROW_NAME), "--> " + std::string(39, 'z'));
    EXPECT_EQ(text_of(run.texts_after_init, IDC_ROW_SCORE), "2147483647");
    EXPECT_EQ(text_of(run.texts_after_init, IDC_ROW_NAME + 9), "");
    EXPECT_EQ(text_of(run.texts_after_init, IDC_ROW_SCORE + 9), "0");
}

TEST_F(ScoreDialogs, TopScoresEscapeLeavesItOpenAndCloseBoxEndsIt)
{
    const headless::dialog_run open = run_top_scores({headless::press_escape()});
    EXPECT_EQ(open.ended, 0);
    const headless::dialog_run closed = run_top_scores({headless::press_escape(), headless::press_close()});
    EXPECT_EQ(closed.ended, 1);
    EXPECT_EQ(closed.result, 1);
    // Showing the table never writes it.
    EXPECT_FALSE(file_exists("scores.txt"));
}

TEST_F(ScoreDialogs, NewEntryIsMarkedInTheTopScores)
{
    fill_table();
    current_score = 850;
    run_new_high_score({headless::type_text(IDC_NAME_EDIT, "Max"), headless::press_ok()});
    const headless::dialog_run run = run_top_scores({headless::press_ok()});
    EXPECT_EQ(text_of(run.texts_after_init, IDC_ROW_NAME + 2), "--> Max");
    EXPECT_EQ(text_of(run.texts_after_init, IDC_ROW_SCORE + 2), "850");
    EXPECT_EQ(text_of(run.texts_after_init, IDC_ROW_NAME + 3), "Cy");

    // And after a restart, from the file alone.
    std::memset(scores, 0, sizeof scores);
    hilite_score = NO_HILITE;
    LoadScores();
    const headless::dialog_run again = run_top_scores({headless::press_ok()});
    EXPECT_EQ(text_of(again.texts_after_init, IDC_ROW_NAME + 2), "--> Max");
}

}  // namespace
