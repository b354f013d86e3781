#include "app/TestProbe.h"

#include "board/frmScoreBoard.h"
#include "display/PictureBox.h"
#include "journal/BoardRecord.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QSaveFile>

namespace {

// The Qt key and text a script token stands for.
std::pair<int, QString> keyOf(const QString& token) {
    static const QHash<QString, int> kNamed{
        {QStringLiteral("Enter"), Qt::Key_Return}, {QStringLiteral("Space"), Qt::Key_Space},
        {QStringLiteral("Left"), Qt::Key_Left},    {QStringLiteral("Right"), Qt::Key_Right},
        {QStringLiteral("Down"), Qt::Key_Down},    {QStringLiteral("+"), Qt::Key_Plus},
        {QStringLiteral("-"), Qt::Key_Minus},      {QStringLiteral("."), Qt::Key_Period}};
    if (kNamed.contains(token))
        return {kNamed.value(token), token.size() == 1 ? token : QString()};
    if (token.size() == 1 &&
        (token[0].isDigit() || (token[0] >= QLatin1Char('A') && token[0] <= QLatin1Char('Z'))))
        return {token[0].unicode(), token};
    return {0, {}};
}

} // namespace

TestProbe::TestProbe(frmScoreBoard& board, QObject* parent) : QObject(parent), board_(board) {
    player_.setSingleShot(true);
    connect(&player_, &QTimer::timeout, this, &TestProbe::step);
}

void TestProbe::start() {
    stateFile_ = qEnvironmentVariable("PUCKTALLY_TEST_STATE");
    shotFile_ = qEnvironmentVariable("PUCKTALLY_TEST_SHOT");
    if (!stateFile_.isEmpty() || !shotFile_.isEmpty()) {
        connect(&board_, &frmScoreBoard::boardChanged, this, &TestProbe::changed);
        changed();
    }
    const QString snapshot = qEnvironmentVariable("PUCKTALLY_TEST_SNAPSHOT");
    if (!snapshot.isEmpty()) {
        QTimer::singleShot(300, this, [this, snapshot] {
            writeState(snapshot + QStringLiteral(".json"), false);
            writeShot(snapshot + QStringLiteral(".png"));
            QCoreApplication::exit(0);
        });
    }
    QFile script(qEnvironmentVariable("PUCKTALLY_TEST_SCRIPT"));
    if (script.fileName().isEmpty() || !script.open(QIODevice::ReadOnly))
        return;
    script_ = QString::fromUtf8(script.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    player_.start(0);
}

void TestProbe::step() {
    while (next_ < script_.size()) {
        const QStringList parts = script_[next_++].simplified().split(QLatin1Char(' '));
        if (parts.size() != 2)
            continue;
        if (parts[0] == QLatin1String("wait")) {
            player_.start(parts[1].toInt());
            return;
        }
        auto* box = board_.findChild<PictureBox*>(parts[0]);
        const auto [key, text] = keyOf(parts[1]);
        if (!box || key == 0)
            continue;
        box->setFocus(Qt::OtherFocusReason);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(box, &release);
        player_.start(0); // one key per turn of the event loop, like a typist
        return;
    }
}

void TestProbe::changed() {
    if (!stateFile_.isEmpty())
        writeState(stateFile_, true);
    if (!shotFile_.isEmpty())
        writeShot(shotFile_);
}

void TestProbe::writeState(const QString& file, bool withPrevious) {
    const QJsonObject now = boardrecord::toRecord(board_.logic().state());
    QJsonObject out = now;
    if (withPrevious) {
        if (now != current_) {
            previous_ = current_;
            current_ = now;
        }
        out = QJsonObject{{QStringLiteral("state"), current_},
                          {QStringLiteral("previous"), previous_}};
    }
    QSaveFile f(file);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(QJsonDocument(out).toJson(QJsonDocument::Compact));
        f.commit();
    }
}

void TestProbe::writeShot(const QString& file) {
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly)) {
        board_.grab().save(&out, "PNG");
        out.commit();
    }
}
