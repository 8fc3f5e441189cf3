// one_per_folder.cpp: one Dovra per working folder: a lock file held open without sharing says whether a Dovra
// runs there already, whatever name each reached the folder by, and a property of its main window named after the
// folder's final path tells that window from other folders' Dovras.
#include "one_per_folder.h"

#include <cstdint>
#include <cstring>

#include "shell.h"

namespace {

char lock_name[FOLDER_LOCK_NAME_LEN];
HANDLE folder_lock = INVALID_HANDLE_VALUE;
HWND marked_window = NULL;

typedef DWORD(WINAPI* final_path_call)(HANDLE, LPSTR, DWORD, DWORD);

// The working folder's path as the file system resolves it, one for all of the folder's names; on Windows XP,
// which lacks the call, the path as the folder was reached. 0 when there is none.
int working_folder_path(char* path, DWORD size)
{
    DWORD length = 0;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const final_path_call final_path =
        kernel == NULL ? NULL
                       : reinterpret_cast<final_path_call>(reinterpret_cast<void (*)()>(
                             GetProcAddress(kernel, "GetFinalPathNameByHandleA")));
    if (final_path != NULL) {
        HANDLE folder = CreateFileA(".", FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    NULL, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
        if (folder != INVALID_HANDLE_VALUE) {
            length = final_path(folder, path, size, 0);
            CloseHandle(folder);
        }
    }
    if (length == 0 || length >= size)
        length = GetCurrentDirectoryA(size, path);
    return length != 0 && length < size;
}

// The Dovra of this folder, when its window is up yet.
HWND running_window()
{
    for (HWND w = FindWindowExA(NULL, NULL, szAppName, NULL); w != NULL; w = FindWindowExA(NULL, w, szAppName, NULL))
        if (GetPropA(w, lock_name) != NULL)
            return w;
    return NULL;
}

}  // namespace

void folder_lock_name(const char* folder, char name[FOLDER_LOCK_NAME_LEN])
{
    // 64-bit FNV-1a over the path with its ASCII letters in lower case.
    uint64_t hash = 14695981039346656037ULL;
    for (const char* p = folder; *p != '\0'; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c >= 'A' && c <= 'Z')
            c = static_cast<unsigned char>(c - 'A' + 'a');
        hash = (hash ^ c) * 1099511628211ULL;
    }
    const char digits[] = "0123456789abcdef";
    std::memcpy(name, "Dovra-", 6);
    for (int i = 0; i < 16; ++i)
        name[6 + i] = digits[(hash >> (60 - 4 * i)) & 0xF];
    name[FOLDER_LOCK_NAME_LEN - 1] = '\0';
}

int claim_working_folder()
{
    // The file system decides who holds the lock by the file, not by its name, and a server keeps the share
    // mode for all its clients; closing, or the end of the process however it ends, deletes the file.
    HANDLE lock = CreateFileA(FOLDER_LOCK_FILE, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, NULL);
    // A read-only folder, a lock that an ending Dovra is deleting: nothing can be told, so this one runs.
    if (lock == INVALID_HANDLE_VALUE && GetLastError() != ERROR_SHARING_VIOLATION)
        return 1;
    char folder[4096];
    lock_name[0] = '\0';
    if (working_folder_path(folder, sizeof folder))
        folder_lock_name(folder, lock_name);
    if (lock != INVALID_HANDLE_VALUE) {
        folder_lock = lock;
        return 1;
    }
    HWND other = lock_name[0] != '\0' ? running_window() : NULL;
    if (other != NULL) {
        if (IsIconic(other))
            ShowWindow(other, SW_RESTORE);
        // A dialog it shows comes forward with it.
        SetForegroundWindow(GetLastActivePopup(other));
    }
    return 0;
}

void mark_main_window(HWND hWnd)
{
    if (folder_lock != INVALID_HANDLE_VALUE && lock_name[0] != '\0' &&
        SetPropA(hWnd, lock_name, reinterpret_cast<HANDLE>(1)))
        marked_window = hWnd;
}

void release_working_folder()
{
    if (marked_window != NULL)
        RemovePropA(marked_window, lock_name);
    marked_window = NULL;
    if (folder_lock != INVALID_HANDLE_VALUE)
        CloseHandle(folder_lock);
    folder_lock = INVALID_HANDLE_VALUE;
    lock_name[0] = '\0';
}
