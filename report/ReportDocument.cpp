#include "ReportDocument.h"

#include "ReportPage.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

const QString PdfSuffix = QStringLiteral("pdf");
const QString PngSuffix = QStringLiteral("png");

QString Suffix(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
}

} // namespace

bool ReportDocument::IsKnownKind(const QString& path)
{
    const QString suffix = Suffix(path);
    return suffix == PdfSuffix || suffix == PngSuffix;
}

QString ReportDocument::PagePath(const QString& path, int index, int pages)
{
    if (pages == 1)
        return path;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return path.left(dot) + QStringLiteral("-%1").arg(index + 1) + path.mid(dot);
}

ReportDocument::ReportDocument(const QString& path, int pages)
    : path_(path)
    , pages_(pages)
    , pdf_(Suffix(path) == PdfSuffix)
    , file_(path)
{
}

ReportDocument::~ReportDocument() = default;

bool ReportDocument::CannotWrite(const QString& path, const QString& why)
{
    error_ = QStringLiteral("cannot write %1: %2").arg(path, why);
    return false;
}

bool ReportDocument::AddPage(int index, const RunAnalysis& analysis, const ChannelData& ch0, const ChannelData& ch1)
{
    return AddPage(index, [&](QPainter& painter) { ReportPage::Paint(painter, analysis, ch0, ch1); });
}

bool ReportDocument::AddPage(int index, const PagePainter& paint)
{
    return pdf_ ? AddPdfPage(paint) : AddPngPage(index, paint);
}

bool ReportDocument::AddPdfPage(const PagePainter& paint)
{
    if (!writer_) {
        if (!file_.open(QIODevice::WriteOnly))
            return CannotWrite(path_, file_.errorString());
        writer_ = std::make_unique<QPdfWriter>(&file_);
        writer_->setPageSize(QPageSize(QPageSize::A4));
        writer_->setPageMargins(QMarginsF());
        writer_->setCreator(QStringLiteral("KORVADEX"));
        painter_ = std::make_unique<QPainter>(writer_.get());
    } else if (!writer_->newPage()) {
        return CannotWrite(path_, QStringLiteral("no new page"));
    }
    painter_->resetTransform();
    painter_->scale(writer_->width() / ReportPage::Size.width(), writer_->height() / ReportPage::Size.height());
    painter_->setRenderHint(QPainter::Antialiasing);
    paint(*painter_);
    return true;
}

bool ReportDocument::AddPngPage(int index, const PagePainter& paint)
{
    QImage image((ReportPage::Size * PngScale).toSize(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(PngScale, PngScale);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    const QString path = PagePath(path_, index, pages_);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return CannotWrite(path, file.errorString());
    return true;
}

bool ReportDocument::Finish()
{
    if (!writer_)
        return true;
    painter_->end();
    painter_.reset();
    writer_.reset();
    if (!file_.commit())
        return CannotWrite(path_, file_.errorString());
    return true;
}
