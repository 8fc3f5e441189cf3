// replace_file.cpp: rewriting a whole file through a temporary beside it, so a failed write never spoils the old one.
#include "replace_file.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

FILE *open_replacement(const char *final_name, char *tmp_name)
{
    int n = std::snprintf(tmp_name, REPLACE_NAME_LEN, "%s.tmp", final_name);
    if (n < 0 || n >= REPLACE_NAME_LEN) {
        tmp_name[0] = '\0';
        return nullptr;
    }
    // Text mode, so that Windows writes CR LF line ends like any other text file of its own.
    return std::fopen(tmp_name, "w");
}

int commit_replacement(FILE *f, const char *tmp_name, const char *final_name, int ok)
{
    if (std::fflush(f) != 0 || std::ferror(f))
        ok = 0;
    // A failed close can mean the buffered tail never reached the disk.
    if (std::fclose(f) != 0)
        ok = 0;
    if (ok && rename_over(tmp_name, final_name))
        return 1;
    std::remove(tmp_name);
    return 0;
}

int rename_over(const char *from, const char *to)
{
#ifdef _WIN32
    // The C library's rename refuses to replace an existing file on Windows.
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) ? 1 : 0;
#else
    return std::rename(from, to) == 0 ? 1 : 0;
#endif
}
