#include "Verdict.h"

Verdict Worst(Verdict a, Verdict b)
{
    return static_cast<int>(a) >= static_cast<int>(b) ? a : b;
}

QString VerdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Pass:
        return QStringLiteral("PASS");
    case Verdict::Marginal:
        return QStringLiteral("MARGINAL");
    case Verdict::Fail:
        return QStringLiteral("FAIL");
    case Verdict::Error:
        break;
    }
    return QStringLiteral("ERROR");
}
