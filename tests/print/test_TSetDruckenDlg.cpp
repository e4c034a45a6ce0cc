// The print dialog: its texts, the choice of current part or everything by
// node kind, and what each button does to the dialog and the printer.

#include "PdfCheck.h"
#include "PrintFixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <ostream>

namespace {

struct KindCase {
    const char* name;
    std::uint8_t kind;
    bool currentPart; // the radio group is enabled
};
void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintDialogKinds : public PrintTest, public testing::WithParamInterface<KindCase> {};

template <class T> T* Child(QWidget* w, const char* name) {
    T* child = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

} // namespace

TEST_P(PrintDialogKinds, TheChoiceIsOfferedByNodeKindWithEverythingPreselected) {
    Load(nullptr);
    auto dlg = Dialog(GetParam().kind);
    EXPECT_EQ(Child<QGroupBox>(dlg.get(), "m_pPrintBox")->isEnabled(), GetParam().currentPart);
    EXPECT_TRUE(Child<QRadioButton>(dlg.get(), "m_pPrintBoxItem1")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(dlg.get(), "m_pPrintBoxItem0")->isChecked());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PrintDialogKinds,
    testing::Values(KindCase{"Project", 1, false}, KindCase{"Devices", 2, true},
                    KindCase{"DevicesFolder", 3, false}, KindCase{"BoxFolder", 4, true},
                    KindCase{"SMS", 7, true}, KindCase{"ControllerFolder", 10, true},
                    KindCase{"MfeInput", 15, true}, KindCase{"MfrRelay", 16, true},
                    KindCase{"DoorSettingsFolder", 17, false}, KindCase{"SwitchCodes", 18, true},
                    KindCase{"EibPage", 20, false}, KindCase{"BsmFolder", 21, true},
                    KindCase{"PermissionGroups", 25, true}, KindCase{"TlnProg", 26, false},
                    KindCase{"System", 28, true}, KindCase{"Transfer", 29, false},
                    KindCase{"Wizard", 38, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintTest, TheDialogShowsItsLanguageTexts) {
    Load(nullptr);
    auto dlg = Dialog(eSMS);
    EXPECT_EQ(dlg->windowTitle(), Text(79));
    EXPECT_EQ(Child<QLabel>(dlg.get(), "Label1")->text(), Text(75));
    EXPECT_EQ(Child<QRadioButton>(dlg.get(), "m_pPrintBoxItem0")->text(), Text(76));
    EXPECT_EQ(Child<QRadioButton>(dlg.get(), "m_pPrintBoxItem1")->text(), Text(77));
    EXPECT_TRUE(Child<QGroupBox>(dlg.get(), "m_pPrintBox")->title().isEmpty());
    EXPECT_EQ(Child<QPushButton>(dlg.get(), "m_pPrint")->text(), Text(14));
    EXPECT_EQ(Child<QPushButton>(dlg.get(), "m_pVorschau")->text(), Text(78));
    EXPECT_EQ(Child<QPushButton>(dlg.get(), "m_pSettings")->text(), Text(16));
    EXPECT_EQ(Child<QPushButton>(dlg.get(), "m_pCancel")->text(), Text(3001));
}

TEST_F(PrintTest, PrintingWithoutChangingTheChoicePrintsEverything) {
    Load([](MoxDaten* d) { MoxSetTypeIT(d, 2); });
    const auto reports = PrintedReports(eSMS, true);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), "TPrintGeraete");
    EXPECT_GT(reports.size(), 5u);
}

TEST_F(PrintTest, PrintClosesTheDialogWithResultOne) {
    Load(nullptr);
    m_pDlg = Dialog(eSMS);
    m_pDlg->show();
    Child<QPushButton>(m_pDlg.get(), "m_pPrint")->click();
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->result(), 1);
    EXPECT_EQ(m_Printed.size(), 1u);
}

TEST_F(PrintTest, PreviewKeepsTheDialogOpenAndPrintsNothing) {
    Load(nullptr);
    m_pDlg = Dialog(eSMS);
    m_pDlg->show();
    Child<QRadioButton>(m_pDlg.get(), "m_pPrintBoxItem0")->setChecked(true);
    Child<QPushButton>(m_pDlg.get(), "m_pVorschau")->click();
    EXPECT_TRUE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->result(), 0);
    ASSERT_EQ(m_Previewed.size(), 1u);
    EXPECT_EQ(ReportsOf(m_Previewed.front()), std::vector<std::string>{"TPrintSMS"});
    EXPECT_TRUE(m_Printed.empty());
}

TEST_F(PrintTest, PrinterSetupKeepsTheDialogOpen) {
    Load(nullptr);
    m_pDlg = Dialog(eSMS);
    m_pDlg->show();
    Child<QPushButton>(m_pDlg.get(), "m_pSettings")->click();
    EXPECT_TRUE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->result(), 0);
    EXPECT_EQ(m_nSetups, 1);
    EXPECT_TRUE(m_Printed.empty());
}

TEST_F(PrintTest, CancelClosesTheDialogWithResultTwo) {
    Load(nullptr);
    m_pDlg = Dialog(eSMS);
    m_pDlg->show();
    Child<QPushButton>(m_pDlg.get(), "m_pCancel")->click();
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->result(), 2);
    EXPECT_TRUE(m_Printed.empty());
    EXPECT_TRUE(m_Previewed.empty());
}

TEST_F(PrintTest, ACancelledPrintDialogPrintsNothing) {
    Load(nullptr);
    m_bAcceptPrint = false;
    PrintedReports(eSMS, false);
    EXPECT_EQ(m_Printed.size(), 1u); // the dialog was shown
    EXPECT_FALSE(CheckPdf(PdfPath()).exists);
}

TEST_F(PrintTest, AnAcceptedPrintWritesEveryPageOfTheJob) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetTypeKMR(d, 1);
        MoxSetTypeRAK(d, 1);
        MoxSetTypeBSM(d, 1);
    });
    PrintedReports(eProjectKonf, true);
    ASSERT_EQ(m_Printed.size(), 1u);
    const PdfCheck pdf = CheckPdf(PdfPath());
    ASSERT_TRUE(pdf.exists);
    EXPECT_TRUE(pdf.wellFormed) << pdf.problem;
    EXPECT_EQ(pdf.pages, static_cast<int>(m_Printed.front().pages.size()));
    EXPECT_GT(pdf.pages, 10);
}

// A preview of everything followed by a print of the current part prints
// the current part, as the dialog shows it chosen.
TEST_F(PrintTest, TheChoiceIsReadAgainForEveryButton) {
    Load(nullptr);
    m_pDlg = Dialog(eSMS);
    m_pDlg->show();
    Child<QPushButton>(m_pDlg.get(), "m_pVorschau")->click();
    ASSERT_EQ(m_Previewed.size(), 1u);
    EXPECT_EQ(ReportsOf(m_Previewed.front()).front(), "TPrintGeraete");
    Child<QRadioButton>(m_pDlg.get(), "m_pPrintBoxItem0")->setChecked(true);
    Child<QPushButton>(m_pDlg.get(), "m_pPrint")->click();
    ASSERT_EQ(m_Printed.size(), 1u);
    EXPECT_EQ(ReportsOf(m_Printed.front()), std::vector<std::string>{"TPrintSMS"});
}
