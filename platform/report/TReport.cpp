#include "TReport.h"

#include "TReportPrinter.h"

#include <QDate>

#include <algorithm>

namespace {

// A need-data handler that never says "no more" would lay out pages until
// memory runs out; no report of the program has anywhere near this many
// rows.
constexpr int kMaxRows = 100000;

} // namespace

struct TReport::Instance {
    const TReportBand* band = nullptr;
    bool printed = true;
    double height = 0;
    std::vector<TLaidOutItem> items; // rects relative to the band's top left corner
    bool keepWithNext = false;
};

TReport::TReport(std::string name) : m_Name(std::move(name)) {}

TReport::~TReport() = default;

TReportBand* TReport::AddBand(eBandType type, std::string name, double heightMm) {
    m_Bands.push_back(std::make_unique<TReportBand>(type, std::move(name), heightMm));
    return m_Bands.back().get();
}

TReportBand* TReport::FindBand(const std::string& name) const {
    for (const auto& band : m_Bands)
        if (band->Name() == name)
            return band.get();
    return nullptr;
}

TReport::Instance TReport::Evaluate(TReportBand& band, int row) {
    Instance inst;
    inst.band = &band;
    bool print = true;
    if (band.BeforePrint)
        band.BeforePrint(band, print);
    if (!print) {
        inst.printed = false;
        return inst;
    }
    double height = band.Height;
    for (const auto& itemPtr : band.Items()) {
        TReportItem* item = itemPtr.get();
        TLaidOutItem out;
        out.report = m_Name;
        out.band = band.Name();
        out.bandType = band.Type();
        out.row = band.Type() == eBandType::Detail ? row : -1;
        out.name = item->Name();
        out.kind = item->Kind();
        double w = item->Width;
        double h = item->Height;
        switch (item->Kind()) {
        case eReportItemKind::Label: {
            auto* label = static_cast<TReportLabel*>(item);
            QString text = label->Caption;
            if (label->OnPrint)
                label->OnPrint(label, text);
            out.text = text;
            out.fontSize = label->FontSize;
            out.bold = label->Bold;
            out.underline = label->Underline;
            out.wordWrap = label->WordWrap;
            out.lines = ReportTextLines(label->FontSize, label->Bold,
                                        label->WordWrap ? label->Width : 0, text);
            if (!label->WordWrap && label->AutoSize)
                w = ReportTextWidth(label->FontSize, label->Bold, text);
            h = std::max(h, ReportTextHeight(*label, text));
            break;
        }
        case eReportItemKind::SysData: {
            auto* field = static_cast<TReportSysData*>(item);
            out.fontSize = field->FontSize;
            out.bold = field->Bold;
            // The page number is known only when the band is placed.
            if (field->Data == eSysData::Date) {
                out.text = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
                out.lines = QStringList{out.text};
            }
            const QString widest =
                field->Data == eSysData::Date ? out.text : QStringLiteral("9999");
            w = std::max(w, ReportTextWidth(field->FontSize, field->Bold, widest));
            TReportLabel probe("");
            probe.FontSize = field->FontSize;
            probe.Bold = field->Bold;
            h = std::max(h, ReportTextHeight(probe, widest));
            break;
        }
        case eReportItemKind::Image:
            out.picture = static_cast<TReportImage*>(item)->Picture;
            break;
        case eReportItemKind::Shape:
            out.penWidth = static_cast<TReportShape*>(item)->PenWidth;
            break;
        }
        out.rect = QRectF(item->Left, item->Top, w, h);
        inst.items.push_back(std::move(out));
    }
    // A wrapped label that needs more lines than its height gives pushes
    // the items below it down by what it grew, so that it overlaps none of
    // them; items beside it stay where they are.
    const auto& items = band.Items();
    std::vector<double> shift(items.size(), 0.0);
    for (std::size_t j = 0; j < items.size(); ++j) {
        const TReportItem* grown = items[j].get();
        if (grown->Kind() != eReportItemKind::Label || grown->Height <= 0 ||
            !static_cast<const TReportLabel*>(grown)->WordWrap)
            continue;
        const double growth = inst.items[j].rect.height() - grown->Height;
        if (growth <= 0)
            continue;
        const double bottom = grown->Top + grown->Height;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i]->Top >= bottom - 1e-6)
                shift[i] += growth;
    }
    for (std::size_t i = 0; i < inst.items.size(); ++i) {
        inst.items[i].rect.translate(0, shift[i]);
        height = std::max(height, inst.items[i].rect.bottom());
    }
    if (!inst.items.empty())
        height = std::max(height, band.Height + *std::max_element(shift.begin(), shift.end()));
    inst.height = height;
    return inst;
}

int TReport::PrepareInto(TReportPages& pages, int firstPageNumber, int reportSeq) {
    if (BeforePrint)
        BeforePrint(*this);

    auto firstOf = [this](eBandType type) -> TReportBand* {
        for (const auto& band : m_Bands)
            if (band->Type() == type)
                return band.get();
        return nullptr;
    };
    TReportBand* header = firstOf(eBandType::PageHeader);
    TReportBand* footer = firstOf(eBandType::PageFooter);
    TReportBand* title = firstOf(eBandType::Title);
    TReportBand* columnHeader = firstOf(eBandType::ColumnHeader);
    TReportBand* detail = firstOf(eBandType::Detail);
    TReportBand* summary = firstOf(eBandType::Summary);

    // The body, band by band, each with the values its handlers give now.
    std::vector<Instance> body;
    if (title)
        body.push_back(Evaluate(*title, -1));
    int rows = 0;
    if (detail) {
        if (OnNeedData) {
            while (rows < kMaxRows && OnNeedData(*this))
                body.push_back(Evaluate(*detail, rows++));
        } else {
            body.push_back(Evaluate(*detail, 0));
            rows = 1;
        }
    }
    if (OnNeedData && rows == 0 && !Options.PrintIfEmpty)
        return 0;
    if (summary)
        body.push_back(Evaluate(*summary, -1));
    body.erase(std::remove_if(body.begin(), body.end(),
                              [](const Instance& inst) { return !inst.printed; }),
               body.end());
    for (std::size_t i = 0; i + 1 < body.size(); ++i)
        body[i].keepWithNext = body[i].band->LinkBand && body[i + 1].band == body[i].band->LinkBand;

    const std::size_t firstIndex = pages.pages.size();
    double footerReserve = footer ? footer->Height : 0.0;
    if (footer) {
        // The footer's real height (its labels may be taller than the band).
        const Instance probe = Evaluate(*footer, -1);
        footerReserve = probe.printed ? probe.height : 0.0;
    }
    const double bodyBottom = Page.PageLength - Page.BottomMargin - footerReserve;
    double y = 0;
    double bodyTop = 0;

    auto place = [&](Instance& inst) {
        TLaidOutPage& page = pages.pages.back();
        for (TLaidOutItem& item : inst.items) {
            item.rect.translate(Page.LeftMargin, y);
            page.items.push_back(item);
        }
        y += inst.height;
    };
    auto newPage = [&] {
        TLaidOutPage page;
        page.number = firstPageNumber + static_cast<int>(pages.pages.size() - firstIndex);
        page.report = m_Name;
        page.reportSeq = reportSeq;
        page.widthMm = Page.PageWidth;
        page.heightMm = Page.PageLength;
        page.marginsMm = QRectF(Page.LeftMargin, Page.TopMargin,
                                Page.PageWidth - Page.LeftMargin - Page.RightMargin,
                                Page.PageLength - Page.TopMargin - Page.BottomMargin);
        pages.pages.push_back(std::move(page));
        y = Page.TopMargin;
        const bool firstPage = pages.pages.size() - firstIndex == 1;
        if (header && (!firstPage || Options.FirstPageHeader)) {
            Instance inst = Evaluate(*header, -1);
            if (inst.printed)
                place(inst);
        }
        if (columnHeader) {
            Instance inst = Evaluate(*columnHeader, -1);
            if (inst.printed)
                place(inst);
        }
        bodyTop = y;
    };

    newPage();
    for (std::size_t i = 0; i < body.size(); ++i) {
        double need = body[i].height;
        for (std::size_t j = i; body[j].keepWithNext && j + 1 < body.size(); ++j)
            need += body[j + 1].height;
        // A band taller than a page goes on a page of its own rather than
        // asking for new pages for ever.
        if (y + need > bodyBottom && y > bodyTop)
            newPage();
        place(body[i]);
    }

    if (footer) {
        for (std::size_t p = firstIndex; p < pages.pages.size(); ++p) {
            if (p + 1 == pages.pages.size() && !Options.LastPageFooter)
                continue;
            Instance inst = Evaluate(*footer, -1);
            if (!inst.printed)
                continue;
            TLaidOutPage& page = pages.pages[p];
            const double top = Page.PageLength - Page.BottomMargin - inst.height;
            for (TLaidOutItem& item : inst.items) {
                item.rect.translate(Page.LeftMargin, top);
                page.items.push_back(item);
            }
        }
    }
    // Page numbers, now that every page has its number.
    for (std::size_t p = firstIndex; p < pages.pages.size(); ++p) {
        TLaidOutPage& page = pages.pages[p];
        for (TLaidOutItem& item : page.items)
            if (item.kind == eReportItemKind::SysData && item.text.isEmpty()) {
                item.text = QString::number(page.number);
                item.lines = QStringList{item.text};
            }
    }
    return static_cast<int>(pages.pages.size() - firstIndex);
}

void TReport::Prepare() {
    m_Pages.Clear();
    m_Pages.title = ReportTitle;
    PrepareInto(m_Pages, 1, 0);
}

bool TReport::PrinterSetup(QWidget* parent) {
    m_pPrinter = TReportPrinter::NewPrinter();
    return TReportPrinter::PrintDialog(parent, *m_pPrinter, m_Pages);
}

bool TReport::Print() {
    if (!m_pPrinter)
        m_pPrinter = TReportPrinter::NewPrinter();
    return TReportPrinter::Print(m_Pages, *m_pPrinter);
}

void TReport::Preview(QWidget* parent) {
    Prepare();
    TReportPrinter::Preview(parent, m_Pages);
}
