#pragma once

// A line that stands out of a noise spectrum: its frequency, its amplitude
// as the peak of the sine it stands for, and, when it lies on mains hum,
// the mains frequency (50 or 60 Hz) and which harmonic (1 = the mains
// frequency itself).
struct Spur {
    double FrequencyHz = 0.0;
    double AmplitudeMicrovolts = 0.0;
    int MainsHz = 0;
    int Harmonic = 0;
};
