// The read page: its link line and start button, the result of a read and
// its texts, the save question, and the tree rebuild after a read that
// changed a device type, which must run after the read handler returned
// (the rebuild destroys the page).

#include "PageFixture.h"

#include "DataPageTextIds.h"
#include "TFormReadData.h"
#include "TMoxDocument.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <ostream>
#include <string>

class ReadPageTest : public PageTest {
protected:
    TFormReadData* Make() { return MakePage<TFormReadData>(eDatenLesen); }
    static void RunQueued() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(ReadPageTest, ShowsTheLinkAndOffersTheStartWhileTheLinkIsUp) {
    m_Transfer.linkText = "via capi";
    TFormReadData* page = Make();
    EXPECT_EQ(Find<QLabel>(page, "Label2")->text(), Res()->GetQText(ptxt::kReadHeading));
    EXPECT_EQ(Find<QLabel>(page, "m_pLabel_rw")->text(),
              Res()->GetQText(ptxt::kReadLink) + QStringLiteral("via capi"));
    auto* start = Find<QPushButton>(page, "m_pStartBtn");
    EXPECT_EQ(start->text(), Res()->GetQText(ptxt::kStart));
    EXPECT_TRUE(start->isEnabled());
    EXPECT_TRUE(Find<QLabel>(page, "m_pMessage")->text().isEmpty());
    EXPECT_EQ(page->property("HelpContext").toInt(), 1200);
    EXPECT_EQ(start->property("HelpContext").toInt(), 1201);
    auto* busadresse = Find<QCheckBox>(page, "m_pBusadresse");
    EXPECT_TRUE(busadresse->isChecked());
    EXPECT_FALSE(busadresse->isEnabled());
}

TEST_F(ReadPageTest, NoLinkNoStartAndTheButtonFollowsAConnectionChange) {
    m_Transfer.linkUp = false;
    m_Transfer.linkText = "no connection!";
    TFormReadData* page = Make();
    auto* start = Find<QPushButton>(page, "m_pStartBtn");
    EXPECT_FALSE(start->isEnabled());

    m_Transfer.linkUp = true;
    m_Transfer.linkText = "via COM-Port";
    page->Perform(WM_CONNECTION_CHANGED, 0, 0);
    EXPECT_TRUE(start->isEnabled());
    // The link line keeps its first text.
    EXPECT_EQ(Find<QLabel>(page, "m_pLabel_rw")->text(),
              Res()->GetQText(ptxt::kReadLink) + QStringLiteral("no connection!"));

    m_Transfer.linkUp = false;
    page->Perform(WM_CONNECTION_CHANGED, 0, 0);
    EXPECT_FALSE(start->isEnabled());
}

TEST_F(ReadPageTest, WithoutAControllerTheStartStaysOff) {
    m_Holder = std::make_unique<TNodeData>(eDatenLesen);
    auto* page = TDataView::Create<TFormReadData>(m_pOwner.get(), nullptr, m_Holder.get(), Res());
    m_Host.page = page;
    EXPECT_FALSE(Find<QPushButton>(page, "m_pStartBtn")->isEnabled());
    EXPECT_EQ(Find<QLabel>(page, "m_pLabel_rw")->text(), Res()->GetQText(ptxt::kReadLink));
}

TEST_F(ReadPageTest, AReadWithTheSameTypesReloadsThePageOnly) {
    m_Transfer.readImage = ImageWithTypes(Doc().GetTypeIT(), Doc().GetTypeBSM(), Doc().GetTypeKMR(),
                                          Doc().GetTypeRAK());
    TFormReadData* page = Make();
    const QPointer<TFormReadData> alive(page);
    Find<QPushButton>(page, "m_pStartBtn")->click();
    RunQueued();

    ASSERT_TRUE(alive);
    EXPECT_EQ(m_Transfer.runs, (std::vector<int>{2}));
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"query", "update"}));
    EXPECT_TRUE(Doc().IsReadFromBox());
    EXPECT_EQ(Find<QLabel>(page, "m_pMessage")->text(), Res()->GetQText(ptxt::kReadOk));
    EXPECT_FALSE(Find<QPushButton>(page, "m_pStartBtn")->isEnabled());
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(ReadPageTest, AFailedReadSaysSoAndKeepsTheStart) {
    m_Transfer.result = 2;
    m_Transfer.readImage = ImageWithTypes(2);
    const std::uint8_t typeIT = Doc().GetTypeIT();
    TFormReadData* page = Make();
    Find<QPushButton>(page, "m_pStartBtn")->click();
    RunQueued();

    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_EQ(m_Boxes[0].textId, ptxt::kReadFailed);
    EXPECT_EQ(m_Boxes[0].text, Res()->GetQText(ptxt::kReadFailed));
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_TRUE(Find<QLabel>(page, "m_pMessage")->text().isEmpty());
    EXPECT_TRUE(Find<QPushButton>(page, "m_pStartBtn")->isEnabled());
    EXPECT_FALSE(Doc().IsReadFromBox());
    EXPECT_EQ(Doc().GetTypeIT(), typeIT);
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"query"}));
}

TEST_F(ReadPageTest, ACancelledSaveQuestionChangesNothing) {
    Doc().SetTypeIT(1);
    m_Host.allowReplace = false;
    m_Transfer.readImage = ImageWithTypes(2);
    TFormReadData* page = Make();
    const bool modified = Doc().IsModified();
    Find<QPushButton>(page, "m_pStartBtn")->click();
    RunQueued();

    EXPECT_TRUE(m_Transfer.runs.empty());
    EXPECT_EQ(Doc().GetTypeIT(), 1);
    EXPECT_EQ(Doc().IsModified(), modified);
    EXPECT_FALSE(Doc().IsReadFromBox());
    EXPECT_TRUE(Find<QLabel>(page, "m_pMessage")->text().isEmpty());
    EXPECT_TRUE(Find<QPushButton>(page, "m_pStartBtn")->isEnabled());
    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"query"}));
}

// ---- a read that changes a device type

struct TypeRow {
    const char* name;
    std::uint8_t typeIT, typeBSM, typeKMR, typeRAK; // of the image read
};

void PrintTo(const TypeRow& row, std::ostream* os) {
    *os << row.name;
}

class ReadChangesTypes : public ReadPageTest, public testing::WithParamInterface<TypeRow> {};

TEST_P(ReadChangesTypes, RebuildsTheTreeAfterTheHandlerReturned) {
    const TypeRow& row = GetParam();
    Doc().SetTypeIT(1);
    Doc().SetTypeBSM(0);
    ASSERT_EQ(Doc().GetTypeKMR(), 0);
    ASSERT_EQ(Doc().GetTypeRAK(), 0);
    m_Transfer.readImage = ImageWithTypes(row.typeIT, row.typeBSM, row.typeKMR, row.typeRAK);
    TFormReadData* page = Make();
    const QPointer<TFormReadData> alive(page);

    // Through the button, as the user starts it: the rebuild that destroys
    // the page must not run under the button's click.
    Find<QPushButton>(page, "m_pStartBtn")->click();
    ASSERT_TRUE(alive);
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"query", "update"}));
    // The result line goes with the page; the user is told in a box.
    EXPECT_EQ(BoxIds(), (std::vector<int>{ptxt::kReadOk}));
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconInformation);

    RunQueued();
    EXPECT_FALSE(alive);
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"query", "update", "rebuild"}));
    EXPECT_TRUE(Doc().IsReadFromBox());
    EXPECT_EQ(Doc().GetTypeIT(), row.typeIT);
    EXPECT_EQ(Doc().GetTypeBSM(), row.typeBSM);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadChangesTypes,
    testing::Values(TypeRow{"DoorInterface", 2, 0, 0, 0}, TypeRow{"SwitchingModule", 1, 1, 0, 0},
                    TypeRow{"CameraDevice", 1, 0, 1, 0}, TypeRow{"Controller", 1, 0, 0, 1},
                    TypeRow{"AllFour", 3, 1, 1, 1}),
    [](const testing::TestParamInfo<TypeRow>& info) { return std::string(info.param.name); });

TEST_F(ReadPageTest, ARebuildQueuedAfterTheHostWentCallsNoHost) {
    Doc().SetTypeIT(1);
    m_Transfer.readImage = ImageWithTypes(2);
    TFormReadData* page = Make();
    Find<QPushButton>(page, "m_pStartBtn")->click();
    DropPage();
    SetViewHost(nullptr);
    RunQueued();
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"query", "update"}));
}

// ---- the page replaced while one of its nested loops ran

TEST_F(ReadPageTest, PageReplacedDuringTheSaveQuestion) {
    m_Transfer.readImage = ImageWithTypes(2);
    TFormReadData* page = Make();
    const QPointer<TFormReadData> alive(page);
    m_Host.duringQuery = [this] { DropPage(); };
    Find<QPushButton>(page, "m_pStartBtn")->click();
    EXPECT_FALSE(alive);
    EXPECT_TRUE(m_Transfer.runs.empty());
    RunQueued();
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"query"}));
}

TEST_F(ReadPageTest, PageReplacedDuringTheTransfer) {
    Doc().SetTypeIT(1);
    m_Transfer.readImage = ImageWithTypes(2);
    TFormReadData* page = Make();
    const QPointer<TFormReadData> alive(page);
    m_Transfer.duringRun = [this] { DropPage(); };
    Find<QPushButton>(page, "m_pStartBtn")->click();
    EXPECT_FALSE(alive);
    RunQueued();
    // The document took the read; the page that went shows nothing of it.
    EXPECT_EQ(Doc().GetTypeIT(), 2);
    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"query"}));
}
