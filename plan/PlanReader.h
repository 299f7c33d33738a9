#pragma once

#include "TestPlan.h"

#include <QString>

#include <optional>

// Reads a test plan from its TOML file:
//
//     [plan]
//     name = "front-end noise"
//     version = "3"
//
//     [[step]]
//     name = "noise 1 kSPS"
//     rate = "1ksps"         # an item of the rate list
//     count = 10000          # an item of the count list
//     channel = 0            # 0, 1 or 2 (CH0 + CH1)
//     filter = "sinc5"       # sinc3 or sinc5
//     repeat = 1             # optional
//
//     [step.limits]
//     rms_uV = { high = 1.2, marginal_high = 1.0 }
//     density_uV_rtHz = { band = [10, 100], high = 0.05 }
//
// Anything not understood refuses the whole plan, before any board is
// touched, with "FILE:LINE:COLUMN: what is wrong": a TOML syntax error, an
// unknown key or figure, an unknown rate or count, a low above a high, a
// step without a name or a name used twice.
class PlanReader {
public:
    std::optional<TestPlan> Read(const QString& path);
    QString Error() const { return error_; }

private:
    QString error_;
};
