#include "Usage.h"

#include "Console.h"
#include "ExitCode.h"

QString Usage::Text()
{
    return QStringLiteral(
        "usage:\n"
        "  korvadex-cli info [--json] FILE.DTA...\n"
        "  korvadex-cli plot FILE.DTA [-o FILE.png] [--volt] [--labels]\n"
        "  korvadex-cli measure --rate ITEM --count ITEM --channel 0|1|2 --filter sinc3|sinc5\n"
        "                       [-o FILE.DTA] [--force] [--json] [--stall-timeout SECONDS]\n"
        "  korvadex-cli sweep --channel 0|1|2 [--count ITEM] [--time-cap SECONDS] [--csv]\n"
        "                     [--stall-timeout SECONDS]\n"
        "  korvadex-cli --help | --version\n"
        "A rate is given as the list shows it (\"100sps\") or by its index 0..16, a count\n"
        "(\"1000\") or by its index 0..9.\n"
        "exit codes: 0 done, 2 usage or file error, 3 board not found, 4 no response,\n"
        "5 board error, 6 read error during the run, 130 stopped by Ctrl-C");
}

QString Usage::Version()
{
    return QStringLiteral("korvadex-cli " KORVADEX_VERSION);
}

int Usage::Fail(const QString& error)
{
    Console::Err(QStringLiteral("korvadex-cli: ") + error);
    Console::Err(Text());
    return ExitUsageOrFile;
}
