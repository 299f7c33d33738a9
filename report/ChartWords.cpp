#include "ChartWords.h"

const ChartWords& ChartWords::English()
{
    static const ChartWords words{
        QStringLiteral("%1 trace"),
        QStringLiteral("%1 histogram"),
        QStringLiteral("%1 histogram, %2 codes a bar"),
        QStringLiteral("time [s]"),
        QStringLiteral("code"),
        QStringLiteral("samples"),
        QStringLiteral("Noise spectral density (Welch, Hann window)"),
        QStringLiteral("frequency [Hz]"),
        QStringLiteral("%1: %2 samples: a spectrum needs at least %3"),
    };
    return words;
}

const ChartWords& ChartWords::Japanese()
{
    static const ChartWords words{
        QStringLiteral("%1 波形"),
        QStringLiteral("%1 ヒストグラム"),
        QStringLiteral("%1 ヒストグラム (1本 %2 コード)"),
        QStringLiteral("時間 [s]"),
        QStringLiteral("コード"),
        QStringLiteral("サンプル数"),
        QStringLiteral("ノイズスペクトル密度 (Welch法, Hann窓)"),
        QStringLiteral("周波数 [Hz]"),
        QStringLiteral("%1: %2 サンプルではスペクトルを求められません (%3 以上必要)"),
    };
    return words;
}
