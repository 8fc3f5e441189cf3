// modal.cpp: the modal windows the heart opens. A front end's modal window may block until it closes (Windows)
// or return at once and close later (GTK); either way what follows it runs when it has closed.
#include "modal.h"

#include "platform.h"
#include "scores.h"

int modal_open = 0;
int close_waiting = 0;

namespace {

// Windows open at once: a turn's box behind the About box, each with what follows it.
constexpr int MODAL_WINDOWS = 8;
int in_use[MODAL_WINDOWS];
modal_then after[MODAL_WINDOWS];

// The number the new window goes by, or -1 when none opens and then has already run.
int begin(modal_then then)
{
    for (int m = 0; m < MODAL_WINDOWS && !close_waiting; m++) {
        if (!in_use[m]) {
            in_use[m] = 1;
            after[m] = then;
            modal_open++;
            return m;
        }
    }
    if (then != nullptr)
        then();
    return -1;
}

}  // namespace

void open_message_box(const char *text, const char *caption, modal_then then)
{
    const int m = begin(then);
    if (m >= 0)
        platform_message_box(m, text, caption);
}

void open_new_high_score(modal_then then)
{
    // A game that ends while a close waits still enters its score: as the dialog's OK would, with the name
    // typed last.
    if (close_waiting)
        enter_high_score();
    const int m = begin(then);
    if (m >= 0)
        platform_new_high_score(m);
}

void open_top_scores(modal_then then)
{
    const int m = begin(then);
    if (m >= 0)
        platform_top_scores(m);
}

void modal_closed(int modal)
{
    if (modal < 0 || modal >= MODAL_WINDOWS || !in_use[modal])
        return;
    in_use[modal] = 0;
    const modal_then then = after[modal];
    // The close that waited is asked for, not run here: what follows the window goes first.
    if (--modal_open == 0 && close_waiting)
        platform_close();
    if (then != nullptr)
        then();
}

int close_waits()
{
    if (modal_open == 0) {
        close_waiting = 0;
        return 0;
    }
    close_waiting = 1;
    // A message box stays until it is answered; a score dialog ends now, its entry stored.
    platform_end_score_dialog();
    return 1;
}

void reset_modal_windows()
{
    for (int m = 0; m < MODAL_WINDOWS; m++)
        in_use[m] = 0;
    modal_open = 0;
    close_waiting = 0;
}
