// user32.cpp: windows, classes, the message queue, timers, cursors, menus and paint requests of the stand-in.
#include "headless_internal.h"

#include <cstdio>
#include <cstdlib>
#include <strings.h>

using namespace headless;
using namespace headless::detail;

namespace headless {
namespace detail {

window_rec* find_window(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    auto it = st().windows.find(reinterpret_cast<uintptr_t>(hwnd));
    if (it == st().windows.end() || it->second.destroyed)
        return nullptr;
    return &it->second;
}

void destroy_window(HWND hwnd)
{
    window_rec* w = find_window(hwnd);
    if (!w)
        return;
    w->destroyed = 1;
    std::vector<timer_rec>& timers = st().timers;
    for (size_t i = timers.size(); i-- > 0;)
        if (timers[i].hwnd == hwnd)
            timers.erase(timers.begin() + static_cast<std::ptrdiff_t>(i));
    for (HWND child : st().window_order) {
        window_rec* c = find_window(child);
        if (c && c->info.parent == hwnd)
            destroy_window(child);
    }
}

static HWND add_window(const window_info& info, WNDPROC proc, UINT class_style)
{
    HWND hwnd = static_cast<HWND>(new_handle());
    window_rec rec = {};
    rec.info = info;
    rec.info.hwnd = hwnd;
    rec.proc = proc;
    rec.class_style = class_style;
    st().windows[reinterpret_cast<uintptr_t>(hwnd)] = rec;
    st().window_order.push_back(hwnd);
    return hwnd;
}

HWND create_control(HWND parent, int id, const char* class_name, const char* text, DWORD style)
{
    window_info info = {};
    info.class_name = class_name;
    info.parent = parent;
    info.id = id;
    info.style = style | WS_CHILD;
    info.text = text ? text : "";
    info.show_cmd = -1;
    info.visible = (style & WS_VISIBLE) ? 1 : 0;
    return add_window(info, NULL, 0);
}

static int has_menu_bar(const window_rec& w)
{
    return w.info.menu != NULL && !(w.info.style & WS_CHILD);
}

// Non-client extras of a top-level window: border and sizing frame on each side, caption and menu bar on top.
static RECT frame_of(const window_rec& w)
{
    RECT f = {0, 0, 0, 0};
    if (w.info.style & WS_CHILD)
        return f;
    int side_x = 0;
    int side_y = 0;
    if (w.info.style & WS_THICKFRAME) {
        side_x = CXBORDER + CXFRAME;
        side_y = CYBORDER + CYFRAME;
    } else if (w.info.style & (WS_BORDER | WS_DLGFRAME)) {
        side_x = CXBORDER;
        side_y = CYBORDER;
    }
    f.left = side_x;
    f.right = side_x;
    f.bottom = side_y;
    f.top = side_y;
    if ((w.info.style & WS_CAPTION) == WS_CAPTION)
        f.top += CYCAPTION;
    if (has_menu_bar(w))
        f.top += CYMENU;
    return f;
}

RECT client_rect(const window_rec& w)
{
    RECT f = frame_of(w);
    RECT c = {0, 0, 0, 0};
    c.right = (w.info.rect.right - w.info.rect.left) - f.left - f.right;
    c.bottom = (w.info.rect.bottom - w.info.rect.top) - f.top - f.bottom;
    if (c.right < 0)
        c.right = 0;
    if (c.bottom < 0)
        c.bottom = 0;
    return c;
}

static timer_rec* next_timer()
{
    timer_rec* best = nullptr;
    for (timer_rec& t : st().timers)
        if (!best || t.due < best->due || (t.due == best->due && t.seq < best->seq))
            best = &t;
    return best;
}

// Takes the earliest timer's expiry: advances virtual time to it and schedules its next one.
static int take_timer_message(MSG* msg)
{
    timer_rec* t = next_timer();
    if (!t)
        return 0;
    if (t->due > st().now)
        st().now = t->due;
    t->due += t->period;
    *msg = MSG{};
    msg->hwnd = t->hwnd;
    msg->message = WM_TIMER;
    msg->wParam = t->id;
    msg->lParam = reinterpret_cast<LPARAM>(t->proc);
    msg->time = static_cast<DWORD>(st().now);
    ++st().ticks;
    return 1;
}

int deliver_tick()
{
    MSG msg;
    if (!take_timer_message(&msg))
        return 0;
    DispatchMessageA(&msg);
    return 1;
}

static HWND window_to_paint()
{
    for (HWND h : st().window_order) {
        window_rec* w = find_window(h);
        if (!w || !w->info.visible || !w->info.invalid)
            continue;
        if (!w->proc) {
            w->info.invalid = 0;  // controls and dialogs paint themselves
            continue;
        }
        return h;
    }
    return NULL;
}

void paint_invalid_windows()
{
    // Each window paints at most once here, so a procedure that never validates cannot hold a modal loop.
    std::vector<HWND> done;
    for (HWND h = window_to_paint(); h; h = window_to_paint()) {
        for (HWND d : done)
            if (d == h)
                return;
        done.push_back(h);
        MSG msg = {};
        msg.hwnd = h;
        msg.message = WM_PAINT;
        msg.time = static_cast<DWORD>(st().now);
        DispatchMessageA(&msg);
    }
}

}  // namespace detail
}  // namespace headless

// The program's menu resource 1: its three drop-down menus hold these commands.
static const UINT main_menu_items[] = {102, 103, 101, 106, 105, 107, 108, 104};

static HMENU load_menu(int menu_id)
{
    HMENU menu = static_cast<HMENU>(new_handle());
    menu_rec rec;
    if (menu_id == 1) {
        for (UINT id : main_menu_items) {
            rec.items.push_back(id);
            rec.checked[id] = 0;
        }
    }
    st().menus[reinterpret_cast<uintptr_t>(menu)] = rec;
    return menu;
}

static class_rec* find_class(LPCSTR name)
{
    for (class_rec& c : st().classes) {
        if (IS_INTRESOURCE(name)) {
            if (c.atom == LOWORD(name))
                return &c;
        } else if (strcasecmp(c.name.c_str(), name) == 0) {
            return &c;
        }
    }
    return nullptr;
}

static int is_control_class(LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return 0;
    return strcasecmp(name, "BUTTON") == 0 || strcasecmp(name, "EDIT") == 0 || strcasecmp(name, "STATIC") == 0;
}

extern "C" {

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc)
{
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName))
        return 0;
    if (find_class(wc->lpszClassName) || is_control_class(wc->lpszClassName))
        return 0;
    class_rec c;
    c.name = wc->lpszClassName;
    c.atom = static_cast<ATOM>(0xC000 + st().classes.size());
    c.proc = wc->lpfnWndProc;
    c.style = wc->style;
    if (!wc->lpszMenuName)
        c.menu_id = 0;
    else if (IS_INTRESOURCE(wc->lpszMenuName))
        c.menu_id = LOWORD(wc->lpszMenuName);
    else
        c.menu_id = -1;
    c.background = wc->hbrBackground;
    st().classes.push_back(c);
    return c.atom;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam)
{
    if (!lpClassName)
        return NULL;
    int child = (dwStyle & WS_CHILD) != 0;
    if (child && !find_window(hWndParent))
        return NULL;
    if (hWndParent && !find_window(hWndParent))
        return NULL;

    window_info info = {};
    info.parent = hWndParent;
    info.style = dwStyle;
    info.ex_style = dwExStyle;
    info.text = lpWindowName ? lpWindowName : "";
    info.show_cmd = -1;
    info.visible = (dwStyle & WS_VISIBLE) ? 1 : 0;

    int x = X, y = Y, width = nWidth, height = nHeight;
    if (x == CW_USEDEFAULT) {
        x = child ? 0 : DEFAULT_X;
        y = child ? 0 : DEFAULT_Y;
    }
    if (width == CW_USEDEFAULT) {
        width = child ? 0 : DEFAULT_WIDTH;
        height = child ? 0 : DEFAULT_HEIGHT;
    }
    info.rect = RECT{x, y, x + width, y + height};

    if (is_control_class(lpClassName)) {
        std::string upper = lpClassName;
        for (char& ch : upper)
            ch = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
        info.class_name = upper;
        info.id = child ? static_cast<int>(reinterpret_cast<intptr_t>(hMenu)) : 0;
        info.menu = NULL;
        return add_window(info, NULL, 0);
    }

    class_rec* cls = find_class(lpClassName);
    if (!cls)
        return NULL;
    if (!child && st().fail_next_main) {
        st().fail_next_main = 0;
        return NULL;
    }
    info.class_name = cls->name;
    if (child) {
        info.id = static_cast<int>(reinterpret_cast<intptr_t>(hMenu));
    } else {
        info.menu = hMenu ? hMenu : (cls->menu_id != 0 ? load_menu(cls->menu_id) : NULL);
    }
    WNDPROC proc = cls->proc;
    HWND hwnd = add_window(info, proc, cls->style);
    window_rec* w = find_window(hwnd);
    if (w->info.visible)
        w->info.invalid = 1;

    if (proc) {
        CREATESTRUCTA cs = {};
        cs.lpCreateParams = lpParam;
        cs.hInstance = hInstance;
        cs.hMenu = hMenu;
        cs.hwndParent = hWndParent;
        cs.cy = height;
        cs.cx = width;
        cs.y = y;
        cs.x = x;
        cs.style = static_cast<LONG>(dwStyle);
        cs.lpszName = lpWindowName;
        cs.lpszClass = lpClassName;
        cs.dwExStyle = dwExStyle;
        if (proc(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
            destroy_window(hwnd);
            return NULL;
        }
    }
    return hwnd;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow)
{
    window_rec* w = find_window(hWnd);
    if (!w)
        return FALSE;
    BOOL was_visible = w->info.visible;
    w->info.show_cmd = nCmdShow;
    w->info.visible = nCmdShow != SW_HIDE;
    if (w->info.visible && !was_visible)
        w->info.invalid = 1;
    return was_visible;
}

BOOL WINAPI IsIconic(HWND hWnd)
{
    window_rec* w = find_window(hWnd);
    if (!w)
        return FALSE;
    int cmd = w->info.show_cmd;
    return cmd == SW_SHOWMINIMIZED || cmd == SW_MINIMIZE || cmd == SW_SHOWMINNOACTIVE;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd)
{
    if (!find_window(hWnd))
        return FALSE;
    st().foreground = hWnd;
    return TRUE;
}

// The dialog that the window's modal loop shows, else the window itself.
HWND WINAPI GetLastActivePopup(HWND hWnd)
{
    if (!find_window(hWnd))
        return NULL;
    for (const open_dialog& d : st().open_dialogs) {
        window_rec* w = find_window(d.hwnd);
        if (w && w->info.parent == hWnd)
            return d.hwnd;
    }
    return hWnd;
}

// Only what the program asks: top-level windows (a NULL parent) by class, and by title when one is given.
HWND WINAPI FindWindowExA(HWND hWndParent, HWND hWndChildAfter, LPCSTR lpszClass, LPCSTR lpszWindow)
{
    if (hWndParent || !lpszClass || IS_INTRESOURCE(lpszClass))
        return NULL;
    const std::vector<HWND>& order = st().window_order;
    size_t i = 0;
    if (hWndChildAfter) {
        while (i < order.size() && order[i] != hWndChildAfter)
            ++i;
        ++i;
    }
    for (; i < order.size(); ++i) {
        window_rec* w = find_window(order[i]);
        if (!w || (w->info.style & WS_CHILD) || strcasecmp(w->info.class_name.c_str(), lpszClass) != 0)
            continue;
        if (lpszWindow && w->info.text != lpszWindow)
            continue;
        return order[i];
    }
    return NULL;
}

static std::string property_key(LPCSTR name)
{
    std::string key = name;
    for (char& ch : key)
        ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    return key;
}

BOOL WINAPI SetPropA(HWND hWnd, LPCSTR lpString, HANDLE hData)
{
    window_rec* w = find_window(hWnd);
    if (!w || !lpString || IS_INTRESOURCE(lpString))
        return FALSE;
    w->props[property_key(lpString)] = hData;
    return TRUE;
}

HANDLE WINAPI GetPropA(HWND hWnd, LPCSTR lpString)
{
    window_rec* w = find_window(hWnd);
    if (!w || !lpString || IS_INTRESOURCE(lpString))
        return NULL;
    auto it = w->props.find(property_key(lpString));
    return it == w->props.end() ? NULL : it->second;
}

HANDLE WINAPI RemovePropA(HWND hWnd, LPCSTR lpString)
{
    HANDLE data = GetPropA(hWnd, lpString);
    if (data)
        find_window(hWnd)->props.erase(property_key(lpString));
    return data;
}

BOOL WINAPI UpdateWindow(HWND hWnd)
{
    window_rec* w = find_window(hWnd);
    if (!w)
        return FALSE;
    if (w->info.visible && w->info.invalid && w->proc) {
        MSG msg = {};
        msg.hwnd = hWnd;
        msg.message = WM_PAINT;
        msg.time = static_cast<DWORD>(st().now);
        DispatchMessageA(&msg);
    }
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    window_rec* w = find_window(hWnd);
    if (!w)
        return FALSE;
    st().moves.push_back(move_window_call{hWnd, X, Y, nWidth, nHeight, bRepaint});
    w->info.rect = RECT{X, Y, X + nWidth, Y + nHeight};
    if (bRepaint && w->info.visible)
        w->info.invalid = 1;
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    window_rec* w = find_window(hWnd);
    if (!w || !lpRect)
        return FALSE;
    RECT r = w->info.rect;
    // A child's rectangle is kept in its parent's client coordinates: move it to the screen.
    for (window_rec* p = (w->info.style & WS_CHILD) ? find_window(w->info.parent) : nullptr; p;
         p = (p->info.style & WS_CHILD) ? find_window(p->info.parent) : nullptr) {
        RECT f = frame_of(*p);
        LONG dx = p->info.rect.left + f.left;
        LONG dy = p->info.rect.top + f.top;
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    }
    *lpRect = r;
    return TRUE;
}

int WINAPI GetSystemMetrics(int nIndex)
{
    switch (nIndex) {
    case SM_CXSCREEN: return CXSCREEN;
    case SM_CYSCREEN: return CYSCREEN;
    case SM_CXVSCROLL: return 16;
    case SM_CYHSCROLL: return 16;
    case SM_CYCAPTION: return CYCAPTION;
    case SM_CXBORDER: return CXBORDER;
    case SM_CYBORDER: return CYBORDER;
    case SM_CXDLGFRAME: return 3;
    case SM_CYDLGFRAME: return 3;
    case SM_CXICON: return 32;
    case SM_CYICON: return 32;
    case SM_CXCURSOR: return 32;
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return CYMENU;
    case SM_CXFRAME: return CXFRAME;
    case SM_CYFRAME: return CYFRAME;
    case SM_CXSMICON: return 16;
    case SM_CYSMICON: return 16;
    default: return 0;
    }
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND, UINT, UINT)
{
    state& s = st();
    for (;;) {
        if (!s.queue.empty()) {
            *lpMsg = s.queue.front();
            s.queue.pop_front();
            return TRUE;
        }
        if (s.quit) {
            *lpMsg = MSG{};
            lpMsg->message = WM_QUIT;
            lpMsg->wParam = static_cast<WPARAM>(s.quit_code);
            lpMsg->time = static_cast<DWORD>(s.now);
            s.quit = 0;
            return FALSE;
        }
        if (HWND h = window_to_paint()) {
            *lpMsg = MSG{};
            lpMsg->hwnd = h;
            lpMsg->message = WM_PAINT;
            lpMsg->time = static_cast<DWORD>(s.now);
            return TRUE;
        }
        if (s.idle_hook) {
            // A copy, so that a hook may replace itself.
            std::function<void()> hook = s.idle_hook;
            hook();
            if (!s.queue.empty() || s.quit || window_to_paint())
                continue;
        }
        if (take_timer_message(lpMsg)) {
            if (++s.loop_ticks > LOOP_TICK_LIMIT) {
                std::fprintf(stderr,
                             "headless: GetMessageA delivered %d timer ticks and the loop still runs; "
                             "a test must end it (post WM_CLOSE from the idle hook)\n",
                             LOOP_TICK_LIMIT);
                std::abort();
            }
            return TRUE;
        }
        std::fprintf(stderr,
                     "headless: GetMessageA would wait forever: nothing posted, nothing to paint and no timer. "
                     "A test must end the message loop, e.g. by posting WM_CLOSE from the idle hook.\n");
        std::abort();
    }
}

BOOL WINAPI TranslateMessage(const MSG*)
{
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg)
{
    if (!lpMsg)
        return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
        TIMERPROC proc = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
        proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, lpMsg->time);
        return 0;
    }
    window_rec* w = find_window(lpMsg->hwnd);
    if (!w || (!w->proc && !w->dlgproc)) {
        st().dropped.push_back(*lpMsg);
        return 0;
    }
    HWND hwnd = lpMsg->hwnd;
    LRESULT result;
    if (w->proc)
        result = w->proc(hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
    else
        result = w->dlgproc(hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
    if (lpMsg->message == WM_PAINT) {
        w = find_window(hwnd);
        if (w && w->info.invalid) {
            // As the real dispatcher does, validate anyway, so WM_PAINT does not come back forever.
            misuse("WM_PAINT to " + hex(hwnd) + " was handled without BeginPaint");
            w->info.invalid = 0;
        }
    }
    return result;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM, LPARAM)
{
    window_rec* w = find_window(hWnd);
    if (!w)
        return 0;
    switch (Msg) {
    case WM_PAINT:
        w->info.invalid = 0;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_CLOSE:
        // The default close destroys the window, which hears WM_DESTROY first.
        if (w->proc)
            w->proc(hWnd, WM_DESTROY, 0, 0);
        destroy_window(hWnd);
        return 0;
    default:
        return 0;
    }
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = Msg;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(st().now);
    st().posted.push_back(msg);
    if (hWnd && !find_window(hWnd))
        return FALSE;
    st().queue.push_back(msg);
    return TRUE;
}

VOID WINAPI PostQuitMessage(int nExitCode)
{
    st().quit = 1;
    st().quit_code = nExitCode;
}

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (hWnd && !find_window(hWnd))
        return 0;
    // The real minimum period; it also keeps a zero period from stopping virtual time.
    if (uElapse < 10)
        uElapse = 10;
    UINT_PTR id = nIDEvent;
    if (!hWnd) {
        static UINT_PTR next_free = 0x7F00;
        id = ++next_free;
    }
    for (timer_rec& t : st().timers) {
        if (t.hwnd == hWnd && t.id == id) {
            t.period = uElapse;
            t.due = st().now + uElapse;
            t.proc = lpTimerFunc;
            return id ? id : 1;
        }
    }
    st().timers.push_back(timer_rec{hWnd, id, uElapse, st().now + uElapse, ++st().timer_seq, lpTimerFunc});
    return id ? id : 1;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    std::vector<timer_rec>& timers = st().timers;
    for (size_t i = 0; i < timers.size(); ++i) {
        if (timers[i].hwnd == hWnd && timers[i].id == uIDEvent) {
            timers.erase(timers.begin() + static_cast<std::ptrdiff_t>(i));
            return TRUE;
        }
    }
    return FALSE;
}

// System cursors and icons are shared: the same handle on every call, even across reset().
static void* system_handle(int kind, int id)
{
    static std::map<int, void*> handles;
    void*& h = handles[kind * 0x10000 + id];
    if (!h)
        h = new_handle();
    if (!find_object(h)) {
        gdi_object& o = add_object(h, kind == 0 ? object_kind::cursor : object_kind::icon);
        o.stock = 1;
        o.resource = id;
    }
    return h;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    if (hInstance || !IS_INTRESOURCE(lpCursorName))
        return NULL;
    int id = LOWORD(lpCursorName);
    if (id < 32512 || id > 32651)
        return NULL;
    return static_cast<HCURSOR>(system_handle(0, id));
}

HCURSOR WINAPI SetCursor(HCURSOR hCursor)
{
    HCURSOR previous = st().cursor;
    st().cursor = hCursor;
    st().cursor_calls.push_back(hCursor);
    return previous;
}

int WINAPI ShowCursor(BOOL bShow)
{
    st().cursor_count += bShow ? 1 : -1;
    return st().cursor_count;
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName)
{
    if (!IS_INTRESOURCE(lpIconName))
        return NULL;
    int id = LOWORD(lpIconName);
    if (!hInstance)
        return (id >= 32512 && id <= 32518) ? static_cast<HICON>(system_handle(1, id)) : NULL;
    if (id != 1)
        return NULL;
    if (!st().program_icon || !find_object(st().program_icon)) {
        st().program_icon = static_cast<HICON>(new_handle());
        add_object(st().program_icon, object_kind::icon).resource = 1;
    }
    return st().program_icon;
}

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    invalidation inv = {};
    inv.hwnd = hWnd;
    inv.whole = lpRect ? 0 : 1;
    if (lpRect)
        inv.rect = *lpRect;
    inv.erase = bErase;
    st().invalidations.push_back(inv);
    if (!hWnd) {
        for (HWND h : st().window_order)
            if (window_rec* w = find_window(h))
                if (w->info.visible && !(w->info.style & WS_CHILD))
                    w->info.invalid = 1;
        return TRUE;
    }
    window_rec* w = find_window(hWnd);
    if (!w)
        return FALSE;
    // A hidden window collects no update region; showing it invalidates it whole.
    if (w->info.visible)
        w->info.invalid = 1;
    return TRUE;
}

HMENU WINAPI GetMenu(HWND hWnd)
{
    window_rec* w = find_window(hWnd);
    if (!w || (w->info.style & WS_CHILD))
        return NULL;
    return w->info.menu;
}

DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    auto m = st().menus.find(reinterpret_cast<uintptr_t>(hMenu));
    if (m == st().menus.end() || (uCheck & MF_BYPOSITION))
        return static_cast<DWORD>(-1);
    auto item = m->second.checked.find(uIDCheckItem);
    if (item == m->second.checked.end())
        return static_cast<DWORD>(-1);
    DWORD previous = item->second ? MF_CHECKED : MF_UNCHECKED;
    item->second = (uCheck & MF_CHECKED) ? 1 : 0;
    return previous;
}

}  // extern "C"
