#pragma once

#include <QApplication>

#include <exception>
#include <functional>

// The program's application object. An exception that escapes an event
// handler is handed to the exception display, the one start-up shows its own
// failures in, and the program goes on with the next event; the event counts
// as not handled. Without a display the exception leaves as before.
class GuardedApplication : public QApplication {
public:
    using ExceptionDisplay = std::function<void(const std::exception&)>;

    GuardedApplication(int& argc, char** argv);

    // The application object of this process, if it is one of these.
    static GuardedApplication* Instance();

    void SetExceptionDisplay(ExceptionDisplay display);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    ExceptionDisplay display_;
};
