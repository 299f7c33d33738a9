#include "D2xxLoader.h"

#include "Ad7175.h"
#include "DetachedD2xx.h"
#include "LinkTest.h"

namespace {

class LoaderTest : public LinkTest {};

// A link over the loaded library: the fake library loops what is written
// back, so a command comes back as data and every function is exercised.
void ExpectWorkingLink(D2xx& driver)
{
    TADC adc(nullptr, driver);
    ASSERT_TRUE(adc.OpenBoard());
    ASSERT_TRUE(adc.StartMeasure(0, 1000));
    std::uint8_t echo[8];
    std::int32_t got = 0;
    ASSERT_TRUE(adc.ReadExact(echo, 8, got));
    EXPECT_EQ(std::string(echo, echo + got), "A0003E8\r");
    adc.CloseBoard();
}

TEST_F(LoaderTest, ALibraryWithTheSevenFunctionsIsUsedThroughTheInterface)
{
    auto driver = LoadD2xxLibrary(FAKE_VENDOR_LIBRARY);
    ASSERT_NE(driver, nullptr);
    ExpectWorkingLink(*driver);

    FT_HANDLE handle = nullptr;
    ASSERT_EQ(driver->FT_Open(0, &handle), FT_OK);
    ASSERT_EQ(driver->FT_Close(handle), FT_OK);
    DWORD written = 0;
    char byte = '?';
    EXPECT_EQ(driver->FT_Write(handle, &byte, 1, &written), FT_INVALID_HANDLE) << "closed for real";
}

TEST_F(LoaderTest, AMissingLibraryIsNotLoadable)
{
    EXPECT_EQ(LoadD2xxLibrary("/nonexistent/libftd2xx.so"), nullptr);
    EXPECT_EQ(LoadD2xxLibrary(""), nullptr);
}

TEST_F(LoaderTest, ALibraryLackingOneFunctionIsNotLoadable)
{
    EXPECT_EQ(LoadD2xxLibrary(INCOMPLETE_VENDOR_LIBRARY), nullptr);
}

// The test's LD_LIBRARY_PATH holds the fake under the vendor's own name, so
// the loader must find it before any other driver (run it through ctest).
TEST_F(LoaderTest, TheVendorLibraryComesFirst)
{
    auto driver = LoadD2xx();
    ASSERT_NE(driver, nullptr);
    ExpectWorkingLink(*driver);
}

TEST_F(LoaderTest, WithoutALibraryTheBoardIsSimplyNotFound)
{
    DetachedD2xx driver;
    FT_HANDLE handle = &driver;
    EXPECT_EQ(driver.FT_Open(0, &handle), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(handle, nullptr);
    DWORD count = 5;
    std::uint8_t buffer[4];
    EXPECT_EQ(driver.FT_GetQueueStatus(nullptr, &count), FT_INVALID_HANDLE);
    EXPECT_EQ(driver.FT_Read(nullptr, buffer, 4, &count), FT_INVALID_HANDLE);
    EXPECT_EQ(driver.FT_Write(nullptr, buffer, 4, &count), FT_INVALID_HANDLE);
    EXPECT_EQ(driver.FT_Purge(nullptr, 3), FT_INVALID_HANDLE);
    EXPECT_EQ(driver.FT_SetUSBParameters(nullptr, 4096, 0), FT_INVALID_HANDLE);
    EXPECT_EQ(driver.FT_Close(nullptr), FT_INVALID_HANDLE);

    TADC adc(nullptr, driver);
    EXPECT_FALSE(adc.OpenBoard());
    EXPECT_FALSE(adc.CheckBoard());
}

} // namespace
