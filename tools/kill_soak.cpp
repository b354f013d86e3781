// Kills the real program at random moments of a random game, again and again, and counts how
// often the restarted board showed exactly what the killed one had drawn. Not a CI test: it
// takes minutes. Run it under nice:
//
//   nice -n 19 build/program/kill_soak [KILLS=200] [SEED]
#include "journal/KillHarness.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int kills = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const auto seed = static_cast<std::uint32_t>(argc > 2 ? atoi(argv[2]) : 20261208);
    const QString program = QCoreApplication::applicationDirPath() + "/pucktally_testable";
    QRandomGenerator rng(seed);
    int exact = 0, behind = 0, wrong = 0, noAnswer = 0;
    // A fresh journal every 20 kills, so games of many lengths are tried.
    std::unique_ptr<KillHarness> h;
    for (int i = 0; i < kills; ++i) {
        if (i % 20 == 0)
            h = std::make_unique<KillHarness>(program, rng.generate());
        const int ms = 300 + static_cast<int>(rng.bounded(2700));
        switch (h->killAndRestore(ms)) {
        case KillHarness::Outcome::Exact:
            ++exact;
            break;
        case KillHarness::Outcome::OneEventBehind:
            ++behind;
            break;
        case KillHarness::Outcome::Wrong:
            ++wrong;
            std::printf("kill %d after %d ms: board differs\n drawn %s\n shown %s\n", i + 1, ms,
                        QJsonDocument(h->lastDrawn_).toJson(QJsonDocument::Compact).constData(),
                        QJsonDocument(h->lastShown_).toJson(QJsonDocument::Compact).constData());
            break;
        case KillHarness::Outcome::NoAnswer:
            ++noAnswer;
            break;
        }
        std::printf(
            "kill %d/%d after %d ms: exact %d, one event behind %d, wrong %d, no answer %d\n",
            i + 1, kills, ms, exact, behind, wrong, noAnswer);
        std::fflush(stdout);
    }
    return wrong == 0 && noAnswer == 0 ? 0 : 1;
}
