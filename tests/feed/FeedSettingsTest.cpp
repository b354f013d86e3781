#include "feed/FeedSettings.h"
#include "support/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The command line before and after the feed takes its options, and what it took.
struct OptionCase {
    std::string name;
    QStringList args;
    QStringList rest;
    bool enabled;
    QString address;
    quint16 port;
    bool error;
};

const QString kProgram = QStringLiteral("pucktally");

const OptionCase kOptions[] = {
    {"None", {kProgram, "bypass"}, {kProgram, "bypass"}, false, "127.0.0.1", 8080, false},
    {"PortOnly", {kProgram, "--feed", "9000"}, {kProgram}, true, "127.0.0.1", 9000, false},
    {"AddressAndPortBeforeBypass",
     {kProgram, "--feed", "127.0.0.1:8080", "bypass"},
     {kProgram, "bypass"},
     true,
     "127.0.0.1",
     8080,
     false},
    {"EqualsForm", {kProgram, "--feed=0.0.0.0:81"}, {kProgram}, true, "0.0.0.0", 81, false},
    {"BracketedIpv6", {kProgram, "--feed", "[::1]:8081"}, {kProgram}, true, "::1", 8081, false},
    {"Ipv6WithoutBrackets",
     {kProgram, "--feed", "::1:8081"},
     {kProgram, "::1:8081"},
     false,
     "127.0.0.1",
     8080,
     true},
    {"BypassIsNoEndpoint",
     {kProgram, "--feed", "bypass"},
     {kProgram, "bypass"},
     false,
     "127.0.0.1",
     8080,
     true},
    {"MissingValue", {kProgram, "--feed"}, {kProgram}, false, "127.0.0.1", 8080, true},
    {"PortZero", {kProgram, "--feed=0"}, {kProgram}, false, "127.0.0.1", 8080, true},
    {"PortTooLarge", {kProgram, "--feed=65536"}, {kProgram}, false, "127.0.0.1", 8080, true},
    {"HostName", {kProgram, "--feed=localhost:80"}, {kProgram}, false, "127.0.0.1", 8080, true},
    {"LastOneWins",
     {kProgram, "--feed", "81", "--feed", "82"},
     {kProgram},
     true,
     "127.0.0.1",
     82,
     false},
    {"OtherOptionsStay",
     {kProgram, "--other", "--feed", "83", "x"},
     {kProgram, "--other", "x"},
     true,
     "127.0.0.1",
     83,
     false},
};

class FeedOptions : public testing::TestWithParam<OptionCase> {};

TEST_P(FeedOptions, TakenOffTheCommandLine) {
    const OptionCase& c = GetParam();
    QStringList args = c.args;
    FeedSettings feed;
    const QString error = takeFeedOptions(args, feed);
    EXPECT_EQ(args, c.rest);
    EXPECT_EQ(feed.enabled, c.enabled);
    EXPECT_EQ(feed.address, c.address);
    EXPECT_EQ(feed.port, c.port);
    EXPECT_EQ(!error.isEmpty(), c.error) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(CommandLines, FeedOptions, testing::ValuesIn(kOptions),
                         [](const auto& info) { return info.param.name; });

// Stored entries as text, and the settings read from them.
struct StoredCase {
    std::string name;
    QString enabled, address, port;
    FeedSettings expected;
};

const StoredCase kStored[] = {
    {"Written", "1", "0.0.0.0", "8123", {true, "0.0.0.0", 8123}},
    {"Off", "0", "127.0.0.1", "8080", {false, "127.0.0.1", 8080}},
    {"DamagedEntries", "yes", "my-laptop", "80a", {false, "127.0.0.1", 8080}},
    {"PortOutOfRange", "1", "::", "70000", {true, "::", 8080}},
};

class FeedStored : public testing::TestWithParam<StoredCase> {};

TEST_P(FeedStored, ReadWithDefaultsForDamage) {
    MemorySettingsStore store;
    store.put(kFeedSettingsSection, "Enabled", GetParam().enabled);
    store.put(kFeedSettingsSection, "Address", GetParam().address);
    store.put(kFeedSettingsSection, "Port", GetParam().port);
    EXPECT_EQ(loadFeedSettings(store), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Entries, FeedStored, testing::ValuesIn(kStored),
                         [](const auto& info) { return info.param.name; });

TEST(FeedStore, OffByDefaultAndWrittenInItsOwnSection) {
    MemorySettingsStore store;
    EXPECT_EQ(loadFeedSettings(store), FeedSettings{});
    EXPECT_FALSE(FeedSettings{}.enabled);
    const FeedSettings on{true, QStringLiteral("0.0.0.0"), 9001};
    saveFeedSettings(on, store);
    EXPECT_EQ(store.saves(),
              QStringList({"PuckTally/LiveFeed/Enabled=1", "PuckTally/LiveFeed/Address=0.0.0.0",
                           "PuckTally/LiveFeed/Port=9001"}));
    EXPECT_EQ(loadFeedSettings(store), on);
}

} // namespace
