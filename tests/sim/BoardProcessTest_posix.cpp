// The board in a process of its own: it goes when its host goes, and a board
// process that dies leaves its host with calls that fail at once as they do
// when the board's cable is pulled.

#include "BoardProcessClient.h"

#if defined(SIM_USB_LIBRARY)
#include <libusb.h>
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr std::chrono::seconds Patience{10};
constexpr std::chrono::milliseconds PollEvery{10};
// The kernel keeps 15 characters of a program's name.
constexpr const char* D2xxBoardName = "korvadex-sim-bo";

// The processes named `name` whose parent is `parent`, from /proc.
std::vector<pid_t> BoardsOf(pid_t parent, const char* name = D2xxBoardName)
{
    std::vector<pid_t> boards;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line))
            continue;
        // pid (name) state ppid ...; the name may hold spaces, so from the last ')'.
        const std::size_t open = line.find('(');
        const std::size_t close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos)
            continue;
        char state = 0;
        int ppid = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == parent &&
            line.compare(open + 1, close - open - 1, name) == 0)
            boards.push_back(static_cast<pid_t>(std::atol(line.c_str())));
    }
    return boards;
}

bool Within(std::chrono::steady_clock::duration patience, const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(PollEvery);
    }
    return true;
}

// The host with its standard output on a pipe; its first line is the number
// of devices it listed.
pid_t StartHost(int& output)
{
    int ends[2];
    if (pipe(ends) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    char* arguments[] = {const_cast<char*>(SIM_BOARD_HOST), const_cast<char*>(SIM_D2XX_LIBRARY), nullptr};
    pid_t host = -1;
    if (posix_spawn(&host, SIM_BOARD_HOST, &actions, nullptr, arguments, environ) != 0)
        host = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    output = ends[0];
    return host;
}

std::string FirstLine(int descriptor)
{
    std::string line;
    char c = 0;
    while (read(descriptor, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

TEST(BoardProcess, EndsWhenItsHostIsKilled)
{
    // The board, orphaned, comes to this process, which can then await it.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    setenv("KORVADEX_SIM_PROCESS", "1", 1);
    int output = -1;
    const pid_t host = StartHost(output);
    ASSERT_GT(host, 0);
    EXPECT_EQ(FirstLine(output), "1");
    close(output);
    const std::vector<pid_t> boards = BoardsOf(host);
    ASSERT_EQ(boards.size(), 1u);

    kill(host, SIGKILL);
    ASSERT_EQ(waitpid(host, nullptr, 0), host);
    EXPECT_TRUE(Within(Patience, [&] { return waitpid(boards[0], nullptr, WNOHANG) == boards[0]; }))
        << "the board process outlived its host";
}

// Over the socket alone, and with the stream the library shares with it,
// whose slot the dead board process no longer fills.
class KilledBoardProcess : public ::testing::TestWithParam<std::size_t> {};

TEST_P(KilledBoardProcess, FailsEveryCallAsAPulledCable)
{
    BoardProcessClient client(StartBoardProcess("korvadex-sim-board", SIM_BOARD_PROGRAM, GetParam()));
    FT_HANDLE handle = nullptr;
    ASSERT_EQ(client.FT_Open(0, &handle), FT_OK);
    const std::vector<pid_t> boards = BoardsOf(getpid());
    ASSERT_EQ(boards.size(), 1u);
    ASSERT_EQ(kill(boards[0], SIGKILL), 0);

    char bytes[64] = "?\r";
    DWORD count = 99;
    FT_HANDLE other = nullptr;
    D2xxDiscovery& discovery = *client.Discovery();
    const struct {
        const char* call;
        std::function<FT_STATUS()> make;
        FT_STATUS expected;
    } calls[] = {
        {"FT_Write", [&] { return client.FT_Write(handle, bytes, 2, &count); }, FT_IO_ERROR},
        {"FT_Read", [&] { return client.FT_Read(handle, bytes, sizeof bytes, &count); }, FT_IO_ERROR},
        {"FT_GetQueueStatus", [&] { return client.FT_GetQueueStatus(handle, &count); }, FT_IO_ERROR},
        {"FT_Purge", [&] { return client.FT_Purge(handle, FT_PURGE_RX); }, FT_IO_ERROR},
        {"FT_SetUSBParameters", [&] { return client.FT_SetUSBParameters(handle, 4096, 4096); }, FT_IO_ERROR},
        {"FT_Close", [&] { return client.FT_Close(handle); }, FT_IO_ERROR},
        {"FT_Open", [&] { return client.FT_Open(0, &other); }, FT_DEVICE_NOT_FOUND},
        {"FT_OpenEx", [&] { return discovery.FT_OpenEx(const_cast<char*>("KVX0001"), FT_OPEN_BY_SERIAL_NUMBER, &other); },
         FT_DEVICE_NOT_FOUND},
    };
    for (const auto& call : calls)
        EXPECT_EQ(call.make(), call.expected) << call.call;
    EXPECT_EQ(count, 0u) << "a failed read or write counts no bytes";
    DWORD listed = 99;
    EXPECT_EQ(discovery.FT_CreateDeviceInfoList(&listed), FT_OK);
    EXPECT_EQ(listed, 0u) << "the board is off the list";
    // Reaped by the link: no zombie left behind.
    EXPECT_TRUE(Within(Patience, [&] { return !std::filesystem::exists("/proc/" + std::to_string(boards[0])); }));
}

INSTANTIATE_TEST_SUITE_P(Links, KilledBoardProcess, ::testing::Values(std::size_t{0}, sizeof(BoardStream::Region)),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return info.param == 0 ? std::string("SocketAlone") : std::string("WithStream");
                         });

#if defined(SIM_USB_LIBRARY)
// The libusb stand-in, loaded apart from anything else, with the board in a
// process of its own.
class StandIn {
public:
    StandIn()
    {
        setenv("KORVADEX_SIM_PROCESS", "1", 1);
        library_ = dlopen(SIM_USB_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    }

    template <typename Function>
    Function* Get(const char* name) const
    {
        return library_ ? reinterpret_cast<Function*>(dlsym(library_, name)) : nullptr;
    }

private:
    void* library_ = nullptr;  // kept loaded: its board process ends with the test
};

TEST(BoardProcess, AKilledUsbBoardProcessFailsEveryCallAsAPulledCable)
{
    const StandIn usb;
    const auto getDeviceList = usb.Get<decltype(libusb_get_device_list)>("libusb_get_device_list");
    const auto open = usb.Get<decltype(libusb_open)>("libusb_open");
    const auto control = usb.Get<decltype(libusb_control_transfer)>("libusb_control_transfer");
    const auto bulk = usb.Get<decltype(libusb_bulk_transfer)>("libusb_bulk_transfer");
    const auto submit = usb.Get<decltype(libusb_submit_transfer)>("libusb_submit_transfer");
    const auto allocTransfer = usb.Get<decltype(libusb_alloc_transfer)>("libusb_alloc_transfer");
    const auto handleEvents =
        usb.Get<decltype(libusb_handle_events_timeout_completed)>("libusb_handle_events_timeout_completed");
    const auto freeTransfer = usb.Get<decltype(libusb_free_transfer)>("libusb_free_transfer");
    const auto freeDeviceList = usb.Get<decltype(libusb_free_device_list)>("libusb_free_device_list");
    const auto close = usb.Get<decltype(libusb_close)>("libusb_close");
    ASSERT_TRUE(getDeviceList && open && control && bulk && submit && allocTransfer && handleEvents && freeTransfer &&
                freeDeviceList && close);
    libusb_device** list = nullptr;
    ASSERT_EQ(getDeviceList(nullptr, &list), 1);
    libusb_device_handle* handle = nullptr;
    ASSERT_EQ(open(list[0], &handle), LIBUSB_SUCCESS);
    // A read waits in flight for the board's next packet when the board process dies.
    unsigned char in[64];
    libusb_transfer* transfer = allocTransfer(0);
    int back = 0;
    libusb_fill_bulk_transfer(
        transfer, handle, 0x81, in, sizeof in, [](libusb_transfer* t) { *static_cast<int*>(t->user_data) = 1; },
        &back, 0);
    const std::vector<pid_t> boards = BoardsOf(getpid(), "korvadex-sim-us");
    ASSERT_EQ(boards.size(), 1u);
    ASSERT_EQ(submit(transfer), LIBUSB_SUCCESS);
    ASSERT_EQ(kill(boards[0], SIGKILL), 0);

    timeval wait{Patience.count(), 0};
    EXPECT_EQ(handleEvents(nullptr, &wait, &back), LIBUSB_SUCCESS);
    EXPECT_EQ(back, 1) << "the read in flight came back";
    EXPECT_EQ(transfer->status, LIBUSB_TRANSFER_NO_DEVICE);
    unsigned char out[2] = {'?', '\r'};
    int sent = 99;
    EXPECT_EQ(bulk(handle, 0x02, out, sizeof out, &sent, 0), LIBUSB_ERROR_NO_DEVICE);
    EXPECT_EQ(sent, 0);
    EXPECT_EQ(control(handle, 0x40, 0, 0, 0, nullptr, 0, 0), LIBUSB_ERROR_NO_DEVICE);
    libusb_device_handle* again = nullptr;
    EXPECT_EQ(open(list[0], &again), LIBUSB_ERROR_NO_DEVICE);
    libusb_device** after = nullptr;
    EXPECT_EQ(getDeviceList(nullptr, &after), 0) << "the bus is empty";
    freeDeviceList(after, 1);
    freeTransfer(transfer);
    close(handle);
    freeDeviceList(list, 1);
    EXPECT_TRUE(Within(Patience, [&] { return !std::filesystem::exists("/proc/" + std::to_string(boards[0])); }));
}
#endif

}  // namespace
