// The board window's tables walked entry by entry: the colour of every digit field, the lamp
// and colon of each penalty slot, and every control after a stretch to 4K and back. A fault
// in any single entry (a field in another field's colour, a lamp lit for the wrong slot, one
// control left unscaled) shows as its own failing row.
#include "board/frmScoreBoard.h"
#include "display/BoardLabel.h"
#include "display/PictureBox.h"
#include "display/PolyLED.h"
#include "display/ShapeWidget.h"
#include "display/Twips.h"
#include "settings/Settings.h"
#include "support/FakeTimeSource.h"
#include "support/Patience.h"

#include <QTest>
#include <memory>

namespace {

// Nine colours, all different, so a field drawn from the wrong setting shows.
Settings distinctColours() {
    Settings s;
    s.TimeColor = 0x000011;
    s.LEDBack = 0x000022;
    s.ScoreColor = 0x000033;
    s.PeriodColor = 0x000044;
    s.FormBack = 0x000055;
    s.LEDSelected = 0x000066;
    s.BorderColor = 0x000077;
    s.HomeColor = 0x000088;
    s.VisitorColor = 0x000099;
    return s;
}

const char* const kSides[] = {"home 1", "home 2", "visitor 1", "visitor 2"};
const char* const kLamps[] = {"shpPenaltyH(0)", "shpPenaltyH(1)", "shpPenaltyV(0)",
                              "shpPenaltyV(1)"};
const char* const kColons[] = {"dotPenaltyTH1", "dotPenaltyTH2", "dotPenaltyTV1", "dotPenaltyTV2"};
const EntryBox kTimeBoxes[] = {EntryBox::PenaltyTH1, EntryBox::PenaltyTH2, EntryBox::PenaltyTV1,
                               EntryBox::PenaltyTV2};

constexpr QSize kDesign(632, 453);
constexpr QSize k4K(3840, 2160);

} // namespace

class BoardTablesTest : public QObject {
    Q_OBJECT

    Settings settings;
    FakeTimeSource time;
    std::unique_ptr<frmScoreBoard> board;

    ShapeWidget* shape(const QString& name) { return board->findChild<ShapeWidget*>(name); }
    void type(EntryBox box, const char* keys) {
        board->entryBox(box)->setFocus(Qt::OtherFocusReason);
        for (const char* k = keys; *k; ++k)
            if (*k == '\r')
                QTest::keyClick(board->entryBox(box), Qt::Key_Return);
            else
                QTest::keyClick(board->entryBox(box), *k);
    }

  private slots:
    void init() {
        settings = Settings();
        board = std::make_unique<frmScoreBoard>(settings, time);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get(), kPatienceMs));
    }
    void cleanup() { board.reset(); }

    void everyDigitFieldTakesItsColours_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("lit");
        const Settings c = distinctColours();
        const std::pair<FieldId, std::int32_t> rows[] = {
            {FieldId::Time, c.TimeColor},        {FieldId::Period, c.PeriodColor},
            {FieldId::Home, c.ScoreColor},       {FieldId::Visitor, c.ScoreColor},
            {FieldId::SOGH, c.ScoreColor},       {FieldId::SOGV, c.ScoreColor},
            {FieldId::PenaltyPH1, c.ScoreColor}, {FieldId::PenaltyPH2, c.ScoreColor},
            {FieldId::PenaltyPV1, c.ScoreColor}, {FieldId::PenaltyPV2, c.ScoreColor},
            {FieldId::PenaltyTH1, c.TimeColor},  {FieldId::PenaltyTH2, c.TimeColor},
            {FieldId::PenaltyTV1, c.TimeColor},  {FieldId::PenaltyTV2, c.TimeColor},
        };
        static_assert(std::size(rows) == kFieldCount);
        Settings s;
        FakeTimeSource t;
        frmScoreBoard names(s, t);
        for (const auto& [id, lit] : rows)
            QTest::newRow(qPrintable(names.ledField(id).name()))
                << static_cast<int>(id) << static_cast<int>(lit);
    }
    void everyDigitFieldTakesItsColours() {
        QFETCH(int, field);
        QFETCH(int, lit);
        settings = distinctColours();
        board->UpdateFormColors();
        const LedField& f = board->ledField(static_cast<FieldId>(field));
        QVERIFY(f.Count() > 0);
        for (const PolyLED* cell : f.cells()) {
            QCOMPARE(cell->LitColor(), lit);
            QCOMPARE(cell->BackColor(), settings.LEDBack);
        }
    }

    void eachPenaltySlotLightsItsOwnLampAndColon_data() {
        QTest::addColumn<int>("slot");
        for (int slot = 0; slot < 4; ++slot)
            QTest::newRow(kSides[slot]) << slot;
    }
    void eachPenaltySlotLightsItsOwnLampAndColon() {
        QFETCH(int, slot);
        settings = distinctColours();
        board->UpdateFormColors();
        // What every slot shows: its lamp and both colon dots, lit or dark.
        auto lamps = [&] {
            QStringList shown;
            for (int k = 0; k < 4; ++k) {
                const bool lamp =
                    shape(QString::fromLatin1(kLamps[k]))->FillColor() == settings.ScoreColor;
                QString colon;
                for (int dot = 0; dot < 2; ++dot)
                    colon += shape(QStringLiteral("%1(%2)").arg(QLatin1String(kColons[k])).arg(dot))
                                         ->FillColor() == settings.BorderColor
                                 ? QLatin1Char(':')
                                 : QLatin1Char('.');
                shown << (lamp ? QStringLiteral("*") : QStringLiteral("o")) + colon;
            }
            return shown;
        };
        auto only = [&](const char* own) {
            QStringList expected(4, QStringLiteral("o.."));
            expected[slot] = QString::fromLatin1(own);
            return expected;
        };
        QCOMPARE(lamps(), only("o.."));
        type(kTimeBoxes[slot], "2\r"); // a two-minute penalty, clock stopped
        QCOMPARE(lamps(), only("*::"));
        type(kTimeBoxes[slot], "s");
        time.advance(120'000);
        board->logic().tmrClock1_Timer();
        QCOMPARE(lamps(), only("o::")); // run out: 0:00 stays, its lamp goes dark
    }

    void everyControlStretchesTo4KAndBack_data() {
        QTest::addColumn<int>("control");
        Settings s;
        FakeTimeSource t;
        const frmScoreBoard names(s, t);
        for (int i = 0; i < names.controls().count(); ++i)
            QTest::newRow(qPrintable(names.controls().at(i).widget->objectName())) << i;
    }
    void everyControlStretchesTo4KAndBack() {
        QFETCH(int, control);
        QCOMPARE(board->size(), kDesign);
        const BoardControl& c = board->controls().at(control);
        const ControlMetrics design = c.metrics;
        const QRect designRect = c.widget->geometry();
        const double sx = 1.0 * k4K.width() / kDesign.width();
        const double sy = 1.0 * k4K.height() / kDesign.height();

        board->resize(k4K);
        const ControlMetrics m = c.metrics;
        const QString name = c.name;
        const bool laidOutByName = name == QLatin1String("lblHome") ||
                                   name == QLatin1String("lblVisitor") ||
                                   (name.startsWith(QLatin1String("img")) && name.endsWith("Pic"));
        const bool marker = name == QLatin1String("shpObjectSelected");
        if (marker) {
            // Hidden by a resize until the next field is selected, which places it anew.
            QVERIFY(!c.widget->isVisible());
            return;
        }
        if (laidOutByName) {
            // Names and pictures are placed afresh in their scaled frames by their own rule.
            QVERIFY(c.widget->geometry() != designRect);
        } else {
            QVERIFY(qAbs(m.Left - design.Left * sx) < 0.5);
            QVERIFY(qAbs(m.Top - design.Top * sy) < 0.5);
            if (c.type == ControlType::PolyLED) {
                QVERIFY(qAbs(static_cast<PolyLED*>(c.widget)->Size() - design.Size * sy) < 0.5);
            } else {
                QVERIFY(qAbs(m.Width - design.Width * sx) < 0.5);
                QVERIFY(qAbs(m.Height - design.Height * sy) < 0.5);
                QCOMPARE(c.widget->geometry(), twipsRectToPixels(m.Left, m.Top, m.Width, m.Height));
            }
            if (c.type == ControlType::Label)
                QVERIFY(qAbs(m.FontSize - std::nearbyint(design.FontSize) * sy) < 0.5);
            if (c.type == ControlType::Shape)
                QVERIFY(qAbs(m.BorderWidth - design.BorderWidth * sy) < 0.5);
            const bool atOrigin = design.Left == 0 && design.Top == 0;
            QVERIFY(atOrigin || c.widget->pos() != designRect.topLeft());
        }

        board->resize(kDesign);
        QCOMPARE(c.widget->geometry(), designRect);
        if (c.type == ControlType::PolyLED)
            QCOMPARE(static_cast<PolyLED*>(c.widget)->Size(), design.Size);
    }
};

QTEST_MAIN(BoardTablesTest)
#include "BoardTablesTest.moc"
