// platform.h: what the platform-free heart asks of the front end it runs in. Every front end (the Windows
// program, the GTK program, the tests' fakes) implements each of these.
#pragma once

// ---- The main window ---------------------------------------------------------------------------------

// Shows the busy cursor (1) or the normal one (0) at once, also over the window's frame.
void platform_show_cursor(int busy);
// Asks for a repaint of the whole client area, background erased first when erase is 1; it comes later.
void platform_repaint(int erase);
// Queues a click at client pixel (x, y), handled as a player's click after the current event.
void platform_queue_click(int x, int y);
// Puts a menu item's check mark (item: an IDM_ number of resource.h) on or takes it off.
void platform_check(int item, int on);
// Fits the window and the New Game button to cell_size and display_preview, top-left corner in place.
void platform_fit_window();
// Asks for the main window's close, as its close box does; handled after the current event.
void platform_close();

// ---- Modal windows: each is owned by the main window, which takes no clicks or commands meanwhile --------
// Each may return before its window has closed or after; either way the front end calls modal_closed(modal)
// once it has.

void platform_message_box(int modal, const char* text, const char* caption);
// Asks for the name of a player whose current_score enters the table: however it closes, the name typed
// is copied into newname and enter_high_score() stores the entry, once.
void platform_new_high_score(int modal);
void platform_top_scores(int modal);
// Ends the score dialog that is open, if any, as its OK does.
void platform_end_score_dialog();

// ---- Sound: the system's player, playing an in-memory WAV image --------------------------------------

// Finds the system's sound player, once, before the first request.
void platform_open_sound();
// Plays a whole WAV image of length bytes, which the heart has checked to be a plain PCM WAV whose chunks
// all lie inside it, asynchronously, cutting short any sound still playing; null stops the sound that plays
// and plays nothing. The image stays allocated and unchanged until platform_stop_sound.
void platform_play_sound(const unsigned char* image, long length);
// Stops any sound that plays: afterwards no image is read any more.
void platform_stop_sound();
