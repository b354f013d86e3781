#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <initializer_list>
#include <vector>

struct _XDisplay;

// A private X display as a user's desktop has one: its own Xvfb (kept from resetting when its
// last client leaves) and, if asked, a real window manager that frames, focuses and closes
// windows. The test reaches the program's windows as a user does: through the X server only.
// (Xlib stays in the .cpp: its macros clash with Qt's and GoogleTest's names.)
class XDesktop {
  public:
    using WindowId = unsigned long;

    // A part of the X screen reported as a screen of its own (a RandR monitor): a laptop's panel.
    struct Monitor {
        QString name;
        QRect area;
    };

    // One X screen as wide as `monitors` together, split into them, the first the primary one;
    // without monitors, one screen of 1280 x 1024.
    explicit XDesktop(bool withWindowManager, const std::vector<Monitor>& monitors = {});
    ~XDesktop();
    XDesktop(const XDesktop&) = delete;
    XDesktop& operator=(const XDesktop&) = delete;

    bool ok() const { return display_ != nullptr; }
    bool managed() const { return wm_.state() == QProcess::Running; }
    // The environment of a program run on this display.
    QProcessEnvironment environment() const;

    // The program's top-level windows on screen.
    std::vector<WindowId> shownWindowsOf(qint64 pid);
    QRect geometry(WindowId w);

    // A click of the left button at a point of the screen, as the mouse makes it.
    void click(QPoint at);
    // A key (by its X name: "5", "Return", "g") pressed and released on the keyboard: it goes
    // to the window that has the focus.
    void stroke(const char* keyName);
    // The same with a modifier (by its X name: "Control_L") held down.
    void strokeWith(const char* modifierName, const char* keyName);
    bool hasFocus(WindowId w);
    // Gives a window the keyboard: through the window manager where one runs, as a taskbar
    // does; otherwise directly, as the toolkit itself does on a bare server.
    void activate(WindowId w);
    // The close button of the window's title bar: the window manager asks the program with
    // WM_DELETE_WINDOW; on a bare server the test sends that message itself.
    void closeWindow(WindowId w);

    // A monitor taken away, as pulling a projector's cable does, or brought (back); true when
    // the server did. The one `showsOutput` shows the X screen's one output: the primary one.
    bool deleteMonitor(const QString& name);
    bool addMonitor(const Monitor& monitor, bool showsOutput = false);
    QImage grab(const QRect& area); // the screen's pixels as shown now
    QString title(WindowId w);      // as the window manager reads it (_NET_WM_NAME)
    bool fullScreen(WindowId w);    // as the window manager shows it (_NET_WM_STATE)

    static bool waitFor(const std::function<bool()>& done, int ms);

  private:
    WindowId root() const;
    unsigned long atom(const char* name);
    unsigned long windowProperty(WindowId w, const char* name);
    QByteArray property(WindowId w, const char* name, unsigned long type);
    void collect(WindowId w, qint64 pid, std::vector<WindowId>& found);
    void sendToRoot(WindowId w, const char* message, std::initializer_list<long> data);
    bool xrandr(const QStringList& arguments);

    QTemporaryDir dir_;
    QProcess xvfb_;
    QProcess wm_;
    QString name_;
    _XDisplay* display_ = nullptr;
};
