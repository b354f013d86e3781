#include "app/frmSplash.h"

#include "app/CommandLine.h"
#include "app/ProgramVersion.h"
#include "app/ProgramWindows.h"
#include "display/BoardLabel.h"
#include "display/Fonts.h"
#include "display/Twips.h"
#include "help/frmHelp.h"
#include "options/frmOptions.h"
#include "settings/ProgramFolder.h"
#include "settings/Settings.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <cmath>

namespace {

// The window's design, in twips.
constexpr double kClientWidth = 6240;
constexpr double kClientHeight = 3240;
constexpr double kFrameHeight = 3120;
// The top is worked out from this fixed height, not the window's own, which sets the window
// a little above the middle of the screen.
constexpr double kPlacementHeight = 5880;
constexpr double kDefaultPoints = 8.25;

// A control's place in twips, relative to its container.
struct Place {
    double left, top, width, height;
};

void place(QWidget* w, const Place& p) {
    w->setGeometry(twipsRectToPixels(p.left, p.top, p.width, p.height));
}

// A caption of the splash window, in the sans-serif face unless `family` says otherwise,
// drawn a little smaller where the face runs wider than the label was designed for.
BoardLabel* caption(QWidget* parent, const char* name, const QString& text, const Place& p,
                    double points = kDefaultPoints, const QString& family = {},
                    Qt::Alignment align = Qt::AlignLeft) {
    auto* label = new BoardLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(align | Qt::AlignTop);
    if (!family.isEmpty()) {
        QFont f = label->font();
        f.setFamily(family);
        label->setFont(f);
    }
    place(label, p);
    label->setFontSize(points);
    return label;
}

} // namespace

frmSplash::frmSplash(Settings& settings, SettingsStore& store, ProgramWindows& windows,
                     const QStringList& commandLine, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), settings_(settings), store_(store),
      windows_(windows) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    Form_Load(commandLine);
}

frmSplash::~frmSplash() = default;

void frmSplash::buildControls() {
    QFont normal(sansFamily());
    normal.setPixelSize(BoardLabel::pixelSizeFor(kDefaultPoints));
    setFont(normal);

    frameSplash = new QFrame(this);
    frameSplash->setObjectName(QStringLiteral("frameSplash"));
    frameSplash->setFrameStyle(QFrame::Box | QFrame::Sunken);
    place(frameSplash, {120, 0, 6000, 3120});

    // The logo and the frame pass their clicks on to the window.
    picLogo = new QLabel(frameSplash);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setPixmap(QPixmap(QStringLiteral(":/app/logo.png")));
    place(picLogo, {120, 1080, 2250, 1905});

    lblName = caption(frameSplash, "lblName", QStringLiteral("Pucktally"), {660, 240, 4935, 735},
                      27.75, serifFamily());
    lblMadeBy = caption(frameSplash, "lblMadeBy", QStringLiteral("by Quillworks"),
                        {4200, 840, 1575, 255}, kDefaultPoints, {}, Qt::AlignRight);
    lblClick = caption(frameSplash, "lblClick", QStringLiteral("Click to continue."),
                       {2520, 1080, 1335, 255});
    lblVersion = caption(frameSplash, "lblVersion", QStringLiteral("Version 1.0.0"),
                         {3600, 1080, 2175, 375}, 15.75, serifFamily(), Qt::AlignRight);
    Label1 = caption(frameSplash, "Label1",
                     QStringLiteral("Press ' F1 ' to view Help from the scoreboard."),
                     {2640, 1680, 3255, 255});
    Label2 = caption(frameSplash, "Label2",
                     QStringLiteral("Press ' F2 ' to set Options from the scoreboard."),
                     {2640, 1920, 3255, 375});
    for (BoardLabel* label : {lblName, lblMadeBy, lblClick, lblVersion, Label1, Label2})
        connect(label, &BoardLabel::clicked, this, &frmSplash::GoScore);

    cmdHelp = new QPushButton(QStringLiteral("&Help"), frameSplash);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    place(cmdHelp, {3120, 2520, 1215, 375});
    cmdOptions = new QPushButton(QStringLiteral("&Options"), frameSplash);
    cmdOptions->setObjectName(QStringLiteral("cmdOptions"));
    place(cmdOptions, {4560, 2520, 1215, 375});
    // Enter presses the focused button, as Space does.
    for (QPushButton* button : {cmdHelp, cmdOptions})
        button->setAutoDefault(true);
    connect(cmdHelp, &QPushButton::clicked, this, &frmSplash::cmdHelp_Click);
    connect(cmdOptions, &QPushButton::clicked, this, &frmSplash::cmdOptions_Click);
}

void frmSplash::Form_Load(const QStringList& commandLine) {
    const QSize client(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    setFixedSize(client);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        const int top = twipsToPixels((pixelsToTwips(s.height()) - kPlacementHeight) / 2);
        const int left = twipsToPixels((pixelsToTwips(s.width()) - kClientWidth) / 2);
        move(s.left() + left, s.top() + top);
    }
    frameSplash->resize(frameSplash->width(), twipsToPixels(kFrameHeight));
    lblVersion->setText(versionCaption());
    LoadSettings(settings_, store_, programFolder());
    if (IsBypass(commandLine))
        GoScore();
}

void frmSplash::GoScore() {
    if (unloaded_)
        return;
    unloaded_ = true;
    close();
    windows_.showBoard();
}

void frmSplash::cmdHelp_Click() {
    frmHelp::ShowHelp();
}

void frmSplash::cmdOptions_Click() {
    // Modal; after "&Ok" the record holds the new settings that the board will load with.
    frmOptions options(settings_, store_, this, windows_.optionsPages());
    options.exec();
}

// The window, its frame and the logo click here; the captions have their own clicks, the
// buttons keep theirs.
void frmSplash::mousePressEvent(QMouseEvent* event) {
    click_.press(event);
}

void frmSplash::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.release(event, rect()))
        GoScore();
}

void frmSplash::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!unloaded_) {
        unloaded_ = true;
        windows_.splashClosedAlone();
    }
}
