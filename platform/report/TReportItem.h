#pragma once
// The printable items of a report band: text labels, system data fields
// (date, page number), images and horizontal lines. Positions and sizes are
// millimetres from the band's top left corner.
//
// The item kinds are small and only make sense together, so they share this
// file.

#include <QFont>
#include <QPixmap>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

enum class eReportItemKind { Label, SysData, Image, Shape };

class TReportItem {
public:
    TReportItem(eReportItemKind kind, std::string name) : m_eKind(kind), m_Name(std::move(name)) {}
    virtual ~TReportItem() = default;
    TReportItem(const TReportItem&) = delete;
    TReportItem& operator=(const TReportItem&) = delete;

    eReportItemKind Kind() const { return m_eKind; }
    const std::string& Name() const { return m_Name; }

    // Position and size in mm, relative to the band.
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;

    // The form's Tag: for a label the language text that replaces its
    // caption at print time (0: printed as set).
    int Tag = 0;

private:
    eReportItemKind m_eKind;
    std::string m_Name;
};

class TReportLabel : public TReportItem {
public:
    explicit TReportLabel(std::string name)
        : TReportItem(eReportItemKind::Label, std::move(name)) {}

    QString Caption;
    double FontSize = 10; // points
    bool Bold = false;
    bool Underline = false;
    // Wraps at Width and grows downwards (stretch).
    bool WordWrap = false;
    // Without word wrap: the width follows the text.
    bool AutoSize = true;

    // Called for every printed pass with the text to print (the caption);
    // the handler may replace it.
    std::function<void(TReportItem* sender, QString& text)> OnPrint;
};

enum class eSysData { Date, PageNumber };

class TReportSysData : public TReportItem {
public:
    TReportSysData(std::string name, eSysData data)
        : TReportItem(eReportItemKind::SysData, std::move(name)), Data(data) {}

    eSysData Data;
    double FontSize = 10;
    bool Bold = false;
};

class TReportImage : public TReportItem {
public:
    explicit TReportImage(std::string name)
        : TReportItem(eReportItemKind::Image, std::move(name)) {}
    QPixmap Picture;
};

// A horizontal line across the item's width, in the middle of its height.
class TReportShape : public TReportItem {
public:
    explicit TReportShape(std::string name)
        : TReportItem(eReportItemKind::Shape, std::move(name)) {}
    double PenWidth = 0.3; // mm
};

// The font a report text prints in; the renderer and every measurement
// below take it from here, so what is measured is what prints.
QFont ReportFont(double fontSize, bool bold, bool underline = false);

// The lines a text prints in: its own lines, and for a label that wraps
// each of them broken to the width given (mm) at word boundaries, and
// inside a word only where the word alone is wider than the line, so that
// no character is lost at the box's edge. Without a width the text's own
// lines.
QStringList ReportTextLines(double fontSize, bool bold, double wrapWidth, const QString& text);
// Width and height in mm the renderer needs to draw lines of text (one per
// line feed) whole. A box smaller than that cuts the text.
QSizeF ReportTextExtent(double fontSize, bool bold, const QString& lines);

// Height in mm a label's text takes at its font: its lines as they wrap at
// the label's width, at least one. Measured at a fixed resolution so that
// the layout does not depend on the screen.
double ReportTextHeight(const TReportLabel& label, const QString& text);
// Width in mm of the text's widest line, unwrapped.
double ReportTextWidth(double fontSize, bool bold, const QString& text);
