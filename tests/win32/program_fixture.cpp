// program_fixture.cpp: the program started afresh for each test, and the record of its main window's messages.
#include "win32/program_fixture.h"

#include <memory>

#include "one_per_folder.h"

namespace {

std::vector<window_message> messages;
HHOOK creation_hook;
int refuse_main_window;

int kept(UINT message)
{
    switch (message) {
    case WM_CREATE:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_TIMER:
    case WM_LBUTTONDOWN:
    case WM_COMMAND:
    case WM_CLOSE:
    case WM_DESTROY:
        return 1;
    default:
        return 0;
    }
}

LRESULT CALLBACK recording_procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (kept(message))
        messages.push_back(
            {message, wParam, GetTickCount(), symbol[0] != NULL && symbol[PICTURES - 1] != NULL, current_score});
    return CallWindowProcA(BaseMsgProc, hWnd, message, wParam, lParam);
}

// Sees each window before its first message: the program's main window is recorded, or refused.
LRESULT CALLBACK on_creation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        HWND w = reinterpret_cast<HWND>(wParam);
        if (GetClassLongPtrA(w, GCLP_WNDPROC) == reinterpret_cast<ULONG_PTR>(BaseMsgProc)) {
            if (refuse_main_window) {
                refuse_main_window = 0;
                return 1;
            }
            SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recording_procedure));
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

}  // namespace

const std::vector<window_message>& main_window_messages()
{
    return messages;
}

int count_messages(UINT message)
{
    int n = 0;
    for (const window_message& m : messages)
        n += m.message == message;
    return n;
}

void refuse_next_main_window()
{
    refuse_main_window = 1;
}

bool pump_until(const std::function<bool()>& done)
{
    const DWORD limit = 2000, began = GetTickCount();
    while (!done()) {
        const DWORD spent = GetTickCount() - began;
        if (spent >= limit)
            return false;
        MSG msg;
        if (!PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, NULL, FALSE, limit - spent, QS_ALLINPUT);
        } else if (msg.message == WM_QUIT) {
            return done();
        } else {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

modal_step ticks_pass(const std::string& window, int n)
{
    auto from = std::make_shared<int>(-1);
    return {window, [from, n](HWND) {
                if (*from < 0)
                    *from = count_messages(WM_TIMER);
                return count_messages(WM_TIMER) >= *from + n;
            }};
}

modal_step close_main_window()
{
    return at("", [](HWND) { PostMessageA(MyWindow, WM_CLOSE, 0, 0); });
}

int menu_checked(int item)
{
    return (GetMenuState(GetMenu(MyWindow), static_cast<UINT>(item), MF_BYCOMMAND) & MF_CHECKED) ? 1 : 0;
}

void ProgramTest::SetUp()
{
    reset_heart_state();
    MyInstance = NULL;
    MyWindow = NULL;
    heart_window = NULL;
    MyTimer = 0;
    hNewGameButton = NULL;
    normal_cursor = busy_cursor = current_cursor = NULL;
    main_window_closed = 0;
    messages.clear();
    refuse_main_window = 0;
    creation_hook = SetWindowsHookExA(WH_CBT, on_creation, NULL, GetCurrentThreadId());
    ASSERT_NE(creation_hook, nullptr);
    TempFolderTest::SetUp();
    if (!HasFatalFailure())
        write_slot_sounds();
}

void ProgramTest::TearDown()
{
    if (MyWindow != NULL && IsWindow(MyWindow))
        DestroyWindow(MyWindow);
    UnregisterClassA(szAppName, instance());
    UnhookWindowsHookEx(creation_hook);
    release_working_folder();
    release_pictures();
    release_sounds();
    // The quit message of the window's end, and anything else left, are not the next test's.
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
    TempFolderTest::TearDown();
}

void ProgramTest::start()
{
    ASSERT_NE(Register_Window(instance()), 0);
    ASSERT_EQ(Init_Instance(instance(), SW_SHOWNORMAL), 1);
}

void ProgramTest::start_with_prefs(const std::string& text)
{
    write_file("prefs.txt", text);
    start();
}

void ProgramTest::start_with(const std::vector<std::string>& rows, int score)
{
    start();
    arrange_game(rows, score);
}

int ProgramTest::run_winmain(HINSTANCE previous, int show)
{
    char command_line[] = "";
    return WinMain(instance(), previous, command_line, show);
}
