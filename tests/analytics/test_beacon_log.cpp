#include "beacon/BeaconLog.h"

#include <gtest/gtest.h>

namespace {

class BeaconLogTest : public ::testing::Test {
protected:
    void TearDown() override { beacon::setDebugLogEnabled(false); }
};

TEST_F(BeaconLogTest, PrintsNothingWhileOff)
{
    testing::internal::CaptureStdout();
    beacon::debugLog("hidden");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(BeaconLogTest, AddsPrefixOnlyWhenMissing)
{
    beacon::setDebugLogEnabled(true);
    testing::internal::CaptureStdout();
    beacon::debugLog("Integration x installed");
    beacon::debugLog("[Beacon] Beacon is in OptOut state.");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
        "[Beacon] Integration x installed\n[Beacon] Beacon is in OptOut state.\n");
}

} // namespace
