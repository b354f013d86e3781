// What a running game clock costs the whole program, measured from outside: the programs
// named with --program start side by side on the current X display, each with a private home
// and journal and N live-feed clients on WebSockets; the probe starts their clocks with the
// start key (xdotool), and reads each process's CPU time (the scheduler's count of its threads'
// time) per second of wall time while the clocks run and while they stand, and its resident memory
// (VmRSS) over the run. Rounds repeat the whole; the medians come last.
//
//   Xvfb :7 -screen 0 1920x1080x24 -nolisten tcp &
//   DISPLAY=:7 build/program/clock_probe --program build/program/pucktally \
//       --program OTHER/pucktally --clients 10 --run-s 60 --stand-s 30 --rounds 3
//
// A program without the live feed or the journal (an older build) simply has no clients.
// The first program started costs about a tenth more than the same program started later:
// compare programs that were not started first (start a throwaway one first).
// Built with the X damage extension, the probe also tells each board's display lag as the X
// server sees it: when the server got the frame that shows each new second, counted from the
// start key it typed (XTest), beyond the earliest of those seconds.
// "PATH+console" starts that program with the timekeeper's console open, "PATH+assistant" with
// the penalty assistant on (IIHF), both stored in its private settings before it starts.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWebSocket>

#ifdef PROBE_DISPLAY_LAG
#include <QSocketNotifier>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

struct Options {
    QStringList programs;
    int clients = 10;
    int runS = 60;
    int standS = 30;
    int warmS = 5;
    int sampleS = 10;
    int rounds = 1;
};

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

void waitMs(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

// CPU time of the process, all its threads, in milliseconds: the scheduler's own count in
// nanoseconds (/proc/PID/task/TID/schedstat), not utime + stime, which counts whole clock
// ticks of 10 ms and so needs minutes of running clock to tell 0.1 ms a second apart.
double cpuMs(qint64 pid) {
    double ns = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        ns += readFile(tasks.filePath(tid + QStringLiteral("/schedstat")))
                  .section(QLatin1Char(' '), 0, 0)
                  .toDouble();
    return ns / 1e6;
}

qint64 rssKb(qint64 pid) {
    for (const QString& line : readFile(QStringLiteral("/proc/%1/status").arg(pid)).split('\n'))
        if (line.startsWith(QLatin1String("VmRSS:")))
            return line.mid(6).trimmed().split(QLatin1Char(' ')).value(0).toLongLong();
    return 0;
}

QString loadAverage() {
    return readFile(QStringLiteral("/proc/loadavg")).section(QLatin1Char(' '), 0, 2);
}

quint16 freePort() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

QString xdotool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(20000);
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The start key's arrival and the frames that reached the X server after it, in ms of one
// steady clock; the clock set to whole minutes changes its face once a second.
struct Frames {
    double startMs = -1;
    std::vector<double> atMs;

    // For each second of the run, how much later than the earliest second its frame reached
    // the server, after its due moment. The start key's own moment is known only to the
    // probe's scheduling (a few ms under load), so the earliest second is the zero.
    std::vector<double> lagsMs() const {
        std::vector<double> lags;
        double lastSecond = 0;
        for (double at : atMs) {
            const double second = std::round((at - startMs) / 1000);
            const double lag = at - startMs - second * 1000;
            // The first damage of each second counts; the rest of that frame is the same frame.
            if (startMs < 0 || second < 1 || second == lastSecond || lag < -250 || lag > 600)
                continue;
            lastSecond = second;
            lags.push_back(lag);
        }
        const double earliest = lags.empty() ? 0 : *std::min_element(lags.begin(), lags.end());
        for (double& lag : lags)
            lag -= earliest;
        return lags;
    }
};

#ifdef PROBE_DISPLAY_LAG
// Damage of the boards' windows as the X server reports it, and keys typed through XTest.
class DisplayWatch {
  public:
    DisplayWatch() : display_(XOpenDisplay(nullptr)) {
        int errorBase = 0;
        int major = 1, minor = 1;
        // The server takes damage requests only from a client that asked for its version.
        if (!display_ || !XDamageQueryExtension(display_, &damageEvent_, &errorBase) ||
            !XDamageQueryVersion(display_, &major, &minor))
            return;
        notifier_ =
            std::make_unique<QSocketNotifier>(ConnectionNumber(display_), QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
        clock_.start();
    }
    ~DisplayWatch() {
        notifier_.reset();
        if (display_)
            XCloseDisplay(display_);
    }
    bool works() const { return notifier_ != nullptr; }
    double nowMs() const { return clock_.nsecsElapsed() / 1e6; }

    void watch(const QString& window, Frames* frames) {
        const Window w = window.toULong();
        XDamageCreate(display_, w, XDamageReportRawRectangles);
        XFlush(display_);
        frames_[w] = frames;
    }
    // The key S pressed and released; the moment the server has it is the start.
    void typeStartKey(Frames* frames) {
        const KeyCode s = XKeysymToKeycode(display_, XK_s);
        XTestFakeKeyEvent(display_, s, True, 0);
        XTestFakeKeyEvent(display_, s, False, 0);
        XSync(display_, False);
        frames->startMs = nowMs();
        drain();
    }

  private:
    void drain() {
        while (XPending(display_)) {
            XEvent e;
            XNextEvent(display_, &e);
            if (e.type != damageEvent_ + XDamageNotify)
                continue;
            const auto it = frames_.find(reinterpret_cast<XDamageNotifyEvent*>(&e)->drawable);
            if (it != frames_.end())
                it->second->atMs.push_back(nowMs());
        }
    }

    Display* display_;
    int damageEvent_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
    QElapsedTimer clock_;
    std::map<Window, Frames*> frames_;
};
#else
struct DisplayWatch {
    bool works() const { return false; }
    void watch(const QString&, Frames*) {}
    void typeStartKey(Frames*) {}
};
#endif

// One program under test with its private folders and feed clients.
struct Subject {
    QString program;
    std::unique_ptr<QTemporaryDir> home = std::make_unique<QTemporaryDir>();
    QProcess process;
    QString window;
    quint16 port = freePort();
    std::vector<std::unique_ptr<QWebSocket>> clients;
    qint64 messages = 0;
    Frames frames;
    std::unique_ptr<DisplayWatch> display; // a connection of its own for each board watched
    int place = 0;                         // where its windows go

    qint64 pid() const { return process.processId(); }

    QStringList settings; // "[Section]\nKey=Value" lines written before the start

    bool start() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QDir h(home->path());
        h.mkpath(QStringLiteral("config"));
        QFile ini(h.filePath(QStringLiteral("config/PuckTally.ini")));
        if (!settings.isEmpty() && ini.open(QIODevice::WriteOnly))
            ini.write(settings.join(QLatin1Char('\n')).toLatin1() + '\n');
        ini.close();
        env.insert(QStringLiteral("HOME"), h.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), h.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), h.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), h.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("PUCKTALLY_JOURNAL_DIR"), h.filePath(QStringLiteral("journal")));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, {QStringLiteral("bypass"), QStringLiteral("--feed"),
                                QStringLiteral("127.0.0.1:%1").arg(port)});
        if (!process.waitForStarted())
            return false;
        return findWindow(place);
    }

    // The board's window, not the console's. Found again once the program has settled: a
    // window may be made anew while the program starts. The boards go side by side in a row,
    // the consoles below them: a board another window hides draws nothing the server shows.
    bool findWindow(int place = 0) {
        const QStringList windows = xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                                             QStringLiteral("--onlyvisible"),
                                             QStringLiteral("--pid"), QString::number(pid())})
                                        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        window.clear();
        for (const QString& w : windows) {
            const bool console =
                xdotool({QStringLiteral("getwindowname"), w}).contains(QLatin1String("Timekeeper"));
            if (!console)
                window = w;
            xdotool({QStringLiteral("windowmove"), w, QString::number(place * 640),
                     QString::number(console ? 480 : 0)});
        }
        return !window.isEmpty();
    }

    void connectClients(int n) {
        for (int i = 0; i < n; ++i) {
            auto c = std::make_unique<QWebSocket>();
            QObject::connect(c.get(), &QWebSocket::textMessageReceived,
                             [this](const QString&) { ++messages; });
            c->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(port)));
            clients.push_back(std::move(c));
        }
    }

    int connectedClients() const {
        return int(std::count_if(clients.begin(), clients.end(), [](const auto& c) {
            return c->state() == QAbstractSocket::ConnectedState;
        }));
    }

    // The clock set to 99:00 in the time box (which has the focus at the start), so a long run
    // never runs it out.
    void setLongClock() {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("key"), QStringLiteral("9"), QStringLiteral("9"),
                 QStringLiteral("Return")});
    }

    // The board's start/stop key, typed into its window.
    void pressStartStop() {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        if (frames.startMs < 0 && display && display->works())
            display->typeStartKey(&frames);
        else
            xdotool({QStringLiteral("key"), QStringLiteral("s")});
    }

    void stop() {
        for (auto& c : clients)
            c->abort();
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
};

struct Result {
    double runMsPerS = 0;
    double standMsPerS = 0;
    qint64 rssFirstKb = 0; // one sample period into the run
    qint64 rssLastKb = 0;
    double messagesPerS = 0;
    std::vector<double> lagsMs; // display lag of each second while the clock ran
};

// CPU ms per wall second of every subject over `seconds`, with RSS samples on the way.
std::vector<double> measure(std::vector<std::unique_ptr<Subject>>& subjects, int seconds,
                            int sampleS, std::vector<std::vector<qint64>>* rss) {
    std::vector<double> cpu0;
    for (auto& s : subjects)
        cpu0.push_back(cpuMs(s->pid()));
    QElapsedTimer wall;
    wall.start();
    for (int t = 0; t < seconds; t += sampleS) {
        waitMs(std::min(sampleS, seconds - t) * 1000);
        if (!rss)
            continue;
        QString line = QStringLiteral("  t=%1s rss kB:").arg(t + sampleS, 4);
        for (size_t i = 0; i < subjects.size(); ++i) {
            (*rss)[i].push_back(rssKb(subjects[i]->pid()));
            line += QStringLiteral(" %1").arg((*rss)[i].back());
        }
        out() << line << Qt::endl;
    }
    const double elapsedS = wall.nsecsElapsed() / 1e9;
    std::vector<double> perS;
    for (size_t i = 0; i < subjects.size(); ++i)
        perS.push_back((cpuMs(subjects[i]->pid()) - cpu0[i]) / elapsedS);
    return perS;
}

std::vector<Result> runRound(const Options& o) {
    std::vector<std::unique_ptr<Subject>> subjects;
    for (const QString& p : o.programs) {
        subjects.push_back(std::make_unique<Subject>());
        QStringList parts = p.split(QLatin1Char('+'));
        subjects.back()->program = parts.takeFirst();
        subjects.back()->place = int(subjects.size()) - 1;
        for (const QString& extra : parts)
            subjects.back()->settings
                << (extra == QLatin1String("console") ? QStringLiteral("[Screens]\nConsole=1")
                                                      : QStringLiteral("[Penalties]\nRules=IIHF"));
        if (!subjects.back()->start()) {
            out() << "cannot start " << p << Qt::endl;
            return {};
        }
    }
    for (auto& s : subjects)
        s->connectClients(o.clients);
    waitMs(2000);
    for (auto& s : subjects) {
        out() << "  " << s->program << ": pid " << s->pid() << ", " << s->connectedClients()
              << " feed clients" << Qt::endl;
        if (s->findWindow(s->place)) {
            s->display = std::make_unique<DisplayWatch>();
            s->display->watch(s->window, &s->frames);
        }
        s->setLongClock();
        s->pressStartStop();
    }
    waitMs(o.warmS * 1000);
    std::vector<qint64> messages0;
    for (auto& s : subjects)
        messages0.push_back(s->messages);
    std::vector<std::vector<qint64>> rss(subjects.size());
    const std::vector<double> run = measure(subjects, o.runS, o.sampleS, &rss);
    std::vector<Result> results(subjects.size());
    for (size_t i = 0; i < subjects.size(); ++i) {
        results[i].runMsPerS = run[i];
        results[i].rssFirstKb = rss[i].empty() ? 0 : rss[i].front();
        results[i].rssLastKb = rss[i].empty() ? 0 : rss[i].back();
        results[i].messagesPerS = double(subjects[i]->messages - messages0[i]) /
                                  std::max(1, o.runS) /
                                  std::max(1, subjects[i]->connectedClients());
        subjects[i]->pressStartStop();
        results[i].lagsMs = subjects[i]->frames.lagsMs();
    }
    waitMs(o.warmS * 1000);
    const std::vector<double> stand = measure(subjects, o.standS, o.sampleS, nullptr);
    for (size_t i = 0; i < subjects.size(); ++i) {
        results[i].standMsPerS = stand[i];
        subjects[i]->stop();
    }
    return results;
}

Options parse(const QStringList& args) {
    Options o;
    const std::map<QString, int*> numbers{
        {QStringLiteral("--clients"), &o.clients},  {QStringLiteral("--run-s"), &o.runS},
        {QStringLiteral("--stand-s"), &o.standS},   {QStringLiteral("--warm-s"), &o.warmS},
        {QStringLiteral("--sample-s"), &o.sampleS}, {QStringLiteral("--rounds"), &o.rounds}};
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--program"))
            o.programs
                << QFileInfo(args[i + 1].section(QLatin1Char('+'), 0, 0)).absoluteFilePath() +
                       (args[i + 1].contains(QLatin1Char('+'))
                            ? QLatin1Char('+') + args[i + 1].section(QLatin1Char('+'), 1)
                            : QString());
        else if (numbers.count(args[i]))
            *numbers.at(args[i]) = std::max(1, args[i + 1].toInt());
        else
            o.programs.clear(); // an unknown option: refuse to run
    }
    return o;
}

// The display lag of the seconds as the X server got them, when the probe could watch.
QString lagLine(std::vector<double> lags) {
    if (lags.empty())
        return QString();
    std::sort(lags.begin(), lags.end());
    const double p99 = lags[std::min(lags.size() - 1, size_t(0.99 * double(lags.size())))];
    return QStringLiteral(", display lag beyond its earliest second: median %1 ms, 99th "
                          "percentile %2 ms, worst %3 ms (%4 seconds)")
        .arg(median(lags), 0, 'f', 2)
        .arg(p99, 0, 'f', 2)
        .arg(lags.back(), 0, 'f', 2)
        .arg(lags.size());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options o = parse(QCoreApplication::arguments());
    if (o.programs.isEmpty() || qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "usage: DISPLAY=... clock_probe --program PATH [--program PATH...] "
                             "[--clients N] [--run-s S] [--stand-s S] [--warm-s S] "
                             "[--sample-s S] [--rounds N]\n");
        return 2;
    }
    std::vector<std::vector<Result>> all(o.programs.size());
    for (int r = 1; r <= o.rounds; ++r) {
        out() << "round " << r << ", load average " << loadAverage() << Qt::endl;
        const std::vector<Result> results = runRound(o);
        if (results.size() != size_t(o.programs.size()))
            return 1;
        for (size_t i = 0; i < results.size(); ++i) {
            const Result& x = results[i];
            out() << QStringLiteral("  %1: running %2 ms/s, standing %3 ms/s, RSS %4 -> %5 kB, "
                                    "%6 feed messages/s per client")
                         .arg(o.programs[int(i)])
                         .arg(x.runMsPerS, 0, 'f', 2)
                         .arg(x.standMsPerS, 0, 'f', 2)
                         .arg(x.rssFirstKb)
                         .arg(x.rssLastKb)
                         .arg(x.messagesPerS, 0, 'f', 1)
                  << lagLine(x.lagsMs) << Qt::endl;
            all[i].push_back(x);
        }
    }
    out() << "medians over " << o.rounds << " rounds, load average now " << loadAverage()
          << Qt::endl;
    for (size_t i = 0; i < all.size(); ++i) {
        std::vector<double> run, stand, growth, lags;
        for (const Result& x : all[i]) {
            lags.insert(lags.end(), x.lagsMs.begin(), x.lagsMs.end());
            run.push_back(x.runMsPerS);
            stand.push_back(x.standMsPerS);
            growth.push_back(double(x.rssLastKb - x.rssFirstKb));
        }
        out() << QStringLiteral("  %1: running %2 ms/s, standing %3 ms/s, RSS growth %4 kB")
                     .arg(o.programs[int(i)])
                     .arg(median(run), 0, 'f', 2)
                     .arg(median(stand), 0, 'f', 2)
                     .arg(median(growth), 0, 'f', 0)
              << lagLine(lags) << Qt::endl;
    }
    return 0;
}
