#include "TReportItem.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace {

// Text is measured on a 300 dpi image: the layout then comes out the same
// on every screen, and close to what a printer gets.
constexpr int kMeasureDpi = 300;
constexpr double kMmPerInch = 25.4;

const QImage& MeasureDevice() {
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        const int dpm = static_cast<int>(kMeasureDpi / kMmPerInch * 1000.0 + 0.5);
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    return device;
}

double PxToMm(double px) {
    return px * kMmPerInch / kMeasureDpi;
}

double MmToPx(double mm) {
    return mm * kMeasureDpi / kMmPerInch;
}

// Far more than any page: the extent of a text that may take what it needs.
constexpr double kUnboundedPx = 1e6;

} // namespace

QFont ReportFont(double fontSize, bool bold, bool underline) {
    QFont f;
    f.setPointSizeF(fontSize > 0 ? fontSize : 10);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

QStringList ReportTextLines(double fontSize, bool bold, double wrapWidth, const QString& text) {
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    if (wrapWidth <= 0)
        return paragraphs;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList lines;
    for (const QString& paragraph : paragraphs) {
        QTextLayout layout(paragraph, ReportFont(fontSize, bold), &MeasureDevice());
        layout.setTextOption(option);
        layout.beginLayout();
        bool any = false;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(MmToPx(wrapWidth));
            // The space a line breaks at stays behind, unprinted.
            QString part = paragraph.mid(line.textStart(), line.textLength());
            while (part.endsWith(QLatin1Char(' ')))
                part.chop(1);
            lines.push_back(part);
            any = true;
        }
        layout.endLayout();
        if (!any)
            lines.push_back(QString());
    }
    return lines;
}

QSizeF ReportTextExtent(double fontSize, bool bold, const QString& lines) {
    const QFontMetricsF fm(ReportFont(fontSize, bold), &MeasureDevice());
    const QRectF r = fm.boundingRect(QRectF(0, 0, kUnboundedPx, kUnboundedPx),
                                     Qt::AlignLeft | Qt::AlignTop, lines);
    return {PxToMm(r.width()), PxToMm(r.height())};
}

// Width and height come from the extent the renderer needs, so that a box
// sized by them holds its text whole.
double ReportTextWidth(double fontSize, bool bold, const QString& text) {
    return ReportTextExtent(fontSize, bold, text).width();
}

double ReportTextHeight(const TReportLabel& label, const QString& text) {
    const QFontMetricsF fm(ReportFont(label.FontSize, label.Bold), &MeasureDevice());
    const double wrapWidth = label.WordWrap ? label.Width : 0;
    const QString lines =
        ReportTextLines(label.FontSize, label.Bold, wrapWidth, text).join(QLatin1Char('\n'));
    return std::max(ReportTextExtent(label.FontSize, label.Bold, lines).height(),
                    PxToMm(fm.height()));
}
