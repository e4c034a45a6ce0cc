// Laying out one report: the detail band once per row the need-data
// handler gives, with the values it set for that row; page breaks that keep
// every band inside the body of its page; headers and footers by the
// options; linked bands kept together; empty reports; bands left out by
// their handler; labels replaced at print time and wrapped text.

#include "TReport.h"

#include <gtest/gtest.h>

#include <QDate>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr double kHeader = 15.0;
constexpr double kFooter = 8.0;

// A report with page header and footer (page number), a detail band with
// one label and a need-data handler that gives `rows` rows.
struct RowReport {
    explicit RowReport(int rows, bool withHeaderAndFooter = true) : count(rows) {
        if (withHeaderAndFooter) {
            TReportBand* header = report.AddBand(eBandType::PageHeader, "Header", kHeader);
            header->AddLabel("HeaderText", 0, 0, QStringLiteral("head"));
            TReportBand* footer = report.AddBand(eBandType::PageFooter, "Footer", kFooter);
            footer->AddSysData("PageNo", 0, 0, eSysData::PageNumber);
        }
        detail = report.AddBand(eBandType::Detail, "Detail", 10.0);
        cell = detail->AddLabel("Cell", 0, 0);
        report.BeforePrint = [this](TReport&) { row = 0; };
        report.OnNeedData = [this](TReport&) {
            if (row >= count)
                return false;
            cell->Caption = QStringLiteral("row %1").arg(row);
            ++row;
            return true;
        };
    }
    TReport report{"Rows"};
    TReportBand* detail = nullptr;
    TReportLabel* cell = nullptr;
    int count;
    int row = 0;
};

std::vector<const TLaidOutItem*> Named(const TReportPages& pages, const std::string& name) {
    std::vector<const TLaidOutItem*> out;
    for (const TLaidOutItem* item : pages.Items())
        if (item->name == name)
            out.push_back(item);
    return out;
}

bool PageHas(const TLaidOutPage& page, const std::string& name) {
    return std::any_of(page.items.begin(), page.items.end(),
                       [&](const TLaidOutItem& item) { return item.name == name; });
}

} // namespace

TEST(ReportLayout, EveryRowPrintsOnceWithTheValuesOfItsRow) {
    RowReport r(5);
    r.report.Prepare();
    const auto texts = r.report.Pages().TextsOf("Cell");
    ASSERT_EQ(texts.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(texts[static_cast<std::size_t>(i)], QStringLiteral("row %1").arg(i));
    const auto cells = Named(r.report.Pages(), "Cell");
    for (std::size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cells[i]->row, static_cast<int>(i));
}

TEST(ReportLayout, PreparingAgainStartsFromTheFirstRow) {
    RowReport r(3);
    r.report.Prepare();
    r.report.Prepare();
    EXPECT_EQ(r.report.Pages().TextsOf("Cell").size(), 3u);
}

TEST(ReportLayout, RowsRunOnToNewPagesInsideTheBody) {
    RowReport r(60); // 600 mm of rows: three A4 pages
    r.report.Prepare();
    const TReportPages& pages = r.report.Pages();
    ASSERT_GE(pages.pages.size(), 3u);
    EXPECT_EQ(pages.TextsOf("Cell").size(), 60u);

    const TReportPageFormat& f = r.report.Page;
    for (const TLaidOutPage& page : pages.pages) {
        EXPECT_TRUE(PageHas(page, "HeaderText")) << "page " << page.number;
        EXPECT_TRUE(PageHas(page, "PageNo")) << "page " << page.number;
        for (const TLaidOutItem& item : page.items) {
            if (item.bandType != eBandType::Detail)
                continue;
            EXPECT_GE(item.rect.top(), f.TopMargin + kHeader - 1e-6) << "page " << page.number;
            EXPECT_LE(item.rect.top() + 10.0, f.PageLength - f.BottomMargin - kFooter + 1e-6)
                << "page " << page.number;
            EXPECT_DOUBLE_EQ(item.rect.left(), f.LeftMargin);
        }
    }
    // The rows keep their order across the page breaks.
    const auto texts = pages.TextsOf("Cell");
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(texts[i], QStringLiteral("row %1").arg(i));
}

TEST(ReportLayout, PageNumbersCountThePages) {
    RowReport r(60);
    r.report.Prepare();
    const TReportPages& pages = r.report.Pages();
    for (std::size_t p = 0; p < pages.pages.size(); ++p) {
        EXPECT_EQ(pages.pages[p].number, static_cast<int>(p + 1));
        const auto it = std::find_if(pages.pages[p].items.begin(), pages.pages[p].items.end(),
                                     [](const TLaidOutItem& i) { return i.name == "PageNo"; });
        ASSERT_NE(it, pages.pages[p].items.end());
        EXPECT_EQ(it->text, QString::number(p + 1));
        // The footer stands at the bottom of the body.
        EXPECT_NEAR(it->rect.top() + kFooter, r.report.Page.PageLength - r.report.Page.BottomMargin,
                    0.5);
    }
}

struct HeaderFooterCase {
    const char* name;
    bool firstPageHeader;
    bool lastPageFooter;
};
void PrintTo(const HeaderFooterCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportHeaderFooter : public testing::TestWithParam<HeaderFooterCase> {};

TEST_P(ReportHeaderFooter, TheOptionsDecideTheFirstHeaderAndTheLastFooter) {
    RowReport r(60);
    r.report.Options.FirstPageHeader = GetParam().firstPageHeader;
    r.report.Options.LastPageFooter = GetParam().lastPageFooter;
    r.report.Prepare();
    const auto& pages = r.report.Pages().pages;
    ASSERT_GE(pages.size(), 3u);
    EXPECT_EQ(PageHas(pages.front(), "HeaderText"), GetParam().firstPageHeader);
    EXPECT_EQ(PageHas(pages.back(), "PageNo"), GetParam().lastPageFooter);
    // The pages between always have both.
    EXPECT_TRUE(PageHas(pages[1], "HeaderText"));
    EXPECT_TRUE(PageHas(pages[1], "PageNo"));
    EXPECT_TRUE(PageHas(pages.front(), "PageNo"));
    EXPECT_TRUE(PageHas(pages.back(), "HeaderText"));
}

INSTANTIATE_TEST_SUITE_P(Options, ReportHeaderFooter,
                         testing::Values(HeaderFooterCase{"Both", true, true},
                                         HeaderFooterCase{"NoFirstHeader", false, true},
                                         HeaderFooterCase{"NoLastFooter", true, false},
                                         HeaderFooterCase{"Neither", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct EmptyCase {
    const char* name;
    bool printIfEmpty;
    std::size_t pages;
};
void PrintTo(const EmptyCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportEmpty : public testing::TestWithParam<EmptyCase> {};

TEST_P(ReportEmpty, AReportWithoutRowsPrintsOnlyWhenAskedTo) {
    RowReport r(0);
    r.report.Options.PrintIfEmpty = GetParam().printIfEmpty;
    r.report.Prepare();
    EXPECT_EQ(r.report.Pages().pages.size(), GetParam().pages);
    EXPECT_TRUE(r.report.Pages().TextsOf("Cell").empty());
}

INSTANTIATE_TEST_SUITE_P(Options, ReportEmpty,
                         testing::Values(EmptyCase{"Printed", true, 1},
                                         EmptyCase{"LeftOut", false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReportLayout, WithoutNeedDataTheDetailPrintsOnceEvenWhenEmptyIsOff) {
    TReport report("Once");
    report.Options.PrintIfEmpty = false;
    TReportBand* detail = report.AddBand(eBandType::Detail, "Detail", 10);
    TReportLabel* value = detail->AddLabel("Value", 0, 0);
    report.BeforePrint = [&](TReport&) { value->Caption = QStringLiteral("filled"); };
    report.Prepare();
    ASSERT_EQ(report.Pages().pages.size(), 1u);
    EXPECT_EQ(report.Pages().TextsOf("Value"), std::vector<QString>{QStringLiteral("filled")});
}

TEST(ReportLayout, ABandItsHandlerRefusesIsLeftOut) {
    RowReport r(4);
    r.detail->BeforePrint = [&](TReportBand&, bool& print) { print = r.row % 2 == 1; };
    r.report.Prepare();
    // Rows 0 and 2 (the handler runs after the row was counted: 1 and 3).
    EXPECT_EQ(r.report.Pages().TextsOf("Cell"),
              (std::vector<QString>{QStringLiteral("row 0"), QStringLiteral("row 2")}));
    // The rows left out take no room: the second row follows the first.
    const auto cells = Named(r.report.Pages(), "Cell");
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_DOUBLE_EQ(cells[1]->rect.top() - cells[0]->rect.top(), 10.0);
}

TEST(ReportLayout, TheOnPrintHandlerReplacesTheCaptionOfEveryPass) {
    RowReport r(3);
    int calls = 0;
    r.cell->OnPrint = [&](TReportItem* sender, QString& text) {
        EXPECT_EQ(sender, r.cell);
        ++calls;
        text = text.toUpper();
    };
    r.report.Prepare();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(r.report.Pages().TextsOf("Cell"),
              (std::vector<QString>{QStringLiteral("ROW 0"), QStringLiteral("ROW 1"),
                                    QStringLiteral("ROW 2")}));
}

TEST(ReportLayout, ALinkedBandTakesTheRowBeforeItToTheNextPage) {
    // A 100 mm page without margins, nine rows of 10 mm and a summary of
    // 15 mm: the rows fit on the first page, the summary does not.
    RowReport r(9, false);
    r.report.Page.TopMargin = 0;
    r.report.Page.BottomMargin = 0;
    r.report.Page.PageLength = 100;
    TReportBand* summary = r.report.AddBand(eBandType::Summary, "Summary", 15);
    summary->AddLabel("Total", 0, 0, QStringLiteral("total"));
    auto rowsOn = [&](const TLaidOutPage& page) {
        return std::count_if(page.items.begin(), page.items.end(),
                             [](const TLaidOutItem& i) { return i.name == "Cell"; });
    };

    r.detail->LinkBand = summary;
    r.report.Prepare();
    auto pages = r.report.Pages().pages;
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(rowsOn(pages[0]), 8);
    EXPECT_EQ(rowsOn(pages[1]), 1);
    EXPECT_TRUE(PageHas(pages[1], "Total"));

    r.detail->LinkBand = nullptr;
    r.report.Prepare();
    pages = r.report.Pages().pages;
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(rowsOn(pages[0]), 9);
    EXPECT_EQ(rowsOn(pages[1]), 0);
    EXPECT_TRUE(PageHas(pages[1], "Total"));
}

TEST(ReportLayout, WrappedTextMakesItsBandTaller) {
    TReport report("Wrap");
    TReportBand* detail = report.AddBand(eBandType::Detail, "Detail", 5);
    TReportLabel* text = detail->AddLabel("Long", 0, 0);
    text->WordWrap = true;
    text->Width = 30;
    TReportBand* summary = report.AddBand(eBandType::Summary, "Summary", 5);
    summary->AddLabel("After", 0, 0, QStringLiteral("after"));

    text->Caption = QStringLiteral("short");
    report.Prepare();
    const double oneLine = report.Pages().Items()[0]->rect.height();
    const double afterShort = Named(report.Pages(), "After")[0]->rect.top();

    text->Caption = QStringLiteral("a text far too long for thirty millimetres, which wraps "
                                   "onto several lines of the label");
    report.Prepare();
    const TLaidOutItem* wrapped = Named(report.Pages(), "Long")[0];
    EXPECT_GT(wrapped->rect.height(), 2 * oneLine);
    EXPECT_DOUBLE_EQ(wrapped->rect.width(), 30.0);
    // The band after it starts below the wrapped text.
    const double afterLong = Named(report.Pages(), "After")[0]->rect.top();
    EXPECT_GE(afterLong, wrapped->rect.bottom() - 1e-6);
    EXPECT_GT(afterLong, afterShort);
}

TEST(ReportLayout, AWrappedLabelBreaksAtSpacesAndInsideAWordOnlyWhereItMust) {
    TReport report("Lines");
    TReportBand* detail = report.AddBand(eBandType::Detail, "Detail", 5);
    TReportLabel* label = detail->AddLabel("Text", 0, 0);
    label->WordWrap = true;
    label->Width = ReportTextWidth(10, false, QStringLiteral("Haustür Müller")) + 0.5;
    label->Caption = QStringLiteral("Haustür Müller Erdgeschoss");
    report.Prepare();
    EXPECT_EQ(Named(report.Pages(), "Text")[0]->lines,
              (QStringList{QStringLiteral("Haustür Müller"), QStringLiteral("Erdgeschoss")}));

    // A number longer than the line is broken inside it: every digit prints.
    const QString number = QStringLiteral("004930123456789012345678");
    label->Caption = number;
    label->Width = ReportTextWidth(10, false, number) / 2 + 1;
    report.Prepare();
    const TLaidOutItem* broken = Named(report.Pages(), "Text")[0];
    EXPECT_EQ(broken->text, number);
    ASSERT_EQ(broken->lines.size(), 2);
    EXPECT_EQ(broken->lines.join(QString()), number);
    for (const QString& line : broken->lines)
        EXPECT_LE(ReportTextWidth(10, false, line), label->Width);
}

TEST(ReportLayout, AGrownLabelPushesTheItemsBelowItDown) {
    TReport report("Push");
    TReportBand* detail = report.AddBand(eBandType::Detail, "Detail", 20);
    TReportLabel* caption = detail->AddLabel("Caption", 0, 0);
    caption->WordWrap = true;
    caption->Width = 30;
    caption->Height = 5;
    detail->AddLabel("Beside", 40, 0, QStringLiteral("beside"));
    detail->AddLabel("Below", 0, 6, QStringLiteral("below"));

    // Positions relative to the band's top, where the caption stands.
    auto top = [&](const char* name) {
        return Named(report.Pages(), name)[0]->rect.top() -
               Named(report.Pages(), "Caption")[0]->rect.top();
    };
    caption->Caption = QStringLiteral("one line");
    report.Prepare();
    EXPECT_DOUBLE_EQ(top("Below"), 6.0);

    caption->Caption = QStringLiteral("a caption that needs three or four lines at this width");
    report.Prepare();
    const TLaidOutItem* grown = Named(report.Pages(), "Caption")[0];
    const double growth = grown->rect.height() - 5.0;
    ASSERT_GT(growth, 5.0);
    EXPECT_DOUBLE_EQ(top("Beside"), 0.0);
    EXPECT_DOUBLE_EQ(top("Below"), 6.0 + growth);
    EXPECT_GE(Named(report.Pages(), "Below")[0]->rect.top(), grown->rect.bottom());
}

TEST(ReportLayout, ABandTallerThanAPageDoesNotLoop) {
    TReport report("Tall");
    TReportBand* detail = report.AddBand(eBandType::Detail, "Detail", 400);
    detail->AddLabel("Cell", 0, 0, QStringLiteral("x"));
    int rows = 0;
    report.OnNeedData = [&](TReport&) { return rows++ < 2; };
    report.Prepare();
    EXPECT_EQ(report.Pages().pages.size(), 2u);
    EXPECT_EQ(report.Pages().TextsOf("Cell").size(), 2u);
}

TEST(ReportLayout, TheDateFieldPrintsTodaysDate) {
    TReport report("Date");
    TReportBand* detail = report.AddBand(eBandType::Detail, "Detail", 5);
    detail->AddSysData("Today", 0, 0, eSysData::Date);
    report.Prepare();
    EXPECT_EQ(report.Pages().TextOf("Today"),
              QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
}
