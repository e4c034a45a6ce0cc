// The controller's switching-output page: what a tab shows of the
// document, the subscriber lists of the three functions, the tab change
// that keeps the controls in the working copy, and what a save stores.

#include "RakFixture.h"

#include "MoxDaten.h"
#include "RakTextIds.h"
#include "RecheckCases.h"
#include "TFormRAKAG.h"
#include "UserClicks.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>

#include <cstring>
#include <ostream>
#include <string>

namespace {

std::string OutputText(const TMoxDocument& doc, std::uint8_t i) {
    char buf[64] = {};
    return doc.GetSchaltausgangsText(i, buf, sizeof buf) ? buf : "<none>";
}

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int k = 0; k < list->count(); ++k)
        items << list->itemText(k);
    return items;
}

} // namespace

class RakOutputsPage : public RakPageTest {
protected:
    TFormRAKAG* Open() {
        TFormRAKAG* page = MakePage<TFormRAKAG>(eRAKSAG);
        m_pTabs = Find<QTabBar>("m_pTabControl");
        m_pList = Find<QComboBox>("m_pTlnIdx");
        return page;
    }
    QRadioButton* Radio(const char* name) { return Find<QRadioButton>(name); }
    std::uint8_t Mode(std::uint8_t i, std::uint16_t* tln = nullptr) {
        std::uint16_t t = 0;
        const std::uint8_t mode = Doc().GetRAKAusgangMode(i, &t);
        if (tln)
            *tln = t;
        return mode;
    }
    QTabBar* m_pTabs = nullptr;
    QComboBox* m_pList = nullptr;
};

TEST_F(RakOutputsPage, WithoutTheControllerThereAreNoTabsAndSavingWritesNothing) {
    Doc().SetTypeRAK(0);
    const MoxDaten before = *Doc().GetDaten();
    Open();
    EXPECT_EQ(m_pTabs->count(), 0);
    Save();
    EXPECT_EQ(
        std::memcmp(&before.RAKAusgang, &Doc().GetDaten()->RAKAusgang, sizeof before.RAKAusgang),
        0);
}

TEST_F(RakOutputsPage, ShowsAnOutputAndStoresItUnchanged) {
    ASSERT_TRUE(Doc().SetRAKAusgangMode(0, eModeSchaltAusgangNSC, 5));
    Doc().SetRAKAusgangSprache(0, 1);
    Doc().SetSchaltausgangsText(0, "Bell");
    Open();
    ASSERT_EQ(m_pTabs->count(), 12);
    EXPECT_EQ(m_pTabs->tabText(0), "1");
    EXPECT_TRUE(Radio("m_pNSC")->isChecked());
    EXPECT_EQ(m_pList->count(), Doc().GetAnzTln());
    EXPECT_EQ(m_pList->currentIndex(), 5);
    EXPECT_EQ(m_pList->currentText(), "6");
    EXPECT_TRUE(Find<QCheckBox>("m_pSprache")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("m_pSprache")->isEnabled());
    EXPECT_EQ(Find<QLineEdit>("m_pTxt")->text(), "Bell");
    Save();
    std::uint16_t tln = 0;
    EXPECT_EQ(Mode(0, &tln), eModeSchaltAusgangNSC);
    EXPECT_EQ(tln, 5);
    EXPECT_EQ(Doc().GetRAKAusgangSprache(0), 1);
    EXPECT_EQ(OutputText(Doc(), 0), "Bell");
}

TEST_F(RakOutputsPage, TabChangeKeepsTheControlsInTheCopy) {
    Open();
    Radio("m_pSchalter")->click();
    EXPECT_FALSE(m_pList->isEnabled());
    EXPECT_EQ(m_pList->currentIndex(), -1);
    Find<QLineEdit>("m_pTxt")->setText("Light");
    m_pTabs->setCurrentIndex(1);
    Radio("m_pNSC")->click();
    m_pList->setCurrentIndex(2);
    Find<QLineEdit>("m_pTxt")->setText("Buzzer");
    m_pTabs->setCurrentIndex(0);
    EXPECT_TRUE(Radio("m_pSchalter")->isChecked());
    EXPECT_EQ(Find<QLineEdit>("m_pTxt")->text(), "Light");
    m_pTabs->setCurrentIndex(1);
    EXPECT_TRUE(Radio("m_pNSC")->isChecked());
    EXPECT_EQ(m_pList->currentIndex(), 2);
    Save();
    std::uint16_t tln = 0;
    EXPECT_EQ(Mode(0, &tln), eModeSchaltAusgangSchalter);
    EXPECT_EQ(tln, TFormRAKAG::kNoTln);
    EXPECT_EQ(OutputText(Doc(), 0), "Light");
    EXPECT_EQ(Mode(1, &tln), eModeSchaltAusgangNSC);
    EXPECT_EQ(tln, 2);
    EXPECT_EQ(OutputText(Doc(), 1), "Buzzer");
}

// A stray click on the function that is checked already must not move the
// output to the first subscriber, on the first tab or after a tab change.
class RakOutputsRecheck : public RakOutputsPage, public testing::WithParamInterface<RecheckCase> {};

TEST_P(RakOutputsRecheck, AClickOnTheCheckedButtonKeepsTheSubscriber) {
    const RecheckCase& c = GetParam();
    for (std::uint8_t i : kRecheckVideoTln)
        Doc().SetTlnVideo(i, 1);
    for (std::uint8_t out : {0, 3})
        ASSERT_TRUE(Doc().SetRAKAusgangMode(out, c.mode, c.tln));
    Open();
    for (int tab : {0, 3}) {
        m_pTabs->setCurrentIndex(tab);
        QRadioButton* button = Radio(c.button);
        ASSERT_TRUE(button->isChecked()) << "tab " << tab;
        ASSERT_EQ(m_pList->currentIndex(), c.pos) << "tab " << tab;
        const QStringList items = Items(m_pList);
        ClickRadioButton(button);
        EXPECT_TRUE(button->isChecked());
        EXPECT_EQ(Items(m_pList), items);
        EXPECT_EQ(m_pList->currentIndex(), c.pos) << "tab " << tab;
    }
    Save();
    for (std::uint8_t out : {0, 3}) {
        std::uint16_t tln = 0;
        EXPECT_EQ(Mode(out, &tln), c.mode);
        EXPECT_EQ(tln, c.tln) << "output " << int(out);
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, RakOutputsRecheck, RecheckRows(), RecheckName);

TEST_F(RakOutputsPage, VideoListsTheSubscribersWithVideo) {
    Doc().SetTlnVideo(3, 1);
    Doc().SetTlnVideo(7, 1);
    ASSERT_TRUE(Doc().SetRAKAusgangMode(0, eModeSchaltAusgangVideo, 7));
    Open();
    EXPECT_TRUE(Radio("m_pVideo")->isChecked());
    EXPECT_EQ(Items(m_pList), (QStringList{"4", "8"}));
    EXPECT_EQ(m_pList->currentIndex(), 1);
    m_pList->setCurrentIndex(0);
    Save();
    std::uint16_t tln = 0;
    EXPECT_EQ(Mode(0, &tln), eModeSchaltAusgangVideo);
    EXPECT_EQ(tln, 3);
}

struct LostVideoCase {
    const char* name;
    int videoTln; // -1: no subscriber has video
    int position;
};

void PrintTo(const LostVideoCase& c, std::ostream* os) {
    *os << c.name;
}

class RakOutputsLostVideo : public RakOutputsPage,
                            public testing::WithParamInterface<LostVideoCase> {};

TEST_P(RakOutputsLostVideo, AVideoOutputWhoseSubscriberLostVideoStandsAtTheFirst) {
    const LostVideoCase& c = GetParam();
    ASSERT_TRUE(Doc().SetRAKAusgangMode(0, eModeSchaltAusgangVideo, 5));
    if (c.videoTln >= 0)
        Doc().SetTlnVideo(static_cast<std::uint8_t>(c.videoTln), 1);
    Open();
    EXPECT_TRUE(Radio("m_pVideo")->isChecked());
    EXPECT_EQ(m_pList->currentIndex(), c.position);
}

INSTANTIATE_TEST_SUITE_P(Rows, RakOutputsLostVideo,
                         testing::Values(LostVideoCase{"AnotherHasVideo", 9, 0},
                                         LostVideoCase{"NoneHasVideo", -1, -1}),
                         [](const testing::TestParamInfo<LostVideoCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RakOutputsPage, DoorInterfaceType3ListsTheCallInputsAToD) {
    Doc().SetTypeIT(3);
    Doc().SetTlnVideo(1, 1);
    Doc().SetTlnVideo(3, 1);
    ASSERT_TRUE(Doc().SetRAKAusgangMode(0, eModeSchaltAusgangNSC, 2));
    Open();
    EXPECT_TRUE(Radio("m_pNSC")->isChecked());
    EXPECT_EQ(Items(m_pList), (QStringList{"A", "B", "C", "D"}));
    EXPECT_EQ(m_pList->currentText(), "C");
    Radio("m_pVideo")->click();
    EXPECT_EQ(Items(m_pList), (QStringList{"B", "D"}));
    EXPECT_EQ(m_pList->currentIndex(), 0);
    m_pList->setCurrentIndex(1);
    Save();
    std::uint16_t tln = 0;
    EXPECT_EQ(Mode(0, &tln), eModeSchaltAusgangVideo);
    EXPECT_EQ(tln, 3);
}

struct LabelCase {
    const char* name;
    std::uint8_t typeIT;
    int textId;
};

void PrintTo(const LabelCase& c, std::ostream* os) {
    *os << c.name;
}

class RakOutputsLabel : public RakOutputsPage, public testing::WithParamInterface<LabelCase> {};

TEST_P(RakOutputsLabel, SubscriberLabelByDoorInterfaceType) {
    Doc().SetTypeIT(GetParam().typeIT);
    Open();
    EXPECT_EQ(Find<QLabel>("m_pTlnLabel")->text().toStdString(), Text(GetParam().textId));
}

INSTANTIATE_TEST_SUITE_P(Types, RakOutputsLabel,
                         testing::Values(LabelCase{"Type1", 1, rtxt::kForCallInputIT1},
                                         LabelCase{"Type2", 2, rtxt::kForTln},
                                         LabelCase{"Type3", 3, rtxt::kForTln}),
                         [](const testing::TestParamInfo<LabelCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RakOutputsPage, RestoreLoadsTheDefaults) {
    ASSERT_TRUE(Doc().SetRAKAusgangMode(0, eModeSchaltAusgangSchalter, TFormRAKAG::kNoTln));
    Doc().SetSchaltausgangsText(0, "Custom");
    Open();
    m_pPage->Perform(WM_RESTORE, -1, -1);
    EXPECT_NE(OutputText(Doc(), 0), "Custom");
    EXPECT_EQ(Find<QLineEdit>("m_pTxt")->text().toStdString(), OutputText(Doc(), 0));
}

// The list holds short entries, as on the relay page: stretched over the
// page it would read as a field for something long. It stands beside its
// caption, as wide as its longest entry.
TEST_F(RakOutputsPage, TheSubscriberListIsAsWideAsItsEntries) {
    ASSERT_TRUE(Doc().SetRAKAusgangMode(0, eModeSchaltAusgangNSC, 30));
    Open();
    // As wide as the main window's page area, and laid out.
    m_pPage->resize(640, 480);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    ASSERT_EQ(m_pList->count(), 31);
    EXPECT_EQ(m_pList->width(), m_pList->sizeHint().width());
    EXPECT_LT(m_pList->width(), 640 / 4);
    EXPECT_GE(m_pList->width(), m_pList->fontMetrics().horizontalAdvance(QStringLiteral("31")));
    auto* label = Find<QLabel>("m_pTlnLabel");
    EXPECT_LT(m_pList->x() - (label->x() + label->width()), 640 / 4);

    // A wider entry widens the list with it.
    const int numbers = m_pList->width();
    m_pList->addItem(QStringLiteral("a much longer entry than a number"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_GT(m_pList->width(), numbers);
    EXPECT_EQ(m_pList->width(), m_pList->sizeHint().width());
}
