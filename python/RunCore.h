#pragma once

#include "RunAnalysis.h"
#include "RunData.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <QString>

#include <memory>
#include <optional>

// One run as the window holds it, loaded from a ".DTA" file or measured,
// with what Python reads of it: settings, codes without a copy, the
// window's microvolts, the export's time axis, and the figures of the
// companion's info and report.
class RunCore {
public:
    explicit RunCore(QString name);

    // The window's load; FileFormatError with the window's text, or
    // FileNotFoundError / IsADirectoryError for a path that is no file.
    static std::unique_ptr<RunCore> Load(const QString& path);
    // The window's save. An existing file is replaced only with overwrite
    // (FileExistsError otherwise); a file that cannot be written raises
    // OSError with the window's text.
    void Save(const QString& path, bool overwrite) const;

    // Filled by a measurement before Python sees the run; not changed after.
    RunData& Data() { return *run_; }
    std::int32_t Samples() const;
    pybind11::dict Settings() const;

    // int32, (n,) or (n, 2) for CH0 + CH1, a read-only view of the run's
    // arrays kept alive by owner (this run's Python object).
    pybind11::array Codes(pybind11::handle owner) const;
    pybind11::array Microvolts();
    pybind11::array Time() const;

    // info --json of this run, as its text.
    pybind11::bytes NoiseJson();
    // One channel of report: histogram, spectrum and spurs (ValueError for a
    // channel without data).
    pybind11::dict Analysis(int channel);

private:
    // The window's microvolts and the report's figures of every channel, each
    // worked out once: noise(), histogram() and spectrum() share them.
    void Convert();
    const RunAnalysis& Analyse();

    QString name_;
    std::unique_ptr<RunData> run_;
    bool converted_ = false;
    std::optional<RunAnalysis> analysis_;
};
