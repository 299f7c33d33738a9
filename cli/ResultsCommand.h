#pragma once

#include <QStringList>

// korvadex-cli results [--db URL] [--serial S] [--plan NAME] [--since DATE]
// [--yield|--cpk] [--json|--csv]: what the results database holds, one row
// per measurement, or the first-pass yield per plan and day, or each
// figure's capability (Cpk). korvadex-cli results push DIR [--db URL]: the
// JSON records in DIR (as test --json writes them) into the database, each
// once. Exit 0 when done, 2 for usage errors, a database that cannot be
// reached or refuses, or a record that cannot be read or stored.
class ResultsCommand {
public:
    static int Run(const QStringList& words);
};
