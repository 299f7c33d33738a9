#include "Mystatus.h"

#include "FormatReal.h"

namespace {

constexpr std::int32_t BoardPanel = 0;
constexpr std::int32_t RunPanel = 1;
constexpr std::int32_t InfoPanel = 2;

constexpr int MinimumPanelWidth = 105;
constexpr int WidestNarrowText = 100;
constexpr int TextMargin = 5;

// Coarser patterns for larger deviations: the decimals shown stay within the
// scatter of the run. A deviation exactly on a bound takes the coarser one.
const char* DigitPattern(float deviation)
{
    return deviation >= 10.0f ? "0.0" : "0.00";
}

const char* VoltPattern(float deviation)
{
    if (deviation >= 100.0f)
        return "0";
    return DigitPattern(deviation);
}

QString Number(std::int64_t value)
{
    return QString::number(value);
}

} // namespace

TmyStatus::TmyStatus(StatusPanels& bar, const QString& deviceName, std::int32_t highestPanel)
    : bar_(bar)
    , DeviceName(deviceName)
    , highestPanel_(highestPanel)
{
}

void TmyStatus::SetPanelText(const QString& text, std::int32_t index)
{
    if (index < 0 || index > highestPanel_)
        return;
    bar_.SetText(index, text);
    const int width = bar_.TextWidth(text);
    bar_.SetWidth(index, width > WidestNarrowText ? width + TextMargin : MinimumPanelWidth);
}

void TmyStatus::ShowBoard(const QString& boardName, const QString& boardVersion)
{
    SetPanelText(boardName + QStringLiteral(" / ") + boardVersion, BoardPanel);
}

void TmyStatus::ShowNotFound()
{
    SetPanelText(tr("%1 が見つかりませんでした").arg(DeviceName), BoardPanel);
}

void TmyStatus::ShowNoResponse()
{
    SetPanelText(tr("%1 応答しませんでした").arg(DeviceName), BoardPanel);
}

void TmyStatus::ShowBoardError()
{
    SetPanelText(tr("%1 がエラーです").arg(DeviceName), BoardPanel);
}

void TmyStatus::ShowMeasuring()
{
    SetPanelText(tr("計測中です"), RunPanel);
}

void TmyStatus::ShowMeasureEnd()
{
    SetPanelText(tr("計測終了しました"), RunPanel);
}

void TmyStatus::ShowMeasureStop()
{
    SetPanelText(tr("計測中止しました"), RunPanel);
}

void TmyStatus::ShowFileLoaded()
{
    SetPanelText(tr("データファイル読み込みました"), RunPanel);
}

void TmyStatus::ShowFileSaved()
{
    SetPanelText(tr("データファイルを保存しました"), RunPanel);
}

void TmyStatus::ShowStarting()
{
    SetPanelText(tr("測定開始処理中です。。。"), InfoPanel);
}

void TmyStatus::ShowMeasureError()
{
    SetPanelText(tr("計測エラーで終了"), InfoPanel);
}

void TmyStatus::ClearInfo()
{
    SetPanelText(QString(), InfoPanel);
}

void TmyStatus::ShowPoint1CH(std::int32_t sample, std::int32_t code)
{
    SetPanelText(tr("データ番号：%1 / AD変換値：%2").arg(Number(sample), Number(code)), InfoPanel);
}

void TmyStatus::ShowPoint2CH(std::int32_t sample, std::int32_t code0, std::int32_t code1)
{
    SetPanelText(tr("データ番号：%1 / AD変換値：%2 / %3").arg(Number(sample), Number(code0), Number(code1)), InfoPanel);
}

void TmyStatus::ShowStatDigit(std::int32_t maximum, std::int32_t minimum, std::int32_t channel, float deviation)
{
    // Widened so that no pair of codes can overflow the difference.
    const std::int64_t peakToPeak = static_cast<std::int64_t>(maximum) - minimum;
    // The statistics texts have a context of their own (StatisticsTextContext):
    // the companion prints them as data lines, in Japanese whatever the language.
    SetPanelText(QCoreApplication::translate("StatisticsText",
                                             "CH%1 : 最大値：%2 / 最小値：%3 / pp値：%4 digit / 標準偏差：%5 digit")
                     .arg(Number(channel), Number(maximum), Number(minimum), Number(peakToPeak),
                          FormatReal(deviation, DigitPattern(deviation))),
                 InfoPanel);
}

void TmyStatus::ShowStatVolt(std::int32_t channel, float deviation, float minimum, float maximum)
{
    const char* pattern = VoltPattern(deviation);
    const long double peakToPeak = static_cast<long double>(maximum) - minimum;
    SetPanelText(QCoreApplication::translate("StatisticsText",
                                             "CH%1 : 最大値：%2[uV] / 最小値：%3[uV] / pp値：%4[uV] / 標準偏差：%5[uV]")
                     .arg(Number(channel), FormatReal(maximum, pattern), FormatReal(minimum, pattern),
                          FormatReal(peakToPeak, pattern), FormatReal(deviation, pattern)),
                 InfoPanel);
}
