// The layout check: texts cut by their box, texts of one band printed over
// each other and boxes beyond the margins are named with their report,
// band, label and text; what fits is not. And the check agrees with the
// renderer: a text it calls cut is one the renderer clips, a text it calls
// whole is drawn whole, and a box that wraps loses no character at its
// edge, even inside a word too long for it.

#include "TReport.h"
#include "TReportLayoutCheck.h"
#include "TReportPrinter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr double kDpi = 300;
constexpr double kMmPerInch = 25.4;

const QString kNumber = QStringLiteral("004930123456789012345678"); // 24 digits

// A report with one detail band that the test fills with labels.
struct OneBand {
    OneBand() { detail = report.AddBand(eBandType::Detail, "Detail", 10); }
    std::vector<TLayoutFault> Check() {
        report.Prepare();
        return CheckReportLayout(report.Pages());
    }
    TReport report{"Form"};
    TReportBand* detail = nullptr;
};

TReportLabel* Boxed(TReportBand* band, const char* name, double left, double width,
                    const QString& text, bool wrap) {
    TReportLabel* label = band->AddLabel(name, left, 0, text);
    label->Width = width;
    label->Height = 4.5;
    label->WordWrap = wrap;
    label->AutoSize = false;
    return label;
}

double Width(const QString& text) {
    return ReportTextWidth(10, false, text);
}

} // namespace

TEST(ReportLayoutCheck, ANumberWiderThanItsBoxIsCutAndNamed) {
    {
        OneBand f;
        Boxed(f.detail, "m_pKettenRnr", 55, 25, kNumber, false);
        const auto faults = f.Check();
        ASSERT_EQ(faults.size(), 1u) << DescribeFaults(faults);
        const TLayoutFault& fault = faults[0];
        EXPECT_EQ(fault.kind, eLayoutFault::Cut);
        EXPECT_EQ(fault.report, "Form");
        EXPECT_EQ(fault.band, "Detail");
        EXPECT_EQ(fault.row, 0);
        EXPECT_EQ(fault.label, "m_pKettenRnr");
        EXPECT_EQ(fault.text, kNumber);
        EXPECT_EQ(fault.page, 1);
        EXPECT_NEAR(fault.need.width(), Width(kNumber), 0.01);
        EXPECT_DOUBLE_EQ(fault.box.width(), 25.0);
        const std::string line = fault.Describe();
        for (const char* part :
             {"cut", "Form", "Detail", "m_pKettenRnr", "004930123456789012345678"})
            EXPECT_NE(line.find(part), std::string::npos) << line;
    }
}

TEST(ReportLayoutCheck, TextsThatFitTheirBoxesAreNoFault) {
    OneBand f;
    f.detail->AddLabel("AutoSized", 0, 0, kNumber);
    Boxed(f.detail, "Exact", 0, Width(kNumber), kNumber, false)->Top = 6;
    // Wrapped at its spaces onto several lines; the band grows for them.
    Boxed(f.detail, "Wrapped", 70, 30, QStringLiteral("a text of several words that wraps"), true);
    const auto faults = f.Check();
    EXPECT_TRUE(faults.empty()) << DescribeFaults(faults);
}

struct OverlapCase {
    const char* name;
    double secondLeft; // mm, the first label starts at 0
    double secondTop;
    const char* secondText;
    bool overlaps;
};
void PrintTo(const OverlapCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportLayoutOverlap : public testing::TestWithParam<OverlapCase> {};

TEST_P(ReportLayoutOverlap, TwoTextsOfOneBandMustNotOverlap) {
    const OverlapCase& c = GetParam();
    OneBand f;
    const QString provider = QStringLiteral("Provider name 15");
    f.detail->AddLabel("m_pProvider", 0, 0, provider);
    TReportLabel* second = f.detail->AddLabel("Caption262", c.secondLeft, c.secondTop,
                                              QString::fromUtf8(c.secondText));
    if (c.secondLeft < 0)
        second->Left = Width(provider); // exactly where the first one ends
    const auto faults = f.Check();
    if (!c.overlaps) {
        EXPECT_TRUE(faults.empty()) << DescribeFaults(faults);
        return;
    }
    ASSERT_EQ(faults.size(), 1u) << DescribeFaults(faults);
    EXPECT_EQ(faults[0].kind, eLayoutFault::Overlap);
    EXPECT_EQ(faults[0].label, "m_pProvider");
    EXPECT_EQ(faults[0].text, provider);
    EXPECT_EQ(faults[0].other, "Caption262");
    EXPECT_EQ(faults[0].otherText, QString::fromUtf8(c.secondText));
    EXPECT_NE(faults[0].Describe().find("overlap"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportLayoutOverlap,
                         testing::Values(OverlapCase{"SideBySideOverlapping", 15, 0,
                                                     "Call number:", true},
                                         OverlapCase{"OnTheNextLine", 15, 6, "Call number:", false},
                                         OverlapCase{"TouchingEdges", -1, 0, "Call number:", false},
                                         OverlapCase{"EmptyPrintsNothing", 15, 0, "", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReportLayoutCheck, ATextBeyondTheRightMarginIsNamed) {
    OneBand f;
    f.detail->AddLabel("Wide", 150, 0, kNumber); // 150 + ~55 mm of a 165 mm body
    const auto faults = f.Check();
    ASSERT_EQ(faults.size(), 1u) << DescribeFaults(faults);
    EXPECT_EQ(faults[0].kind, eLayoutFault::Margin);
    EXPECT_EQ(faults[0].label, "Wide");
    EXPECT_NE(faults[0].Describe().find("outside the margins"), std::string::npos);
}

// ------------------------------------------------------------ the renderer agrees

namespace {

// One page with one label, drawn by the renderer at 300 dpi.
QImage Draw(const TLaidOutItem& item) {
    TLaidOutPage page;
    page.widthMm = 120;
    page.heightMm = 30;
    page.items.push_back(item);
    const double dpm = kDpi / kMmPerInch;
    QImage image(static_cast<int>(page.widthMm * dpm), static_cast<int>(page.heightMm * dpm),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(dpm * 1000 + 0.5));
    image.setDotsPerMeterY(static_cast<int>(dpm * 1000 + 0.5));
    image.fill(Qt::white);
    QPainter painter(&image);
    TReportPrinter::DrawPage(painter, page, dpm);
    return image;
}

struct AgreeCase {
    const char* name;
    const char* text;
    double widthDelta; // mm, the box's width against the text's own
    bool wordWrap;
};
void PrintTo(const AgreeCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportLayoutAgrees : public testing::TestWithParam<AgreeCase> {};

} // namespace

TEST_P(ReportLayoutAgrees, ACutTextIsOneTheRendererClips) {
    const AgreeCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    OneBand f;
    Boxed(f.detail, "Label", 5, Width(text) + c.widthDelta, text, c.wordWrap);
    const bool cut = !f.Check().empty();
    const TLaidOutItem item = *f.report.Pages().Items().at(0);
    TLaidOutItem unbounded = item;
    unbounded.rect.setSize(QSizeF(200, 20));
    const bool clipped = Draw(item) != Draw(unbounded);
    EXPECT_EQ(cut, clipped) << "cut " << cut << ", clipped " << clipped;
    // A box that wraps breaks the text where it must, so that nothing is
    // lost at its edge.
    EXPECT_EQ(cut, c.widthDelta < 0 && !c.wordWrap);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportLayoutAgrees,
    testing::Values(AgreeCase{"NumberInItsOwnWidth", "004930123456789012345678", 0, false},
                    AgreeCase{"NumberTwoMmShort", "004930123456789012345678", -2, false},
                    // Broken inside the number, onto a second line.
                    AgreeCase{"WrappedNumberTwoMmShort", "004930123456789012345678", -2, true},
                    // The dots of capital umlauts reach above the font's
                    // ascent: they still print.
                    AgreeCase{"TextInItsOwnWidth", "Haustür Müller ÄÖÜ", 0, false},
                    AgreeCase{"TextTwoMmShort", "Haustür Müller ÄÖÜ", -2, false},
                    AgreeCase{"WrappedTextTwoMmShort", "Haustür Müller ÄÖÜ", -2, true}),
    [](const auto& info) { return std::string(info.param.name); });
