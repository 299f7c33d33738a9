#pragma once

#include <QString>

#include <optional>

// How a figure, a step or a board came out. The order is the severity: a
// step or a board is the worst of its parts, and ERROR (the board could not
// be measured) outranks any verdict on figures.
enum class Verdict { Pass, Marginal, Fail, Error };

Verdict Worst(Verdict a, Verdict b);
// "PASS", "MARGINAL", "FAIL", "ERROR".
QString VerdictName(Verdict verdict);
// The verdict of such a name, or nothing.
std::optional<Verdict> ParseVerdict(const QString& name);
// PASS and MARGINAL pass.
bool Passes(Verdict verdict);
