// Which reports a print holds: the one report of a page's node kind, and
// the lists of the folders and of everything by the device types and the
// program mode.

#include "MoxAccess.h"
#include "PrintFixture.h"
#include "TCompositeReport.h"

#include <ostream>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// Inputs 1 and 2 of the controller are a signal input and a time switch,
// the other ten have no function.
Names RakInputs() {
    Names n = {"TRAK_Sensor", "TRAK_Schaltuhr"};
    n.insert(n.end(), 10, "TRAK_NoFunction");
    return n;
}

void AllDevices(MoxDaten* d, std::uint8_t typeIT) {
    MoxSetTypeIT(d, typeIT);
    MoxSetTypeKMR(d, 1);
    MoxSetTypeRAK(d, 1);
    MoxSetTypeBSM(d, 1);
    MoxSetRAKEingangMode(d, 0, eModeMeldeEingangMeldefkt);
    MoxSetRAKEingangMode(d, 1, eModeMeldeEingangSchaltuhr);
}

struct SelectCase {
    const char* name;
    std::uint8_t kind;
    std::uint8_t mfeMode;
    Names reports;
};
void PrintTo(const SelectCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintSelect : public PrintTest, public testing::WithParamInterface<SelectCase> {};

} // namespace

TEST_P(PrintSelect, ThePageKindPrintsItsOwnReport) {
    const SelectCase& c = GetParam();
    Load([&](MoxDaten* d) {
        AllDevices(d, 2);
        if (c.mfeMode == eModeMeldeEingangMfr)
            MoxSetMfeMfr(d);
        else
            MoxSetMfeMode(d, c.mfeMode);
    });
    ASSERT_EQ(Doc().GetMfeMode(), c.mfeMode);
    EXPECT_EQ(ReportsOf(PrintKind(c.kind)), c.reports);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PrintSelect,
                         testing::Values(SelectCase{"Devices", 2, 0, {"TPrintGeraete"}},
                                         SelectCase{"Box", 5, 0, {"TPrintMoxKonf"}},
                                         SelectCase{"BarredNumbers", 6, 0, {"TPrintSperrRnr"}},
                                         SelectCase{"SMS", 7, 0, {"TPrintSMS"}},
                                         SelectCase{"CameraFolder", 8, 0, {"TPrintKMR"}},
                                         SelectCase{"Camera", 9, 0, {"TPrintKMR"}},
                                         SelectCase{"ControllerInputs", 11, 0, RakInputs()},
                                         SelectCase{"ControllerOutputs", 12, 0, {"TPrintRAKAG"}},
                                         SelectCase{"DoorTexts", 14, 0, {"TPrintITKonf"}},
                                         SelectCase{"DoorSettingsFolder", 17, 0, {"TPrintITKonf"}},
                                         SelectCase{"MfeUndefined", 15, 0, {"TPrintNoFunction"}},
                                         SelectCase{"MfeSignal", 15, 1, {"TPrintSensor"}},
                                         SelectCase{"MfeTimeSwitch", 15, 2, {"TPrintSchaltuhr"}},
                                         SelectCase{"MfeFloorCall", 15, 3, {"TPrintEtagenruf"}},
                                         SelectCase{"MfeRelay", 15, 4, {"TPrintNoFunction"}},
                                         SelectCase{"Relay", 16, 0, {"TPrintITMfr"}},
                                         SelectCase{
                                             "SwitchingCodes", 18, 0, {"TPrintITSchaltcode"}},
                                         SelectCase{"SwitchModuleFolder", 21, 0, {"TPrintBSM"}},
                                         SelectCase{"SwitchModule", 22, 0, {"TPrintBSM"}},
                                         SelectCase{"Subscribers", 24, 0, {"TPrintTln"}},
                                         SelectCase{"SubscriberProgramming", 26, 0, {"TPrintTln"}},
                                         SelectCase{"PermissionGroups", 25, 0, {"TPrintPG"}},
                                         SelectCase{"SystemFolder", 27, 0, {"TPrintSystem"}},
                                         SelectCase{"System", 28, 0, {"TPrintSystem"}}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct JobCase {
    const char* name;
    std::uint8_t kind; // with "current part" chosen where the dialog offers it
    std::uint8_t typeIT;
    int mode;
    bool devices; // camera, controller and switching module present
    Names reports;
};
void PrintTo(const JobCase& c, std::ostream* os) {
    *os << c.name;
}

class PrintJobs : public PrintTest, public testing::WithParamInterface<JobCase> {};

Names Everything(bool expert, bool barred, bool devices) {
    Names n = {"TPrintGeraete", "TPrintMoxKonf"};
    if (barred)
        n.push_back("TPrintSperrRnr");
    n.insert(n.end(), {"TPrintTln", "TPrintPG", "TPrintNoFunction", "TPrintITMfr"});
    if (expert)
        n.push_back("TPrintSMS");
    if (barred)
        n.push_back("TPrintITSchaltcode");
    n.push_back("TPrintITKonf");
    if (devices) {
        n.push_back("TPrintKMR");
        const Names inputs = RakInputs();
        n.insert(n.end(), inputs.begin(), inputs.end());
        n.push_back("TPrintRAKAG");
        n.push_back("TPrintBSM");
    }
    if (expert)
        n.push_back("TPrintSystem");
    return n;
}

Names Names_(const TCompositeReport& job) {
    Names n;
    for (const TReport* r : job.Reports())
        n.push_back(r->Name());
    return n;
}

} // namespace

TEST_P(PrintJobs, TheJobListsItsReportsInOrder) {
    const JobCase& c = GetParam();
    Load([&](MoxDaten* d) {
        if (c.devices) {
            AllDevices(d, c.typeIT);
        } else {
            MoxSetTypeIT(d, c.typeIT);
            MoxSetTypeBSM(d, 0); // type 2 brings the switching module along
        }
    });
    const bool everything = c.kind == eProjectKonf;
    PrintedReports(c.kind, everything, c.mode);
    EXPECT_EQ(Names_(*m_pDlg->GetCompositeReport()), c.reports);
    // What went to the printer is that list, less the reports without
    // rows; a job without a page does not get as far as the print dialog.
    if (c.reports.empty()) {
        EXPECT_TRUE(m_Printed.empty());
        return;
    }
    ASSERT_EQ(m_Printed.size(), 1u);
    const Names printed = ReportsOf(m_Printed.back());
    Names expected;
    for (const std::string& r : c.reports)
        if (c.devices || r != "TPrintRAKAG")
            expected.push_back(r);
    EXPECT_EQ(printed, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, PrintJobs,
    testing::Values(
        JobCase{"BoxFolderType1", 4, 1, 2, false, {"TPrintMoxKonf", "TPrintTln", "TPrintPG"}},
        JobCase{"BoxFolderType2",
                4,
                2,
                2,
                true,
                {"TPrintMoxKonf", "TPrintSperrRnr", "TPrintTln", "TPrintPG"}},
        JobCase{"BoxFolderType3",
                4,
                3,
                1,
                false,
                {"TPrintMoxKonf", "TPrintSperrRnr", "TPrintTln", "TPrintPG"}},
        JobCase{"ControllerFolderWithout", 10, 2, 2, false, {}},
        JobCase{"ControllerFolderWith", 10, 2, 2, true,
                [] {
                    Names n = RakInputs();
                    n.push_back("TPrintRAKAG");
                    return n;
                }()},
        JobCase{"DoorFolderStandard",
                13,
                1,
                1,
                false,
                {"TPrintNoFunction", "TPrintITMfr", "TPrintITKonf"}},
        JobCase{
            "DoorFolderExpert",
            13,
            3,
            2,
            false,
            {"TPrintNoFunction", "TPrintITMfr", "TPrintSMS", "TPrintITSchaltcode", "TPrintITKonf"}},
        JobCase{"SubscriberFolder", 23, 2, 1, false, {"TPrintTln", "TPrintPG"}},
        JobCase{"EverythingStandard", 1, 2, 1, false, Everything(false, true, false)},
        JobCase{"EverythingStandardType1", 1, 1, 1, true, Everything(false, false, true)},
        JobCase{"EverythingExpert", 1, 2, 2, true, Everything(true, true, true)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintTest, AKindOutsideTheChoicePrintsEverything) {
    Load([](MoxDaten* d) {
        MoxSetTypeIT(d, 2);
        MoxSetTypeBSM(d, 0);
    });
    for (std::uint8_t kind : {eProjectKonf, eNodeGeraete, eNodeITKonfig, eTlnAktProg}) {
        m_Printed.clear();
        PrintedReports(kind, true, 2);
        ASSERT_EQ(m_Printed.size(), 1u) << int(kind);
        EXPECT_EQ(Names_(*m_pDlg->GetCompositeReport()), Everything(true, true, false))
            << int(kind);
    }
}
