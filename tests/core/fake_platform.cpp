// fake_platform.cpp: the platform operations of the heart's tests, recorded, with modal windows run from scripts.
#include "core/fake_platform.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "board.h"
#include "layout.h"
#include "modal.h"
#include "platform.h"
#include "prefs.h"
#include "scores.h"
#include "sound.h"
#include "turn.h"

namespace fake {

namespace {

struct state : record {
    mode m = mode::blocking;
    std::map<std::string, std::deque<std::vector<action>>> scripts;
    std::deque<std::function<void()>> posted;  // queued clicks and close requests
    int settling = 0;
} s;

void deliver_tick()
{
    s.events.push_back("tick");
    on_tick();
}

// However it ends, the New High Score dialog stores the name typed, once.
void end(window& w)
{
    if (!w.ended && w.name == "New High Score") {
        std::snprintf(newname, sizeof newname, "%s", w.typed.c_str());
        enter_high_score();
    }
    w.ended = 1;
}

void shut(window& w)
{
    w.shut = 1;
    s.events.push_back("shut " + w.name);
    modal_closed(w.modal);
}

void play(window& w, const action& a)
{
    if (a.what == typing)
        w.typed = a.name;
    else if (a.what == modal_tick)
        deliver_tick();
    else if (a.what == calling)
        a.fn();
    else if (a.what == hold && s.m == mode::blocking)
        ADD_FAILURE() << w.name << ": a window that blocks cannot wait for the test";
    if (a.what == ok || a.what == close_box || a.what == hold)
        end(w);
}

// One event of a main loop for the windows: the heart told of a window that has ended, else the newest window
// with an action to play plays it, so one opened behind another acts first, as if nested. 0 for none.
int window_step()
{
    window* next = nullptr;
    for (window& w : s.windows) {
        if (w.ended && !w.shut) {
            shut(w);
            return 1;
        }
        if (!w.ended && w.next < w.script.size() && w.script[w.next].what != hold)
            next = &w;
    }
    if (next != nullptr)
        play(*next, next->script[next->next++]);
    return next != nullptr;
}

// Asynchronous windows play what they can before the test's next event.
void settle()
{
    if (s.m == mode::blocking || s.settling)
        return;
    s.settling = 1;
    while (window_step()) {
    }
    s.settling = 0;
}

void open(int modal, const std::string& name, const std::string& text)
{
    std::vector<action> script;
    std::deque<std::vector<action>>& queued = s.scripts[name];
    if (!queued.empty()) {
        script = queued.front();
        queued.pop_front();
    }
    if (script.empty() || script.back().what != hold)
        script.push_back({ok});
    s.windows.push_back({modal, name, text, current_score, hilite_score, script, newname});
    s.events.push_back("open " + name);
    if (s.m == mode::asynchronous)
        return;
    // As a modal loop does: the script plays inside the call that opened the window.
    window& w = s.windows.back();
    while (!w.ended)
        play(w, w.script[w.next++]);
    shut(w);
}

}  // namespace

action call(std::function<void()> fn) { return {calling, "", std::move(fn)}; }

const record& seen() { return s; }

void reset(mode m)
{
    s = state();
    s.m = m;
}

void script(const std::string& name, std::vector<action> actions) { s.scripts[name].push_back(std::move(actions)); }

void deliver(const std::function<void()>& event)
{
    event();
    settle();
}

void tick(int n)
{
    for (int i = 0; i < n; i++)
        deliver(deliver_tick);
}

void close_main_window()
{
    if (s.closed)
        return;
    if (close_waits()) {
        s.events.push_back("close waits");
        return;
    }
    SavePrefs();
    release_sounds();
    s.closed = 1;
    s.events.push_back("closed");
}

void act(const std::string& name, const action& a)
{
    for (auto w = s.windows.rbegin(); w != s.windows.rend(); ++w)
        if (w->name == name && !w->ended)
            return deliver([&] { play(*w, a); });
    ADD_FAILURE() << "no window " << name << " is open";
}

int run_pending()
{
    int n = 0;
    for (; !s.posted.empty(); n++) {
        const std::function<void()> event = s.posted.front();
        s.posted.pop_front();
        deliver(event);
    }
    return n;
}

}  // namespace fake

// ---- The platform operations ------------------------------------------------------------------------------

void platform_show_cursor(int busy)
{
    fake::s.busy = busy;
    fake::s.events.push_back(busy ? "cursor busy" : "cursor normal");
}

void platform_repaint(int erase) { fake::s.events.push_back(erase ? "repaint erased" : "repaint"); }

void platform_queue_click(int x, int y)
{
    fake::s.events.push_back("click " + std::to_string(x) + "," + std::to_string(y));
    fake::s.posted.push_back([=] { on_click(static_cast<unsigned>(x), static_cast<unsigned>(y)); });
}

void platform_check(int item, int on)
{
    fake::s.marks[item] = on;
    fake::s.events.push_back("check " + std::to_string(item) + (on ? " on" : " off"));
}

void platform_fit_window()
{
    fake::s.events.push_back("fit " + std::to_string(window_extent(client_width())) + "x" +
                             std::to_string(window_extent(client_height())) + " button " + std::to_string(button_x()) +
                             "," + std::to_string(button_y()));
}

void platform_close()
{
    fake::s.events.push_back("close asked");
    fake::s.posted.push_back(fake::close_main_window);
}

void platform_message_box(int modal, const char* text, const char* caption) { fake::open(modal, caption, text); }

void platform_new_high_score(int modal) { fake::open(modal, "New High Score", ""); }

void platform_top_scores(int modal) { fake::open(modal, "Top Scores", ""); }

// Every score dialog open ends as its OK ends it; an asynchronous one tells the heart at the next event.
void platform_end_score_dialog()
{
    for (fake::window& w : fake::s.windows)
        if (w.name == "New High Score" || w.name == "Top Scores")
            fake::end(w);
}

void platform_open_sound() { fake::s.events.push_back("player"); }

void platform_play_sound(const unsigned char* image, long length)
{
    static const char* const names[SOUND_SLOTS] = {"move", "woops", "drop", "zip", "gameover", "winner"};
    std::string name = image == nullptr ? "none" : "?";
    for (int slot = 0; slot < SOUND_SLOTS; slot++)
        if (image != nullptr && image == wavbuffer[slot] && length == wavlength[slot])
            name = names[slot];
    fake::s.events.push_back("sound " + name);
}

void platform_stop_sound() { fake::s.events.push_back("stop"); }
