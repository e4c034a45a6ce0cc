// The code-assignment pages on their own: what they load and store, when
// the assign button is offered, the assignment run with the box's answers,
// the instruction line, and the read before assigning with its failures.
// Both pages share the base; the tables run each case on both.

#include "CodeFixture.h"
#include "CodeTextIds.h"
#include "PermSettings.h"
#include "TFormBSM.h"
#include "TFormSchaltcode.h"
#include "TViewFactory.h"
#include "WindowMessages.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kTlnAdr = 0x0123;
constexpr std::uint16_t kUnitAdr = 0x0456;

struct PageCase {
    const char* name;
    std::uint8_t kind;
    const char* firstLabel; // column 0 of the first row
    int captionId;          // the hosting dialog's caption
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

const PageCase kPages[] = {
    {"Schaltcode", eITSchaltcode, "#71", ctxt::kSchaltcodeHeading},
    {"BSM", eBSMKonfig, "#51", ctxt::kBSMHeading},
};

std::string PageName(const testing::TestParamInfo<PageCase>& info) {
    return info.param.name;
}

class CodePage : public CodeTest, public testing::WithParamInterface<PageCase> {
protected:
    TFormProgCode* Make(std::uint8_t holderKind = eKonfigDlg, bool readBox = false) {
        auto* page = dynamic_cast<TFormProgCode*>(MakePage(GetParam().kind, holderKind, readBox));
        EXPECT_NE(page, nullptr);
        return page;
    }
    bool IsBSM() const { return GetParam().kind == eBSMKonfig; }
    // The unit this page binds codes to, in programming.
    void UnitReady(std::uint16_t adr = kUnitAdr, std::uint16_t relay = 3) {
        if (IsBSM())
            m_Transfer.ModuleInProg(adr, relay);
        else
            m_Transfer.UnitInProg(adr, false);
    }
    // Code i in the document: address, and relay or video.
    std::uint16_t DocAdr(int i) {
        std::uint16_t adr = 0;
        std::uint8_t extra = 0;
        if (IsBSM())
            Doc().GetBSMRelais(static_cast<std::uint8_t>(i), &adr, &extra);
        else
            Doc().GetSchaltcodeAdr(static_cast<std::uint8_t>(i), &adr);
        return adr;
    }
    static QTableWidget* Grid(QWidget* page) { return Find<QTableWidget>(page, "m_pGrid"); }
    static QPushButton* Zuordnen(QWidget* page) {
        return Find<QPushButton>(page, "m_pZuordnenBtn");
    }
    static QString ToDo(QWidget* page) { return Find<QLabel>(page, "m_pToDoLabel")->text(); }
};

} // namespace

TEST_P(CodePage, LoadsAndStoresTheCodesOfTheDocument) {
    PrepareDoc(kTlnAdr);
    if (IsBSM()) {
        Doc().SetBSMRelais(2, 0x0321, 4);
        Doc().SetBSMRelaisText(2, "Garage");
    } else {
        Doc().SetSchaltcodeAdr(2, 0x0321);
        Doc().SetSchaltcodeText(2, "Garage");
        Doc().SetSchaltcodeVideo(2, 1);
    }
    TFormProgCode* page = Make();
    ASSERT_NE(page, nullptr);
    QTableWidget* grid = Grid(page);
    ASSERT_EQ(grid->rowCount(), 6);
    EXPECT_EQ(grid->item(0, 0)->text().trimmed(), QString::fromLatin1(GetParam().firstLabel));
    EXPECT_EQ(grid->item(2, 1)->text(), QStringLiteral("Garage"));
    EXPECT_EQ(page->GetRowIcon(2), TFormProgCode::eIconBound);
    EXPECT_EQ(page->GetRowIcon(3), TFormProgCode::eIconFree);

    // An edited text reaches the document with the save; the unit stays.
    grid->item(2, 1)->setText(QStringLiteral("Tor"));
    page->Perform(WM_SAVE, -1, -1);
    char text[32] = {};
    if (IsBSM()) {
        std::uint16_t adr = 0;
        std::uint8_t relay = 0;
        Doc().GetBSMRelais(2, &adr, &relay);
        Doc().GetBSMRelaisText(2, text, sizeof text);
        EXPECT_EQ(relay, 4);
    } else {
        std::uint8_t video = 0;
        Doc().GetSchaltcodeText(2, text, sizeof text);
        Doc().GetSchaltcodeVideo(2, &video);
        EXPECT_EQ(video, 1);
    }
    EXPECT_STREQ(text, "Tor");
    EXPECT_EQ(DocAdr(2), 0x0321);
}

TEST_P(CodePage, IsNotStoredWhenItGoes) {
    PrepareDoc(kTlnAdr);
    TFormProgCode* page = Make();
    ASSERT_NE(page, nullptr);
    Grid(page)->item(0, 1)->setText(QStringLiteral("changed"));
    DropPage();
    char text[32] = {};
    if (IsBSM())
        Doc().GetBSMRelaisText(0, text, sizeof text);
    else
        Doc().GetSchaltcodeText(0, text, sizeof text);
    EXPECT_STRNE(text, "changed");
}

TEST_P(CodePage, HandsTheSubscriberAddressToTheController) {
    PrepareDoc(kTlnAdr);
    TFormProgCode* page = Make();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetTlnAdr(), kTlnAdr);
    EXPECT_EQ(m_Transfer.tlnAdr, kTlnAdr);
    EXPECT_EQ(m_Transfer.prot, 3); // the programming channel
    EXPECT_FALSE(page->GetReadFlag());
    EXPECT_TRUE(page->IsTimerActive());
    EXPECT_EQ(page->GetHostCaptionId(), GetParam().captionId);
}

// When the assign button is offered: a subscriber address and the
// program state the page needs.
struct OfferCase {
    const char* name;
    std::uint16_t tlnAdr;
    bool unitReady;
    bool linkSetting; // a transfer medium is set
    bool expected;
};

void PrintTo(const OfferCase& c, std::ostream* os) {
    *os << c.name;
}

class CodeOffer : public CodeTest,
                  public testing::WithParamInterface<std::tuple<PageCase, OfferCase>> {};

TEST_P(CodeOffer, AssignButtonFollowsAddressAndState) {
    const auto& [pageCase, c] = GetParam();
    if (!c.linkSetting)
        SetComPort(0);
    PrepareDoc(c.tlnAdr);
    if (c.unitReady) {
        if (pageCase.kind == eBSMKonfig)
            m_Transfer.ModuleInProg(kUnitAdr, 1);
        else
            m_Transfer.UnitInProg(kUnitAdr, false);
    }
    QWidget* page = MakePage(pageCase.kind, eKonfigDlg);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Find<QPushButton>(page, "m_pZuordnenBtn")->isEnabled(), c.expected);
}

const OfferCase kOffers[] = {
    {"UnitReady", kTlnAdr, true, true, true},
    {"NoUnit", kTlnAdr, false, true, false},
    {"NoSubscriberAddress", 0, true, true, false},
    {"NoTransferMedium", kTlnAdr, true, false, false},
};

INSTANTIATE_TEST_SUITE_P(Pages, CodeOffer,
                         testing::Combine(testing::ValuesIn(kPages), testing::ValuesIn(kOffers)),
                         [](const testing::TestParamInfo<std::tuple<PageCase, OfferCase>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

TEST_P(CodePage, AssignmentBindsTheSelectedCodeOnTheBoxsAnswer) {
    PrepareDoc(kTlnAdr);
    UnitReady(kUnitAdr, 5);
    TFormProgCode* page = Make();
    ASSERT_NE(page, nullptr);
    QTableWidget* grid = Grid(page);
    grid->setCurrentCell(2, 1);
    ASSERT_TRUE(Zuordnen(page)->isEnabled());
    Zuordnen(page)->click();

    if (IsBSM())
        EXPECT_EQ(m_Transfer.commands,
                  (std::vector<std::string>{"BSMTaste " + std::to_string(kUnitAdr) + " 2"}));
    else
        EXPECT_EQ(m_Transfer.commands,
                  (std::vector<std::string>{
                      "ProgBTLM", "BTLMTaste " + std::to_string(kUnitAdr) + " 2", "ProgPassiv"}));
    EXPECT_TRUE(page->IsBusy());
    EXPECT_TRUE(page->IsAssignRequested());

    // While the box has not answered, the selection stays on the row.
    grid->setCurrentCell(4, 1);
    EXPECT_EQ(grid->currentRow(), 2);

    page->Perform(RUECKMELDUNG_OK, 0, 0);
    EXPECT_FALSE(page->IsBusy());
    EXPECT_EQ(BoxIds(), (std::vector<int>{ctxt::kAssigned}));
    EXPECT_EQ(m_Boxes.back().flags & mb::kIconMask, mb::kIconInformation);
    // In the page only until it is stored.
    EXPECT_EQ(DocAdr(2), 0);
    page->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(DocAdr(2), kUnitAdr);
    if (IsBSM()) {
        std::uint16_t adr = 0;
        std::uint8_t relay = 0;
        Doc().GetBSMRelais(2, &adr, &relay);
        EXPECT_EQ(relay, 5);
    }

    grid->setCurrentCell(4, 1);
    EXPECT_EQ(grid->currentRow(), 4);
}

TEST_P(CodePage, ConfirmationWithoutAnAssignmentOnlyTellsTheUser) {
    PrepareDoc(kTlnAdr);
    UnitReady();
    TFormProgCode* page = Make();
    ASSERT_NE(page, nullptr);
    page->Perform(RUECKMELDUNG_OK, 0, 0);
    EXPECT_EQ(BoxIds(), (std::vector<int>{ctxt::kAssigned}));
    page->Perform(WM_SAVE, -1, -1);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(DocAdr(i), 0) << i;
    EXPECT_FALSE(page->IsAssignRequested());
}

// The box's answers while an assignment runs.
struct ResultCase {
    const char* name;
    std::uint32_t msg;
    std::intptr_t lParam;
    std::vector<int> boxes; // text ids shown (0: a text put together)
    bool busyAfter;
};

void PrintTo(const ResultCase& c, std::ostream* os) {
    *os << c.name;
}

class CodeResult : public CodeTest,
                   public testing::WithParamInterface<std::tuple<PageCase, ResultCase>> {};

TEST_P(CodeResult, AnswerEndsOrKeepsTheAssignment) {
    const auto& [pageCase, c] = GetParam();
    PrepareDoc(kTlnAdr);
    if (pageCase.kind == eBSMKonfig)
        m_Transfer.ModuleInProg(kUnitAdr, 1);
    else
        m_Transfer.UnitInProg(kUnitAdr, false);
    auto* page = dynamic_cast<TFormProgCode*>(MakePage(pageCase.kind, eKonfigDlg));
    ASSERT_NE(page, nullptr);
    Find<QPushButton>(page, "m_pZuordnenBtn")->click();
    ASSERT_TRUE(page->IsBusy());

    page->Perform(c.msg, 0, c.lParam);
    EXPECT_EQ(BoxIds(), c.boxes);
    for (const auto& box : m_Boxes)
        EXPECT_EQ(box.flags & mb::kIconMask, mb::kIconStop);
    EXPECT_EQ(page->IsBusy(), c.busyAfter);
    // Nothing was bound.
    page->Perform(WM_SAVE, -1, -1);
    std::uint16_t adr = 0;
    if (pageCase.kind == eBSMKonfig) {
        std::uint8_t relay = 0;
        Doc().GetBSMRelais(0, &adr, &relay);
    } else {
        Doc().GetSchaltcodeAdr(0, &adr);
    }
    EXPECT_EQ(adr, 0);
}

const ResultCase kResults[] = {
    {"ProgFailed", PROG_FAILED, 0, {ctxt::kProgFailed}, false},
    {"SendFailed", SEND_FAILED, 0, {ctxt::kSendFailed}, false},
    {"SwitchModuleLeft", BSMPROG_PAS, 0, {}, false},
    {"ErrorType1", TLNPROG_FEHLER, 1, {ctxt::kProgError1}, true},
    {"ErrorType4", TLNPROG_FEHLER, 4, {ctxt::kProgError1 + 3}, true},
    {"ErrorTypeUnknown", TLNPROG_FEHLER, 9, {0}, true},
    {"ModeActive", PROGMODEAKT_OK, 0, {}, true},
    {"UnitActive", TLNPROGAKT_OK, 0, {}, true},
};

INSTANTIATE_TEST_SUITE_P(Pages, CodeResult,
                         testing::Combine(testing::ValuesIn(kPages), testing::ValuesIn(kResults)),
                         [](const testing::TestParamInfo<std::tuple<PageCase, ResultCase>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

TEST_P(CodePage, UnknownErrorTypeIsNamedInTheMessage) {
    PrepareDoc(kTlnAdr);
    TFormProgCode* page = Make();
    ASSERT_NE(page, nullptr);
    page->Perform(TLNPROG_FEHLER, 0, 9);
    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_TRUE(m_Boxes[0].text.contains(QStringLiteral("9"))) << m_Boxes[0].text.toStdString();
    EXPECT_FALSE(m_Boxes[0].text.contains(QStringLiteral("%d")));
    EXPECT_EQ(m_Boxes[0].caption, Text(ctxt::kCaption));
}

TEST_P(CodePage, UnitLeavingProgrammingTakesTheButton) {
    PrepareDoc(kTlnAdr);
    UnitReady();
    TFormProgCode* page = Make();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(Zuordnen(page)->isEnabled());
    m_Transfer.progMode = m_Transfer.bsm = m_Transfer.btlm = false;
    page->Perform(TLNPROG_PAS_OK, 0, 0);
    EXPECT_FALSE(Zuordnen(page)->isEnabled());
    EXPECT_EQ(ToDo(page), Text(ctxt::kToDoProgMode));
}

TEST_P(CodePage, InstructionFollowsTheProgrammingState) {
    PrepareDoc(kTlnAdr);
    TFormProgCode* page = Make();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ToDo(page), Text(ctxt::kToDoProgMode));

    m_Transfer.progMode = true;
    page->Perform(PROGMODEAKT_OK, 0, 0);
    EXPECT_EQ(ToDo(page), Text(IsBSM() ? ctxt::kToDoBSM : ctxt::kToDoBTLM));

    UnitReady();
    page->Perform(IsBSM() ? BSMPROG_AKT : TLNPROGAKT_OK, 0, 0);
    EXPECT_EQ(ToDo(page), Text(ctxt::kToDoAssign));
    EXPECT_TRUE(Zuordnen(page)->isEnabled());
    EXPECT_EQ(page->GetUnitAdr(), kUnitAdr);
}

TEST_P(CodePage, CurrentRowBlinksWhileTheBoxPrograms) {
    PrepareDoc(kTlnAdr);
    TFormProgCode* page = Make();
    ASSERT_NE(page, nullptr);
    Grid(page)->setCurrentCell(1, 1);
    EXPECT_EQ(page->GetRowIcon(1), TFormProgCode::eIconFree);

    m_Transfer.progMode = true;
    std::vector<int> phases;
    for (int i = 0; i < 4; ++i) {
        page->RepaintIcons();
        phases.push_back(page->GetRowIcon(1));
    }
    // Two phases that take turns on every repaint.
    EXPECT_NE(phases[0], phases[1]);
    EXPECT_EQ(phases[0], phases[2]);
    EXPECT_EQ(phases[1], phases[3]);
    for (int icon : phases)
        EXPECT_TRUE(icon == TFormProgCode::eIconBound || icon == TFormProgCode::eIconBlink);
    // The other rows keep their state.
    EXPECT_EQ(page->GetRowIcon(0), TFormProgCode::eIconFree);
}

TEST_P(CodePage, WizardPageReadsNothingByItself) {
    PrepareDoc(0);
    TFormProgCode* page = Make(eAssistent);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->IsWizardMode());
    EXPECT_FALSE(page->IsTimerActive());
    EXPECT_TRUE(m_Transfer.runs.empty());
}

INSTANTIATE_TEST_SUITE_P(Pages, CodePage, testing::ValuesIn(kPages), PageName);

// ---- the read before assigning

struct ReadCase {
    const char* name;
    std::uint8_t kind;
    std::uint16_t docTlnAdr; // before the read
    bool readBox;            // the start page asked for the read
    int result;              // of the read run (1 ok)
    std::uint8_t boxTypeIT;  // in the box's configuration
    std::uint8_t boxTypeBSM;
    std::uint16_t boxTlnAdr;
    bool expectRead;
    std::vector<int> boxes;
    bool expectCancel;
    bool expectButton; // the unit is ready in every case
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class CodeRead : public CodeTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(CodeRead, ReadBeforeAssigning) {
    const ReadCase& c = GetParam();
    PrepareDoc(c.docTlnAdr);
    Doc().SetReadFromBox(false);
    m_Transfer.readImage = CodeImage(c.boxTypeIT, c.boxTypeBSM, c.boxTlnAdr);
    m_Transfer.result = c.result;
    if (c.kind == eBSMKonfig)
        m_Transfer.ModuleInProg(kUnitAdr, 1);
    else
        m_Transfer.UnitInProg(kUnitAdr, false);
    auto* page = dynamic_cast<TFormProgCode*>(MakePage(c.kind, eKonfigDlg, c.readBox));
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->IsTimerActive());
    page->OnTimer();

    EXPECT_EQ(m_Transfer.runs, c.expectRead ? std::vector<int>{2} : std::vector<int>{});
    EXPECT_EQ(BoxIds(), c.boxes);
    EXPECT_EQ(m_pOwner->cancelled > 0, c.expectCancel);
    EXPECT_EQ(Find<QPushButton>(page, "m_pZuordnenBtn")->isEnabled(), c.expectButton);
    EXPECT_EQ(Doc().IsReadFromBox(), c.expectRead && c.result == 1);
    EXPECT_FALSE(page->IsTimerActive());
}

const ReadCase kReads[] = {
    {"NoReadAsked", eITSchaltcode, kTlnAdr, false, 1, 2, 1, kTlnAdr, false, {}, false, true},
    {"AskedAndGood", eITSchaltcode, kTlnAdr, true, 1, 2, 1, 0x0777, true, {}, false, true},
    {"NoAddressForcesRead", eBSMKonfig, 0, false, 1, 2, 1, 0x0777, true, {}, false, true},
    {"ReadFails", eBSMKonfig, 0, false, 2, 2, 1, 0x0777, true, {ctxt::kReadFailed}, true, false},
    {"StillNoAddress", eITSchaltcode, 0, false, 1, 2, 1, 0, true, {ctxt::kNoTlnAdr}, true, false},
    {"DoorInterfaceChanged",
     eITSchaltcode,
     kTlnAdr,
     true,
     1,
     1,
     1,
     kTlnAdr,
     true,
     {ctxt::kITChanged},
     true,
     true},
    {"NoSwitchModule",
     eBSMKonfig,
     kTlnAdr,
     true,
     1,
     2,
     0,
     kTlnAdr,
     true,
     {ctxt::kNoBSM},
     true,
     true},
    // The switching codes bind door loudspeaker keys: no switch module
    // is needed for them.
    {"SchaltcodeWithoutSwitchModule",
     eITSchaltcode,
     kTlnAdr,
     true,
     1,
     2,
     0,
     kTlnAdr,
     true,
     {},
     false,
     true},
};

INSTANTIATE_TEST_SUITE_P(Reads, CodeRead, testing::ValuesIn(kReads),
                         [](const testing::TestParamInfo<ReadCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(CodeTest, SuccessfulReadReloadsThePageAndTheSubscriberAddress) {
    PrepareDoc(0);
    auto data = CodeImage(2, 1, 0x0777);
    m_Transfer.readImage = data;
    m_Transfer.UnitInProg(kUnitAdr, false);
    auto* page = dynamic_cast<TFormProgCode*>(MakePage(eITSchaltcode, eKonfigDlg));
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->GetReadFlag());
    EXPECT_FALSE(Find<QPushButton>(page, "m_pZuordnenBtn")->isEnabled());
    page->OnTimer();
    EXPECT_EQ(page->GetTlnAdr(), 0x0777);
    EXPECT_EQ(m_Transfer.tlnAdr, 0x0777);
    EXPECT_TRUE(Find<QPushButton>(page, "m_pZuordnenBtn")->isEnabled());
    // Inside the hosting dialog the tree is left alone: the start page
    // rebuilds it once the dialog is gone.
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"update"}));
}

TEST_F(CodeTest, VideoUnitNeedsTheVideoState) {
    PrepareDoc(kTlnAdr);
    m_Transfer.UnitInProg(kUnitAdr, true);
    auto* page = dynamic_cast<TFormSchaltcode*>(MakePage(eITSchaltcode, eKonfigDlg));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetProgStateNeeded(), 6);
    EXPECT_EQ(page->GetProgState(), 6);
    EXPECT_TRUE(Find<QPushButton>(page, "m_pZuordnenBtn")->isEnabled());
    page->findChild<QTableWidget*>("m_pGrid")->setCurrentCell(1, 1);
    Find<QPushButton>(page, "m_pZuordnenBtn")->click();
    page->Perform(RUECKMELDUNG_OK, 0, 0);
    page->Perform(WM_SAVE, -1, -1);
    std::uint8_t video = 0;
    Doc().GetSchaltcodeVideo(1, &video);
    EXPECT_EQ(video, 1);
}

TEST_F(CodeTest, EmbeddedKindsOpenTheCodePages) {
    PrepareDoc(kTlnAdr);
    for (std::uint8_t holder : {eAssistent, eKonfigDlg}) {
        SCOPED_TRACE(holder);
        EXPECT_NE(dynamic_cast<TFormSchaltcode*>(MakePage(eITSchaltcode, holder)), nullptr);
        EXPECT_NE(dynamic_cast<TFormBSM*>(MakePage(eBSMKonfig, holder)), nullptr);
    }
    // The tree node opens the start page, not the code page.
    EXPECT_EQ(dynamic_cast<TFormProgCode*>(MakePage(eITSchaltcode, eITSchaltcode)), nullptr);
}
