#pragma once

#include <QStringList>

// korvadex-cli test PLAN.toml [--board S]... | [--all-boards] [--limits CSV
// [--decimal-comma]] [--json DIR] [--junit FILE] [--keep DIR] [--station
// NAME] [--operator NAME] [--stall-timeout SECONDS]: the plan on every
// chosen board at once, one worker and link per board, each figure judged
// against its limits. A bad plan is refused before any board is touched.
// Exit 0 when every board passed (MARGINAL passes), 1 when any failed, 3
// when any could not be measured (ERROR), 2 for usage or plan errors.
// With --recheck, the stored tests of the plan are judged again from their
// kept runs, with no board.
class TestCommand {
public:
    static int Run(const QStringList& words);
};
