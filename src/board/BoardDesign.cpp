// The board as designed: every control with its place and size in twips, in the window's
// own control order. Positions are relative to the control's container.
#include "board/BoardDesign.h"

#include "board/frmScoreBoard.h"
#include "display/BoardLabel.h"
#include "display/Fonts.h"
#include "display/ImageBox.h"
#include "display/PictureBox.h"
#include "display/PolyLED.h"
#include "display/ShapeWidget.h"

namespace {

ControlMetrics box(double left, double top, double width, double height) {
    ControlMetrics m;
    m.Left = left;
    m.Top = top;
    m.Width = width;
    m.Height = height;
    return m;
}

QString arrayName(const QString& name, int index) {
    return index < 0 ? name : name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

} // namespace

struct BoardBuilder {
    frmScoreBoard& board;
    BoardControls& controls;

    PictureBox* pictureBox(QWidget* parent, const QString& name, ControlMetrics m) {
        auto* w = new PictureBox(parent);
        w->setObjectName(name);
        controls.add(w, ControlType::PictureBox, name, -1, m);
        return w;
    }

    ShapeWidget* shape(QWidget* parent, ShapeWidget::Kind kind, const QString& name, int index,
                       ControlMetrics m, double borderWidth, bool filled = true) {
        auto* w = new ShapeWidget(kind, parent);
        w->setObjectName(arrayName(name, index));
        w->setFilled(filled);
        w->setBorderVisible(borderWidth > 0);
        m.BorderWidth = borderWidth;
        controls.add(w, ControlType::Shape, name, index, m);
        return w;
    }

    BoardLabel* label(QWidget* parent, const QString& name, const QString& caption,
                      ControlMetrics m, double points, bool bold, Qt::Alignment align) {
        auto* w = new BoardLabel(caption, parent);
        w->setObjectName(name);
        QFont font(sansFamily());
        font.setBold(bold);
        w->setFont(font);
        w->setAlignment(align | Qt::AlignTop);
        w->setWordWrap(true);
        m.FontSize = points;
        controls.add(w, ControlType::Label, name, -1, m);
        return w;
    }

    ImageBox* image(QWidget* parent, const QString& name, ControlMetrics m) {
        auto* w = new ImageBox(parent);
        w->setObjectName(name);
        w->setStretch(true);
        controls.add(w, ControlType::Image, name, -1, m);
        return w;
    }

    // One LED field: cells at the given lefts (element 0 first), all at one top and size.
    void leds(FieldId id, const QString& name, QWidget* parent, std::initializer_list<double> lefts,
              double top, double size, int startDigit) {
        auto field = std::make_unique<LedField>(name);
        int index = 0;
        for (double left : lefts) {
            auto* cell = new PolyLED(parent);
            cell->setObjectName(arrayName(name, index));
            cell->setCaption(startDigit);
            field->append(cell);
            ControlMetrics m;
            m.Left = left;
            m.Top = top;
            m.Size = size;
            controls.add(cell, ControlType::PolyLED, name, index, m);
            ++index;
        }
        board.fields_.at(static_cast<size_t>(id)) = std::move(field);
    }

    void entry(EntryBox id, PictureBox* w) { board.entryBoxes_.at(static_cast<size_t>(id)) = w; }

    // A penalty player-number box with its two digits.
    void penaltyPlayer(EntryBox id, FieldId field, const QString& boxName, double left,
                       double top) {
        PictureBox* b = pictureBox(&board, boxName, box(left, top, 1170, 960));
        entry(id, b);
        leds(field, QStringLiteral("pled") + boxName, b, {645, 60}, 60, 55, -1);
    }

    // A penalty time box with its three digits and the colon between minutes and seconds.
    void penaltyTime(EntryBox id, FieldId field, int slot, const QString& boxName, double left,
                     double top) {
        PictureBox* b = pictureBox(&board, boxName, box(left, top, 2070, 975));
        entry(id, b);
        leds(field, QStringLiteral("pled") + boxName, b, {1545, 960, 60}, 60, 55, -1);
        const QString dots = QStringLiteral("dot") + boxName;
        auto& pair = board.penaltyDots_.at(static_cast<size_t>(slot - 1));
        pair[0] = shape(b, ShapeWidget::Kind::Circle, dots, 0, box(660, 240, 165, 165), 1);
        pair[1] = shape(b, ShapeWidget::Kind::Circle, dots, 1, box(660, 600, 165, 165), 1);
    }

    // A penalty slot: the player-number box, and the time box 1440 twips to its right.
    void penaltySlot(const PenaltySlot& slot, EntryBox playerBox, EntryBox timeBox, double left,
                     double top) {
        const bool home = slot.slot <= 2;
        const QString suffix =
            QLatin1String(home ? "H" : "V") + QString::number(home ? slot.slot : slot.slot - 2);
        penaltyPlayer(playerBox, slot.player, QStringLiteral("PenaltyP") + suffix, left, top);
        penaltyTime(timeBox, slot.time, slot.slot, QStringLiteral("PenaltyT") + suffix, left + 1440,
                    top);
    }

    void build() {
        using K = ShapeWidget::Kind;
        QWidget* w = &board;
        const auto left = Qt::AlignLeft;
        const auto centre = Qt::AlignHCenter;
        const auto right = Qt::AlignRight;

        board.Shape3 = shape(w, K::RoundedRectangle, QStringLiteral("Shape3"), -1,
                             box(120, 120, 9255, 6495), 7, false);
        board.Shape1 = shape(w, K::RoundedRectangle, QStringLiteral("Shape1"), -1,
                             box(2693, 120, 4095, 1725), 7, false);

        PictureBox* time = pictureBox(w, QStringLiteral("TimeBack"), box(2835, 240, 3810, 1455));
        entry(EntryBox::TimeBack, time);
        leds(FieldId::Time, QStringLiteral("pledTime"), time, {120, 960, 2160, 3000}, 135, 80, 0);
        board.Shape2[0] =
            shape(time, K::Oval, QStringLiteral("Shape2"), 0, box(1800, 300, 195, 195), 0);
        board.Shape2[1] =
            shape(time, K::Oval, QStringLiteral("Shape2"), 1, box(1800, 1000, 200, 200), 0);

        board.picHomeContainer =
            pictureBox(w, QStringLiteral("picHomeContainer"), box(610, 300, 1925, 600));
        board.lblHome = label(board.picHomeContainer, QStringLiteral("lblHome"),
                              QStringLiteral("Home"), box(300, 0, 1335, 555), 24, true, centre);
        board.picVisitorContainer =
            pictureBox(w, QStringLiteral("picVisitorContainer"), box(6960, 300, 1925, 600));
        board.lblVisitor =
            label(board.picVisitorContainer, QStringLiteral("lblVisitor"),
                  QStringLiteral("Visitor"), box(195, 0, 1545, 555), 24, true, centre);
        for (BoardLabel* name : {board.lblHome, board.lblVisitor}) {
            name->setWordWrap(false);
            name->setAutoSize(true);
        }

        PictureBox* home = pictureBox(w, QStringLiteral("HomeBack"), box(360, 960, 2175, 1335));
        entry(EntryBox::HomeBack, home);
        leds(FieldId::Home, QStringLiteral("pledHome"), home, {1320, 480, -360}, 105, 75, 0);
        PictureBox* visitor =
            pictureBox(w, QStringLiteral("VisitorBack"), box(6960, 960, 2175, 1335));
        entry(EntryBox::VisitorBack, visitor);
        leds(FieldId::Visitor, QStringLiteral("pledVisitor"), visitor, {1320, 480, -360}, 105, 75,
             0);
        // The hundreds digit lies outside the box to the left: it is written like the
        // others, but only the two right digits are ever seen.
        for (FieldId id : {FieldId::Home, FieldId::Visitor}) {
            board.ledField(id).cell(1)->setCaption(-1);
            board.ledField(id).cell(2)->setCaption(-1);
            board.ledField(id).cell(2)->hide();
        }

        PictureBox* goal = pictureBox(w, QStringLiteral("picGoalBack"), box(2693, 2040, 4095, 375));
        entry(EntryBox::picGoalBack, goal);
        board.shpGoalH =
            shape(goal, K::Oval, QStringLiteral("shpGoalH"), -1, box(60, 60, 495, 255), 4);
        board.imgGoalCoverH = image(goal, QStringLiteral("imgGoalCoverH"), box(60, 60, 495, 255));
        board.lblGoalH = label(goal, QStringLiteral("lblGoalH"), QStringLiteral("GOAL"),
                               box(660, 0, 975, 360), 15.75, true, left);
        board.lblGoalV = label(goal, QStringLiteral("lblGoalV"), QStringLiteral("GOAL"),
                               box(2460, 0, 975, 360), 15.75, true, right);
        board.shpGoalV =
            shape(goal, K::Oval, QStringLiteral("shpGoalV"), -1, box(3540, 60, 495, 255), 4);
        board.imgGoalCoverV = image(goal, QStringLiteral("imgGoalCoverV"), box(3540, 60, 495, 255));

        label(w, QStringLiteral("lblPenaltyH"), QStringLiteral("Penalty"),
              box(1320, 2400, 1215, 375), 15.75, true, left);
        label(w, QStringLiteral("lblPenaltyV"), QStringLiteral("Penalty"),
              box(6960, 2400, 1215, 375), 15.75, true, right);
        const QString lampH = QStringLiteral("shpPenaltyH");
        const QString lampV = QStringLiteral("shpPenaltyV");
        board.shpPenaltyH[0] = shape(w, K::Circle, lampH, 0, box(960, 2460, 255, 255), 2);
        board.shpPenaltyH[1] = shape(w, K::Circle, lampH, 1, box(600, 2460, 255, 255), 2);
        board.shpPenaltyV[0] = shape(w, K::Circle, lampV, 0, box(8280, 2460, 255, 255), 2);
        board.shpPenaltyV[1] = shape(w, K::Circle, lampV, 1, box(8640, 2460, 255, 255), 2);
        label(w, QStringLiteral("lblCreatedBy"), QStringLiteral("Pucktally by Quillworks"),
              box(3240, 2520, 3015, 375), 11.25, true, centre);

        board.picHomePicContainer =
            pictureBox(w, QStringLiteral("picHomePicContainer"), box(250, 2820, 1240, 1395));
        board.imgHomePic =
            image(board.picHomePicContainer, QStringLiteral("imgHomePic"), box(0, 0, 735, 1095));
        board.picVisitorPicContainer =
            pictureBox(w, QStringLiteral("picVisitorPicContainer"), box(7990, 2820, 1240, 1395));
        board.imgVisitorPic = image(board.picVisitorPicContainer, QStringLiteral("imgVisitorPic"),
                                    box(0, 0, 735, 1095));

        PictureBox* shotsH =
            pictureBox(w, QStringLiteral("ShotsBackH"), box(1560, 2880, 1170, 960));
        entry(EntryBox::ShotsBackH, shotsH);
        leds(FieldId::SOGH, QStringLiteral("pledSOGH"), shotsH, {645, 60}, 60, 55, 0);
        label(w, QStringLiteral("lblSOGH"), QStringLiteral("SHOTS ON GOAL"),
              box(2880, 2880, 1095, 975), 14.25, false, centre);
        PictureBox* period =
            pictureBox(w, QStringLiteral("PeriodBack"), box(4410, 2880, 660, 1095));
        entry(EntryBox::PeriodBack, period);
        leds(FieldId::Period, QStringLiteral("pledPeriod"), period, {60}, 60, 65, 0);
        label(w, QStringLiteral("lblSOGV"), QStringLiteral("SHOTS ON GOAL"),
              box(5520, 2880, 1095, 975), 14.25, false, centre);
        PictureBox* shotsV =
            pictureBox(w, QStringLiteral("ShotsBackV"), box(6720, 2880, 1170, 960));
        entry(EntryBox::ShotsBackV, shotsV);
        leds(FieldId::SOGV, QStringLiteral("pledSOGV"), shotsV, {645, 60}, 60, 55, 0);
        for (FieldId id : {FieldId::SOGH, FieldId::SOGV})
            board.ledField(id).cell(1)->setCaption(-1);

        board.shpObjectSelected = shape(w, K::Rectangle, QStringLiteral("shpObjectSelected"), -1,
                                        box(4560, 3000, 255, 255), 0);
        board.shpObjectSelected->hide();

        label(w, QStringLiteral("lblPPH"), QStringLiteral("Player Penalty"),
              box(1080, 3900, 3015, 375), 15.75, true, centre);
        label(w, QStringLiteral("lblPPV"), QStringLiteral("Player Penalty"),
              box(5400, 3900, 3015, 375), 15.75, true, centre);
        label(w, QStringLiteral("lblPeriod"), QStringLiteral("PERIOD"), box(4080, 4020, 1335, 375),
              15.75, true, centre);

        penaltySlot(kPenaltySlots[0], EntryBox::PenaltyPH1, EntryBox::PenaltyTH1, 480, 4320);
        penaltySlot(kPenaltySlots[2], EntryBox::PenaltyPV1, EntryBox::PenaltyTV1, 5520, 4320);

        board.picBoardPicContainer =
            pictureBox(w, QStringLiteral("picBoardPicContainer"), box(4115, 4680, 1335, 1695));
        board.imgBoardPic =
            image(board.picBoardPicContainer, QStringLiteral("imgBoardPic"), box(0, 0, 1095, 1455));

        penaltySlot(kPenaltySlots[1], EntryBox::PenaltyPH2, EntryBox::PenaltyTH2, 480, 5400);
        penaltySlot(kPenaltySlots[3], EntryBox::PenaltyPV2, EntryBox::PenaltyTV2, 5520, 5400);

        // Shapes and labels lie beneath the boxes, so a box covers the middle of the
        // selection marker and only its band shows.
        for (PictureBox* entryBox : board.entryBoxes_)
            entryBox->raise();
    }
};

void buildBoardDesign(frmScoreBoard& board, BoardControls& controls) {
    BoardBuilder{board, controls}.build();
}
