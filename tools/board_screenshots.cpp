// Saves PNG pictures of the board at the sizes it is shown at, in both digit styles, in the
// default colours and in a custom scheme with three pictures, each tab of the options dialog
// with the custom scheme and the key-capture window, and the splash window the program starts
// on, so the look can be judged.
//
//   board_screenshots OUTPUT_FOLDER
#include "app/ProgramWindows.h"
#include "board/frmScoreBoard.h"
#include "display/ResizeDrag.h"
#include "options/ChooseKey.h"
#include "options/frmChooseKey.h"
#include "options/frmOptions.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/MemorySettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

// A simple crest so the picture frames have something to show.
QString makePicture(const QString& folder, const QString& name, QColor colour, QSize size,
                    const QString& text) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(QPen(Qt::black, size.width() / 40.0));
    p.drawEllipse(QRectF(image.rect())
                      .adjusted(size.width() * 0.05, size.height() * 0.05, -size.width() * 0.05,
                                -size.height() * 0.05));
    QFont font;
    font.setPixelSize(size.height() / 4);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(image.rect(), Qt::AlignCenter, text);
    p.end();
    const QString path = QDir(folder).filePath(name);
    image.save(path, "JPG", 90);
    return path;
}

// Lets the board finish what it does once a window has stopped changing size.
void settle() {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 2 * ResizeDrag::kGapMs)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A game in progress: scores, shots, period, two penalties and a goal lamp.
void playSomeGame(frmScoreBoard& board, FakeTimeSource& time) {
    ScoreBoardLogic& logic = board.logic();
    auto typeInto = [&](EntryBox box, const char* keys) {
        for (const char* k = keys; *k; ++k) {
            const int code = *k == '\r' ? 13 : *k == '.' ? 190 : *k == '+' ? 187 : *k;
            logic.KeyDown(box, code);
        }
    };
    typeInto(EntryBox::HomeBack, "3\r");
    typeInto(EntryBox::VisitorBack, "12\r");
    typeInto(EntryBox::ShotsBackH, "27\r");
    typeInto(EntryBox::ShotsBackV, "31\r");
    typeInto(EntryBox::PeriodBack, "2");
    typeInto(EntryBox::PenaltyPH1, "17\r");
    typeInto(EntryBox::PenaltyTH1, "2\r");
    typeInto(EntryBox::PenaltyPV2, "8\r");
    typeInto(EntryBox::PenaltyTV2, "5\r");
    typeInto(EntryBox::TimeBack, "S");
    time.advance(83'400);
    logic.tmrClock1_Timer();
    typeInto(EntryBox::TimeBack, "S");
    logic.KeyDown(EntryBox::picGoalBack, 37);
}

// Each tab of the options dialog, as the user opens it on `settings`.
void saveOptionsTabs(Settings settings, const QString& out, QTextStream& log) {
    MemorySettingsStore store;
    // One sound path too long for its label, one that fits.
    settings.BuzzerFile = QDir(out).filePath(
        QStringLiteral("sounds/arena/northside-rink/season-2026/buzzer-long.wav"));
    settings.HornFile = QStringLiteral("/opt/pucktally/horn.wav");
    frmOptions options(settings, store);
    options.show();
    auto* tabs = options.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    const QStringList names = {"keyboard", "colors", "text", "pictures", "live-feed"};
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        QApplication::processEvents();
        const QString name = tab < names.size() ? names.at(tab) : QStringLiteral("more");
        const QString file =
            QDir(out).filePath(QStringLiteral("options-%1-%2.png").arg(tab).arg(name));
        options.grab().save(file);
        log << file << '\n';
    }

    // The key-capture window after a key it refused.
    ChooseKeyExchange exchange;
    exchange.ChooseKeyAction = QStringLiteral("sound the buzzer");
    exchange.ChooseKeyCurrent = 66;
    frmChooseKey capture(exchange);
    capture.setBeep([] {});
    capture.show();
    capture.Form_KeyDown(53);
    QApplication::processEvents();
    const QString file = QDir(out).filePath(QStringLiteral("choose-key-refused.png"));
    capture.grab().save(file);
    log << file << '\n';
}

// The splash window as a first start shows it.
QString saveSplash(const QString& folder) {
    MemorySettingsStore store;
    Settings settings;
    FakeTimeSource time;
    ProgramWindows windows(settings, store, time);
    windows.start({});
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("frmSplash") && w->isVisible()) {
            QApplication::processEvents();
            const QString file = QDir(folder).filePath(QStringLiteral("splash.png"));
            w->grab().save(file);
            delete w;
            return file;
        }
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: board_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir pictures;

    struct Scheme {
        const char* name;
        Settings settings;
    };
    Settings custom;
    custom.FormBack = 0x301a0a; // deep navy
    custom.LEDBack = 0x100804;
    custom.TimeColor = 0x3cd2ff;   // amber
    custom.ScoreColor = 0x40ff40;  // green
    custom.PeriodColor = 0xffc040; // sky blue
    custom.BorderColor = 0xd0e0f0;
    custom.HomeColor = 0x4060ff;
    custom.VisitorColor = 0xffd060;
    custom.LEDSelected = 0x00d7ff;
    custom.LEDSelectedWidth = 3;
    custom.HomeText = QStringLiteral("Otters");
    custom.VisitorText = QStringLiteral("Falcons");
    custom.HomePic = makePicture(pictures.path(), QStringLiteral("home.jpg"), QColor(200, 60, 40),
                                 QSize(300, 360), QStringLiteral("OTT"));
    custom.VisitorPic = makePicture(pictures.path(), QStringLiteral("visitor.jpg"),
                                    QColor(40, 90, 200), QSize(400, 300), QStringLiteral("FAL"));
    custom.BoardPic = makePicture(pictures.path(), QStringLiteral("board.jpg"), QColor(30, 140, 60),
                                  QSize(500, 640), QStringLiteral("RINK"));
    const Scheme schemes[] = {{"default", Settings()}, {"custom", custom}};
    const QSize sizes[] = {{632, 453}, {1280, 1024}, {1920, 1080}, {3840, 2160}};

    QTextStream log(stdout);
    log << saveSplash(out) << '\n';
    for (const Scheme& scheme : schemes) {
        for (int style = 0; style < 2; ++style) {
            Settings settings = scheme.settings;
            settings.LEDType = static_cast<std::int16_t>(style);
            FakeTimeSource time;
            frmScoreBoard board(settings, time);
            board.show();
            playSomeGame(board, time);
            for (const QSize& size : sizes) {
                board.resize(size);
                settle();
                const QString file = QDir(out).filePath(
                    QStringLiteral("board-%1-%2-%3x%4.png")
                        .arg(QLatin1String(scheme.name),
                             style == 0 ? QStringLiteral("lines") : QStringLiteral("dots"))
                        .arg(size.width())
                        .arg(size.height()));
                board.grab().save(file);
                log << file << '\n';
            }
            // A frame in the middle of a drag to 4K: text and pictures stretched roughly.
            board.resize(3700, 2080);
            board.resize(3840, 2160);
            const QString file = QDir(out).filePath(
                QStringLiteral("board-%1-%2-dragging.png")
                    .arg(QLatin1String(scheme.name),
                         style == 0 ? QStringLiteral("lines") : QStringLiteral("dots")));
            board.grab().save(file);
            log << file << '\n';
        }
    }
    saveOptionsTabs(custom, out, log);
    return 0;
}
