<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>AnalysisWindow</name>
    <message>
        <source>ノイズ解析 - KORVADEX</source>
        <translation>Noise analysis - KORVADEX</translation>
    </message>
    <message>
        <source>サンプル数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>RMSノイズ [µV]</source>
        <translation>RMS noise [µV]</translation>
    </message>
    <message>
        <source>p-pノイズ [µV]</source>
        <translation>p-p noise [µV]</translation>
    </message>
    <message>
        <source>実効分解能 [bit]</source>
        <translation>Effective resolution [bit]</translation>
    </message>
    <message>
        <source>ノイズフリー分解能 [bit]</source>
        <translation>Noise-free resolution [bit]</translation>
    </message>
    <message>
        <source>平均 [µV]</source>
        <translation>Mean [µV]</translation>
    </message>
    <message>
        <source>平均 [code]</source>
        <translation>Mean [code]</translation>
    </message>
    <message>
        <source>スプリアス周波数 [Hz]</source>
        <translation>Spur frequency [Hz]</translation>
    </message>
    <message>
        <source>振幅 [µV peak]</source>
        <translation>Amplitude [µV peak]</translation>
    </message>
    <message>
        <source>電源ハム</source>
        <translation>Mains hum</translation>
    </message>
    <message>
        <source>データがありません</source>
        <translation>No data</translation>
    </message>
    <message>
        <source>ステータスバーの標準偏差 (digit) は整数に切り捨てた平均値を基準に求めています。この表の RMS ノイズは真の標準偏差です。</source>
        <translation>The status bar&apos;s standard deviation (digit) is taken about the mean cut to a whole code; the RMS noise in this table is the true standard deviation.</translation>
    </message>
</context>
<context>
    <name>ChartWords</name>
    <message>
        <source>%1 波形</source>
        <translation>%1 trace</translation>
    </message>
    <message>
        <source>%1 ヒストグラム</source>
        <translation>%1 histogram</translation>
    </message>
    <message>
        <source>%1 ヒストグラム (1本 %2 コード)</source>
        <translation>%1 histogram (%2 codes a bar)</translation>
    </message>
    <message>
        <source>時間 [s]</source>
        <translation>time [s]</translation>
    </message>
    <message>
        <source>コード</source>
        <translation>code</translation>
    </message>
    <message>
        <source>サンプル数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>ノイズスペクトル密度 (Welch法, Hann窓)</source>
        <translation>Noise spectral density (Welch, Hann window)</translation>
    </message>
    <message>
        <source>周波数 [Hz]</source>
        <translation>frequency [Hz]</translation>
    </message>
    <message>
        <source>%1: %2 サンプルではスペクトルを求められません (%3 以上必要)</source>
        <translation>%1: %2 samples: a spectrum needs at least %3</translation>
    </message>
</context>
<context>
    <name>LogPlot</name>
    <message>
        <source>（平均 %1）</source>
        <translation> (mean %1)</translation>
    </message>
</context>
<context>
    <name>LogWindow</name>
    <message>
        <source>電圧値</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>ログ - %1</source>
        <translation>Log - %1</translation>
    </message>
    <message>
        <source>%1 サンプル&#x3000;%2 ラン&#x3000;%3</source>
        <translation>%1 samples  %2 runs  %3</translation>
    </message>
    <message>
        <source>Shift+ドラッグで範囲を選ぶと、その範囲の数値を計算します。</source>
        <translation>Shift+drag over a stretch to work out its figures.</translation>
    </message>
    <message>
        <source>範囲の数値を計算しています...</source>
        <translation>Working out the stretch&apos;s figures...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>計算を中止しました。</source>
        <translation>Cancelled.</translation>
    </message>
    <message>
        <source>#%1 - #%2（%3 サンプル）</source>
        <translation>#%1 - #%2 (%3 samples)</translation>
    </message>
    <message>
        <source>CH%1&#x3000;最大 %2&#x3000;最小 %3&#x3000;p-p %4&#x3000;σ %5 コード&#x3000;｜&#x3000;最大 %6&#x3000;最小 %7&#x3000;p-p %8&#x3000;σ %9 µV&#x3000;｜&#x3000;実効分解能 %10 bit&#x3000;ノイズフリー分解能 %11 bit</source>
        <translation>CH%1  max %2  min %3  p-p %4  σ %5 codes  |  max %6  min %7  p-p %8  σ %9 µV  |  effective %10 bits  noise-free %11 bits</translation>
    </message>
    <message>
        <source>次のイベント</source>
        <translation>Next event</translation>
    </message>
    <message>
        <source>最もノイズの大きいブロック</source>
        <translation>Noisiest block</translation>
    </message>
    <message>
        <source>ノイズ解析</source>
        <translation>Noise analysis</translation>
    </message>
    <message>
        <source>記録中 - %1</source>
        <translation>Recording - %1</translation>
    </message>
    <message>
        <source>記録終了: %1</source>
        <translation>Recording ended: %1</translation>
    </message>
    <message>
        <source>記録の開始を待っています...</source>
        <translation>Waiting for the recording to start...</translation>
    </message>
    <message>
        <source>記録中&#x3000;%1 サンプル&#x3000;経過 %2&#x3000;%3 MB&#x3000;%4 バイト/サンプル&#x3000;再接続 %5 回&#x3000;途切れたラン %6</source>
        <translation>Recording   %1 samples   elapsed %2   %3 MB   %4 bytes/sample   reconnects %5   runs cut short %6</translation>
    </message>
    <message>
        <source>書き出し...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>サンプル番号 または 2026-12-08 21:40:12.345</source>
        <translation>sample number or 2026-12-08 21:40:12.345</translation>
    </message>
    <message>
        <source>範囲を選ぶ</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>範囲</source>
        <translation>Stretch</translation>
    </message>
    <message>
        <source>範囲を読めません: サンプル番号（0 から %1）か、ログの中の時刻を入れてください。</source>
        <translation>The stretch cannot be read: give sample numbers (0 to %1) or times within the log.</translation>
    </message>
    <message>
        <source>CSV (*.csv)|*.csv|データファイル (*.DTA)|*.DTA|PNG (*.png)|*.png</source>
        <translation>CSV (*.csv)|*.csv|Data files (*.DTA)|*.DTA|PNG (*.png)|*.png</translation>
    </message>
    <message>
        <source>%1 を書き出せません: %2</source>
        <translation>%1 cannot be written: %2</translation>
    </message>
    <message>
        <source>%1 に書き出しました</source>
        <translation>Written to %1</translation>
    </message>
    <message>
        <source>書き込めません</source>
        <translation>cannot be written</translation>
    </message>
    <message>
        <source>ログの要約を作っています...</source>
        <translation>Summarising the log...</translation>
    </message>
</context>
<context>
    <name>MeasureCommand</name>
    <message>
        <source>ファイル：%1があります。</source>
        <translation>The file %1 already exists.</translation>
    </message>
</context>
<context>
    <name>OverwriteQuestion</name>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>ファイル：%1があります。
上書きしますか</source>
        <translation>The file %1 already exists.
Overwrite it?</translation>
    </message>
</context>
<context>
    <name>PlotReadout</name>
    <message>
        <source>サンプル %1</source>
        <translation>Sample %1</translation>
    </message>
    <message>
        <source>時間 %1 ms</source>
        <translation>Time %1 ms</translation>
    </message>
    <message>
        <source>時間 %1 s</source>
        <translation>Time %1 s</translation>
    </message>
</context>
<context>
    <name>QtBoardChooser</name>
    <message>
        <source>ボード選択</source>
        <translation>Choose board</translation>
    </message>
    <message>
        <source>使用するボードを選んでください:</source>
        <translation>Choose the board to use:</translation>
    </message>
</context>
<context>
    <name>QtConfirmBox</name>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>RecordDialog</name>
    <message>
        <source>ラン数</source>
        <translation>Runs</translation>
    </message>
    <message>
        <source>停止するまで</source>
        <translation>Until stopped</translation>
    </message>
    <message>
        <source>ボードが外れたら戻るまで待つ</source>
        <translation>Wait for the board when it goes</translation>
    </message>
    <message>
        <source>記録</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>seconds</translation>
    </message>
    <message>
        <source>分</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>日</source>
        <translation>days</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>ファイル（.h5 は HDF5、ほかはテキスト）</source>
        <translation>File (.h5 for HDF5, else text)</translation>
    </message>
    <message>
        <source>データレート</source>
        <translation>Data rate</translation>
    </message>
    <message>
        <source>チャンネル</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>フィルタ</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>記録する長さ</source>
        <translation>How long</translation>
    </message>
    <message>
        <source>ライブ数値の送信（任意）</source>
        <translation>Live figures (optional)</translation>
    </message>
    <message>
        <source>送信先</source>
        <translation>Publish to</translation>
    </message>
    <message>
        <source>ユーザー名</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>パスワードファイル</source>
        <translation>Password file</translation>
    </message>
    <message>
        <source>記録開始</source>
        <translation>Start recording</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>記録するファイル</source>
        <translation>File to record</translation>
    </message>
    <message>
        <source>HDF5 ログ (*.h5);;テキストログ (*.csv *.txt)</source>
        <translation>HDF5 logs (*.h5);;Text logs (*.csv *.txt)</translation>
    </message>
    <message>
        <source>時間</source>
        <comment>for a length of time</comment>
        <translation>Time</translation>
    </message>
    <message>
        <source>時間</source>
        <comment>the unit</comment>
        <translation>hours</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>%1 を起動できません: %2</source>
        <translation>%1 cannot be started: %2</translation>
    </message>
    <message>
        <source>記録が終了コード %1 で終わりました</source>
        <translation>The recording ended with exit code %1</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>KORVADEX はすでに起動しています</source>
        <translation>KORVADEX is already running</translation>
    </message>
</context>
<context>
    <name>StatisticsText</name>
    <message>
        <source>CH%1 : 最大値：%2 / 最小値：%3 / pp値：%4 digit / 標準偏差：%5 digit</source>
        <translation>CH%1 : Max: %2 / Min: %3 / p-p: %4 digit / SD: %5 digit</translation>
    </message>
    <message>
        <source>CH%1 : 最大値：%2[uV] / 最小値：%3[uV] / pp値：%4[uV] / 標準偏差：%5[uV]</source>
        <translation>CH%1 : Max: %2[uV] / Min: %3[uV] / p-p: %4[uV] / SD: %5[uV]</translation>
    </message>
</context>
<context>
    <name>TFormMain</name>
    <message>
        <source>測定開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>測定停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>データファイル (*.DTA)|*.DTA</source>
        <translation>Data files (*.DTA)|*.DTA</translation>
    </message>
    <message>
        <source>未保存の測定データ</source>
        <translation>Unsaved measurement</translation>
    </message>
    <message>
        <source>データレート</source>
        <translation>Data rate</translation>
    </message>
    <message>
        <source>データ数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>測定 CH</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>データ(&amp;D)</source>
        <translation>&amp;Data</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>読込み(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>CSV書き出し(&amp;E)...</source>
        <translation>&amp;Export CSV...</translation>
    </message>
    <message>
        <source>ノイズ解析(&amp;N)...</source>
        <translation>&amp;Noise analysis...</translation>
    </message>
    <message>
        <source>レポート保存(&amp;R)...</source>
        <translation>Save &amp;report...</translation>
    </message>
    <message>
        <source>Y軸表示</source>
        <translation>Y axis</translation>
    </message>
    <message>
        <source>電圧値</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>致命的なメモリエラーです:%1</source>
        <translation>Fatal memory error: %1</translation>
    </message>
    <message>
        <source>連続測定</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>%1 回目</source>
        <translation>run %1</translation>
    </message>
    <message>
        <source>全体表示</source>
        <translation>Fit all</translation>
    </message>
    <message>
        <source>ボード選択(&amp;B)...</source>
        <translation>Choose &amp;board...</translation>
    </message>
    <message>
        <source>ログ (*.h5 *.csv)|*.h5 *.csv</source>
        <translation>Logs (*.h5 *.csv)|*.h5 *.csv</translation>
    </message>
    <message>
        <source>ログを開く(&amp;L)...</source>
        <translation>Open &amp;log...</translation>
    </message>
    <message>
        <source>記録(&amp;R)...</source>
        <translation>&amp;Record...</translation>
    </message>
    <message>
        <source>記録停止</source>
        <translation>Stop recording</translation>
    </message>
</context>
<context>
    <name>TmyMessage</name>
    <message>
        <source>致命的なメモリエラーです:%1</source>
        <translation>Fatal memory error: %1</translation>
    </message>
    <message>
        <source>%1 が見つかりませんでした</source>
        <translation>%1 not found</translation>
    </message>
    <message>
        <source>%1 が応答しませんでした</source>
        <translation>%1 did not respond</translation>
    </message>
    <message>
        <source>データ保存できませんでした</source>
        <translation>Could not save the data</translation>
    </message>
    <message>
        <source>データファイルの内容が正しくありませんでした</source>
        <translation>The data file is not valid</translation>
    </message>
    <message>
        <source>データがありません</source>
        <translation>No data</translation>
    </message>
</context>
<context>
    <name>TmyStatus</name>
    <message>
        <source>%1 が見つかりませんでした</source>
        <translation>%1 not found</translation>
    </message>
    <message>
        <source>%1 応答しませんでした</source>
        <translation>%1 not responding</translation>
    </message>
    <message>
        <source>%1 がエラーです</source>
        <translation>%1 error</translation>
    </message>
    <message>
        <source>計測中です</source>
        <translation>Measuring</translation>
    </message>
    <message>
        <source>計測終了しました</source>
        <translation>Run complete</translation>
    </message>
    <message>
        <source>計測中止しました</source>
        <translation>Run stopped</translation>
    </message>
    <message>
        <source>データファイル読み込みました</source>
        <translation>Data file loaded</translation>
    </message>
    <message>
        <source>データファイルを保存しました</source>
        <translation>Data file saved</translation>
    </message>
    <message>
        <source>測定開始処理中です。。。</source>
        <translation>Starting run...</translation>
    </message>
    <message>
        <source>計測エラーで終了</source>
        <translation>Run error</translation>
    </message>
    <message>
        <source>データ番号：%1 / AD変換値：%2</source>
        <translation>Sample: %1 / Code: %2</translation>
    </message>
    <message>
        <source>データ番号：%1 / AD変換値：%2 / %3</source>
        <translation>Sample: %1 / Code: %2 / %3</translation>
    </message>
</context>
<context>
    <name>WindowRecording</name>
    <message>
        <source>記録</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>記録中です。記録を止めて終了しますか？</source>
        <translation>A recording is running. Stop it and quit?</translation>
    </message>
</context>
</TS>
