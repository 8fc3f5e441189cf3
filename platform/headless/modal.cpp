// modal.cpp: message boxes, scripted dialogs, dialog items and sound requests of the stand-in.
#include "headless_internal.h"

#include <mmsystem.h>

#include <cstdio>

using namespace headless;
using namespace headless::detail;

namespace {

open_dialog* running_dialog(HWND hDlg);

// A modal loop ends when its dialog has ended, and on a quit message, which it leaves for the loop outside.
int modal_over(HWND dialog)
{
    return st().quit || (dialog && running_dialog(dialog)->ended);
}

// Timer ticks that a modal loop delivers while its window is open; each tick is followed by the
// repaints that a real modal loop would dispatch before waiting again.
int modal_ticks(int n, HWND dialog)
{
    int done = 0;
    while (done < n && !modal_over(dialog) && deliver_tick()) {
        ++done;
        paint_invalid_windows();
    }
    return done;
}

open_dialog* running_dialog(HWND hDlg)
{
    for (open_dialog& d : st().open_dialogs)
        if (d.hwnd == hDlg)
            return &d;
    return nullptr;
}

int event_for(event_kind kind, int index, const std::string& what)
{
    st().events.push_back(event{kind, index, what});
    return static_cast<int>(st().events.size()) - 1;
}

std::map<int, std::string> control_texts(HWND hDlg)
{
    std::map<int, std::string> texts;
    for (HWND h : st().window_order) {
        window_rec* w = find_window(h);
        if (w && w->info.parent == hDlg && (w->info.style & WS_CHILD))
            texts[w->info.id] = w->info.text;
    }
    return texts;
}

INT_PTR to_dialog(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    window_rec* w = find_window(hDlg);
    if (!w || !w->dlgproc)
        return 0;
    return w->dlgproc(hDlg, message, wParam, lParam);
}

// Hands the dialog procedure every message posted to the dialog, oldest first, until it ends.
void deliver_posted(HWND hDlg)
{
    for (;;) {
        open_dialog* d = running_dialog(hDlg);
        if (!d || d->ended)
            return;
        std::deque<MSG>& queue = st().queue;
        auto it = queue.begin();
        while (it != queue.end() && it->hwnd != hDlg)
            ++it;
        if (it == queue.end())
            return;
        MSG msg = *it;
        queue.erase(it);
        to_dialog(hDlg, msg.message, msg.wParam, msg.lParam);
    }
}

LPARAM control_handle(HWND hDlg, int id)
{
    return reinterpret_cast<LPARAM>(find_child(hDlg, id));
}

// Plays one action; returns the timer ticks it delivered.
int play(HWND hDlg, const dialog_action& action)
{
    switch (action.kind) {
    case action_kind::type_text: {
        HWND control = find_child(hDlg, action.control);
        if (!control)
            control = create_control(hDlg, action.control, "CONTROL", "", WS_VISIBLE);
        find_window(control)->info.text = action.text;
        to_dialog(hDlg, WM_COMMAND, MAKEWPARAM(action.control, EN_CHANGE), reinterpret_cast<LPARAM>(control));
        break;
    }
    case action_kind::press_ok:
        to_dialog(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), control_handle(hDlg, IDOK));
        break;
    case action_kind::press_escape:
        to_dialog(hDlg, WM_COMMAND, IDCANCEL, control_handle(hDlg, IDCANCEL));
        break;
    case action_kind::press_close:
        to_dialog(hDlg, WM_CLOSE, 0, 0);
        break;
    case action_kind::tick:
        if (deliver_tick()) {
            paint_invalid_windows();
            return 1;
        }
        break;
    case action_kind::call:
        action.fn();
        break;
    }
    return 0;
}

}  // namespace

extern "C" {

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    state& s = st();
    int index = static_cast<int>(s.boxes.size());
    message_box box;
    box.owner = hWnd;
    box.text = lpText ? lpText : "";
    box.caption = lpCaption ? lpCaption : "Error";
    box.type = uType;
    box.ticks = 0;
    box.seq = event_for(event_kind::message_box, index, box.caption);
    s.boxes.push_back(box);
    int ticks = modal_ticks(s.modal_ticks, NULL);
    if (!st().box_scripts.empty()) {
        std::vector<dialog_action> script = st().box_scripts.front();
        st().box_scripts.pop_front();
        for (const dialog_action& action : script) {
            if (modal_over(NULL))
                break;
            if (action.kind == action_kind::tick || action.kind == action_kind::call)
                ticks += play(NULL, action);
        }
    }
    st().boxes[static_cast<size_t>(index)].ticks = ticks;
    return IDOK;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam)
{
    if (!IS_INTRESOURCE(lpTemplateName) || !lpDialogFunc)
        return -1;
    if (hWndParent && !find_window(hWndParent))
        return -1;
    int template_id = LOWORD(lpTemplateName);

    window_info info = {};
    info.class_name = "#32770";
    info.parent = hWndParent;
    info.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    info.show_cmd = -1;
    info.visible = 1;
    HWND hDlg = create_control(NULL, 0, "#32770", "", 0);
    window_rec* w = find_window(hDlg);
    info.hwnd = hDlg;
    w->info = info;
    w->is_dialog = 1;
    w->dlgproc = lpDialogFunc;

    const size_t run = st().runs.size();
    dialog_run r;
    r.template_id = template_id;
    r.hwnd = hDlg;
    r.owner = hWndParent;
    r.param = dwInitParam;
    r.result = -1;
    r.ended = 0;
    r.actions = 0;
    r.ticks = 0;
    char what[40];
    std::snprintf(what, sizeof what, "dialog %d", template_id);
    r.seq = event_for(event_kind::dialog, static_cast<int>(run), what);
    st().runs.push_back(r);
    st().open_dialogs.push_back(open_dialog{hDlg, 0, 0});

    lpDialogFunc(hDlg, WM_INITDIALOG, 0, dwInitParam);
    st().runs[run].texts_after_init = control_texts(hDlg);

    int ticks = modal_ticks(st().modal_ticks, hDlg);
    int actions = 0;
    if (!modal_over(hDlg)) {
        std::vector<dialog_action> script;
        auto queued = st().scripts.find(template_id);
        if (queued != st().scripts.end() && !queued->second.empty()) {
            script = queued->second.front();
            queued->second.pop_front();
        } else {
            script.push_back(press_ok());
        }
        for (const dialog_action& action : script) {
            if (modal_over(hDlg))
                break;
            ticks += play(hDlg, action);
            ++actions;
            deliver_posted(hDlg);
        }
    }

    open_dialog done = *running_dialog(hDlg);
    dialog_run& rec = st().runs[run];
    rec.texts_at_end = control_texts(hDlg);
    rec.ended = done.ended;
    rec.result = done.ended ? done.result : -1;
    rec.actions = actions;
    rec.ticks = ticks;

    // The dialog window is gone: what was posted to it is lost, as on the real platform.
    std::deque<MSG>& queue = st().queue;
    for (auto it = queue.begin(); it != queue.end();)
        it = it->hwnd == hDlg ? queue.erase(it) : it + 1;
    std::vector<open_dialog>& open = st().open_dialogs;
    for (size_t i = 0; i < open.size(); ++i)
        if (open[i].hwnd == hDlg) {
            open.erase(open.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    destroy_window(hDlg);
    return rec.result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult)
{
    open_dialog* d = running_dialog(hDlg);
    if (!d) {
        misuse("EndDialog on " + hex(hDlg) + ", which is not an open dialog");
        return FALSE;
    }
    d->ended = 1;
    d->result = nResult;
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    return find_child(hDlg, nIDDlgItem);
}

UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax)
{
    if (!lpString || cchMax <= 0)
        return 0;
    lpString[0] = '\0';
    window_rec* w = find_window(find_child(hDlg, nIDDlgItem));
    if (!w)
        return 0;
    size_t n = w->info.text.size();
    if (n > static_cast<size_t>(cchMax - 1))
        n = static_cast<size_t>(cchMax - 1);
    memcpy(lpString, w->info.text.data(), n);
    lpString[n] = '\0';
    return static_cast<UINT>(n);
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString)
{
    window_rec* parent = find_window(hDlg);
    if (!parent)
        return FALSE;
    HWND control = find_child(hDlg, nIDDlgItem);
    if (!control) {
        // The templates are not modelled: a dialog gets a control for each id it is given text for.
        if (!parent->is_dialog)
            return FALSE;
        control = create_control(hDlg, nIDDlgItem, "CONTROL", "", WS_VISIBLE);
    }
    find_window(control)->info.text = lpString ? lpString : "";
    return TRUE;
}

BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned)
{
    char text[16];
    if (bSigned)
        std::snprintf(text, sizeof text, "%d", static_cast<int>(uValue));
    else
        std::snprintf(text, sizeof text, "%u", uValue);
    return SetDlgItemTextA(hDlg, nIDDlgItem, text);
}

BOOL WINAPI sndPlaySoundA(LPCSTR pszSound, UINT fuSound)
{
    state& s = st();
    int index = static_cast<int>(s.sounds.size());
    sound_call call;
    call.sound = pszSound;
    call.flags = fuSound;
    call.seq = event_for(event_kind::sound, index, "sound");
    s.sounds.push_back(call);
    return TRUE;
}

}  // extern "C"
