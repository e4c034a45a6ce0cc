#include "PrintFixture.h"

#include "TReportPrinter.h"
#include "TestImages.h"

#include <QPushButton>
#include <QRadioButton>

#include <fstream>

void PrintTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
    m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), nullptr);

    TReportPrinter::Handlers h;
    h.printDialog = [this](QPrinter& printer, const TReportPages& pages) {
        m_Printed.push_back(pages);
        if (m_bAcceptPrint) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(PdfPath());
        }
        return m_bAcceptPrint;
    };
    h.setupDialog = [this](QPrinter&) {
        ++m_nSetups;
        return true;
    };
    h.preview = [this](const TReportPages& pages) { m_Previewed.push_back(pages); };
    TReportPrinter::SetHandlersForTesting(h);
}

void PrintTest::TearDown() {
    m_pDlg.reset();
    TReportPrinter::SetHandlersForTesting({});
    m_pDoc.reset();
    PageTestBase::TearDown();
}

int PrintTest::BoxAnswer(const TMsgBox::Request& request) {
    ADD_FAILURE() << "message box " << request.textId;
    return mb::kIdOk;
}

QString PrintTest::PdfPath() const {
    return QString::fromStdString((m_Dir / "printed.pdf").string());
}

void PrintTest::Load(const std::function<void(MoxDaten*)>& edit) {
    const std::vector<std::uint8_t> image = TaggedImage(edit);
    const std::string path = (m_Dir / "test.ktx").string();
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
    }
    ASSERT_TRUE(m_pDoc->OpenDocument(path.c_str()));
}

std::unique_ptr<TSetDruckenDlg> PrintTest::Dialog(std::uint8_t kind, int mode) {
    return std::make_unique<TSetDruckenDlg>(nullptr, kind, m_pDoc.get(), m_pRes.get(), mode);
}

std::vector<std::string> PrintTest::PrintedReports(std::uint8_t kind, bool everything, int mode) {
    m_pDlg = Dialog(kind, mode);
    m_pDlg->show();
    const char* item = everything ? "m_pPrintBoxItem1" : "m_pPrintBoxItem0";
    auto* radio = m_pDlg->findChild<QRadioButton*>(QString::fromLatin1(item));
    EXPECT_NE(radio, nullptr);
    if (radio)
        radio->setChecked(true);
    const std::size_t before = m_Printed.size();
    m_pDlg->findChild<QPushButton*>(QStringLiteral("m_pPrint"))->click();
    if (m_Printed.size() == before)
        return {};
    return ReportsOf(m_Printed.back());
}

const TReportPages& PrintTest::PrintKind(std::uint8_t kind, int mode) {
    m_pDlg = Dialog(kind, mode);
    const std::size_t before = m_Printed.size();
    m_pDlg->Select(kind, false);
    static const TReportPages none;
    return m_Printed.size() == before ? none : m_Printed.back();
}

std::vector<std::string> ReportsOf(const TReportPages& pages) {
    return pages.Reports();
}
