// The write page: its link line and start button, the bus-address choice
// of door-interface type 2 and its warning, and the result of a write with
// its texts.

#include "PageFixture.h"

#include "DataPageTextIds.h"
#include "TFormWriteData.h"
#include "TMoxDocument.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <ostream>
#include <string>

class WritePageTest : public PageTest {
protected:
    TFormWriteData* Make() { return MakePage<TFormWriteData>(eDatenSchreiben); }
};

TEST_F(WritePageTest, ShowsTheLinkAndOffersTheStartWhileTheLinkIsUp) {
    m_Transfer.linkText = "via COM-Port";
    TFormWriteData* page = Make();
    EXPECT_EQ(Find<QLabel>(page, "Label2")->text(), Res()->GetQText(ptxt::kWriteHeading));
    EXPECT_EQ(Find<QLabel>(page, "m_pLabel_rw")->text(),
              Res()->GetQText(ptxt::kWriteLink) + QStringLiteral("via COM-Port"));
    EXPECT_TRUE(Find<QPushButton>(page, "m_pStartBtn")->isEnabled());
    EXPECT_EQ(Find<QCheckBox>(page, "m_pChkBox_incl_BusAdressen")->text(),
              Res()->GetQText(ptxt::kInclBusAdr));
    EXPECT_EQ(page->property("HelpContext").toInt(), 2000);
    EXPECT_EQ(Find<QPushButton>(page, "m_pStartBtn")->property("HelpContext").toInt(), 2001);
}

TEST_F(WritePageTest, TheButtonFollowsAConnectionChange) {
    m_Transfer.linkUp = false;
    m_Transfer.linkText = "no connection!";
    TFormWriteData* page = Make();
    auto* start = Find<QPushButton>(page, "m_pStartBtn");
    EXPECT_FALSE(start->isEnabled());
    m_Transfer.linkUp = true;
    page->Perform(WM_CONNECTION_CHANGED, 0, 0);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(Find<QLabel>(page, "m_pLabel_rw")->text(),
              Res()->GetQText(ptxt::kWriteLink) + QStringLiteral("no connection!"));
}

TEST_F(WritePageTest, TheWarningShowsWhileTheBoxIsChecked) {
    Doc().SetTypeIT(2);
    TFormWriteData* page = Make();
    auto* box = Find<QCheckBox>(page, "m_pChkBox_incl_BusAdressen");
    auto* hinweis = Find<QLabel>(page, "m_pHinweis");
    EXPECT_TRUE(hinweis->isHidden());
    box->click();
    EXPECT_FALSE(hinweis->isHidden());
    EXPECT_EQ(hinweis->text(), Res()->GetQText(ptxt::kHinweis));
    box->click();
    EXPECT_TRUE(hinweis->isHidden());
}

// ---- what a write sends, by door-interface type and check box

struct WriteRow {
    const char* name;
    std::uint8_t typeIT;
    bool checked; // the user checks the box (where it is enabled)
    bool boxOn;   // the check box is enabled
    int ioTlnAdr; // the bus addresses are sent
};

void PrintTo(const WriteRow& row, std::ostream* os) {
    *os << row.name;
}

class WriteBusAdr : public WritePageTest, public testing::WithParamInterface<WriteRow> {};

TEST_P(WriteBusAdr, SendsTheBusAddressesAsChosen) {
    const WriteRow& row = GetParam();
    Doc().SetTypeIT(row.typeIT);
    TFormWriteData* page = Make();
    auto* box = Find<QCheckBox>(page, "m_pChkBox_incl_BusAdressen");
    EXPECT_EQ(box->isEnabled(), row.boxOn);
    if (row.checked)
        box->click();
    Find<QPushButton>(page, "m_pStartBtn")->click();

    EXPECT_EQ(m_Transfer.runs, (std::vector<int>{1}));
    EXPECT_EQ(m_Transfer.ioTlnAdr, (std::vector<int>{row.ioTlnAdr}));
    EXPECT_GT(m_Transfer.packages, 1);
    EXPECT_EQ(Find<QLabel>(page, "m_pMessage")->text(), Res()->GetQText(ptxt::kWriteOk));
    EXPECT_FALSE(Find<QPushButton>(page, "m_pStartBtn")->isEnabled());
    EXPECT_TRUE(m_Boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, WriteBusAdr,
                         testing::Values(WriteRow{"Type1Always", 1, false, false, 1},
                                         WriteRow{"Type3Always", 3, false, false, 1},
                                         WriteRow{"Type2Unchecked", 2, false, true, 0},
                                         WriteRow{"Type2Checked", 2, true, true, 1}),
                         [](const testing::TestParamInfo<WriteRow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(WritePageTest, AFailedWriteSaysSoAndKeepsTheStart) {
    m_Transfer.result = 2;
    TFormWriteData* page = Make();
    Find<QPushButton>(page, "m_pStartBtn")->click();
    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_EQ(m_Boxes[0].textId, ptxt::kWriteFailed);
    EXPECT_EQ(m_Boxes[0].text, Res()->GetQText(ptxt::kWriteFailed));
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_TRUE(Find<QLabel>(page, "m_pMessage")->text().isEmpty());
    EXPECT_TRUE(Find<QPushButton>(page, "m_pStartBtn")->isEnabled());
    // A second try is a second run.
    m_Transfer.result = 1;
    Find<QPushButton>(page, "m_pStartBtn")->click();
    EXPECT_EQ(m_Transfer.runs, (std::vector<int>{1, 1}));
    EXPECT_EQ(Find<QLabel>(page, "m_pMessage")->text(), Res()->GetQText(ptxt::kWriteOk));
}

TEST_F(WritePageTest, PageReplacedDuringTheTransfer) {
    TFormWriteData* page = Make();
    const QPointer<TFormWriteData> alive(page);
    m_Transfer.duringRun = [this] { DropPage(); };
    Find<QPushButton>(page, "m_pStartBtn")->click();
    EXPECT_FALSE(alive);
    EXPECT_TRUE(m_Boxes.empty());
}
