#include "RecordDialog.h"

#include "MeasureItems.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>

namespace {

// The time units offered, in seconds.
constexpr std::array<double, 4> UnitSeconds{1.0, 60.0, 3600.0, 86400.0};

// The largest unit in which the time is a whole number.
int UnitOf(double seconds)
{
    for (int unit = static_cast<int>(UnitSeconds.size()) - 1; unit > 0; --unit) {
        const double count = seconds / UnitSeconds[static_cast<std::size_t>(unit)];
        if (count >= 1.0 && count == static_cast<double>(static_cast<long long>(count)))
            return unit;
    }
    return 0;
}

} // namespace

RecordDialog::RecordDialog(const RecordRequest& proposal, QWidget* parent)
    : QDialog(parent)
    , proposal_(proposal)
    , path_(new QLineEdit(this))
    , rate_(new QComboBox(this))
    , channel_(new QComboBox(this))
    , filter_(new QComboBox(this))
    , forTime_(new QRadioButton(tr("時間", "for a length of time"), this))
    , forRuns_(new QRadioButton(tr("ラン数"), this))
    , untilStopped_(new QRadioButton(tr("停止するまで"), this))
    , time_(new QDoubleSpinBox(this))
    , timeUnit_(new QComboBox(this))
    , runs_(new QSpinBox(this))
    , reconnect_(new QCheckBox(tr("ボードが外れたら戻るまで待つ"), this))
    , publish_(new QLineEdit(this))
    , mqttUser_(new QLineEdit(this))
    , passwordFile_(new QLineEdit(this))
    , start_(nullptr)
{
    setObjectName(QStringLiteral("RecordDialog"));
    setWindowTitle(tr("記録"));
    path_->setObjectName(QStringLiteral("RecordPath"));
    rate_->setObjectName(QStringLiteral("RecordRate"));
    channel_->setObjectName(QStringLiteral("RecordChannel"));
    filter_->setObjectName(QStringLiteral("RecordFilter"));
    forTime_->setObjectName(QStringLiteral("RecordForTime"));
    forRuns_->setObjectName(QStringLiteral("RecordForRuns"));
    untilStopped_->setObjectName(QStringLiteral("RecordUntilStopped"));
    time_->setObjectName(QStringLiteral("RecordTime"));
    timeUnit_->setObjectName(QStringLiteral("RecordTimeUnit"));
    runs_->setObjectName(QStringLiteral("RecordRuns"));
    reconnect_->setObjectName(QStringLiteral("RecordReconnect"));
    publish_->setObjectName(QStringLiteral("RecordPublish"));
    mqttUser_->setObjectName(QStringLiteral("RecordMqttUser"));
    passwordFile_->setObjectName(QStringLiteral("RecordPasswordFile"));

    for (int i = 0; i < MeasureItems::RateCount; ++i)
        rate_->addItem(MeasureItems::RateItem(i));
    for (int i = 0; i < MeasureItems::ChannelCount; ++i)
        channel_->addItem(MeasureItems::ChannelItem(i));
    for (std::uint8_t sinc5 : {std::uint8_t{0}, std::uint8_t{1}})
        filter_->addItem(MeasureItems::FilterItem(sinc5));
    time_->setRange(0.001, 1e9);
    time_->setDecimals(3);
    timeUnit_->addItems({tr("秒"), tr("分"), tr("時間", "the unit"), tr("日")});
    runs_->setRange(1, 100000000);
    publish_->setPlaceholderText(QStringLiteral("mqtt://HOST[:PORT]/PREFIX"));
    // Wide enough for a folder and a dated name.
    path_->setMinimumWidth(340);

    auto* browse = new QPushButton(tr("参照..."), this);
    browse->setObjectName(QStringLiteral("RecordBrowse"));
    connect(browse, &QPushButton::clicked, this, &RecordDialog::Browse);
    auto* file = new QHBoxLayout;
    file->addWidget(path_, 1);
    file->addWidget(browse);

    auto* settings = new QFormLayout;
    settings->addRow(tr("ファイル（.h5 は HDF5、ほかはテキスト）"), file);
    settings->addRow(tr("データレート"), rate_);
    settings->addRow(tr("チャンネル"), channel_);
    settings->addRow(tr("フィルタ"), filter_);

    auto* length = new QGroupBox(tr("記録する長さ"), this);
    auto* lengthLayout = new QFormLayout(length);
    auto* time = new QHBoxLayout;
    time->addWidget(time_, 1);
    time->addWidget(timeUnit_);
    lengthLayout->addRow(forTime_, time);
    lengthLayout->addRow(forRuns_, runs_);
    lengthLayout->addRow(untilStopped_);
    auto* lengths = new QButtonGroup(this);
    for (QRadioButton* button : {forTime_, forRuns_, untilStopped_})
        lengths->addButton(button);
    connect(lengths, &QButtonGroup::buttonToggled, this, &RecordDialog::EnableChoices);

    auto* publishing = new QGroupBox(tr("ライブ数値の送信（任意）"), this);
    auto* publishLayout = new QFormLayout(publishing);
    publishLayout->addRow(tr("送信先"), publish_);
    publishLayout->addRow(tr("ユーザー名"), mqttUser_);
    publishLayout->addRow(tr("パスワードファイル"), passwordFile_);

    auto* buttons = new QDialogButtonBox(this);
    start_ = buttons->addButton(tr("記録開始"), QDialogButtonBox::AcceptRole);
    start_->setObjectName(QStringLiteral("RecordStart"));
    buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(path_, &QLineEdit::textChanged, this, &RecordDialog::EnableChoices);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addWidget(length);
    layout->addWidget(reconnect_);
    layout->addWidget(publishing);
    layout->addWidget(buttons);
    Show(proposal);
}

void RecordDialog::Show(const RecordRequest& request)
{
    path_->setText(request.Path);
    rate_->setCurrentIndex(request.Settings.spsSel);
    channel_->setCurrentIndex(request.Settings.CHSel);
    filter_->setCurrentIndex(request.Settings.fSinc5 != 0 ? 1 : 0);
    const int unit = UnitOf(request.Seconds);
    timeUnit_->setCurrentIndex(unit);
    time_->setValue(request.Seconds / UnitSeconds[static_cast<std::size_t>(unit)]);
    runs_->setValue(request.Runs);
    forTime_->setChecked(request.Until == RecordRequest::Length::Seconds);
    forRuns_->setChecked(request.Until == RecordRequest::Length::Runs);
    untilStopped_->setChecked(request.Until == RecordRequest::Length::UntilStopped);
    reconnect_->setChecked(request.Reconnect);
    publish_->setText(request.PublishUrl);
    mqttUser_->setText(request.MqttUser);
    passwordFile_->setText(request.MqttPasswordFile);
    EnableChoices();
}

RecordRequest RecordDialog::Request() const
{
    RecordRequest request = proposal_;
    request.Path = path_->text().trimmed();
    request.Settings.spsSel = rate_->currentIndex();
    request.Settings.CHSel = channel_->currentIndex();
    request.Settings.fSinc5 = static_cast<std::uint8_t>(filter_->currentIndex());
    request.Until = forTime_->isChecked()   ? RecordRequest::Length::Seconds
                    : forRuns_->isChecked() ? RecordRequest::Length::Runs
                                            : RecordRequest::Length::UntilStopped;
    request.Seconds = time_->value() * UnitSeconds[static_cast<std::size_t>(timeUnit_->currentIndex())];
    request.Runs = runs_->value();
    request.Reconnect = reconnect_->isChecked();
    request.PublishUrl = publish_->text().trimmed();
    request.MqttUser = mqttUser_->text().trimmed();
    request.MqttPasswordFile = passwordFile_->text().trimmed();
    return request;
}

void RecordDialog::Browse()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("記録するファイル"), path_->text(),
                                                      tr("HDF5 ログ (*.h5);;テキストログ (*.csv *.txt)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty())
        path_->setText(path);
}

void RecordDialog::EnableChoices()
{
    time_->setEnabled(forTime_->isChecked());
    timeUnit_->setEnabled(forTime_->isChecked());
    runs_->setEnabled(forRuns_->isChecked());
    start_->setEnabled(!path_->text().trimmed().isEmpty());
}

std::optional<RecordRequest> QtRecordAsker::AskRecord(const RecordRequest& proposal)
{
    RecordDialog dialog(proposal, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Request();
}
