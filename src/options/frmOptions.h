#pragma once

#include "display/PictureCache.h"
#include "options/OptionsPage.h"
#include "options/OptionsPickers.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

class BoardLabel;
class ImageBox;
class PictureBox;
class PolyLED;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QWidget;
class SettingsStore;
struct Settings;

// The options dialog: every setting of the board on four tabs. It edits working copies,
// most of them held in its own controls (colour previews, width label, name boxes, digit
// list, NumLock options), and writes them into the settings record and the store only on
// "&Ok", as one complete save. "&Cancel", Escape and the window's close leave both alone.
// Enter and the space bar press the focused button; Enter anywhere else means "&Ok".
// Pickers come from an OptionsPickers; the toolkit's own dialogs unless tests give others.
class frmOptions : public QDialog {
    Q_OBJECT
  public:
    // `pages` are tabs of features beyond the board's own settings, shown after its four.
    frmOptions(Settings& settings, SettingsStore& store, QWidget* parent = nullptr,
               const OptionsPageMakers& pages = {});
    ~frmOptions() override;

    void setPickers(OptionsPickers& pickers) { pickers_ = &pickers; }

    // Sizes both name previews to the largest size from 60 down to 10 points at which both
    // fit the preview area; TempSize takes that size, or 9 when none fits.
    void PreviewIt();

    // Working copies, as "&Ok" would store them.
    std::int16_t TempSize = 0;
    std::int16_t StartStopClockKeyTemp = 0;
    std::int16_t ResetClockKeyTemp = 0;
    std::int16_t ClearKeyTemp = 0;
    std::int16_t BuzzerKeyTemp = 0;
    std::int16_t HornKeyTemp = 0;
    QString BuzzTemp;
    QString HornTemp;
    QString HomePicTemp;
    QString VisitorPicTemp;
    QString BoardPicTemp;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct KeyRow;
    struct ColorRow;
    struct SoundRow;
    struct PictureRow;

    QWidget* buildKeyboardTab();
    QWidget* buildColorTab();
    QWidget* buildTextTab();
    QWidget* buildPictureTab();

    void Form_Load();
    void Form_Activate();
    void cmdOk_Click();
    void cmdResetColors_Click();
    void cmdResetKeys_Click();
    void chooseKey(const KeyRow& row);
    void changeColor(const ColorRow& row);
    void changeSound(const SoundRow& row);
    void changePicture(const PictureRow& row);
    void clearPicture(const PictureRow& row);
    void fitPreview(const PictureRow& row, const QString& path);
    void showPreviewsAt(int points);
    bool askYesNo(const QString& title, const QString& question);

    Settings& settings_;
    SettingsStore& store_;
    QtOptionsPickers systemPickers_;
    OptionsPickers* pickers_ = &systemPickers_;
    PictureCache pictures_;
    bool loading_ = false;

    std::vector<KeyRow> keyRows_;
    std::vector<ColorRow> colorRows_;
    std::vector<SoundRow> soundRows_;
    std::vector<PictureRow> pictureRows_;

    QTabWidget* SSTab1 = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdResetKeys = nullptr;
    QPushButton* cmdResetColors = nullptr;
    QRadioButton* optNormal = nullptr;
    QRadioButton* optKeepOn = nullptr;
    QRadioButton* optKeepOff = nullptr;
    QScrollBar* scrLEDSelectedWidth = nullptr;
    QLabel* lblLEDSelectedWidthValue = nullptr;
    QLineEdit* txtHomeText = nullptr;
    QLineEdit* txtVisitorText = nullptr;
    BoardLabel* lblHomePreview = nullptr;
    BoardLabel* lblVisitorPreview = nullptr;
    QComboBox* cmbLedType = nullptr;
    PolyLED* pledPreview = nullptr;
    std::vector<OptionsPage*> pages_;
};
