#pragma once
// A fixture for the print dialog and the reports: the real English language
// texts, a settings file of the test's own, a document loaded from a record
// the test sets up, and the print dialog, printer setup and preview
// answered through the report layer's seam, keeping what they were shown.

#include "IDocLanguageRefresh.h"
#include "MoxDaten.h"
#include "PageTestBase.h"
#include "TMoxDocument.h"
#include "TNodeData.h"
#include "TReportPages.h"
#include "TSetDruckenDlg.h"

#include <gtest/gtest.h>

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class PrintTest : public PageTestBase {
protected:
    PrintTest() : PageTestBase("print") {}
    void SetUp() override;
    void TearDown() override;
    // Printing asks no question: any message box fails the test.
    int BoxAnswer(const TMsgBox::Request& request) override;

    // Loads a fresh configuration, changed by edit, as the document file
    // "test.ktx" (so the footer has a file name).
    void Load(const std::function<void(MoxDaten*)>& edit);

    std::unique_ptr<TSetDruckenDlg> Dialog(std::uint8_t kind, int mode = 2);
    // Runs the print button of a dialog for the kind with "everything" or
    // "current part" chosen; returns the reports of the printed job (empty
    // when nothing went to the printer).
    std::vector<std::string> PrintedReports(std::uint8_t kind, bool everything, int mode = 2);
    // The pages of the one report (or job) a node kind prints; none when
    // nothing went to the print dialog.
    const TReportPages& PrintKind(std::uint8_t kind, int mode = 2);

    TMoxDocument& Doc() { return *m_pDoc; }
    QString Text(int id) const { return m_pRes->GetQText(id); }
    QString PdfPath() const;

    class Host : public IDocLanguageRefresh {
    public:
        void RefreshLanguage() override {}
    };

    Host m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<TSetDruckenDlg> m_pDlg;

    bool m_bAcceptPrint = true;            // the print dialog's answer
    bool m_bPrintToPdf = false;            // the accepted print goes to PdfPath()
    std::vector<TReportPages> m_Printed;   // what each print dialog was shown
    std::vector<TReportPages> m_Previewed; // what each preview showed
    int m_nSetups = 0;                     // printer setups run
};

// The reports of a job, in print order.
std::vector<std::string> ReportsOf(const TReportPages& pages);
