// The D2XX board process's server over a fresh set of devices, a board and
// a loopback adapter, on a clock that moves at every reading; handle 1 is
// the latest one opened.
#include "BoardConfig.h"
#include "BoardProcessProtocol.h"
#include "BoardProcessServer.h"
#include "FuzzedBoard.h"
#include "ManualClock.h"
#include "VirtualDevices.h"

#include <chrono>

namespace {

class D2xxFuzzedBoard : public FuzzedBoard {
public:
    D2xxFuzzedBoard()
        : clock_(std::chrono::milliseconds(1))
        , devices_(clock_, {{"KVX0001", SimDevice::Kind::Board}, {"echo", SimDevice::Kind::EchoAdapter}}, Counting())
        , server_(devices_)
    {
    }

    std::optional<std::vector<std::uint8_t>> Answer(const std::uint8_t* body, std::size_t size) override
    {
        std::optional<std::vector<std::uint8_t>> reply = server_.Answer(body, size);
        if (reply) {
            const BoardProcessProtocol::ReplyHead head =
                BoardProcessProtocol::ParseReplyHead(reply->data() + BoardProcessProtocol::LengthSize);
            if (head.Handle != 0)
                latest_ = head.Handle;
        }
        return reply;
    }

    std::uint64_t HandleFor(std::uint64_t placeholder) const override { return placeholder == 1 ? latest_ : 0; }

private:
    static BoardConfig Counting()
    {
        BoardConfig board;
        board.Signals.CounterPattern = true;
        return board;
    }

    ManualClock clock_;
    VirtualDevices devices_;
    BoardProcessServer server_;
    std::uint64_t latest_ = 0;
};

}  // namespace

std::unique_ptr<FuzzedBoard> MakeFuzzedBoard()
{
    return std::make_unique<D2xxFuzzedBoard>();
}
