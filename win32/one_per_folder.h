// one_per_folder.h: one Dovra per working folder, so that two never write each other's files over.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr size_t FOLDER_LOCK_NAME_LEN = 23;  // "Dovra-", 16 hex digits and the terminator
// Held open, unshared, in the working folder while a Dovra runs there; the system deletes it at the close.
constexpr char FOLDER_LOCK_FILE[] = "dovra.lock";

// The name that marks the main window of a folder's Dovra, from the folder's full path: letters of either
// case give the same name, and the name has a fixed length and no backslash, whatever the path.
void folder_lock_name(const char* folder, char name[FOLDER_LOCK_NAME_LEN]);

// At start-up, before any file is read: 1 when this is the only Dovra in its working folder, or when that
// cannot be told; 0 when another one runs there, by whatever name it reached the folder, whose window is
// then brought to the front.
int claim_working_folder();
// Lets a later start in the same folder find this window.
void mark_main_window(HWND hWnd);
// At the end, once the close has saved: the folder is free for the next start.
void release_working_folder();
