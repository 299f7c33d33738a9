#pragma once

#include "RecordAsker.h"
#include "RecordRequest.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// "記録": what a recording from the window takes. The file (".h5" for
// HDF5, another name for text), the rate, channel and filter, how long (a
// time, a number of runs, or until stopped), whether to wait for a board
// that goes, and where to publish its live figures. Start is offered only
// with a file named.
class RecordDialog : public QDialog {
    Q_OBJECT
public:
    explicit RecordDialog(const RecordRequest& proposal, QWidget* parent = nullptr);

    RecordRequest Request() const;

private:
    void Show(const RecordRequest& request);
    void Browse();
    void EnableChoices();

    RecordRequest proposal_;
    QLineEdit* path_;
    QComboBox* rate_;
    QComboBox* channel_;
    QComboBox* filter_;
    QRadioButton* forTime_;
    QRadioButton* forRuns_;
    QRadioButton* untilStopped_;
    QDoubleSpinBox* time_;
    QComboBox* timeUnit_;
    QSpinBox* runs_;
    QCheckBox* reconnect_;
    QLineEdit* publish_;
    QLineEdit* mqttUser_;
    QLineEdit* passwordFile_;
    QPushButton* start_;
};

// The dialog over the active window, for the program.
class QtRecordAsker : public RecordAsker {
public:
    std::optional<RecordRequest> AskRecord(const RecordRequest& proposal) override;
};
