// main.cpp: the web front end's side in the program: the entry points the page calls (a click, a tick, a command,
// a modal window closed, the page hidden) and the platform operations the heart asks for, each handed to the
// page's JavaScript (library.js). The page keeps the files; here they are plain files of the program's own.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "board.h"
#include "board_picture.h"
#include "commands.h"
#include "layout.h"
#include "modal.h"
#include "platform.h"
#include "prefs.h"
#include "route.h"
#include "scores.h"
#include "session.h"
#include "sound.h"
#include "turn.h"
#include "wav_image.h"

// What library.js does for the heart, on the page.
extern "C" {
void page_show_cursor(int busy);
void page_repaint();
void page_queue_click(int x, int y);
void page_check(int item, int on);
void page_fit(int width, int height, int button_x, int button_y, int cell_size);
void page_close();
void page_message_box(int modal, const char* text, const char* caption);
void page_new_high_score(int modal, int score, const char* name);
void page_top_scores(int modal);
void page_end_score_dialog();
void page_play_sound(const unsigned char* samples, long frames, int channels, int bits, int rate);
void page_stop_sound();
}

namespace {

// The folder of the sounds the site ships, where a sound missing from the player's folder is found.
const char SHIPPED_SOUNDS[] = "/sounds";
const char PICTURES_FOLDER[] = "/pictures";

int started = 0;
int closed = 0;
// The New High Score dialog is open with its entry still to be stored.
int entry_pending = 0;

// The client area as last painted: 0xAABBGGRR, the byte order of the page's image data.
uint32_t* client_pixels = nullptr;
int client_width_painted = 0;
int client_height_painted = 0;

// Bytes the page hands over (a name typed, in the Windows code page), terminated.
char page_text[sizeof newname + 4];

void load_pictures()
{
    for (int slot = 0; slot < PICTURES; slot++) {
        char name[64];
        std::snprintf(name, sizeof name, "%s/bitmap%02d.bmp", PICTURES_FOLDER, picture_number(slot));
        unsigned char bytes[4096];
        FILE* f = std::fopen(name, "rb");
        if (f == nullptr)
            continue;
        const size_t n = std::fread(bytes, 1, sizeof bytes, f);
        std::fclose(f);
        load_picture(slot, bytes, n);
    }
}

// The main window takes no clicks or commands while a modal window is open, as on Windows.
int takes_input()
{
    return started && !closed && modal_open == 0;
}

// Ticks are wanted while the turn still has steps to take; one waiting for a modal window to close has none.
int turn_runs()
{
    return !closed && (pptr > 0 || animate_state != MOVE);
}

void copy_name(int size)
{
    page_text[sizeof page_text - 1] = '\0';
    std::snprintf(newname, static_cast<size_t>(size), "%s", page_text);
}

// Saves, then releases: the game on the board is what reaches prefs.txt.
void close_main_window()
{
    closed = 1;
    SavePrefs();
    end_turn();
    release_sounds();
    release_pictures();
}

}  // namespace

extern "C" {

// The player's files are in the working folder, and the site's sounds in /sounds once they have arrived (else
// web_sounds_arrived loads them): the settings, the sounds, the pictures, then the game, new or restored, shown.
EMSCRIPTEN_KEEPALIVE void web_start()
{
    if (started)
        return;
    sound_fallback_folder = SHIPPED_SOUNDS;
    load_settings();
    load_pictures();
    started = 1;
    platform_fit_window();
    set_check_marks();
    start_game();
    platform_repaint(1);
}

// The site's sounds have reached /sounds since the start: every slot is loaded again, the player's own file first.
EMSCRIPTEN_KEEPALIVE void web_sounds_arrived()
{
    if (!started || closed)
        return;
    release_sounds();
    LoadSounds();
}

// A click at client pixel (x, y); 1 when the turn it starts wants ticks.
EMSCRIPTEN_KEEPALIVE int web_click(int x, int y, int replayed)
{
    if (replayed ? !started || closed : !takes_input())
        return 0;
    // As a click's position reaches the Windows program: unsigned 16-bit client coordinates.
    on_click(static_cast<unsigned>(x) & 0xFFFF, static_cast<unsigned>(y) & 0xFFFF);
    return turn_runs();
}

// One tick of the turn; 1 while more are wanted.
EMSCRIPTEN_KEEPALIVE int web_tick()
{
    if (!started || closed)
        return 0;
    on_tick();
    return turn_runs();
}

EMSCRIPTEN_KEEPALIVE void web_command(int id)
{
    if (takes_input())
        command(id);
}

EMSCRIPTEN_KEEPALIVE void web_modal_closed(int modal)
{
    if (!closed)
        modal_closed(modal);
}

// The buffer the page writes a name into, in the Windows code page, before web_name_typed or web_name_entered.
EMSCRIPTEN_KEEPALIVE char* web_text_buffer()
{
    return page_text;
}

EMSCRIPTEN_KEEPALIVE int web_text_buffer_size()
{
    return static_cast<int>(sizeof page_text) - 1;
}

// What is typed is kept as it is typed, one character short of what the close keeps.
EMSCRIPTEN_KEEPALIVE void web_name_typed()
{
    if (entry_pending)
        copy_name(static_cast<int>(sizeof newname) - 1);
}

// The New High Score dialog closes, however: its entry is stored, once.
EMSCRIPTEN_KEEPALIVE void web_name_entered()
{
    if (!entry_pending)
        return;
    entry_pending = 0;
    copy_name(static_cast<int>(sizeof newname));
    enter_high_score();
}

// Row i of the Top Scores dialog: its name as shown, and its score.
EMSCRIPTEN_KEEPALIVE const char* web_row_name(int i)
{
    static char text[ROW_TEXT_LEN];
    text[0] = '\0';
    if (i >= 0 && i < SCORE_ROWS)
        score_row_text(i, text);
    return text;
}

EMSCRIPTEN_KEEPALIVE int web_row_score(int i)
{
    return i >= 0 && i < SCORE_ROWS ? scores[i].score : 0;
}

// Paints the client area (its width and height as last fitted) and returns its pixels; the page writes the score.
EMSCRIPTEN_KEEPALIVE uint32_t* web_paint()
{
    const int width = window_extent(client_width());
    const int height = window_extent(client_height());
    if (width != client_width_painted || height != client_height_painted || client_pixels == nullptr) {
        std::free(client_pixels);
        client_pixels = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * static_cast<size_t>(width > 0 ? width : 1) *
                                                           static_cast<size_t>(height > 0 ? height : 1)));
        client_width_painted = client_pixels != nullptr ? width : 0;
        client_height_painted = client_pixels != nullptr ? height : 0;
    }
    if (client_pixels == nullptr || width < 1 || height < 1)
        return nullptr;
    paint_board_picture(client_pixels, width, height, width, hilite_x, hilite_y);
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < count; i++) {
        const uint32_t rgb = client_pixels[i];
        client_pixels[i] = 0xFF000000u | (rgb & 0xFFu) << 16 | (rgb & 0xFF00u) | (rgb >> 16 & 0xFFu);
    }
    return client_pixels;
}

EMSCRIPTEN_KEEPALIVE int web_score()
{
    return current_score;
}

// Exit or the close box of an installed app's window: 0 while the close waits for the modal windows, 1 once
// the game is saved and the program has ended.
EMSCRIPTEN_KEEPALIVE int web_close()
{
    if (!started || closed)
        return 1;
    if (close_waits())
        return 0;
    close_main_window();
    return 1;
}

// The page is hidden or left, which may be the last the page hears: what the open modal windows' OK would still
// do is done and the game saved, as at the end of a session; when the page comes back the game goes on.
EMSCRIPTEN_KEEPALIVE void web_session_ends()
{
    if (started && !closed)
        session_ends();
}

// Another tab takes the game over: the session ends here and the program with it.
EMSCRIPTEN_KEEPALIVE void web_end()
{
    if (!started || closed)
        return;
    session_ends();
    close_main_window();
}

}  // extern "C"

// ---- What the heart asks of the page -----------------------------------------------------------------

void platform_show_cursor(int busy)
{
    page_show_cursor(busy);
}

void platform_repaint(int)
{
    if (started)
        page_repaint();
}

void platform_queue_click(int x, int y)
{
    page_queue_click(x, y);
}

void platform_check(int item, int on)
{
    page_check(item, on);
}

void platform_fit_window()
{
    if (started)
        page_fit(window_extent(client_width()), window_extent(client_height()), button_x(), button_y(), cell_size);
}

void platform_close()
{
    page_close();
}

void platform_message_box(int modal, const char* text, const char* caption)
{
    page_message_box(modal, text, caption);
}

void platform_new_high_score(int modal)
{
    entry_pending = 1;
    page_new_high_score(modal, current_score, newname);
}

void platform_top_scores(int modal)
{
    page_top_scores(modal);
}

void platform_end_score_dialog()
{
    page_end_score_dialog();
}

void platform_open_sound()
{
}

void platform_play_sound(const unsigned char* image, long length)
{
    wav_pcm pcm;
    if (image == nullptr || !read_wav_pcm(image, length, &pcm)) {
        page_play_sound(nullptr, 0, 0, 0, 0);
        return;
    }
    page_play_sound(pcm.samples, pcm.frames, pcm.channels, pcm.bits, pcm.rate);
}

void platform_stop_sound()
{
    page_stop_sound();
}
