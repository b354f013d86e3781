// What the command line asks before any window opens: the usage, the version, a refusal of
// an unknown option, or the run, with the toolkit's own options and "bypass" let through.
#include "app/CommandLine.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

using Action = CommandLineRequest::Action;

struct RequestCase {
    const char* name;
    QStringList words;
    Action action;
};
void PrintTo(const RequestCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadCommandLine : public ::testing::TestWithParam<RequestCase> {};

TEST_P(ReadCommandLine, AnswersWhatTheWordsAsk) {
    const RequestCase& c = GetParam();
    const CommandLineRequest r = readCommandLine(c.words);
    EXPECT_EQ(r.action, c.action) << r.text.toStdString();
    EXPECT_EQ(r.exitCode(), c.action == Action::Refuse ? 2 : 0);
    switch (c.action) {
    case Action::Run:
        EXPECT_TRUE(r.text.isEmpty());
        break;
    case Action::Help:
        EXPECT_EQ(r.text, usageText());
        break;
    case Action::Version:
        EXPECT_EQ(r.text, QStringLiteral("Pucktally 1.0.9\n"));
        break;
    case Action::Refuse:
        EXPECT_TRUE(r.text.endsWith(usageText())) << r.text.toStdString();
        EXPECT_FALSE(r.text.startsWith(usageText()));
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Words, ReadCommandLine,
    ::testing::Values(
        RequestCase{"Nothing", {}, Action::Run}, RequestCase{"Bypass", {"bypass"}, Action::Run},
        RequestCase{"OtherWordsAreIgnored", {"BYPASS", "now"}, Action::Run},
        RequestCase{"ToolkitPlatform", {"-platform", "offscreen", "bypass"}, Action::Run},
        RequestCase{"ToolkitDoubleDash", {"--platform", "xcb"}, Action::Run},
        RequestCase{"ToolkitStyleJoined", {"-style=fusion"}, Action::Run},
        RequestCase{"ToolkitFlags", {"-reverse", "-nograb", "-widgetcount"}, Action::Run},
        RequestCase{"X11Display", {"-display", ":1", "-geometry", "800x600"}, Action::Run},
        RequestCase{"LongHelp", {"--help"}, Action::Help},
        RequestCase{"ShortHelp", {"-h"}, Action::Help},
        RequestCase{"HelpAmongOthers", {"-platform", "xcb", "bypass", "--help"}, Action::Help},
        RequestCase{"LongVersion", {"--version"}, Action::Version},
        RequestCase{"ShortVersion", {"-v"}, Action::Version},
        RequestCase{"HelpWinsOverVersion", {"--version", "--help"}, Action::Help},
        RequestCase{"UnknownLong", {"--fullscreen"}, Action::Refuse},
        RequestCase{"UnknownShort", {"-x"}, Action::Refuse},
        RequestCase{"UnknownBesideBypass", {"bypass", "--now"}, Action::Refuse},
        RequestCase{"UnknownBeforeHelp", {"--nope", "--help"}, Action::Refuse},
        RequestCase{"ToolkitOptionWithoutValue", {"-platform"}, Action::Refuse},
        RequestCase{"FlagGivenAValue", {"--version=2"}, Action::Refuse}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineUsage, NamesEveryOptionAndTheWordBypass) {
    const QString usage = usageText();
    EXPECT_TRUE(usage.startsWith(QStringLiteral("Usage: pucktally [options] [bypass]\n")));
    for (const char* option : {"-h, --help", "-v, --version", "--sheet <FILE>", "--game <N>",
                               "--games", "--feed <[ADDRESS:]PORT>", "bypass", "One board"})
        EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
    // The toolkit's options are passed on, not offered.
    EXPECT_FALSE(usage.contains(QLatin1String("--stylesheet")));
}

TEST(CommandLineUsage, RefusalSaysWhichOptionAsTypedOrWhatAFeatureFoundWrong) {
    EXPECT_TRUE(readCommandLine({"--now=1"}).text.startsWith("Unknown option '--now'.\n"));
    EXPECT_EQ(readCommandLine({"bypass"}, "--feed 0: no port").text,
              "--feed 0: no port\n" + usageText());
}

struct BypassCase {
    const char* name;
    QStringList remaining;
    bool bypass;
};
void PrintTo(const BypassCase& c, std::ostream* os) {
    *os << c.name;
}

class Bypass : public ::testing::TestWithParam<BypassCase> {};

TEST_P(Bypass, OnlyTheSingleWordInSmallLetters) {
    EXPECT_EQ(IsBypass(GetParam().remaining), GetParam().bypass);
}

INSTANTIATE_TEST_SUITE_P(Words, Bypass,
                         ::testing::Values(BypassCase{"Exactly", {"bypass"}, true},
                                           BypassCase{"Nothing", {}, false},
                                           BypassCase{"Capitals", {"BYPASS"}, false},
                                           BypassCase{"Capitalised", {"Bypass"}, false},
                                           BypassCase{"WordAfter", {"bypass", "now"}, false},
                                           BypassCase{"WordBefore", {"now", "bypass"}, false},
                                           BypassCase{"Twice", {"bypass", "bypass"}, false},
                                           BypassCase{"WithSpace", {"bypass "}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
