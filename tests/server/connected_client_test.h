#pragma once
// A test with a fresh working folder, a reference server and a client connected to
// it without the protocol's pauses.

#include "common/temp_dir.h"
#include "server/reference_server.h"
#include "server/server_client.h"

#include <gtest/gtest.h>

namespace vodirev::test {

class ConnectedClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        client.SetPauseFunction([](int) {});
        client.Connect();
    }

    ScopedWorkDir work;
    ReferenceServer server;
    CServerClient client;
};

}  // namespace vodirev::test
