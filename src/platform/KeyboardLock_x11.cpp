#include "platform/KeyboardLock.h"
#include "platform/SystemKeyboardLock.h"

#include <QGuiApplication>
#include <QLatin1String>
#include <QtGui/qguiapplication_platform.h>

// After Qt: Xlib defines macros (Bool, None, Status) that Qt's headers also use as names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

// NumLock as the X server's XKB keeps it: the modifier the keymap binds to the NumLock key,
// read from and written to the locked modifiers. Locking a modifier sends no key event, so
// a correction is silent: the operator's release of NumLock is the only one the board sees.
class X11KeyboardLock final : public KeyboardLock {
  public:
    X11KeyboardLock(Display* display, bool ownConnection, unsigned int numLockMask)
        : display_(display), ownConnection_(ownConnection), mask_(numLockMask) {}
    ~X11KeyboardLock() override {
        if (ownConnection_)
            XCloseDisplay(display_);
    }
    X11KeyboardLock(const X11KeyboardLock&) = delete;
    X11KeyboardLock& operator=(const X11KeyboardLock&) = delete;

    bool numLockOn() const override {
        XkbStateRec state{};
        if (XkbGetState(display_, XkbUseCoreKbd, &state) != Success)
            return false;
        return (state.locked_mods & mask_) != 0;
    }
    void toggleNumLock() override {
        XkbLockModifiers(display_, XkbUseCoreKbd, mask_, numLockOn() ? 0 : mask_);
        // Done on the server when this returns, so whoever reads the lock next sees it.
        XSync(display_, False);
    }

  private:
    Display* display_;
    bool ownConnection_;
    unsigned int mask_;
};

} // namespace

std::unique_ptr<KeyboardLock> systemKeyboardLock() {
    // Only an X server has XKB; under Wayland or offscreen the board leaves NumLock alone.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return std::make_unique<NoKeyboardLock>();

    Display* display = nullptr;
    bool own = false;
    if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        display = x11->display();
    if (!display) {
        display = XOpenDisplay(nullptr);
        own = true;
    }
    if (!display)
        return std::make_unique<NoKeyboardLock>();

    int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    const bool hasXkb = XkbQueryExtension(display, &opcode, &event, &error, &major, &minor);
    // A keymap without a NumLock key has no modifier for it.
    const unsigned int mask = hasXkb ? XkbKeysymToModifiers(display, XK_Num_Lock) : 0;
    if (mask == 0) {
        if (own)
            XCloseDisplay(display);
        return std::make_unique<NoKeyboardLock>();
    }
    return std::make_unique<X11KeyboardLock>(display, own, mask);
}
