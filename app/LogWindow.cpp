#include "LogWindow.h"

#include "LogPlot.h"
#include "LogSource.h"
#include "LogTimeline.h"
#include "MeasureItems.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// Every event of the log; nothing but a warning in the readout when they
// cannot be read, as the samples still can.
std::vector<LogEvent> EventsOf(LogSource& log)
{
    std::vector<LogEvent> events;
    if (!log.ReadEvents(0, log.EventCount(), events))
        events.clear();
    return events;
}

} // namespace

LogWindow::LogWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , plot_(new LogPlot(this))
    , channels_(new QComboBox(this))
    , volts_(new QCheckBox(tr("電圧値"), this))
    , utc_(new QCheckBox(QStringLiteral("UTC"), this))
    , summary_(new QLabel(this))
    , readout_(new QLabel(this))
{
    setObjectName(QStringLiteral("LogWindow"));
    channels_->setObjectName(QStringLiteral("LogChannels"));
    volts_->setObjectName(QStringLiteral("LogVolts"));
    utc_->setObjectName(QStringLiteral("LogUtc"));
    utc_->setChecked(true);
    readout_->setObjectName(QStringLiteral("LogReadout"));
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* controls = new QHBoxLayout;
    controls->addWidget(channels_);
    controls->addWidget(volts_);
    controls->addWidget(utc_);
    controls->addWidget(summary_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(plot_, 1);
    layout->addWidget(readout_);
    resize(900, 480);

    connect(channels_, &QComboBox::currentIndexChanged, this, &LogWindow::ChooseChannels);
    connect(volts_, &QCheckBox::toggled, plot_, &LogPlot::SetVolts);
    connect(utc_, &QCheckBox::toggled, plot_, &LogPlot::SetUtc);
    connect(plot_, &LogPlot::Readout, readout_, &QLabel::setText);
    connect(plot_, &LogPlot::Failed, readout_, &QLabel::setText);
}

LogWindow::~LogWindow() = default;

bool LogWindow::Open(const QString& path, QString& error)
{
    std::unique_ptr<LogSource> log = LogSource::Open(path, error);
    if (!log)
        return false;
    const double rate = MeasureItems::SampleRate(log->Head().Settings);
    std::optional<LogTimeline> timeline = LogTimeline::Of(*log, rate);
    if (!timeline) {
        error = log->Error();
        return false;
    }
    const std::vector<LogEvent> events = EventsOf(*log);
    log_ = std::move(log);
    setWindowTitle(tr("ログ - %1").arg(QFileInfo(path).fileName()));
    summary_->setText(Summary());
    OfferChannels();
    plot_->Show(log_.get(), std::move(*timeline), events);
    return true;
}

QString LogWindow::Summary() const
{
    if (!log_)
        return QString();
    return tr("%1 サンプル　%2 ラン　%3")
        .arg(log_->Samples())
        .arg(log_->RunCount())
        .arg(QString::fromStdString(log_->Head().SettingsText));
}

// Both channels and each alone for a CH0 + CH1 log; its one channel otherwise.
void LogWindow::OfferChannels()
{
    const QSignalBlocker quiet(channels_);
    channels_->clear();
    if (log_->Channels() == 2) {
        channels_->addItem(QStringLiteral("CH0 + CH1"), 3);
        channels_->addItem(QStringLiteral("CH0"), 1);
        channels_->addItem(QStringLiteral("CH1"), 2);
    } else {
        channels_->addItem(log_->Head().Settings.CHSel == ModeCh1 ? QStringLiteral("CH1") : QStringLiteral("CH0"), 1);
    }
    channels_->setEnabled(channels_->count() > 1);
    plot_->SetChannels(3);
}

void LogWindow::ChooseChannels()
{
    plot_->SetChannels(channels_->currentData().toInt());
}
