// Every limit on what a client may send, at its edge: the largest value passes, one more is
// refused with the limit's own status.
#include "FeedRequests.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace feedtest;

struct LimitCase {
    std::string name;
    QByteArray bytes;
    int status;
};

const LimitCase kLimits[] = {
    {"HeadAtTheLimit", headOfSize(kMaxRequestHeadBytes), 200},
    {"HeadOneOver", headOfSize(kMaxRequestHeadBytes + 1), 431},
    {"UnfinishedHeadAtTheLimitWaits", unfinishedHeadOfSize(kMaxRequestHeadBytes), 0},
    {"UnfinishedHeadOneOver", unfinishedHeadOfSize(kMaxRequestHeadBytes + 1), 431},
    {"TargetAtTheLimit", targetOfSize(kMaxRequestTargetBytes), 200},
    {"TargetOneOver", targetOfSize(kMaxRequestTargetBytes + 1), 414},
    {"HeaderLinesAtTheLimit", headerLines(kMaxRequestHeaderLines), 200},
    {"HeaderLinesOneOver", headerLines(kMaxRequestHeaderLines + 1), 431},
};

class FeedLimit : public testing::TestWithParam<LimitCase> {};

TEST_P(FeedLimit, LargestPassesOneMoreIsRefused) {
    const LimitCase& c = GetParam();
    const FeedRequest r = judgeFeedRequest(c.bytes);
    EXPECT_EQ(r.status, c.status);
    if (c.status == 200) {
        EXPECT_EQ(r.route, FeedRoute::State);
        EXPECT_EQ(r.headLength, c.bytes.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, FeedLimit, testing::ValuesIn(kLimits),
                         [](const auto& info) { return info.param.name; });

// The limits are the ones the feed states: 8 KiB of head, 1 KiB of target, 64 header lines.
TEST(FeedLimitValues, AreTheStatedOnes) {
    EXPECT_EQ(kMaxRequestHeadBytes, 8192);
    EXPECT_EQ(kMaxRequestTargetBytes, 1024);
    EXPECT_EQ(kMaxRequestHeaderLines, 64);
    EXPECT_EQ(headOfSize(kMaxRequestHeadBytes).size(), 8192);
    EXPECT_EQ(targetOfSize(kMaxRequestTargetBytes).indexOf(" HTTP"), 4 + 1024);
}

} // namespace
