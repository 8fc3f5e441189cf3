// modal.h: the modal windows the heart opens, what follows each once it has closed, and a close of the
// main window that waits until they have all closed.
#pragma once

extern int modal_open;     // modal windows open now
extern int close_waiting;  // a close came while one was open

// What the heart does once a modal window has closed; null for nothing.
typedef void (*modal_then)();

// Each opens one modal window and runs then once it has closed. While a close waits none opens: then runs
// at once, as if it had been closed straight away, and the New High Score dialog's entry is stored as its
// OK stores it.
void open_message_box(const char* text, const char* caption, modal_then then);
void open_new_high_score(modal_then then);
void open_top_scores(modal_then then);

// Called by the front end when modal window `modal` has closed, however that came about.
void modal_closed(int modal);

// For a close of the main window: 0 when no modal window is open, so the close may run now. Otherwise 1:
// the close waits, an open score dialog ends as its OK does, and the close is asked for again once the
// last modal window has closed.
int close_waits();

// Forgets every modal window, for a fresh start.
void reset_modal_windows();
