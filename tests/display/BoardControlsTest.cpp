#include "display/BoardLabel.h"
#include "display/Colors.h"
#include "display/Fonts.h"
#include "display/ImageBox.h"
#include "display/PictureBox.h"
#include "display/ShapeWidget.h"
#include "support/Patience.h"

#include <QElapsedTimer>
#include <QFontInfo>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <vector>

namespace {

constexpr std::int32_t kWhiteBgr = 0xFFFFFF;
constexpr std::int32_t kBlueBgr = 0xFF0000;
constexpr std::int32_t kGreenBgr = 0x00FF00;
constexpr std::int32_t kRedBgr = 0x0000FF;

QRgb rgbOf(std::int32_t bgr) {
    return colorFromBgr(bgr).rgb() | 0xFF000000u;
}

QImage picture(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A white container with one shape placed in it, as on the board.
struct ShapeScene {
    PictureBox box;
    ShapeWidget* shape;
    ShapeScene(ShapeWidget::Kind kind, QRect where) {
        box.setBackColor(kWhiteBgr);
        box.resize(120, 80);
        shape = new ShapeWidget(kind, &box);
        shape->setGeometry(where);
        shape->setFillColor(kBlueBgr);
        shape->setBorderColor(kRedBgr);
    }
    QRgb at(int x, int y) { return picture(box).pixel(shape->x() + x, shape->y() + y); }
};

} // namespace

class BoardControlsTest : public QObject {
    Q_OBJECT

  private slots:
    void coloursAreBgr_data();
    void coloursAreBgr();
    void fontFamiliesAreInstalled();

    void shapeDrawsOnlyItsShape_data();
    void shapeDrawsOnlyItsShape();
    void shapeBorderLiesInsideItsRect();
    void shapeBorderWidthIsWholePixels_data();
    void shapeBorderWidthIsWholePixels();
    void frameIsTransparentInside();
    void shapeLetsClicksThrough();

    void boxPaintsItsColourAndTakesNoFocus();
    void boxAnnouncesKeysFocusAndClicks();
    void boxClickNeedsPressAndReleaseInside();

    void emptyImageDrawsNothingButTakesClicks();
    void imageTakesItsPictureSizeUnlessStretched();
    void stretchedImageIsRoughDuringADragAndSmoothAfter();

    void labelSizeInPoints_data();
    void labelSizeInPoints();
    void labelIsTransparentAndPlain();
    void labelAutoSizeFollowsTextAndFont();
    void labelShowsEveryChangeAsAFreshLabelWould();
    void labelClickFocusesItsBox();
};

void BoardControlsTest::coloursAreBgr_data() {
    QTest::addColumn<std::int32_t>("bgr");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red in the low byte") << 0x0000FF << QColor(255, 0, 0);
    QTest::newRow("blue in the high byte") << 0xFF0000 << QColor(0, 0, 255);
    QTest::newRow("mixed") << 0x123456 << QColor(0x56, 0x34, 0x12);
    QTest::newRow("top byte ignored") << 0x7F00FF00 << QColor(0, 255, 0);
    QTest::newRow("negative") << -1 << QColor(255, 255, 255);
}

void BoardControlsTest::coloursAreBgr() {
    QFETCH(std::int32_t, bgr);
    QFETCH(QColor, colour);
    QCOMPARE(colorFromBgr(bgr), colour);
    QCOMPARE(bgrFromColor(colour), maskBgr(bgr));
}

void BoardControlsTest::fontFamiliesAreInstalled() {
    for (const QString& family : {sansFamily(), serifFamily()}) {
        QVERIFY(!family.isEmpty());
        QFont f(family);
        QCOMPARE(QFontInfo(f).family(), family);
    }
    QVERIFY(sansFamily() != serifFamily());
}

void BoardControlsTest::shapeDrawsOnlyItsShape_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("cornerShown");
    QTest::addColumn<bool>("sideMiddleShown");
    // On a wide rectangle: the circle keeps to the centred square, the others reach the sides.
    QTest::newRow("rectangle") << int(ShapeWidget::Kind::Rectangle) << true << true;
    QTest::newRow("rounded") << int(ShapeWidget::Kind::RoundedRectangle) << false << true;
    QTest::newRow("oval") << int(ShapeWidget::Kind::Oval) << false << true;
    QTest::newRow("circle") << int(ShapeWidget::Kind::Circle) << false << false;
}

void BoardControlsTest::shapeDrawsOnlyItsShape() {
    QFETCH(int, kind);
    QFETCH(bool, cornerShown);
    QFETCH(bool, sideMiddleShown);
    ShapeScene scene(ShapeWidget::Kind(kind), QRect(10, 10, 90, 50));
    const QRgb white = rgbOf(kWhiteBgr);
    QCOMPARE(scene.at(0, 0) != white, cornerShown);
    QCOMPARE(scene.at(0, 25) != white, sideMiddleShown);
    QCOMPARE(scene.at(45, 25), rgbOf(kBlueBgr));
    scene.shape->setBorderWidth(3);
    QCOMPARE(scene.at(45, 1), rgbOf(kRedBgr));
    QCOMPARE(scene.at(45, 48), rgbOf(kRedBgr));
    QCOMPARE(scene.at(45, 4), rgbOf(kBlueBgr));
    // Nothing is drawn outside the shape's own rectangle.
    QCOMPARE(picture(scene.box).pixel(9, 35), white);
    QCOMPARE(picture(scene.box).pixel(100, 35), white);
}

void BoardControlsTest::shapeBorderLiesInsideItsRect() {
    ShapeScene scene(ShapeWidget::Kind::Rectangle, QRect(10, 10, 60, 40));
    scene.shape->setBorderWidth(3);
    QCOMPARE(scene.at(0, 20), rgbOf(kRedBgr));
    QCOMPARE(scene.at(2, 20), rgbOf(kRedBgr));
    QCOMPARE(scene.at(3, 20), rgbOf(kBlueBgr));
    QCOMPARE(scene.at(59, 20), rgbOf(kRedBgr));
    QCOMPARE(scene.at(56, 20), rgbOf(kBlueBgr));
    scene.shape->setBorderVisible(false);
    QCOMPARE(scene.at(0, 20), rgbOf(kBlueBgr));
}

void BoardControlsTest::shapeBorderWidthIsWholePixels_data() {
    QTest::addColumn<double>("width");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("drawn");
    QTest::newRow("design 7") << 7.0 << true << 7;
    QTest::newRow("rounds up") << 2.6 << true << 3;
    QTest::newRow("rounds down") << 2.4 << true << 2;
    QTest::newRow("thin stays 1") << 0.2 << true << 1;
    QTest::newRow("zero stays 1") << 0.0 << true << 1;
    QTest::newRow("negative stays 1") << -4.0 << true << 1;
    QTest::newRow("not a number") << qQNaN() << true << 1;
    QTest::newRow("capped at half the shape") << 1e9 << true << 10;
    QTest::newRow("hidden") << 7.0 << false << 0;
}

void BoardControlsTest::shapeBorderWidthIsWholePixels() {
    QFETCH(double, width);
    QFETCH(bool, visible);
    QFETCH(int, drawn);
    ShapeWidget shape(ShapeWidget::Kind::Oval);
    shape.resize(40, 20);
    shape.setBorderWidth(width);
    shape.setBorderVisible(visible);
    QCOMPARE(shape.drawnBorderWidth(), drawn);
    QVERIFY(!shape.grab().isNull());
}

void BoardControlsTest::frameIsTransparentInside() {
    ShapeScene scene(ShapeWidget::Kind::RoundedRectangle, QRect(5, 5, 110, 70));
    scene.shape->setFilled(false);
    scene.shape->setBorderWidth(7);
    QCOMPARE(scene.at(55, 35), rgbOf(kWhiteBgr));
    QCOMPARE(scene.at(55, 3), rgbOf(kRedBgr));
    QCOMPARE(scene.at(55, 8), rgbOf(kWhiteBgr));
    // The corners are visibly rounded.
    QCOMPARE(scene.at(1, 1), rgbOf(kWhiteBgr));
    QCOMPARE(scene.at(3, 35), rgbOf(kRedBgr));
}

void BoardControlsTest::shapeLetsClicksThrough() {
    PictureBox box;
    box.resize(100, 60);
    auto* image = new ImageBox(&box);
    image->setGeometry(10, 10, 40, 20);
    auto* lamp = new ShapeWidget(ShapeWidget::Kind::Oval, &box);
    lamp->setGeometry(10, 10, 40, 20);
    lamp->raise();
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box, kPatienceMs));
    QSignalSpy clicked(image, &ImageBox::clicked);
    // Through the window, so that Qt picks the widget under the pointer.
    QTest::mouseClick(box.windowHandle(), Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(clicked.count(), 1);
}

void BoardControlsTest::boxPaintsItsColourAndTakesNoFocus() {
    PictureBox box;
    box.resize(30, 20);
    QCOMPARE(box.focusPolicy(), Qt::NoFocus);
    box.setBackColor(kGreenBgr);
    QCOMPARE(box.BackColor(), kGreenBgr);
    const QImage image = picture(box);
    QCOMPARE(image.pixel(0, 0), rgbOf(kGreenBgr));
    QCOMPARE(image.pixel(29, 19), rgbOf(kGreenBgr));
}

void BoardControlsTest::boxAnnouncesKeysFocusAndClicks() {
    QWidget window;
    auto* first = new PictureBox(&window);
    first->setGeometry(0, 0, 50, 50);
    first->setFocusPolicy(Qt::StrongFocus);
    auto* second = new PictureBox(&window);
    second->setGeometry(60, 0, 50, 50);
    second->setFocusPolicy(Qt::StrongFocus);
    QSignalSpy downs(first, &PictureBox::keyDown);
    QSignalSpy ups(first, &PictureBox::keyUp);
    QSignalSpy focus(first, &PictureBox::gotFocus);
    QSignalSpy secondFocus(second, &PictureBox::gotFocus);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window, kPatienceMs));
    first->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(first->hasFocus(), kPatienceMs);
    QCOMPARE(focus.count(), 1);

    int seenKey = 0;
    connect(first, &PictureBox::keyDown, this, [&](QKeyEvent* e) { seenKey = e->key(); });
    QTest::keyClick(first, Qt::Key_S);
    QCOMPARE(downs.count(), 1);
    QCOMPARE(ups.count(), 1);
    QCOMPARE(seenKey, int(Qt::Key_S));
    QTest::keyClick(first, Qt::Key_F2);
    QTest::keyClick(first, Qt::Key_5, Qt::KeypadModifier);
    QCOMPARE(downs.count(), 3);

    // Tab moves on without a key-down of its own.
    QTest::keyClick(first, Qt::Key_Tab);
    QTRY_VERIFY_WITH_TIMEOUT(second->hasFocus(), kPatienceMs);
    QCOMPARE(downs.count(), 3);
    QCOMPARE(secondFocus.count(), 1);

    QSignalSpy clicks(first, &PictureBox::clicked);
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(first->hasFocus(), kPatienceMs);
    QCOMPARE(focus.count(), 2);
}

void BoardControlsTest::boxClickNeedsPressAndReleaseInside() {
    PictureBox box;
    box.resize(50, 50);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box, kPatienceMs));
    QSignalSpy clicks(&box, &PictureBox::clicked);
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(80, 10));
    QCOMPARE(clicks.count(), 0);
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 0);
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(10, 10)); // no press before
    QCOMPARE(clicks.count(), 0);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(49, 49));
    QCOMPARE(clicks.count(), 1);
}

void BoardControlsTest::emptyImageDrawsNothingButTakesClicks() {
    PictureBox box;
    box.setBackColor(kGreenBgr);
    box.resize(60, 40);
    auto* cover = new ImageBox(&box);
    cover->setGeometry(10, 10, 30, 20);
    QCOMPARE(cover->focusPolicy(), Qt::NoFocus);
    const QImage image = picture(box);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(image.pixel(x, y), rgbOf(kGreenBgr));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box, kPatienceMs));
    QSignalSpy clicks(cover, &ImageBox::clicked);
    QSignalSpy boxClicks(&box, &PictureBox::clicked);
    QTest::mouseClick(cover, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(boxClicks.count(), 0);
}

void BoardControlsTest::imageTakesItsPictureSizeUnlessStretched() {
    QImage source(4, 2, QImage::Format_RGB32);
    source.fill(qRgb(0, 0, 255));
    source.setPixel(0, 0, qRgb(255, 0, 0));

    ImageBox image;
    image.resize(50, 50);
    image.setImage(source);
    QCOMPARE(image.size(), QSize(4, 2));
    QCOMPARE(image.image().size(), QSize(4, 2));

    image.setStretch(true);
    image.resize(40, 30);
    const QImage stretched = picture(image);
    QCOMPARE(stretched.size(), QSize(40, 30));
    QCOMPARE(stretched.pixel(39, 29), qRgb(0, 0, 255));
    QCOMPARE(qRed(stretched.pixel(1, 1)) > 128, true);

    // Stretching off again shows the picture at its own size.
    image.setStretch(false);
    QCOMPARE(image.size(), QSize(4, 2));

    // An empty picture clears the image and keeps the box where it is.
    image.resize(30, 30);
    image.setImage(QImage());
    QCOMPARE(image.size(), QSize(30, 30));
    QVERIFY(image.image().isNull());
}

void BoardControlsTest::stretchedImageIsRoughDuringADragAndSmoothAfter() {
    // Red left half, blue right half: scaled smoothly the middle blends, roughly it does not.
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 0, 255));
    ImageBox image;
    image.setStretch(true);
    image.setImage(source);
    image.resize(100, 40);
    image.show();
    QVERIFY(QTest::qWaitForWindowExposed(&image, kPatienceMs));
    const auto blended = [&] {
        const QImage shown = picture(image);
        const QRgb middle = shown.pixel(shown.width() / 2 - 1, shown.height() / 2);
        return qRed(middle) > 10 && qBlue(middle) > 10;
    };
    QTRY_VERIFY_WITH_TIMEOUT(blended(), kPatienceMs);
    QTest::qWait(300);
    // Two resizes soon one after the other: a drag. A busy machine may hold the test up
    // between them for longer than a drag's gap; then they come again.
    QElapsedTimer apart;
    do {
        apart.start();
        image.resize(110, 45);
        image.resize(120, 50);
    } while (apart.hasExpired(ResizeDrag::kGapMs));
    QVERIFY(!blended());
    const QImage rough = picture(image);
    QCOMPARE(rough.size(), QSize(120, 50));
    QCOMPARE(rough.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(rough.pixel(119, 49), qRgb(0, 0, 255));
    QTRY_VERIFY_WITH_TIMEOUT(blended(), kPatienceMs); // the size held still
}

void BoardControlsTest::labelSizeInPoints_data() {
    QTest::addColumn<double>("points");
    QTest::addColumn<double>("kept");
    QTest::addColumn<int>("pixels");
    QTest::newRow("headings 15.75") << 15.75 << 15.75 << 21;
    QTest::newRow("shots 14.25") << 14.25 << 14.25 << 19;
    QTest::newRow("credit 11.25") << 11.25 << 11.25 << 15;
    QTest::newRow("names 24") << 24.0 << 24.0 << 32;
    QTest::newRow("one") << 1.0 << 1.0 << 1;
    QTest::newRow("below one") << 0.4 << 1.0 << 1;
    QTest::newRow("negative") << -12.0 << 1.0 << 1;
    QTest::newRow("not a number") << qQNaN() << 1.0 << 1;
    QTest::newRow("infinite") << qInf() << 1.0 << 1;
}

void BoardControlsTest::labelSizeInPoints() {
    QFETCH(double, points);
    QFETCH(double, kept);
    QFETCH(int, pixels);
    BoardLabel label(QStringLiteral("PERIOD"));
    label.setFontSize(points);
    QCOMPARE(label.FontSize(), kept);
    QCOMPARE(label.font().pixelSize(), pixels);
    QCOMPARE(label.font().family(), sansFamily());
}

void BoardControlsTest::labelIsTransparentAndPlain() {
    PictureBox box;
    box.setBackColor(kBlueBgr);
    box.resize(200, 60);
    auto* label = new BoardLabel(QStringLiteral("<b>GOAL</b>"), &box);
    label->setGeometry(0, 0, 200, 60);
    label->setForeColor(kWhiteBgr);
    QCOMPARE(label->ForeColor(), kWhiteBgr);
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    label->setFontSize(15.75);
    const QImage image = picture(box);
    // The background is the box's; the text is in the label's colour.
    QCOMPARE(image.pixel(199, 59), rgbOf(kBlueBgr));
    int white = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            white += image.pixel(x, y) == rgbOf(kWhiteBgr) ? 1 : 0;
    QVERIFY(white > 0);
    // Markup is shown as typed, not interpreted.
    BoardLabel plain(QStringLiteral("GOAL"));
    plain.setFontSize(15.75);
    QVERIFY(label->sizeHint().width() > plain.sizeHint().width());
}

void BoardControlsTest::labelShowsEveryChangeAsAFreshLabelWould() {
    // A label keeps what it drew; after each change it must look exactly like a label that
    // was given the same changes and never drew before.
    using Change = std::function<void(BoardLabel&)>;
    const std::vector<std::pair<const char*, Change>> changes = {
        {"text", [](BoardLabel& l) { l.setText(QStringLiteral("SHOTS ON GOAL")); }},
        {"colour", [](BoardLabel& l) { l.setForeColor(kRedBgr); }},
        {"points", [](BoardLabel& l) { l.setFontSize(12); }},
        {"alignment", [](BoardLabel& l) { l.setAlignment(Qt::AlignRight | Qt::AlignBottom); }},
        {"margin", [](BoardLabel& l) { l.setMargin(6); }},
        {"size", [](BoardLabel& l) { l.resize(150, 70); }},
        {"word wrap",
         [](BoardLabel& l) {
             l.setWordWrap(true);
             l.resize(90, 70); // the text is fitted to the label when it is resized
         }},
        {"auto-size", [](BoardLabel& l) { l.setAutoSize(true); }},
    };
    const auto scene = [](size_t changed, const auto& list) {
        auto box = std::make_unique<PictureBox>();
        box->setBackColor(kBlueBgr);
        box->resize(220, 90);
        auto* label = new BoardLabel(QStringLiteral("GOAL"), box.get());
        label->setGeometry(10, 5, 200, 80);
        label->setForeColor(kWhiteBgr);
        label->setFontSize(15.75);
        for (size_t i = 0; i < changed; ++i)
            list[i].second(*label);
        return box;
    };
    const auto kept = scene(0, changes);
    auto* label = kept->findChild<BoardLabel*>();
    QImage before = picture(*kept);
    for (size_t i = 0; i < changes.size(); ++i) {
        changes[i].second(*label);
        const QImage expected = picture(*scene(i + 1, changes));
        QVERIFY2(expected != before, changes[i].first);
        // A resize soon after the one before counts as a drag and may take a moment.
        QTRY_VERIFY2_WITH_TIMEOUT(picture(*kept) == expected, changes[i].first, kPatienceMs);
        before = expected;
    }
    // Resized twice in a row, as in a drag, it may stretch what it drew; once the size has
    // held still it shows the text drawn anew.
    label->resize(120, 60);
    label->resize(140, 80);
    auto settled = scene(changes.size(), changes);
    settled->findChild<BoardLabel*>()->resize(140, 80);
    const QImage fresh = picture(*settled);
    QTRY_VERIFY_WITH_TIMEOUT(picture(*kept) == fresh, kPatienceMs);
}

void BoardControlsTest::labelAutoSizeFollowsTextAndFont() {
    BoardLabel label(QStringLiteral("Home"));
    label.setFontSize(24);
    label.resize(500, 500);
    label.setAutoSize(true);
    const QSize home = label.size();
    QVERIFY(home.width() < 500 && home.height() < 500);
    QVERIFY(home.height() >= 32);

    // Even with word wrap on, a long name grows sideways on one line.
    label.setWordWrap(true);
    label.setText(QStringLiteral("Home team with a long name that goes on and on and on, far "
                                 "beyond anything a board could show at this size of type"));
    QVERIFY(label.width() > home.width() * 10);
    QCOMPARE(label.height(), home.height());
    label.setText(QStringLiteral("Home"));
    QCOMPARE(label.size(), home);

    label.setFontSize(48);
    QVERIFY(label.height() > home.height());
    QVERIFY(label.width() > home.width());

    QFont bold = label.font();
    bold.setBold(true);
    const int before = label.width();
    label.setFont(bold);
    QVERIFY(label.width() > before);

    label.setAutoSize(false);
    label.setText(QStringLiteral("H"));
    QVERIFY(label.width() >= before);
}

void BoardControlsTest::labelClickFocusesItsBox() {
    QWidget window;
    auto* strip = new PictureBox(&window);
    strip->setGeometry(0, 0, 200, 40);
    strip->setFocusPolicy(Qt::StrongFocus);
    auto* other = new PictureBox(&window);
    other->setGeometry(0, 50, 50, 50);
    other->setFocusPolicy(Qt::StrongFocus);
    auto* label = new BoardLabel(QStringLiteral("GOAL"), strip);
    label->setGeometry(10, 0, 80, 30);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window, kPatienceMs));
    other->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(other->hasFocus(), kPatienceMs);

    QSignalSpy labelClicks(label, &BoardLabel::clicked);
    QSignalSpy stripClicks(strip, &PictureBox::clicked);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(labelClicks.count(), 1);
    QCOMPARE(stripClicks.count(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(strip->hasFocus(), kPatienceMs);
}

int runBoardControlsTests(int argc, char** argv) {
    BoardControlsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "BoardControlsTest.moc"
