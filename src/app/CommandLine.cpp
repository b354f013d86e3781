#include "app/CommandLine.h"

#include "app/ProgramVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const QString kProgram = QStringLiteral("pucktally");

// The toolkit's own options, which it takes off the command line when the windows' side
// starts: known here only so that they are not refused before that.
void addToolkitOptions(QCommandLineParser& parser) {
    static const char* const kWithValue[] = {"platform",
                                             "platformpluginpath",
                                             "platformtheme",
                                             "plugin",
                                             "qwindowgeometry",
                                             "qwindowicon",
                                             "qwindowtitle",
                                             "session",
                                             "display",
                                             "geometry",
                                             "title",
                                             "icon",
                                             "name",
                                             "style",
                                             "stylesheet",
                                             "qmljsdebugger",
                                             "visual"};
    static const char* const kFlags[] = {"reverse", "nograb",      "dograb",
                                         "sync",    "widgetcount", "testability"};
    for (const char* name : kWithValue) {
        QCommandLineOption o(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const char* name : kFlags) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
}

// The parser of the whole command line. The journal's and the live feed's options are read
// by their own features; they are here for the usage.
struct ProgramOptions {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Prints this usage and ends.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Prints the program's version and ends.")};

    ProgramOptions() {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(QStringLiteral(
            "Pucktally, a scoreboard for ice hockey.\n"
            "One board per user: started again while a board runs, the program brings that\n"
            "board (or its splash window) to the front and ends; its game is left alone.\n"
            "The toolkit's own options, such as -platform NAME, are passed on to it."));
        parser.addOption(help);
        parser.addOption(version);
        parser.addOption({QStringLiteral("sheet"),
                          QStringLiteral("Writes the game sheet of the latest game in the "
                                         "journal to FILE (.csv or .html) and ends, without "
                                         "a window. Works beside a running board."),
                          QStringLiteral("FILE")});
        parser.addOption({QStringLiteral("game"),
                          QStringLiteral("With --sheet: game N instead of the latest."),
                          QStringLiteral("N")});
        parser.addOption({QStringLiteral("games"),
                          QStringLiteral("Lists the games in the journal (number, start, end, "
                                         "events) and ends, without a window.")});
        parser.addOption({QStringLiteral("resume"),
                          QStringLiteral("Brings the last game closed on the board back onto "
                                         "it as it was, to be played on.")});
        parser.addOption({QStringLiteral("feed"),
                          QStringLiteral("Serves the board live over HTTP at that address "
                                         "for this run (default address 127.0.0.1)."),
                          QStringLiteral("[ADDRESS:]PORT")});
        parser.addPositionalArgument(QStringLiteral("bypass"),
                                     QStringLiteral("Opens the board at once instead of "
                                                    "waiting on the splash window: the "
                                                    "single word, in small letters, with "
                                                    "no other word beside it."),
                                     QStringLiteral("[bypass]"));
        addToolkitOptions(parser);
    }

    QString usage() const {
        // Without an application object the parser cannot know the program's name.
        QString text = parser.helpText();
        const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
        return QStringLiteral("Usage: %1 [options] [bypass]").arg(kProgram) + text.mid(lineEnd);
    }
};

// The parser names an unknown option without its dashes; the user is shown it as typed.
QString refusalOf(const QCommandLineParser& parser, const QStringList& words) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        for (const QString& word : words) {
            QString name = word.section(QLatin1Char('='), 0, 0);
            while (name.startsWith(QLatin1Char('-')))
                name.remove(0, 1);
            if (word.startsWith(QLatin1Char('-')) && name == unknown.front())
                return QStringLiteral("Unknown option '%1'.")
                    .arg(word.section(QLatin1Char('='), 0, 0));
        }
    }
    return parser.errorText();
}

} // namespace

CommandLineRequest readCommandLine(const QStringList& words, const QString& mistake) {
    ProgramOptions options;
    CommandLineRequest request;
    if (!options.parser.parse(QStringList{kProgram} + words)) {
        request.action = CommandLineRequest::Action::Refuse;
        request.text = refusalOf(options.parser, words) + QLatin1Char('\n') + options.usage();
    } else if (options.parser.isSet(options.help)) {
        request.action = CommandLineRequest::Action::Help;
        request.text = options.usage();
    } else if (options.parser.isSet(options.version)) {
        request.action = CommandLineRequest::Action::Version;
        request.text = versionLine() + QLatin1Char('\n');
    } else if (!mistake.isEmpty()) {
        request.action = CommandLineRequest::Action::Refuse;
        request.text = mistake + QLatin1Char('\n') + options.usage();
    }
    return request;
}

QString usageText() {
    return ProgramOptions().usage();
}

QStringList commandLineWords() {
    return QCoreApplication::arguments().mid(1);
}

bool IsBypass(const QStringList& remaining) {
    return remaining.size() == 1 && remaining.front() == QLatin1String("bypass");
}
