#include "TReportBand.h"

const char* BandTypeName(eBandType type) {
    switch (type) {
    case eBandType::PageHeader:
        return "PageHeader";
    case eBandType::PageFooter:
        return "PageFooter";
    case eBandType::Title:
        return "Title";
    case eBandType::ColumnHeader:
        return "ColumnHeader";
    case eBandType::Detail:
        return "Detail";
    case eBandType::Summary:
        return "Summary";
    }
    return "?";
}

TReportLabel* TReportBand::AddLabel(std::string name, double left, double top,
                                    const QString& caption, int tag) {
    auto label = std::make_unique<TReportLabel>(std::move(name));
    label->Left = left;
    label->Top = top;
    label->Caption = caption;
    label->Tag = tag;
    TReportLabel* raw = label.get();
    m_Items.push_back(std::move(label));
    return raw;
}

TReportSysData* TReportBand::AddSysData(std::string name, double left, double top, eSysData data) {
    auto item = std::make_unique<TReportSysData>(std::move(name), data);
    item->Left = left;
    item->Top = top;
    TReportSysData* raw = item.get();
    m_Items.push_back(std::move(item));
    return raw;
}

TReportImage* TReportBand::AddImage(std::string name, double left, double top, double width,
                                    double height, const QPixmap& picture) {
    auto item = std::make_unique<TReportImage>(std::move(name));
    item->Left = left;
    item->Top = top;
    item->Width = width;
    item->Height = height;
    item->Picture = picture;
    TReportImage* raw = item.get();
    m_Items.push_back(std::move(item));
    return raw;
}

TReportShape* TReportBand::AddShape(std::string name, double left, double top, double width,
                                    double height) {
    auto item = std::make_unique<TReportShape>(std::move(name));
    item->Left = left;
    item->Top = top;
    item->Width = width;
    item->Height = height;
    TReportShape* raw = item.get();
    m_Items.push_back(std::move(item));
    return raw;
}

TReportItem* TReportBand::FindItem(const std::string& name) const {
    for (const auto& item : m_Items)
        if (item->Name() == name)
            return item.get();
    return nullptr;
}
