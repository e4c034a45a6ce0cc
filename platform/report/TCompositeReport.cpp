#include "TCompositeReport.h"

#include "TReportPrinter.h"

TCompositeReport::~TCompositeReport() = default;

void TCompositeReport::Prepare() {
    m_Reports.clear();
    if (OnAddReports)
        OnAddReports(*this);
    m_Pages.Clear();
    m_Pages.title = ReportTitle;
    int next = 1;
    int seq = 0;
    for (TReport* report : m_Reports) {
        if (!report)
            continue;
        next += report->PrepareInto(m_Pages, next, seq++);
    }
}

bool TCompositeReport::PrinterSetup(QWidget* parent) {
    m_pPrinter = TReportPrinter::NewPrinter();
    m_pPrinter->setCopyCount(Copies);
    return TReportPrinter::PrintDialog(parent, *m_pPrinter, m_Pages);
}

bool TCompositeReport::Print() {
    if (!m_pPrinter) {
        m_pPrinter = TReportPrinter::NewPrinter();
        m_pPrinter->setCopyCount(Copies);
    }
    return TReportPrinter::Print(m_Pages, *m_pPrinter);
}

void TCompositeReport::Preview(QWidget* parent) {
    Prepare();
    TReportPrinter::Preview(parent, m_Pages);
}
