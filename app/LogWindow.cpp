#include "LogWindow.h"

#include "AnalysisWindow.h"
#include "LogAnalysis.h"
#include "LogLayout.h"
#include "LogPlot.h"
#include "LogSource.h"
#include "LogTimeline.h"
#include "MeasureItems.h"
#include "ConfirmPrompt.h"
#include "FileChooser.h"
#include "Myfile.h"
#include "OverwriteQuestion.h"
#include "RunData.h"
#include "SampleTable.h"
#include "StretchExport.h"
#include "SummarizedLog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

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

constexpr int FollowMilliseconds = 1000;

// A long read's progress shown in a box that appears only when the read
// lasts, and whose cancel button ends the read.
std::function<bool(std::int64_t, std::int64_t)> StepsOf(QProgressDialog& progress)
{
    progress.setMinimumDuration(500);
    progress.setWindowModality(Qt::WindowModal);
    return [&progress](std::int64_t done, std::int64_t total) {
        progress.setValue(static_cast<int>(done * 1000 / std::max<std::int64_t>(total, 1)));
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    };
}

// The data file's own overwrite question, answered already by the window.
class AlreadyAgreed : public ConfirmPrompt {
public:
    bool AskYesNo(const QString&, const QString&) override { return true; }
};

// The size and time of change of a file, both 0 or invalid when it is not there.
std::pair<qint64, QDateTime> FileState(const QString& path)
{
    const QFileInfo file(path);
    return {file.size(), file.lastModified()};
}
// What the plot shows of a recording while it follows its end.
constexpr double StripSeconds = 10.0;
constexpr int OverviewHeight = 110;
// Fewer samples than this are pictured from their codes quickly enough.
constexpr std::int64_t SummarizeAbove = 1000000;

// Whether a writer may still be adding to the log: no run yet, or the last
// one running.
bool Running(LogSource& log)
{
    std::vector<LogRun> last;
    return log.RunCount() == 0
           || (log.ReadRuns(log.RunCount() - 1, 1, last) && last.size() == 1 && last[0].End == LogLayout::EndRunning);
}

} // namespace

struct LogWindow::Opened {
    std::unique_ptr<LogSource> Log;
    std::optional<LogTimeline> Timeline;
    std::vector<LogEvent> Events;
};

LogWindow::LogWindow(QWidget* parent, FileChooser* files, ConfirmPrompt* confirm)
    : QWidget(parent, Qt::Window)
    , plot_(new LogPlot(this))
    , overview_(new LogPlot(this))
    , status_(new QLabel(this))
    , channels_(new QComboBox(this))
    , volts_(new QCheckBox(tr("電圧値"), this))
    , utc_(new QCheckBox(QStringLiteral("UTC"), this))
    , summary_(new QLabel(this))
    , readout_(new QLabel(this))
    , follow_(new QTimer(this))
    , figures_(new QLabel(this))
    , analyse_(new QPushButton(tr("ノイズ解析"), this))
    , files_(files)
    , confirm_(confirm)
    , from_(new QLineEdit(this))
    , to_(new QLineEdit(this))
    , export_(new QPushButton(tr("書き出し..."), this))
{
    follow_->setInterval(FollowMilliseconds);
    connect(follow_, &QTimer::timeout, this, &LogWindow::FollowGrowth);
    setObjectName(QStringLiteral("LogWindow"));
    overview_->setObjectName(QStringLiteral("LogOverview"));
    overview_->setFixedHeight(OverviewHeight);
    overview_->hide();
    status_->setObjectName(QStringLiteral("LogRecording"));
    status_->hide();
    channels_->setObjectName(QStringLiteral("LogChannels"));
    volts_->setObjectName(QStringLiteral("LogVolts"));
    utc_->setObjectName(QStringLiteral("LogUtc"));
    utc_->setChecked(true);
    readout_->setObjectName(QStringLiteral("LogReadout"));
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    figures_->setObjectName(QStringLiteral("LogFigures"));
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    figures_->setText(tr("Shift+ドラッグで範囲を選ぶと、その範囲の数値を計算します。"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(channels_);
    controls->addWidget(volts_);
    controls->addWidget(utc_);
    auto* nextEvent = new QPushButton(tr("次のイベント"), this);
    nextEvent->setObjectName(QStringLiteral("LogNextEvent"));
    auto* noisiest = new QPushButton(tr("最もノイズの大きいブロック"), this);
    noisiest->setObjectName(QStringLiteral("LogNoisiest"));
    controls->addWidget(nextEvent);
    controls->addWidget(noisiest);
    analyse_->setObjectName(QStringLiteral("LogAnalyse"));
    analyse_->setEnabled(false);
    controls->addWidget(analyse_);
    connect(analyse_, &QPushButton::clicked, this, &LogWindow::ShowStretchAnalysis);
    connect(nextEvent, &QPushButton::clicked, plot_, &LogPlot::ShowNextEvent);
    connect(noisiest, &QPushButton::clicked, plot_, &LogPlot::ShowNoisiestBlock);
    controls->addWidget(summary_, 1);
    auto* stretch = new QHBoxLayout;
    from_->setObjectName(QStringLiteral("LogFrom"));
    to_->setObjectName(QStringLiteral("LogTo"));
    for (QLineEdit* field : {from_, to_})
        field->setPlaceholderText(tr("サンプル番号 または 2026-12-08 21:40:12.345"));
    auto* select = new QPushButton(tr("範囲を選ぶ"), this);
    select->setObjectName(QStringLiteral("LogSelect"));
    connect(select, &QPushButton::clicked, this, &LogWindow::SelectTyped);
    connect(to_, &QLineEdit::returnPressed, this, &LogWindow::SelectTyped);
    export_->setObjectName(QStringLiteral("LogExport"));
    export_->setEnabled(false);
    export_->setVisible(files_ != nullptr && confirm_ != nullptr);
    connect(export_, &QPushButton::clicked, this, &LogWindow::ExportStretch);
    stretch->addWidget(new QLabel(tr("範囲"), this));
    stretch->addWidget(from_, 1);
    stretch->addWidget(new QLabel(QStringLiteral("–"), this));
    stretch->addWidget(to_, 1);
    stretch->addWidget(select);
    stretch->addWidget(export_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(stretch);
    layout->addWidget(plot_, 1);
    layout->addWidget(overview_);
    layout->addWidget(status_);
    layout->addWidget(readout_);
    layout->addWidget(figures_);
    resize(900, 480);

    connect(channels_, &QComboBox::currentIndexChanged, this, &LogWindow::ChooseChannels);
    for (LogPlot* plot : {plot_, overview_}) {
        connect(volts_, &QCheckBox::toggled, plot, &LogPlot::SetVolts);
        connect(utc_, &QCheckBox::toggled, plot, &LogPlot::SetUtc);
    }
    connect(plot_, &LogPlot::Readout, readout_, &QLabel::setText);
    connect(plot_, &LogPlot::Failed, readout_, &QLabel::setText);
    connect(plot_, &LogPlot::StretchChosen, this, &LogWindow::Analyse);
}

LogWindow::~LogWindow() = default;

bool LogWindow::Load(const QString& path, Opened& opened, QString& error)
{
    opened.Log = LogSource::Open(path, error);
    if (!opened.Log)
        return false;
    opened.Timeline = LogTimeline::Of(*opened.Log, MeasureItems::SampleRate(opened.Log->Head().Settings));
    if (!opened.Timeline) {
        error = opened.Log->Error();
        return false;
    }
    opened.Events = EventsOf(*opened.Log);
    return true;
}

bool LogWindow::Open(const QString& path, QString& error)
{
    // The same file again is closed first, to be read as it stands now.
    if (log_ && QFileInfo(path) == QFileInfo(path_))
        ReleaseLog();
    Opened opened;
    if (!Load(path, opened, error) || !Summarize(opened, error)) {
        if (!log_)
            plot_->Show(nullptr, LogTimeline(), {});
        return false;
    }
    recording_ = false;
    overview_->hide();
    status_->hide();
    path_ = path;
    ShowOpened(opened);
    setWindowTitle(tr("ログ - %1").arg(QFileInfo(path).fileName()));
    if (Running(*log_))
        follow_->start();
    else
        follow_->stop();
    return true;
}

// A finished log of many samples without summaries gets them in memory, in
// one pass with a progress box that may cancel (then nothing opens, and
// `error` stays empty). A log being written is read as it is.
bool LogWindow::Summarize(Opened& opened, QString& error)
{
    if (opened.Log->SummaryLevels() > 0 || opened.Log->Samples() < SummarizeAbove || Running(*opened.Log))
        return true;
    QProgressDialog progress(tr("ログの要約を作っています..."), tr("キャンセル"), 0, 1000, this);
    opened.Log = SummarizedLog::Of(std::move(opened.Log), error, StepsOf(progress));
    return opened.Log != nullptr;
}

void LogWindow::FollowRecording(const QString& path)
{
    ReleaseLog();
    plot_->Show(nullptr, LogTimeline(), {});
    overview_->Show(nullptr, LogTimeline(), {});
    path_ = path;
    followed_ = {-1, QDateTime()};
    recording_ = true;
    overview_->show();
    status_->show();
    status_->setText(RecordingStatus());
    setWindowTitle(tr("記録中 - %1").arg(QFileInfo(path).fileName()));
    follow_->start();
}

void LogWindow::RecordingEnded(const QString& said)
{
    if (!recording_)
        return;
    followed_ = {-1, QDateTime()};
    FollowGrowth();
    recording_ = false;
    follow_->stop();
    status_->setText(tr("記録終了: %1").arg(said));
    setWindowTitle(tr("ログ - %1").arg(QFileInfo(path_).fileName()));
}

// The plots let go of the log before it goes.
void LogWindow::ReleaseLog()
{
    plot_->Release();
    overview_->Release();
    log_.reset();
}

void LogWindow::ShowOpened(Opened& opened)
{
    if (recording_)
        overview_->Show(opened.Log.get(), *opened.Timeline, opened.Events);
    plot_->Show(opened.Log.get(), std::move(*opened.Timeline), opened.Events);
    log_ = std::move(opened.Log);
    followed_ = FileState(path_);
    stretch_.reset();
    analyse_->setEnabled(false);
    export_->setEnabled(false);
    summary_->setText(Summary());
    OfferChannels();
}

// Reopened only when the file has changed. Until it opens again the plot
// is empty; a log that cannot be opened says why and is tried again. A
// recording's file may not be there yet.
void LogWindow::FollowGrowth()
{
    const std::pair<qint64, QDateTime> state = FileState(path_);
    if (log_ ? state == followed_ : state.first == 0) {
        if (recording_)
            status_->setText(RecordingStatus());
        return;
    }
    followed_ = state;
    const std::int64_t before = log_ ? log_->Samples() : -1;
    const bool atEnd = before < 0 || plot_->View().Last() >= before - 1;
    ReleaseLog();
    Opened opened;
    QString error;
    if (!Load(path_, opened, error)) {
        readout_->setText(error);
        return;
    }
    CountEvents(opened.Events);
    if (before < 0) {
        ShowOpened(opened);
    } else {
        if (recording_)
            overview_->Grow(opened.Log.get(), *opened.Timeline, opened.Events, before);
        plot_->Grow(opened.Log.get(), std::move(*opened.Timeline), opened.Events, before);
        log_ = std::move(opened.Log);
        summary_->setText(Summary());
    }
    if (recording_) {
        if (atEnd)
            ShowLastSeconds();
        status_->setText(RecordingStatus());
    } else if (!Running(*log_)) {
        follow_->stop();
    }
}

void LogWindow::ShowLastSeconds()
{
    const std::int64_t samples = log_->Samples();
    if (samples < 2)
        return;
    const auto strip = static_cast<std::int64_t>(StripSeconds * MeasureItems::SampleRate(log_->Head().Settings));
    plot_->ShowSamples(std::max<std::int64_t>(0, samples - strip), samples - 1);
}

void LogWindow::CountEvents(const std::vector<LogEvent>& events)
{
    reconnects_ = std::count_if(events.begin(), events.end(), [](const LogEvent& e) { return e.Kind == "back"; });
    cutRuns_ = std::count_if(events.begin(), events.end(), [](const LogEvent& e) { return e.Kind == "lost"; });
}

QString LogWindow::RecordingStatus() const
{
    if (!log_)
        return tr("記録の開始を待っています...");
    const std::int64_t samples = log_->Samples();
    const qint64 bytes = QFileInfo(path_).size();
    const QDateTime started = QDateTime::fromString(QString::fromStdString(log_->Head().Started), Qt::ISODateWithMs);
    const qint64 seconds = started.isValid() ? std::max<qint64>(0, started.secsTo(QDateTime::currentDateTimeUtc())) : 0;
    const QString elapsed = QStringLiteral("%1:%2:%3")
                                .arg(seconds / 3600)
                                .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return tr("記録中　%1 サンプル　経過 %2　%3 MB　%4 バイト/サンプル　再接続 %5 回　途切れたラン %6")
        .arg(samples)
        .arg(elapsed)
        .arg(static_cast<double>(bytes) / 1e6, 0, 'f', 1)
        .arg(samples > 0 ? static_cast<double>(bytes) / static_cast<double>(samples) : 0.0, 0, 'f', 2)
        .arg(reconnects_)
        .arg(cutRuns_);
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

// A long stretch shows its progress and may be cancelled; its samples are
// read once, a block at a time.
void LogWindow::Analyse(std::int64_t first, std::int64_t last)
{
    QProgressDialog progress(tr("範囲の数値を計算しています..."), tr("キャンセル"), 0, 1000, this);
    const auto step = StepsOf(progress);
    RunAnalysis analysis;
    QString error;
    stretch_.reset();
    analyse_->setEnabled(false);
    export_->setEnabled(false);
    const QString name = QStringLiteral("%1 #%2 - #%3").arg(QFileInfo(path_).fileName()).arg(first).arg(last);
    if (!LogAnalysis::Of(name, *log_, {{first, last - first + 1}}, true, analysis, error, step)) {
        figures_->setText(error.isEmpty() ? tr("計算を中止しました。") : error);
        return;
    }
    stretch_ = std::move(analysis);
    stretchSamples_ = {first, last};
    analyse_->setEnabled(true);
    export_->setEnabled(true);
    figures_->setText(tr("#%1 - #%2（%3 サンプル）").arg(first).arg(last).arg(last - first + 1) + QLatin1Char('\n')
                      + FiguresText(*stretch_));
}

QString LogWindow::FiguresText(const RunAnalysis& analysis)
{
    QStringList lines;
    const auto bits = [](const std::optional<double>& value) {
        return value ? QString::number(*value, 'f', 2) : QStringLiteral("-");
    };
    for (const ChannelAnalysis& channel : analysis.Channels) {
        const ChannelReport& f = channel.Figures;
        lines << tr("CH%1　最大 %2　最小 %3　p-p %4　σ %5 コード　｜　最大 %6　最小 %7　p-p %8　σ %9 µV　｜　実効分解能 %10 bit　ノイズフリー分解能 %11 bit")
                     .arg(f.Channel)
                     .arg(f.MaxCode)
                     .arg(f.MinCode)
                     .arg(f.PeakToPeakCode)
                     .arg(static_cast<double>(f.DevCode), 0, 'f', 3)
                     .arg(static_cast<double>(f.MaxMicrovolts), 0, 'f', 3)
                     .arg(static_cast<double>(f.MinMicrovolts), 0, 'f', 3)
                     .arg(f.PeakToPeakMicrovolts, 0, 'f', 3)
                     .arg(static_cast<double>(f.DevMicrovolts), 0, 'f', 3)
                     .arg(bits(f.Noise.EffectiveBits), bits(f.Noise.NoiseFreeBits));
    }
    return lines.join(QLatin1Char('\n'));
}

void LogWindow::ShowStretchAnalysis()
{
    if (!stretch_)
        return;
    if (!analysis_)
        analysis_ = std::make_unique<AnalysisWindow>(this);
    analysis_->ShowAnalysis(*stretch_);
    analysis_->show();
    analysis_->raise();
}

std::optional<std::int64_t> LogWindow::TypedSample(const QString& text) const
{
    const QString typed = text.trimmed();
    bool number = false;
    const qlonglong sample = typed.toLongLong(&number);
    if (number)
        return sample >= 0 && sample < log_->Samples() ? std::optional<std::int64_t>(sample) : std::nullopt;
    QDateTime time = QDateTime::fromString(QString(typed).replace(QLatin1Char(' '), QLatin1Char('T')), Qt::ISODateWithMs);
    if (!time.isValid())
        return std::nullopt;
    if (time.timeSpec() == Qt::LocalTime && utc_->isChecked())
        time.setTimeSpec(Qt::UTC);
    return plot_->Timeline().PositionOf(static_cast<double>(time.toMSecsSinceEpoch()));
}

bool LogWindow::SelectTyped()
{
    if (!log_)
        return false;
    const std::optional<std::int64_t> first = TypedSample(from_->text());
    const std::optional<std::int64_t> last = TypedSample(to_->text());
    if (!first || !last || *last < *first) {
        figures_->setText(tr("範囲を読めません: サンプル番号（0 から %1）か、ログの中の時刻を入れてください。").arg(log_->Samples() - 1));
        return false;
    }
    plot_->ShowSamples(*first, *last);
    plot_->SelectSamples(*first, *last);
    return stretch_.has_value();
}

bool LogWindow::ExportStretch()
{
    if (!stretch_ || files_ == nullptr || confirm_ == nullptr)
        return false;
    const QString path = files_->ChooseSavePath(
        tr("CSV (*.csv)|*.csv|データファイル (*.DTA)|*.DTA|PNG (*.png)|*.png"),
        QFileInfo(path_).completeBaseName() + QStringLiteral("-%1-%2.csv").arg(stretchSamples_.first).arg(stretchSamples_.second));
    if (path.isEmpty() || !MayOverwrite(*confirm_, path))
        return false;
    QString error;
    if (!WriteStretch(path, error)) {
        figures_->setText(tr("%1 を書き出せません: %2").arg(path, error));
        return false;
    }
    readout_->setText(tr("%1 に書き出しました").arg(path));
    return true;
}

bool LogWindow::WriteStretch(const QString& path, QString& error)
{
    const auto [first, last] = stretchSamples_;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) {
        plot_->ShowSamples(first, last);
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && plot_->grab().save(&file, "PNG") && file.commit())
            return true;
        error = file.errorString();
        return false;
    }
    if (suffix == QLatin1String("dta")) {
        const auto run = std::make_unique<RunData>();
        if (!StretchExport::Run(*log_, first, last - first + 1, *run, error))
            return false;
        AlreadyAgreed agreed;
        TmyFile file(agreed);
        const bool saved = run->Settings.CHSel == ModeDual
                               ? file.SaveFile2CH(path, &run->Settings, &run->Ch0Data, &run->Ch1Data)
                               : file.SaveFile1CH(path, &run->Settings, run->Settings.CHSel == ModeCh1 ? &run->Ch1Data : &run->Ch0Data);
        if (!saved)
            error = tr("書き込めません");
        return saved;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    const SampleTable table(',');
    const bool written = StretchExport::Table(
        *log_, {{first, last - first + 1}}, table,
        [&file](const std::string& text) { return file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()); },
        error);
    if (written && file.commit())
        return true;
    if (error.isEmpty())
        error = file.errorString();
    return false;
}
