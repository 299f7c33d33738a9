// The libusb stand-in's board process server over the process's one bus (a
// board on the machine's clock, as the environment has it); one server for
// the whole run, since the bus and what was opened on it stay. Handle 1 is
// the first device of the latest list, handle 2 the latest handle opened.
#include "BoardProcessProtocol.h"
#include "FuzzedBoard.h"
#include "UsbBoardServer.h"
#include "UsbCall.h"

#include <cstdlib>

namespace {

using namespace BoardProcessProtocol;

class UsbFuzzedBoard : public FuzzedBoard {
public:
    std::optional<std::vector<std::uint8_t>> Answer(const std::uint8_t* body, std::size_t size) override
    {
        std::optional<std::vector<std::uint8_t>> reply = Server().Answer(body, size);
        if (!reply || size == 0)
            return reply;
        const ReplyHead head = ParseReplyHead(reply->data() + LengthSize);
        const std::size_t bytes = reply->size() - LengthSize - ReplyHeadSize;
        if (body[0] == static_cast<std::uint8_t>(UsbCall::GetDeviceList) && bytes >= 8)
            device_ = ReadHandle(reply->data() + LengthSize + ReplyHeadSize);
        if (body[0] == static_cast<std::uint8_t>(UsbCall::Open) && head.Handle != 0)
            handle_ = head.Handle;
        return reply;
    }

    std::uint64_t HandleFor(std::uint64_t placeholder) const override
    {
        return placeholder == 1 ? device_ : placeholder == 2 ? handle_ : 0;
    }

private:
    // Never freed: transfers in flight and open handles stay the bus's. The
    // bus is this process's, as in the board process.
    static UsbBoardServer& Server()
    {
        static UsbBoardServer* server = [] {
            unsetenv("KORVADEX_SIM_PROCESS");
            return new UsbBoardServer();
        }();
        return *server;
    }

    static std::uint64_t device_;
    static std::uint64_t handle_;
};

std::uint64_t UsbFuzzedBoard::device_ = 0;
std::uint64_t UsbFuzzedBoard::handle_ = 0;

}  // namespace

std::unique_ptr<FuzzedBoard> MakeFuzzedBoard()
{
    return std::make_unique<UsbFuzzedBoard>();
}
