#include "display/PolyLED.h"
#include "display/Colors.h"
#include "display/LedField.h"
#include "display/LedGeometry.h"
#include "display/PictureBox.h"
#include "support/Patience.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <map>
#include <memory>

namespace {

constexpr std::int32_t kRedBgr = 0x0000FF;
constexpr std::int32_t kBlackBgr = 0x000000;

// Counts the paint events each watched widget receives.
class PaintCounter : public QObject {
  public:
    void watch(QWidget* w) {
        w->installEventFilter(this);
        counts_[w] = 0;
    }
    int count(QWidget* w) const { return counts_.at(w); }
    void reset() {
        for (auto& entry : counts_)
            entry.second = 0;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto it = counts_.find(watched);
            if (it != counts_.end())
                ++it->second;
        }
        return false;
    }

  private:
    std::map<QObject*, int> counts_;
};

QImage render(int caption, std::int32_t type, double size = 80) {
    PolyLED cell;
    cell.setLitColor(kRedBgr);
    cell.setBackColor(kBlackBgr);
    cell.setLedType(type);
    cell.setSize(size);
    cell.setCaption(caption);
    return cell.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int countPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

// Whether any fully lit pixel lies in the given region of the image (fractions of its size).
bool litIn(const QImage& image, double x0, double y0, double x1, double y1) {
    const QRgb lit = qRgb(255, 0, 0);
    for (int y = int(y0 * image.height()); y < int(y1 * image.height()); ++y)
        for (int x = int(x0 * image.width()); x < int(x1 * image.width()); ++x)
            if (image.pixel(x, y) == lit)
                return true;
    return false;
}

// Reads a seven-segment digit off the picture the way a spectator does: which of the seven
// bars carry light. Segment letters a (top) to g (middle) in the usual order.
QString readSegments(const QImage& image) {
    QString seen;
    if (litIn(image, 0.45, 0.0, 0.55, 0.2))
        seen += QLatin1Char('a');
    if (litIn(image, 0.65, 0.2, 1.0, 0.4))
        seen += QLatin1Char('b');
    if (litIn(image, 0.65, 0.6, 1.0, 0.8))
        seen += QLatin1Char('c');
    if (litIn(image, 0.45, 0.8, 0.55, 1.0))
        seen += QLatin1Char('d');
    if (litIn(image, 0.0, 0.6, 0.35, 0.8))
        seen += QLatin1Char('e');
    if (litIn(image, 0.0, 0.2, 0.35, 0.4))
        seen += QLatin1Char('f');
    if (litIn(image, 0.45, 0.4, 0.55, 0.6))
        seen += QLatin1Char('g');
    return seen;
}

} // namespace

class PolyLEDTest : public QObject {
    Q_OBJECT

  private slots:
    void newCellShowsZero();
    void captionWrites_data();
    void captionWrites();
    void sizeGivesTheCellItsExtent_data();
    void sizeGivesTheCellItsExtent();
    void fieldIsADigitGroup();
    void fieldIgnoresElementsItLacks();
    void repaintsOnlyOnChange();
    void linesReadAsTheirDigits_data();
    void linesReadAsTheirDigits();
    void litPixelsOnlyForTheDigit_data();
    void litPixelsOnlyForTheDigit();
    void unknownStyleDrawsLines();
    void everyDigitLooksDifferent_data();
    void everyDigitLooksDifferent();
    void clickOnCellFocusesItsBox();
    void focusGivenToCellGoesToItsBox();
    void digitSheet();
};

void PolyLEDTest::newCellShowsZero() {
    PolyLED cell;
    QCOMPARE(cell.Caption(), 0);
    QCOMPARE(cell.focusPolicy(), Qt::NoFocus);
}

void PolyLEDTest::captionWrites_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<int>("shown");

    QTest::newRow("digit") << 0 << QVariant(7) << 7;
    QTest::newRow("nine") << 3 << QVariant(9) << 9;
    QTest::newRow("minus one blanks") << 5 << QVariant(-1) << -1;
    QTest::newRow("zero after blank") << -1 << QVariant(0) << 0;
    QTest::newRow("text digit") << 0 << QVariant(QStringLiteral("7")) << 7;
    QTest::newRow("text zero") << 4 << QVariant(QStringLiteral("0")) << 0;
    QTest::newRow("ten ignored") << 4 << QVariant(10) << 4;
    QTest::newRow("minus two ignored") << 4 << QVariant(-2) << 4;
    QTest::newRow("huge ignored") << 4 << QVariant(INT_MAX) << 4;
    QTest::newRow("text two digits ignored") << 4 << QVariant(QStringLiteral("12")) << 4;
    QTest::newRow("text minus one ignored") << 4 << QVariant(QStringLiteral("-1")) << 4;
    QTest::newRow("text letter ignored") << 4 << QVariant(QStringLiteral("x")) << 4;
    QTest::newRow("text empty ignored") << 4 << QVariant(QString()) << 4;
    QTest::newRow("text blank ignored") << 4 << QVariant(QStringLiteral(" ")) << 4;
    QTest::newRow("text arabic digit ignored") << 4 << QVariant(QString(QChar(0x0663))) << 4;
}

void PolyLEDTest::captionWrites() {
    QFETCH(int, start);
    QFETCH(QVariant, written);
    QFETCH(int, shown);
    PolyLED cell;
    cell.setCaption(start);
    QCOMPARE(cell.Caption(), start);
    if (written.typeId() == QMetaType::QString)
        cell.setCaption(written.toString());
    else
        cell.setCaption(written.toInt());
    QCOMPARE(cell.Caption(), shown);
}

void PolyLEDTest::sizeGivesTheCellItsExtent_data() {
    QTest::addColumn<double>("size");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<double>("kept");

    QTest::newRow("clock") << 80.0 << QSize(44, 79) << 80.0;
    QTest::newRow("score") << 75.0 << QSize(42, 75) << 75.0;
    QTest::newRow("period") << 65.0 << QSize(36, 65) << 65.0;
    QTest::newRow("small fields") << 55.0 << QSize(31, 55) << 55.0;
    QTest::newRow("below one") << 0.25 << ledExtentPixels(1) << 1.0;
    QTest::newRow("not a number") << qQNaN() << ledExtentPixels(1) << 1.0;
}

void PolyLEDTest::sizeGivesTheCellItsExtent() {
    QFETCH(double, size);
    QFETCH(QSize, pixels);
    QFETCH(double, kept);
    PolyLED cell;
    cell.setSize(size);
    QCOMPARE(cell.size(), pixels);
    QCOMPARE(cell.Size(), kept);
}

void PolyLEDTest::fieldIsADigitGroup() {
    QWidget box;
    LedField field(QStringLiteral("pledHome"));
    std::vector<PolyLED*> made;
    for (int i = 0; i < 3; ++i) {
        made.push_back(new PolyLED(&box));
        made.back()->setObjectName(QStringLiteral("pledHome(%1)").arg(i));
        field.append(made.back());
    }
    QCOMPARE(field.Count(), 3);
    QCOMPARE(field.UBound(), 2);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(field.cell(i), made[i]);
        QCOMPARE(made[i]->Name(), QStringLiteral("pledHome"));
        QCOMPARE(made[i]->Index(), i);
        // The board names its controls itself; joining a field leaves that name alone.
        QCOMPARE(made[i]->objectName(), QStringLiteral("pledHome(%1)").arg(i));
    }

    DigitGroup& group = field;
    QCOMPARE(group.name(), QStringLiteral("pledHome"));
    QCOMPARE(group.count(), 3);
    // 105: element 0 is the units digit.
    group.setDigit(0, 5);
    group.setDigit(1, 0);
    group.setDigit(2, 1);
    QCOMPARE(made[0]->Caption(), 5);
    QCOMPARE(made[1]->Caption(), 0);
    QCOMPARE(made[2]->Caption(), 1);
    made[2]->setCaption(-1);
    QCOMPARE(group.digit(2), -1);
    group.setDigit(1, 12); // not a digit: the cell keeps what it shows
    QCOMPARE(group.digit(1), 0);
}

void PolyLEDTest::fieldIgnoresElementsItLacks() {
    LedField empty(QStringLiteral("pledNone"));
    QCOMPARE(empty.Count(), 0);
    QCOMPARE(empty.UBound(), -1);
    QCOMPARE(empty.cell(0), nullptr);
    QCOMPARE(empty.digit(0), -1);
    empty.setDigit(0, 3);
    empty.append(nullptr);
    QCOMPARE(empty.Count(), 0);

    PolyLED only;
    LedField field(QStringLiteral("pledPeriod"));
    field.append(&only);
    field.setDigit(-1, 4);
    field.setDigit(1, 4);
    QCOMPARE(only.Caption(), 0);
    QCOMPARE(field.digit(-1), -1);
    QCOMPARE(field.digit(1), -1);
}

void PolyLEDTest::repaintsOnlyOnChange() {
    PictureBox box;
    box.resize(300, 100);
    std::vector<PolyLED*> cells;
    PaintCounter counter;
    for (int i = 0; i < 3; ++i) {
        cells.push_back(new PolyLED(&box));
        cells.back()->move(i * 60, 0);
        counter.watch(cells.back());
    }
    // A change to the marker is painted in the same pass as everything else pending, so once
    // the marker has been painted, nothing else is still to come, however slow the machine.
    auto* marker = new PolyLED(&box);
    marker->move(200, 0);
    marker->setCaption(0);
    counter.watch(marker);
    int markerDigit = 0;
    const auto flush = [&] {
        const int before = counter.count(marker);
        marker->setCaption(++markerDigit % 10);
        return QTest::qWaitFor([&] { return counter.count(marker) > before; }, kPatienceMs);
    };
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box, kPatienceMs));
    QTRY_VERIFY_WITH_TIMEOUT(counter.count(cells[0]) > 0, kPatienceMs);
    QVERIFY(flush());
    counter.reset();

    // Writing what the cells already show paints nothing.
    cells[0]->setCaption(0);
    cells[1]->setCaption(QStringLiteral("0"));
    cells[2]->setLitColor(cells[2]->LitColor());
    cells[2]->setBackColor(cells[2]->BackColor());
    cells[2]->setSize(cells[2]->Size());
    cells[1]->setLedType(2);  // another value that draws as Lines, like 0
    cells[0]->setCaption(11); // ignored
    QVERIFY(flush());
    QCOMPARE(counter.count(cells[0]), 0);
    QCOMPARE(counter.count(cells[1]), 0);
    QCOMPARE(counter.count(cells[2]), 0);

    // A tick that changes one digit repaints that cell alone.
    cells[1]->setCaption(4);
    QVERIFY(flush());
    QCOMPARE(counter.count(cells[0]), 0);
    QVERIFY(counter.count(cells[1]) >= 1);
    QCOMPARE(counter.count(cells[2]), 0);

    counter.reset();
    cells[2]->setLitColor(0x00FF00);
    cells[0]->setLedType(PolyLED::kDots);
    QVERIFY(flush());
    QVERIFY(counter.count(cells[0]) >= 1);
    QCOMPARE(counter.count(cells[1]), 0);
    QVERIFY(counter.count(cells[2]) >= 1);
}

void PolyLEDTest::linesReadAsTheirDigits_data() {
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>("segments");
    // The usual seven-segment figures, with the tails on 6, 7 and 9 a scoreboard shows.
    const char* figures[] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                             "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
    for (int d = 0; d <= 9; ++d)
        QTest::addRow("%d", d) << d << QString::fromLatin1(figures[d]);
    QTest::newRow("blank") << -1 << QString();
}

void PolyLEDTest::linesReadAsTheirDigits() {
    QFETCH(int, digit);
    QFETCH(QString, segments);
    for (double size : {55.0, 80.0, 350.0})
        QCOMPARE(readSegments(render(digit, PolyLED::kLines, size)), segments);
}

void PolyLEDTest::litPixelsOnlyForTheDigit_data() {
    QTest::addColumn<std::int32_t>("type");
    QTest::newRow("Lines") << PolyLED::kLines;
    QTest::newRow("Dots") << PolyLED::kDots;
}

void PolyLEDTest::litPixelsOnlyForTheDigit() {
    QFETCH(std::int32_t, type);
    const QRgb lit = qRgb(255, 0, 0);
    const QRgb back = colorFromBgr(kBlackBgr).rgb();
    const QImage eight = render(8, type);
    const QImage one = render(1, type);
    const QImage blank = render(-1, type);

    QCOMPARE(countPixels(blank, lit), 0);
    QVERIFY(countPixels(one, lit) > 0);
    QVERIFY(countPixels(one, lit) < countPixels(eight, lit));
    // The unlit parts stay faintly visible: a blank cell is not plain background, but
    // nothing in it comes close to the lit colour.
    QVERIFY(countPixels(blank, back) < blank.width() * blank.height());
    for (int y = 0; y < blank.height(); ++y)
        for (int x = 0; x < blank.width(); ++x)
            QVERIFY(qRed(blank.pixel(x, y)) < 128);
    // In Lines, 8 lights every segment, so whatever another digit lights, 8 lights too.
    if (type == PolyLED::kLines) {
        for (int d = 0; d <= 9; ++d) {
            const QImage digit = render(d, type);
            for (int y = 0; y < digit.height(); ++y)
                for (int x = 0; x < digit.width(); ++x)
                    if (digit.pixel(x, y) == lit)
                        QVERIFY2(eight.pixel(x, y) == lit, qPrintable(QString::number(d)));
        }
    }
}

void PolyLEDTest::unknownStyleDrawsLines() {
    for (int d : {-1, 0, 4, 8}) {
        const QImage lines = render(d, PolyLED::kLines);
        QCOMPARE(render(d, 7), lines);
        QCOMPARE(render(d, -1), lines);
        QVERIFY(render(d, PolyLED::kDots) != lines);
    }
}

void PolyLEDTest::everyDigitLooksDifferent_data() {
    litPixelsOnlyForTheDigit_data();
}

void PolyLEDTest::everyDigitLooksDifferent() {
    QFETCH(std::int32_t, type);
    std::vector<QImage> faces;
    for (int d = -1; d <= 9; ++d)
        faces.push_back(render(d, type, 55));
    for (std::size_t i = 0; i < faces.size(); ++i)
        for (std::size_t j = i + 1; j < faces.size(); ++j)
            QVERIFY2(
                faces[i] != faces[j],
                qPrintable(QStringLiteral("%1 and %2 look alike").arg(int(i) - 1).arg(int(j) - 1)));
}

void PolyLEDTest::clickOnCellFocusesItsBox() {
    QWidget window;
    window.resize(300, 200);
    auto* other = new PictureBox(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    other->setGeometry(0, 0, 50, 50);
    auto* box = new PictureBox(&window);
    box->setFocusPolicy(Qt::StrongFocus);
    box->setGeometry(100, 0, 150, 100);
    LedField field(QStringLiteral("pledSOGH"));
    for (int i = 0; i < 2; ++i) {
        auto* cell = new PolyLED(box);
        cell->move(70 - i * 60, 5);
        field.append(cell);
    }
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window, kPatienceMs));
    other->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(other->hasFocus(), kPatienceMs);

    QSignalSpy gotFocus(box, &PictureBox::gotFocus);
    QSignalSpy clicked(box, &PictureBox::clicked);
    QTest::mouseClick(field.cell(1), Qt::LeftButton, {}, QPoint(10, 10));
    QTRY_VERIFY_WITH_TIMEOUT(box->hasFocus(), kPatienceMs);
    QCOMPARE(gotFocus.count(), 1);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(!field.cell(1)->hasFocus());

    // A second click on the other cell keeps the focus where it is.
    QTest::mouseClick(field.cell(0), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(gotFocus.count(), 1);
    QVERIFY(box->hasFocus());
}

void PolyLEDTest::focusGivenToCellGoesToItsBox() {
    QWidget window;
    auto* outer = new PictureBox(&window);
    outer->setFocusPolicy(Qt::StrongFocus);
    auto* inner = new PictureBox(outer); // a plain container between box and cell
    auto* cell = new PolyLED(inner);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window, kPatienceMs));
    QSignalSpy gotFocus(outer, &PictureBox::gotFocus);
    cell->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY_WITH_TIMEOUT(outer->hasFocus(), kPatienceMs);
    QCOMPARE(gotFocus.count(), 1);
    QVERIFY(!cell->hasFocus());
}

// Draws the ten digits and a blank in both styles, as a board would, and writes the sheet
// to the file named by PUCKTALLY_DIGIT_SHEET for a look by eye.
void PolyLEDTest::digitSheet() {
    const QString path = qEnvironmentVariable("PUCKTALLY_DIGIT_SHEET");
    if (path.isEmpty())
        QSKIP("PUCKTALLY_DIGIT_SHEET names no file");
    const int sizeCount = 3;
    const double sizes[sizeCount] = {55, 80, 200};
    QImage sheet(1500, 1000, QImage::Format_RGB32);
    sheet.fill(qRgb(0, 0, 0));
    QPainter painter(&sheet);
    int y = 8;
    const std::int32_t colours[] = {0x0000FF, 0x00FFFF, 0x00FF00};
    for (int s = 0; s < sizeCount; ++s) {
        for (std::int32_t type : {PolyLED::kLines, PolyLED::kDots}) {
            int x = 8;
            int rowHeight = 0;
            for (int d = -1; d <= 9; ++d) {
                if (sizes[s] > 100 && d > 4)
                    break;
                PolyLED cell;
                cell.setBackColor(kBlackBgr);
                cell.setLitColor(colours[s]);
                cell.setLedType(type);
                cell.setSize(sizes[s]);
                cell.setCaption(d);
                const QImage face = cell.grab().toImage();
                painter.drawImage(x, y, face);
                x += face.width() + 4;
                rowHeight = face.height();
            }
            y += rowHeight + 8;
        }
    }
    painter.end();
    QVERIFY(sheet.save(path));
}

int runPolyLedTests(int argc, char** argv) {
    PolyLEDTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PolyLEDTest.moc"
