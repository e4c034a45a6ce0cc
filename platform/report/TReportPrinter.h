#pragma once
// Where laid-out pages go: the printer (after the print dialog), the
// preview window, a PDF file. The print dialog, the printer setup and the
// preview are modal; tests answer them through the handler seam, so no
// dialog ever blocks a test (a print-dialog handler may point the printer
// at a PDF file and accept).
//
// GUI thread only.

#include "TReportPages.h"

#include <QPrinter>
#include <QString>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QWidget;

class TReportPrinter {
public:
    // A printer for one job: A4 portrait, one copy, the printer chosen last.
    static std::unique_ptr<QPrinter> NewPrinter();

    // The print dialog (printer, copies, page range) for a job; false when
    // cancelled. The printer chosen is remembered for the next job.
    static bool PrintDialog(QWidget* parent, QPrinter& printer, const TReportPages& pages);
    // The printer setup alone (the settings commands); false when cancelled.
    static bool SetupDialog(QWidget* parent);
    // The preview window of the pages, modal.
    static void Preview(QWidget* parent, const TReportPages& pages);

    // Prints the pages in the printer's page range; false when the printer
    // could not be opened.
    static bool Print(const TReportPages& pages, QPrinter& printer);
    // Draws pages fromPage..toPage (page numbers; 0, 0 for all) onto a
    // paged device; false when it could not be opened.
    static bool Render(const TReportPages& pages, QPagedPaintDevice& device, int fromPage = 0,
                       int toPage = 0);
    // Draws one page with the painter at the resolution given.
    static void DrawPage(QPainter& painter, const TLaidOutPage& page, double dotsPerMm);
    // Writes the pages into a PDF file; false when it could not be written.
    static bool WritePdf(const TReportPages& pages, const QString& path);

    struct Handlers {
        std::function<bool(QPrinter&, const TReportPages&)> printDialog;
        std::function<bool(QPrinter&)> setupDialog;
        std::function<void(const TReportPages&)> preview;
    };
    // Replaces the dialogs (tests); empty handlers restore the real ones.
    static void SetHandlersForTesting(Handlers handlers);
};
