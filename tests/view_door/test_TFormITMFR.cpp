// The multifunction relay page: every stored mode opens with its button and
// is stored back (unknown modes as a switch), the subscriber and video
// lists by door-interface type, a video subscriber that lost its video, and
// the page's reset.

#include "DoorPageFixture.h"

#include "DoorTextIds.h"
#include "MoxDaten.h"
#include "RecheckCases.h"
#include "TFormITMFR.h"
#include "UserClicks.h"
#include "WindowMessages.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QRadioButton>

#include <ostream>
#include <string>

class RelayPage : public DoorPageTest {
protected:
    TFormITMFR* Open() { return Make<TFormITMFR>(eITMfr); }
    QComboBox* List() { return Find<QComboBox>("m_pTlnIdx"); }
    QStringList Entries() {
        QStringList entries;
        for (int i = 0; i < List()->count(); ++i)
            entries << List()->itemText(i);
        return entries;
    }
    std::uint8_t StoredMode(std::uint16_t* tln = nullptr) {
        std::uint16_t t = 0;
        const std::uint8_t mode = Doc().GetMfrMode(&t);
        if (tln)
            *tln = t;
        return mode;
    }
};

struct ModeCase {
    const char* name;
    std::uint8_t stored;
    const char* button;
    bool listEnabled;
    std::uint8_t saved;
};

// Names the row when a case fails.
void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.name;
}

class RelayMode : public RelayPage, public testing::WithParamInterface<ModeCase> {};

TEST_P(RelayMode, OpensWithItsButtonAndIsStoredBack) {
    const ModeCase& c = GetParam();
    Doc().SetTypeIT(2);
    Doc().SetTlnVideo(0, 1);
    Doc().SetMfrMode(c.stored, 0);
    Open();
    EXPECT_TRUE(Find<QRadioButton>(c.button)->isChecked());
    EXPECT_EQ(List()->isEnabled(), c.listEnabled);
    EXPECT_EQ(Find<QLabel>("m_pTlnLabel")->isEnabled(), c.listEnabled);
    Drop();
    std::uint16_t tln = 0;
    EXPECT_EQ(StoredMode(&tln), c.saved);
    EXPECT_EQ(tln, c.listEnabled ? 0 : MOX_TLNIDX_NONE);
}

INSTANTIATE_TEST_SUITE_P(Modes, RelayMode,
                         testing::Values(ModeCase{"Undefined", 0, "m_pSchalter", false, 3},
                                         ModeCase{"NSC", 1, "m_pNSC", true, 1},
                                         ModeCase{"Video", 2, "m_pVideo", true, 2},
                                         ModeCase{"Schalter", 3, "m_pSchalter", false, 3},
                                         ModeCase{"Taster", 4, "m_pTaster", false, 4},
                                         ModeCase{"Tueroeffner", 5, "m_pTuer", false, 5},
                                         ModeCase{"Licht", 6, "m_pLicht", false, 6},
                                         ModeCase{"Unknown", 9, "m_pSchalter", false, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ClickCase {
    const char* name;
    const char* button;
    std::uint8_t mode;
};

// Names the row when a case fails.
void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.name;
}

class RelayClick : public RelayPage, public testing::WithParamInterface<ClickCase> {};

TEST_P(RelayClick, TheClickedButtonIsStored) {
    const ClickCase& c = GetParam();
    Doc().SetTypeIT(2);
    Doc().SetMfrMode(eModeSchaltAusgangNSC, 4);
    Open();
    Find<QRadioButton>(c.button)->click();
    EXPECT_FALSE(List()->isEnabled());
    EXPECT_EQ(List()->currentIndex(), -1);
    Drop();
    std::uint16_t tln = 0;
    EXPECT_EQ(StoredMode(&tln), c.mode);
    EXPECT_EQ(tln, MOX_TLNIDX_NONE);
}

INSTANTIATE_TEST_SUITE_P(Buttons, RelayClick,
                         testing::Values(ClickCase{"Schalter", "m_pSchalter", 3},
                                         ClickCase{"Taster", "m_pTaster", 4},
                                         ClickCase{"Tueroeffner", "m_pTuer", 5},
                                         ClickCase{"Licht", "m_pLicht", 6}),
                         [](const auto& info) { return std::string(info.param.name); });

// A stray click on the contact kind that is checked already must not move
// the relay to the first subscriber.
class RelayRecheck : public RelayPage, public testing::WithParamInterface<RecheckCase> {};

TEST_P(RelayRecheck, AClickOnTheCheckedButtonKeepsTheSubscriber) {
    const RecheckCase& c = GetParam();
    Doc().SetTypeIT(2);
    for (std::uint8_t i : kRecheckVideoTln)
        Doc().SetTlnVideo(i, 1);
    Doc().SetMfrMode(c.mode, c.tln);
    Open();
    auto* button = Find<QRadioButton>(c.button);
    ASSERT_TRUE(button->isChecked());
    ASSERT_EQ(List()->currentIndex(), c.pos);
    const QStringList entries = Entries();
    ClickRadioButton(button);
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(Entries(), entries);
    EXPECT_EQ(List()->currentIndex(), c.pos);
    Drop();
    std::uint16_t tln = 0;
    EXPECT_EQ(StoredMode(&tln), c.mode);
    EXPECT_EQ(tln, c.tln);
}

INSTANTIATE_TEST_SUITE_P(Buttons, RelayRecheck, RecheckRows(), RecheckName);

TEST_F(RelayPage, ARecheckAfterAChoiceKeepsTheChoice) {
    Doc().SetTypeIT(2);
    Doc().SetMfrMode(eModeSchaltAusgangNSC, 3);
    Open();
    List()->setCurrentIndex(11);
    ClickRadioButton(Find<QRadioButton>("m_pNSC"));
    EXPECT_EQ(List()->currentIndex(), 11);
    // A real change still refills: the switch clears, the contact refills.
    ClickRadioButton(Find<QRadioButton>("m_pSchalter"));
    EXPECT_EQ(List()->currentIndex(), -1);
    ClickRadioButton(Find<QRadioButton>("m_pNSC"));
    EXPECT_EQ(List()->currentIndex(), 0);
}

TEST_F(RelayPage, TheSecondarySignalContactTakesTheChosenSubscriber) {
    Doc().SetTypeIT(2);
    Doc().SetMfrMode(eModeSchaltAusgangNSC, 7);
    Open();
    ASSERT_EQ(List()->count(), 31);
    EXPECT_EQ(List()->itemText(30), QStringLiteral("31"));
    EXPECT_EQ(List()->currentIndex(), 7);
    List()->setCurrentIndex(12);
    Drop();
    std::uint16_t tln = 0;
    EXPECT_EQ(StoredMode(&tln), eModeSchaltAusgangNSC);
    EXPECT_EQ(tln, 12);
}

TEST_F(RelayPage, TheVideoListHoldsOnlySubscribersWithVideo) {
    Doc().SetTypeIT(2);
    for (std::uint8_t i : {2, 5, 9})
        Doc().SetTlnVideo(i, 1);
    Doc().SetMfrMode(eModeSchaltAusgangVideo, 5);
    Open();
    EXPECT_EQ(Entries(), (QStringList{"3", "6", "10"}));
    EXPECT_EQ(List()->currentIndex(), 1);
    List()->setCurrentIndex(2);
    Drop();
    std::uint16_t tln = 0;
    EXPECT_EQ(StoredMode(&tln), eModeSchaltAusgangVideo);
    EXPECT_EQ(tln, 9);
}

TEST_F(RelayPage, AVideoSubscriberThatLostItsVideoGivesWayToTheFirstEntry) {
    Doc().SetTypeIT(2);
    Doc().SetTlnVideo(4, 1);
    Doc().SetTlnVideo(8, 1);
    Doc().SetMfrMode(eModeSchaltAusgangVideo, 6); // subscriber 6 has no video
    Open();
    EXPECT_EQ(List()->currentIndex(), 0);
    Drop();
    std::uint16_t tln = 0;
    StoredMode(&tln);
    EXPECT_EQ(tln, 4);
}

TEST_F(RelayPage, AVideoRelayWithoutAnySubscriberWithVideoStoresNone) {
    Doc().SetTypeIT(2);
    Doc().SetMfrMode(eModeSchaltAusgangVideo, 3);
    Open();
    EXPECT_EQ(List()->count(), 0);
    Drop();
    std::uint16_t tln = 0;
    EXPECT_EQ(StoredMode(&tln), eModeSchaltAusgangVideo);
    EXPECT_EQ(tln, MOX_TLNIDX_NONE);
}

TEST_F(RelayPage, TypeThreeListsTheCallInputs) {
    Doc().SetTypeIT(eIT_Quarz);
    Doc().SetTlnVideo(1, 1);
    Doc().SetTlnVideo(3, 1);
    Doc().SetMfrMode(eModeSchaltAusgangNSC, 2);
    Open();
    EXPECT_EQ(Entries(), (QStringList{"A", "B", "C", "D"}));
    EXPECT_EQ(List()->currentIndex(), 2);
    Find<QRadioButton>("m_pVideo")->click();
    EXPECT_EQ(Entries(), (QStringList{"B", "D"}));
    EXPECT_EQ(List()->currentIndex(), 0);
    List()->setCurrentIndex(1);
    Drop();
    std::uint16_t tln = 0;
    EXPECT_EQ(StoredMode(&tln), eModeSchaltAusgangVideo);
    EXPECT_EQ(tln, 3);
}

TEST_F(RelayPage, ChoosingAContactFillsItsListAndSelectsTheFirstEntry) {
    Doc().SetTypeIT(eIT_Nivo);
    Open();
    EXPECT_FALSE(List()->isEnabled());
    Find<QRadioButton>("m_pNSC")->click();
    EXPECT_TRUE(List()->isEnabled());
    EXPECT_EQ(Entries(), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(List()->currentIndex(), 0);
    Find<QRadioButton>("m_pLicht")->click();
    EXPECT_FALSE(List()->isEnabled());
    EXPECT_EQ(List()->currentIndex(), -1);
}

// The list holds short entries; stretched over the page it would read as
// a field for something long.
TEST_F(RelayPage, TheListIsAsWideAsItsEntries) {
    Doc().SetTypeIT(2);
    Doc().SetMfrMode(eModeSchaltAusgangNSC, 30);
    Open();
    // As wide as the main window's page area, and laid out.
    m_pPage->resize(640, 480);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    ASSERT_EQ(List()->count(), 31);
    EXPECT_EQ(List()->currentText(), QStringLiteral("31"));
    EXPECT_EQ(List()->width(), List()->sizeHint().width());
    EXPECT_LT(List()->width(), 640 / 4);
    // Its longest entry still shows whole.
    EXPECT_GE(List()->width(), List()->fontMetrics().horizontalAdvance(QStringLiteral("31")));
}

TEST_F(RelayPage, TheListCaptionFollowsTheDoorInterfaceType) {
    for (std::uint8_t type : {1, 2, 3}) {
        Doc().SetTypeIT(type);
        Open();
        EXPECT_EQ(Find<QLabel>("m_pTlnLabel")->text(),
                  Text(type == 1 ? dtxt::kForRufeingang : dtxt::kForTln))
            << "type " << int(type);
    }
}

TEST_F(RelayPage, RestoreMakesTheRelayASwitch) {
    Doc().SetTypeIT(2);
    Doc().SetMfrMode(eModeSchaltAusgangLicht, MOX_TLNIDX_NONE);
    TFormITMFR* page = Open();
    page->Perform(WM_RESTORE, -1, -1);
    EXPECT_TRUE(Find<QRadioButton>("m_pSchalter")->isChecked());
    std::uint16_t tln = 0;
    EXPECT_EQ(StoredMode(&tln), eModeSchaltAusgangSchalter);
    EXPECT_EQ(tln, MOX_TLNIDX_NONE);
}
