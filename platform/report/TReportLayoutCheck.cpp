#include "TReportLayoutCheck.h"

#include <cstdio>
#include <map>
#include <tuple>

namespace {

// Measuring rounds to fractions of a pixel at 300 dpi; a box that is short
// by less than this shows the text whole.
constexpr double kToleranceMm = 0.01;

bool PrintsText(const TLaidOutItem& item) {
    return (item.kind == eReportItemKind::Label || item.kind == eReportItemKind::SysData) &&
           !item.text.isEmpty();
}

TLayoutFault FaultOf(eLayoutFault kind, const TLaidOutPage& page, const TLaidOutItem& item) {
    TLayoutFault f;
    f.kind = kind;
    f.page = page.number;
    f.report = item.report;
    f.band = item.band;
    f.row = item.row;
    f.label = item.name;
    f.text = item.text;
    f.box = item.rect;
    return f;
}

bool Overlap(const QRectF& a, const QRectF& b) {
    const QRectF common = a.intersected(b);
    return common.width() > kToleranceMm && common.height() > kToleranceMm;
}

bool OutsideMargins(const QRectF& box, const QRectF& margins) {
    return box.left() < margins.left() - kToleranceMm || box.top() < margins.top() - kToleranceMm ||
           box.right() > margins.right() + kToleranceMm ||
           box.bottom() > margins.bottom() + kToleranceMm;
}

std::string Quoted(const QString& text) {
    QString oneLine = text;
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return '"' + oneLine.toStdString() + '"';
}

std::string Size(const QSizeF& size) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f x %.1f mm", size.width(), size.height());
    return buf;
}

std::string Span(const QRectF& box) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%.1f, %.1f) to (%.1f, %.1f) mm", box.left(), box.top(),
                  box.right(), box.bottom());
    return buf;
}

} // namespace

std::vector<TLayoutFault> CheckReportLayout(const TReportPages& pages) {
    std::vector<TLayoutFault> faults;
    for (const TLaidOutPage& page : pages.pages) {
        // The texts of each band as it printed on this page: a band prints
        // once per page (header, footer), once (title, summary) or once per
        // row (detail).
        std::map<std::tuple<std::string, int>, std::vector<const TLaidOutItem*>> bands;
        for (const TLaidOutItem& item : page.items) {
            if (!PrintsText(item))
                continue;
            bands[{item.band, item.row}].push_back(&item);
            const QSizeF need =
                ReportTextExtent(item.fontSize, item.bold, item.lines.join(QLatin1Char('\n')));
            if (need.width() > item.rect.width() + kToleranceMm ||
                need.height() > item.rect.height() + kToleranceMm) {
                TLayoutFault f = FaultOf(eLayoutFault::Cut, page, item);
                f.need = need;
                faults.push_back(std::move(f));
            }
            if (OutsideMargins(item.rect, page.marginsMm))
                faults.push_back(FaultOf(eLayoutFault::Margin, page, item));
        }
        for (const auto& [key, items] : bands)
            for (std::size_t i = 0; i < items.size(); ++i)
                for (std::size_t j = i + 1; j < items.size(); ++j) {
                    if (!Overlap(items[i]->rect, items[j]->rect))
                        continue;
                    TLayoutFault f = FaultOf(eLayoutFault::Overlap, page, *items[i]);
                    f.other = items[j]->name;
                    f.otherText = items[j]->text;
                    faults.push_back(std::move(f));
                }
    }
    return faults;
}

std::string TLayoutFault::Describe() const {
    std::string where = report + ", " + band;
    if (row >= 0)
        where += " row " + std::to_string(row);
    where += ", " + label + ' ' + Quoted(text);
    const std::string page = " (page " + std::to_string(this->page) + ')';
    switch (kind) {
    case eLayoutFault::Cut:
        return "cut: " + where + " needs " + Size(need) + ", its box is " + Size(box.size()) + page;
    case eLayoutFault::Overlap:
        return "overlap: " + where + " and " + other + ' ' + Quoted(otherText) + page;
    case eLayoutFault::Margin:
        return "outside the margins: " + where + " spans " + Span(box) + page;
    }
    return where;
}

std::string DescribeFaults(const std::vector<TLayoutFault>& faults) {
    std::string out;
    for (const TLayoutFault& f : faults)
        out += f.Describe() + '\n';
    return out;
}
