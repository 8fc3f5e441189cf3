// sound_check.cpp: the GTK program's sound player in a GLib main loop, driven line by line from standard input
// by the test that listens to it through a sound server of its own.
//   sound_check FILE...   up to six WAV files, loaded by the heart into slots 0, 1, ... as the game loads its own
// Each command line is answered with one line, times in seconds since the start:
//   play N...   the heart plays slot N, or each slot in turn at once;
//               an empty slot stops the sound                             "play N... at T"
//   stop        the player stops                                          "stop at T"
//   connected   whether a sound requested now is heard                    "connected 0|1"
// At the end of the input the sounds are released, the connection is closed and the program ends with 0.
#include <glib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform.h"
#include "prefs.h"
#include "sound.h"
#include "sound_server.h"

namespace {

GMainLoop *main_loop = nullptr;
gint64 started = 0;

double now()
{
    return static_cast<double>(g_get_monotonic_time() - started) / G_USEC_PER_SEC;
}

void answer(const char *line)
{
    if (std::strncmp(line, "play ", 5) == 0) {
        // Several slots are played one after another at once, as by several requests in one timer tick.
        const char *at = line + 5;
        char *end = nullptr;
        for (long slot = std::strtol(at, &end, 10); end != at; slot = std::strtol(at, &end, 10)) {
            play_sound(static_cast<int>(slot));
            at = end;
        }
        std::printf("%s at %.3f\n", line, now());
    } else if (std::strcmp(line, "stop") == 0) {
        platform_stop_sound();
        std::printf("stop at %.3f\n", now());
    } else if (std::strcmp(line, "connected") == 0) {
        std::printf("connected %d\n", sound_server_connected());
    } else {
        std::printf("unknown command: %s\n", line);
    }
    std::fflush(stdout);
}

gboolean read_command(GIOChannel *input, GIOCondition, gpointer)
{
    gchar *line = nullptr;
    gsize end = 0;
    const GIOStatus status = g_io_channel_read_line(input, &line, nullptr, &end, nullptr);
    if (status == G_IO_STATUS_NORMAL) {
        line[end] = '\0';
        answer(line);
    }
    g_free(line);
    if (status == G_IO_STATUS_EOF || status == G_IO_STATUS_ERROR) {
        g_main_loop_quit(main_loop);
        return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
}

}  // namespace

int main(int argc, char **argv)
{
    started = g_get_monotonic_time();
    for (int slot = 0; slot < SOUND_SLOTS; slot++)
        g_strlcpy(sound_name[slot], slot + 1 < argc ? argv[slot + 1] : "", SOUND_NAME_LEN);
    sound_enabled = 1;
    LoadSounds();

    main_loop = g_main_loop_new(nullptr, FALSE);
    GIOChannel *input = g_io_channel_unix_new(0);
    g_io_channel_set_encoding(input, nullptr, nullptr);
    g_io_add_watch(input, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), read_command, nullptr);
    g_main_loop_run(main_loop);
    g_io_channel_unref(input);
    g_main_loop_unref(main_loop);

    release_sounds();
    close_sound_server();
    return 0;
}
