#include "TReportPrinter.h"

#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrintDialog>
#include <QPrintPreviewDialog>

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
// Of the font's size: more than any glyph of the report fonts reaches
// beyond the text's extent, far less than a character.
constexpr double kInkAllowanceEm = 0.2;

TReportPrinter::Handlers& TestHandlers() {
    static TReportPrinter::Handlers handlers;
    return handlers;
}

// The printer the user chose last, for the next job (empty: the default).
QString& LastPrinterName() {
    static QString name;
    return name;
}

void RememberPrinter(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::NativeFormat)
        LastPrinterName() = printer.printerName();
}

void DrawItem(QPainter& painter, const TLaidOutItem& item, double scale) {
    const QRectF r(item.rect.left() * scale, item.rect.top() * scale, item.rect.width() * scale,
                   item.rect.height() * scale);
    switch (item.kind) {
    case eReportItemKind::Label:
    case eReportItemKind::SysData: {
        const QFont font = ReportFont(item.fontSize, item.bold, item.underline);
        // The text is clipped to its box, grown by what glyphs may reach
        // beyond the font's own extent (the accents of capitals stand above
        // its ascent): a text too large for its box prints cut, as the
        // layout check says, while one that fits keeps every dot.
        const double ink =
            kInkAllowanceEm * font.pointSizeF() / kPointsPerInch * kMmPerInch * scale;
        painter.save();
        painter.setClipRect(r.adjusted(-ink, -ink, ink, ink), Qt::IntersectClip);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         item.lines.join(QLatin1Char('\n')));
        painter.restore();
        break;
    }
    case eReportItemKind::Image:
        if (!item.picture.isNull())
            painter.drawPixmap(r, item.picture, QRectF(item.picture.rect()));
        break;
    case eReportItemKind::Shape: {
        QPen pen(Qt::black);
        pen.setWidthF(item.penWidth * scale);
        painter.setPen(pen);
        const double mid = r.top() + r.height() / 2;
        painter.drawLine(QPointF(r.left(), mid), QPointF(r.right(), mid));
        break;
    }
    }
}

} // namespace

std::unique_ptr<QPrinter> TReportPrinter::NewPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!LastPrinterName().isEmpty())
        printer->setPrinterName(LastPrinterName());
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setCopyCount(1);
    return printer;
}

bool TReportPrinter::PrintDialog(QWidget* parent, QPrinter& printer, const TReportPages& pages) {
    bool ok = false;
    if (TestHandlers().printDialog) {
        ok = TestHandlers().printDialog(printer, pages);
    } else {
        QPrintDialog dlg(&printer, parent);
        dlg.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (!pages.pages.empty())
            dlg.setMinMax(pages.pages.front().number, pages.pages.back().number);
        ok = dlg.exec() == QDialog::Accepted;
    }
    if (ok)
        RememberPrinter(printer);
    return ok;
}

bool TReportPrinter::SetupDialog(QWidget* parent) {
    auto printer = NewPrinter();
    bool ok = false;
    if (TestHandlers().setupDialog) {
        ok = TestHandlers().setupDialog(*printer);
    } else {
        QPrintDialog dlg(printer.get(), parent);
        dlg.setWindowTitle(QPrintDialog::tr("Printer setup"));
        ok = dlg.exec() == QDialog::Accepted;
    }
    if (ok)
        RememberPrinter(*printer);
    return ok;
}

void TReportPrinter::Preview(QWidget* parent, const TReportPages& pages) {
    if (TestHandlers().preview) {
        TestHandlers().preview(pages);
        return;
    }
    auto printer = NewPrinter();
    QPrintPreviewDialog dlg(printer.get(), parent);
    if (!pages.title.isEmpty())
        dlg.setWindowTitle(pages.title);
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                     [&pages](QPrinter* target) { Render(pages, *target); });
    dlg.exec();
}

bool TReportPrinter::Print(const TReportPages& pages, QPrinter& printer) {
    int from = 0;
    int to = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage();
        to = printer.toPage();
    }
    if (!pages.title.isEmpty())
        printer.setDocName(pages.title);
    return Render(pages, printer, from, to);
}

bool TReportPrinter::Render(const TReportPages& pages, QPagedPaintDevice& device, int fromPage,
                            int toPage) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    if (auto* printer = dynamic_cast<QPrinter*>(&device))
        printer->setFullPage(true);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The logo goes into the PDF (a printer's job is one too) as it is,
    // not recompressed as a JPEG with its artefacts.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const double scale = device.logicalDpiX() / kMmPerInch;
    bool first = true;
    for (const TLaidOutPage& page : pages.pages) {
        if (fromPage > 0 && page.number < fromPage)
            continue;
        if (toPage > 0 && page.number > toPage)
            continue;
        if (!first)
            device.newPage();
        first = false;
        DrawPage(painter, page, scale);
    }
    return painter.end();
}

void TReportPrinter::DrawPage(QPainter& painter, const TLaidOutPage& page, double dotsPerMm) {
    for (const TLaidOutItem& item : page.items)
        DrawItem(painter, item, dotsPerMm);
}

bool TReportPrinter::WritePdf(const TReportPages& pages, const QString& path) {
    bool ok = false;
    {
        QPdfWriter writer(path);
        writer.setResolution(300);
        if (!pages.title.isEmpty())
            writer.setTitle(pages.title);
        ok = Render(pages, writer);
    } // the file is complete once the writer is gone
    return ok && QFile::exists(path);
}

void TReportPrinter::SetHandlersForTesting(Handlers handlers) {
    TestHandlers() = std::move(handlers);
}
