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
    SetPanelText(DeviceName + QStringLiteral(" が見つかりませんでした"), BoardPanel);
}

void TmyStatus::ShowNoResponse()
{
    SetPanelText(DeviceName + QStringLiteral(" 応答しませんでした"), BoardPanel);
}

void TmyStatus::ShowBoardError()
{
    SetPanelText(DeviceName + QStringLiteral(" がエラーです"), BoardPanel);
}

void TmyStatus::ShowMeasuring()
{
    SetPanelText(QStringLiteral("計測中です"), RunPanel);
}

void TmyStatus::ShowMeasureEnd()
{
    SetPanelText(QStringLiteral("計測終了しました"), RunPanel);
}

void TmyStatus::ShowMeasureStop()
{
    SetPanelText(QStringLiteral("計測中止しました"), RunPanel);
}

void TmyStatus::ShowFileLoaded()
{
    SetPanelText(QStringLiteral("データファイル読み込みました"), RunPanel);
}

void TmyStatus::ShowFileSaved()
{
    SetPanelText(QStringLiteral("データファイルを保存しました"), RunPanel);
}

void TmyStatus::ShowStarting()
{
    SetPanelText(QStringLiteral("測定開始処理中です。。。"), InfoPanel);
}

void TmyStatus::ShowMeasureError()
{
    SetPanelText(QStringLiteral("計測エラーで終了"), InfoPanel);
}

void TmyStatus::ClearInfo()
{
    SetPanelText(QString(), InfoPanel);
}

void TmyStatus::ShowPoint1CH(std::int32_t sample, std::int32_t code)
{
    SetPanelText(QStringLiteral("データ番号：") + Number(sample) + QStringLiteral(" / AD変換値：") + Number(code),
                 InfoPanel);
}

void TmyStatus::ShowPoint2CH(std::int32_t sample, std::int32_t code0, std::int32_t code1)
{
    SetPanelText(QStringLiteral("データ番号：") + Number(sample) + QStringLiteral(" / AD変換値：") + Number(code0)
                     + QStringLiteral(" / ") + Number(code1),
                 InfoPanel);
}

void TmyStatus::ShowStatDigit(std::int32_t maximum, std::int32_t minimum, std::int32_t channel, float deviation)
{
    // Widened so that no pair of codes can overflow the difference.
    const std::int64_t peakToPeak = static_cast<std::int64_t>(maximum) - minimum;
    SetPanelText(QStringLiteral("CH") + Number(channel) + QStringLiteral(" : 最大値：") + Number(maximum)
                     + QStringLiteral(" / 最小値：") + Number(minimum) + QStringLiteral(" / pp値：")
                     + Number(peakToPeak) + QStringLiteral(" digit / 標準偏差：")
                     + FormatReal(deviation, DigitPattern(deviation)) + QStringLiteral(" digit"),
                 InfoPanel);
}

void TmyStatus::ShowStatVolt(std::int32_t channel, float deviation, float minimum, float maximum)
{
    const char* pattern = VoltPattern(deviation);
    const long double peakToPeak = static_cast<long double>(maximum) - minimum;
    SetPanelText(QStringLiteral("CH") + Number(channel) + QStringLiteral(" : 最大値：") + FormatReal(maximum, pattern)
                     + QStringLiteral("[uV] / 最小値：") + FormatReal(minimum, pattern)
                     + QStringLiteral("[uV] / pp値：") + FormatReal(peakToPeak, pattern)
                     + QStringLiteral("[uV] / 標準偏差：") + FormatReal(deviation, pattern) + QStringLiteral("[uV]"),
                 InfoPanel);
}
