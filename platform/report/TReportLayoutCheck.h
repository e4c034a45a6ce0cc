#pragma once
// The layout check of laid-out pages: what the printed page would not show
// as the report meant it. A text that needs more room than its box is cut
// there (the renderer clips every text to its box), two texts of one band
// whose boxes overlap print over each other, and a box beyond the page's
// margins leaves the part of the paper the report is laid out for. (The
// renderer grows the clip by a little for accents that reach above the
// font's ascent; the check holds every text to its box itself.)
//
// Texts are measured with the font and the flags the renderer draws them
// with, so the check says what the PDF and the printer show. Only items
// that print a text take part: labels and date and page fields with a
// text that is not empty.
//
// GUI thread only (text measuring is Qt's).

#include "TReportPages.h"

#include <QString>

#include <string>
#include <vector>

enum class eLayoutFault {
    Cut,     // the text needs more room than its box gives
    Overlap, // two texts of one band overlap
    Margin,  // the box reaches beyond the page's margins
};

struct TLayoutFault {
    eLayoutFault kind = eLayoutFault::Cut;
    int page = 0; // page number in the job
    std::string report;
    std::string band;
    int row = -1; // detail row, -1 outside the detail band
    std::string label;
    QString text;
    QSizeF need; // mm the text needs (cut)
    QRectF box;  // mm, the label's box on the paper
    // Overlap: the other label.
    std::string other;
    QString otherText;

    // One line that names the fault: its kind, report, band, label, text
    // and the sizes that make it a fault.
    std::string Describe() const;
};

// Every layout fault of the pages, page by page in print order.
std::vector<TLayoutFault> CheckReportLayout(const TReportPages& pages);

// The faults one per line, for a test's failure message.
std::string DescribeFaults(const std::vector<TLayoutFault>& faults);
