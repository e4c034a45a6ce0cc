#include "TReportPages.h"

#include <algorithm>

std::vector<std::string> TReportPages::Reports() const {
    std::vector<std::string> names;
    int seq = -1;
    for (const auto& page : pages)
        if (names.empty() || seq != page.reportSeq) {
            names.push_back(page.report);
            seq = page.reportSeq;
        }
    return names;
}

std::vector<const TLaidOutItem*> TReportPages::Items(const std::string& report) const {
    std::vector<const TLaidOutItem*> out;
    for (const auto& page : pages)
        for (const auto& item : page.items)
            if (report.empty() || item.report == report)
                out.push_back(&item);
    return out;
}

std::vector<QString> TReportPages::TextsOf(const std::string& name,
                                           const std::string& report) const {
    std::vector<QString> out;
    for (const TLaidOutItem* item : Items(report))
        if (item->name == name)
            out.push_back(item->text);
    return out;
}

QString TReportPages::TextOf(const std::string& name, const std::string& report) const {
    const auto texts = TextsOf(name, report);
    return texts.empty() ? QString() : texts.front();
}

bool TReportPages::Has(const std::string& name, const std::string& report) const {
    const auto items = Items(report);
    return std::any_of(items.begin(), items.end(),
                       [&](const TLaidOutItem* item) { return item->name == name; });
}
