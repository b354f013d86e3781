#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class frmScoreBoard;

// Hooks for the crash tests, switched on only by environment variables, so the real program
// can be driven and read back from outside:
//   PUCKTALLY_TEST_SCRIPT=FILE  plays FILE's keys on the board, one line each:
//                               "<entry box> <key>" (key: a digit, a capital letter, + - .
//                               Enter Space Left Right Down) or "wait <ms>"; then idles.
//   PUCKTALLY_TEST_STATE=FILE   after every change the board as drawn and the one before it, as
//                               JSON {"state", "previous"}, written just before the journal's
//                               row, replacing the file in one step.
//   PUCKTALLY_TEST_SHOT=FILE    after every change a PNG of the board.
//   PUCKTALLY_TEST_SNAPSHOT=BASE  once the board is up: BASE.json and BASE.png, then quits.
class TestProbe : public QObject {
    Q_OBJECT
  public:
    explicit TestProbe(frmScoreBoard& board, QObject* parent = nullptr);
    // Starts the hooks the environment asks for; before the journal starts, so the state file
    // is written ahead of the journal's row for the same event.
    void start();

  private:
    void step();
    void changed();
    void writeState(const QString& file, bool withPrevious);
    void writeShot(const QString& file);

    frmScoreBoard& board_;
    QStringList script_;
    int next_ = 0;
    QTimer player_;
    QString stateFile_;
    QString shotFile_;
    QJsonObject current_;
    QJsonObject previous_;
};
