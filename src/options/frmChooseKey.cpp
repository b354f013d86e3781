#include "options/frmChooseKey.h"

#include "display/Fonts.h"
#include "options/ChooseKey.h"
#include "platform/NativeKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QFont faceOf(const QString& family, int points) {
    QFont f(family);
    f.setPointSize(points);
    return f;
}

} // namespace

frmChooseKey::frmChooseKey(ChooseKeyExchange& exchange, QWidget* parent)
    : QDialog(parent), exchange_(exchange), beep_([] { QApplication::beep(); }) {
    setObjectName(QStringLiteral("frmChooseKey"));
    setWindowTitle(QStringLiteral("Choose Key"));
    setAccessibleName(QStringLiteral("Choose Key"));
    setModal(true);
    // Every key is for this window, so nothing in it takes the focus.
    setFocusPolicy(Qt::StrongFocus);

    lblChoose = new QLabel(QStringLiteral("Press the key you would like to  ."), this);
    lblChoose->setObjectName(QStringLiteral("lblChoose"));
    lblChoose->setFont(faceOf(serifFamily(), 18));
    lblChoose->setWordWrap(true);
    lblChoose->setAlignment(Qt::AlignCenter);

    lblUsed = new QLabel(QStringLiteral("This is not a valid key, please choose another or close "
                                        "this window to return."),
                         this);
    lblUsed->setObjectName(QStringLiteral("lblUsed"));
    lblUsed->setFont(faceOf(sansFamily(), 18));
    lblUsed->setWordWrap(true);
    lblUsed->setAlignment(Qt::AlignCenter);
    lblUsed->setVisible(false);
    // Keeps the window's size when the note appears.
    QSizePolicy keep = lblUsed->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    lblUsed->setSizePolicy(keep);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblChoose);
    layout->addWidget(lblUsed);
    setFixedWidth(560);

    Form_Load();
}

void frmChooseKey::Form_Load() {
    lblChoose->setText(chooseKeyPrompt(exchange_.ChooseKeyAction));
    exchange_.ChosenKey = QStringLiteral("0");
}

void frmChooseKey::Form_KeyDown(int keyCode) {
    if (judgeChosenKey(keyCode, exchange_.ChooseKeyCurrent) == KeyVerdict::Refused) {
        lblUsed->setVisible(true);
        beep_();
        return;
    }
    lblUsed->setVisible(false);
    exchange_.ChosenKey = QString::number(keyCode);
    accept();
}

bool frmChooseKey::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // No shortcut, mnemonic or focus change may take a key away from the capture.
        event->accept();
        return true;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            Form_KeyDown(virtualKeyOf(*key));
        return true;
    }
    case QEvent::KeyRelease:
        return true;
    default:
        return QDialog::event(event);
    }
}
