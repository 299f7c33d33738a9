#pragma once

#include "BenchServices.h"
#include "ComponentFactory.h"
#include "KORVADEX_Main.h"
#include "RealClock.h"
#include "RunWatch.h"
#include "VirtualBoard.h"

#include <QPushButton>

#include <cstdint>

// The main window, shown, on the virtual board at real speed and on its
// counter pattern, the link watched run by run (runs of runBytes), boxes
// printed, questions answered yes and every file dialog given savePath.
struct BenchWindow {
    BenchWindow(std::uint64_t runBytes, const QString& savePath);

    // The three lists' items, then the start button.
    void Start(int rate, int count, int channel);
    QPushButton* MeasureBtn() const;

    RealClock clock{1.0};
    VirtualBoard board;
    RunWatch driver;
    PrintedBoxes boxes;
    Yes yes;
    OneFile files;
    ComponentFactory components;
    TFormMain window;
};
