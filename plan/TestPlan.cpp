#include "TestPlan.h"

PlanStep* TestPlan::StepNamed(const QString& name)
{
    for (PlanStep& step : Steps) {
        if (step.Name == name)
            return &step;
    }
    return nullptr;
}
