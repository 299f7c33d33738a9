// The drop-in libftd2xx.so (FTD2XX.DLL on Windows), loaded by the program's own loader and driven
// through the link, as the demo runs it. The library makes its board on the
// first call, from the environment, so the variables are set before that.

#include "Ad7175.h"
#include "D2xxLoader.h"

#include "QtApplication.h"
#include "SimTestUtil.h"

#include <QElapsedTimer>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

class SharedLibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        EnsureQtApplication();
        // Twenty times real time: a second of board time in 50 ms.
        qputenv("KORVADEX_SIM_SPEED", "20");
        qputenv("KORVADEX_SIM_COUNTER", "1");
        qputenv("KORVADEX_SIM_COUNTER_START", "500");
        driver = LoadD2xxLibrary(SIM_D2XX_LIBRARY).release();
    }

    static void TearDownTestSuite()
    {
        delete driver;
        driver = nullptr;
    }

    void SetUp() override { ASSERT_NE(driver, nullptr) << "cannot load " << SIM_D2XX_LIBRARY; }

    static D2xx* driver;
};

D2xx* SharedLibraryTest::driver = nullptr;

TEST_F(SharedLibraryTest, AnswersTheConnectSequenceAsTheBoard)
{
    TADC adc(nullptr, *driver);
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_TRUE(adc.CheckBoard());
    char name[TADC::NameLength + 1] = "";
    char version[TADC::NameLength + 1] = "";
    EXPECT_TRUE(adc.GetBoardName(name));
    EXPECT_TRUE(adc.GetVersion(version));
    EXPECT_STREQ(name, "KORVADEX");
    EXPECT_STREQ(version, "V1.00");
    adc.CloseBoard();
}

TEST_F(SharedLibraryTest, StreamsTheCounterConfiguredByTheEnvironment)
{
    TADC adc(nullptr, *driver);
    ASSERT_TRUE(adc.OpenBoard());
    ASSERT_TRUE(adc.SetSinc3());
    ASSERT_TRUE(adc.SetDataRate(8));
    ASSERT_TRUE(adc.StartMeasure(0, 1000));

    std::vector<std::int32_t> codes(1000);
    std::int32_t done = 0;
    QElapsedTimer wall;
    wall.start();
    while (done < 1000 && wall.elapsed() < 5000) {
        std::int32_t got = 0;
        ASSERT_TRUE(adc.ReadData1(&codes[done], got, std::min(100, 1000 - done)));
        done += got;
    }
    ASSERT_EQ(done, 1000);
    EXPECT_EQ(codes.front(), 500);
    EXPECT_EQ(FirstBreak(codes), -1);
    adc.CloseBoard();
}

// A host that stops reading has the driver's 64 KiB kept for it and no
// more, wherever the driver's buffer is (with the board in a process of
// its own, partly in the memory the library shares with it): the counter
// breaks after 65536 bytes and the chip's 64-byte packet.
TEST_F(SharedLibraryTest, AHostThatStopsReadingHasTheDriversQueueAndNoMore)
{
    struct Adc : TADC {
        using TADC::TADC;
        FT_HANDLE Handle() const { return ftHandle; }
    } adc(nullptr, *driver);
    ASSERT_TRUE(adc.OpenBoard());
    ASSERT_TRUE(adc.SetSinc3());
    ASSERT_TRUE(adc.SetDataRate(16));  // 125 ksps
    ASSERT_TRUE(adc.StartMeasure(0, 30000));
    QElapsedTimer wall;
    wall.start();
    DWORD queued = 0;
    while (queued < 65536 && wall.elapsed() < 10000)
        ASSERT_EQ(driver->FT_GetQueueStatus(adc.Handle(), &queued), FT_OK);
    EXPECT_EQ(queued, 65536u);
    std::vector<std::int32_t> codes(30000);
    std::int32_t done = 0;
    while (done < 30000 && wall.elapsed() < 10000) {
        std::int32_t got = 0;
        ASSERT_TRUE(adc.ReadData1(&codes[done], got, std::min(2000, 30000 - done)));
        done += got;
    }
    const long kept = FirstBreak(codes);
    EXPECT_GE(kept, 65536 / 3);
    EXPECT_LE(kept, (65536 + 64) / 3 + 1);
    adc.CloseBoard();
}

}  // namespace
