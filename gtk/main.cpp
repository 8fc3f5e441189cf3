// main.cpp: the GTK program's entry point: its files in the player's data folder, one Dovra per player,
// the GLib main loop, and nothing lost when the session or a signal ends it.
#include <fcntl.h>
#include <glib-unix.h>
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/x11/gdkx.h>
#endif
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "main_window.h"
#include "session.h"
#include "sound.h"

namespace {

constexpr char APPLICATION_ID[] = "org.example.dovra";

// Another Dovra of this player runs in another session: this one ends without a window.
int runs_elsewhere = 0;
// The folder of the sounds the program was installed with.
char installed_sounds[PATH_MAX];

// ${XDG_DATA_HOME:-~/.local/share}/dovra, made when missing, becomes the working folder: the files the game
// keeps live there, as they live in the Windows program's own folder. A relative XDG_DATA_HOME is ignored.
void enter_data_folder()
{
    const char* data_home = g_getenv("XDG_DATA_HOME");
    gchar* folder = data_home != nullptr && data_home[0] == '/'
                        ? g_build_filename(data_home, "dovra", nullptr)
                        : g_build_filename(g_get_home_dir(), ".local", "share", "dovra", nullptr);
    if (g_mkdir_with_parents(folder, 0700) != 0 || chdir(folder) != 0) {
        gchar* here = g_get_current_dir();
        g_printerr("dovra: cannot use the folder %s (%s): the game and the scores are kept in %s instead\n", folder,
                   g_strerror(errno), here);
        g_free(here);
    }
    g_free(folder);
}

// The installed sounds lie in ../share/games/dovra beside the folder of the program.
void find_installed_sounds()
{
    char program[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", program, sizeof program - 1);
    if (n <= 0)
        return;
    program[n] = '\0';
    gchar* bin = g_path_get_dirname(program);
    gchar* sounds = g_build_filename(bin, "..", "share", "games", "dovra", nullptr);
    if (g_strlcpy(installed_sounds, sounds, sizeof installed_sounds) < sizeof installed_sounds)
        sound_fallback_folder = installed_sounds;
    g_free(sounds);
    g_free(bin);
}

// One Dovra per player also across sessions, which the session bus cannot see: a lock on a file in the
// data folder, which the system releases however the process ends.
int claim_player()
{
    const int fd = open("dovra.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return 1;  // cannot be told: play
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
        return 1;  // kept open, and so locked, until the process ends
    const int busy = errno == EWOULDBLOCK;
    close(fd);
    return busy ? 0 : 1;
}

// SIGTERM, SIGHUP and SIGINT end the program as the end of a session does: nothing is lost.
gboolean on_signal(gpointer application)
{
    end_main_window();
    g_application_quit(G_APPLICATION(application));
    return G_SOURCE_CONTINUE;
}

#ifdef GDK_WINDOWING_X11
XIOErrorHandler display_lost_by_gtk = nullptr;

// The X server went away (an X session ending without a session manager): GTK ends the process at once, so
// what can be kept is kept first, without any call into GTK.
int display_lost(Display* display)
{
    keep_game_as_it_ends();
    return display_lost_by_gtk(display);
}
#endif

void on_startup(GApplication* application, gpointer)
{
    if (!claim_player()) {
        runs_elsewhere = 1;
        g_printerr("dovra: Dovra already runs for this player in another session\n");
        return;
    }
    const int endings[] = {SIGTERM, SIGHUP, SIGINT};
    for (int signal_number : endings)
        g_unix_signal_add(signal_number, on_signal, application);
#ifdef GDK_WINDOWING_X11
    if (GDK_IS_X11_DISPLAY(gdk_display_get_default()))
        display_lost_by_gtk = XSetIOErrorHandler(display_lost);
#endif
    set_up_menus(GTK_APPLICATION(application));
    load_settings();
}

// The first start opens the window; a later one, handed over by the session bus, brings it forward.
void on_activate(GApplication* application, gpointer)
{
    if (runs_elsewhere) {
        g_application_quit(application);
        return;
    }
    if (!bring_main_window_forward())
        open_main_window(GTK_APPLICATION(application));
}

// The session's end, through the session manager, quits the application with the window still open.
void on_shutdown(GApplication*, gpointer)
{
    end_main_window();
}

}  // namespace

int main(int argc, char** argv)
{
    // A board of small pictures redrawn at most ten times a second needs no GL: GTK's cairo renderer draws
    // the pictures exactly as they are, and without GL the system's GL driver is never loaded, which alone
    // costs more of the start and the memory than everything else. A renderer the player chose stays.
    if (g_getenv("GSK_RENDERER") == nullptr) {
        g_setenv("GSK_RENDERER", "cairo", TRUE);
        g_setenv("GDK_DEBUG", "gl-disable", FALSE);
    }
    enter_data_folder();
    find_installed_sounds();
    GtkApplication* application = gtk_application_new(APPLICATION_ID, G_APPLICATION_DEFAULT_FLAGS);
    g_object_set(application, "register-session", TRUE, nullptr);
    g_signal_connect(application, "startup", G_CALLBACK(on_startup), nullptr);
    g_signal_connect(application, "activate", G_CALLBACK(on_activate), nullptr);
    g_signal_connect(application, "shutdown", G_CALLBACK(on_shutdown), nullptr);
    const int status = g_application_run(G_APPLICATION(application), argc, argv);
    g_object_unref(application);
    return status;
}
