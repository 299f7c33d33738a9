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

std::optional<Verdict> ParseVerdict(const QString& name)
{
    for (Verdict verdict : {Verdict::Pass, Verdict::Marginal, Verdict::Fail, Verdict::Error}) {
        if (name == VerdictName(verdict))
            return verdict;
    }
    return std::nullopt;
}

bool Passes(Verdict verdict)
{
    return verdict == Verdict::Pass || verdict == Verdict::Marginal;
}
