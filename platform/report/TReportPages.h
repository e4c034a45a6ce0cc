#pragma once
// The laid-out pages of a print job: for every page the items as they are
// printed, with the report and band they come from, their text and their
// place on the paper in mm. The printer, the preview and the PDF output
// draw from this model, and tests read it.

#include "TReportBand.h"

#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

struct TLaidOutItem {
    std::string report; // name of the report
    std::string band;   // name of the band
    eBandType bandType = eBandType::Detail;
    int row = -1; // detail row (0..), -1 outside the detail band
    std::string name;
    eReportItemKind kind = eReportItemKind::Label;
    QString text;
    // The text as it prints, line by line: broken at the box's width where
    // the label wraps. The renderer draws these lines and nothing else.
    QStringList lines;
    QRectF rect; // mm from the paper's top left corner
    double fontSize = 10;
    bool bold = false;
    bool underline = false;
    bool wordWrap = false;
    double penWidth = 0;
    QPixmap picture;
};

struct TLaidOutPage {
    int number = 0; // page number in the job, from 1
    std::string report;
    int reportSeq = 0; // which report of the job (0..), in print order
    double widthMm = 210.0;
    double heightMm = 297.0;
    // The part of the paper inside the margins, mm from its top left
    // corner; nothing the report prints belongs outside it.
    QRectF marginsMm{20.0, 10.0, 165.0, 267.0};
    std::vector<TLaidOutItem> items;
};

struct TReportPages {
    QString title;
    std::vector<TLaidOutPage> pages;

    void Clear() {
        title.clear();
        pages.clear();
    }
    // The reports of the job in the order they print, each once.
    std::vector<std::string> Reports() const;
    // Texts of every item of that name (in print order), optionally only of
    // one report.
    std::vector<QString> TextsOf(const std::string& name, const std::string& report = {}) const;
    // The first text of that name, empty when there is none.
    QString TextOf(const std::string& name, const std::string& report = {}) const;
    // Whether an item of that name was printed.
    bool Has(const std::string& name, const std::string& report = {}) const;
    // Every item of the job, in print order.
    std::vector<const TLaidOutItem*> Items(const std::string& report = {}) const;
};
