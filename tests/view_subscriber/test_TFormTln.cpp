// The subscriber page: rows and labels by door-interface type, loading and
// storing numbers and video flags, the call-number filter, the restore
// command that deletes one or all subscribers in the document and in the
// box, and the programming results shown as message boxes.

#include "SubscriberFixture.h"

#include <ostream>

#include "PermSettings.h"
#include "SubscriberTextIds.h"
#include "TFormTln.h"
#include "TSubscriberPages.h"
#include "TViewFactory.h"
#include "WindowMessages.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>

namespace {

class FormTlnTest : public SubscriberTest {
protected:
    void SetUp() override {
        SubscriberTest::SetUp();
        TSubscriberPages::Register();
    }
    void TearDown() override {
        DropPage();
        TSubscriberPages::Unregister();
        SubscriberTest::TearDown();
    }
    TFormTln* MakePage(std::uint8_t kind = eTlnKonfig, bool withTransfer = true) {
        DropPage();
        m_Holder = std::make_unique<TNodeData>(kind);
        TViewContext ctx;
        ctx.owner = Owner();
        ctx.holder = m_Holder.get();
        ctx.res = Res();
        ctx.transfer = withTransfer ? &m_Transfer : nullptr;
        m_pPage = dynamic_cast<TFormTln*>(TViewFactory::Create(eTlnKonfig, ctx));
        Owner()->show();
        return m_pPage;
    }
    void DropPage() {
        TDataView::Destroy(m_pPage);
        m_pPage = nullptr;
    }
    QTableWidget* Grid() { return Find<QTableWidget>(m_pPage, "m_pTlnGrid"); }
    QComboBox* Selector() { return Find<QComboBox>(m_pPage, "m_pVideoSelector"); }
    void SetTypeIT(std::uint8_t type) {
        Doc().SetTypeIT(type);
        Doc().InitAllTln(false);
    }

    std::unique_ptr<TNodeData> m_Holder;
    TFormTln* m_pPage = nullptr;
};

struct TypeCase {
    const char* name;
    std::uint8_t typeIT;
    int rows;
    int headerId;
    std::vector<const char*> labels; // of the first rows
    bool icons;
};

void PrintTo(const TypeCase& c, std::ostream* os) {
    *os << c.name;
}

class FormTlnTypes : public FormTlnTest, public testing::WithParamInterface<TypeCase> {};

TEST_P(FormTlnTypes, RowsAndLabelsFollowTheDoorInterface) {
    const TypeCase& c = GetParam();
    SetTypeIT(c.typeIT);
    MakePage();
    ASSERT_NE(m_pPage, nullptr);
    QTableWidget* grid = Grid();
    ASSERT_EQ(grid->rowCount(), c.rows);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), Text(c.headerId));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), Text(stxt::kColNumber));
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), Text(stxt::kColVideo));
    for (std::size_t r = 0; r < c.labels.size(); ++r)
        EXPECT_EQ(grid->item(static_cast<int>(r), 0)->text().toStdString(), c.labels[r]) << r;
    for (int r = 0; r < c.rows; ++r)
        EXPECT_EQ(!grid->item(r, 0)->icon().isNull(), c.icons) << r;
}

INSTANTIATE_TEST_SUITE_P(
    Page, FormTlnTypes,
    testing::Values(
        TypeCase{"None", 0, 0, stxt::kColSubscriber, {}, false},
        TypeCase{"Small", 1, 3, stxt::kColCallButton, {"1", "2", "3"}, false},
        TypeCase{"Bus", 2, 31, stxt::kColSubscriber, {"1", "2", "3"}, true},
        TypeCase{
            "FourButtons", 3, 4, stxt::kColSubscriber, {"   A", "   B", "   C", "   D"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Every column is as wide as its header and its cells need, in every
// language and for every door interface ("Teilnehmer" was cut in German).
struct FitCase {
    int sprache;
    std::uint8_t typeIT;
};

class FormTlnColumns : public FormTlnTest, public testing::WithParamInterface<FitCase> {};

TEST_P(FormTlnColumns, FitTheirHeadersAndCells) {
    SetPermSprache(GetParam().sprache);
    ASSERT_TRUE(Res()->Reload() || GetParam().sprache == 2);
    SetTypeIT(GetParam().typeIT);
    SetTln(0, "01234567890123456789");
    MakePage();
    ASSERT_NE(m_pPage, nullptr);
    QTableWidget* grid = Grid();
    const QHeaderView* header = grid->horizontalHeader();
    for (int c = 0; c < grid->columnCount(); ++c) {
        EXPECT_GE(header->sectionSize(c), header->sectionSizeHint(c))
            << grid->horizontalHeaderItem(c)->text().toStdString();
        const QAbstractItemView* cells = grid;
        EXPECT_GE(grid->columnWidth(c), cells->sizeHintForColumn(c)) << c;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, FormTlnColumns,
                         testing::Values(FitCase{1, 1}, FitCase{1, 2}, FitCase{1, 3}, FitCase{2, 2},
                                         FitCase{3, 2}, FitCase{4, 2}, FitCase{5, 2},
                                         FitCase{6, 2}),
                         [](const testing::TestParamInfo<FitCase>& info) {
                             return "Language" + std::to_string(info.param.sprache) + "Type" +
                                    std::to_string(info.param.typeIT);
                         });

TEST_F(FormTlnTest, BusIconsTellWhichSubscriberHasItsAddress) {
    SetTln(0, "11", 0x0105, 0x01);
    SetTln(1, "22");
    MakePage();
    EXPECT_TRUE(Grid()->item(0, 0)->data(Qt::UserRole).toBool());
    EXPECT_FALSE(Grid()->item(1, 0)->data(Qt::UserRole).toBool());
}

TEST_F(FormTlnTest, LoadsAndStoresNumbersAndVideo) {
    SetTln(0, "0301234");
    Doc().SetTlnVideo(0, 1);
    SetTln(2, "0815");
    MakePage();
    QTableWidget* grid = Grid();
    EXPECT_EQ(grid->item(0, 1)->text(), "0301234");
    EXPECT_EQ(grid->item(0, 2)->text(), Text(stxt::kYes));
    EXPECT_EQ(grid->item(1, 1)->text(), "");
    EXPECT_EQ(grid->item(1, 2)->text(), Text(stxt::kNo));
    EXPECT_EQ(grid->item(2, 1)->text(), "0815");

    grid->item(1, 1)->setText("4711");
    grid->item(2, 1)->setText("");
    // Video of row 0 off through the selector; it is still open on save.
    grid->setCurrentCell(0, 2);
    ASSERT_TRUE(Selector()->isVisible());
    EXPECT_EQ(Selector()->currentIndex(), 1);
    Selector()->setCurrentIndex(0);
    m_pPage->Perform(WM_SAVE, -1, -1);

    EXPECT_EQ(RnrOf(0), "0301234");
    EXPECT_EQ(Doc().GetTlnVideo(0), 0);
    EXPECT_EQ(RnrOf(1), "4711");
    EXPECT_EQ(RnrOf(2), "");
}

TEST_F(FormTlnTest, SelectorChoiceGoesIntoItsCellWhenAnotherCellIsChosen) {
    MakePage();
    QTableWidget* grid = Grid();
    grid->setCurrentCell(3, 2);
    ASSERT_TRUE(Selector()->isVisible());
    Selector()->setCurrentIndex(1);
    grid->setCurrentCell(4, 1);
    EXPECT_FALSE(Selector()->isVisible());
    EXPECT_EQ(grid->item(3, 2)->text(), Text(stxt::kYes));
    // The page is a tree page: it stores itself when it goes.
    DropPage();
    EXPECT_EQ(Doc().GetTlnVideo(3), 1);
}

TEST_F(FormTlnTest, CallNumberCellKeepsDigitsOnly) {
    MakePage();
    QTableWidget* grid = Grid();
    grid->item(0, 1)->setText("12a3");
    EXPECT_EQ(grid->item(0, 1)->text(), "123");
    grid->item(1, 1)->setText("1234567890123456789012345");
    EXPECT_EQ(grid->item(1, 1)->text(), "12345678901234567890");
}

TEST_F(FormTlnTest, EmbeddedInTheWizardItFillsItsHostAndIsNotStoredWhenItGoes) {
    SetTln(0, "123");
    MakePage(eAssistent);
    ASSERT_NE(m_pPage, nullptr);
    EXPECT_TRUE(m_pPage->IsAlignClient());
    EXPECT_TRUE(m_pPage->isVisible());
    Grid()->item(0, 1)->setText("999");
    DropPage();
    EXPECT_EQ(RnrOf(0), "123");
}

// ---- Restore: deleting subscribers --------------------------------------------

TEST_F(FormTlnTest, DeletingTheFirstRowClearsSubscriberZeroAndItsAddressInTheBox) {
    SetTln(0, "111", 0x0105, 0x05);
    SetTln(1, "222", 0x0106, 0x06);
    MakePage();
    Grid()->setCurrentCell(0, 1);
    ClearSent();
    AnswerBox(stxt::kAskDelAll, mb::kIdNo);
    m_pPage->Perform(WM_RESTORE, -1, -1);

    EXPECT_EQ(SentCommands(), (std::vector<std::pair<int, int>>{{boxcmd::kTlnAdrClear, 0x0105}}));
    EXPECT_EQ(RnrOf(0), "");
    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0);
    EXPECT_EQ(RnrOf(1), "222");
    EXPECT_EQ(Doc().GetTlnBusAdr(1), 0x0106);
    // The configuration goes to the box with the bus addresses, and the page
    // shows what is left.
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{1});
    EXPECT_EQ(BoxIds(), (std::vector<int>{stxt::kAskDelAll, stxt::kAskDelete, stxt::kWriteOk}));
    EXPECT_EQ(Grid()->item(0, 1)->text(), "");
    EXPECT_EQ(Grid()->item(1, 1)->text(), "222");
}

TEST_F(FormTlnTest, DeletingASubscriberWithoutAddressSendsNoAddressDelete) {
    SetTln(0, "111");
    MakePage();
    Grid()->setCurrentCell(0, 1);
    ClearSent();
    AnswerBox(stxt::kAskDelAll, mb::kIdCancel);
    m_pPage->Perform(WM_RESTORE, -1, -1);
    EXPECT_TRUE(SentCommands().empty());
    EXPECT_EQ(RnrOf(0), "");
    EXPECT_EQ(m_Transfer.runs, std::vector<int>{1});
}

TEST_F(FormTlnTest, DeletingAllClearsEverySubscriberAndAllAddressesInTheBox) {
    SetTln(0, "111", 0x0105, 0x05);
    SetTln(30, "999", 0x0120, 0x20);
    MakePage();
    ClearSent();
    m_pPage->Perform(WM_RESTORE, -1, -1);
    ASSERT_EQ(SentCommands().size(), 1u);
    EXPECT_EQ(SentCommands()[0].first, boxcmd::kAllTlnAdrClear);
    EXPECT_EQ(RnrOf(0), "");
    EXPECT_EQ(RnrOf(30), "");
    EXPECT_EQ(Doc().GetTlnBusAdr(30), 0);
    EXPECT_EQ(BoxIds(), (std::vector<int>{stxt::kAskDelAll, stxt::kAskDelete, stxt::kWriteOk}));
}

TEST_F(FormTlnTest, BeforeTheTransferControllerExistsOnlyTheDocumentIsCleared) {
    SetTln(0, "111", 0x0105, 0x05);
    MakePage(eTlnKonfig, false);
    Grid()->setCurrentCell(0, 1);
    ClearSent();
    AnswerBox(stxt::kAskDelAll, mb::kIdNo);
    m_pPage->Perform(WM_RESTORE, -1, -1);
    EXPECT_TRUE(SentCommands().empty());
    EXPECT_EQ(RnrOf(0), "");
    EXPECT_EQ(Doc().GetTlnBusAdr(0), 0);
}

TEST_F(FormTlnTest, SayingNoToTheSecondQuestionChangesNothing) {
    SetTln(0, "111", 0x0105, 0x05);
    MakePage();
    Grid()->setCurrentCell(0, 1);
    ClearSent();
    for (int first : {mb::kIdYes, mb::kIdNo}) {
        m_Boxes.clear();
        AnswerBox(stxt::kAskDelAll, first);
        AnswerBox(stxt::kAskDelete, mb::kIdNo);
        m_pPage->Perform(WM_RESTORE, -1, -1);
        EXPECT_EQ(BoxIds(), (std::vector<int>{stxt::kAskDelAll, stxt::kAskDelete}));
    }
    EXPECT_TRUE(SentCommands().empty());
    EXPECT_TRUE(m_Transfer.runs.empty());
    EXPECT_EQ(RnrOf(0), "111");
}

TEST_F(FormTlnTest, AFailedWriteAfterTheDeleteIsReported) {
    SetTln(0, "111");
    MakePage();
    Grid()->setCurrentCell(0, 1);
    m_Transfer.results[1] = 2;
    AnswerBox(stxt::kAskDelAll, mb::kIdNo);
    m_pPage->Perform(WM_RESTORE, -1, -1);
    EXPECT_EQ(BoxIds().back(), stxt::kWriteFailed);
    EXPECT_EQ(m_Boxes.back().flags & mb::kIconMask, mb::kIconStop);
}

TEST_F(FormTlnTest, WithoutACurrentRowNoSingleSubscriberIsDeleted) {
    SetTypeIT(0);
    MakePage();
    AnswerBox(stxt::kAskDelAll, mb::kIdNo);
    m_pPage->Perform(WM_RESTORE, -1, -1);
    EXPECT_TRUE(m_Transfer.runs.empty());
    EXPECT_EQ(BoxIds(), (std::vector<int>{stxt::kAskDelAll, stxt::kAskDelete}));
}

// ---- Programming results ------------------------------------------------------

struct ResultCase {
    const char* name;
    std::uint32_t msg;
    std::intptr_t lParam;
    int boxId; // 0: no box; -1: the formatted text 412
};

void PrintTo(const ResultCase& c, std::ostream* os) {
    *os << c.name;
}

class FormTlnResults : public FormTlnTest, public testing::WithParamInterface<ResultCase> {};

TEST_P(FormTlnResults, ShowTheirBox) {
    const ResultCase& c = GetParam();
    MakePage();
    // As the assignment leaves the page while it waits for the box.
    Grid()->setEnabled(false);
    m_pPage->Perform(c.msg, 0, c.lParam);
    // Only the unit's plain acknowledgement leaves the page as it is.
    EXPECT_EQ(Grid()->isEnabled(), c.msg != RUECKMELDUNG_OK);
    if (c.boxId == 0) {
        EXPECT_TRUE(m_Boxes.empty());
        return;
    }
    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_EQ(m_Boxes[0].flags & mb::kIconMask, mb::kIconStop);
    EXPECT_EQ(m_Boxes[0].caption, Text(stxt::kCaption));
    if (c.boxId > 0) {
        EXPECT_EQ(m_Boxes[0].textId, c.boxId);
    } else {
        EXPECT_EQ(m_Boxes[0].text,
                  Text(stxt::kProgErrorFmt).replace("%d", QString::number(c.lParam)));
    }
}

INSTANTIATE_TEST_SUITE_P(Page, FormTlnResults,
                         testing::Values(ResultCase{"TransferResult", WM_TRANSFER_RESULT, 0, 0},
                                         ResultCase{"RueckmeldungOk", RUECKMELDUNG_OK, 0, 0},
                                         ResultCase{"DelTlnFailed", DEL_TLN_FAILED, 0, 401},
                                         ResultCase{"ProgFailed", PROG_FAILED, 0, 402},
                                         ResultCase{"CancelFailed", CANCEL_FAILED, 0, 403},
                                         ResultCase{"ProgQuitFailed", PROGQUIT_FAILED, 0, 405},
                                         ResultCase{"TlnProgAktFailed", TLNPROGAKT_FAILED, 0, 407},
                                         ResultCase{"Error1", TLNPROG_FEHLER, 1, 408},
                                         ResultCase{"Error2", TLNPROG_FEHLER, 2, 409},
                                         ResultCase{"Error3", TLNPROG_FEHLER, 3, 410},
                                         ResultCase{"Error4", TLNPROG_FEHLER, 4, 411},
                                         ResultCase{"ErrorOther", TLNPROG_FEHLER, 9, -1},
                                         ResultCase{"ErrorZero", TLNPROG_FEHLER, 0, -1},
                                         ResultCase{"SendFailed", SEND_FAILED, 0, 413},
                                         ResultCase{"KbaListFailed", KBA_LIST_FAILED, 0, 414},
                                         ResultCase{"KbaListEmpty", KBA_LIST_EMPTY, 0, 415},
                                         ResultCase{"KbaCountFailed", KBA_COUNT_FAILED, 0, 417},
                                         ResultCase{"ProgPasOk", TLNPROG_PAS_OK, 0, 0},
                                         ResultCase{"KbaListOk", KBA_LIST_OK, 0, 0},
                                         ResultCase{"KbaCount", KBA_COUNT, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
