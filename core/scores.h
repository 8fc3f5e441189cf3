// scores.h: the top-ten table and scores.txt.
#pragma once

struct scrs {
    int score;
    char name[40];
};

constexpr int SCORE_ROWS = 10;
constexpr int NO_HILITE = 11;

extern scrs scores[SCORE_ROWS + 1];
extern int hilite_score;
extern char newname[60];
extern int score_recorded;

void LoadScores();
int CheckHighScores();
// Index 0..9 at which a score would be entered, or 10 when it does not enter.
int score_position(int score);
// Enters score and name at position p, moving the rows below it down.
void insert_score(int p, int score, const char* name);
// Writes scores.txt; 1 when the whole file was written.
int SaveScores();
constexpr int ROW_TEXT_LEN = 60;
// What the Top Scores dialog shows as row i's name: the name, marked "--> " when it is the newest entry.
void score_row_text(int i, char text[ROW_TEXT_LEN]);
// Enters current_score with the name in newname at its place, marks it the newest and writes scores.txt;
// a table that cannot be written stays in memory for the rest of the run.
void enter_high_score();
