// one_per_folder.cpp: one Dovra per working folder: a named mutex made from the folder's path says whether a
// Dovra runs there already, and a property of its main window tells that window from other folders' Dovras.
#include "one_per_folder.h"

#include <cstdint>
#include <cstring>

#include "shell.h"

namespace {

char lock_name[FOLDER_LOCK_NAME_LEN];
HANDLE folder_lock = NULL;
HWND marked_window = NULL;

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
    char folder[1024];
    const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return 1;
    folder_lock_name(folder, lock_name);
    HANDLE lock = CreateMutexA(NULL, FALSE, lock_name);
    if (lock == NULL)
        return 1;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        folder_lock = lock;
        return 1;
    }
    CloseHandle(lock);
    HWND other = running_window();
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
    if (folder_lock != NULL && SetPropA(hWnd, lock_name, reinterpret_cast<HANDLE>(1)))
        marked_window = hWnd;
}

void release_working_folder()
{
    if (marked_window != NULL)
        RemovePropA(marked_window, lock_name);
    marked_window = NULL;
    if (folder_lock != NULL)
        CloseHandle(folder_lock);
    folder_lock = NULL;
}
