// korvadex-sim-usb-board: the libusb stand-in's bus, its bridges and boards
// in a process of their own, for KORVADEX_SIM_PROCESS=1. It runs the
// stand-in's own emulation, so the variable that would send it here again
// goes first.

#include "BoardProcessLoop.h"
#include "UsbBoardServer.h"

#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    unsetenv("KORVADEX_SIM_PROCESS");
    std::unique_ptr<UsbBoardServer> server;
    return BoardProcessLoop::Run(argc, argv, "korvadex-sim-usb-board", [&](BoardProcessLoop::Shared) {
        server = std::make_unique<UsbBoardServer>();
        return [&](const std::uint8_t* body, std::size_t size) { return server->Answer(body, size); };
    });
}
