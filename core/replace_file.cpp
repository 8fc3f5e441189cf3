// replace_file.cpp: rewriting a whole file through a temporary beside it, so a failed write never spoils the old one.
#include "replace_file.h"

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

int replace_failing_step;

namespace {

int fails(int step)
{
    return replace_failing_step == step ? 1 : 0;
}

// Forces the file's data out of the system's cache onto the disk. Renaming first could leave, after a
// power cut, the new name on a file of the right length and no content.
int sync_to_disk(FILE *f)
{
#ifdef _WIN32
    HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
    return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h) ? 1 : 0;
#else
    return fsync(fileno(f)) == 0 ? 1 : 0;
#endif
}

// The rename itself lives in the folder's entries; on Windows the write-through move takes care of it.
void sync_folder_of(const char *name)
{
#ifndef _WIN32
    char folder[REPLACE_NAME_LEN];
    const char *slash = std::strrchr(name, '/');
    if (slash == nullptr)
        std::snprintf(folder, sizeof folder, ".");
    else
        std::snprintf(folder, sizeof folder, "%.*s", static_cast<int>(slash - name + 1), name);
    const int fd = open(folder, O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        // The file is already in place; a folder that cannot be synced changes nothing for it.
        fsync(fd);
        close(fd);
    }
#else
    (void)name;
#endif
}

}  // namespace

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
    if (fails(REPLACE_WRITE) || std::fflush(f) != 0 || std::ferror(f))
        ok = 0;
    if (ok && (fails(REPLACE_SYNC) || !sync_to_disk(f)))
        ok = 0;
    // A failed close can mean the buffered tail never reached the disk.
    if (std::fclose(f) != 0 || fails(REPLACE_CLOSE))
        ok = 0;
    if (ok && !fails(REPLACE_RENAME) && rename_over(tmp_name, final_name)) {
        sync_folder_of(final_name);
        return 1;
    }
    std::remove(tmp_name);
    return 0;
}

int rename_over(const char *from, const char *to)
{
#ifdef _WIN32
    // The C library's rename refuses to replace an existing file on Windows; write-through returns
    // only once the move is on the disk.
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
#else
    return std::rename(from, to) == 0 ? 1 : 0;
#endif
}
