#include "ftdi/FtdiD2xx.h"

#include "FakeUsbPort.h"
#include "Polling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The driver on a scripted device; `usb` is the device while it is open.
class FtdiD2xxOnFake : public ::testing::Test {
protected:
    FtdiD2xxOnFake()
        : driver([this](int deviceNumber, FT_STATUS& status) -> std::unique_ptr<UsbPort> {
            requestedDevice = deviceNumber;
            status = openStatus;
            if (openStatus != FT_OK)
                return nullptr;
            auto port = std::make_unique<FakeUsbPort>(&usbDestroyed);
            usb = port.get();
            return port;
        })
    {
    }

    FT_HANDLE Open()
    {
        FT_HANDLE handle = nullptr;
        EXPECT_EQ(driver.FT_Open(0, &handle), FT_OK);
        EXPECT_NE(handle, nullptr);
        return handle;
    }

    DWORD QueuedSoon(FT_HANDLE handle, DWORD expected)
    {
        DWORD queued = 0;
        WaitUntil([&] { return driver.FT_GetQueueStatus(handle, &queued) != FT_OK || queued >= expected; });
        return queued;
    }

    FT_STATUS openStatus = FT_OK;
    int requestedDevice = -1;
    bool usbDestroyed = false;
    FakeUsbPort* usb = nullptr;
    FtdiD2xx driver;
};

std::vector<unsigned char> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

TEST_F(FtdiD2xxOnFake, OpenFailsWithTheOpenersReasonAndNoHandle)
{
    for (FT_STATUS reason : {FT_DEVICE_NOT_FOUND, FT_DEVICE_NOT_OPENED}) {
        openStatus = reason;
        FT_HANDLE handle = &openStatus;
        EXPECT_EQ(driver.FT_Open(0, &handle), reason);
        EXPECT_EQ(handle, nullptr);
    }
}

TEST_F(FtdiD2xxOnFake, OneDeviceAtATimeAndItsHandleEndsAtClose)
{
    FT_HANDLE handle = Open();
    EXPECT_EQ(requestedDevice, 0);
    FT_HANDLE second = &openStatus;
    EXPECT_EQ(driver.FT_Open(0, &second), FT_DEVICE_NOT_OPENED);
    EXPECT_EQ(second, nullptr);

    EXPECT_EQ(driver.FT_Close(handle), FT_OK);
    EXPECT_TRUE(usbDestroyed);
    DWORD queued = 7;
    EXPECT_EQ(driver.FT_GetQueueStatus(handle, &queued), FT_INVALID_HANDLE);
    EXPECT_EQ(queued, 0u);
    EXPECT_EQ(driver.FT_Close(handle), FT_INVALID_HANDLE);
}

TEST_F(FtdiD2xxOnFake, EveryCallChecksTheHandle)
{
    Open();
    unsigned char buffer[4] = {};
    DWORD count = 0;
    FT_HANDLE stranger = buffer;
    EXPECT_EQ(driver.FT_Read(stranger, buffer, 4, &count), FT_INVALID_HANDLE);
    EXPECT_EQ(driver.FT_Write(nullptr, buffer, 4, &count), FT_INVALID_HANDLE);
    EXPECT_EQ(driver.FT_Purge(stranger, FT_PURGE_RX), FT_INVALID_HANDLE);
    EXPECT_EQ(driver.FT_GetQueueStatus(stranger, &count), FT_INVALID_HANDLE);
    EXPECT_EQ(driver.FT_SetUSBParameters(stranger, 4096, 0), FT_INVALID_HANDLE);
    EXPECT_EQ(driver.FT_Close(stranger), FT_INVALID_HANDLE);
    EXPECT_FALSE(usbDestroyed);
}

TEST_F(FtdiD2xxOnFake, NullOutArgumentsAreRefused)
{
    FT_HANDLE handle = Open();
    unsigned char buffer[4] = {};
    DWORD count = 0;
    EXPECT_EQ(driver.FT_Open(0, nullptr), FT_INVALID_PARAMETER);
    EXPECT_EQ(driver.FT_Read(handle, buffer, 4, nullptr), FT_INVALID_PARAMETER);
    EXPECT_EQ(driver.FT_Read(handle, nullptr, 4, &count), FT_INVALID_PARAMETER);
    EXPECT_EQ(driver.FT_Write(handle, nullptr, 4, &count), FT_INVALID_PARAMETER);
    EXPECT_EQ(driver.FT_GetQueueStatus(handle, nullptr), FT_INVALID_PARAMETER);
    EXPECT_EQ(driver.FT_Read(handle, nullptr, 0, &count), FT_OK);
    EXPECT_EQ(count, 0u);
}

TEST_F(FtdiD2xxOnFake, ReadsAnswerFromTheQueueWithoutWaiting)
{
    FT_HANDLE handle = Open();
    usb->Arrive(Bytes("OK"));
    usb->Arrive(Bytes("\r"));
    ASSERT_EQ(QueuedSoon(handle, 3), 3u);
    unsigned char reply[8] = {};
    DWORD got = 0;
    // More than is queued gives what is queued, at once.
    EXPECT_EQ(driver.FT_Read(handle, reply, sizeof reply, &got), FT_OK);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(std::string(reply, reply + 3), "OK\r");
    EXPECT_EQ(driver.FT_Read(handle, reply, sizeof reply, &got), FT_OK);
    EXPECT_EQ(got, 0u);
}

TEST_F(FtdiD2xxOnFake, WritesGoOutUnchanged)
{
    FT_HANDLE handle = Open();
    unsigned char command[] = {'U', '?', '\r'};
    DWORD written = 0;
    EXPECT_EQ(driver.FT_Write(handle, command, 3, &written), FT_OK);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(usb->Written(), Bytes("U?\r"));
}

TEST_F(FtdiD2xxOnFake, TransferSizeFollowsTheVendorsRule)
{
    FT_HANDLE handle = Open();
    EXPECT_EQ(driver.FT_SetUSBParameters(handle, 0, 0), FT_INVALID_PARAMETER);
    EXPECT_EQ(driver.FT_SetUSBParameters(handle, 100, 0), FT_INVALID_PARAMETER);
    EXPECT_EQ(driver.FT_SetUSBParameters(handle, 65536 + 64, 0), FT_INVALID_PARAMETER);
    EXPECT_EQ(driver.FT_SetUSBParameters(handle, 512, 0), FT_OK);
    EXPECT_TRUE(WaitUntil([&] { return usb->LastReadCapacity() == 512; }));
}

TEST_F(FtdiD2xxOnFake, PurgeMaskPicksTheQueues)
{
    FT_HANDLE handle = Open();
    usb->Arrive(Bytes("stale"));
    ASSERT_EQ(QueuedSoon(handle, 5), 5u);

    EXPECT_EQ(driver.FT_Purge(handle, FT_PURGE_TX), FT_OK);
    EXPECT_EQ(usb->DiscardTransmitCalls(), 1);
    EXPECT_EQ(usb->DiscardReceivedCalls(), 0);
    EXPECT_EQ(QueuedSoon(handle, 5), 5u);

    EXPECT_EQ(driver.FT_Purge(handle, FT_PURGE_RX | FT_PURGE_TX), FT_OK);
    EXPECT_EQ(usb->DiscardTransmitCalls(), 2);
    EXPECT_EQ(usb->DiscardReceivedCalls(), 1);
    DWORD queued = 9;
    EXPECT_EQ(driver.FT_GetQueueStatus(handle, &queued), FT_OK);
    EXPECT_EQ(queued, 0u);

    EXPECT_EQ(driver.FT_Purge(handle, 4), FT_INVALID_PARAMETER);
}

// Every later call on the handle reports the I/O error; FT_Close still
// releases the device, and a new FT_Open starts afresh.
void ExpectEveryCallFails(FtdiD2xx& driver, FT_HANDLE handle)
{
    unsigned char buffer[4] = {'?', '\r'};
    DWORD count = 9;
    EXPECT_EQ(driver.FT_GetQueueStatus(handle, &count), FT_IO_ERROR);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(driver.FT_Read(handle, buffer, 4, &count), FT_IO_ERROR);
    EXPECT_EQ(driver.FT_Write(handle, buffer, 2, &count), FT_IO_ERROR);
    EXPECT_EQ(driver.FT_Purge(handle, FT_PURGE_RX | FT_PURGE_TX), FT_IO_ERROR);
    EXPECT_EQ(driver.FT_SetUSBParameters(handle, 4096, 0), FT_IO_ERROR);
    EXPECT_EQ(driver.FT_Close(handle), FT_OK);
}

TEST_F(FtdiD2xxOnFake, AReadErrorFailsEveryLaterCall)
{
    FT_HANDLE handle = Open();
    usb->Arrive(Bytes("12"));
    usb->ArriveError();
    DWORD queued = 0;
    ASSERT_TRUE(WaitUntil([&] { return driver.FT_GetQueueStatus(handle, &queued) == FT_IO_ERROR; }));
    ExpectEveryCallFails(driver, handle);
    EXPECT_TRUE(usbDestroyed);
    handle = Open();
    EXPECT_EQ(driver.FT_GetQueueStatus(handle, &queued), FT_OK);
}

TEST_F(FtdiD2xxOnFake, AWriteErrorFailsEveryLaterCall)
{
    FT_HANDLE handle = Open();
    usb->FailWrites();
    unsigned char command[] = {'?', '\r'};
    DWORD written = 5;
    EXPECT_EQ(driver.FT_Write(handle, command, 2, &written), FT_IO_ERROR);
    EXPECT_EQ(written, 0u);
    ExpectEveryCallFails(driver, handle);
}

TEST_F(FtdiD2xxOnFake, AFailedPurgeFailsEveryLaterCall)
{
    FT_HANDLE handle = Open();
    usb->FailDiscards();
    EXPECT_EQ(driver.FT_Purge(handle, FT_PURGE_TX), FT_IO_ERROR);
    ExpectEveryCallFails(driver, handle);
}

// The real driver on this machine: without a board (or without USB at all)
// the open fails with a status, never a crash or a handle.
TEST(FtdiD2xxOnLibftdi, OpenWithoutABoardReportsFailure)
{
    std::unique_ptr<D2xx> driver = CreateFtdiD2xx();
    int marker = 0;
    FT_HANDLE handle = &marker;
    const FT_STATUS status = driver->FT_Open(0, &handle);
    if (status == FT_OK) {
        driver->FT_Close(handle);
        GTEST_SKIP() << "an FTDI device is attached to this machine";
    }
    EXPECT_TRUE(status == FT_DEVICE_NOT_FOUND || status == FT_DEVICE_NOT_OPENED) << status;
    EXPECT_EQ(handle, nullptr);
}

} // namespace
