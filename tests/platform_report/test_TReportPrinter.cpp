// Output of laid-out pages: a PDF file with one page per laid-out page,
// printing behind the print dialog (accepted: the printer gets the pages in
// its range; cancelled: the caller does not print), the preview and the
// printer setup through their seams.

#include "PdfCheck.h"
#include "TCompositeReport.h"
#include "TReportPrinter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

class ReportPrinter : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Dir.isValid());
        m_Report.AddBand(eBandType::PageHeader, "Header", 15)
            ->AddLabel("Head", 0, 0, QStringLiteral("Überschrift äöü"));
        m_Report.AddBand(eBandType::PageFooter, "Footer", 8)
            ->AddSysData("PageNo", 0, 0, eSysData::PageNumber);
        TReportBand* detail = m_Report.AddBand(eBandType::Detail, "Detail", 100);
        detail->AddLabel("Cell", 0, 0, QStringLiteral("x"));
        detail->AddShape("Line", 0, 10, 165, 1);
        QPixmap logo(20, 10);
        logo.fill(Qt::blue);
        detail->AddImage("Logo", 100, 20, 20, 10, logo);
        m_Report.BeforePrint = [this](TReport&) { m_nRow = 0; };
        m_Report.OnNeedData = [this](TReport&) { return m_nRow++ < m_nRows; };
    }
    void TearDown() override { TReportPrinter::SetHandlersForTesting({}); }

    QString Path(const char* name) const { return m_Dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_Dir;
    TReport m_Report{"Test"};
    int m_nRows = 5; // three pages
    int m_nRow = 0;
};

} // namespace

TEST_F(ReportPrinter, APdfHasOnePagePerLaidOutPage) {
    m_Report.Prepare();
    ASSERT_EQ(m_Report.Pages().pages.size(), 3u);
    ASSERT_TRUE(TReportPrinter::WritePdf(m_Report.Pages(), Path("out.pdf")));
    const PdfCheck pdf = CheckPdf(Path("out.pdf"));
    ASSERT_TRUE(pdf.exists);
    EXPECT_TRUE(pdf.wellFormed) << pdf.problem;
    EXPECT_EQ(pdf.pages, 3);
}

// A logo recompressed as a JPEG prints with its artefacts; it goes in as it
// is.
TEST_F(ReportPrinter, AnImageGoesIntoThePdfWithoutLossyCompression) {
    m_Report.Prepare();
    ASSERT_TRUE(TReportPrinter::WritePdf(m_Report.Pages(), Path("out.pdf")));
    QFile file(Path("out.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.contains("/Subtype /Image"));
    EXPECT_FALSE(pdf.contains("/DCTDecode"));
}

TEST_F(ReportPrinter, APdfIntoAMissingFolderFails) {
    m_Report.Prepare();
    EXPECT_FALSE(TReportPrinter::WritePdf(m_Report.Pages(), Path("no/such/dir/out.pdf")));
}

TEST_F(ReportPrinter, AnAcceptedPrintDialogPrintsThePages) {
    int dialogs = 0;
    TReportPrinter::Handlers h;
    h.printDialog = [&](QPrinter& printer, const TReportPages& pages) {
        ++dialogs;
        EXPECT_EQ(pages.pages.size(), 3u); // the dialog sees the prepared job
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Path("printed.pdf"));
        return true;
    };
    TReportPrinter::SetHandlersForTesting(h);
    m_Report.Prepare();
    ASSERT_TRUE(m_Report.PrinterSetup());
    ASSERT_TRUE(m_Report.Print());
    EXPECT_EQ(dialogs, 1);
    const PdfCheck pdf = CheckPdf(Path("printed.pdf"));
    EXPECT_TRUE(pdf.wellFormed) << pdf.problem;
    EXPECT_EQ(pdf.pages, 3);
}

TEST_F(ReportPrinter, TheDialogsPageRangeLimitsWhatIsPrinted) {
    TReportPrinter::Handlers h;
    h.printDialog = [&](QPrinter& printer, const TReportPages&) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Path("range.pdf"));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        return true;
    };
    TReportPrinter::SetHandlersForTesting(h);
    m_Report.Prepare();
    ASSERT_TRUE(m_Report.PrinterSetup());
    ASSERT_TRUE(m_Report.Print());
    EXPECT_EQ(CheckPdf(Path("range.pdf")).pages, 2);
}

TEST_F(ReportPrinter, ACancelledPrintDialogSaysSo) {
    TReportPrinter::Handlers h;
    h.printDialog = [](QPrinter&, const TReportPages&) { return false; };
    TReportPrinter::SetHandlersForTesting(h);
    m_Report.Prepare();
    EXPECT_FALSE(m_Report.PrinterSetup());
}

TEST_F(ReportPrinter, ACompositePrintsAllItsReportsInOneFile) {
    TReport other("Other");
    other.AddBand(eBandType::Detail, "Detail", 10)->AddLabel("Cell", 0, 0, QStringLiteral("y"));
    TCompositeReport job;
    job.OnAddReports = [&](TCompositeReport& c) {
        c.Add(&m_Report);
        c.Add(&other);
    };
    TReportPrinter::Handlers h;
    h.printDialog = [&](QPrinter& printer, const TReportPages&) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Path("job.pdf"));
        return true;
    };
    TReportPrinter::SetHandlersForTesting(h);
    job.Prepare();
    ASSERT_TRUE(job.PrinterSetup());
    ASSERT_TRUE(job.Print());
    EXPECT_EQ(CheckPdf(Path("job.pdf")).pages, 4);
}

TEST_F(ReportPrinter, ThePreviewShowsTheJobPreparedAnew) {
    std::vector<std::size_t> shown;
    TReportPrinter::Handlers h;
    h.preview = [&](const TReportPages& pages) { shown.push_back(pages.pages.size()); };
    TReportPrinter::SetHandlersForTesting(h);
    m_Report.Preview();
    m_nRows = 1;
    m_Report.Preview();
    EXPECT_EQ(shown, (std::vector<std::size_t>{3, 1}));
}

TEST_F(ReportPrinter, ThePrinterSetupAnswersThroughItsSeam) {
    for (bool answer : {true, false}) {
        int calls = 0;
        TReportPrinter::Handlers h;
        h.setupDialog = [&](QPrinter& printer) {
            ++calls;
            EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
            return answer;
        };
        TReportPrinter::SetHandlersForTesting(h);
        EXPECT_EQ(TReportPrinter::SetupDialog(nullptr), answer);
        EXPECT_EQ(calls, 1);
    }
}
