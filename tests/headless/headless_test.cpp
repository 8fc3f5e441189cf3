// headless_test.cpp: the Win32 stand-in keeps the promises the program relies on (loop, timers, modals, GDI records).
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <filesystem>

#include "common/files.h"
#include "headless.h"

namespace {

// What a small program's window procedure sees, in order.
std::vector<UINT> seen;
std::vector<WPARAM> timer_ids;
int create_result = 0;

LRESULT CALLBACK probe_proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    seen.push_back(message);
    if (message == WM_TIMER)
        timer_ids.push_back(wParam);
    switch (message) {
    case WM_CREATE:
        SetTimer(hWnd, 321, 100, NULL);
        return create_result;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        EndPaint(hWnd, &ps);
        (void)hdc;
        return 0;
    }
    case WM_CLOSE:
        KillTimer(hWnd, 321);
        PostQuitMessage(7);
        return 0;
    default:
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

HWND make_window()
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = probe_proc;
    wc.hInstance = headless::instance();
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = MAKEINTRESOURCEA(1);
    wc.lpszClassName = "Probe";
    EXPECT_NE(RegisterClassExA(&wc), 0);
    return CreateWindowExA(0, "Probe", "Probe", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 170, 225, NULL,
                           NULL, headless::instance(), NULL);
}

class Headless : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        seen.clear();
        timer_ids.clear();
        create_result = 0;
    }
};

TEST_F(Headless, CreationDeliversWmCreateBeforeReturningAndGivesTheClassMenu)
{
    HWND hwnd = make_window();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(headless::main_window(), hwnd);
    RECT r;
    ASSERT_TRUE(GetWindowRect(hwnd, &r));
    EXPECT_EQ(r.left, headless::DEFAULT_X);
    EXPECT_EQ(r.right - r.left, 170);
    for (int id = 101; id <= 108; ++id)
        EXPECT_EQ(headless::menu_checked(hwnd, id), 0) << id;
    EXPECT_EQ(CheckMenuItem(GetMenu(hwnd), 107, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(GetMenu(hwnd), 107, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(GetMenu(hwnd), 109, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(-1));
}

TEST_F(Headless, FailedCreationReturnsNull)
{
    create_result = -1;
    EXPECT_EQ(make_window(), nullptr);
    EXPECT_EQ(headless::main_window(), nullptr);
    headless::reset();
    seen.clear();
    create_result = 0;
    headless::fail_next_main_window_creation();
    EXPECT_EQ(make_window(), nullptr);
    EXPECT_TRUE(seen.empty());
}

TEST_F(Headless, LoopPaintsRunsTimersAndEndsOnQuit)
{
    HWND hwnd = make_window();
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    EXPECT_EQ(headless::paints(), 1);
    int idle_calls = 0;
    headless::set_idle_hook([&] {
        ++idle_calls;
        if (headless::ticks_delivered() == 3)
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
    });
    MSG msg;
    int timer_messages = 0;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        if (msg.message == WM_TIMER) {
            ++timer_messages;
            EXPECT_EQ(msg.wParam, 321u);
            InvalidateRect(hwnd, NULL, FALSE);
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(timer_messages, 3);
    EXPECT_EQ(headless::now_ms(), 300);
    EXPECT_EQ(headless::paints(), 4);  // the first paint and one after each tick
    EXPECT_TRUE(headless::timers().empty());
    EXPECT_GE(idle_calls, 4);
    EXPECT_TRUE(headless::misuses().empty());
}

TEST_F(Headless, LoopWithNothingLeftToDoAbortsInsteadOfHanging)
{
    MSG msg;
    EXPECT_DEATH(GetMessageA(&msg, NULL, 0, 0), "wait forever");
}

TEST_F(Headless, TicksComeInOrderOfExpiry)
{
    HWND hwnd = make_window();
    SetTimer(hwnd, 5, 250, NULL);
    EXPECT_EQ(headless::tick(6), 6);
    EXPECT_EQ(timer_ids, (std::vector<WPARAM>{321, 321, 5, 321, 321, 321}));  // 100 200 250 300 400 500
    EXPECT_EQ(headless::now_ms(), 500);
    EXPECT_EQ(headless::ticks_delivered(), 6);
    KillTimer(hwnd, 321);
    KillTimer(hwnd, 5);
    EXPECT_EQ(headless::tick(2), 0);
}

// A dialog procedure shaped like the program's name dialog: OK posts WM_CLOSE, WM_CLOSE ends it.
char typed[60];
INT_PTR CALLBACK name_dialog(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemInt(hDlg, 400, static_cast<UINT>(-5), TRUE);
        SetDlgItemTextA(hDlg, 101, "old");
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            PostMessageA(hDlg, WM_CLOSE, 0, 0);
        if (LOWORD(wParam) == 101)
            GetDlgItemTextA(hDlg, 101, typed, 4);
        return FALSE;
    case WM_CLOSE:
        GetDlgItemTextA(hDlg, 101, typed, sizeof typed);
        EndDialog(hDlg, 1);
        return TRUE;
    default:
        return FALSE;
    }
}

TEST_F(Headless, ScriptedDialogRunsAndIsRecordedInOrderWithSoundsAndBoxes)
{
    HWND hwnd = make_window();
    static const unsigned char wav[4] = {'R', 'I', 'F', 'F'};
    sndPlaySoundA(reinterpret_cast<LPCSTR>(wav), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
    headless::set_modal_ticks(2);
    headless::script_dialog(1, {headless::type_text(101, "Alexander"), headless::press_escape(),
                                headless::modal_tick(), headless::press_ok()});
    EXPECT_EQ(DialogBoxParamA(headless::instance(), MAKEINTRESOURCEA(1), hwnd, name_dialog, 0), 1);
    EXPECT_EQ(MessageBoxA(hwnd, "text", "Wow!", MB_OK), IDOK);
    EXPECT_STREQ(typed, "Alexander");

    ASSERT_EQ(headless::dialogs().size(), 1u);
    const headless::dialog_run& run = headless::dialogs()[0];
    EXPECT_EQ(run.texts_after_init.at(400), "-5");
    EXPECT_EQ(run.texts_after_init.at(101), "old");
    EXPECT_EQ(run.texts_at_end.at(101), "Alexander");
    EXPECT_EQ(run.ended, 1);
    EXPECT_EQ(run.actions, 4);
    EXPECT_EQ(run.ticks, 3);
    EXPECT_EQ(headless::message_boxes()[0].ticks, 2);
    ASSERT_EQ(headless::events().size(), 3u);
    EXPECT_EQ(headless::events()[0].kind, headless::event_kind::sound);
    EXPECT_EQ(headless::events()[1].kind, headless::event_kind::dialog);
    EXPECT_EQ(headless::events()[2].kind, headless::event_kind::message_box);
    EXPECT_EQ(headless::sounds()[0].sound, wav);
    EXPECT_EQ(headless::sounds()[0].flags, 7u);
}

TEST_F(Headless, DialogLeftOpenByItsScriptReturnsMinusOne)
{
    headless::script_dialog(1, {headless::press_escape()});
    EXPECT_EQ(DialogBoxParamA(headless::instance(), MAKEINTRESOURCEA(1), NULL, name_dialog, 0), -1);
    EXPECT_EQ(headless::dialogs()[0].ended, 0);
    // Without a script, OK closes it.
    EXPECT_EQ(DialogBoxParamA(headless::instance(), MAKEINTRESOURCEA(1), NULL, name_dialog, 0), 1);
}

TEST_F(Headless, QuitPostedUnderAModalWindowEndsItAndStays)
{
    headless::script_dialog(1, {headless::call([] { PostQuitMessage(3); }), headless::press_ok()});
    EXPECT_EQ(DialogBoxParamA(headless::instance(), MAKEINTRESOURCEA(1), NULL, name_dialog, 0), -1);
    EXPECT_EQ(headless::dialogs()[0].actions, 1);
    int ran = 0;
    headless::script_message_box({headless::call([&] { ++ran; })});
    EXPECT_EQ(MessageBoxA(NULL, "text", "Wow!", MB_OK), IDOK);
    EXPECT_EQ(ran, 0);
    EXPECT_EQ(headless::quit_posted(), 1);
}

// A Dovra holds a lock file open in its folder. Share modes are kept by the file, whatever name opened it, and a
// file deleted on close goes with the last handle to it.
TEST_F(Headless, LockFilesAreSharedByTheFileWhateverItsName)
{
    const std::filesystem::path folder = make_temp_folder("dovra-headless-");
    ASSERT_FALSE(folder.empty());
    std::filesystem::create_directory_symlink(folder, folder.string() + "-link");
    const std::string lock = folder.string() + "/dovra.lock";
    const std::string same_lock = folder.string() + "-link/./dovra.lock";
    const DWORD rw = GENERIC_READ | GENERIC_WRITE;
    const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE held = CreateFileA(lock.c_str(), rw, 0, NULL, OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << "a new file";
    struct open_case {
        DWORD access, share, disposition;
        DWORD error;
    };
    // Against a handle that shares nothing, asking for no data at all is the only way in.
    for (const open_case& c : {open_case{GENERIC_READ, all, OPEN_EXISTING, ERROR_SHARING_VIOLATION},
                               open_case{rw, 0, OPEN_ALWAYS, ERROR_SHARING_VIOLATION},
                               open_case{FILE_READ_ATTRIBUTES, all, OPEN_EXISTING, ERROR_SUCCESS}}) {
        HANDLE h = CreateFileA(same_lock.c_str(), c.access, c.share, NULL, c.disposition, 0, NULL);
        EXPECT_EQ(h == INVALID_HANDLE_VALUE, c.error != ERROR_SUCCESS) << c.access;
        EXPECT_EQ(GetLastError(), c.error) << c.access;
        if (h != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(h));
        }
    }
    EXPECT_EQ(CreateFileA((folder.string() + "-link").c_str(), FILE_READ_ATTRIBUTES, all, NULL, OPEN_EXISTING, 0, NULL),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "a folder without backup semantics";
    HANDLE dir = CreateFileA((folder.string() + "-link").c_str(), FILE_READ_ATTRIBUTES, all, NULL, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, NULL);
    ASSERT_NE(dir, INVALID_HANDLE_VALUE);
    typedef DWORD(WINAPI * final_path_call)(HANDLE, LPSTR, DWORD, DWORD);
    const final_path_call final_path = reinterpret_cast<final_path_call>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "GetFinalPathNameByHandleA")));
    ASSERT_NE(final_path, nullptr);
    char path[4096];
    const std::string resolved = std::filesystem::canonical(folder).string();
    EXPECT_EQ(final_path(dir, path, 3, 0), resolved.size() + 1) << "the size needed";
    EXPECT_EQ(final_path(dir, path, sizeof path, 0), resolved.size());
    EXPECT_EQ(std::string(path), resolved);
    EXPECT_TRUE(CloseHandle(dir));
    EXPECT_EQ(headless::open_files(), std::vector<std::string>{resolved + "/dovra.lock"});
    EXPECT_TRUE(CloseHandle(held));
    EXPECT_FALSE(std::filesystem::exists(lock)) << "deleted at the last close";
    EXPECT_FALSE(CloseHandle(held));
    EXPECT_EQ(headless::misuses().size(), 1u);
    std::filesystem::remove(folder.string() + "-link");
    std::filesystem::remove_all(folder);
}

// The main window of a folder's Dovra carries a property that a later start there looks for.
TEST_F(Headless, WindowPropertiesAndLookupsAreLikeTheSystemsOwn)
{
    HWND mine = make_window();
    HWND other = headless::foreign_window("probe", "Other");
    EXPECT_EQ(FindWindowExA(NULL, NULL, "Probe", NULL), mine);
    EXPECT_EQ(FindWindowExA(NULL, mine, "Probe", NULL), other);
    EXPECT_EQ(FindWindowExA(NULL, NULL, "Probe", "Other"), other);
    EXPECT_EQ(FindWindowExA(NULL, other, "Probe", NULL), nullptr);
    EXPECT_TRUE(SetPropA(other, "Dovra-1", reinterpret_cast<HANDLE>(1)));
    EXPECT_EQ(GetPropA(other, "DOVRA-1"), reinterpret_cast<HANDLE>(1)) << "property names are atoms";
    EXPECT_EQ(GetPropA(mine, "Dovra-1"), nullptr);
    EXPECT_EQ(RemovePropA(other, "Dovra-1"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(GetPropA(other, "Dovra-1"), nullptr);

    ShowWindow(other, SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(IsIconic(other));
    ShowWindow(other, SW_RESTORE);
    EXPECT_FALSE(IsIconic(other));
    HWND popup = NULL;
    headless::script_dialog(1, {headless::call([&] { popup = GetLastActivePopup(mine); }), headless::press_ok()});
    DialogBoxParamA(headless::instance(), MAKEINTRESOURCEA(1), mine, name_dialog, 0);
    EXPECT_EQ(popup, headless::dialogs()[0].hwnd);
    EXPECT_EQ(GetLastActivePopup(mine), mine);
    EXPECT_TRUE(SetForegroundWindow(other));
    EXPECT_EQ(headless::foreground_window(), other);
}

TEST_F(Headless, OnlyTheSystemsWinmmLoads)
{
    const std::string system_winmm = std::string(headless::SYSTEM_DIRECTORY) + "\\winmm.dll";
    char folder[MAX_PATH];
    EXPECT_EQ(GetSystemDirectoryA(folder, sizeof folder), std::strlen(headless::SYSTEM_DIRECTORY));
    EXPECT_STREQ(folder, headless::SYSTEM_DIRECTORY);
    EXPECT_EQ(LoadLibraryExA("winmm.dll", NULL, 0), nullptr);
    HMODULE winmm = LoadLibraryExA(system_winmm.c_str(), NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    ASSERT_NE(winmm, nullptr);
    EXPECT_EQ(GetProcAddress(winmm, "sndPlaySoundW"), nullptr);
    FARPROC play = GetProcAddress(winmm, "sndPlaySoundA");
    ASSERT_NE(play, nullptr);
    reinterpret_cast<BOOL(WINAPI*)(LPCSTR, UINT)>(reinterpret_cast<void (*)()>(play))(NULL, 0);
    EXPECT_EQ(headless::sounds().size(), 1u);
    headless::fail_library_loads();
    EXPECT_EQ(LoadLibraryExA(system_winmm.c_str(), NULL, LOAD_WITH_ALTERED_SEARCH_PATH), nullptr);
    ASSERT_EQ(headless::library_loads().size(), 3u);
    EXPECT_EQ(headless::library_loads()[1].loaded, 1);
    EXPECT_EQ(headless::library_loads()[2].loaded, 0);
}

TEST_F(Headless, PaintObjectsAreTrackedAndMisuseIsRecorded)
{
    HWND hwnd = make_window();
    HBITMAP pic = LoadBitmapA(headless::instance(), MAKEINTRESOURCEA(12));
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(LoadBitmapA(headless::instance(), MAKEINTRESOURCEA(17)), nullptr);
    BITMAP bm;
    ASSERT_EQ(GetObjectA(pic, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmBitsPixel, 8);

    ShowWindow(hwnd, SW_SHOW);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(mem, pic);
    BitBlt(hdc, 32, 31, 32, 32, mem, 0, 0, NOTSRCCOPY);
    SelectObject(mem, old);
    LOGFONTA lf = {};
    lf.lfHeight = -13;
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old_font = SelectObject(hdc, font);
    SetTextAlign(hdc, TA_CENTER);
    TextOutA(hdc, 32, 148, "1234", 2);
    EXPECT_FALSE(DeleteObject(font));  // still selected
    SelectObject(hdc, old_font);
    EXPECT_TRUE(DeleteObject(font));
    DeleteDC(mem);
    EndPaint(hwnd, &ps);

    std::vector<headless::draw_op> ops = headless::last_paint();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].source_resource, 12);
    EXPECT_EQ(ops[0].rop, NOTSRCCOPY);
    EXPECT_EQ(ops[1].text, "12");
    EXPECT_EQ(ops[1].logfont.lfHeight, -13);
    EXPECT_EQ(ops[1].align, static_cast<UINT>(TA_CENTER));
    EXPECT_EQ(headless::live_count(headless::object_kind::font), 0);
    EXPECT_EQ(headless::live_count(headless::object_kind::memory_dc), 0);
    EXPECT_EQ(headless::misuses().size(), 1u);
    EXPECT_TRUE(DeleteObject(pic));
    EXPECT_FALSE(DeleteObject(pic));
    EXPECT_EQ(headless::misuses().size(), 2u);
}

TEST_F(Headless, SystemCursorsAreFixedAndDistinct)
{
    HCURSOR arrow = LoadCursorA(NULL, IDC_ARROW);
    HCURSOR wait = LoadCursorA(NULL, IDC_WAIT);
    EXPECT_NE(arrow, nullptr);
    EXPECT_NE(arrow, wait);
    EXPECT_EQ(arrow, LoadCursorA(NULL, IDC_ARROW));
    EXPECT_EQ(SetCursor(wait), nullptr);
    EXPECT_EQ(SetCursor(arrow), wait);
    EXPECT_EQ(ShowCursor(TRUE), 1);
    headless::reset();
    EXPECT_EQ(headless::arrow_cursor(), arrow);
}

TEST_F(Headless, DialogItemTextIsCutToTheBuffer)
{
    char small[4] = {'x', 'x', 'x', 'x'};
    HWND hwnd = make_window();
    EXPECT_FALSE(SetDlgItemTextA(hwnd, 101, "not a dialog"));
    EXPECT_EQ(GetDlgItemTextA(hwnd, 101, small, 4), 0u);
    EXPECT_EQ(small[0], '\0');
    HWND button = CreateWindowExA(0, "button", "New Game", WS_CHILD | WS_VISIBLE | BS_CENTER, 64, 148, 80, 25, hwnd,
                                  reinterpret_cast<HMENU>(static_cast<intptr_t>(500)), headless::instance(), NULL);
    ASSERT_EQ(headless::find_child(hwnd, 500), button);
    EXPECT_EQ(GetDlgItemTextA(hwnd, 500, small, 4), 3u);
    EXPECT_STREQ(small, "New");
    RECT r;
    GetWindowRect(button, &r);
    EXPECT_EQ(r.left, headless::DEFAULT_X + headless::CXBORDER + headless::CXFRAME + 64);
    EXPECT_EQ(r.top, headless::DEFAULT_Y + headless::CYBORDER + headless::CYFRAME + headless::CYCAPTION +
                         headless::CYMENU + 148);
    PostMessageA(button, WM_COMMAND, 0, 0);
    EXPECT_EQ(headless::run_pending(), 1);
    EXPECT_EQ(headless::dropped().size(), 1u);
}

}  // namespace
