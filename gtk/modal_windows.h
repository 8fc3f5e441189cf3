// modal_windows.h: the GTK program's modal windows: the message boxes and the two score dialogs.
#pragma once

#include <gtk/gtk.h>

// The modal window shown last and still open, null when there is none: what a second start brings forward.
GtkWindow* modal_window_on_top();
// Stores the entry of an open New High Score dialog with the name as typed so far, without touching the
// dialog: for a program that cannot call GTK any more.
void store_entry_as_typed();
