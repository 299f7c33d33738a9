// The window's start as an operator sees it: the program's own start-up
// (RunWindowProgram), timed from the process's start to the first paint of
// a window. Prints "first_paint_ns <ns>", the wall clock (CLOCK_REALTIME) at
// that paint, for bench/cli/startup.sh to take the launch time from, and
// ends the process there: its teardown is no part of the figure.
#include "GuardedApplication.h"
#include "WindowProgram.h"

#include <QEvent>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::printf("first_paint_ns %lld\n",
                        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
            std::fflush(stdout);
            std::_Exit(0);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    GuardedApplication application(argc, argv);
    FirstPaint firstPaint;
    application.installEventFilter(&firstPaint);
    return RunWindowProgram(application);
}
