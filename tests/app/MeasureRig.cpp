#include "MeasureRig.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

MeasureRig::MeasureRig()
    : probe(*window)
{
    Settle();
}

void MeasureRig::CountFrom(std::uint32_t start)
{
    SignalConfig pattern;
    pattern.CounterPattern = true;
    pattern.CounterStart = start;
    board.SetSignals(pattern);
}

void MeasureRig::Choose(int rate, int count, int channel, bool sinc5)
{
    Find<QComboBox>("ComboBox1")->setCurrentIndex(rate);
    Find<QComboBox>("ComboBox2")->setCurrentIndex(count);
    Find<QComboBox>("ComboBox3")->setCurrentIndex(channel);
    Find<QRadioButton>(sinc5 ? "Sinc5_RB" : "Sinc3_RB")->setChecked(true);
}

void MeasureRig::Press()
{
    Find<QPushButton>("MeasureBtn")->click();
}

std::vector<std::string> MeasureRig::TakeCommands()
{
    std::vector<std::string> commands;
    commands.swap(driver.Commands);
    return commands;
}

void MeasureRig::RunToEnd(std::chrono::milliseconds boardTime, int limit)
{
    clock.Advance(boardTime);
    for (int pass = 0; pass < limit && probe.Running(); ++pass)
        probe.IdlePass();
}

void MeasureRig::PassUntil(const std::function<bool()>& done, std::chrono::milliseconds step, int limit)
{
    for (int pass = 0; pass < limit && !done(); ++pass) {
        clock.Advance(step);
        probe.IdlePass();
    }
}

QString MeasureRig::MeasureCaption() const
{
    return Find<QPushButton>("MeasureBtn")->text();
}

bool MeasureRig::Unlocked() const
{
    for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "Sinc3_RB", "Sinc5_RB", "QuitBtn", "MeasureBtn"}) {
        if (!Find<QWidget>(name)->isEnabled())
            return false;
    }
    for (const char* name : {"File1", "Data1", "MenuY"}) {
        if (!Find<QMenu>(name)->menuAction()->isEnabled())
            return false;
    }
    return true;
}
