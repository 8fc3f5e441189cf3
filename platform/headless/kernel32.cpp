// kernel32.cpp: files and folders by handle, the last error, the current and the system folder, and the
// modules kernel32.dll and winmm.dll, in the stand-in.
#include "headless_internal.h"

#include <mmsystem.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace headless;
using namespace headless::detail;

namespace {

// Never a handle of anything else; the same in every test, as a system DLL's address is.
HMODULE winmm()
{
    static void* module = new_handle();
    return static_cast<HMODULE>(module);
}

HMODULE kernel32()
{
    static void* module = new_handle();
    return static_cast<HMODULE>(module);
}

std::string winmm_path()
{
    return std::string(SYSTEM_DIRECTORY) + "\\winmm.dll";
}

// A folder's name into a caller's buffer: the length copied, or the size needed (terminator included) when
// it does not fit, as the folder calls report it.
DWORD copy_folder(const std::string& folder, LPSTR buffer, DWORD size)
{
    if (!buffer || folder.size() + 1 > size)
        return static_cast<DWORD>(folder.size() + 1);
    memcpy(buffer, folder.c_str(), folder.size() + 1);
    return static_cast<DWORD>(folder.size());
}

// The last error of a failed native call, as Windows reports the same failure.
DWORD error_of(int native)
{
    switch (native) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
        return ERROR_PATH_NOT_FOUND;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

HANDLE fail_open(DWORD error)
{
    st().last_error = error;
    return INVALID_HANDLE_VALUE;
}

std::string folder_of(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Windows writes the path the system resolved: the same for every name of the file.
DWORD WINAPI final_path_of(HANDLE hFile, LPSTR lpszFilePath, DWORD cchFilePath, DWORD dwFlags)
{
    state& s = st();
    auto it = s.files.find(reinterpret_cast<uintptr_t>(hFile));
    if (it == s.files.end()) {
        misuse("GetFinalPathNameByHandleA on " + hex(hFile) + ", which is no open file");
        s.last_error = ERROR_INVALID_HANDLE;
        return 0;
    }
    if (dwFlags != 0)
        misuse("GetFinalPathNameByHandleA with flags the stand-in does not model");
    const std::string& path = it->second.path;
    if (!lpszFilePath || path.size() + 1 > cchFilePath)
        return static_cast<DWORD>(path.size() + 1);
    memcpy(lpszFilePath, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

}  // namespace

namespace headless {

namespace detail {

void close_files()
{
    while (!st().files.empty())
        CloseHandle(reinterpret_cast<HANDLE>(st().files.begin()->first));
}

}  // namespace detail

std::vector<std::string> open_files()
{
    std::vector<std::string> paths;
    for (const auto& file : st().files)
        paths.push_back(file.second.path);
    return paths;
}

void lack_final_path_call()
{
    st().no_final_path = 1;
}

const std::vector<library_load>& library_loads()
{
    return st().library_loads;
}

void fail_library_loads()
{
    st().fail_library_loads = 1;
}

}  // namespace headless

extern "C" {

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE)
{
    state& s = st();
    if (dwCreationDisposition != OPEN_ALWAYS && dwCreationDisposition != OPEN_EXISTING) {
        misuse("CreateFileA with a disposition the stand-in does not model");
        return fail_open(ERROR_INVALID_PARAMETER);
    }
    if (!lpFileName || !*lpFileName)
        return fail_open(ERROR_PATH_NOT_FOUND);
    const std::string name = lpFileName;
    const int delete_on_close = (dwFlagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) != 0;
    // Deleting on close takes the right to delete, which the other handles must share.
    const DWORD use = ((dwDesiredAccess & GENERIC_READ) ? FILE_SHARE_READ : 0) |
                      ((dwDesiredAccess & GENERIC_WRITE) ? FILE_SHARE_WRITE : 0) |
                      ((dwDesiredAccess & DELETE) || delete_on_close ? FILE_SHARE_DELETE : 0);
    struct stat info;
    const int exists = stat(name.c_str(), &info) == 0;
    if (!exists && (errno != ENOENT || dwCreationDisposition == OPEN_EXISTING))
        return fail_open(error_of(errno));
    int fd = -1;
    if (exists) {
        if (S_ISDIR(info.st_mode) && !(dwFlagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS))
            return fail_open(ERROR_ACCESS_DENIED);
        for (const auto& file : s.files) {
            const open_file& other = file.second;
            if (other.device != static_cast<unsigned long long>(info.st_dev) ||
                other.inode != static_cast<unsigned long long>(info.st_ino))
                continue;
            if ((use & ~other.share) != 0 || (other.use & ~dwShareMode) != 0)
                return fail_open(ERROR_SHARING_VIOLATION);
        }
        if (S_ISDIR(info.st_mode))
            fd = open(name.c_str(), O_RDONLY | O_DIRECTORY);
        else if ((use & (FILE_SHARE_WRITE | FILE_SHARE_DELETE)) && !(info.st_mode & S_IWUSR))
            return fail_open(ERROR_ACCESS_DENIED);
        else
            fd = open(name.c_str(), (use & FILE_SHARE_WRITE) ? O_RDWR : O_RDONLY);
    } else {
        struct stat folder;
        if (stat(folder_of(name).c_str(), &folder) != 0)
            return fail_open(ERROR_PATH_NOT_FOUND);
        if (!(folder.st_mode & S_IWUSR))
            return fail_open(ERROR_ACCESS_DENIED);
        fd = open(name.c_str(), ((use & FILE_SHARE_WRITE) ? O_RDWR : O_RDONLY) | O_CREAT | O_EXCL, 0644);
    }
    char resolved[PATH_MAX];
    if (fd < 0 || fstat(fd, &info) != 0 || !realpath(name.c_str(), resolved)) {
        const DWORD error = error_of(errno);
        if (fd >= 0)
            close(fd);
        return fail_open(error);
    }
    HANDLE handle = new_handle();
    s.files[reinterpret_cast<uintptr_t>(handle)] =
        open_file{fd, static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
                  resolved, use, dwShareMode, delete_on_close};
    s.last_error = exists && dwCreationDisposition == OPEN_ALWAYS ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    return handle;
}

BOOL WINAPI CloseHandle(HANDLE hObject)
{
    state& s = st();
    auto it = s.files.find(reinterpret_cast<uintptr_t>(hObject));
    if (it == s.files.end()) {
        misuse("CloseHandle on " + hex(hObject) + ", which is no open handle");
        s.last_error = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    open_file closing = it->second;
    s.files.erase(it);
    close(closing.fd);
    if (closing.delete_on_close) {
        // The file goes with the last handle to it.
        for (auto& file : s.files)
            if (file.second.device == closing.device && file.second.inode == closing.inode) {
                file.second.delete_on_close = 1;
                return TRUE;
            }
        unlink(closing.path.c_str());
    }
    return TRUE;
}

DWORD WINAPI GetLastError(void)
{
    return st().last_error;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer)
{
    char folder[4096];
    if (!getcwd(folder, sizeof folder))
        return 0;
    return copy_folder(folder, lpBuffer, nBufferLength);
}

UINT WINAPI GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize)
{
    return copy_folder(SYSTEM_DIRECTORY, lpBuffer, uSize);
}

HMODULE WINAPI LoadLibraryExA(LPCSTR lpLibFileName, HANDLE, DWORD dwFlags)
{
    state& s = st();
    std::string path = lpLibFileName ? lpLibFileName : "";
    int found = !s.fail_library_loads && strcasecmp(path.c_str(), winmm_path().c_str()) == 0;
    s.library_loads.push_back(library_load{path, dwFlags, found});
    if (!found) {
        s.last_error = ERROR_MOD_NOT_FOUND;
        return NULL;
    }
    return winmm();
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    if (lpModuleName && strcasecmp(lpModuleName, "kernel32.dll") == 0)
        return kernel32();
    st().last_error = ERROR_MOD_NOT_FOUND;
    return NULL;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    if (!lpProcName || IS_INTRESOURCE(lpProcName))
        return NULL;
    const std::string name = lpProcName;
    if (hModule == winmm() && name == "sndPlaySoundA")
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&sndPlaySoundA));
    if (hModule == kernel32() && name == "GetFinalPathNameByHandleA" && !st().no_final_path)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&final_path_of));
    return NULL;
}

}  // extern "C"
