#pragma once
// A band of a report: a horizontal strip of items that is printed as a
// whole. The page header and footer go on every page, the title once at the
// start, the column header below the page header of every page, the detail
// once per row, the summary once at the end. A band linked to another is
// kept on one page with the first instance of it that follows.

#include "TReportItem.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

enum class eBandType { PageHeader, PageFooter, Title, ColumnHeader, Detail, Summary };

const char* BandTypeName(eBandType type);

class TReportBand {
public:
    TReportBand(eBandType type, std::string name, double heightMm)
        : Height(heightMm), m_eType(type), m_Name(std::move(name)) {}
    TReportBand(const TReportBand&) = delete;
    TReportBand& operator=(const TReportBand&) = delete;

    eBandType Type() const { return m_eType; }
    const std::string& Name() const { return m_Name; }

    // Minimum height in mm; a label that wraps makes the band taller.
    double Height;
    // Kept on one page with the next instance of this band.
    TReportBand* LinkBand = nullptr;
    // Before the band is printed; setting print false leaves it out.
    std::function<void(TReportBand& band, bool& print)> BeforePrint;

    // Items, owned by the band, printed in the order added.
    TReportLabel* AddLabel(std::string name, double left, double top, const QString& caption = {},
                           int tag = 0);
    TReportSysData* AddSysData(std::string name, double left, double top, eSysData data);
    TReportImage* AddImage(std::string name, double left, double top, double width, double height,
                           const QPixmap& picture);
    TReportShape* AddShape(std::string name, double left, double top, double width, double height);

    const std::vector<std::unique_ptr<TReportItem>>& Items() const { return m_Items; }
    TReportItem* FindItem(const std::string& name) const;

private:
    eBandType m_eType;
    std::string m_Name;
    std::vector<std::unique_ptr<TReportItem>> m_Items;
};
