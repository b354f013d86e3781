#include "support/XDesktop.h"

#include "support/Patience.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

// A window may go between the moment the test sees it and the moment it asks about it; the
// question then fails, and Xlib's default answer to that would end the test.
int ignoreVanishedWindows(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

XDesktop::XDesktop(bool withWindowManager, const std::vector<Monitor>& monitors) {
    XSetErrorHandler(ignoreVanishedWindows);
    // Neither server holds the test's output open, should the test itself end early.
    xvfb_.setStandardOutputFile(QProcess::nullDevice());
    xvfb_.setStandardErrorFile(QProcess::nullDevice());
    wm_.setStandardOutputFile(QProcess::nullDevice());
    wm_.setStandardErrorFile(QProcess::nullDevice());
    QRect screen = monitors.empty() ? QRect(0, 0, 1280, 1024) : QRect();
    for (const Monitor& m : monitors)
        screen = screen.united(m.area);
    const QString displayFile = dir_.filePath(QStringLiteral("display"));
    xvfb_.start(QStringLiteral("sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("exec Xvfb -displayfd 3 -screen 0 %1x%2x24 -nolisten tcp "
                                "-noreset 3>'%3'")
                     .arg(screen.right() + 1)
                     .arg(screen.bottom() + 1)
                     .arg(displayFile)});
    waitFor([&] { return QFile(displayFile).size() > 0; }, kPatienceMs);
    QFile f(displayFile);
    if (f.open(QIODevice::ReadOnly))
        name_ = QStringLiteral(":") + QString::fromLatin1(f.readAll()).trimmed();
    if (name_.size() > 1)
        display_ = XOpenDisplay(name_.toLatin1().constData());
    // The monitors before the window manager, which reads them as it starts.
    for (size_t i = 0; display_ && i < monitors.size(); ++i)
        if (!addMonitor(monitors[i], i == 0)) {
            XCloseDisplay(display_);
            display_ = nullptr;
        }
    if (display_ && withWindowManager) {
        wm_.setProcessEnvironment(environment());
        wm_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        wm_.waitForStarted(kPatienceMs);
        // The manager announces itself on the root window once it manages the screen.
        waitFor([&] { return windowProperty(root(), "_NET_SUPPORTING_WM_CHECK") != 0; },
                kPatienceMs);
    }
}

XDesktop::~XDesktop() {
    if (display_)
        XCloseDisplay(display_);
    for (QProcess* p : {&wm_, &xvfb_}) {
        p->terminate();
        p->waitForFinished(5000);
    }
}

QProcessEnvironment XDesktop::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), name_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

std::vector<XDesktop::WindowId> XDesktop::shownWindowsOf(qint64 pid) {
    std::vector<WindowId> found;
    collect(root(), pid, found);
    return found;
}

QRect XDesktop::geometry(WindowId w) {
    Window child = 0;
    int x = 0, y = 0;
    XWindowAttributes a{};
    XGetWindowAttributes(display_, w, &a);
    XTranslateCoordinates(display_, w, root(), 0, 0, &x, &y, &child);
    return QRect(x, y, a.width, a.height);
}

void XDesktop::click(QPoint at) {
    XTestFakeMotionEvent(display_, -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
}

void XDesktop::stroke(const char* keyName) {
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keyName));
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
}

void XDesktop::strokeWith(const char* modifierName, const char* keyName) {
    const KeyCode modifier = XKeysymToKeycode(display_, XStringToKeysym(modifierName));
    XTestFakeKeyEvent(display_, modifier, True, CurrentTime);
    stroke(keyName);
    XTestFakeKeyEvent(display_, modifier, False, CurrentTime);
    XSync(display_, False);
}

bool XDesktop::hasFocus(WindowId w) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    return focus == w;
}

void XDesktop::activate(WindowId w) {
    if (managed())
        sendToRoot(w, "_NET_ACTIVE_WINDOW", {2, CurrentTime, 0});
    else
        XSetInputFocus(display_, w, RevertToParent, CurrentTime);
    XSync(display_, False);
}

void XDesktop::closeWindow(WindowId w) {
    if (managed()) {
        sendToRoot(w, "_NET_CLOSE_WINDOW", {CurrentTime, 2, 0});
    } else {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = atom("WM_PROTOCOLS");
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(atom("WM_DELETE_WINDOW"));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, w, False, NoEventMask, &e);
    }
    XSync(display_, False);
}

bool XDesktop::xrandr(const QStringList& arguments) {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("xrandr"), arguments);
    const bool done = p.waitForFinished(kPatienceMs) && p.exitStatus() == QProcess::NormalExit &&
                      p.exitCode() == 0;
    XSync(display_, False);
    return done;
}

bool XDesktop::addMonitor(const Monitor& monitor, bool showsOutput) {
    // "W/MMxH/MM+X+Y" at 96 dots an inch; the server has one output, for one monitor only.
    const QRect& a = monitor.area;
    const QString geometry =
        QString::asprintf("%d/%dx%d/%d+%d+%d", a.width(), a.width() * 254 / 960, a.height(),
                          a.height() * 254 / 960, a.x(), a.y());
    return xrandr({QStringLiteral("--setmonitor"), monitor.name, geometry,
                   showsOutput ? QStringLiteral("screen") : QStringLiteral("none")});
}

bool XDesktop::deleteMonitor(const QString& name) {
    return xrandr({QStringLiteral("--delmonitor"), name});
}

QImage XDesktop::grab(const QRect& area) {
    XImage* shot =
        XGetImage(display_, root(), area.x(), area.y(), static_cast<unsigned>(area.width()),
                  static_cast<unsigned>(area.height()), AllPlanes, ZPixmap);
    if (!shot)
        return {};
    // Depth 24 in pixels of 32 bits, as the server was started: Qt's RGB32.
    const QImage image = QImage(reinterpret_cast<const uchar*>(shot->data), area.width(),
                                area.height(), shot->bytes_per_line, QImage::Format_RGB32)
                             .copy();
    XDestroyImage(shot);
    return image;
}

QString XDesktop::title(WindowId w) {
    return QString::fromUtf8(property(w, "_NET_WM_NAME", atom("UTF8_STRING")));
}

bool XDesktop::fullScreen(WindowId w) {
    const QByteArray states = property(w, "_NET_WM_STATE", XA_ATOM);
    const auto* atoms = reinterpret_cast<const unsigned long*>(states.constData());
    return std::count(atoms, atoms + states.size() / int(sizeof(long)),
                      atom("_NET_WM_STATE_FULLSCREEN")) > 0;
}

QByteArray XDesktop::property(WindowId w, const char* name, unsigned long type) {
    Atom got = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, w, atom(name), 0, 4096, False, type, &got, &format, &items, &after,
                       &data);
    // Items of 32 bits come as longs, whatever their size on the wire.
    const QByteArray bytes(reinterpret_cast<const char*>(data),
                           data ? int(items) * (format == 32 ? int(sizeof(long)) : format / 8) : 0);
    if (data)
        XFree(data);
    return bytes;
}

bool XDesktop::waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

XDesktop::WindowId XDesktop::root() const {
    return DefaultRootWindow(display_);
}

unsigned long XDesktop::atom(const char* name) {
    return XInternAtom(display_, name, False);
}

unsigned long XDesktop::windowProperty(WindowId w, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    unsigned long value = 0;
    if (XGetWindowProperty(display_, w, atom(name), 0, 1, False, AnyPropertyType, &type, &format,
                           &items, &after, &data) == Success &&
        data && items == 1 && format == 32)
        value = *reinterpret_cast<unsigned long*>(data);
    if (data)
        XFree(data);
    return value;
}

void XDesktop::collect(WindowId w, qint64 pid, std::vector<WindowId>& found) {
    XWindowAttributes a{};
    if (w != root() && XGetWindowAttributes(display_, w, &a) && a.map_state == IsViewable &&
        windowProperty(w, "_NET_WM_PID") == static_cast<unsigned long>(pid)) {
        found.push_back(w);
        return;
    }
    Window r = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, w, &r, &parent, &children, &count))
        return;
    for (unsigned int i = 0; i < count; ++i)
        collect(children[i], pid, found);
    if (children)
        XFree(children);
}

void XDesktop::sendToRoot(WindowId w, const char* message, std::initializer_list<long> data) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = atom(message);
    e.xclient.format = 32;
    int i = 0;
    for (long d : data)
        e.xclient.data.l[i++] = d;
    XSendEvent(display_, root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}
