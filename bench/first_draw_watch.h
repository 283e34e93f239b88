#pragma once

// Sees, through the X server, the moment a process started by the caller first
// draws into its main window: the server's own notice (DAMAGE extension) that the
// window's contents changed, so what is timed is what reaches the screen. Splash
// windows, menus and tooltips are passed over. Include after every Qt header: the
// X headers define short macro names.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <dirent.h>
#include <poll.h>
#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>

class FirstDrawWatch {
public:
    FirstDrawWatch() {
        m_display = XOpenDisplay(nullptr);
        if (!m_display) return;
        // A window can go before its properties are read: not a reason to stop.
        XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
        int error = 0;
        if (!XDamageQueryExtension(m_display, &m_damageEvent, &error)) {
            XCloseDisplay(m_display);
            m_display = nullptr;
            return;
        }
        m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        m_typeAtom = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE", False);
        m_normalAtom = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE_NORMAL", False);
        XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
        XSync(m_display, False);
    }
    ~FirstDrawWatch() {
        if (m_display) XCloseDisplay(m_display);
    }
    FirstDrawWatch(const FirstDrawWatch &) = delete;
    FirstDrawWatch &operator=(const FirstDrawWatch &) = delete;

    bool isValid() const { return m_display != nullptr; }

    // Waits until a normal top-level window of process pid is first drawn into;
    // returns the monotonic clock then (ms), or -1 after timeoutMs or once the
    // process has ended without it.
    double waitForFirstDraw(pid_t pid, int timeoutMs) {
        const double end = nowMs() + timeoutMs;
        bool ended = false;
        for (;;) {
            if (ended) XSync(m_display, False);
            while (XPending(m_display)) {
                XEvent ev;
                XNextEvent(m_display, &ev);
                if (ev.type == CreateNotify) {
                    // Watched from its creation, before it can be drawn into; its
                    // owner and kind are read as they are set, for it may be gone
                    // by the time its drawing is reported.
                    const Window w = ev.xcreatewindow.window;
                    if (ev.xcreatewindow.override_redirect) continue;
                    XSelectInput(m_display, w, PropertyChangeMask);
                    XDamageCreate(m_display, w, XDamageReportNonEmpty);
                    readWindow(w);
                } else if (ev.type == PropertyNotify) {
                    if (ev.xproperty.atom == m_pidAtom || ev.xproperty.atom == m_typeAtom)
                        readWindow(ev.xproperty.window);
                } else if (ev.type == MapNotify) {
                    readWindow(ev.xmap.window);
                } else if (ev.type == DestroyNotify) {
                    m_windows.erase(ev.xdestroywindow.window);
                } else if (ev.type == m_damageEvent + XDamageNotify) {
                    const auto *d = reinterpret_cast<XDamageNotifyEvent *>(&ev);
                    XDamageSubtract(m_display, d->damage, 0, 0);
                    const auto it = m_windows.find(d->drawable);
                    if (it != m_windows.end() && it->second.pid == pid && it->second.normal)
                        return nowMs();
                }
            }
            const double left = end - nowMs();
            if (left <= 0 || ended) return -1;
            pollfd p = {ConnectionNumber(m_display), POLLIN, 0};
            if (poll(&p, 1, std::min(int(left) + 1, 50)) == 0) ended = !running(pid);
        }
    }

    // Drops the notices left from earlier processes.
    void drain() {
        XSync(m_display, False);
        while (XPending(m_display)) {
            XEvent ev;
            XNextEvent(m_display, &ev);
        }
    }

    static double nowMs() {
        timespec t;
        clock_gettime(CLOCK_MONOTONIC, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    }

    // The processor time all threads of a running process have used (ms).
    static double processCpuMs(pid_t pid) {
        char path[64];
        std::snprintf(path, sizeof path, "/proc/%d/task", int(pid));
        DIR *dir = opendir(path);
        if (!dir) return -1;
        double total = 0;
        while (dirent *e = readdir(dir)) {
            if (e->d_name[0] == '.') continue;
            char stat[128];
            std::snprintf(stat, sizeof stat, "%s/%s/schedstat", path, e->d_name);
            if (FILE *f = std::fopen(stat, "r")) {
                unsigned long long ns = 0;
                if (std::fscanf(f, "%llu", &ns) == 1) total += double(ns) / 1e6;
                std::fclose(f);
            }
        }
        closedir(dir);
        return total;
    }

private:
    static bool running(pid_t pid) {
        char path[64];
        std::snprintf(path, sizeof path, "/proc/%d/stat", int(pid));
        FILE *f = std::fopen(path, "r");
        if (!f) return false;
        char line[512] = {};
        const bool read = std::fgets(line, sizeof line, f) != nullptr;
        std::fclose(f);
        const char *paren = read ? std::strrchr(line, ')') : nullptr;
        return paren && paren[1] == ' ' && paren[2] != 'Z' && paren[2] != 'X';
    }

    long cardinal(Window w, Atom property) {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char *data = nullptr;
        long value = -1;
        if (XGetWindowProperty(m_display, w, property, 0, 1, False, AnyPropertyType, &type, &format,
                               &count, &after, &data) == Success &&
            data && count == 1 && format == 32)
            value = *reinterpret_cast<long *>(data);
        if (data) XFree(data);
        return value;
    }
    struct WindowInfo {
        pid_t pid = -1;
        bool normal = true;
    };
    void readWindow(Window w) {
        const long pid = cardinal(w, m_pidAtom);
        const long type = cardinal(w, m_typeAtom);
        WindowInfo &info = m_windows[w];
        if (pid != -1) info.pid = pid_t(pid);
        if (type != -1) info.normal = Atom(type) == m_normalAtom;
    }

    Display *m_display = nullptr;
    int m_damageEvent = 0;
    Atom m_pidAtom = 0, m_typeAtom = 0, m_normalAtom = 0;
    std::map<Window, WindowInfo> m_windows;
};
