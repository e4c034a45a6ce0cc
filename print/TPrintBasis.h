#pragma once
// TPrintBasis: the base of every report form. It gives every report the
// same A4 page (margins 10 / 20 mm top and bottom, 20 / 25 mm left and
// right), the page header with the logo, a line and the program's name,
// and the page footer with date, page number and the document's file name.
// A report holds no data between prints: the forms set their value labels
// from the document's getters while the report is prepared.
//
// Caption labels carry a Tag; their printed text is the language text of
// the Tag (OnPrintLabel). Value labels have Tag 0 and print what the
// report's code set.

#include "SensorRows.h"
#include "TReport.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>

class TkResourcen;
class TMoxDocument;

class TPrintBasis {
public:
    explicit TPrintBasis(std::string reportName);
    virtual ~TPrintBasis();
    TPrintBasis(const TPrintBasis&) = delete;
    TPrintBasis& operator=(const TPrintBasis&) = delete;

    // Both borrowed; the report prints nothing of the document before.
    void Init(TkResourcen* res, TMoxDocument* doc);

    TReport* GetReport() const { return m_pReport.get(); }

    // Footer band: the file name of the document.
    void BeforeFootPrint(TReportBand& band, bool& print);
    // Shared on-print handler of the caption labels.
    void OnPrintLabel(TReportItem* sender, QString& text);

protected:
    // The usable width of the page, mm.
    static constexpr double kWidth = 165.0;
    // Height of one line of 10 pt text with its spacing, mm.
    static constexpr double kLine = 5.5;
    // Height of one line of 10 pt text itself: a wrapped caption taller
    // than this pushes the rows below it down.
    static constexpr double kLineText = 4.5;
    // The value column of the rows: captions to its left, values in it. Its
    // width holds a call number of 24 of the widest dial characters on one
    // line; longer names wrap in it.
    static constexpr double kValueLeft = 85.0;
    static constexpr double kValueWidth = kWidth - kValueLeft;
    // A caption that belongs to the row above it.
    static constexpr double kIndent = 5.0;
    // "call number" before a number of its own row.
    static constexpr int kNumber = 262;

    // A caption label with the language text of the tag.
    TReportLabel* Caption(TReportBand* band, std::string name, double left, double top, int tag,
                          bool bold = false, double fontSize = 10);
    // A value label (Tag 0); with a width it wraps.
    TReportLabel* Value(TReportBand* band, std::string name, double left, double top,
                        double width = 0);
    // A row of a caption (named "Caption<tag>", wrapped before the value
    // column) and a value label at the value column; moves y to the next
    // row.
    TReportLabel* Row(TReportBand* band, double& y, int tag, std::string valueName,
                      double captionLeft = 0, double valueLeft = kValueLeft, double valueWidth = 0);
    // The report's title line: bold 12 pt.
    TReportLabel* Heading(TReportBand* band, std::string name, int tag);

    // The rows of a signal input, from y on.
    void AddSensorRows(TReportBand* band, double& y, SensorLabels& labels);
    void FillSensorRows(const SensorLabels& labels, const SensorValues& values) const;
    // The mode and group of a time switch (the multifunction input and the
    // controller's inputs in mode 2).
    void FillSchaltuhr(TReportLabel* mode, TReportLabel* pg, bool tuermatik,
                       std::uint8_t tuermatikPG, bool diversion, std::uint8_t diversionPG,
                       std::uint8_t concierge) const;

    QString Text(int id) const;
    QString YesNo(std::uint8_t value) const;
    // Group 0 and 1 by their names, any other by its number.
    QString PGName(std::uint8_t pg) const;
    // A subscriber by letter (door-interface type 3) or number.
    QString TlnRef(std::uint16_t tlnIdx) const;
    // "subscriber" before a reference, by door-interface type.
    QString TlnLabel() const;
    // The subscriber row of a switching output: filled in modes 1 and 2 (the
    // modes that serve a subscriber), empty in any other.
    void FillTlnRow(TReportLabel* label, TReportLabel* value, std::uint8_t mode,
                    std::uint16_t tlnIdx) const;
    std::uint8_t TypeIT() const;

    std::unique_ptr<TReport> m_pReport;
    TkResourcen* m_pRes = nullptr;
    TMoxDocument* m_pDoc = nullptr;

    TReportBand* BasisTitleBand = nullptr;
    TReportImage* QRImage1 = nullptr;
    TReportShape* QRShape1 = nullptr;
    TReportLabel* m_pCaption = nullptr;
    TReportBand* BasisEndBand = nullptr;
    TReportLabel* m_pLabelDatum = nullptr;
    TReportSysData* m_pLabelDatumWert = nullptr;
    TReportLabel* m_pLabelSeite = nullptr;
    TReportSysData* m_pLabelSeiteWert = nullptr;
    TReportLabel* m_pLabelFile = nullptr;
    TReportLabel* m_pLabelFileWert = nullptr;
};
