#include "D2xxLoader.h"

#include "Ad7175.h"
#include "ChosenD2xx.h"
#include "DeviceList.h"
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

// The device list and FT_OpenEx are found by name (on Windows too, where the
// seven functions come by ordinal), and the link reaches the listed device by
// its serial number.
TEST_F(LoaderTest, TheDeviceListIsBoundByNameAndOpensBySerialNumber)
{
    auto driver = LoadD2xxLibrary(FAKE_VENDOR_LIBRARY);
    ASSERT_NE(driver, nullptr);
    ASSERT_NE(driver->Discovery(), nullptr);
    std::vector<FtdiDevice> devices;
    ASSERT_EQ(DeviceList::Read(*driver, devices), FT_OK);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].Serial, QStringLiteral("FAKE0001"));
    EXPECT_EQ(devices[0].Description, QStringLiteral("Loopback FIFO"));
    EXPECT_EQ(devices[0].Type, QStringLiteral("FT232H"));
    EXPECT_EQ(devices[0].Location, QStringLiteral("0x002A"));
    EXPECT_EQ(devices[0].State, DeviceState::Usable);

    ChosenD2xx chosen(*driver);
    ASSERT_TRUE(chosen.Choose("FAKE0001"));
    ExpectWorkingLink(chosen);
    ASSERT_TRUE(chosen.Choose("OTHER"));
    TADC adc(nullptr, chosen);
    EXPECT_FALSE(adc.OpenBoard()) << "no device has that serial number";
}

// An older library without the three functions still serves device 0, which
// is all the list can then say.
TEST_F(LoaderTest, ALibraryWithoutTheDeviceListServesDeviceZero)
{
    auto driver = LoadD2xxLibrary(PLAIN_VENDOR_LIBRARY);
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->Discovery(), nullptr);
    std::vector<FtdiDevice> devices;
    ASSERT_EQ(DeviceList::Read(*driver, devices), FT_OK);
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].Index, 0);
    EXPECT_TRUE(devices[0].Serial.isEmpty());
    EXPECT_EQ(devices[0].State, DeviceState::Usable);

    ChosenD2xx chosen(*driver);
    EXPECT_FALSE(chosen.Choose("FAKE0001")) << "nothing to open a serial number with";
    ExpectWorkingLink(chosen);
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
