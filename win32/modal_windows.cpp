// modal_windows.cpp: the modal windows the heart asks for. Each runs a modal loop of its own, which goes on
// delivering the main window's ticks and posted messages, and tells the heart once it has returned.

#include "modal.h"
#include "platform.h"
#include "score_dialogs.h"
#include "shell.h"

void platform_message_box(int modal, const char *text, const char *caption)
{
    MessageBoxA(heart_window, text, caption, MB_OK);
    modal_closed(modal);
}

void platform_new_high_score(int modal)
{
    show_new_high_score(MyInstance, heart_window);
    modal_closed(modal);
}

void platform_top_scores(int modal)
{
    show_top_scores(MyInstance, heart_window);
    modal_closed(modal);
}

void platform_end_score_dialog()
{
    end_score_dialog();
}
