#include "AnalysisWindow.h"

#include "AnalysisCharts.h"
#include "MeasureItems.h"
#include "ReportAnalysis.h"
#include "ReportPage.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor ChannelColours[2] = {QColor(255, 0, 0), QColor(0, 0, 255)};

QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& headers)
{
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return table;
}

// As high as its rows, up to a few; more scroll.
void FitHeight(QTableWidget* table)
{
    constexpr int MostRowsShown = 8;
    int height = table->horizontalHeader()->height() + 2 * table->frameWidth();
    for (int row = 0; row < std::min(table->rowCount(), MostRowsShown); ++row)
        height += table->rowHeight(row);
    table->setFixedHeight(height);
}

// The cells as the report page writes them, numbers right-aligned, in the
// channel's colour.
void AddRow(QTableWidget* table, const QStringList& cells, int channel)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setForeground(ChannelColours[channel]);
        item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
}

} // namespace

AnalysisWindow::AnalysisWindow(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("AnalysisWindow"));
    setWindowTitle(tr("ノイズ解析 - KORVADEX"));
    Heading = new QLabel(this);
    Heading->setObjectName(QStringLiteral("AnalysisHeading"));
    NoiseTable = MakeTable(this, "NoiseTable",
                           {QStringLiteral("CH"), tr("サンプル数"), tr("RMSノイズ [µV]"), tr("p-pノイズ [µV]"),
                            tr("実効分解能 [bit]"), tr("ノイズフリー分解能 [bit]"), tr("平均 [µV]"),
                            tr("平均 [code]")});
    // The status line keeps the digit deviation as it always computed it;
    // side by side with this table's the two would differ without a word.
    DeviationNote = new QLabel(tr("ステータスバーの標準偏差 (digit) は整数に切り捨てた平均値を基準に求めています。"
                                  "この表の RMS ノイズは真の標準偏差です。"),
                               this);
    DeviationNote->setObjectName(QStringLiteral("DeviationNote"));
    DeviationNote->setWordWrap(true);
    Charts = new AnalysisCharts(this);
    SpurTable = MakeTable(this, "SpurTable",
                          {QStringLiteral("CH"), tr("スプリアス周波数 [Hz]"), tr("振幅 [µV peak]"), tr("電源ハム")});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Heading);
    layout->addWidget(NoiseTable);
    layout->addWidget(DeviationNote);
    layout->addWidget(Charts, 1);
    layout->addWidget(SpurTable);
    resize(900, 760);
    ShowEmpty();
}

AnalysisWindow::~AnalysisWindow() = default;

void AnalysisWindow::ShowRun(const QString& name, const MeasureSettings& settings, const ChannelData& ch0,
                             const ChannelData& ch1)
{
    Hold(ch0_, ch0);
    Hold(ch1_, ch1);
    analysis_ = std::make_unique<RunAnalysis>(ReportAnalysis::Of(name, settings, ch0_.Data, ch1_.Data));
    Heading->setText(name + QStringLiteral("   ") + MeasureItems::Describe(settings));
    FillNoiseTable();
    FillSpurTable();
    Charts->Show(analysis_.get(), &ch0_.Data, &ch1_.Data);
}

void AnalysisWindow::ShowAnalysis(const RunAnalysis& analysis)
{
    ch0_ = HeldChannel();
    ch1_ = HeldChannel();
    analysis_ = std::make_unique<RunAnalysis>(analysis);
    Heading->setText(analysis.Name + QStringLiteral("   ") + MeasureItems::Describe(analysis.Settings));
    FillNoiseTable();
    FillSpurTable();
    Charts->Show(analysis_.get(), &ch0_.Data, &ch1_.Data);
}

void AnalysisWindow::ShowEmpty()
{
    Charts->Show(nullptr, nullptr, nullptr);
    analysis_.reset();
    Heading->setText(tr("データがありません"));
    NoiseTable->setRowCount(0);
    SpurTable->setRowCount(0);
    FitHeight(NoiseTable);
    FitHeight(SpurTable);
}

void AnalysisWindow::Hold(HeldChannel& held, const ChannelData& channel)
{
    held.Codes.assign(channel.Codes, channel.Codes + channel.Count);
    held.Microvolts.assign(channel.Microvolts, channel.Microvolts + channel.Count);
    held.Data = ChannelData{channel.Count, held.Codes.data(), held.Microvolts.data()};
}

void AnalysisWindow::FillNoiseTable()
{
    NoiseTable->setRowCount(0);
    for (const ChannelAnalysis& channel : analysis_->Channels)
        AddRow(NoiseTable, ReportPage::TableCells(channel), channel.Figures.Channel);
    FitHeight(NoiseTable);
}

void AnalysisWindow::FillSpurTable()
{
    SpurTable->setRowCount(0);
    for (const ChannelAnalysis& channel : analysis_->Channels)
        for (const Spur& spur : channel.Spurs)
            AddRow(SpurTable, ReportPage::SpurCells(channel, spur), channel.Figures.Channel);
    FitHeight(SpurTable);
}
