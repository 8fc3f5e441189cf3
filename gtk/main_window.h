// main_window.h: the GTK program's main window: the board in a drawing area, the New Game button, the
// menu bar, the turn timer, and the requests of the heart that concern it.
#pragma once

#include <gtk/gtk.h>

extern GtkWindow* main_window;  // null until it opens, and again once it has closed
extern int main_window_closed;  // its close has run: the game saved, the pictures and sounds released

// The application's menu bar and its actions, before any window opens.
void set_up_menus(GtkApplication* application);
// Opens the main window with a new game or the saved one.
void open_main_window(GtkApplication* application);
// Brings the main window, or the modal window it shows, to the front; 0 when there is none yet.
int bring_main_window_forward();
// The program ends without a close of the window (the session or a signal ends it): what the open modal
// windows' OK would still do is done, the game saved, and everything released. Once only.
void end_main_window();
// The same when not even GTK may be called any more: the name being typed, the bonus and New Game's deal
// are kept as they stand and the game saved; nothing is released.
void keep_game_as_it_ends();
