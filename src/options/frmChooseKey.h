#pragma once

#include <QDialog>
#include <functional>

class QLabel;
struct ChooseKeyExchange;

// The small window that asks for the key of one action. It reads the action words and the
// present key from the exchange values, takes the next key pressed (as a virtual-key code,
// with Shift, Ctrl and Alt ignored) and writes it to ChosenKey; a key that cannot be
// assigned shows a note and beeps, and the window waits for another. Closed without a key,
// ChosenKey stays "0". It never touches the settings.
class frmChooseKey : public QDialog {
    Q_OBJECT
  public:
    explicit frmChooseKey(ChooseKeyExchange& exchange, QWidget* parent = nullptr);

    // The system beep by default; tests listen instead.
    void setBeep(std::function<void()> beep) { beep_ = std::move(beep); }

    void Form_KeyDown(int keyCode);

  protected:
    bool event(QEvent* event) override;

  private:
    void Form_Load();

    ChooseKeyExchange& exchange_;
    std::function<void()> beep_;
    QLabel* lblChoose = nullptr;
    QLabel* lblUsed = nullptr;
};
