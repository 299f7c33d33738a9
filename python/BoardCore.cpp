#include "BoardCore.h"

#include "BoardProblem.h"
#include "DeviceChoice.h"
#include "D2xxLoader.h"
#include "PythonErrors.h"
#include "QtEventLoop.h"
#include "RunCore.h"

#include <QtGlobal>

#include <optional>

namespace py = pybind11;

namespace {

// How often a run looks for a signal: often enough for Ctrl-C to feel
// immediate, rarely enough that taking the GIL costs nothing.
constexpr std::chrono::milliseconds SignalCheckInterval(20);

// What stops a run from the Python side: the first exception raised by the
// progress callback or by a signal handler, kept until the board has stopped.
class PendingError {
public:
    bool Raised() const { return error_.has_value(); }
    void Keep(py::error_already_set&& error)
    {
        if (!error_)
            error_.emplace(std::move(error));
    }
    [[noreturn]] void Raise()
    {
        error_->restore();
        error_.reset();
        throw py::error_already_set();
    }

private:
    std::optional<py::error_already_set> error_;
};

} // namespace

namespace {

const QString SerialArgument = QStringLiteral("serial=");

} // namespace

BoardCore::BoardCore(const QString& serial)
    : driver_(LoadD2xx())
    , chosen_(*driver_)
    , serial_(serial.isEmpty() ? qEnvironmentVariable(DeviceChoice::Variable) : serial)
    , texts_(notices_)
{
    QtEventLoop::Ensure();
}

void BoardCore::Connect()
{
    RefuseUnsafeUse();
    const DeviceChoice choice = DeviceChoice::Apply(chosen_, serial_, {SerialArgument, SerialArgument + QStringLiteral("'SERIAL'")});
    if (choice.Code != ExitDone)
        PythonErrors::Raise("BoardNotFound", choice.Message);
    session_ = std::make_unique<BoardSession>(chosen_, texts_);
    const ExitCode result = session_->Connect();
    if (result == ExitDone)
        return;
    session_.reset();
    if (result == ExitNoResponse)
        PythonErrors::Raise("NoResponse", notices_.LatestBox());
    PythonErrors::Raise("BoardNotFound", notices_.LatestBox(),
                        BoardProblem::Reason(chosen_, serial_, SerialArgument + QStringLiteral("'SERIAL'")).toStdString());
}

void BoardCore::Close()
{
    RefuseUnsafeUse();
    session_.reset();
}

void BoardCore::RefuseUnsafeUse() const
{
    // The link's reply waits need the Qt event loop, which runs in one thread only.
    if (!QtEventLoop::InThisThread())
        PythonErrors::RaiseBuiltin(PyExc_RuntimeError,
                                   QStringLiteral("korvadex.Board works in the thread that made the first Board"));
    // A progress callback runs in the middle of a run.
    if (reading_)
        PythonErrors::RaiseBuiltin(PyExc_RuntimeError, QStringLiteral("the board is reading a run"));
}

std::vector<FtdiDevice> BoardCore::Devices()
{
    const std::unique_ptr<D2xx> driver = LoadD2xx();
    std::vector<FtdiDevice> devices;
    if (DeviceList::Read(*driver, devices) != FT_OK)
        devices.clear();
    return devices;
}

QString BoardCore::Identity() const
{
    return session_ ? session_->Identity() : QString();
}

std::unique_ptr<RunCore> BoardCore::Measure(const MeasureSettings& settings, py::object progress,
                                            std::chrono::milliseconds stallTimeout)
{
    RefuseUnsafeUse();
    // After a stop the link is closed: identify again, as the window does on its next start.
    if (!session_)
        Connect();
    notices_.TakeRemarks();
    auto core = std::make_unique<RunCore>(QStringLiteral("measurement"));
    RunData& run = core->Data();
    run.Settings = settings;

    PendingError pending;
    std::int32_t taken = 0;
    auto lastCheck = std::chrono::steady_clock::now();
    RunControl control;
    control.StallTimeout = stallTimeout;
    control.Progress = [&](std::int32_t got, std::int32_t total) {
        taken = got;
        if (progress.is_none())
            return;
        py::gil_scoped_acquire gil;
        try {
            progress(got, total);
        } catch (py::error_already_set& error) {
            pending.Keep(std::move(error));
        }
    };
    control.Interrupted = [&] {
        const auto now = std::chrono::steady_clock::now();
        if (!pending.Raised() && now - lastCheck >= SignalCheckInterval) {
            lastCheck = now;
            py::gil_scoped_acquire gil;
            if (PyErr_CheckSignals() != 0)
                pending.Keep(py::error_already_set());
        }
        return pending.Raised();
    };

    ExitCode result = ExitDone;
    reading_ = true;
    {
        py::gil_scoped_release released;
        result = session_->Measure(run, control);
    }
    reading_ = false;
    switch (result) {
    case ExitDone:
        return core;
    case ExitStopped:
        session_.reset();
        pending.Raise();
    case ExitBoardError: {
        const QString text = texts_.Panel(WindowTexts::BoardPanel);
        session_.reset();
        PythonErrors::Raise("BoardError", text);
    }
    default: {
        // The samples before the fault stay in the arrays; the run is cleared only in name.
        run.HoldSamples(taken);
        // The window's text, and why when the run said more (a stalled stream).
        const QString panel = texts_.Panel(WindowTexts::InfoPanel);
        QStringList remarks = notices_.TakeRemarks();
        remarks.removeAll(panel);
        const QString text = remarks.isEmpty() ? panel : panel + QStringLiteral(" (") + remarks.join(QStringLiteral("; ")) + QLatin1Char(')');
        session_.reset();
        PythonErrors::Raise("ReadError", text, py::cast(std::move(core)));
    }
    }
}
