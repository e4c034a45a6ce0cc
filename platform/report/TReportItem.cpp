#include "TReportItem.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>

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

QFont MeasureFont(double fontSize, bool bold) {
    QFont f;
    f.setPointSizeF(fontSize > 0 ? fontSize : 10);
    f.setBold(bold);
    return f;
}

double PxToMm(double px) {
    return px * kMmPerInch / kMeasureDpi;
}

} // namespace

double ReportTextWidth(double fontSize, bool bold, const QString& text) {
    const QFontMetricsF fm(MeasureFont(fontSize, bold), &MeasureDevice());
    double w = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        w = std::max(w, fm.horizontalAdvance(line));
    return PxToMm(w);
}

double ReportTextHeight(const TReportLabel& label, const QString& text) {
    const QFontMetricsF fm(MeasureFont(label.FontSize, label.Bold), &MeasureDevice());
    if (label.WordWrap && label.Width > 0) {
        const double widthPx = label.Width * kMeasureDpi / kMmPerInch;
        const QRectF r = fm.boundingRect(QRectF(0, 0, widthPx, 1e6), Qt::TextWordWrap, text);
        return PxToMm(std::max(r.height(), fm.height()));
    }
    const auto lines = std::max<qsizetype>(1, text.count(QLatin1Char('\n')) + 1);
    return PxToMm(fm.height() * static_cast<double>(lines));
}
