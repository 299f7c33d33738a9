// The extension korvadex._korvadex: the C++ side of the korvadex package.
// Names, docstrings and exceptions live in the pure-Python package around it.
#include "BlockBindings.h"
#include "BlockSummary.h"
#include "BoardCore.h"
#include "DeviceList.h"
#include "LogCore.h"
#include "LogLayout.h"
#include "RunArguments.h"
#include "RunCore.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <QString>

namespace py = pybind11;

namespace {

QString Text(const py::handle& value)
{
    return QString::fromStdString(py::str(value).cast<std::string>());
}

QString Path(const py::handle& path)
{
    return QString::fromStdString(py::module_::import("os").attr("fsdecode")(path).cast<std::string>());
}

} // namespace

PYBIND11_MODULE(_korvadex, module)
{
    // A summary level's rows as NumPy sees them, with h5py's field names.
    PYBIND11_NUMPY_DTYPE_EX(BlockSummary, Min, "min", Max, "max", Count, "count", Sum, "sum", M2, "m2");
    module.attr("__version__") = KORVADEX_VERSION;
    module.attr("CODES_DATASET") = LogLayout::Codes;

    py::class_<RunCore>(module, "RunCore")
        .def_static("load", [](const py::object& path) { return RunCore::Load(Path(path)); })
        .def("save", [](const RunCore& run, const py::object& path, bool overwrite) { run.Save(Path(path), overwrite); })
        .def("samples", &RunCore::Samples)
        .def("settings", &RunCore::Settings)
        .def("codes", [](py::object self) { return self.cast<const RunCore&>().Codes(self); })
        .def("microvolts", &RunCore::Microvolts)
        .def("time", &RunCore::Time)
        .def("noise_json", &RunCore::NoiseJson)
        .def("analysis", &RunCore::Analysis);

    py::class_<LogCore>(module, "LogCore")
        .def_static("open", [](const py::object& path) { return LogCore::Open(Path(path)); })
        .def("head", &LogCore::Head)
        .def("run_count", &LogCore::RunCount)
        .def("runs", &LogCore::Runs)
        .def("event_count", &LogCore::EventCount)
        .def("events", &LogCore::Events)
        .def("samples", &LogCore::Samples)
        .def("channels", &LogCore::Channels)
        .def("read_codes", &LogCore::ReadCodes)
        .def("summary", &LogCore::Summary)
        .def("envelope", &LogCore::Envelope)
        .def("close", &LogCore::Close)
        .def("report", &LogCore::Report);

    BlockBindings::Define(module);

    py::class_<BoardCore>(module, "BoardCore")
        .def(py::init([](const py::object& serial) {
                 return std::make_unique<BoardCore>(serial.is_none() ? QString() : Text(serial));
             }))
        .def("connect", &BoardCore::Connect)
        .def("close", &BoardCore::Close)
        .def("connected", &BoardCore::Connected)
        .def_static("devices", [] {
            py::list rows;
            for (const FtdiDevice& device : BoardCore::Devices())
                rows.append(py::make_tuple(device.Index, device.Serial.toStdString(), device.Description.toStdString(),
                                           device.Type.toStdString(), device.Location.toStdString(),
                                           DeviceList::StateName(device.State).toStdString(),
                                           device.Reason.toStdString()));
            return rows;
        })
        .def("identity", [](const BoardCore& board) { return board.Identity().toStdString(); })
        .def("measure", [](BoardCore& board, const py::object& rate, const py::object& count, const py::object& channel,
                           const py::object& filter, const py::object& progress, double stallTimeout) {
            const MeasureSettings settings = RunArguments::Settings(Text(rate), Text(count), Text(channel), Text(filter));
            if (!(stallTimeout > 0.0))
                throw py::value_error("stall_timeout must be a number of seconds above 0");
            return board.Measure(settings, progress,
                                 std::chrono::milliseconds(static_cast<std::int64_t>(stallTimeout * 1000.0)));
        });
}
