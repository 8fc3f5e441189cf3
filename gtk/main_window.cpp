// main_window.cpp: the GTK program's main window: the board in a drawing area, the New Game button, the
// menu bar with its check marks, the turn timer, and the heart's requests that concern the window.
#include "main_window.h"

#include <cstring>

#include "board.h"
#include "board_picture.h"
#include "commands.h"
#include "layout.h"
#include "modal.h"
#include "modal_windows.h"
#include "paint.h"
#include "platform.h"
#include "prefs.h"
#include "resource.h"
#include "route.h"
#include "session.h"
#include "sound.h"
#include "sound_server.h"
#include "turn.h"

GtkWindow* main_window = nullptr;
int main_window_closed = 0;

namespace {

GtkWidget* board_area = nullptr;
GtkWidget* new_game_button = nullptr;
guint turn_timer = 0;

// The menu bar: three menus, their items in order, each a command by the name of its action; the four
// settings carry check marks. No accelerators: the underlined letters work through the menu bar only.
const char* const MENU_TITLES[] = {"File", "_Edit", "_Help"};
struct menu_action {
    int menu;
    const char* label;
    const char* name;
    int id;
    int checked;
};
const menu_action MENU_ACTIONS[] = {
    {0, "_New Game", "new-game", IDM_NEWGAME, 0},
    {0, "_Show Scores", "show-scores", IDM_SHOWSCORES, 0},
    {0, "E_xit", "exit", IDM_EXIT, 0},
    {1, "_Little Board", "little-board", IDM_LITTLEBOARD, 1},
    {1, "_Big Board", "big-board", IDM_BIGBOARD, 1},
    {1, "_Preview", "preview", IDM_PREVIEW, 1},
    {1, "_Sound", "sound", IDM_SOUND, 1},
    {2, "_About", "about", IDM_ABOUT, 0},
};

GtkApplication* the_application = nullptr;

// What the painter shows, as last painted: a repaint is asked for only when some of it has changed.
struct picture {
    int board[BOARD_SIZE][BOARD_SIZE];
    int next_batch[BATCH_SIZE];
    int score, cell_size, display_preview, hilite_x, hilite_y;
};
picture painted;
int painted_once = 0;

picture what_is_shown()
{
    picture p;
    std::memcpy(p.board, board, sizeof p.board);
    std::memcpy(p.next_batch, next_batch, sizeof p.next_batch);
    p.score = current_score;
    p.cell_size = cell_size;
    p.display_preview = display_preview;
    p.hilite_x = hilite_x;
    p.hilite_y = hilite_y;
    return p;
}

void draw(GtkDrawingArea*, cairo_t* cr, int, int, gpointer)
{
    paint_client(cr);
    painted = what_is_shown();
    painted_once = 1;
}

// The main window takes no clicks or commands while a modal window is open, as on Windows.
int takes_input()
{
    return main_window != nullptr && !main_window_closed && modal_open == 0;
}

// The turn timer runs while a turn does, its dialogs included: at rest a tick changes nothing, and a
// program at rest does not wake.
gboolean tick(gpointer)
{
    on_tick();
    if (move_complete == 1 && pptr == 0) {
        turn_timer = 0;
        return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
}

// A click that starts a turn starts the timer; its first tick comes one period later, as the next tick of a
// timer that always runs comes within one.
void click_at(unsigned x, unsigned y)
{
    on_click(x, y);
    if (turn_timer == 0 && (move_complete == 0 || pptr > 0))
        turn_timer = g_timeout_add(TURN_TICK_MS, tick, nullptr);
}

void pressed(GtkGestureClick*, int, double x, double y, gpointer)
{
    if (!takes_input() || x < 0 || y < 0)
        return;
    // As a click's position reaches the Windows program: unsigned 16-bit client coordinates.
    click_at(static_cast<unsigned>(x) & 0xFFFF, static_cast<unsigned>(y) & 0xFFFF);
}

void activated(GSimpleAction*, GVariant*, gpointer id)
{
    if (takes_input())
        command(GPOINTER_TO_INT(id));
}

void new_game_clicked(GtkButton*, gpointer)
{
    if (takes_input())
        command(IDC_NEWGAME);
}

// Saves, then releases: the game on the board is what reaches prefs.txt.
void close_main_window()
{
    main_window_closed = 1;
    SavePrefs();
    if (turn_timer != 0)
        g_source_remove(turn_timer);
    turn_timer = 0;
    release_sounds();
    close_sound_server();
}

// The close box, Exit, or a close that waited for the modal windows.
gboolean close_requested(GtkWindow*, gpointer)
{
    if (main_window_closed)
        return FALSE;
    if (close_waits())
        return TRUE;
    close_main_window();
    return FALSE;
}

void destroyed(GtkWidget*, gpointer)
{
    release_pictures();
    main_window = nullptr;
    board_area = nullptr;
    new_game_button = nullptr;
}

GSimpleAction* action_of(int item)
{
    for (const menu_action& a : MENU_ACTIONS)
        if (a.id == item)
            return G_SIMPLE_ACTION(g_action_map_lookup_action(G_ACTION_MAP(the_application), a.name));
    return nullptr;
}

gboolean queued_click(gpointer position)
{
    const guint xy = GPOINTER_TO_UINT(position);
    if (main_window != nullptr && !main_window_closed)
        click_at(xy & 0xFFFF, xy >> 16);
    return G_SOURCE_REMOVE;
}

gboolean queued_close(gpointer)
{
    if (main_window != nullptr)
        gtk_window_close(main_window);
    return G_SOURCE_REMOVE;
}

}  // namespace

void set_up_menus(GtkApplication* application)
{
    the_application = application;
    for (const menu_action& a : MENU_ACTIONS) {
        GSimpleAction* action = a.checked ? g_simple_action_new_stateful(a.name, nullptr, g_variant_new_boolean(FALSE))
                                          : g_simple_action_new(a.name, nullptr);
        g_signal_connect(action, "activate", G_CALLBACK(activated), GINT_TO_POINTER(a.id));
        g_action_map_add_action(G_ACTION_MAP(application), G_ACTION(action));
        g_object_unref(action);
    }
    GMenu* bar = g_menu_new();
    for (int m = 0; m < 3; m++) {
        GMenu* menu = g_menu_new();
        for (const menu_action& a : MENU_ACTIONS) {
            if (a.menu != m)
                continue;
            gchar* detailed = g_strconcat("app.", a.name, nullptr);
            g_menu_append(menu, a.label, detailed);
            g_free(detailed);
        }
        g_menu_append_submenu(bar, MENU_TITLES[m], G_MENU_MODEL(menu));
        g_object_unref(menu);
    }
    gtk_application_set_menubar(application, G_MENU_MODEL(bar));
    g_object_unref(bar);

    GtkCssProvider* css = gtk_css_provider_new();
    // The button stands 80 x 25 pixels under the board, as on Windows.
    gtk_css_provider_load_from_data(css, "button.new-game { min-height: 0; min-width: 0; padding: 0 4px; }", -1);
    gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(css),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}

void open_main_window(GtkApplication* application)
{
    load_pictures();
    main_window = GTK_WINDOW(gtk_application_window_new(application));
    gtk_window_set_title(main_window, "Dovra");
    gtk_window_set_icon_name(main_window, "dovra");
    gtk_application_window_set_show_menubar(GTK_APPLICATION_WINDOW(main_window), TRUE);

    board_area = gtk_drawing_area_new();
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(board_area), draw, nullptr, nullptr);
    GtkGesture* click = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), GDK_BUTTON_PRIMARY);
    g_signal_connect(click, "pressed", G_CALLBACK(pressed), nullptr);
    gtk_widget_add_controller(board_area, GTK_EVENT_CONTROLLER(click));

    new_game_button = gtk_button_new_with_label("New Game");
    gtk_widget_add_css_class(new_game_button, "new-game");
    gtk_widget_set_halign(new_game_button, GTK_ALIGN_START);
    gtk_widget_set_valign(new_game_button, GTK_ALIGN_START);
    gtk_widget_set_focusable(new_game_button, FALSE);
    g_signal_connect(new_game_button, "clicked", G_CALLBACK(new_game_clicked), nullptr);

    GtkWidget* client = gtk_overlay_new();
    gtk_overlay_set_child(GTK_OVERLAY(client), board_area);
    gtk_overlay_add_overlay(GTK_OVERLAY(client), new_game_button);
    gtk_window_set_child(main_window, client);
    g_signal_connect(main_window, "close-request", G_CALLBACK(close_requested), nullptr);
    g_signal_connect(main_window, "destroy", G_CALLBACK(destroyed), nullptr);

    platform_fit_window();
    set_check_marks();
    start_game();
    gtk_window_present(main_window);
}

int bring_main_window_forward()
{
    if (main_window == nullptr)
        return 0;
    GtkWindow* front = modal_window_on_top();
    gtk_window_present(front != nullptr ? front : main_window);
    return 1;
}

void end_main_window()
{
    if (main_window == nullptr || main_window_closed)
        return;
    session_ends();
    close_main_window();
    gtk_window_destroy(main_window);
}

void keep_game_as_it_ends()
{
    if (main_window == nullptr || main_window_closed)
        return;
    main_window_closed = 1;
    store_entry_as_typed();
    keep_what_is_owed();
}

// ---- What the heart asks of the window ----------------------------------------------------------------

void platform_show_cursor(int busy)
{
    if (main_window != nullptr)
        gtk_widget_set_cursor_from_name(GTK_WIDGET(main_window), busy ? "wait" : nullptr);
}

void platform_repaint(int)
{
    if (board_area == nullptr)
        return;
    const picture now = what_is_shown();
    if (!painted_once || std::memcmp(&now, &painted, sizeof now) != 0)
        gtk_widget_queue_draw(board_area);
}

// Handled after the current event, as a posted message is.
void platform_queue_click(int x, int y)
{
    const guint xy = (static_cast<guint>(y) & 0xFFFF) << 16 | (static_cast<guint>(x) & 0xFFFF);
    g_idle_add_full(G_PRIORITY_DEFAULT, queued_click, GUINT_TO_POINTER(xy), nullptr);
}

void platform_check(int item, int on)
{
    if (GSimpleAction* action = action_of(item))
        g_simple_action_set_state(action, g_variant_new_boolean(on ? TRUE : FALSE));
}

// The client area takes the settings' size; the window shrinks or grows to it, its corner in place.
void platform_fit_window()
{
    if (board_area == nullptr)
        return;
    const int width = window_extent(client_width());
    const int height = window_extent(client_height());
    gtk_drawing_area_set_content_width(GTK_DRAWING_AREA(board_area), width);
    gtk_drawing_area_set_content_height(GTK_DRAWING_AREA(board_area), height);
    gtk_widget_set_size_request(new_game_button, BUTTON_WIDTH, BUTTON_HEIGHT);
    gtk_widget_set_margin_start(new_game_button, button_x() > 0 ? button_x() : 0);
    gtk_widget_set_margin_top(new_game_button, button_y());
    // The smallest default size: the window takes the least its content asks for.
    gtk_window_set_default_size(main_window, 1, 1);
    gtk_widget_queue_draw(board_area);
}

void platform_close()
{
    g_idle_add_full(G_PRIORITY_DEFAULT, queued_close, nullptr, nullptr);
}
