// fake_platform.h: the platform the heart's tests run it on. Every request is recorded in one ordered list, and
// the modal windows play scripts, either inside the call that opens them (as on Windows) or afterwards, one
// event at a time, as a main loop gets round to them (as on GTK).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fake {

enum class mode { blocking, asynchronous };

// What the player, or the system, does while a modal window is open; hold keeps an asynchronous one open
// until the test acts on it.
enum kind { typing, ok, close_box, modal_tick, calling, hold };
struct action {
    kind what;
    std::string name = "";               // typing
    std::function<void()> fn = nullptr;  // calling
};
action call(std::function<void()> fn);

struct window {
    int modal;
    std::string name, text;       // a message box's caption and text; "New High Score" or "Top Scores"
    int score_then, hilite_then;  // current_score and hilite_score as it opened
    std::vector<action> script;
    std::string typed;  // the New High Score dialog's name
    size_t next = 0;
    int ended = 0;  // closed, by the player or from outside
    int shut = 0;   // and the heart told so
};

// Every request and every event delivered, in order: "cursor busy|normal", "repaint", "repaint erased",
// "click X,Y" (queued), "check ITEM on|off", "fit WxH button X,Y" (the client area, the button's corner),
// "close asked", "close waits", "closed", "open NAME", "shut NAME" (the heart told it has closed),
// "sound move|woops|drop|zip|gameover|winner|none|?", "stop", "player", "tick"; and what they leave.
struct record {
    std::vector<std::string> events;
    std::deque<window> windows;  // a deque keeps each window in place while others open
    std::map<int, int> marks;    // check mark by item
    int busy = 0, closed = 0;    // the cursor; the main window's close has run
};
const record& seen();

// Forgets everything; windows opened from now on behave as m says.
void reset(mode m);
// The next window called name plays these actions and then OK, unless they close it or end in hold.
void script(const std::string& name, std::vector<action> actions);

// The main loop hands the heart an event; what the open windows' scripts then do follows before it returns.
void deliver(const std::function<void()>& event);
void tick(int n = 1);
// The close of the main window, as its close box gives it: it runs now, or waits for the modal windows.
void close_main_window();
// Plays a on the open window called name, now: asynchronous windows only.
void act(const std::string& name, const action& a);
// Delivers the queued clicks and close requests, oldest first, until none is left; returns how many.
int run_pending();

}  // namespace fake
