/* Runs a command and prints the milliseconds until X maps a window of at least
 * MIN_W x MIN_H (anywhere: a top-level window or an icon docked in a tray).
 *   map-time MIN_W MIN_H command [args...]
 * Prints the elapsed time, the window's size and the command's process id, or "timeout"
 * and the process id after 10 seconds. */
#include <X11/Xlib.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/select.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

/* Windows may vanish between an event and our question about them. */
static int ignore_errors(Display* dpy, XErrorEvent* error)
{
    (void)dpy;
    (void)error;
    return 0;
}

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

/* Watch every existing window too: tray icons are mapped inside the tray's own window. */
static void watch_tree(Display* dpy, Window w)
{
    Window root, parent, *children = NULL;
    unsigned int n = 0;
    XSelectInput(dpy, w, SubstructureNotifyMask);
    if (XQueryTree(dpy, w, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n; ++i)
            watch_tree(dpy, children[i]);
        if (children)
            XFree(children);
    }
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: map-time MIN_W MIN_H command [args...]\n");
        return 2;
    }
    const int minW = atoi(argv[1]), minH = atoi(argv[2]);
    Display* dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "map-time: no display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    watch_tree(dpy, DefaultRootWindow(dpy));
    XSync(dpy, False);
    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        /* The command outlives us: keep it off our output, which a caller may be reading to its end. */
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    const int fd = ConnectionNumber(dpy);
    while (now_ms() - start < 10000) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == CreateNotify) {
                XSelectInput(dpy, ev.xcreatewindow.window, SubstructureNotifyMask);
            } else if (ev.type == MapNotify) {
                XWindowAttributes a;
                if (XGetWindowAttributes(dpy, ev.xmap.window, &a) && a.width >= minW && a.height >= minH) {
                    printf("%.1f ms %dx%d pid %d\n", now_ms() - start, a.width, a.height, (int)child);
                    return 0;
                }
            }
        }
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        struct timeval tv = { 0, 20000 };
        select(fd + 1, &set, NULL, NULL, &tv);
    }
    printf("timeout pid %d\n", (int)child);
    return 1;
}
