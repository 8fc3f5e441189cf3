// replace_file.h: rewriting a whole file through a temporary beside it, so a failed write never spoils the old one.
#pragma once

#include <cstdio>

// Longest file name, temporary suffix included, that the replacement can handle.
constexpr int REPLACE_NAME_LEN = 280;

// Opens the temporary for final_name for writing as text and stores its name in
// tmp_name (REPLACE_NAME_LEN chars). Null when it cannot be opened.
FILE *open_replacement(const char *final_name, char *tmp_name);

// Flushes and closes f. When ok is 1 and every write succeeded, the temporary
// takes final_name's place; otherwise it is removed and the old file stays. 1 on success.
int commit_replacement(FILE *f, const char *tmp_name, const char *final_name, int ok);

// Renames from over to, replacing an existing file. 1 on success.
int rename_over(const char *from, const char *to);
