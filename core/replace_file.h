// replace_file.h: rewriting a whole file through a temporary beside it, so a failed write never spoils the old one.
#pragma once

#include <cstdio>

// Longest file name, temporary suffix included, that the replacement can handle.
constexpr int REPLACE_NAME_LEN = 280;

// Opens the temporary for final_name for writing as text and stores its name in
// tmp_name (REPLACE_NAME_LEN chars). Null when it cannot be opened.
FILE *open_replacement(const char *final_name, char *tmp_name);

// Flushes f, forces its data to the disk and closes it. When ok is 1 and every step succeeded, the
// temporary takes final_name's place; otherwise it is removed and the old file stays. 1 on success.
int commit_replacement(FILE *f, const char *tmp_name, const char *final_name, int ok);

// Renames from over to, replacing an existing file. 1 on success.
int rename_over(const char *from, const char *to);

// The steps of a replacement, in order. Tests set replace_failing_step to one of them to make it fail
// as a full disk or a refused rename would; the program leaves it 0, and nothing fails on purpose.
enum replace_step { REPLACE_WRITE = 1, REPLACE_SYNC, REPLACE_CLOSE, REPLACE_RENAME };
extern int replace_failing_step;
