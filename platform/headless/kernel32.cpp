// kernel32.cpp: named mutexes, the last error, the current and the system folder, and winmm.dll, in the stand-in.
#include "headless_internal.h"

#include <mmsystem.h>

#include <strings.h>
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

}  // namespace

namespace headless {

std::vector<std::string> named_objects()
{
    std::vector<std::string> names;
    for (const auto& object : st().named_objects)
        names.push_back(object.first);
    return names;
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

HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR lpName)
{
    state& s = st();
    HANDLE handle = new_handle();
    std::string name = lpName ? lpName : "";
    if (!name.empty()) {
        // Kernel object names are case-sensitive, and a backslash would name a namespace.
        if (name.find('\\') != std::string::npos)
            misuse("CreateMutexA with a backslash in its name: " + name);
        int& open = s.named_objects[name];
        s.last_error = open > 0 ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
        ++open;
    } else {
        s.last_error = ERROR_SUCCESS;
    }
    s.mutex_handles[reinterpret_cast<uintptr_t>(handle)] = name;
    return handle;
}

BOOL WINAPI CloseHandle(HANDLE hObject)
{
    state& s = st();
    auto it = s.mutex_handles.find(reinterpret_cast<uintptr_t>(hObject));
    if (it == s.mutex_handles.end()) {
        misuse("CloseHandle on " + hex(hObject) + ", which is no open handle");
        s.last_error = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    if (!it->second.empty() && --s.named_objects[it->second] == 0)
        s.named_objects.erase(it->second);
    s.mutex_handles.erase(it);
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

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    if (hModule != winmm() || IS_INTRESOURCE(lpProcName) || std::string(lpProcName) != "sndPlaySoundA")
        return NULL;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&sndPlaySoundA));
}

}  // extern "C"
