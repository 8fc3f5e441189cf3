// modal_player.cpp: the player at the program's modal windows, on a timer of the test's own thread.
#include "win32/modal_player.h"

#include <algorithm>
#include <cstring>

#include "resource.h"

namespace {

modal_player* current = nullptr;

BOOL CALLBACK first_dialog(HWND w, LPARAM found)
{
    char name[16];
    if (IsWindowVisible(w) && GetClassNameA(w, name, sizeof name) > 0 && std::strcmp(name, "#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = w;
        return FALSE;
    }
    return TRUE;
}

// The thread's windows come top first: the first dialog or message box is the one whose loop runs.
HWND open_modal_window()
{
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), first_dialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string caption_of(HWND w)
{
    char text[128] = "";
    GetWindowTextA(w, text, sizeof text);
    return text;
}

}  // namespace

modal_step at(const std::string& window, std::function<void(HWND)> act)
{
    return {window, [act](HWND w) {
                act(w);
                return true;
            }};
}

modal_step type_name(const std::string& window, const std::string& name)
{
    return at(window, [name](HWND w) { SetDlgItemTextA(w, IDC_NAME_EDIT, name.c_str()); });
}

modal_step press_ok(const std::string& window)
{
    return at(window, [](HWND w) { SendMessageA(GetDlgItem(w, IDOK), BM_CLICK, 0, 0); });
}

// Esc goes through the dialog's loop, which makes it a Cancel command.
modal_step press_escape(const std::string& window)
{
    return at(window, [](HWND w) { PostMessageA(w, WM_KEYDOWN, VK_ESCAPE, 0); });
}

modal_step close_box(const std::string& window)
{
    return at(window, [](HWND w) { PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); });
}

std::string item_text(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

modal_player::modal_player(std::vector<modal_step> steps) : steps_(std::move(steps))
{
    current = this;
    timer_ = SetTimer(NULL, 0, USER_TIMER_MINIMUM, on_timer);
}

modal_player::~modal_player()
{
    KillTimer(NULL, timer_);
    current = nullptr;
}

void CALLBACK modal_player::on_timer(HWND, UINT, UINT_PTR, DWORD)
{
    if (current != nullptr)
        current->play();
}

void modal_player::play()
{
    if (playing_)
        return;
    playing_ = 1;
    HWND w = open_modal_window();
    const std::string caption = w != NULL ? caption_of(w) : "";
    if (w != NULL && std::find(handles_.begin(), handles_.end(), w) == handles_.end()) {
        handles_.push_back(w);
        windows_.push_back({caption, GetWindow(w, GW_OWNER)});
    }
    if (next_ < steps_.size() && steps_[next_].window == caption) {
        if (steps_[next_].act(w))
            ++next_;
    } else if (w != NULL) {
        SendMessageA(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
    }
    playing_ = 0;
}
