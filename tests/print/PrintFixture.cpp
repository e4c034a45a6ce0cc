#include "PrintFixture.h"

#include "ErrorBox.h"
#include "MoxAccess.h"
#include "PermSettings.h"
#include "SettingsStore.h"
#include "TKtxImage.h"
#include "TMsgBox.h"
#include "TReportPrinter.h"

#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>
#include <fstream>

using mox::platform::SettingsStore;

void PrintTest::SetUp() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mox-print-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    m_Dir = tmpl;
    SettingsStore::SetInstanceForTesting(
        SettingsStore::OpenFile((m_Dir / "settings.ini").string()));
    ErrorBox::SetHandlerForTesting([](const ErrorBox::Request& r) {
        ADD_FAILURE() << r.text;
        return ErrorBox::Answer::Ok;
    });
    TMsgBox::SetHandlerForTesting([](const TMsgBox::Request& r) {
        ADD_FAILURE() << "message box " << r.textId;
        return mb::kIdOk;
    });
    TkResourcen::SetProgramDirForTesting(MOX_BIN_DIR);
    SetPermSprache(2); // English
    m_pRes = std::make_unique<TkResourcen>();
    ASSERT_TRUE(m_pRes->IsLoaded());
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
    TMsgBox::SetHandlerForTesting({});
    ErrorBox::SetHandlerForTesting({});
    m_pRes.reset();
    TkResourcen::SetProgramDirForTesting("");
    SettingsStore::SetInstanceForTesting(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
}

QString PrintTest::PdfPath() const {
    return QString::fromStdString((m_Dir / "printed.pdf").string());
}

void PrintTest::Load(const std::function<void(MoxDaten*)>& edit) {
    auto data = std::make_unique<MoxDaten>();
    MoxInitDaten(data.get());
    if (edit)
        edit(data.get());
    std::vector<std::uint8_t> image(TKtxImage::kSize);
    TKtxImage::Build(data.get(), image.data());
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
