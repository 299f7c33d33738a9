#include "RunCore.h"

#include "AnalysisDicts.h"
#include "DataFileLoader.h"
#include "ForcePrompt.h"
#include "JsonReport.h"
#include "KeptNotices.h"
#include "MeasureItems.h"
#include "Myfile.h"
#include "PythonErrors.h"
#include "ReportAnalysis.h"
#include "WindowTexts.h"

#include <QFileInfo>

#include <algorithm>

namespace py = pybind11;

namespace {

bool Dual(const RunData& run)
{
    return run.Settings.CHSel == ModeDual;
}

// The channel a one-channel run holds: CH1 for a CH1 run, else CH0.
const ChannelData& Single(const RunData& run)
{
    return run.Settings.CHSel == ModeCh1 ? run.Ch1Data : run.Ch0Data;
}

void RefuseNoFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        PythonErrors::RaiseBuiltin(PyExc_IsADirectoryError, QStringLiteral("%1: is a folder, not a .DTA file").arg(path));
    if (!info.exists())
        PythonErrors::RaiseBuiltin(PyExc_FileNotFoundError, QStringLiteral("%1: no such file").arg(path));
}

} // namespace

RunCore::RunCore(QString name)
    : name_(std::move(name))
    , run_(std::make_unique<RunData>())
{
}

std::unique_ptr<RunCore> RunCore::Load(const QString& path)
{
    RefuseNoFile(path);
    auto core = std::make_unique<RunCore>(path);
    KeptNotices notices;
    WindowTexts texts(notices);
    if (!DataFileLoader::Load(path, *core->run_, texts))
        PythonErrors::Raise("FileFormatError", notices.LatestBox());
    return core;
}

void RunCore::Save(const QString& path, bool overwrite) const
{
    if (QFileInfo(path).isDir())
        PythonErrors::RaiseBuiltin(PyExc_IsADirectoryError, QStringLiteral("%1: is a folder").arg(path));
    ForcePrompt prompt(overwrite);
    TmyFile file(prompt);
    const bool saved = Dual(*run_) ? file.SaveFile2CH(path, &run_->Settings, &run_->Ch0Data, &run_->Ch1Data)
                                   : file.SaveFile1CH(path, &run_->Settings, &Single(*run_));
    if (!saved) {
        KeptNotices notices;
        WindowTexts texts(notices);
        texts.SetSubject(path);
        texts.Messages().MsgSaveError();
        PythonErrors::RaiseBuiltin(PyExc_OSError, notices.LatestBox());
    }
    if (prompt.Declined())
        PythonErrors::RaiseBuiltin(PyExc_FileExistsError,
                                   QStringLiteral("%1: exists; save(..., overwrite=True) replaces it").arg(path));
}

std::int32_t RunCore::Samples() const
{
    return Single(*run_).Count;
}

py::dict RunCore::Settings() const
{
    return AnalysisDicts::Settings(run_->Settings);
}

py::array RunCore::Codes(py::handle owner) const
{
    const py::ssize_t n = Samples();
    const py::ssize_t item = sizeof(std::int32_t);
    py::array codes;
    if (Dual(*run_)) {
        // Both columns are views: CH1's array lies a fixed distance after CH0's in the run.
        const py::ssize_t apart = reinterpret_cast<const char*>(run_->Ch1Codes) - reinterpret_cast<const char*>(run_->Ch0Codes);
        codes = py::array_t<std::int32_t>({n, py::ssize_t{2}}, {item, apart}, run_->Ch0Codes, owner);
    } else {
        codes = py::array_t<std::int32_t>({n}, {item}, Single(*run_).Codes, owner);
    }
    // Read-only: the file's and the figures' codes must stay those of the run.
    codes.attr("setflags")(py::arg("write") = false);
    return codes;
}

py::array RunCore::Microvolts()
{
    Convert();
    const py::ssize_t n = Samples();
    if (!Dual(*run_)) {
        const float* values = Single(*run_).Microvolts;
        py::array_t<double> microvolts(n);
        std::copy(values, values + n, microvolts.mutable_data());
        return std::move(microvolts);
    }
    py::array_t<double> microvolts({n, py::ssize_t{2}});
    auto m = microvolts.mutable_unchecked<2>();
    for (py::ssize_t i = 0; i < n; ++i) {
        m(i, 0) = run_->Ch0Microvolts[i];
        m(i, 1) = run_->Ch1Microvolts[i];
    }
    return std::move(microvolts);
}

py::array RunCore::Time() const
{
    const double rate = MeasureItems::SampleRate(run_->Settings);
    const py::ssize_t n = Samples();
    py::array_t<double> time(n);
    auto t = time.mutable_unchecked<1>();
    for (py::ssize_t i = 0; i < n; ++i)
        t(i) = static_cast<double>(i) / rate;
    return std::move(time);
}

void RunCore::Convert()
{
    if (!converted_)
        run_->ConvertAll();
    converted_ = true;
}

const RunAnalysis& RunCore::Analyse()
{
    if (!analysis_) {
        Convert();
        analysis_ = ReportAnalysis::Of(name_, run_->Settings, run_->Ch0Data, run_->Ch1Data);
    }
    return *analysis_;
}

py::bytes RunCore::NoiseJson()
{
    std::vector<ChannelReport> figures;
    for (const ChannelAnalysis& channel : Analyse().Channels)
        figures.push_back(channel.Figures);
    const QByteArray line = JsonReport::Line(name_, QString(), run_->Settings, figures);
    return py::bytes(line.constData(), static_cast<std::size_t>(line.size()));
}

py::dict RunCore::Analysis(int channel)
{
    const RunAnalysis& analysis = Analyse();
    const auto found = std::find_if(analysis.Channels.begin(), analysis.Channels.end(),
                                    [channel](const ChannelAnalysis& c) { return c.Figures.Channel == channel; });
    if (found == analysis.Channels.end())
        PythonErrors::RaiseBuiltin(PyExc_ValueError, QStringLiteral("channel %1 holds no data in this run (%2)")
                                                         .arg(channel)
                                                         .arg(MeasureItems::ChannelItem(run_->Settings.CHSel)));
    return AnalysisDicts::Channel(*found);
}
