#pragma once
// TReport: a report container. It owns its bands and lays them out on
// pages of its page format: the page header and the column header on top of
// every page, the title once, the detail band once or, with a need-data
// handler, once per row for as long as the handler answers that a row
// follows, the summary once, and the page footer at the bottom of every
// page. Labels get their printed text when their band is laid out, so a
// need-data handler that sets them gives every row its own values.
//
// GUI thread only (text measuring and printing are Qt's).

#include "IPrintJob.h"
#include "TReportBand.h"
#include "TReportPages.h"

#include <QPrinter>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct TReportPageFormat {
    double PageWidth = 210.0; // mm, A4 portrait
    double PageLength = 297.0;
    double TopMargin = 10.0;
    double BottomMargin = 20.0;
    double LeftMargin = 20.0;
    double RightMargin = 25.0;
    int Columns = 1;
};

struct TReportOptions {
    bool FirstPageHeader = true; // the page header also on the first page
    bool LastPageFooter = true;  // the page footer also on the last page
    // Without it a report whose need-data handler gives no row prints
    // nothing at all.
    bool PrintIfEmpty = true;
};

class TReport : public IPrintJob {
public:
    explicit TReport(std::string name);
    ~TReport() override;
    TReport(const TReport&) = delete;
    TReport& operator=(const TReport&) = delete;

    const std::string& Name() const { return m_Name; }
    QString ReportTitle;
    TReportPageFormat Page;
    TReportOptions Options;

    // Before the report is laid out.
    std::function<void(TReport& report)> BeforePrint;
    // Asked before every detail row: true prints one more row.
    std::function<bool(TReport& report)> OnNeedData;

    TReportBand* AddBand(eBandType type, std::string name, double heightMm);
    TReportBand* FindBand(const std::string& name) const;
    const std::vector<std::unique_ptr<TReportBand>>& Bands() const { return m_Bands; }

    // Appends the pages of this report to a job, numbered from
    // firstPageNumber; returns the number of pages added.
    int PrepareInto(TReportPages& pages, int firstPageNumber, int reportSeq);

    // IPrintJob
    void Prepare() override;
    const TReportPages& Pages() const override { return m_Pages; }
    bool PrinterSetup(QWidget* parent = nullptr) override;
    bool Print() override;
    void Preview(QWidget* parent = nullptr) override;

private:
    struct Instance;
    Instance Evaluate(TReportBand& band, int row);

    std::string m_Name;
    std::vector<std::unique_ptr<TReportBand>> m_Bands;
    TReportPages m_Pages;
    std::unique_ptr<QPrinter> m_pPrinter;
};
