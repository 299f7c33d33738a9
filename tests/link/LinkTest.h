#pragma once

#include "FakeD2xx.h"

#include <gtest/gtest.h>

#include <string>

// The link's waits run Qt's event loop and its timer, so every link test has
// an application object. No test may leave the link asking the driver for
// more bytes than it has queued: a real driver would block there.
class LinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void TearDown() override;

    FakeD2xx fake;
};

// `bytes` as the std::string the fake takes, e.g. Bytes({0x80, 0x00, 0x00}).
std::string Bytes(std::initializer_list<unsigned char> bytes);
