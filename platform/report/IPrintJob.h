#pragma once
// What the print commands do with a report or a composite of reports: lay
// it out, let the user pick the printer, print it, show it in the preview.

#include "TReportPages.h"

class QWidget;

class IPrintJob {
public:
    virtual ~IPrintJob() = default;

    // Lays out every page anew from the values the handlers fill in now.
    virtual void Prepare() = 0;
    // The pages of the last Prepare.
    virtual const TReportPages& Pages() const = 0;

    // The print dialog (printer, copies, page range); false when cancelled.
    virtual bool PrinterSetup(QWidget* parent = nullptr) = 0;
    // Prints the prepared pages on the printer chosen in PrinterSetup;
    // false when the printer failed.
    virtual bool Print() = 0;
    // Prepares and shows the job in the preview window.
    virtual void Preview(QWidget* parent = nullptr) = 0;
};
