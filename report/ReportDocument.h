#pragma once

#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPdfWriter;
struct ChannelData;
struct RunAnalysis;

// Where report pages go: one PDF with a page per file, or one PNG per file
// (OUT.png for one file; OUT-1.png, OUT-2.png ... in the order given for
// several). A page is a file's noise report, or any A4 page painted in its
// units (595 × 842). A PDF is replaced whole when it is finished, or not at all.
// A failure leaves its reason in Error(). Needs a QGuiApplication (fonts).
class ReportDocument {
public:
    // Twice the page's units: 1190 × 1684 pixels.
    static constexpr double PngScale = 2.0;

    // Whether the path ends in ".pdf" or ".png" (any case).
    static bool IsKnownKind(const QString& path);
    static QString PagePath(const QString& path, int index, int pages);

    ReportDocument(const QString& path, int pages);
    ~ReportDocument();
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    // The page of the index-th file given (counting refused files too).
    bool AddPage(int index, const RunAnalysis& analysis, const ChannelData& ch0, const ChannelData& ch1);
    using PagePainter = std::function<void(QPainter&)>;
    bool AddPage(int index, const PagePainter& paint);
    bool Finish();
    // "cannot write PATH: REASON" after a failure.
    QString Error() const { return error_; }

private:
    bool AddPdfPage(const PagePainter& paint);
    bool AddPngPage(int index, const PagePainter& paint);
    bool CannotWrite(const QString& path, const QString& why);

    QString path_;
    int pages_;
    bool pdf_;
    QSaveFile file_;
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<QPainter> painter_;
    QString error_;
};
