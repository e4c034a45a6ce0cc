// A composite job: the add-reports handler fills the list anew on every
// prepare, the reports print in the order added with the page numbers
// running on, and a report that prints nothing adds no page.

#include "TCompositeReport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A report of `rows` rows of 100 mm (so two or three to a page) with a
// footer that prints the page number.
std::unique_ptr<TReport> MakeReport(const std::string& name, int rows) {
    auto report = std::make_unique<TReport>(name);
    report->Options.PrintIfEmpty = false;
    report->AddBand(eBandType::PageFooter, "Footer", 8)
        ->AddSysData("PageNo", 0, 0, eSysData::PageNumber);
    report->AddBand(eBandType::Detail, "Detail", 100)->AddLabel("Cell", 0, 0, "x");
    auto count = std::make_shared<int>(0);
    report->BeforePrint = [count](TReport&) { *count = 0; };
    report->OnNeedData = [count, rows](TReport&) { return (*count)++ < rows; };
    return report;
}

} // namespace

TEST(CompositeReport, ReportsPrintInTheOrderAddedWithRunningPageNumbers) {
    auto a = MakeReport("A", 5); // 3 pages
    auto b = MakeReport("B", 1); // 1 page
    TCompositeReport job;
    job.OnAddReports = [&](TCompositeReport& c) {
        c.Add(b.get());
        c.Add(a.get());
    };
    job.Prepare();
    const TReportPages& pages = job.Pages();
    EXPECT_EQ(pages.Reports(), (std::vector<std::string>{"B", "A"}));
    ASSERT_EQ(pages.pages.size(), 4u);
    for (std::size_t p = 0; p < pages.pages.size(); ++p) {
        EXPECT_EQ(pages.pages[p].number, static_cast<int>(p + 1));
        EXPECT_EQ(pages.pages[p].items.back().text, QString::number(p + 1));
    }
    EXPECT_EQ(pages.pages[0].report, "B");
    EXPECT_EQ(pages.pages[1].report, "A");
}

TEST(CompositeReport, EveryPrepareFillsTheListAnew) {
    auto a = MakeReport("A", 1);
    TCompositeReport job;
    int calls = 0;
    job.OnAddReports = [&](TCompositeReport& c) {
        ++calls;
        c.Add(a.get());
    };
    job.Prepare();
    job.Prepare();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(job.Reports().size(), 1u);
    EXPECT_EQ(job.Pages().pages.size(), 1u);
}

TEST(CompositeReport, AReportWithoutRowsAddsNoPage) {
    auto a = MakeReport("A", 1);
    auto empty = MakeReport("Empty", 0);
    auto c = MakeReport("C", 1);
    TCompositeReport job;
    job.OnAddReports = [&](TCompositeReport& comp) {
        comp.Add(a.get());
        comp.Add(empty.get());
        comp.Add(c.get());
    };
    job.Prepare();
    EXPECT_EQ(job.Pages().Reports(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(job.Pages().pages.size(), 2u);
    EXPECT_EQ(job.Pages().pages[1].number, 2);
}

TEST(CompositeReport, TheSameReportTwiceIsTwoReportsOfTheJob) {
    auto a = MakeReport("A", 1);
    TCompositeReport job;
    job.OnAddReports = [&](TCompositeReport& c) {
        c.Add(a.get());
        c.Add(a.get());
    };
    job.Prepare();
    EXPECT_EQ(job.Pages().Reports(), (std::vector<std::string>{"A", "A"}));
}

TEST(CompositeReport, WithoutReportsTheJobHasNoPages) {
    TCompositeReport job;
    job.Prepare();
    EXPECT_TRUE(job.Pages().pages.empty());
}
