// modal_windows.cpp: the GTK program's modal windows: the message boxes, the New High Score dialog and the
// Top Scores dialog, with the Windows program's texts. Each returns at once and tells the heart when it has
// closed. Names are kept in the Windows code page, as in scores.txt, and shown and typed in UTF-8.
#include "modal_windows.h"

#include <cstdio>
#include <cstring>

#include "board.h"
#include "main_window.h"
#include "modal.h"
#include "platform.h"
#include "scores.h"

namespace {

// The modal windows open, oldest first.
constexpr int MAX_OPEN = 8;
GtkWindow* open_windows[MAX_OPEN];
int open_count = 0;

// The New High Score dialog while its entry is still to be stored, and its name field.
GtkWindow* entry_dialog = nullptr;
GtkEditable* name_field = nullptr;
GtkWindow* scores_dialog = nullptr;

gchar* from_code_page(const char* text)
{
    return g_convert_with_fallback(text, -1, "UTF-8", "WINDOWS-1252", "?", nullptr, nullptr, nullptr);
}

// text in the Windows code page, at most size - 1 bytes, into buffer; what it cannot hold becomes "?".
void to_code_page(const char* text, char* buffer, size_t size)
{
    gchar* converted = g_convert_with_fallback(text, -1, "WINDOWS-1252", "UTF-8", "?", nullptr, nullptr, nullptr);
    g_strlcpy(buffer, converted != nullptr ? converted : "", size);
    g_free(converted);
}

void forget(GtkWindow* window)
{
    for (int i = 0; i < open_count; i++) {
        if (open_windows[i] == window) {
            std::memmove(open_windows + i, open_windows + i + 1, sizeof open_windows[0] * (open_count - i - 1));
            open_count--;
            return;
        }
    }
}

void closed(GtkWidget* window, gpointer modal)
{
    forget(GTK_WINDOW(window));
    if (GTK_WINDOW(window) == scores_dialog)
        scores_dialog = nullptr;
    // Windows that a closing program takes down with it have nothing left to follow them.
    if (!main_window_closed)
        modal_closed(GPOINTER_TO_INT(modal));
}

GtkWindow* new_modal_window(int modal, const char* title)
{
    GtkWindow* window = GTK_WINDOW(gtk_window_new());
    gtk_window_set_title(window, title);
    gtk_window_set_transient_for(window, main_window);
    gtk_window_set_modal(window, TRUE);
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_destroy_with_parent(window, TRUE);
    g_signal_connect(window, "destroy", G_CALLBACK(closed), GINT_TO_POINTER(modal));
    if (open_count < MAX_OPEN)
        open_windows[open_count++] = window;
    return window;
}

GtkWidget* label(const char* text, float xalign)
{
    GtkWidget* l = gtk_label_new(text);
    gtk_label_set_xalign(GTK_LABEL(l), xalign);
    return l;
}

// A box of the given children, top to bottom, with the OK button last; OK is the default button.
GtkWidget* ok_button(GtkWindow* window, GCallback pressed)
{
    GtkWidget* ok = gtk_button_new_with_label("OK");
    gtk_widget_set_halign(ok, GTK_ALIGN_CENTER);
    gtk_widget_set_size_request(ok, 75, -1);
    g_signal_connect_swapped(ok, "clicked", pressed, window);
    gtk_window_set_default_widget(window, ok);
    return ok;
}

GtkWidget* column(GtkWindow* window)
{
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
    gtk_widget_set_margin_start(box, 12);
    gtk_widget_set_margin_end(box, 12);
    gtk_widget_set_margin_top(box, 12);
    gtk_widget_set_margin_bottom(box, 12);
    gtk_window_set_child(window, box);
    return box;
}

void show(GtkWindow* window, GtkWidget* focus)
{
    gtk_window_present(window);
    if (focus != nullptr)
        gtk_widget_grab_focus(focus);
}

// A message box closes on OK, Enter, Esc and its close box alike.
gboolean escape(GtkWidget* window, GVariant*, gpointer)
{
    gtk_window_close(GTK_WINDOW(window));
    return TRUE;
}

// ---- New High Score: every way of closing it stores the entry, once --------------------------------------

void store_entry()
{
    if (entry_dialog == nullptr)
        return;
    to_code_page(gtk_editable_get_text(name_field), newname, sizeof newname);
    entry_dialog = nullptr;
    name_field = nullptr;
    enter_high_score();
}

// What is typed is kept as it is typed, one character short of what the close keeps.
void name_changed(GtkEditable* field, gpointer)
{
    if (field == name_field)
        to_code_page(gtk_editable_get_text(field), newname, sizeof newname - 1);
}

gboolean entry_close_requested(GtkWindow*, gpointer)
{
    store_entry();
    return FALSE;
}

void entry_ok(GtkWindow* window)
{
    gtk_window_close(window);
}

void scores_ok(GtkWindow* window)
{
    gtk_window_close(window);
}

}  // namespace

GtkWindow* modal_window_on_top()
{
    return open_count > 0 ? open_windows[open_count - 1] : nullptr;
}

void platform_message_box(int modal, const char* text, const char* caption)
{
    GtkWindow* window = new_modal_window(modal, caption);
    GtkWidget* box = column(window);
    gtk_box_append(GTK_BOX(box), label(text, 0.0f));
    GtkWidget* ok = ok_button(window, G_CALLBACK(gtk_window_close));
    gtk_box_append(GTK_BOX(box), ok);
    GtkEventController* keys = gtk_shortcut_controller_new();
    gtk_shortcut_controller_add_shortcut(
        GTK_SHORTCUT_CONTROLLER(keys),
        gtk_shortcut_new(gtk_keyval_trigger_new(GDK_KEY_Escape, GdkModifierType(0)), gtk_callback_action_new(escape, nullptr, nullptr)));
    gtk_widget_add_controller(GTK_WIDGET(window), keys);
    show(window, ok);
}

void platform_new_high_score(int modal)
{
    GtkWindow* window = new_modal_window(modal, "New High Score");
    GtkWidget* box = column(window);
    gtk_box_append(GTK_BOX(box), label("Congratulations!", 0.5f));
    gtk_box_append(GTK_BOX(box), label("  You made it to the top ten list.", 0.5f));
    GtkWidget* score_row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_widget_set_halign(score_row, GTK_ALIGN_CENTER);
    char score[16];
    std::snprintf(score, sizeof score, "%d", current_score);
    gtk_box_append(GTK_BOX(score_row), label("Your score:", 1.0f));
    gtk_box_append(GTK_BOX(score_row), label(score, 0.0f));
    gtk_box_append(GTK_BOX(box), score_row);
    gtk_box_append(GTK_BOX(box), label("Please enter your name:", 0.5f));
    GtkWidget* field = gtk_entry_new();
    gchar* typed = from_code_page(newname);
    gtk_editable_set_text(GTK_EDITABLE(field), typed != nullptr ? typed : "");
    g_free(typed);
    gtk_entry_set_max_length(GTK_ENTRY(field), static_cast<int>(sizeof newname) - 1);
    gtk_entry_set_activates_default(GTK_ENTRY(field), TRUE);
    gtk_box_append(GTK_BOX(box), field);
    gtk_box_append(GTK_BOX(box), ok_button(window, G_CALLBACK(entry_ok)));
    entry_dialog = window;
    name_field = GTK_EDITABLE(field);
    g_signal_connect(field, "changed", G_CALLBACK(name_changed), nullptr);
    g_signal_connect(window, "close-request", G_CALLBACK(entry_close_requested), nullptr);
    show(window, field);
}

void platform_top_scores(int modal)
{
    GtkWindow* window = new_modal_window(modal, "Top Scores");
    GtkWidget* box = column(window);
    GtkWidget* table = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(table), 2);
    gtk_grid_set_column_spacing(GTK_GRID(table), 6);
    gtk_grid_attach(GTK_GRID(table), label("Name", 0.5f), 0, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(table), label("Score", 0.5f), 1, 0, 1, 1);
    for (int i = 0; i < SCORE_ROWS; i++) {
        char tline[ROW_TEXT_LEN];
        score_row_text(i, tline);
        gchar* name = from_code_page(tline);
        char score[16];
        std::snprintf(score, sizeof score, "%d", scores[i].score);
        GtkWidget* name_cell = gtk_frame_new(nullptr);
        gtk_frame_set_child(GTK_FRAME(name_cell), label(name != nullptr ? name : "", 0.5f));
        gtk_widget_set_size_request(name_cell, 150, -1);
        GtkWidget* score_cell = gtk_frame_new(nullptr);
        gtk_frame_set_child(GTK_FRAME(score_cell), label(score, 0.5f));
        gtk_widget_set_size_request(score_cell, 60, -1);
        gtk_grid_attach(GTK_GRID(table), name_cell, 0, i + 1, 1, 1);
        gtk_grid_attach(GTK_GRID(table), score_cell, 1, i + 1, 1, 1);
        g_free(name);
    }
    gtk_box_append(GTK_BOX(box), table);
    GtkWidget* ok = ok_button(window, G_CALLBACK(scores_ok));
    gtk_box_append(GTK_BOX(box), ok);
    scores_dialog = window;
    show(window, ok);
}

void store_entry_as_typed()
{
    if (entry_dialog == nullptr)
        return;
    entry_dialog = nullptr;
    name_field = nullptr;
    enter_high_score();
}

void platform_end_score_dialog()
{
    if (entry_dialog != nullptr)
        gtk_window_close(entry_dialog);
    else if (scores_dialog != nullptr)
        gtk_window_close(scores_dialog);
}
