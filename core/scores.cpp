// scores.cpp: the top-ten table in memory and in scores.txt, and how a score earns its place in it.
#include "scores.h"

#include <climits>
#include <cstdio>

#include "board.h"
#include "replace_file.h"

scrs scores[SCORE_ROWS + 1];
int hilite_score = NO_HILITE;
char newname[60];
int score_recorded;

namespace {

const char SCORES_FILE[] = "scores.txt";
constexpr int NAME_LEN = static_cast<int>(sizeof scores[0].name);

int is_digit(char c)
{
    return c >= '0' && c <= '9';
}

int is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Adds one decimal digit to n, sticking at INT_MAX instead of overflowing.
int add_digit(int n, char c)
{
    int d = c - '0';
    if (n > (INT_MAX - d) / 10)
        return INT_MAX;
    return n * 10 + d;
}

// Control characters end a name; bytes of 0x80 and above are letters of the program's code page.
int is_name_char(char c)
{
    return static_cast<unsigned char>(c) >= 0x20;
}

void read_entry(const char *line, scrs *entry)
{
    int score = 0;
    const char *p = line;
    for (; is_digit(*p); p++)
        score = add_digit(score, *p);
    entry->score = score;

    // The character after the digits separates them from the name.
    if (*p != '\0')
        p++;
    while (*p != '\0' && static_cast<unsigned char>(*p) <= 0x20)
        p++;
    int n = 0;
    for (; n < NAME_LEN - 1 && is_name_char(p[n]); n++)
        entry->name[n] = p[n];
    entry->name[n] = '\0';
}

// The newest entry's index: blanks, a sign and digits, clamped to the range of an int.
int read_index(const char *line)
{
    const char *p = line;
    while (is_space(*p))
        p++;
    int negative = 0;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        p++;
    }
    int n = 0;
    for (; is_digit(*p); p++)
        n = add_digit(n, *p);
    return negative ? -n : n;
}

}  // namespace

void LoadScores()
{
    FILE *f = std::fopen(SCORES_FILE, "r");
    if (f == nullptr)
        return;
    char line[60];
    // A line longer than the buffer arrives in pieces, each counted as a line.
    for (int i = 0; i <= SCORE_ROWS && std::fgets(line, sizeof line, f) != nullptr; i++) {
        if (i < SCORE_ROWS)
            read_entry(line, &scores[i]);
        else
            hilite_score = read_index(line);
    }
    std::fclose(f);
}

int score_position(int score)
{
    int p = 0;
    while (p < SCORE_ROWS && scores[p].score >= score)
        p++;
    return p;
}

int CheckHighScores()
{
    if (current_score == 0)
        return 0;
    return score_position(current_score) < SCORE_ROWS ? 1 : 0;
}

void insert_score(int p, int score, const char *name)
{
    if (p < 0 || p > SCORE_ROWS)
        return;
    // The old tenth entry falls off the table; position 10 is the spare behind it.
    for (int j = SCORE_ROWS - 1; j > p; j--)
        scores[j] = scores[j - 1];
    scores[p].score = score;
    // A longer name keeps its first characters.
    std::snprintf(scores[p].name, sizeof scores[p].name, "%.*s", NAME_LEN - 1, name);
}

int SaveScores()
{
    char tmp_name[REPLACE_NAME_LEN];
    FILE *f = open_replacement(SCORES_FILE, tmp_name);
    if (f == nullptr)
        return 0;
    int ok = 1;
    for (int i = 0; i < SCORE_ROWS; i++)
        if (std::fprintf(f, "%d %s\n", scores[i].score, scores[i].name) < 0)
            ok = 0;
    if (std::fprintf(f, "%d\n", hilite_score) < 0)
        ok = 0;
    return commit_replacement(f, tmp_name, SCORES_FILE, ok);
}

void enter_high_score()
{
    const int p = score_position(current_score);
    hilite_score = p;
    insert_score(p, current_score, newname);
    SaveScores();
}

void score_row_text(int i, char text[ROW_TEXT_LEN])
{
    std::snprintf(text, ROW_TEXT_LEN, i == hilite_score ? "--> %s" : "%s", scores[i].name);
}
