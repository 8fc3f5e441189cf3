// headless.cpp: the stand-in's state and the test-control interface over it.
#include "headless_internal.h"

#include <cstdio>

namespace headless {
namespace detail {

state& st()
{
    static state s;
    return s;
}

void* new_handle()
{
    // Above 0xFFFF so that no handle looks like a MAKEINTRESOURCE value; spaced like real handles.
    static uintptr_t next = 0x10000;
    next += 0x10;
    return reinterpret_cast<void*>(next);
}

std::string hex(const void* handle)
{
    char text[32];
    std::snprintf(text, sizeof text, "%p", handle);
    return text;
}

void misuse(const std::string& what)
{
    st().misuses.push_back(what);
}

}  // namespace detail

using namespace detail;

void reset()
{
    close_files();
    state& s = st();
    s = state();
}

HINSTANCE instance()
{
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x400000));
}

std::vector<HWND> windows()
{
    return st().window_order;
}

const window_info* window(HWND hwnd)
{
    window_rec* w = find_window(hwnd);
    return w ? &w->info : nullptr;
}

HWND main_window()
{
    for (HWND h : st().window_order) {
        window_rec* w = find_window(h);
        if (w && w->proc && !w->info.parent)
            return h;
    }
    return NULL;
}

RECT window_rect(HWND hwnd)
{
    window_rec* w = find_window(hwnd);
    RECT none = {0, 0, 0, 0};
    return w ? w->info.rect : none;
}

std::string window_text(HWND hwnd)
{
    window_rec* w = find_window(hwnd);
    return w ? w->info.text : std::string();
}

HWND find_child(HWND parent, int id)
{
    for (HWND h : st().window_order) {
        window_rec* w = find_window(h);
        if (w && w->info.parent == parent && w->info.id == id && (w->info.style & WS_CHILD))
            return h;
    }
    return NULL;
}

int menu_checked(HWND hwnd, int id)
{
    window_rec* w = find_window(hwnd);
    if (!w || !w->info.menu)
        return -1;
    auto m = st().menus.find(reinterpret_cast<uintptr_t>(w->info.menu));
    if (m == st().menus.end())
        return -1;
    auto item = m->second.checked.find(static_cast<UINT>(id));
    return item == m->second.checked.end() ? -1 : item->second;
}

void fail_next_main_window_creation()
{
    st().fail_next_main = 1;
}

LRESULT send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    window_rec* w = find_window(hwnd);
    if (!w)
        return 0;
    if (w->proc)
        return w->proc(hwnd, message, wParam, lParam);
    if (w->dlgproc)
        return w->dlgproc(hwnd, message, wParam, lParam);
    return 0;
}

HWND foreign_window(const std::string& class_name, const std::string& title)
{
    HWND hwnd = create_control(NULL, 0, class_name.c_str(), title.c_str(), WS_VISIBLE | WS_OVERLAPPEDWINDOW);
    window_rec* w = find_window(hwnd);
    w->info.style = WS_VISIBLE | WS_OVERLAPPEDWINDOW;
    w->info.rect = RECT{DEFAULT_X, DEFAULT_Y, DEFAULT_X + DEFAULT_WIDTH, DEFAULT_Y + DEFAULT_HEIGHT};
    return hwnd;
}

HWND foreground_window()
{
    return st().foreground;
}

void set_idle_hook(std::function<void()> hook)
{
    st().idle_hook = std::move(hook);
}

int run_pending()
{
    int count = 0;
    while (!st().queue.empty()) {
        MSG msg = st().queue.front();
        st().queue.pop_front();
        DispatchMessageA(&msg);
        if (++count > 1000000) {
            std::fprintf(stderr, "headless: run_pending dispatched a million messages; the program keeps posting\n");
            std::abort();
        }
    }
    return count;
}

int tick(int n)
{
    int done = 0;
    while (done < n && deliver_tick())
        ++done;
    return done;
}

long long now_ms()
{
    return st().now;
}

int ticks_delivered()
{
    return st().ticks;
}

std::vector<timer_info> timers()
{
    std::vector<timer_info> out;
    for (const timer_rec& t : st().timers)
        out.push_back(timer_info{t.hwnd, t.id, t.period, t.due});
    return out;
}

std::vector<MSG> queued()
{
    return std::vector<MSG>(st().queue.begin(), st().queue.end());
}

const std::vector<MSG>& posted()
{
    return st().posted;
}

const std::vector<MSG>& dropped()
{
    return st().dropped;
}

int quit_posted()
{
    return st().quit;
}

int quit_code()
{
    return st().quit_code;
}

HCURSOR arrow_cursor()
{
    return LoadCursorA(NULL, IDC_ARROW);
}

HCURSOR wait_cursor()
{
    return LoadCursorA(NULL, IDC_WAIT);
}

const std::vector<HCURSOR>& cursor_calls()
{
    return st().cursor_calls;
}

HCURSOR current_cursor()
{
    return st().cursor;
}

int cursor_display_count()
{
    return st().cursor_count;
}

const std::vector<invalidation>& invalidations()
{
    return st().invalidations;
}

const std::vector<move_window_call>& move_window_calls()
{
    return st().moves;
}

dialog_action type_text(int control, const std::string& text)
{
    return dialog_action{action_kind::type_text, control, text, nullptr};
}

dialog_action press_ok()
{
    return dialog_action{action_kind::press_ok, 0, std::string(), nullptr};
}

dialog_action press_escape()
{
    return dialog_action{action_kind::press_escape, 0, std::string(), nullptr};
}

dialog_action press_close()
{
    return dialog_action{action_kind::press_close, 0, std::string(), nullptr};
}

dialog_action modal_tick()
{
    return dialog_action{action_kind::tick, 0, std::string(), nullptr};
}

dialog_action call(std::function<void()> fn)
{
    return dialog_action{action_kind::call, 0, std::string(), std::move(fn)};
}

void script_dialog(int template_id, std::vector<dialog_action> actions)
{
    st().scripts[template_id].push_back(std::move(actions));
}

void script_message_box(std::vector<dialog_action> actions)
{
    st().box_scripts.push_back(std::move(actions));
}

void set_modal_ticks(int n)
{
    st().modal_ticks = n < 0 ? 0 : n;
}

const std::vector<message_box>& message_boxes()
{
    return st().boxes;
}

const std::vector<dialog_run>& dialogs()
{
    return st().runs;
}

const std::vector<sound_call>& sounds()
{
    return st().sounds;
}

const std::vector<event>& events()
{
    return st().events;
}

const std::vector<draw_op>& draw_log()
{
    return st().draw_log;
}

void clear_draw_log()
{
    st().draw_log.clear();
}

std::vector<draw_op> last_paint()
{
    return st().last_paint;
}

int paints()
{
    return st().paints;
}

const std::vector<gdi_object>& objects()
{
    return st().objects;
}

const gdi_object* object(const void* handle)
{
    return find_object(handle);
}

int live_count(object_kind kind)
{
    int count = 0;
    for (const gdi_object& o : st().objects)
        if (o.kind == kind && o.alive && !o.stock)
            ++count;
    return count;
}

const std::vector<delete_call>& delete_calls()
{
    return st().delete_calls;
}

const std::vector<std::string>& misuses()
{
    return st().misuses;
}

}  // namespace headless
