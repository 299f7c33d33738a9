#pragma once

#include "ResultsQuery.h"

#include <QString>
#include <QStringList>

#include <vector>

// korvadex-cli results [--db URL] [--serial S] [--plan NAME] [--since DATE]
// [--yield|--cpk|--report OUT.pdf] [--json|--csv]: what the results
// database holds, one row per measurement, or the first-pass yield per plan
// and day, or each figure's capability (Cpk), or their charts in a PDF. korvadex-cli results push DIR [--db URL]: the
// JSON records in DIR (as test --json writes them) into the database, each
// once. Exit 0 when done, 2 for usage errors, a database that cannot be
// reached or refuses, or a record that cannot be read or stored.
class ResultsCommand {
public:
    static const QString ReportOption;
    // Draws --report's charts; only the drawing module has one, and the
    // program runs results there when --report is given.
    using ReportWriter = bool (*)(const QString& path, const QString& heading, const std::vector<FigureSample>& samples,
                                  QString& error);

    static int Run(const QStringList& words, ReportWriter writeReport = nullptr);
};
