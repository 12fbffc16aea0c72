#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "LoopbackHttpServer.h"
#include "SdkHarness.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconSDK.h"

namespace beacon::test {

/// A client, not yet set up, with a configuration for a loopback server and a harness of its own.
/// Closed after each test, with the debug log off again.
class SdkClientTest : public testing::Test {
protected:
    void TearDown() override
    {
        if (sdk->isEnabled())
            sdk->close();
        setDebugLogEnabled(false);
    }

    /// Flushes until every queued event has gone out.
    void deliver() { ASSERT_TRUE(deliverAll(*sdk, harness.queueFolder())); }

    LoopbackHttpServer server;
    SdkHarness harness;
    std::shared_ptr<BeaconConfig> config = harness.makeConfig(server.baseUrl());
    std::shared_ptr<BeaconSDK> sdk = BeaconSDK::create();
};

} // namespace beacon::test
