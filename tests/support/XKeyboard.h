#pragma once

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

// A test's own connection to the X server it runs on: key strokes through the X input
// system as a keyboard makes them, and the NumLock light as the server shows it.
class XKeyboard {
  public:
    XKeyboard() : display_(XOpenDisplay(nullptr)) {}
    ~XKeyboard() {
        if (display_)
            XCloseDisplay(display_);
    }
    XKeyboard(const XKeyboard&) = delete;
    XKeyboard& operator=(const XKeyboard&) = delete;
    bool ok() const { return display_ != nullptr; }

    // Press and release; done on the server when this returns.
    void stroke(KeySym sym) {
        const KeyCode code = XKeysymToKeycode(display_, sym);
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        XSync(display_, False);
    }
    // `sym` with `modifier` held, as Ctrl+P is typed.
    void chord(KeySym modifier, KeySym sym) {
        const KeyCode held = XKeysymToKeycode(display_, modifier);
        XTestFakeKeyEvent(display_, held, True, CurrentTime);
        stroke(sym);
        XTestFakeKeyEvent(display_, held, False, CurrentTime);
        XSync(display_, False);
    }
    bool numLockOn() {
        unsigned int state = 0;
        XkbGetIndicatorState(display_, XkbUseCoreKbd, &state);
        return (state & 0x2) != 0; // the second indicator is NumLock
    }
    void setNumLock(bool on) {
        if (numLockOn() != on)
            stroke(XK_Num_Lock);
    }

  private:
    Display* display_;
};
