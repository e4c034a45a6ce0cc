// Every report form, in each of the six languages, prints a configuration
// filled to its limits whole: every number at its full length in the
// widest dial character, every name and text at the length the record
// allows in the widest Windows-1252 letter of the report font, and no
// text cut by its box or printed over another. The layout check of the
// report layer measures with the renderer's font, so what it passes is what
// the PDF shows. One such job also goes to a PDF file.

#include "MoxAccess.h"
#include "MoxQString.h"
#include "PdfCheck.h"
#include "PrintFixture.h"
#include "TReportItem.h"
#include "TReportLayoutCheck.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

// Values print in the reports' plain 10 pt.
constexpr double kValueFont = 10;

// The candidate whose glyph is widest in the report font.
char Widest(std::string_view candidates) {
    char widest = candidates.front();
    double width = 0;
    for (char c : candidates) {
        const double w = ReportTextWidth(kValueFont, false, MoxToQString(std::string_view(&c, 1)));
        if (w > width) {
            width = w;
            widest = c;
        }
    }
    return widest;
}

// Every letter of Windows-1252. Letters make one word however many there
// are: a text of them can only be broken inside the word, the hardest case
// for a box that wraps.
std::string LettersCp1252() {
    std::string all;
    for (int b = 0x21; b <= 0xFF; ++b) {
        const char c = static_cast<char>(b);
        const QString q = MoxToQString(std::string_view(&c, 1));
        if (q.size() == 1 && q[0].isLetter())
            all.push_back(c);
    }
    return all;
}

// The widest character of each kind of value, measured in the report font:
// a number of dial characters, a code of digits, a name or a text.
struct Limits {
    std::string Number(std::size_t n) const { return std::string(n, number); }
    std::string Text(std::size_t n) const { return std::string(n, text); }
    char number = '0';
    char digit = '0';
    char text = 'W';
};

const Limits& WidestValues() {
    static const Limits limits = [] {
        Limits l;
        l.number = Widest("0123456789*#R");
        l.digit = Widest("0123456789");
        l.text = Widest(LettersCp1252());
        return l;
    }();
    return limits;
}

struct FullCase {
    const char* name;
    std::uint8_t typeIT;
    std::uint8_t mfeMode; // which of the four multifunction-input reports
};
void PrintTo(const FullCase& c, std::ostream* os) {
    *os << c.name;
}

// The whole configuration at its limits, the devices all present. Every
// value must be taken: a refused one would leave a default, narrower than
// the limit the layout is checked at.
void FillToTheLimits(MoxDaten* d, const FullCase& c) {
    const Limits& l = WidestValues();
    EXPECT_TRUE(MoxSetTypeIT(d, c.typeIT));
    EXPECT_TRUE(MoxSetTypeRAK(d, 1));
    EXPECT_TRUE(MoxSetTypeKMR(d, 1));
    EXPECT_TRUE(MoxSetTypeBSM(d, 1));
    EXPECT_TRUE(MoxSetKamera(d, 2));

    EXPECT_TRUE(MoxSetLand(d, 8));
    EXPECT_TRUE(MoxSetSprache(d, 6));
    EXPECT_TRUE(MoxSetRnr(d, l.Number(24).c_str()));
    EXPECT_TRUE(MoxSetConciergeAktiv(d, 1));
    EXPECT_TRUE(MoxSetConciergeRnr(d, l.Number(20).c_str()));
    EXPECT_TRUE(MoxSetConciergeVideo(d, 1));
    for (std::uint8_t i = 0; i < 4; ++i)
        EXPECT_TRUE(MoxSetSperrnr(d, i, l.Number(4).c_str()));

    EXPECT_TRUE(MoxSetTuerrufannahme(d, 120));
    EXPECT_TRUE(MoxSetTuerrufdauer(d, 600));
    EXPECT_TRUE(MoxSetTuermatik(d, 10));
    EXPECT_TRUE(MoxSetSchaltdauerMfr(d, 999));
    EXPECT_TRUE(MoxSetKettenruf(d, 30));
    EXPECT_TRUE(MoxSetNachtriggern(d, 10));
    MoxSetSprachausgabe(d, 1);

    for (std::uint8_t i = 0; i < MoxGetAnzTln(d); ++i) {
        EXPECT_TRUE(MoxSetTlnRnr(d, i, l.Number(20).c_str()));
        EXPECT_TRUE(MoxSetTlnVideo(d, i, 1));
        EXPECT_TRUE(MoxSetTlnBusAdr(d, i, static_cast<std::uint16_t>(0x100 + i)));
    }
    for (std::uint8_t i = 0; i < MoxGetAnzPG(d); ++i) {
        // Every right granted in one group, none in the next: "yes" and
        // "no" differ in width by language.
        d->PG[i].Permission = i % 2 ? 0 : 0xFFFFFFFFu;
        d->PG[i].Schaltausgang = i % 2 ? 0 : 0x0FFF;
        // Group 0 has no code.
        if (i > 0) {
            EXPECT_TRUE(MoxSetPGPin(d, i, std::string(4, l.digit).c_str()));
        }
        EXPECT_TRUE(MoxSetPGKettenRnr(d, i, l.Number(24).c_str()));
        EXPECT_TRUE(MoxSetPGSignalRnr(d, i, l.Number(24).c_str()));
        EXPECT_TRUE(MoxSetPGDiversionRnr(d, i, l.Number(24).c_str()));
        EXPECT_TRUE(MoxSetPGTlnIdx(
            d, i, i % 3 == 2 ? 0xFFFF : static_cast<std::uint16_t>(i % MoxGetAnzTln(d))));
    }

    for (std::uint8_t i = 0; i < 10; ++i) {
        EXPECT_TRUE(MoxSetSMSProvider(d, i, l.Text(15).c_str()));
        EXPECT_TRUE(MoxSetSMSRnr(d, i, l.Number(24).c_str()));
        EXPECT_TRUE(MoxSetSMSProtokoll(d, i, static_cast<std::uint8_t>(1 + i % 2)));
    }
    for (std::uint8_t i = 0; i < 7; ++i)
        EXPECT_TRUE(MoxSetTuerrufText(d, i, l.Text(30).c_str()));
    for (std::uint8_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(MoxSetRufton(d, i, static_cast<std::uint8_t>(1 + i % 3)));
        EXPECT_TRUE(MoxSetBSMRelais(d, i, static_cast<std::uint16_t>(0x200 + i), 1));
        EXPECT_TRUE(MoxSetBSMRelaisText(d, i, l.Text(16).c_str()));
        EXPECT_TRUE(MoxSetSchaltcodeAdr(d, i, static_cast<std::uint16_t>(0x300 + i)));
        EXPECT_TRUE(MoxSetSchaltcodeText(d, i, l.Text(16).c_str()));
    }
    EXPECT_TRUE(MoxSetEtagenrufText(d, l.Text(30).c_str()));
    EXPECT_TRUE(MoxSetKMRKameratyp(d, 1));
    EXPECT_TRUE(MoxSetKMRCodierqual(d, 100));
    EXPECT_TRUE(MoxSetKMRHelligkeit(d, 100));
    EXPECT_TRUE(MoxSetKMRKontrast(d, 100));
    EXPECT_TRUE(MoxSetKMRSaettigung(d, 100));

    const std::string n24 = l.Number(24);
    switch (c.mfeMode) {
    case 1:
        EXPECT_TRUE(
            MoxSetMfeMeldefkt(d, 1, n24.c_str(), 1, n24.c_str(), 9, n24.c_str(), 1, 1, 1, 1, 1));
        break;
    case 2:
        EXPECT_TRUE(MoxSetMfeSchaltuhr(d, eSchaltuhrTuermatik, 1));
        break;
    case 3:
        EXPECT_TRUE(MoxSetMfeEtagenruf(d, n24.c_str()));
        break;
    default:
        EXPECT_TRUE(MoxSetMfeMode(d, 0));
        break;
    }
    // The relay serves a subscriber, so its subscriber row prints.
    EXPECT_TRUE(MoxSetMfrMode(d, static_cast<std::uint8_t>(1 + c.typeIT % 2), 0));

    // The controller's inputs in all three of their reports, its outputs
    // in every mode.
    constexpr std::uint8_t kSchaltuhr[] = {eSchaltuhrTuermatik, eSchaltuhrDiversion,
                                           eSchaltuhrConcierge, eSchaltuhrDiversion};
    for (std::uint8_t i = 0; i < 12; ++i) {
        EXPECT_TRUE(MoxSetMeldeeingangsText(d, i, l.Text(30).c_str()));
        EXPECT_TRUE(MoxSetSchaltausgangsText(d, i, l.Text(30).c_str()));
        switch (i % 3) {
        case 0:
            EXPECT_TRUE(MoxSetRAKEingangMeldefkt(d, i, 1, n24.c_str(), 1, n24.c_str(), i % 10,
                                                 n24.c_str(), 1, 1, 1, 1, 1));
            break;
        case 1:
            EXPECT_TRUE(MoxSetRAKEingangSchaltuhr(d, i, kSchaltuhr[(i / 3) % 4],
                                                  static_cast<std::uint8_t>(i % MoxGetAnzPG(d))));
            break;
        default:
            EXPECT_TRUE(MoxSetRAKEingangMode(d, i, 0));
            break;
        }
        EXPECT_TRUE(MoxSetRAKAusgangMode(d, i, static_cast<std::uint8_t>(i % 7), 0));
        EXPECT_TRUE(MoxSetRAKAusgangSprache(d, i, 1));
    }
}

const FullCase kFullCases[] = {
    {"Type2Signal", 2, 1},
    {"Type2TimeSwitch", 2, 2},
    {"Type3FloorCall", 3, 3},
    {"Type1NoFunction", 1, 0},
};

struct Language {
    const char* name;
    int sprache;
};
void PrintTo(const Language& l, std::ostream* os) {
    *os << l.name;
}
const Language kLanguages[] = {{"de", 1}, {"en", 2}, {"fr", 3}, {"it", 4}, {"da", 5}, {"nl", 6}};

using LayoutParam = std::tuple<Language, FullCase>;

class PrintLayout : public PrintTest, public testing::WithParamInterface<LayoutParam> {
protected:
    // The job of everything in expert mode (every form the configuration
    // has), in the language of the row.
    const TReportPages& PrintEverything() {
        const Language& language = std::get<0>(GetParam());
        const FullCase& full = std::get<1>(GetParam());
        EXPECT_TRUE(m_pRes->LoadFile(TkResourcen::LanguageFilePath(language.sprache)));
        Load([&](MoxDaten* d) { FillToTheLimits(d, full); });
        return PrintKind(eProjectKonf, 2);
    }
};

std::string ParamName(const testing::TestParamInfo<LayoutParam>& info) {
    return std::string(std::get<0>(info.param).name) + '_' + std::get<1>(info.param).name;
}

} // namespace

TEST_P(PrintLayout, EveryValueAtItsLimitPrintsWhole) {
    const TReportPages& pages = PrintEverything();
    ASSERT_FALSE(pages.pages.empty());
    const auto faults = CheckReportLayout(pages);
    EXPECT_TRUE(faults.empty()) << faults.size() << " layout faults:\n" << DescribeFaults(faults);

    // Numbers and the short names print on one line: a number broken over
    // two lines is easily misread digit by digit. (Texts of 30 wide
    // characters wrap in their column.)
    const Limits& l = WidestValues();
    const std::set<QString> oneLine = {
        MoxToQString(l.Number(24)), MoxToQString(l.Number(20)),
        MoxToQString(l.Number(4)),  MoxToQString(std::string(4, l.digit)),
        MoxToQString(l.Text(15)),   MoxToQString(l.Text(16))};
    for (const TLaidOutItem* item : pages.Items()) {
        if (oneLine.count(item->text)) {
            EXPECT_EQ(item->lines.size(), 1) << item->report << ", " << item->band << ", "
                                             << item->name << " " << item->text.toStdString();
        }
    }

    // The values are the full ones: nothing was shortened before printing.
    const std::string n24 = MoxToQString(l.Number(24)).toStdString();
    const std::string t30 = MoxToQString(l.Text(30)).toStdString();
    const std::string t15 = MoxToQString(l.Text(15)).toStdString();
    const std::string t16 = MoxToQString(l.Text(16)).toStdString();
    const std::string n20 = MoxToQString(l.Number(20)).toStdString();
    struct Whole {
        const char* report;
        const char* label;
        std::string value;
    };
    const Whole values[] = {
        {"TPrintMoxKonf", "m_pRnr", n24},     {"TPrintMoxKonf", "m_pDirektRnr", n20},
        {"TPrintTln", "m_pTlnRnr", n20},      {"TPrintPG", "m_pKettenRnr", n24},
        {"TPrintPG", "m_pSignalRnr", n24},    {"TPrintPG", "m_pRufumleitungRnr", n24},
        {"TPrintSMS", "m_pSMSProvider", t15}, {"TPrintSMS", "m_pSMSRnr", n24},
        {"TPrintITKonf", "m_pText1", t30},    {"TPrintITKonf", "m_pEtagenText", t30},
        {"TPrintBSM", "m_pBSMText", t16},     {"TPrintITSchaltcode", "m_pTuerText", t16},
        {"TPrintRAKAG", "m_pText", t30},      {"TPrintSensor", "m_pSMSRnr", n24},
        {"TPrintSensor", "m_pProvider", t15}, {"TPrintEtagenruf", "m_pEtagenRnr", n24},
        {"TRAK_Sensor", "m_pDirektRnr", n24}, {"TRAK_Sensor", "m_pKettenRnr", n24},
        {"TRAK_Sensor", "m_pSMSRnr", n24},    {"TRAK_NoFunction", "m_pText", t30},
    };
    const std::vector<std::string> reports = pages.Reports();
    for (const Whole& w : values) {
        if (std::find(reports.begin(), reports.end(), w.report) == reports.end())
            continue;
        const auto texts = pages.TextsOf(w.label, w.report);
        EXPECT_FALSE(texts.empty()) << w.report << ", " << w.label;
        for (const QString& text : texts)
            EXPECT_EQ(text.toStdString(), w.value) << w.report << ", " << w.label;
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, PrintLayout,
                         testing::Combine(testing::ValuesIn(kLanguages),
                                          testing::ValuesIn(kFullCases)),
                         ParamName);

TEST_F(PrintTest, TheFullConfigurationsPrintEveryReportForm) {
    std::set<std::string> printed;
    for (const FullCase& full : kFullCases) {
        Load([&](MoxDaten* d) { FillToTheLimits(d, full); });
        for (const std::string& name : PrintKind(eProjectKonf, 2).Reports())
            printed.insert(name);
    }
    const std::set<std::string> every = {
        "TPrintGeraete",    "TPrintMoxKonf", "TPrintSperrRnr",  "TPrintTln",
        "TPrintPG",         "TPrintSensor",  "TPrintSchaltuhr", "TPrintEtagenruf",
        "TPrintNoFunction", "TPrintITMfr",   "TPrintSMS",       "TPrintITSchaltcode",
        "TPrintITKonf",     "TPrintKMR",     "TRAK_Sensor",     "TRAK_Schaltuhr",
        "TRAK_NoFunction",  "TPrintRAKAG",   "TPrintBSM",       "TPrintSystem"};
    EXPECT_EQ(printed, every);
}

// The German job of a full configuration as a PDF file. Set
// MOX_KEEP_PRINT_PDF to a path to keep a copy of it to look at.
TEST_F(PrintTest, AFullConfigurationPrintsToAWholePdf) {
    ASSERT_TRUE(m_pRes->LoadFile(TkResourcen::LanguageFilePath(1)));
    Load([](MoxDaten* d) { FillToTheLimits(d, kFullCases[0]); });
    const TReportPages& pages = PrintKind(eProjectKonf, 2);
    ASSERT_FALSE(pages.pages.empty());
    EXPECT_TRUE(CheckReportLayout(pages).empty());
    const PdfCheck pdf = CheckPdf(PdfPath());
    ASSERT_TRUE(pdf.exists);
    EXPECT_TRUE(pdf.wellFormed) << pdf.problem;
    EXPECT_EQ(pdf.pages, static_cast<int>(pages.pages.size()));
    if (const char* keep = std::getenv("MOX_KEEP_PRINT_PDF")) {
        QFile::remove(QString::fromLocal8Bit(keep));
        EXPECT_TRUE(QFile::copy(PdfPath(), QString::fromLocal8Bit(keep)));
    }
}
