#pragma once

class BoardChooser;
class ComponentFactory;
class ConfirmPrompt;
class D2xx;
class FileChooser;
class MessagePresenter;
class RecordAsker;

// Everything the main window reaches outside itself: the D2XX driver, and
// every box or dialog that would wait for a person. The program passes the
// real ones; the tests pass recorders and scripted answers. All must outlive
// the window.
struct WindowServices {
    D2xx& Driver;
    MessagePresenter& Messages;
    ConfirmPrompt& Confirm;
    FileChooser& Files;
    ComponentFactory& Components;
    // Asked which board to use when several FTDI devices are attached; without
    // one the link opens the first device.
    BoardChooser* Boards = nullptr;
    // The record dialog; without one the window offers no recording.
    RecordAsker* Records = nullptr;
};
