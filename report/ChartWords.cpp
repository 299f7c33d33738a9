#include "ChartWords.h"

#include <QCoreApplication>

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

// Looked up at each call: the translation is chosen at start-up.
ChartWords ChartWords::Window()
{
    return {
        QCoreApplication::translate("ChartWords", "%1 波形"),
        QCoreApplication::translate("ChartWords", "%1 ヒストグラム"),
        QCoreApplication::translate("ChartWords", "%1 ヒストグラム (1本 %2 コード)"),
        QCoreApplication::translate("ChartWords", "時間 [s]"),
        QCoreApplication::translate("ChartWords", "コード"),
        QCoreApplication::translate("ChartWords", "サンプル数"),
        QCoreApplication::translate("ChartWords", "ノイズスペクトル密度 (Welch法, Hann窓)"),
        QCoreApplication::translate("ChartWords", "周波数 [Hz]"),
        QCoreApplication::translate("ChartWords", "%1: %2 サンプルではスペクトルを求められません (%3 以上必要)"),
    };
}
