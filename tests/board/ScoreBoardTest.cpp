// The board window driven as a timekeeper drives it: real key events to the focused box,
// clicks on digits and lamps, the clock on a time source the test steps.
#include "board/frmScoreBoard.h"
#include "display/BoardLabel.h"
#include "display/ImageBox.h"
#include "display/PictureBox.h"
#include "display/PolyLED.h"
#include "display/ShapeWidget.h"
#include "display/ShownName.h"
#include "display/Twips.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"

#include <QDateTime>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

namespace {

std::vector<int> digits(frmScoreBoard& board, FieldId id) {
    std::vector<int> out;
    for (PolyLED* cell : board.ledField(id).cells())
        out.push_back(cell->Caption());
    return out;
}

ShapeWidget* shape(frmScoreBoard& board, const char* name) {
    return board.findChild<ShapeWidget*>(QString::fromLatin1(name));
}

} // namespace

class ScoreBoardTest : public QObject {
    Q_OBJECT

    Settings settings;
    FakeTimeSource time;
    std::unique_ptr<frmScoreBoard> board;

    PictureBox* box(EntryBox id) { return board->entryBox(id); }
    QWidget* focused() { return QApplication::focusWidget(); }

    void select(EntryBox id) {
        box(id)->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE_WITH_TIMEOUT(focused(), box(id), kPatienceMs);
    }
    // Keys as typed into the focused box; "\r" is Enter, "k" prefixes a keypad key.
    void type(const QString& keys) {
        bool keypad = false;
        for (QChar c : keys) {
            if (c == QLatin1Char('k')) {
                keypad = true;
                continue;
            }
            const Qt::KeyboardModifiers mods = keypad ? Qt::KeypadModifier : Qt::NoModifier;
            keypad = false;
            if (c == QLatin1Char('\r'))
                QTest::keyClick(focused(), Qt::Key_Return, mods);
            else
                QTest::keyClick(focused(), c.toLatin1(), mods);
        }
    }
    void tickAfter(int ms) {
        time.advance(ms);
        board->logic().tmrClock1_Timer();
    }

  private slots:
    void init() {
        settings = Settings();
        settings.LEDSelectedWidth = 3;
        settings.LEDSelected = 0x00FFFF;
        board = std::make_unique<frmScoreBoard>(settings, time);
        board->show();
        QApplication::setActiveWindow(board.get());
        QVERIFY(QTest::qWaitForWindowActive(board.get(), kPatienceMs));
    }
    void cleanup() { board.reset(); }

    void opensAtItsDesignSizeWithEveryFieldAtItsStartValue() {
        QCOMPARE(board->size(), QSize(632, 453));
        QCOMPARE(board->windowTitle(), QStringLiteral("Pucktally - Home"));
        QCOMPARE(digits(*board, FieldId::Time), (std::vector<int>{1, 0, 0, 0}));
        QCOMPARE(digits(*board, FieldId::Period), (std::vector<int>{0}));
        QCOMPARE(digits(*board, FieldId::Home), (std::vector<int>{0, -1, -1}));
        QCOMPARE(digits(*board, FieldId::Visitor), (std::vector<int>{0, -1, -1}));
        QCOMPARE(digits(*board, FieldId::SOGH), (std::vector<int>{0, -1}));
        QCOMPARE(digits(*board, FieldId::SOGV), (std::vector<int>{0, -1}));
        for (FieldId id : {FieldId::PenaltyPH1, FieldId::PenaltyPV2})
            QCOMPARE(digits(*board, id), (std::vector<int>{-1, -1}));
        for (FieldId id :
             {FieldId::PenaltyTH1, FieldId::PenaltyTH2, FieldId::PenaltyTV1, FieldId::PenaltyTV2})
            QCOMPARE(digits(*board, id), (std::vector<int>{-1, -1, -1}));
        // Both clock dots lit: 10:00. Penalty colons and all lamps dark.
        QCOMPARE(shape(*board, "Shape2(0)")->FillColor(), settings.BorderColor);
        QCOMPARE(shape(*board, "Shape2(1)")->FillColor(), settings.BorderColor);
        QCOMPARE(shape(*board, "dotPenaltyTH1(0)")->FillColor(), settings.LEDBack);
        for (const char* lamp : {"shpPenaltyH(0)", "shpPenaltyV(1)", "shpGoalH", "shpGoalV"})
            QCOMPARE(shape(*board, lamp)->FillColor(), settings.FormBack);
        QCOMPARE(focused(), box(EntryBox::TimeBack));
        QVERIFY(!board->clockTimer().isEnabled());
    }

    void everyHeadingOfTheBoardIsInPlace() {
        const std::pair<const char*, const char*> headings[] = {
            {"lblPeriod", "PERIOD"},      {"lblSOGH", "SHOTS ON GOAL"},
            {"lblSOGV", "SHOTS ON GOAL"}, {"lblPenaltyH", "Penalty"},
            {"lblPenaltyV", "Penalty"},   {"lblPPH", "Player Penalty"},
            {"lblPPV", "Player Penalty"}, {"lblGoalH", "GOAL"},
            {"lblGoalV", "GOAL"},         {"lblHome", "Home"},
            {"lblVisitor", "Visitor"},
        };
        for (const auto& [name, caption] : headings) {
            auto* label = board->findChild<BoardLabel*>(QString::fromLatin1(name));
            QVERIFY2(label, name);
            QCOMPARE(label->text(), QString::fromLatin1(caption));
            QVERIFY(label->isVisible());
        }
        QVERIFY(shape(*board, "Shape1")->isVisible());
        QVERIFY(shape(*board, "Shape3")->isVisible());
    }

    void onlyTheFifteenEntryBoxesTakeTheFocus() {
        int focusable = 0;
        for (QWidget* w : board->findChildren<QWidget*>())
            if (w->focusPolicy() & Qt::TabFocus)
                ++focusable;
        QCOMPARE(focusable, kEntryBoxCount);
    }

    void startStopAndResetKeysRunTheClock() {
        type(QStringLiteral("s"));
        QVERIFY(board->clockTimer().isEnabled());
        tickAfter(1500);
        QCOMPARE(digits(*board, FieldId::Time), (std::vector<int>{-1, 9, 5, 9})); // 9:59
        // Shift+S acts as S.
        QTest::keyClick(focused(), Qt::Key_S, Qt::ShiftModifier);
        QVERIFY(!board->clockTimer().isEnabled());
        time.advance(5000);
        QCOMPARE(board->logic().counters().ReadCounter(0), GameTime::tenths(5985));
        type(QStringLiteral("sr"));
        QVERIFY(!board->clockTimer().isEnabled());
        QCOMPARE(digits(*board, FieldId::Time), (std::vector<int>{1, 0, 0, 0}));
    }

    void aHeldStartKeyActsOnceButHeldDigitsRepeat() {
        auto held = [&](Qt::Key key, const QString& text) {
            QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, text, /*autorep=*/true);
            QApplication::sendEvent(focused(), &repeat);
        };
        type(QStringLiteral("s"));
        for (int i = 0; i < 5; ++i)
            held(Qt::Key_S, QStringLiteral("s"));
        QVERIFY(board->clockTimer().isEnabled());
        select(EntryBox::ShotsBackH);
        type(QStringLiteral("1"));
        held(Qt::Key_1, QStringLiteral("1"));
        type(QStringLiteral("\r"));
        QCOMPARE(digits(*board, FieldId::SOGH), (std::vector<int>{1, 1}));
    }

    void theLastMinuteShowsTenths() {
        type(QStringLiteral("0.595\r"));
        QCOMPARE(digits(*board, FieldId::Time), (std::vector<int>{5, 9, 5, -1}));
        QCOMPARE(shape(*board, "Shape2(0)")->FillColor(), settings.LEDBack);
        QCOMPARE(shape(*board, "Shape2(1)")->FillColor(), settings.BorderColor);
        type(QStringLiteral("s"));
        tickAfter(59'600);
        tickAfter(1'000); // runs out
        QCOMPARE(digits(*board, FieldId::Time), (std::vector<int>{-1, 0, 0, -1}));
        QVERIFY(!board->clockTimer().isEnabled());
    }

    void tabAndShiftTabWalkTheBoxesAndWrap() {
        const EntryBox order[] = {
            EntryBox::TimeBack,    EntryBox::HomeBack,   EntryBox::VisitorBack,
            EntryBox::picGoalBack, EntryBox::ShotsBackH, EntryBox::PeriodBack,
            EntryBox::ShotsBackV,  EntryBox::PenaltyPH1, EntryBox::PenaltyTH1,
            EntryBox::PenaltyPV1,  EntryBox::PenaltyTV1, EntryBox::PenaltyPH2,
            EntryBox::PenaltyTH2,  EntryBox::PenaltyPV2, EntryBox::PenaltyTV2,
        };
        for (EntryBox next : order) {
            QCOMPARE(focused(), box(next));
            QTest::keyClick(focused(), Qt::Key_Tab);
        }
        QCOMPARE(focused(), box(EntryBox::TimeBack)); // wrapped from PenaltyTV2
        QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focused(), box(EntryBox::PenaltyTV2));
        QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focused(), box(EntryBox::PenaltyPV2));
    }

    void theMarkerFramesTheSelectedBox() {
        ShapeWidget* marker = shape(*board, "shpObjectSelected");
        QVERIFY(marker->isVisible()); // around the clock from the start
        select(EntryBox::HomeBack);
        // HomeBack: 360, 960, 2175 x 1335 twips; a band of 3 pixels (45 twips).
        const BoardControl* c = board->controls().find(marker);
        QCOMPARE(c->metrics.Left, 315.0);
        QCOMPARE(c->metrics.Top, 915.0);
        QCOMPARE(c->metrics.Width, 2280.0);
        QCOMPARE(c->metrics.Height, 1440.0);
        QCOMPARE(marker->geometry(), twipsRectToPixels(315, 915, 2280, 1440));
        QCOMPARE(marker->FillColor(), settings.LEDSelected);
        QVERIFY(marker->isVisible());
        // Beneath the box: the box covers the middle of the marker.
        const QWidget* atCentre = board->childAt(box(EntryBox::HomeBack)->geometry().center());
        QVERIFY(atCentre == box(EntryBox::HomeBack) ||
                box(EntryBox::HomeBack)->isAncestorOf(atCentre));

        board->resize(900, 700);
        QTRY_VERIFY_WITH_TIMEOUT(!marker->isVisible(), kPatienceMs);
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(focused(), box(EntryBox::VisitorBack));
        QVERIFY(marker->isVisible());
        QVERIFY(marker->geometry().contains(box(EntryBox::VisitorBack)->geometry()));
    }

    void aClickOnADigitSelectsItsBox() {
        QTest::mouseClick(board->ledField(FieldId::Home).cell(0), Qt::LeftButton);
        QCOMPARE(focused(), box(EntryBox::HomeBack));
        QTest::mouseClick(board->ledField(FieldId::PenaltyTV2).cell(2), Qt::LeftButton);
        QCOMPARE(focused(), box(EntryBox::PenaltyTV2));
    }

    void scoresTakeTypedNumbersFromBothKeyboards() {
        select(EntryBox::HomeBack);
        type(QStringLiteral("12\r"));
        QCOMPARE(digits(*board, FieldId::Home), (std::vector<int>{2, 1, -1}));
        type(QStringLiteral("+1"));
        QCOMPARE(digits(*board, FieldId::Home), (std::vector<int>{3, 1, -1}));
        type(QStringLiteral("k1k0k5k\r")); // the numeric pad, NumLock on
        QCOMPARE(digits(*board, FieldId::Home), (std::vector<int>{5, 0, 1}));
        select(EntryBox::ShotsBackV);
        type(QStringLiteral("123\r"));
        QCOMPARE(digits(*board, FieldId::SOGV), (std::vector<int>{0, -1}));
        QTest::keyClick(focused(), Qt::Key_Delete);
        QCOMPARE(digits(*board, FieldId::SOGV), (std::vector<int>{-1, -1}));
        select(EntryBox::PeriodBack);
        type(QStringLiteral("3"));
        QCOMPARE(digits(*board, FieldId::Period), (std::vector<int>{3}));
    }

    void penaltiesRunWithTheClockAndClearWithTheClearKey() {
        select(EntryBox::PenaltyPH1);
        type(QStringLiteral("17\r"));
        select(EntryBox::PenaltyTH1);
        type(QStringLiteral("2\r"));
        QCOMPARE(digits(*board, FieldId::PenaltyTH1), (std::vector<int>{0, 0, 2}));
        QCOMPARE(shape(*board, "shpPenaltyH(0)")->FillColor(), settings.ScoreColor);
        QCOMPARE(shape(*board, "dotPenaltyTH1(1)")->FillColor(), settings.BorderColor);
        type(QStringLiteral("s"));
        tickAfter(1000);
        QCOMPARE(digits(*board, FieldId::PenaltyTH1), (std::vector<int>{9, 5, 1}));
        select(EntryBox::PenaltyPH1);
        QTest::keyClick(focused(), Qt::Key_Delete);
        QCOMPARE(digits(*board, FieldId::PenaltyPH1), (std::vector<int>{-1, -1}));
        QCOMPARE(digits(*board, FieldId::PenaltyTH1), (std::vector<int>{-1, -1, -1}));
        QCOMPARE(shape(*board, "shpPenaltyH(0)")->FillColor(), settings.FormBack);
        QVERIFY(board->clockTimer().isEnabled());
    }

    void goalLampsFollowArrowsAndClicks() {
        select(EntryBox::picGoalBack);
        QTest::keyClick(focused(), Qt::Key_Left);
        QCOMPARE(shape(*board, "shpGoalH")->FillColor(), settings.ScoreColor);
        QTest::keyClick(focused(), Qt::Key_Right);
        QCOMPARE(shape(*board, "shpGoalH")->FillColor(), settings.FormBack);
        QCOMPARE(shape(*board, "shpGoalV")->FillColor(), settings.ScoreColor);
        QTest::keyClick(focused(), Qt::Key_Down);
        QCOMPARE(shape(*board, "shpGoalV")->FillColor(), settings.FormBack);

        select(EntryBox::HomeBack);
        QTest::mouseClick(board->findChild<ImageBox*>(QStringLiteral("imgGoalCoverH")),
                          Qt::LeftButton);
        QCOMPARE(shape(*board, "shpGoalH")->FillColor(), settings.ScoreColor);
        QCOMPARE(focused(), box(EntryBox::picGoalBack));
        select(EntryBox::HomeBack);
        QTest::mouseClick(board->findChild<BoardLabel*>(QStringLiteral("lblGoalV")),
                          Qt::LeftButton);
        QCOMPARE(focused(), box(EntryBox::picGoalBack));
        QCOMPARE(shape(*board, "shpGoalH")->FillColor(), settings.ScoreColor);
    }

    void noHeadingIsCutOffAtAnySize_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("design") << QSize(632, 453);
        QTest::newRow("1280x1024") << QSize(1280, 1024);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
        QTest::newRow("4K") << QSize(3840, 2160);
        QTest::newRow("tall and narrow") << QSize(700, 1200);
    }
    void noHeadingIsCutOffAtAnySize() {
        QFETCH(QSize, size);
        board->resize(size);
        for (BoardLabel* label : board->findChildren<BoardLabel*>()) {
            if (label->autoSize())
                continue; // team names overhang their containers by design
            const QFontMetrics metrics(label->font());
            for (const QString& word : label->text().split(QLatin1Char(' ')))
                QVERIFY2(metrics.horizontalAdvance(word) <= label->contentsRect().width(),
                         qPrintable(label->objectName() + QLatin1Char(' ') + word));
            const QRect needed = metrics.boundingRect(
                label->contentsRect(), Qt::TextWordWrap | label->alignment(), label->text());
            QVERIFY2(needed.height() <= label->contentsRect().height(),
                     qPrintable(label->objectName()));
        }
    }

    void picturesFitTheirFramesAndFollowTheFileOnTheNextResize() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("home.jpg"));
        QImage wide(100, 50, QImage::Format_RGB32);
        wide.fill(Qt::red);
        QVERIFY(wide.save(path, "JPG"));
        settings.HomePic = path;
        board->UpdateLabels();
        auto* image = board->findChild<ImageBox*>(QStringLiteral("imgHomePic"));
        const ControlMetrics& m = board->controls().find(image)->metrics;
        // 1500 x 750 twips into the 1240 x 1395 frame: as wide as the frame, centred.
        QCOMPARE(m.Width, 1240.0);
        QCOMPARE(m.Height, 620.0);
        QCOMPARE(m.Left, 0.0);
        QCOMPARE(m.Top, 387.5);
        QVERIFY(image->isVisible());
        QCOMPARE(image->image().size(), QSize(100, 50));

        // A new picture in the same file shows after the next resize.
        QImage tall(50, 100, QImage::Format_RGB32);
        tall.fill(Qt::blue);
        QVERIFY(tall.save(path, "JPG"));
        QFile changed(path);
        QVERIFY(changed.open(QIODevice::ReadWrite));
        QVERIFY(changed.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                    QFileDevice::FileModificationTime));
        changed.close();
        board->resize(board->width() + 10, board->height());
        QCOMPARE(image->image().size(), QSize(50, 100));

        // A file that has gone, or that is no picture, leaves the picture as it was.
        QVERIFY(QFile::remove(path));
        board->resize(board->width() + 10, board->height());
        QCOMPARE(image->image().size(), QSize(50, 100));
        QFile junk(path);
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a picture at all");
        junk.close();
        board->resize(board->width() + 10, board->height());
        QCOMPARE(image->image().size(), QSize(50, 100));

        // Clearing the setting clears the picture.
        settings.HomePic.clear();
        board->UpdateLabels();
        QVERIFY(image->image().isNull());
    }

    // The names' size follows the client area against the design's (632 x 453 pixels) by the
    // narrower ratio; names and pictures sit in the middle of their frames at every size.
    void namesAndPicturesAtEverySize_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("points");
        QTest::newRow("opening size") << QSize(632, 453) << 24.0;
        QTest::newRow("twice the client area") << QSize(1264, 906) << 48.0;
        QTest::newRow("twice as wide: height ratio") << QSize(1264, 453) << 24.0;
        QTest::newRow("twice as tall: width ratio") << QSize(632, 906) << 24.0;
        QTest::newRow("half as wide") << QSize(316, 453) << 12.0;
        QTest::newRow("4K: height ratio") << QSize(3840, 2160) << 24.0 * 2160 / 453;
    }
    void namesAndPicturesAtEverySize() {
        QFETCH(QSize, size);
        QFETCH(double, points);
        QTemporaryDir dir;
        const std::pair<QString*, QSize> pictures[] = {{&settings.HomePic, {100, 50}},
                                                       {&settings.VisitorPic, {50, 100}},
                                                       {&settings.BoardPic, {40, 40}}};
        for (const auto& [setting, pixels] : pictures) {
            QImage image(pixels, QImage::Format_RGB32);
            image.fill(Qt::green);
            *setting = dir.filePath(QString::number(pixels.width()) + QStringLiteral(".png"));
            QVERIFY(image.save(*setting));
        }
        settings.VisitorText = QStringLiteral("A visitor name far wider than its frame");
        board->UpdateLabels();
        board->resize(size);
        QCOMPARE(board->size(), size);
        auto centred = [](const QWidget* w) {
            const QRect r = w->geometry(), frame = w->parentWidget()->rect();
            return qAbs(2 * r.left() + r.width() - frame.width()) <= 2 &&
                   qAbs(2 * r.top() + r.height() - frame.height()) <= 2;
        };
        for (const char* name : {"lblHome", "lblVisitor"}) {
            auto* label = board->findChild<BoardLabel*>(QString::fromLatin1(name));
            QCOMPARE(label->FontSize(), points);
            QVERIFY2(centred(label), name);
        }
        for (const char* name : {"imgHomePic", "imgVisitorPic", "imgBoardPic"}) {
            auto* image = board->findChild<ImageBox*>(QString::fromLatin1(name));
            QVERIFY2(centred(image), name);
            const QSize frame = image->parentWidget()->size();
            QVERIFY2(qAbs(image->width() - frame.width()) <= 1 ||
                         qAbs(image->height() - frame.height()) <= 1,
                     name);
        }
    }

    void aHugeNameIsLaidOutOnlyAsFarAsAnyBoardShowsIt() {
        const QString half(500'000, QLatin1Char('W'));
        settings.HomeText = half + QStringLiteral("|mid|") + half;
        board->UpdateLabels();
        board->resize(1280, 1024);
        auto* name = board->findChild<BoardLabel*>(QStringLiteral("lblHome"));
        QCOMPARE(name->text().size(), kMaxShownNameLength);
        QVERIFY(name->text().contains(QStringLiteral("|mid|")));
        QVERIFY(board->windowTitle().size() < kMaxShownNameLength + 20);
        QCOMPARE(settings.HomeText.size(), 1'000'005); // the stored name as it was
        const QRect r = name->geometry(), frame = name->parentWidget()->rect();
        QVERIFY(qAbs(2 * r.left() + r.width() - frame.width()) <= 2);
    }

    void coloursComeFromTheSettings() {
        // Labels take BorderColor except the team names; boxes LEDBack except the name
        // and picture containers and the goal strip, which end in FormBack.
        auto label = [&](const char* n) {
            return board->findChild<BoardLabel*>(QString::fromLatin1(n))->ForeColor();
        };
        QCOMPARE(label("lblPeriod"), settings.BorderColor);
        QCOMPARE(label("lblCreatedBy"), settings.BorderColor);
        QCOMPARE(label("lblHome"), settings.HomeColor);
        QCOMPARE(box(EntryBox::HomeBack)->BackColor(), settings.LEDBack);
        QCOMPARE(box(EntryBox::picGoalBack)->BackColor(), settings.FormBack);
        auto pic = [&](const char* n) {
            return board->findChild<PictureBox*>(QString::fromLatin1(n))->BackColor();
        };
        QCOMPARE(pic("picHomeContainer"), settings.FormBack);
        QCOMPARE(pic("picBoardPicContainer"), settings.FormBack);
        QCOMPARE(shape(*board, "Shape1")->BorderColor(), settings.BorderColor);
        QCOMPARE(shape(*board, "shpPenaltyH(1)")->BorderColor(), settings.LEDBack);

        // A label added to the board later takes its type's colour without new code.
        auto* extra = new BoardLabel(QStringLiteral("extra"), board.get());
        settings.BorderColor = 0x123456;
        board->UpdateFormColors();
        QCOMPARE(extra->ForeColor(), 0x123456);
        QCOMPARE(label("lblVisitor"), settings.VisitorColor);
    }
};

QTEST_MAIN(ScoreBoardTest)
#include "ScoreBoardTest.moc"
