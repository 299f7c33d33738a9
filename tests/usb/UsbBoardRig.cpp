#include "UsbBoardRig.h"

#include "ftdi/FtdiD2xx.h"
#include "QtApplication.h"
#include "SimTestUtil.h"

#include <thread>

UsbEmulationSetup CounterSetup(std::uint16_t product)
{
    UsbEmulationSetup setup;
    setup.Board = CounterBoard();
    setup.Usb.ProductId = product;
    return setup;
}

namespace {

std::unique_ptr<D2xx> FreshDriver(const UsbEmulationSetup& setup)
{
    EnsureQtApplication();
    UsbEmulation::Reset(setup);
    return CreateFtdiD2xx();
}

}  // namespace

UsbBoardRig::UsbBoardRig(const UsbEmulationSetup& setup)
    : driver_(FreshDriver(setup))
    , adc_(nullptr, *driver_)
{
}

UsbBoardRig::~UsbBoardRig()
{
    adc_.CloseBoard();
}

TADC& UsbBoardRig::Adc()
{
    return adc_;
}

bool UsbBoardRig::Connect()
{
    return adc_.OpenBoard() && adc_.CheckBoard() && Name() == "KORVADEX" && Version() == "V1.00";
}

std::string UsbBoardRig::Name()
{
    char name[TADC::NameLength + 1] = "";
    return adc_.GetBoardName(name) ? name : "(failed)";
}

std::string UsbBoardRig::Version()
{
    char version[TADC::NameLength + 1] = "";
    return adc_.GetVersion(version) ? version : "(failed)";
}

bool UsbBoardRig::Start(int rateIndex, int mode, std::int32_t count)
{
    return adc_.SetSinc5() && adc_.SetDataRate(rateIndex) && adc_.StartMeasure(mode, count);
}

UsbBoardRig::Run UsbBoardRig::ReadRun(int mode, std::int32_t count, std::int32_t chunk,
                                      std::chrono::milliseconds quiet)
{
    std::vector<std::int32_t> ch0(static_cast<std::size_t>(count));
    std::vector<std::int32_t> ch1(static_cast<std::size_t>(count));
    Run run;
    std::int32_t done = 0;
    auto lastData = std::chrono::steady_clock::now();
    while (done < count && std::chrono::steady_clock::now() - lastData < quiet) {
        const std::int32_t wanted = std::min(chunk, count - done);
        std::int32_t got = 0;
        const bool ok = mode == 2 ? adc_.ReadData2(&ch0[done], &ch1[done], wanted, got)
                                  : adc_.ReadData1(&ch0[done], got, wanted);
        if (!ok) {
            run.ReadFailed = true;
            break;
        }
        if (got == 0) {
            // The reads never wait; spare the processor between polls.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        done += got;
        lastData = std::chrono::steady_clock::now();
    }
    for (std::int32_t i = 0; i < done; ++i) {
        run.Codes.push_back(ch0[i]);
        if (mode == 2)
            run.Codes.push_back(ch1[i]);
    }
    return run;
}
