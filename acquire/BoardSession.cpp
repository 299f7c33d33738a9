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

// Nothing (more) queued: the next look comes when what the board sends
// meanwhile is there to be read at once, instead of a look at the driver
// every millisecond; short enough for Ctrl-C and a stall's notice, and far
// shorter than the driver's queue holds.
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
    const std::int32_t chunk = ReadSize(run.Settings, target);
    const std::int64_t unitBytes = run.Settings.CHSel == ModeDual ? TADC::FrameBytes : TADC::SampleBytes;
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
        if (!ReadChunk(run, taken, std::min(chunk, target - taken), got)) {
            failure_ = Failure::ReadError;
            return ReadFailed(run);
        }
        if (got > 0) {
            taken += got;
            lastSamples = now;
            control.Progress(taken, target);
            // Less than the next read is known to be there: asking the
            // driver again at once would only find it short.
            if (taken < target && adc_.Waiting() < std::min(chunk, target - taken) * unitBytes)
                std::this_thread::sleep_for(IdlePause);
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

// Whole chunks of the rate's read size, as many as come in an idle pause
// (at 125 ksps two chunks of 1000), and no more than a read can hold: one
// look at the driver and one read a pause, at any rate.
std::int32_t BoardSession::ReadSize(const MeasureSettings& settings, std::int32_t target)
{
    const std::int32_t chunk = std::min(MeasureItems::ReadChunk(settings.spsSel), target);
    const std::int32_t unitBytes = settings.CHSel == ModeDual ? TADC::FrameBytes : TADC::SampleBytes;
    const double perPause = MeasureItems::SampleRate(settings) * std::chrono::duration<double>(IdlePause).count();
    const std::int32_t fits = std::max(1, TADC::DataBufSize / unitBytes / std::max(chunk, 1));
    const std::int32_t chunks = std::clamp(static_cast<std::int32_t>(perPause / std::max(chunk, 1)), 1, fits);
    return std::min(chunk * chunks, target);
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
