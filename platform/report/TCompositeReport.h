#pragma once
// TCompositeReport: several reports printed as one job, one after the
// other with the page numbers running on. Preparing it empties its list,
// lets the add-reports handler fill it and lays out every report in the
// list; a report that prints nothing adds no page.
//
// GUI thread only.

#include "IPrintJob.h"
#include "TReport.h"

#include <QPrinter>

#include <functional>
#include <memory>
#include <vector>

class TCompositeReport : public IPrintJob {
public:
    TCompositeReport() = default;
    ~TCompositeReport() override;
    TCompositeReport(const TCompositeReport&) = delete;
    TCompositeReport& operator=(const TCompositeReport&) = delete;

    QString ReportTitle;
    int Copies = 1;
    // Fills the list (Add) while the job is prepared.
    std::function<void(TCompositeReport& composite)> OnAddReports;

    void Add(TReport* report) { m_Reports.push_back(report); }
    void Clear() { m_Reports.clear(); }
    // The reports of the last Prepare, not owned.
    const std::vector<TReport*>& Reports() const { return m_Reports; }

    // IPrintJob
    void Prepare() override;
    const TReportPages& Pages() const override { return m_Pages; }
    bool PrinterSetup(QWidget* parent = nullptr) override;
    bool Print() override;
    void Preview(QWidget* parent = nullptr) override;

private:
    std::vector<TReport*> m_Reports;
    TReportPages m_Pages;
    std::unique_ptr<QPrinter> m_pPrinter;
};
