// What the reports print for a known document: the page frame of every
// report, and per report the values and the texts chosen for them.

#include "MoxAccess.h"
#include "PrintFixture.h"
#include "TPrintBasis.h"

#include <QDate>

#include <ostream>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<QString>;

Texts Numbers(int from, int to) {
    Texts t;
    for (int i = from; i <= to; ++i)
        t.push_back(QString::number(i));
    return t;
}

} // namespace

// ------------------------------------------------------------ page frame

TEST_F(PrintTest, EveryPageHasTheProgramsNameTheDateThePageAndTheFile) {
    Load([](MoxDaten* d) { MoxSetTypeIT(d, 2); }); // eleven groups: several pages
    const TReportPages& pages = PrintKind(eTlnBG);
    ASSERT_GE(pages.pages.size(), 2u);
    const QString file = QString::fromStdString((m_Dir / "test.ktx").string());
    EXPECT_EQ(pages.TextsOf("m_pCaption"), Texts(pages.pages.size(), Text(2000)));
    EXPECT_EQ(pages.TextsOf("m_pLabelDatum"), Texts(pages.pages.size(), "Datum:"));
    EXPECT_EQ(pages.TextsOf("m_pLabelSeite"), Texts(pages.pages.size(), "Seite:"));
    EXPECT_EQ(pages.TextsOf("m_pLabelFile"), Texts(pages.pages.size(), "File:"));
    EXPECT_EQ(pages.TextsOf("m_pLabelFileWert"), Texts(pages.pages.size(), file));
    EXPECT_EQ(pages.TextsOf("m_pLabelSeiteWert"), Numbers(1, static_cast<int>(pages.pages.size())));
    EXPECT_EQ(pages.TextOf("m_pLabelDatumWert"),
              QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    EXPECT_TRUE(pages.Has("QRImage1"));
    EXPECT_TRUE(pages.Has("QRShape1"));
}

TEST_F(PrintTest, CaptionsPrintTheTextOfTheirTag) {
    Load([](MoxDaten* d) { MoxSetTypeIT(d, 2); });
    const TReportPages& pages = PrintKind(eTlnKonfig);
    EXPECT_EQ(pages.TextOf("QRLabel1"), Text(254));
    EXPECT_EQ(pages.TextOf("m_pIndexLabel"), Text(501));
    EXPECT_EQ(pages.TextOf("m_pRnrLabel"), Text(251));
    EXPECT_EQ(pages.TextOf("QRLabel4"), Text(252));
}

TEST_F(PrintTest, TheLabelHandlerRefusesWhatIsNotALabel) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    class Probe : public TPrintBasis {
    public:
        Probe() : TPrintBasis("Probe") {}
    };
    Probe probe;
    TReportShape shape("shape");
    QString text;
    EXPECT_DEATH(probe.OnPrintLabel(&shape, text), "");
}

// ------------------------------------------------------------ subscribers

TEST_F(PrintTest, SubscribersOfType3PrintAsLetters) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 3);
        MoxSetTlnRnr(d, 1, "0301234");
        MoxSetTlnVideo(d, 2, 1);
        MoxSetTlnBusAdr(d, 0, 0x123); // type 3: no bus-address column
    });
    const TReportPages& pages = PrintKind(eTlnKonfig);
    EXPECT_EQ(pages.TextsOf("m_pTlnIndex"), (Texts{"A", "B", "C", "D"}));
    EXPECT_EQ(pages.TextsOf("m_pTlnRnr"), (Texts{"", "0301234", "", ""}));
    EXPECT_EQ(pages.TextsOf("m_pVideo"), (Texts{Text(256), Text(256), Text(255), Text(256)}));
    EXPECT_EQ(pages.TextsOf("m_pTlnBelegt"), Texts(4, ""));
}

TEST_F(PrintTest, SubscribersOfType2ShowWhichHaveABusAddress) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetTlnBusAdr(d, 0, 0x123);
        MoxSetTlnBusAdr(d, 30, 0x0456);
    });
    const TReportPages& pages = PrintKind(eTlnKonfig);
    EXPECT_EQ(pages.TextsOf("m_pTlnIndex"), Numbers(1, 31));
    Texts belegt(31, "");
    belegt[0] = "X";
    belegt[30] = "X";
    EXPECT_EQ(pages.TextsOf("m_pTlnBelegt"), belegt);
}

// ------------------------------------------------------------ permission groups

TEST_F(PrintTest, PermissionGroupsAreNamedAndNameTheirSubscriber) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 3);
        MoxSetPGTlnIdx(d, 0, 0);
        MoxSetPGTlnIdx(d, 1, 3);
        MoxSetPGTlnIdx(d, 2, 0xFFFF);
    });
    const TReportPages& pages = PrintKind(eTlnBG);
    const Texts names = pages.TextsOf("m_pLabelBerechtigungsgruppe");
    ASSERT_EQ(names.size(), Doc().GetAnzPG());
    const QString group = Text(300) + ' ';
    EXPECT_EQ(names[0], group + Text(333));
    EXPECT_EQ(names[1], group + Text(334));
    EXPECT_EQ(names[2], group + "2");
    EXPECT_EQ(names.back(), group + QString::number(names.size() - 1));
    const Texts tln = pages.TextsOf("m_pTln");
    EXPECT_EQ(tln[0], "A");
    EXPECT_EQ(tln[1], "D");
    EXPECT_EQ(tln[2], Text(362));
    EXPECT_EQ(pages.TextOf("m_pTlnLabel"), Text(317));
}

struct EinwahlCase {
    const char* name;
    std::uint8_t typeIT;
    bool printsYes;
};
void PrintTo(const EinwahlCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintEinwahl : public PrintTest, public testing::WithParamInterface<EinwahlCase> {};

TEST_P(PrintEinwahl, DialInIsARightOfType3Only) {
    Load([&](MoxDaten* d) {
        MoxSetTypeIT(d, GetParam().typeIT);
        MoxSetPGEinwahl(d, 1, 1);
        MoxSetPGTueroeffner(d, 1, 1);
    });
    const TReportPages& pages = PrintKind(eTlnBG);
    EXPECT_EQ(pages.TextsOf("m_pEinwahl")[1], Text(GetParam().printsYes ? 255 : 256));
    EXPECT_EQ(pages.TextsOf("m_pTuerOeffnen")[1], Text(255));
    EXPECT_EQ(pages.TextsOf("m_pTlnLabel")[1], Text(GetParam().typeIT == 1 ? 442 : 317));
}

INSTANTIATE_TEST_SUITE_P(Types, PrintEinwahl,
                         testing::Values(EinwahlCase{"Type1", 1, false},
                                         EinwahlCase{"Type2", 2, false},
                                         EinwahlCase{"Type3", 3, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintTest, AGroupsNumbersCodesAndOutputsArePrinted) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetPGKettenRnr(d, 3, "0711");
        MoxSetPGSchaltcode(d, 3, 1, 0);
        MoxSetPGSchaltcode(d, 3, 2, 1);
        MoxSetPGSchaltausgang(d, 3, 0, 0);
        MoxSetPGSchaltausgang(d, 3, 11, 1);
    });
    const TReportPages& pages = PrintKind(eTlnBG);
    EXPECT_EQ(pages.TextsOf("m_pKettenRnr")[3], "0711");
    EXPECT_EQ(pages.TextsOf("m_pKettenRnr")[2], "");
    EXPECT_EQ(pages.TextsOf("m_pCode53")[3], Text(255));
    EXPECT_EQ(pages.TextsOf("m_pCode52")[3], Text(256));
    EXPECT_EQ(pages.TextsOf("m_pAktor12")[3], Text(255));
    EXPECT_EQ(pages.TextsOf("m_pAktor1")[3], Text(256));
}

// The item printed nearest above the named one in its column (their
// horizontal spans overlap), per group: the heading a row stands under.
std::vector<const TLaidOutItem*> HeadingsAbove(const TReportPages& pages, const std::string& name) {
    std::vector<const TLaidOutItem*> out;
    for (const TLaidOutPage& page : pages.pages) {
        for (const TLaidOutItem& item : page.items) {
            if (item.name != name)
                continue;
            const TLaidOutItem* above = nullptr;
            for (const TLaidOutItem& other : page.items) {
                const bool sameColumn =
                    other.rect.left() < item.rect.right() && item.rect.left() < other.rect.right();
                if (&other == &item || other.row != item.row || !sameColumn ||
                    other.rect.bottom() > item.rect.top() + 0.01)
                    continue;
                if (!above || other.rect.bottom() > above->rect.bottom())
                    above = &other;
            }
            out.push_back(above);
        }
    }
    return out;
}

TEST_F(PrintTest, PermissionGroupsHeadTheSwitchingCodesAndTheComfortFunctions) {
    ASSERT_TRUE(m_pRes->LoadFile(TkResourcen::LanguageFilePath(1)));
    Load([](MoxDaten* d) { MoxSetTypeIT(d, 2); });
    const TReportPages& pages = PrintKind(eTlnBG);
    struct Heads {
        const char* row;     // caption of the block's first row
        const char* heading; // the block's heading
        int text;
    };
    // Switching code 51, the door automation's switch (the first comfort
    // function) and the door opener (the first basic function).
    for (const Heads& h :
         {Heads{"Caption336", "Caption306", 306}, Heads{"Caption337", "Caption302", 302},
          Heads{"Caption307", "Caption305", 305}}) {
        const auto headings = HeadingsAbove(pages, h.row);
        ASSERT_EQ(headings.size(), Doc().GetAnzPG()) << h.row;
        for (const TLaidOutItem* heading : headings) {
            ASSERT_NE(heading, nullptr) << h.row;
            EXPECT_EQ(heading->name, h.heading) << h.row << ", group " << heading->row;
            EXPECT_EQ(heading->text, Text(h.text)) << h.row;
            EXPECT_TRUE(heading->bold) << h.heading;
        }
    }
    EXPECT_EQ(Text(306), "Schaltcodes");
    EXPECT_EQ(Text(302), "Komfortfunktionen");
}

// ------------------------------------------------------------ universal controller

TEST_F(PrintTest, WithoutAControllerItsReportsPrintNothing) {
    Load([](MoxDaten* d) { MoxSetTypeIT(d, 2); });
    EXPECT_TRUE(PrintKind(eRAKSAG).pages.empty());
    EXPECT_TRUE(PrintKind(eRAKMEG).pages.empty());
    // Not even the print dialog: there is nothing to print.
    EXPECT_TRUE(m_Printed.empty());
}

TEST_F(PrintTest, ControllerOutputsNameTheirSubscriberByNumber) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetTypeRAK(d, 1);
        MoxSetRAKAusgangMode(d, 0, eModeSchaltAusgangNSC, 0);
        MoxSetRAKAusgangMode(d, 1, eModeSchaltAusgangSchalter, 0xFFFF);
        MoxSetSchaltausgangsText(d, 1, "Garage");
        MoxSetRAKAusgangSprache(d, 1, 1);
    });
    const TReportPages& pages = PrintKind(eRAKSAG);
    const Texts names = pages.TextsOf("m_pLabelSensorIdx");
    ASSERT_EQ(names.size(), 12u);
    EXPECT_EQ(names[0], Text(321));
    EXPECT_EQ(names[11], Text(332));
    EXPECT_EQ(pages.TextsOf("m_pAktorMode")[0], Text(342));
    EXPECT_EQ(pages.TextsOf("m_pAktorMode")[1], Text(341));
    EXPECT_EQ(pages.TextsOf("m_pPGLabel")[0], Text(317));
    EXPECT_EQ(pages.TextsOf("m_pPG")[0], "1");
    EXPECT_EQ(pages.TextsOf("m_pPGLabel")[1], "");
    EXPECT_EQ(pages.TextsOf("m_pPG")[1], "");
    EXPECT_EQ(pages.TextsOf("m_pText")[1], "Garage");
    EXPECT_EQ(pages.TextsOf("m_pSprache")[1], Text(255));
}

TEST_F(PrintTest, ControllerInputsPrintOneReportEachByTheirMode) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetTypeRAK(d, 1);
        MoxSetRAKEingangMode(d, 0, eModeMeldeEingangMeldefkt);
        MoxSetRAKEingangDirektruf(d, 0, 1);
        MoxSetRAKEingangDirektRnr(d, 0, "0891");
        MoxSetMeldeeingangsText(d, 0, "Keller");
        MoxSetRAKEingangMode(d, 1, eModeMeldeEingangSchaltuhr);
        MoxSetMeldeeingangsText(d, 5, "Tor");
    });
    const TReportPages& pages = PrintKind(eRAKMEG);
    const Texts heads = pages.TextsOf("m_pLabelSensorIdx");
    ASSERT_EQ(heads.size(), 12u);
    EXPECT_EQ(heads[0], Text(276) + " 1");
    EXPECT_EQ(heads[11], Text(276) + " 12");
    EXPECT_EQ(pages.TextOf("m_pDirektruf", "TRAK_Sensor"), Text(255));
    EXPECT_EQ(pages.TextOf("m_pDirektRnr", "TRAK_Sensor"), "0891");
    EXPECT_EQ(pages.TextOf("m_pText", "TRAK_Sensor"), "Keller");
    // Input 6 is the fourth of the inputs without a function.
    EXPECT_EQ(pages.TextsOf("m_pText", "TRAK_NoFunction")[3], "Tor");
}

// ------------------------------------------------------------ multifunction input

struct ProviderCase {
    const char* name;
    std::uint8_t providerIdx;
    bool named; // prints the provider's name, else text 80
};
void PrintTo(const ProviderCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintProvider : public PrintTest, public testing::WithParamInterface<ProviderCase> {};

TEST_P(PrintProvider, TheSignalInputNamesItsProviderOrNone) {
    Load([&](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetMfeMode(d, eModeMeldeEingangMeldefkt);
        MoxSetSMSProvider(d, 3, "D1 SMS");
        MoxSetSMSProvider(d, 9, "Last");
        d->Mfe.ProviderIdx = GetParam().providerIdx; // as a damaged file may hold it
        MoxSetMfeDirektruf(d, 1);
        MoxSetEtagenrufText(d, "Etage");
    });
    const TReportPages& pages = PrintKind(eITMfe);
    ASSERT_EQ(ReportsOf(pages), std::vector<std::string>{"TPrintSensor"});
    QString expected = Text(80);
    if (GetParam().named)
        expected = GetParam().providerIdx == 3 ? "D1 SMS" : "Last";
    EXPECT_EQ(pages.TextOf("m_pProvider"), expected);
    EXPECT_EQ(pages.TextOf("m_pDirektruf"), Text(255));
    EXPECT_EQ(pages.TextOf("m_pKettenruf"), Text(256));
    EXPECT_EQ(pages.TextOf("m_pText"), "Etage");
    EXPECT_EQ(pages.TextOf("QRLabel2"), Text(225));
}

INSTANTIATE_TEST_SUITE_P(Providers, PrintProvider,
                         testing::Values(ProviderCase{"Fourth", 3, true},
                                         ProviderCase{"Tenth", 9, true},
                                         ProviderCase{"BeyondTheTable", 10, false},
                                         ProviderCase{"FarBeyond", 200, false},
                                         ProviderCase{"None", 255, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintTest, TheTimeSwitchNamesWhatItSwitchesForWhichGroup) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetMfeMode(d, eModeMeldeEingangSchaltuhr);
        MoxSetMfeSchaltuhr(d, 1, 1);
    });
    std::uint8_t pg = 0xFF;
    const bool tuermatik = Doc().GetMfeTuermatikPGIdx(&pg);
    const TReportPages& pages = PrintKind(eITMfe);
    ASSERT_EQ(ReportsOf(pages), std::vector<std::string>{"TPrintSchaltuhr"});
    EXPECT_EQ(pages.TextOf("m_pPGLabel"), Text(273));
    if (tuermatik) {
        EXPECT_EQ(pages.TextOf("m_pMode"), Text(271));
        EXPECT_EQ(pages.TextOf("m_pPG"), pg == 1 ? Text(334) : QString::number(pg));
    } else {
        EXPECT_NE(pages.TextOf("m_pMode"), Text(271));
    }
}

TEST_F(PrintTest, TheFloorCallPrintsItsNumberAndText) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetMfeMode(d, eModeMeldeEingangEtagenruf);
        MoxSetMfeEtagenruf(d, "**12");
        MoxSetEtagenrufText(d, "1. OG");
    });
    const TReportPages& pages = PrintKind(eITMfe);
    ASSERT_EQ(ReportsOf(pages), std::vector<std::string>{"TPrintEtagenruf"});
    EXPECT_EQ(pages.TextOf("m_pEtagenRnr"), "**12");
    EXPECT_EQ(pages.TextOf("m_pEtagenText"), "1. OG");
}

// ------------------------------------------------------------ multifunction relay

struct RelayCase {
    const char* name;
    std::uint8_t typeIT;
    std::uint8_t mode;
    int modeText;
    QString subscriber; // of index 1; empty: no subscriber row
};
void PrintTo(const RelayCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintRelay : public PrintTest, public testing::WithParamInterface<RelayCase> {};

TEST_P(PrintRelay, TheRelayPrintsItsModeAndSubscriber) {
    const RelayCase& c = GetParam();
    Load([&](MoxDaten* d) {
        MoxSetTypeIT(d, c.typeIT);
        d->Mfr.Mode = c.mode;
        d->Mfr.TlnIdx = 1;
    });
    const TReportPages& pages = PrintKind(eITMfr);
    EXPECT_EQ(pages.TextOf("m_pMfrMode"), Text(c.modeText));
    EXPECT_EQ(pages.TextOf("m_pPG"), c.subscriber);
    const QString label = c.subscriber.isEmpty() ? QString() : Text(c.typeIT == 1 ? 442 : 317);
    EXPECT_EQ(pages.TextOf("m_pPGLabel"), label);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PrintRelay,
    testing::Values(RelayCase{"SignalType1", 1, 1, 353, "2"},
                    RelayCase{"VideoType2", 2, 2, 354, "2"},
                    RelayCase{"SignalType3", 3, 1, 353, "B"}, RelayCase{"Switch", 2, 3, 351, ""},
                    RelayCase{"Button", 2, 4, 352, ""}, RelayCase{"DoorOpener", 2, 5, 348, ""},
                    RelayCase{"Light", 2, 6, 349, ""}, RelayCase{"Undefined", 2, 0, 351, ""},
                    RelayCase{"Unknown", 2, 9, 351, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------ box, devices, camera

struct ConciergeCase {
    const char* name;
    std::uint8_t aktiv;
    std::uint8_t video;
};
void PrintTo(const ConciergeCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintConcierge : public PrintTest, public testing::WithParamInterface<ConciergeCase> {};

TEST_P(PrintConcierge, TheConciergeFlagsPrintInTheirOwnRows) {
    Load([&](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetConciergeAktiv(d, GetParam().aktiv);
        MoxSetConciergeVideo(d, GetParam().video);
        MoxSetConciergeRnr(d, "112");
        MoxSetRnr(d, "4711");
        MoxSetLand(d, 3);
        MoxSetSprache(d, 6);
    });
    const TReportPages& pages = PrintKind(eKTXKonfig);
    EXPECT_EQ(pages.TextOf("m_pConAktiv"), Text(GetParam().aktiv ? 255 : 256));
    EXPECT_EQ(pages.TextOf("m_pVideo"), Text(GetParam().video ? 255 : 256));
    EXPECT_EQ(pages.TextOf("m_pDirektRnr"), "112");
    EXPECT_EQ(pages.TextOf("m_pRnr"), "4711");
    EXPECT_EQ(pages.TextOf("m_pLand"), Text(167));
    EXPECT_EQ(pages.TextOf("m_pSprache"), Text(185));
}

INSTANTIATE_TEST_SUITE_P(Flags, PrintConcierge,
                         testing::Values(ConciergeCase{"OnWithoutVideo", 1, 0},
                                         ConciergeCase{"OffWithVideo", 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct DevicesCase {
    const char* name;
    std::uint8_t kmr;
    std::uint8_t rak;
    std::uint8_t kamera;
    bool markKMR;
    bool markEIB;
};
void PrintTo(const DevicesCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintDevices : public PrintTest, public testing::WithParamInterface<DevicesCase> {};

TEST_P(PrintDevices, TheCameraMarkStandsBesideThePresentDeviceThatCarriesIt) {
    const DevicesCase& c = GetParam();
    Load([&](MoxDaten* d) {
        MoxSetTypeIT(d, 3);
        MoxSetTypeKMR(d, c.kmr);
        MoxSetTypeRAK(d, c.rak);
        d->Kamera = c.kamera;
    });
    const TReportPages& pages = PrintKind(eGeraeteliste);
    EXPECT_EQ(pages.TextOf("m_pIT"), Text(376));
    EXPECT_EQ(pages.TextOf("m_pKMR"), Text(c.kmr ? 364 : 363));
    EXPECT_EQ(pages.TextOf("m_pEIB"), Text(c.rak ? 364 : 363));
    EXPECT_EQ(pages.TextOf("m_pBSM"), Text(363));
    EXPECT_EQ(pages.TextOf("m_pKMRKamera"), c.markKMR ? Text(375) : QString());
    EXPECT_EQ(pages.TextOf("m_pEIBKamera"), c.markEIB ? Text(375) : QString());
}

INSTANTIATE_TEST_SUITE_P(Devices, PrintDevices,
                         testing::Values(DevicesCase{"CameraOnTheCameraDevice", 1, 1, 2, true,
                                                     false},
                                         DevicesCase{"CameraOnTheController", 1, 1, 1, false, true},
                                         DevicesCase{"CameraDeviceMissing", 0, 1, 2, false, false},
                                         DevicesCase{"ControllerMissing", 1, 0, 1, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintTest, TheCameraReportPrintsTheCameraSettings) {
    Load([](MoxDaten* d) {
        MoxSetTypeKMR(d, 1);
        MoxSetKMRKameratyp(d, 1);
        MoxSetKMRKontrast(d, 7);
    });
    const TReportPages& pages = PrintKind(eKMRKonfig);
    EXPECT_EQ(pages.TextOf("m_pKMRKamera"), Text(390));
    std::uint8_t kontrast = 0;
    ASSERT_TRUE(Doc().GetKMRKontrast(&kontrast));
    EXPECT_EQ(pages.TextOf("m_pKMRKontrast"), QString::number(kontrast));
    EXPECT_EQ(pages.TextOf("m_pKMRBandbreite"), QString::number(Doc().GetKMRBandbreite()));
}

// ------------------------------------------------------------ door texts, lists

TEST_F(PrintTest, Type1PrintsThreeDoorsAndNoUnknownTone) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 1);
        MoxSetTuerrufText(d, 0, "Haus");
        MoxSetTuerrufText(d, 4, "Hof");
        MoxSetTuerrufText(d, 6, "Etage");
        d->Rufton[1] = 3;
        d->Rufton[2] = 0; // no tone the box knows
    });
    const TReportPages& pages = PrintKind(eITKonfig);
    EXPECT_EQ(pages.TextOf("m_pText1"), "Haus");
    EXPECT_EQ(pages.TextOf("m_pText5"), "");
    EXPECT_EQ(pages.TextOf("m_pTon5"), "");
    EXPECT_EQ(pages.TextOf("m_pEtagenText"), "Etage");
    EXPECT_EQ(pages.TextOf("m_pTon1"), Text(421));
    EXPECT_EQ(pages.TextOf("m_pTon2"), Text(422));
    EXPECT_EQ(pages.TextOf("m_pTon3"), "");
    // Doors 4 to 6 have no number either.
    EXPECT_EQ(pages.TextOf("Door3"), "3");
    EXPECT_EQ(pages.TextOf("Door4"), "");
}

// Caption 287 names the floor call: it stands beside the floor call's text,
// and the tone column, whose values name themselves, has no caption above
// it. In every language, where the caption's length moves the columns.
TEST_F(PrintTest, TheFloorCallsCaptionStandsBesideItsText) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetTuerrufText(d, 6, "Etage");
    });
    for (int sprache = 1; sprache <= 6; ++sprache) {
        ASSERT_TRUE(m_pRes->LoadFile(TkResourcen::LanguageFilePath(sprache)));
        const TReportPages& pages = PrintKind(eITKonfig);
        auto item = [&](const char* name) {
            for (const TLaidOutItem* i : pages.Items())
                if (i->name == name)
                    return i;
            ADD_FAILURE() << name << " not printed";
            static const TLaidOutItem none;
            return &none;
        };
        const TLaidOutItem* caption = item("Caption287");
        const TLaidOutItem* text = item("m_pEtagenText");
        EXPECT_EQ(caption->text, Text(287)) << sprache;
        EXPECT_EQ(text->text, "Etage");
        EXPECT_DOUBLE_EQ(caption->rect.top(), text->rect.top()) << sprache;
        EXPECT_LE(caption->rect.right(), text->rect.left()) << sprache;
        EXPECT_EQ(caption->lines, QStringList{Text(287)}) << sprache;
        // The door texts share the floor call's column.
        EXPECT_DOUBLE_EQ(item("m_pText1")->rect.left(), text->rect.left()) << sprache;
        const TLaidOutItem* tone = item("m_pTon1");
        for (const TLaidOutItem* i : pages.Items("TPrintITKonf")) {
            if (i->kind != eReportItemKind::Label || i->text.isEmpty() ||
                i->rect.top() >= tone->rect.top() || i->bandType != eBandType::Detail)
                continue;
            EXPECT_LE(i->rect.right(), tone->rect.left()) << i->name << " above the tones";
        }
    }
}

TEST_F(PrintTest, Type2PrintsSixDoors) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetTuerrufText(d, 4, "Hof");
    });
    const TReportPages& pages = PrintKind(eITKonfig);
    EXPECT_EQ(pages.TextOf("m_pText5"), "Hof");
    EXPECT_EQ(pages.TextOf("m_pTon6"), Text(421));
}

TEST_F(PrintTest, SmsProvidersPrintTheirProtocol) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetSMSProvider(d, 0, "Eins");
        MoxSetSMSRnr(d, 0, "0193010");
        MoxSetSMSProtokoll(d, 0, 1);
        MoxSetSMSProtokoll(d, 1, 2);
        MoxSetSMSProtokoll(d, 2, 0);
    });
    const TReportPages& pages = PrintKind(eSMS);
    EXPECT_EQ(pages.TextsOf("m_pSMSIndex"), Numbers(1, 10));
    EXPECT_EQ(pages.TextsOf("m_pSMSProvider")[0], "Eins");
    EXPECT_EQ(pages.TextsOf("m_pSMSRnr")[0], "0193010");
    const Texts protocol = pages.TextsOf("m_pSMSProtokoll");
    EXPECT_EQ(protocol[0], Text(506));
    EXPECT_EQ(protocol[1], Text(507));
    EXPECT_EQ(protocol[2], "");
}

TEST_F(PrintTest, BarredNumbersPrintFourRows) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetSperrnr(d, 3, "0900");
    });
    const TReportPages& pages = PrintKind(eSperrnr);
    EXPECT_EQ(pages.TextsOf("m_pSperrIndex"), Numbers(1, 4));
    EXPECT_EQ(pages.TextsOf("m_pSperrRnr"), (Texts{"", "", "", "0900"}));
}

TEST_F(PrintTest, SwitchModuleAndSwitchingCodesMarkTheUsedCodes) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetTypeBSM(d, 1);
        MoxSetBSMRelais(d, 1, 0x0345, 1);
        MoxSetBSMRelaisText(d, 1, "Licht");
        MoxSetSchaltcodeAdr(d, 5, 0x0222);
        MoxSetSchaltcodeText(d, 5, "Tor");
    });
    const TReportPages& bsm = PrintKind(eBSMKonfig);
    EXPECT_EQ(bsm.TextsOf("m_pBSMCode"), (Texts{"#51", "#52", "#53", "#54", "#55", "#56"}));
    EXPECT_EQ(bsm.TextsOf("m_pBSMAktiv"), (Texts{"", "X", "", "", "", ""}));
    EXPECT_EQ(bsm.TextsOf("m_pBSMText")[1], "Licht");
    const TReportPages& codes = PrintKind(eITSchaltcode);
    EXPECT_EQ(codes.TextsOf("m_pTuerCode"), (Texts{"#71", "#72", "#73", "#74", "#75", "#76"}));
    EXPECT_EQ(codes.TextsOf("m_pTuerAktiv"), (Texts{"", "", "", "", "", "X"}));
    EXPECT_EQ(codes.TextsOf("m_pTuerText")[5], "Tor");
}

TEST_F(PrintTest, SystemTimesAndLevelsPrintAsNumbers) {
    Load([](MoxDaten* d) {
        MoxSetTuerrufannahme(d, 25);
        MoxSetSprachausgabe(d, 1);
        MoxSetSprachwaage(d, 0);
    });
    ASSERT_TRUE(Doc().SetPegelKommend(-3.0));
    const TReportPages& pages = PrintKind(eSystemKonfig);
    EXPECT_EQ(pages.TextOf("m_pTuerruf"), "25");
    EXPECT_EQ(pages.TextOf("m_pPegelKommend"), QString::number(Doc().GetPegelKommend(), 'f', 1));
    EXPECT_EQ(pages.TextOf("m_pPegelKommend"), "-3.0");
    EXPECT_EQ(pages.TextOf("m_pSprache"), Text(255));
    EXPECT_EQ(pages.TextOf("m_pSprachwaage"), Text(256));
    // Each of the two speech rows is captioned with its own setting.
    EXPECT_EQ(pages.TextsOf("Caption264"), Texts{Text(264)});
    EXPECT_EQ(pages.TextsOf("Caption163"), Texts{Text(163)});
    EXPECT_EQ(pages.TextsOf("Unit291"), Texts{Text(297)});
    EXPECT_EQ(pages.TextsOf("UnitDb289"), Texts{"dB"});
}
