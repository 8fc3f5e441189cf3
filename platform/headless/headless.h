// headless.h: test control of the native Win32 stand-in: drive its message loop and modal windows, read what was asked.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace headless {

// System metrics the stand-in reports; a window's outer size and client area follow from them.
constexpr int CXBORDER = 1;   // SM_CXBORDER
constexpr int CYBORDER = 1;   // SM_CYBORDER
constexpr int CXFRAME = 4;    // SM_CXFRAME
constexpr int CYFRAME = 4;    // SM_CYFRAME
constexpr int CYCAPTION = 19; // SM_CYCAPTION
constexpr int CYMENU = 19;    // SM_CYMENU
constexpr int CXSCREEN = 1024;
constexpr int CYSCREEN = 768;
// Where CW_USEDEFAULT puts a top-level window, and its size when the size is CW_USEDEFAULT too.
constexpr int DEFAULT_X = 100;
constexpr int DEFAULT_Y = 100;
constexpr int DEFAULT_WIDTH = 400;
constexpr int DEFAULT_HEIGHT = 300;
// A main loop that receives more timer ticks than this aborts: a test forgot to end its loop.
constexpr int LOOP_TICK_LIMIT = 200000;

// Forgets every window, class, timer, queued message, record, hook and script; virtual time restarts at 0.
// Handles are never reused, so a stale handle from an earlier test is simply unknown.
void reset();

// A module handle to pass as the program's instance (any value is accepted).
HINSTANCE instance();

// ---- Windows -------------------------------------------------------------------------------------

struct window_info {
    HWND hwnd;
    std::string class_name;     // as registered, or "BUTTON"/"EDIT"/"STATIC", or "#32770" for a dialog
    HWND parent;
    int id;                     // control id of a child (its hMenu argument); 0 for a top-level window
    DWORD style;
    DWORD ex_style;
    RECT rect;                  // screen rectangle of a top-level window; parent-client rectangle of a child
    std::string text;
    HMENU menu;                 // menu of a top-level window (the class menu), NULL otherwise
    int visible;                // 1 after ShowWindow with anything but SW_HIDE, or WS_VISIBLE at creation
    int show_cmd;               // last ShowWindow command, -1 before any
    int invalid;                // 1 while it needs a paint
    int has_procedure;          // 0 for the built-in controls and dialogs (dialogs run their dialog procedure)
};

std::vector<HWND> windows();              // every window created, creation order
const window_info* window(HWND hwnd);     // nullptr for an unknown handle
HWND main_window();                       // first top-level window of a registered class, or NULL
RECT window_rect(HWND hwnd);              // as window_info::rect; all 0 for an unknown handle
std::string window_text(HWND hwnd);
HWND find_child(HWND parent, int id);     // NULL when there is none
int menu_checked(HWND hwnd, int id);      // 1 checked, 0 not, -1 when the window's menu has no such item
// The next CreateWindowExA of a top-level window of a registered class returns NULL without WM_CREATE.
void fail_next_main_window_creation();
// Calls the window procedure of hwnd at once, as SendMessage would; 0 for a window without one.
LRESULT send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// A visible top-level window of another program: FindWindowExA finds it, it takes properties, ShowWindow and
// SetForegroundWindow, and it has no procedure here.
HWND foreign_window(const std::string& class_name, const std::string& title);
HWND foreground_window();                 // the last SetForegroundWindow argument, NULL at reset

// ---- Message loop and timers ----------------------------------------------------------------------
//
// GetMessageA takes, in order: the next posted message; WM_QUIT once PostQuitMessage was called;
// WM_PAINT for a visible window with an invalid region; otherwise it calls the idle hook and, if that
// posted nothing, advances virtual time to the next timer expiry and returns WM_TIMER. With no message,
// no paint and no timer it prints why and aborts (a real program would wait forever). Its window and
// message filters are ignored. UpdateWindow paints at once; run_pending and tick never paint.
// Modal windows (MessageBoxA, DialogBoxParamA) run no full loop: they deliver the ticks asked of them,
// each followed by the paints it caused, and a dialog takes the messages posted to itself; messages
// posted to other windows wait for the main loop. A quit message posted while a modal window is open ends
// it, as the platform's modal loops do, and stays for the loop outside.

void set_idle_hook(std::function<void()> hook);
int run_pending();        // dispatches posted messages until none is left (no timers, no paints); returns the count
int tick(int n = 1);      // delivers n WM_TIMER in order of expiry, each dispatched at once; returns how many
long long now_ms();       // virtual time
int ticks_delivered();    // WM_TIMER delivered by any path since reset

struct timer_info {
    HWND hwnd;
    UINT_PTR id;
    UINT period_ms;
    long long due_ms;     // next expiry, virtual time
};
std::vector<timer_info> timers();         // running timers, in the order they were set

std::vector<MSG> queued();                // messages posted and not yet taken, oldest first
const std::vector<MSG>& posted();         // every PostMessageA since reset, in order
const std::vector<MSG>& dropped();        // messages dispatched to a window without procedure, or to none
int quit_posted();                        // 1 once PostQuitMessage was called (until GetMessageA returns 0)
int quit_code();                          // its exit code

// ---- Cursors and window calls ---------------------------------------------------------------------

HCURSOR arrow_cursor();                   // what LoadCursorA(NULL, IDC_ARROW) returns
HCURSOR wait_cursor();                    // what LoadCursorA(NULL, IDC_WAIT) returns
const std::vector<HCURSOR>& cursor_calls(); // SetCursor arguments, in order
HCURSOR current_cursor();
int cursor_display_count();               // 0 at reset; ShowCursor(TRUE) raises it by one

struct invalidation {
    HWND hwnd;
    int whole;            // 1 when the rectangle argument was NULL
    RECT rect;            // the rectangle given, when whole is 0
    int erase;            // the bErase argument
};
const std::vector<invalidation>& invalidations();

struct move_window_call {
    HWND hwnd;
    int x, y, width, height;
    int repaint;
};
const std::vector<move_window_call>& move_window_calls();

// ---- Modal windows and sounds ---------------------------------------------------------------------

enum class action_kind { type_text, press_ok, press_escape, press_close, tick, call };
struct dialog_action {
    action_kind kind;
    int control;          // type_text only
    std::string text;     // type_text only
    std::function<void()> fn;  // call only
};
// Sets the control's text, then WM_COMMAND MAKEWPARAM(control, EN_CHANGE) with the control's handle.
dialog_action type_text(int control, const std::string& text);
dialog_action press_ok();       // WM_COMMAND MAKEWPARAM(IDOK, BN_CLICKED): the OK button or Enter
dialog_action press_escape();   // WM_COMMAND IDCANCEL: the Esc key
dialog_action press_close();    // WM_CLOSE: the close box
dialog_action modal_tick();     // one WM_TIMER from the earliest timer, dispatched to its window
// Runs fn while the modal window is open, as a message from the system or another program arrives then.
dialog_action call(std::function<void()> fn);

// Dialog templates are not modelled: a dialog has a control for each id given text (SetDlgItemTextA,
// SetDlgItemInt, type_text), and GetDlgItemTextA of any other id gives "".
// Queues a script for the next run of dialog template_id (scripts for one template are used in order).
// After each action every message posted to the dialog goes to its procedure, until EndDialog.
// A run without a script is closed by press_ok. A script that runs out before EndDialog leaves the
// dialog open: DialogBoxParamA then returns -1 and the run is recorded with ended 0.
void script_dialog(int template_id, std::vector<dialog_action> actions);

// Queues a script for the next MessageBoxA, played after its ticks; only modal_tick and call apply.
void script_message_box(std::vector<dialog_action> actions);

// Every MessageBoxA and DialogBoxParamA delivers n WM_TIMER ticks while it is open: a message box before
// it returns, a dialog right after WM_INITDIALOG, before its script. 0 at reset.
void set_modal_ticks(int n);

struct message_box {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
    int ticks;            // WM_TIMER delivered while it was open
    int seq;              // its index in events()
};
const std::vector<message_box>& message_boxes();

struct dialog_run {
    int template_id;
    HWND hwnd;            // the dialog window (gone after the run)
    HWND owner;
    LPARAM param;
    std::map<int, std::string> texts_after_init;  // control id -> text, after WM_INITDIALOG
    std::map<int, std::string> texts_at_end;
    INT_PTR result;       // what DialogBoxParamA returned
    int ended;            // 1 when EndDialog was called
    int actions;          // script actions played
    int ticks;            // WM_TIMER delivered while it was open
    int seq;              // its index in events()
};
const std::vector<dialog_run>& dialogs();

struct sound_call {
    const void* sound;    // the first argument of sndPlaySoundA, as given
    UINT flags;
    int seq;              // its index in events()
};
const std::vector<sound_call>& sounds();

enum class event_kind { sound, message_box, dialog };
struct event {
    event_kind kind;
    int index;            // into sounds(), message_boxes() or dialogs()
    std::string what;     // "sound", the message box caption, or "dialog <template id>"
};
const std::vector<event>& events();       // sounds, message boxes and dialogs (at opening) in one order

// ---- Kernel objects and modules -------------------------------------------------------------------

// What GetSystemDirectoryA gives; LoadLibraryExA loads only winmm.dll from there, whose sndPlaySoundA is the
// recording one above.
constexpr const char* SYSTEM_DIRECTORY = "C:\\WINDOWS\\system32";

// CreateFileA opens native files (OPEN_ALWAYS and OPEN_EXISTING; a folder only with FILE_FLAG_BACKUP_SEMANTICS).
// Share modes are kept between its own handles by the file's identity, so any name of a file conflicts;
// FILE_FLAG_DELETE_ON_CLOSE removes the file at the last close of a handle to it, and reset() closes every
// handle as the end of a process does. A folder without write permission for its owner takes no new file
// and a file without it opens for reading only, even when the tests run as root, as on Windows for a player
// without those rights. GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA") gives
// a call that writes the handle's path as realpath resolved it at the open.
std::vector<std::string> open_files();      // the paths of the open file handles, in the order they were opened
void lack_final_path_call();                // from now on kernel32.dll has no GetFinalPathNameByHandleA, as on Windows XP

struct library_load {
    std::string path;     // the LoadLibraryExA argument
    DWORD flags;
    int loaded;           // 1 when a module was returned
};
const std::vector<library_load>& library_loads();
void fail_library_loads();                // every LoadLibraryExA from now on returns NULL

// ---- Drawing and GDI objects ----------------------------------------------------------------------

enum class draw_kind { bit_blt, stretch_blt, text_out };
struct draw_op {
    draw_kind kind;
    HDC dest;
    int x, y, width, height;          // destination; width and height 0 for text_out
    HBITMAP source;                   // bitmap selected into the source DC (NULL for text_out)
    int source_resource;              // its LoadBitmapA number, 0 when it is not a loaded bitmap
    int src_x, src_y, src_width, src_height;  // BitBlt: src_width/height equal width/height
    DWORD rop;
    std::string text;                 // text_out: exactly the characters given
    HFONT font;                       // font selected into dest
    LOGFONTA logfont;                 // its LOGFONT (all 0 for the DC's default font)
    UINT align;                       // text alignment of dest
    int paint;                        // number of the paint it happened in (1 = first), 0 outside a paint
};
const std::vector<draw_op>& draw_log();   // since reset or clear_draw_log (oldest entries are dropped past 200000)
void clear_draw_log();
std::vector<draw_op> last_paint();        // the operations of the latest BeginPaint..EndPaint
int paints();                             // BeginPaint calls since reset

enum class object_kind { bitmap, font, brush, memory_dc, paint_dc, cursor, icon, unknown };
struct gdi_object {
    void* handle;
    object_kind kind;
    int stock;                        // 1 for stock objects and a DC's default bitmap and font
    int resource;                     // bitmaps, icons: resource number; cursors: IDC_ value
    int width, height;                // bitmaps
    LOGFONTA logfont;                 // fonts
    int created_in_paint;             // paint number when created inside a paint, else 0
    int deletes;                      // DeleteObject / DeleteDC calls on it
    int alive;                        // 0 once deleted (a paint DC once EndPaint ran)
    HBITMAP selected_bitmap;          // DCs: what is selected now
    HFONT selected_font;
    UINT text_align;
};
const std::vector<gdi_object>& objects(); // every object, creation order
const gdi_object* object(const void* handle);  // nullptr when unknown; valid until the next GDI call
int live_count(object_kind kind);         // non-stock objects of that kind not yet deleted

struct delete_call {
    void* handle;
    object_kind kind;
    BOOL result;
};
const std::vector<delete_call>& delete_calls();  // DeleteObject and DeleteDC, in order
// Calls that the real platform refuses or that betray a fault: deleting an object still selected into a
// live DC, deleting twice, unknown or deleted handles, a bitmap selected into two DCs, closing a handle that
// is not open, and so on.
const std::vector<std::string>& misuses();

}  // namespace headless
