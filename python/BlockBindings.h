#pragma once

#include <pybind11/pybind11.h>

// The per-block arithmetic of analysis/ over NumPy blocks: the moments,
// code counts, Welch segment sums and a channel's whole stream, each a
// partial result that merges with another and pickles through its parts, so
// that blocks may be worked in other processes or on other machines and
// joined where the report is finished.
class BlockBindings {
public:
    static void Define(pybind11::module_& module);
};
