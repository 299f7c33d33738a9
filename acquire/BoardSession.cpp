#include "BoardSession.h"

#include "MeasureItems.h"
#include "RunData.h"
#include "WindowTexts.h"

#include <algorithm>
#include <thread>

namespace {

const char* const ExpectedName = "KORVADEX";

// Fewer samples than this from a stopped run are not worth keeping.
constexpr std::int32_t FewestKept = 10;

// Nothing queued: the next look comes when what the board sends meanwhile
// is there to be read chunk after chunk (at 125 ksps two chunks of 1000),
// instead of a look at the driver every millisecond; short enough for
// Ctrl-C and a stall's notice, and far shorter than the driver's queue
// holds.
constexpr std::chrono::milliseconds IdlePause(16);

} // namespace

BoardSession::BoardSession(D2xx& driver, WindowTexts& texts)
    : adc_(nullptr, driver)
    , texts_(texts)
{
}

ExitCode BoardSession::Connect()
{
    if (!adc_.OpenBoard()) {
        adc_.CloseBoard();
        texts_.Messages().MsgNotFound();
        texts_.Status().ShowNotFound();
        return ExitNotFound;
    }
    char name[TADC::NameLength + 1] = {};
    if (!adc_.CheckBoard() || !adc_.GetBoardName(name))
        return NoResponse();
    if (QString::fromLatin1(name) != QLatin1String(ExpectedName)) {
        adc_.CloseBoard();
        texts_.Messages().MsgNotFound();
        return ExitNotFound;
    }
    char version[TADC::NameLength + 1] = {};
    if (!adc_.GetVersion(version))
        return NoResponse();
    texts_.Status().ShowBoard(QString::fromLatin1(name), QString::fromLatin1(version));
    return ExitDone;
}

QString BoardSession::Identity() const
{
    return texts_.Panel(WindowTexts::BoardPanel);
}

ExitCode BoardSession::NoResponse()
{
    adc_.CloseBoard();
    texts_.Messages().MsgNoResponse();
    texts_.Status().ShowNoResponse();
    return ExitNoResponse;
}

ExitCode BoardSession::Measure(RunData& run, const RunControl& control)
{
    run.Clear();
    failure_ = Failure::None;
    if (control.Interrupted())
        return Stopped(run, 0);
    if (!Configure(run.Settings)) {
        failure_ = Failure::Refused;
        settingFault_ = QString::fromLatin1(adc_.LastSettingFault());
        texts_.Status().ShowBoardError();
        texts_.PrintPanel(WindowTexts::BoardPanel);
        return ExitBoardError;
    }
    const std::int32_t target = MeasureItems::CountValue(run.Settings.DataCountSel);
    const std::int32_t chunk = std::min(MeasureItems::ReadChunk(run.Settings.spsSel), target);
    std::int32_t taken = 0;
    auto lastSamples = std::chrono::steady_clock::now();
    while (taken < target) {
        if (control.Interrupted())
            return Stopped(run, taken);
        // The clock is read before the driver: a stall is called only after a
        // read that followed the time-out, so samples that came while the
        // program was held past it are still taken.
        const auto now = std::chrono::steady_clock::now();
        std::int32_t got = 0;
        if (!ReadChunk(run, taken, chunk, got)) {
            failure_ = Failure::ReadError;
            return ReadFailed(run);
        }
        if (got > 0) {
            taken += got;
            lastSamples = now;
            control.Progress(taken, target);
        } else if (now - lastSamples > control.StallTimeout) {
            texts_.Tell(QStringLiteral("no samples for %1 ms").arg(control.StallTimeout.count()));
            failure_ = Failure::Stall;
            return ReadFailed(run);
        } else {
            std::this_thread::sleep_for(IdlePause);
        }
    }
    // A complete run needs no stop command: the board was told the count.
    run.HoldSamples(target);
    return ExitDone;
}

bool BoardSession::Configure(const MeasureSettings& settings)
{
    const bool filterSet = settings.fSinc5 ? adc_.SetSinc5() : adc_.SetSinc3();
    return filterSet && adc_.SetDataRate(settings.spsSel)
           && adc_.StartMeasure(settings.CHSel, MeasureItems::CountValue(settings.DataCountSel));
}

bool BoardSession::ReadChunk(RunData& run, std::int32_t at, std::int32_t chunk, std::int32_t& got)
{
    switch (run.Settings.CHSel) {
    case ModeCh0:
        return adc_.ReadData1(run.Ch0Codes + at, got, chunk);
    case ModeCh1:
        return adc_.ReadData1(run.Ch1Codes + at, got, chunk);
    default:
        return adc_.ReadData2(run.Ch0Codes + at, run.Ch1Codes + at, chunk, got);
    }
}

ExitCode BoardSession::ReadFailed(RunData& run)
{
    adc_.StopMeasure();
    texts_.Status().ShowMeasureError();
    texts_.PrintPanel(WindowTexts::InfoPanel);
    run.Clear();
    return ExitReadError;
}

ExitCode BoardSession::Stopped(RunData& run, std::int32_t taken)
{
    adc_.StopMeasure();
    adc_.CloseBoard();
    texts_.Status().ShowMeasureStop();
    texts_.PrintPanel(WindowTexts::RunPanel);
    if (taken < FewestKept) {
        texts_.Status().ClearInfo();
        run.Clear();
    } else {
        run.HoldSamples(taken);
    }
    return ExitStopped;
}
