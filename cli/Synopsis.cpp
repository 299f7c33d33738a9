#include "Synopsis.h"

const char* Synopsis::Text()
{
    return
        "usage:\n"
        "  korvadex-cli info [--json] FILE.DTA|LOG... [--runs A-B] [--from TIME] [--to TIME]\n"
        "  korvadex-cli plot FILE.DTA [-o FILE.png] [--volt] [--labels] | plot LOG -o FILE.png\n"
        "  korvadex-cli measure --rate ITEM --count ITEM --channel 0|1|2 --filter sinc3|sinc5\n"
        "                       [-o FILE.DTA] [--force] [--json] [--stall-timeout SECONDS]\n"
        "                       [--board SERIAL]\n"
        "  korvadex-cli sweep --channel 0|1|2 [--count ITEM] [--time-cap SECONDS] [--csv]\n"
        "                     [--stall-timeout SECONDS] [--board SERIAL]\n"
        "  korvadex-cli export FILE.DTA|LOG... [--csv|--tsv] [-o OUT] [--runs A-B] [--from/--to TIME]\n"
        "  korvadex-cli report FILE.DTA|LOG... [-o OUT.pdf|OUT.png] [--json] [--runs A-B]\n"
        "                      [--from/--to TIME]\n"
        "  korvadex-cli log --rate ITEM --channel 0|1|2 --filter sinc3|sinc5 -o OUT.csv\n"
        "                   [--duration SECONDS|--runs N] [--stall-timeout SECONDS] [--board SERIAL]\n"
        "                   [--reconnect[=SECONDS]]\n"
        "  korvadex-cli index [--force] LOG.h5...\n"
        "  korvadex-cli devices [--json] [--identify] [--board SERIAL]\n"
        "  korvadex-cli test PLAN.toml [--board SERIAL]... | [--all-boards] [--json DIR]\n"
        "                    [--junit FILE] [--keep DIR] [--limits CSV] [--db URL] ...\n"
        "  korvadex-cli results [--db URL] [--serial S] [--plan NAME] [--since DATE]\n"
        "                       [--yield|--cpk|--report OUT.pdf] [--json|--csv]\n"
        "  korvadex-cli results push DIR [--db URL]\n"
        "  korvadex-cli --help | --version\n"
        "export, report, log, index, test and results take --help. A LOG is a long-term\n"
        "log of log -o, text or HDF5, of any length.\n"
        "A rate is given as the list shows it (\"100sps\") or by its index 0..16, a count\n"
        "(\"1000\") or by its index 0..9.\n"
        "devices lists the attached FTDI devices (only --identify sends anything to them).\n"
        "With several attached, measure, sweep and log need the board's serial number:\n"
        "--board SERIAL, or the environment variable KORVADEX_BOARD.\n"
        "exit codes: 0 done, 1 no FTDI device (devices), 2 usage or file error,\n"
        "3 board not found, 4 no response,\n"
        "5 board error, 6 read error during the run, 7 the board did not come back\n"
        "within log --reconnect=SECONDS, 130 stopped by Ctrl-C";
}

const char* Synopsis::Version()
{
    return "korvadex-cli " KORVADEX_VERSION;
}
