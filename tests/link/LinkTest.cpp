#include "LinkTest.h"

#include <QCoreApplication>

void LinkTest::SetUpTestSuite()
{
    static int argc = 1;
    static char name[] = "link_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

void LinkTest::TearDown()
{
    EXPECT_EQ(fake.BlockingReads(), 0) << "the link asked the driver for bytes it had not queued";
}

std::string Bytes(std::initializer_list<unsigned char> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}
