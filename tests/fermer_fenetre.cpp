// fermer_fenetre.cpp: asks a window to close, as a window manager's close button does.
// Usage: fermer_fenetre WINDOW_ID (decimal or 0x-hex), on the display named by $DISPLAY.
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fermer_fenetre WINDOW_ID\n");
        return 2;
    }
    Display *d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "fermer_fenetre: cannot open the display\n");
        return 1;
    }
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    const Status envoye = XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
    XCloseDisplay(d);
    return envoye != 0 ? 0 : 1;
}
