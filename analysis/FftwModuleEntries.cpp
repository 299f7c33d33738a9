#include "FftwModule.h"
#include "ProgramModule.h"

#include <fftw3.h>

// The module korvadex-fftw: FFTW's real transform, its plans and memory.

namespace {

void* PlanRealTransform(int length, double* input, double* output)
{
    return fftw_plan_dft_r2c_1d(length, input, reinterpret_cast<fftw_complex*>(output), FFTW_ESTIMATE);
}

void Execute(void* plan)
{
    fftw_execute(static_cast<fftw_plan>(plan));
}

void DestroyPlan(void* plan)
{
    fftw_destroy_plan(static_cast<fftw_plan>(plan));
}

const FftwModuleEntries entries{PlanRealTransform, Execute, DestroyPlan, fftw_malloc, fftw_free};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)
