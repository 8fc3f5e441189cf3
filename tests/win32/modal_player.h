// modal_player.h: a player at the program's modal windows. A timer of the test's own thread, which every modal
// loop delivers as the main loop does, finds the modal window open (the dialog or message box on top) and plays
// the next step for it there; a modal window that no step is for is answered with OK.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct modal_step {
    std::string window;              // the caption of the modal window it needs open; "" for none open
    std::function<bool(HWND)> act;   // false: not yet, to be played again at the next tick
};

// A step that is done once it has run.
modal_step at(const std::string& window, std::function<void(HWND)> act);
// What a player does in a dialog: types a name, presses OK or Esc, clicks the close box.
modal_step type_name(const std::string& window, const std::string& name);
modal_step press_ok(const std::string& window);
modal_step press_escape(const std::string& window);
modal_step close_box(const std::string& window);
// The text of a control of the dialog, as the system gives it back.
std::string item_text(HWND dialog, int id);

struct modal_window_seen {
    std::string caption;
    HWND owner;
};

// Plays the steps, in order, from its making to its end. A step never runs a modal loop of its own: it posts what
// opens one.
class modal_player {
public:
    explicit modal_player(std::vector<modal_step> steps);
    ~modal_player();
    modal_player(const modal_player&) = delete;
    modal_player& operator=(const modal_player&) = delete;

    // Every modal window found open, in the order they opened.
    const std::vector<modal_window_seen>& windows() const { return windows_; }
    size_t steps_left() const { return steps_.size() - next_; }

private:
    static void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD);
    void play();

    std::vector<modal_step> steps_;
    size_t next_ = 0;
    std::vector<modal_window_seen> windows_;
    std::vector<HWND> handles_;
    UINT_PTR timer_;
    int playing_ = 0;
};
