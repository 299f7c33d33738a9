#pragma once

#include "ResultsQuery.h"

#include <QString>

#include <vector>

// results --report: per plan, step, figure and channel a control chart (each value
// against its test's start, the limits drawn) and a histogram, three
// figures to an A4 page, as one PDF (or PNG pages). The limits drawn are
// those of the newest value, as the capability takes them. Needs a
// QGuiApplication.
class ResultsReport {
public:
    // False with the reason in `error` when the file cannot be written.
    static bool Write(const QString& path, const QString& heading, const std::vector<FigureSample>& samples,
                      QString& error);
};
