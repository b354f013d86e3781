#pragma once

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalSocket;

// One board per user and journal. The first start takes a lock file in the journal's folder
// and listens on a local socket named after that folder and the user; a later start finds
// the lock held, asks the running program over the socket to bring its window to the front,
// and is told when that is done. A lock left by a process that died is taken over; a running
// program that does not answer in time is given up on, never waited for without end.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    enum class Claim {
        First,   // this process holds the lock and answers later starts
        Shown,   // another process holds it and brought its window to the front
        NoAnswer // another process holds it but did not answer in time
    };

    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock or hands over to its holder, waiting at most `waitMs` for the holder.
    Claim claim(int waitMs = kWaitMs);
    // What went wrong on the way, for the console (empty when nothing did).
    const QString& problem() const { return problem_; }

    // The local socket's name for a lock folder: the same for every start of one user on
    // one journal, different for another user or another journal.
    static QString serverName(const QString& folder);

    static constexpr int kWaitMs = 5000;
    // How long a lock may stay without its content before it counts as abandoned.
    static constexpr int kUnreadableLockMs = 2000;

  signals:
    // A later start asks for the program's window; the answer goes out when this returns.
    void showRequested();

  private:
    void listen();
    void answer(QLocalSocket* socket);
    void readRequest(QLocalSocket* socket);
    // One request to the lock's holder to show its window.
    enum class Answer { Shown, Silent, Absent };
    Answer askHolder(const QDeadlineTimer& deadline);
    bool lockReadable() const;
    bool unreadableForLong() const;

    QString folder_;
    QLockFile lock_;
    QLocalServer server_;
    QString problem_;
};
