#pragma once

#include <cstddef>
#include <string>

// What the module korvadex-fftw hands out: the few FFTW calls Welch's
// method needs, so that FFTW loads with the first spectrum and not with
// every command. A plan is FFTW's, opaque here; the output of a real
// transform of n samples is n / 2 + 1 pairs (real, imaginary).
struct FftwModuleEntries {
    // fftw_plan_dft_r2c_1d with FFTW_ESTIMATE; the planner is not reentrant.
    void* (*PlanRealTransform)(int length, double* input, double* output);
    void (*Execute)(void* plan);
    void (*DestroyPlan)(void* plan);
    // FFTW's aligned memory, for the plan's buffers.
    void* (*Allocate)(std::size_t bytes);
    void (*Free)(void* memory);
};

class FftwModule {
public:
    // The module's entries, loaded on the first call; null with the reason
    // in `error` when the module cannot be loaded.
    static const FftwModuleEntries* Load(std::string& error);
    // The entries, or std::runtime_error with the reason: for the
    // arithmetic, which has no other way to say it cannot go on.
    static const FftwModuleEntries& Entries();
};
