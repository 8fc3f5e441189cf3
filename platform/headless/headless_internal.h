// headless_internal.h: the stand-in's shared state, seen only by its own sources.
#pragma once

#include "headless.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace headless {
namespace detail {

struct window_rec {
    window_info info;
    WNDPROC proc;               // NULL for controls and dialogs
    DLGPROC dlgproc;            // dialogs only
    UINT class_style;
    int is_dialog;
    int destroyed;
    int in_paint;               // between BeginPaint and EndPaint
    std::map<std::string, HANDLE> props;  // by lower-case name: property names are atoms
};

struct class_rec {
    std::string name;
    ATOM atom;
    WNDPROC proc;
    UINT style;
    int menu_id;                // menu resource number, 0 for none, -1 for a named menu
    HBRUSH background;
};

struct menu_rec {
    std::vector<UINT> items;    // command ids, in order
    std::map<UINT, int> checked;
};

struct timer_rec {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    long long due;
    long long seq;              // breaks ties between timers due at the same moment
    TIMERPROC proc;
};

struct open_dialog {
    HWND hwnd;
    int ended;
    INT_PTR result;
};

// A native file or folder behind a handle of CreateFileA.
struct open_file {
    int fd;
    unsigned long long device, inode;  // the file's identity, whatever name it was opened by
    std::string path;                  // as realpath resolved it at the open
    DWORD use;                         // FILE_SHARE_READ, _WRITE and _DELETE bits for the access taken
    DWORD share;
    int delete_on_close;
};

struct state {
    std::map<uintptr_t, window_rec> windows;
    std::vector<HWND> window_order;
    std::vector<class_rec> classes;
    std::map<uintptr_t, menu_rec> menus;
    int fail_next_main = 0;

    std::deque<MSG> queue;
    std::vector<MSG> posted;
    std::vector<MSG> dropped;
    int quit = 0;
    int quit_code = 0;
    std::function<void()> idle_hook;

    std::vector<timer_rec> timers;
    long long timer_seq = 0;
    long long now = 0;
    int ticks = 0;
    int loop_ticks = 0;

    HCURSOR cursor = NULL;
    std::vector<HCURSOR> cursor_calls;
    int cursor_count = 0;
    HICON program_icon = NULL;

    std::vector<invalidation> invalidations;
    std::vector<move_window_call> moves;

    HWND foreground = NULL;

    std::map<int, std::deque<std::vector<dialog_action>>> scripts;
    std::deque<std::vector<dialog_action>> box_scripts;
    int modal_ticks = 0;
    std::vector<open_dialog> open_dialogs;
    std::vector<message_box> boxes;
    std::vector<dialog_run> runs;
    std::vector<sound_call> sounds;
    std::vector<event> events;

    DWORD last_error = 0;
    std::map<uintptr_t, open_file> files;
    int no_final_path = 0;
    std::vector<library_load> library_loads;
    int fail_library_loads = 0;

    std::vector<draw_op> draw_log;
    std::vector<draw_op> last_paint;
    int paints = 0;
    int current_paint = 0;

    std::vector<gdi_object> objects;
    std::map<uintptr_t, size_t> object_index;
    std::vector<size_t> live_dcs;   // indices into objects: few at any time, searched on every select
    std::vector<delete_call> delete_calls;
    std::vector<std::string> misuses;
};

state& st();
void* new_handle();                 // never reused, not even across reset()
std::string hex(const void* handle);
void misuse(const std::string& what);

window_rec* find_window(HWND hwnd);  // nullptr when unknown or destroyed
void destroy_window(HWND hwnd);      // marks it and its children destroyed, drops its timers
HWND create_control(HWND parent, int id, const char* class_name, const char* text, DWORD style);
RECT client_rect(const window_rec& w);

void close_files();                 // every file handle, as the end of a process closes them
int deliver_tick();                 // one WM_TIMER from the earliest timer, dispatched; 0 when there is none
void paint_invalid_windows();       // what a modal loop does between messages
HGDIOBJ stock_object(int index);    // also the DC defaults: index -1 is the default bitmap
gdi_object* find_object(const void* handle);
gdi_object& add_object(void* handle, object_kind kind);

}  // namespace detail
}  // namespace headless
