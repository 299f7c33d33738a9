#pragma once

// The link's reply waits run on a Qt timer, which needs a QCoreApplication
// in the thread that waits. A Python process has none: the first board
// makes one, keeping the C library's locale as Python set it (Qt would
// switch it to the environment's, under which C's number formatting and
// parsing would no longer be Python's).
class QtEventLoop {
public:
    static void Ensure();
    // Whether the caller runs in the thread of the application Ensure made.
    static bool InThisThread();
};
