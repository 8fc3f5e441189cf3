/* first_frame.c: starts a program and prints "PID SECONDS" once that program has drawn its first frame into a
 * top-level window it mapped, SECONDS counted from just before its exec; then waits for it to end and exits
 * with its status. The X server's DAMAGE extension tells each time a window's contents change, so nothing is
 * polled; the first frame is the first change that leaves the window's middle pixel other than black, for
 * mapping a window may clear it to black first.
 * Usage: first_frame TIMEOUT PROGRAM [ARGUMENT...]: prints nothing, ends the program and fails when no frame
 * comes within TIMEOUT seconds. */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#define MAX_WINDOWS 64

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: first_frame TIMEOUT PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const double timeout = atof(argv[1]);
    Display *display = XOpenDisplay(NULL);
    int damage_event, damage_error;
    if (display == NULL || !XDamageQueryExtension(display, &damage_event, &damage_error)) {
        fprintf(stderr, "first_frame: no X display with the DAMAGE extension\n");
        return 2;
    }
    /* Every window made at the top is watched from its creation, so that no drawing after its mapping is
     * missed; the first change of a mapped one is the first frame. */
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = now();
    const pid_t pid = fork();
    if (pid < 0)
        return 2;
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    Window watched[MAX_WINDOWS];
    Damage damage[MAX_WINDOWS];
    int mapped[MAX_WINDOWS];
    int count = 0;
    double seconds = -1;
    struct pollfd x = {ConnectionNumber(display), POLLIN, 0};
    while (seconds < 0 && now() - start < timeout) {
        if (!XPending(display)) {
            poll(&x, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify && !event.xcreatewindow.override_redirect && count < MAX_WINDOWS) {
            watched[count] = event.xcreatewindow.window;
            damage[count] = XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
            mapped[count] = 0;
            count++;
        } else if (event.type == MapNotify) {
            for (int i = 0; i < count; i++)
                if (watched[i] == event.xmap.window)
                    mapped[i] = 1;
        } else if (event.type == damage_event + XDamageNotify) {
            const XDamageNotifyEvent *e = (XDamageNotifyEvent *)&event;
            for (int i = 0; i < count; i++) {
                if (watched[i] != e->drawable || !mapped[i])
                    continue;
                /* Told again at the next change. */
                XDamageSubtract(display, damage[i], None, None);
                XImage *pixel = XGetImage(display, e->drawable, e->geometry.width / 2, e->geometry.height / 2, 1, 1,
                                          AllPlanes, ZPixmap);
                if (pixel != NULL) {
                    if ((XGetPixel(pixel, 0, 0) & 0xFFFFFF) != 0)
                        seconds = now() - start;
                    XDestroyImage(pixel);
                }
            }
        }
    }
    XCloseDisplay(display);
    if (seconds < 0) {
        kill(pid, SIGTERM);
        waitpid(pid, NULL, 0);
        fprintf(stderr, "first_frame: %s drew no frame in %g s\n", argv[2], timeout);
        return 1;
    }
    printf("%d %.4f\n", (int)pid, seconds);
    fflush(stdout);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
