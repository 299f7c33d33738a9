#include "BenchWindow.h"

#include <QComboBox>
#include <QCoreApplication>

namespace {

BoardConfig Counter()
{
    BoardConfig config;
    config.Signals.CounterPattern = true;
    return config;
}

} // namespace

BenchWindow::BenchWindow(std::uint64_t runBytes, const QString& savePath)
    : board(clock, Counter())
    , driver(board, runBytes)
    , files(savePath)
    , window(WindowServices{driver, boxes, yes, files, components})
{
    window.show();
    QCoreApplication::processEvents();
}

void BenchWindow::Start(int rate, int count, int channel)
{
    window.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(rate);
    window.findChild<QComboBox*>("ComboBox2")->setCurrentIndex(count);
    window.findChild<QComboBox*>("ComboBox3")->setCurrentIndex(channel);
    MeasureBtn()->click();
}

QPushButton* BenchWindow::MeasureBtn() const
{
    return window.findChild<QPushButton*>("MeasureBtn");
}
