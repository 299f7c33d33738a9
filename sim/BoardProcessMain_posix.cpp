// korvadex-sim-board: the drop-in D2XX library's virtual devices in a
// process of their own, for KORVADEX_SIM_PROCESS=1.

#include "BoardProcessLoop.h"
#include "BoardProcessServer.h"
#include "DevicesOnRealClock.h"

#include <memory>

int main(int argc, char** argv)
{
    std::unique_ptr<DevicesOnRealClock> board;
    std::unique_ptr<BoardProcessServer> server;
    return BoardProcessLoop::Run(argc, argv, "korvadex-sim-board", [&](BoardProcessLoop::Shared shared) {
        board = std::make_unique<DevicesOnRealClock>();
        // The stream, when the library shares memory of its size.
        if (shared.Bytes == sizeof(BoardStream::Region))
            server = std::make_unique<BoardProcessServer>(board->Devices(), *static_cast<BoardStream::Region*>(shared.Memory));
        else
            server = std::make_unique<BoardProcessServer>(board->Devices());
        return [&](const std::uint8_t* body, std::size_t size) { return server->Answer(body, size); };
    });
}
