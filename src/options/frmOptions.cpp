#include "options/frmOptions.h"

#include "display/BoardLabel.h"
#include "display/Fonts.h"
#include "display/ImageBox.h"
#include "display/PictureBox.h"
#include "display/PictureFit.h"
#include "display/PolyLED.h"
#include "display/Twips.h"
#include "options/ChooseKey.h"
#include "options/FileNameDisplay.h"
#include "options/KeyNames.h"
#include "options/PreviewSize.h"
#include "options/frmChooseKey.h"
#include "settings/Settings.h"
#include "settings/SettingsText.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

// One key row of the keyboard tab.
struct frmOptions::KeyRow {
    QPushButton* button;
    QLabel* label;
    std::int16_t* temp;
    QString action;
    std::int16_t Settings::*setting;
    std::int16_t defaultKey;
};

// One colour frame of the colour tab.
struct frmOptions::ColorRow {
    QString caption;
    PictureBox* preview;
    std::int32_t Settings::*setting;
    std::int32_t resetColor;
};

// One sound-file frame of the keyboard tab.
struct frmOptions::SoundRow {
    QString caption;
    QLabel* label;
    QString* temp;
    QString Settings::*setting;
};

// One picture frame of the picture tab.
struct frmOptions::PictureRow {
    QString caption;
    PictureBox* container;
    ImageBox* image;
    QString* temp;
    QString Settings::*setting;
};

namespace {

constexpr int kSoundLabelLength = 50;
const QString kSoundFilter = QStringLiteral("Sounds *.wav|*.wav");
const QString kPictureFilter = QStringLiteral("Pictures (*.bmp;*.gif;*.jpg)|*.bmp;*.gif;*.jpg");

// Both name previews must stay under this size, in twips, as the board's name boxes do.
constexpr double kPreviewMaxWidth = 1900;
constexpr double kPreviewMaxHeight = 600;
constexpr double kPreviewDesignPoints = 39.75;

// Where a name preview sits: room for a name that fits and some of one that does not.
constexpr QSize kPreviewArea(260, 56);
constexpr QSize kColorPreviewSize(56, 24);
// The board's picture frames, 1240 x 1395 twips.
const QSize kPicturePreviewSize(twipsToPixels(1240), twipsToPixels(1395));

template <class W> W* named(W* widget, const char* name, const QString& accessible = QString()) {
    widget->setObjectName(QString::fromLatin1(name));
    if (!accessible.isEmpty())
        widget->setAccessibleName(accessible);
    return widget;
}

QPushButton* button(const char* name, const QString& caption, const QString& accessible,
                    QWidget* parent) {
    return named(new QPushButton(caption, parent), name, accessible);
}

QString withoutColon(QString caption) {
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption;
}

bool previewFits(const QWidget* label) {
    return pixelsToTwips(label->width()) < kPreviewMaxWidth &&
           pixelsToTwips(label->height()) < kPreviewMaxHeight;
}

} // namespace

frmOptions::frmOptions(Settings& settings, SettingsStore& store, QWidget* parent,
                       const OptionsPageMakers& pages)
    : QDialog(parent), settings_(settings), store_(store) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setAccessibleName(QStringLiteral("Options"));
    setModal(true);

    SSTab1 = named(new QTabWidget(this), "SSTab1", QStringLiteral("Options"));
    SSTab1->addTab(buildKeyboardTab(), QStringLiteral("Keyboard Controls"));
    SSTab1->addTab(buildColorTab(), QStringLiteral("Color Controls"));
    SSTab1->addTab(buildTextTab(), QStringLiteral("Text Controls"));
    SSTab1->addTab(buildPictureTab(), QStringLiteral("Pictures"));
    for (const OptionsPageMaker& page : pages) {
        OptionsPage* made = page.make(store_);
        SSTab1->addTab(made, page.caption);
        pages_.push_back(made);
    }

    cmdOk = named(new QPushButton(QStringLiteral("&Ok"), this), "cmdOk", QStringLiteral("Ok"));
    cmdCancel = named(new QPushButton(QStringLiteral("&Cancel"), this), "cmdCancel",
                      QStringLiteral("Cancel"));
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);

    // A focused button is the one Enter presses; elsewhere "&Ok" is.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(true);
        b->installEventFilter(this);
    }

    Form_Load();
}

frmOptions::~frmOptions() = default;

// --- Keyboard tab ----------------------------------------------------------------------

QWidget* frmOptions::buildKeyboardTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);

    struct Spec {
        const char* button;
        const char* caption;
        const char* label;
        std::int16_t* temp;
        const char* action;
        std::int16_t Settings::*setting;
        std::int16_t defaultKey;
    };
    const Spec keys[] = {
        {"cmdStartStopClock", "Start / Stop Clock", "lblStartStopClock", &StartStopClockKeyTemp,
         "start / stop the clock", &Settings::StartStopClockKey, 83},
        {"cmdResetClock", "Reset Clock", "lblResetClock", &ResetClockKeyTemp, "reset the clock",
         &Settings::ResetClockKey, 82},
        {"cmdClearKey", "# Clear Key", "lblClear", &ClearKeyTemp, "clear a number",
         &Settings::ClearKey, 46},
        {"cmdBuzzer", "Buzzer", "lblBuzzer", &BuzzerKeyTemp, "sound the buzzer",
         &Settings::BuzzerKey, 66},
        {"cmdHorn", "Horn", "lblHorn", &HornKeyTemp, "sound the horn", &Settings::HornKey, 71},
    };
    auto* keyFrame = new QWidget(page);
    auto* keyGrid = new QGridLayout(keyFrame);
    keyGrid->setContentsMargins(0, 0, 0, 0);
    keyRows_.reserve(std::size(keys));
    for (const Spec& k : keys) {
        const QString caption = QString::fromLatin1(k.caption);
        auto* b =
            button(k.button, caption,
                   QStringLiteral("Choose the key to ") + QString::fromLatin1(k.action), keyFrame);
        b->setMinimumWidth(130);
        auto* label = named(new QLabel(keyFrame), k.label);
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        label->setMargin(2);
        label->setFixedWidth(110);
        label->setAccessibleName(caption + QStringLiteral(" key"));
        const int row = keyGrid->rowCount();
        keyGrid->addWidget(b, row, 0);
        keyGrid->addWidget(label, row, 1);
        keyRows_.push_back(
            {b, label, k.temp, QString::fromLatin1(k.action), k.setting, k.defaultKey});
    }
    for (const KeyRow& row : keyRows_)
        connect(row.button, &QPushButton::clicked, this, [this, &row] { chooseKey(row); });
    cmdResetKeys = button("cmdResetKeys", QStringLiteral("Reset Keys"),
                          QStringLiteral("Reset Keys"), keyFrame);
    connect(cmdResetKeys, &QPushButton::clicked, this, [this] { cmdResetKeys_Click(); });
    keyGrid->addWidget(cmdResetKeys, keyGrid->rowCount(), 0);
    grid->addWidget(keyFrame, 0, 0, Qt::AlignLeft | Qt::AlignTop);

    auto* numLock = named(new QGroupBox(QStringLiteral("Numlock Options:"), page), "frmNumLock");
    auto* numLockLayout = new QVBoxLayout(numLock);
    const auto option = [numLock](const char* name, const QString& caption) {
        return named(new QRadioButton(caption, numLock), name,
                     QStringLiteral("Numlock ") + caption);
    };
    optNormal = option("optNormal", QStringLiteral("Normal Mode"));
    optKeepOn = option("optKeepOn", QStringLiteral("Keep Numlock On"));
    optKeepOff = option("optKeepOff", QStringLiteral("Keep Numlock Off"));
    for (QRadioButton* o : {optNormal, optKeepOn, optKeepOff})
        numLockLayout->addWidget(o);
    numLockLayout->addStretch();
    grid->addWidget(numLock, 0, 1, Qt::AlignTop);

    struct SoundSpec {
        const char* frame;
        const char* caption;
        const char* button;
        const char* buttonCaption;
        const char* label;
        const char* initial;
        QString* temp;
        QString Settings::*setting;
    };
    const SoundSpec sounds[] = {
        {"frmBuzzerFile", "Buzzer File:", "cmdBuzzerSound", "Change Buzzer Sound", "lblBFile",
         "buzzer.wav", &BuzzTemp, &Settings::BuzzerFile},
        {"frmHornFile", "Horn Sound:", "cmdHornSound", "Change Horn Sound", "lblHFile", "horn.wav",
         &HornTemp, &Settings::HornFile},
    };
    soundRows_.reserve(std::size(sounds));
    for (const SoundSpec& s : sounds) {
        const QString caption = QString::fromLatin1(s.caption);
        auto* frame = named(new QGroupBox(caption, page), s.frame);
        auto* layout = new QHBoxLayout(frame);
        auto* label = named(new QLabel(QString::fromLatin1(s.initial), frame), s.label,
                            withoutColon(caption));
        label->setMinimumWidth(330);
        label->setTextFormat(Qt::PlainText);
        auto* b = button(s.button, QString::fromLatin1(s.buttonCaption),
                         QString::fromLatin1(s.buttonCaption), frame);
        layout->addWidget(label, 1);
        layout->addWidget(b);
        grid->addWidget(frame, grid->rowCount(), 0, 1, 2);
        soundRows_.push_back({withoutColon(caption), label, s.temp, s.setting});
        connect(b, &QPushButton::clicked, this,
                [this, i = soundRows_.size() - 1] { changeSound(soundRows_.at(i)); });
    }
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

// --- Colour tab ------------------------------------------------------------------------

QWidget* frmOptions::buildColorTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    struct Spec {
        const char* frame;
        const char* caption;
        const char* button;
        const char* preview;
        std::int32_t Settings::*setting;
        std::int32_t resetColor;
    };
    // The reset colours are the first-start colours, the marker in the first-start
    // background colour.
    const Spec colors[] = {
        {"frmTimeC", "Time Color:", "cmdTimeC", "picTimeC", &Settings::TimeColor, 255},
        {"frmLEDB", "LED Background:", "cmdLEDB", "picLEDB", &Settings::LEDBack, 0},
        {"frmLedSelected", "LED Selected", "cmdLedSelected", "picLedSelected",
         &Settings::LEDSelected, 4210752},
        {"frmScoreC", "Score Color:", "cmdScoreC", "picScoreC", &Settings::ScoreColor, 33023},
        {"frmPeriodC", "Period Color:", "cmdPeriodC", "picPeriodC", &Settings::PeriodColor, 49152},
        {"frmBackC", "Back Color:", "cmdBackC", "picBackC", &Settings::FormBack, 4210752},
        {"frmBorderC", "Border Color:", "cmdBorderC", "picBorderC", &Settings::BorderColor,
         16777215},
        {"frmHomeC", "Home Color:", "cmdHomeC", "picHomeC", &Settings::HomeColor, 16777215},
        {"frmVisitorC", "Visitor Color:", "cmdVisitorC", "picVisitorC", &Settings::VisitorColor,
         16777215},
    };
    colorRows_.reserve(std::size(colors));
    for (const Spec& c : colors) {
        const QString caption = QString::fromLatin1(c.caption);
        const QString what = withoutColon(caption);
        auto* frame = named(new QGroupBox(caption, page), c.frame);
        auto* layout = new QHBoxLayout(frame);
        auto* preview = named(new PictureBox(frame), c.preview, what);
        preview->setFixedSize(kColorPreviewSize);
        auto* b =
            button(c.button, QStringLiteral("Change"), QStringLiteral("Change ") + what, frame);
        layout->addWidget(preview);
        layout->addWidget(b);
        if (std::string_view(c.preview) == "picLedSelected") {
            // The marker's width sits with its colour.
            scrLEDSelectedWidth = named(new QScrollBar(Qt::Vertical, frame), "scrLEDSelectedWidth",
                                        QStringLiteral("LED Selected width"));
            scrLEDSelectedWidth->setRange(0, kMaxLEDSelectedWidth);
            scrLEDSelectedWidth->setPageStep(1);
            scrLEDSelectedWidth->setFocusPolicy(Qt::StrongFocus);
            scrLEDSelectedWidth->setFixedHeight(kColorPreviewSize.height() + 8);
            auto* width = new QLabel(QStringLiteral("Width:"), frame);
            lblLEDSelectedWidthValue =
                named(new QLabel(QStringLiteral("0"), frame), "lblLEDSelectedWidthValue",
                      QStringLiteral("LED Selected width value"));
            lblLEDSelectedWidthValue->setMinimumWidth(12);
            connect(scrLEDSelectedWidth, &QScrollBar::valueChanged, this, [this](int value) {
                lblLEDSelectedWidthValue->setText(QString::number(value));
            });
            layout->addWidget(width);
            layout->addWidget(lblLEDSelectedWidthValue);
            layout->addWidget(scrLEDSelectedWidth);
        }
        layout->addStretch();
        const int i = static_cast<int>(colorRows_.size());
        grid->addWidget(frame, i / 3, i % 3);
        colorRows_.push_back({what, preview, c.setting, c.resetColor});
        connect(b, &QPushButton::clicked, this,
                [this, i] { changeColor(colorRows_.at(static_cast<size_t>(i))); });
    }
    cmdResetColors = button("cmdResetColors", QStringLiteral("Reset Colors"),
                            QStringLiteral("Reset Colors"), page);
    connect(cmdResetColors, &QPushButton::clicked, this, [this] { cmdResetColors_Click(); });
    grid->addWidget(cmdResetColors, 3, 2, Qt::AlignRight);
    grid->setRowStretch(4, 1);
    return page;
}

// --- Text tab --------------------------------------------------------------------------

QWidget* frmOptions::buildTextTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    const auto nameFrame = [&](const char* frameName, const QString& caption, const char* boxName,
                               const QString& initial, const char* previewName,
                               BoardLabel*& preview) {
        auto* frame = named(new QGroupBox(caption, page), frameName);
        auto* frameLayout = new QHBoxLayout(frame);
        auto* box = named(new QLineEdit(initial, frame), boxName, withoutColon(caption));
        QFont arial = box->font();
        arial.setFamily(sansFamily());
        box->setFont(arial);
        auto* area = new QWidget(frame);
        area->setFixedSize(kPreviewArea);
        preview = named(new BoardLabel(initial, area), previewName,
                        withoutColon(caption) + QStringLiteral(" preview"));
        QFont bold = preview->font();
        bold.setBold(true);
        preview->setFont(bold);
        preview->setAutoSize(true);
        preview->setFontSize(kPreviewDesignPoints);
        frameLayout->addWidget(box, 1);
        frameLayout->addWidget(area);
        layout->addWidget(frame);
        return box;
    };
    txtHomeText = nameFrame("frmHomeName", QStringLiteral("Home Name:"), "txtHomeText",
                            QStringLiteral("Home"), "lblHomePreview", lblHomePreview);
    txtVisitorText = nameFrame("frmVisitorName", QStringLiteral("Visitor Name:"), "txtVisitorText",
                               QStringLiteral("Visitor"), "lblVisitorPreview", lblVisitorPreview);
    layout->addStretch();
    connect(txtHomeText, &QLineEdit::textChanged, this, [this](const QString& text) {
        lblHomePreview->setText(text);
        if (!loading_)
            PreviewIt();
    });
    connect(txtVisitorText, &QLineEdit::textChanged, this, [this](const QString& text) {
        lblVisitorPreview->setText(text);
        if (!loading_)
            PreviewIt();
    });
    return page;
}

// --- Picture tab -----------------------------------------------------------------------

QWidget* frmOptions::buildPictureTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    struct Spec {
        const char* frame;
        const char* caption;
        const char* change;
        const char* clear;
        const char* container;
        const char* image;
        QString* temp;
        QString Settings::*setting;
    };
    const Spec pictures[] = {
        {"frmHomePic", "Home Picture", "cmdChangeHomePic", "cmdClearHomePic",
         "picHomePicPreviewCon", "imgHomePicPreview", &HomePicTemp, &Settings::HomePic},
        {"frmVisitorPic", "Visitor Picture", "cmdChangeVisitorPic", "cmdClearVisitorPic",
         "picVisitorPicPreviewCon", "imgVisitorPicPreview", &VisitorPicTemp, &Settings::VisitorPic},
        {"frmBoardPic", "Scoreboard Picture", "cmdChangeBoardPic", "cmdClearBoardPic",
         "picBoardPicPreviewCon", "imgBoardPicPreview", &BoardPicTemp, &Settings::BoardPic},
    };
    pictureRows_.reserve(std::size(pictures));
    for (const Spec& p : pictures) {
        const QString caption = QString::fromLatin1(p.caption);
        auto* frame = named(new QGroupBox(caption, page), p.frame);
        auto* layout = new QVBoxLayout(frame);
        auto* container =
            named(new PictureBox(frame), p.container, caption + QStringLiteral(" preview"));
        container->setFixedSize(kPicturePreviewSize);
        container->setBackColor(0x808080);
        auto* image = named(new ImageBox(container), p.image);
        image->setGeometry(container->rect());
        auto* change =
            button(p.change, QStringLiteral("Change"), QStringLiteral("Change ") + caption, frame);
        auto* clear =
            button(p.clear, QStringLiteral("Clear"), QStringLiteral("Clear ") + caption, frame);
        layout->addWidget(container, 0, Qt::AlignHCenter);
        layout->addWidget(change);
        layout->addWidget(clear);
        const int i = static_cast<int>(pictureRows_.size());
        grid->addWidget(frame, 0, i);
        pictureRows_.push_back({caption, container, image, p.temp, p.setting});
        connect(change, &QPushButton::clicked, this,
                [this, i] { changePicture(pictureRows_.at(static_cast<size_t>(i))); });
        connect(clear, &QPushButton::clicked, this,
                [this, i] { clearPicture(pictureRows_.at(static_cast<size_t>(i))); });
    }

    auto* digits = named(new QGroupBox(QStringLiteral("Digit Type:"), page), "frmLedType");
    auto* digitLayout = new QHBoxLayout(digits);
    cmbLedType = named(new QComboBox(digits), "cmbLedType", QStringLiteral("Digit Type"));
    cmbLedType->addItems({QStringLiteral("Lines"), QStringLiteral("Dots")});
    pledPreview = named(new PolyLED(digits), "pledPreview", QStringLiteral("Digit preview"));
    pledPreview->setSize(45);
    pledPreview->setFixedSize(pledPreview->sizeHint());
    pledPreview->setCaption(8);
    connect(cmbLedType, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (index >= 0)
            pledPreview->setLedType(index);
    });
    digitLayout->addWidget(cmbLedType);
    digitLayout->addSpacing(24);
    digitLayout->addWidget(new QLabel(QStringLiteral("Preview:"), digits));
    digitLayout->addWidget(pledPreview);
    digitLayout->addStretch();
    grid->addWidget(digits, 1, 0, 1, 3);
    grid->setRowStretch(2, 1);
    return page;
}

// --- Loading ---------------------------------------------------------------------------

void frmOptions::Form_Load() {
    const Settings& s = settings_;
    SSTab1->setCurrentIndex(0);

    for (const ColorRow& row : colorRows_)
        row.preview->setBackColor(s.*row.setting);
    // The bar offers 0 to 5; the label shows where it stands.
    scrLEDSelectedWidth->setValue(s.LEDSelectedWidth);

    for (const KeyRow& row : keyRows_) {
        *row.temp = s.*row.setting;
        row.label->setText(KeyCodeToStr(*row.temp));
    }
    // Any other mode leaves all three clear, and "&Ok" keeps it.
    if (s.NumLockForce == 0)
        optNormal->setChecked(true);
    else if (s.NumLockForce == 1)
        optKeepOn->setChecked(true);
    else if (s.NumLockForce == 2)
        optKeepOff->setChecked(true);

    for (const SoundRow& row : soundRows_)
        *row.temp = s.*row.setting;

    TempSize = static_cast<std::int16_t>(
        std::nearbyint(static_cast<double>(s.TeamSize) / SettingsText::kFixedPointOne));

    for (const PictureRow& row : pictureRows_) {
        *row.temp = s.*row.setting;
        fitPreview(row, *row.temp);
    }

    // A stored style the list does not offer stays as it is unless the user picks one.
    cmbLedType->setCurrentIndex(s.LEDType >= 0 && s.LEDType < cmbLedType->count() ? s.LEDType : -1);
    pledPreview->setLedType(s.LEDType);

    // The previews show the names at the board's present size; only an edit of a name
    // searches for a new one, so that confirming an unchanged dialog keeps the size.
    loading_ = true;
    txtHomeText->setText(s.HomeText);
    txtVisitorText->setText(s.VisitorText);
    loading_ = false;
    showPreviewsAt(std::clamp<int>(TempSize, kSmallestPreviewSize, kLargestPreviewSize));

    for (const SoundRow& row : soundRows_)
        row.label->setText(ChopFileName(*row.temp, kSoundLabelLength));
}

bool frmOptions::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

// Enter on a focused button works as the space bar does: the button goes down with the key
// and acts when the key is released, so that a key held a moment too long does not run on
// into the question or picker the button opens.
bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
    auto* b = qobject_cast<QPushButton*>(watched);
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!b || !keyEvent)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (key->isAutoRepeat())
        return true;
    if (event->type() == QEvent::KeyPress) {
        b->setDown(true);
    } else if (b->isDown()) {
        b->setDown(false);
        b->click();
    }
    return true;
}

void frmOptions::Form_Activate() {
    cmdOk->setFocus(Qt::ActiveWindowFocusReason);
}

// --- Names -----------------------------------------------------------------------------

void frmOptions::showPreviewsAt(int points) {
    lblHomePreview->setFontSize(points);
    lblVisitorPreview->setFontSize(points);
    for (BoardLabel* preview : {lblHomePreview, lblVisitorPreview}) {
        const int top = (kPreviewArea.height() - preview->height()) / 2;
        preview->move(0, std::max(0, top));
    }
}

void frmOptions::PreviewIt() {
    const int size = findPreviewSize([this](int points) {
        showPreviewsAt(points);
        return previewFits(lblHomePreview) && previewFits(lblVisitorPreview);
    });
    TempSize = static_cast<std::int16_t>(size);
}

// --- Colours ---------------------------------------------------------------------------

void frmOptions::changeColor(const ColorRow& row) {
    // A cancelled picker leaves the colour as it was.
    if (const auto color = pickers_->pickColor(this, row.preview->BackColor(), row.caption))
        row.preview->setBackColor(*color);
}

void frmOptions::cmdResetColors_Click() {
    if (!askYesNo(QStringLiteral("Reset Colors"),
                  QStringLiteral("Are you sure you want to reset the colors?")))
        return;
    for (const ColorRow& row : colorRows_)
        row.preview->setBackColor(row.resetColor);
    // The bar goes back to 0 with the label, so the dialog shows one width.
    scrLEDSelectedWidth->setValue(0);
    lblLEDSelectedWidthValue->setText(QStringLiteral("0"));
}

// --- Keys and sounds -------------------------------------------------------------------

void frmOptions::chooseKey(const KeyRow& row) {
    ChooseKeyExchange& exchange = chooseKeyExchange();
    exchange.ChooseKeyAction = row.action;
    exchange.ChooseKeyCurrent = *row.temp;
    {
        frmChooseKey capture(exchange, this);
        capture.exec();
    }
    const std::int16_t chosen = chosenKeyCode(exchange.ChosenKey);
    if (chosen == 0)
        return;
    *row.temp = chosen;
    row.label->setText(KeyCodeToStr(chosen));
}

void frmOptions::cmdResetKeys_Click() {
    if (!askYesNo(QStringLiteral("Reset Keys"),
                  QStringLiteral("Are you sure you want to reset the keys?")))
        return;
    for (const KeyRow& row : keyRows_) {
        row.label->setText(KeyCodeToStr(row.defaultKey));
        *row.temp = row.defaultKey;
    }
    optNormal->setChecked(true);
}

void frmOptions::changeSound(const SoundRow& row) {
    const QString path = pickers_->pickFile(this, kSoundFilter, row.caption);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    *row.temp = path;
    row.label->setText(ChopFileName(path, kSoundLabelLength));
}

// --- Pictures --------------------------------------------------------------------------

void frmOptions::changePicture(const PictureRow& row) {
    const QString path = pickers_->pickFile(this, kPictureFilter, row.caption);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    *row.temp = path;
    fitPreview(row, path);
}

void frmOptions::clearPicture(const PictureRow& row) {
    row.image->setImage(QImage());
    *row.temp = QString();
}

void frmOptions::fitPreview(const PictureRow& row, const QString& path) {
    ImageBox* image = row.image;
    image->hide();
    image->setStretch(false);
    // As on the board: a file that has gone, or holds no picture, leaves the preview as it was.
    const PictureCache::Result picture = pictures_.fetch(path);
    if (picture.status == PictureStatus::NoPath) {
        image->setImage(QImage());
    } else if (picture.status == PictureStatus::Loaded) {
        image->setImage(picture.image);
        const QSize box = row.container->size();
        const FittedRect fit =
            FitPicture(picture.image.width(), picture.image.height(), box.width(), box.height());
        image->setGeometry(QRectF(fit.left, fit.top, fit.width, fit.height).toRect());
    }
    image->setStretch(true);
    image->show();
}

// --- Closing ---------------------------------------------------------------------------

void frmOptions::cmdOk_Click() {
    Settings& s = settings_;
    for (const ColorRow& row : colorRows_)
        s.*row.setting = row.preview->BackColor();
    s.LEDSelectedWidth = static_cast<std::int16_t>(lblLEDSelectedWidthValue->text().toInt());

    for (const KeyRow& row : keyRows_)
        s.*row.setting = *row.temp;
    for (const SoundRow& row : soundRows_)
        s.*row.setting = *row.temp;
    if (optNormal->isChecked())
        s.NumLockForce = 0;
    else if (optKeepOn->isChecked())
        s.NumLockForce = 1;
    else if (optKeepOff->isChecked())
        s.NumLockForce = 2;

    s.HomeText = txtHomeText->text();
    s.VisitorText = txtVisitorText->text();
    s.TeamSize = static_cast<std::int64_t>(TempSize) * SettingsText::kFixedPointOne;

    for (const PictureRow& row : pictureRows_)
        s.*row.setting = *row.temp;
    if (cmbLedType->currentIndex() >= 0)
        s.LEDType = static_cast<std::int16_t>(cmbLedType->currentIndex());

    SaveSettings(s, store_);
    // The other tabs' own sections, each written only when its tab was changed.
    for (OptionsPage* page : pages_)
        page->save(store_);
    accept();
}

bool frmOptions::askYesNo(const QString& title, const QString& question) {
    return QMessageBox::question(this, title, question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}
