// The ISDN connect dialog: the remembered numbers it offers, the list rules
// of a dial (a table), the digits-only input, and GetRnr's bounds.

#include "DialogFixture.h"

#include "DialogTextIds.h"
#include "PermSettings.h"
#include "TConnectDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Numbers = std::vector<std::string>;

std::vector<std::string> Items(QComboBox* combo) {
    std::vector<std::string> out;
    for (int i = 0; i < combo->count(); ++i)
        out.push_back(combo->itemText(i).toStdString());
    return out;
}

// Ten different numbers, the most recent first.
Numbers Ten() {
    Numbers n;
    for (int i = 0; i < 10; ++i)
        n.push_back("0301000" + std::to_string(i));
    return n;
}

} // namespace

class ConnectDlgTest : public DialogTest {};

TEST_F(ConnectDlgTest, TextsAndLimits) {
    TConnectDlg dlg(nullptr, Res());
    EXPECT_EQ(dlg.windowTitle(), Res()->GetQText(dtxt::kConnectCaption));
    EXPECT_EQ(Find<QLabel>(&dlg, "Label1")->text(), Res()->GetQText(dtxt::kConnectTo));
    EXPECT_EQ(Find<QPushButton>(&dlg, "Button2")->text(), Res()->GetQText(dtxt::kDial));
    EXPECT_EQ(Find<QPushButton>(&dlg, "Button1")->text(), Res()->GetQText(dtxt::kCancel));
    EXPECT_TRUE(Find<QPushButton>(&dlg, "Button2")->isDefault());
    EXPECT_EQ(Find<QComboBox>(&dlg, "m_pRnr")->lineEdit()->maxLength(), 24);
}

TEST_F(ConnectDlgTest, OffersTheRememberedNumbersMostRecentFirst) {
    // Gaps in the stored list are left out.
    SetPermMSNClient(0, "111");
    SetPermMSNClient(3, "444");
    SetPermMSNClient(9, "999");
    TConnectDlg dlg(nullptr, Res());
    EXPECT_EQ(Items(Find<QComboBox>(&dlg, "m_pRnr")), (Numbers{"111", "444", "999"}));
}

TEST_F(ConnectDlgTest, ANumberLongerThanTheComboHoldsIsCutOnLoad) {
    const std::string thirty = "012345678901234567890123456789";
    SetPermMSNClient(0, thirty);
    TConnectDlg dlg(nullptr, Res());
    auto* combo = Find<QComboBox>(&dlg, "m_pRnr");
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->itemText(0).toStdString(), thirty.substr(0, 24));
    EXPECT_EQ(dlg.GetRnr(), thirty.substr(0, 24));
}

// ---- the list rules of a dial

struct DialRow {
    const char* name;
    Numbers before;    // client0.. before the dialog opens
    const char* typed; // typed into the combo, key by key
    bool accepted;     // the dialog closed with OK
    const char* rnr;   // GetRnr afterwards
    Numbers after;     // client0.. afterwards (padded to ten with empty ones)
};

void PrintTo(const DialRow& row, std::ostream* os) {
    *os << row.name;
}

class ConnectDial : public ConnectDlgTest, public testing::WithParamInterface<DialRow> {};

TEST_P(ConnectDial, FollowsTheListRules) {
    const DialRow& row = GetParam();
    StoreClients(row.before);
    TConnectDlg dlg(nullptr, Res());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    auto* combo = Find<QComboBox>(&dlg, "m_pRnr");
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), QString::fromLatin1(row.typed));
    Find<QPushButton>(&dlg, "Button2")->click();

    EXPECT_EQ(dlg.result() == QDialog::Accepted, row.accepted);
    EXPECT_EQ(dlg.GetRnr(), row.rnr);
    EXPECT_EQ(StoredClients(), Padded(row.after));
}

const Numbers kThree = {"0301", "0302", "0303"};

INSTANTIATE_TEST_SUITE_P(
    Rows, ConnectDial,
    testing::Values(
        DialRow{"FirstNumberOfAnEmptyList", {}, "0891234", true, "0891234", {"0891234"}},
        DialRow{
            "NewNumberGoesOnTop", kThree, "0899", true, "0899", {"0899", "0301", "0302", "0303"}},
        DialRow{"ThirdMovesToTop", kThree, "0303", true, "0303", {"0303", "0301", "0302"}},
        DialRow{"SecondMovesToTop", kThree, "0302", true, "0302", {"0302", "0301", "0303"}},
        DialRow{"FirstStaysFirst", kThree, "0301", true, "0301", kThree},
        DialRow{"EleventhDropsTheOldest",
                Ten(),
                "0899",
                true,
                "0899",
                {"0899", "03010000", "03010001", "03010002", "03010003", "03010004", "03010005",
                 "03010006", "03010007", "03010008"}},
        DialRow{"TenthMovesToTopAndAllStay",
                Ten(),
                "03010009",
                true,
                "03010009",
                {"03010009", "03010000", "03010001", "03010002", "03010003", "03010004", "03010005",
                 "03010006", "03010007", "03010008"}},
        DialRow{"LettersAndBlanksAreStripped",
                kThree,
                "0 89-12a34 ",
                true,
                "0891234",
                {"0891234", "0301", "0302", "0303"}},
        DialRow{"StrippedNumberFoundInTheList",
                kThree,
                "03 0x3",
                true,
                "0303",
                {"0303", "0301", "0302"}},
        // Nothing to dial: nothing stored, the oldest number kept.
        DialRow{"EmptyNumberStoresNothing", Ten(), "", true, "", Ten()},
        DialRow{"OnlyLettersIsAnEmptyNumber", kThree, "abc", true, "", kThree},
        DialRow{"SixteenDigitsAreDialled",
                kThree,
                "0123456789012345",
                true,
                "0123456789012345",
                {"0123456789012345", "0301", "0302", "0303"}},
        // More than a call carries: refused, the dialog stays open.
        DialRow{"SeventeenDigitsAreRefused", kThree, "01234567890123456", false,
                "01234567890123456", kThree},
        DialRow{"TwentyFiveTypedKeepsTwentyFour", kThree, "0123456789012345678901234", false,
                "012345678901234567890123", kThree}),
    [](const testing::TestParamInfo<DialRow>& info) { return std::string(info.param.name); });

TEST_F(ConnectDlgTest, ATooLongNumberIsExplained) {
    TConnectDlg dlg(nullptr, Res());
    dlg.show();
    auto* combo = Find<QComboBox>(&dlg, "m_pRnr");
    combo->setEditText(QStringLiteral("01234567890123456789"));
    Find<QPushButton>(&dlg, "Button2")->click();
    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_EQ(m_Boxes[0].textId, dtxt::kNumberTooLong);
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_EQ(m_Boxes[0].caption, Res()->GetQText(dtxt::kCaption));
    EXPECT_TRUE(m_Boxes[0].text.contains(QStringLiteral("01234567890123456789")));
    EXPECT_TRUE(m_Boxes[0].text.contains(QStringLiteral("20")));
    EXPECT_TRUE(m_Boxes[0].text.contains(QStringLiteral("16")));
    EXPECT_TRUE(dlg.isVisible());
    // Shortened, it goes through.
    combo->setEditText(QStringLiteral("0123456789"));
    Find<QPushButton>(&dlg, "Button2")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(StoredClients(), Padded({"0123456789"}));
}

TEST_F(ConnectDlgTest, ChoosingFromTheListDialsThatNumber) {
    StoreClients(kThree);
    TConnectDlg dlg(nullptr, Res());
    auto* combo = Find<QComboBox>(&dlg, "m_pRnr");
    combo->setCurrentIndex(2);
    Find<QPushButton>(&dlg, "Button2")->click();
    EXPECT_EQ(dlg.GetRnr(), "0303");
    EXPECT_EQ(StoredClients(), Padded({"0303", "0301", "0302"}));
}

TEST_F(ConnectDlgTest, CancelWritesNothing) {
    StoreClients(Ten());
    SetPermMSNService("0891234");
    const SettingsSnapshot before = Snapshot();
    TConnectDlg dlg(nullptr, Res());
    dlg.show();
    auto* combo = Find<QComboBox>(&dlg, "m_pRnr");
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("0899"));
    Find<QPushButton>(&dlg, "Button1")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ConnectDlgTest, RunGivesTheNumberOnlyAfterOk) {
    StoreClients(kThree);
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TConnectDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->findChild<QComboBox*>(QStringLiteral("m_pRnr"))->setEditText(QStringLiteral("0302"));
        dlg->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    });
    EXPECT_EQ(TConnectDlg::Run(nullptr, Res()), "0302");

    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TConnectDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->findChild<QComboBox*>(QStringLiteral("m_pRnr"))->setEditText(QStringLiteral("0777"));
        dlg->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    EXPECT_EQ(TConnectDlg::Run(nullptr, Res()), "");
    EXPECT_EQ(StoredClients(), Padded({"0302", "0301", "0303"}));
}

// ---- GetRnr into a caller's buffer

struct BufferRow {
    const char* name;
    std::size_t size;
    const char* expected;
    std::size_t copied;
};

void PrintTo(const BufferRow& row, std::ostream* os) {
    *os << row.name;
}

class ConnectGetRnr : public ConnectDlgTest, public testing::WithParamInterface<BufferRow> {};

TEST_P(ConnectGetRnr, NeverWritesPastTheBuffer) {
    const BufferRow& row = GetParam();
    SetPermMSNClient(0, "012345678901234567890123"); // the longest the combo holds
    TConnectDlg dlg(nullptr, Res());
    // A guard byte behind the buffer shows a write past its end.
    std::vector<char> buf(row.size + 1, '#');
    EXPECT_EQ(dlg.GetRnr(buf.data(), row.size), row.copied);
    EXPECT_EQ(buf[row.size], '#');
    if (row.size) {
        EXPECT_STREQ(buf.data(), row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConnectGetRnr,
    testing::Values(BufferRow{"NoRoom", 0, "", 0}, BufferRow{"OnlyTheNul", 1, "", 0},
                    BufferRow{"Five", 5, "0123", 4},
                    BufferRow{"JustTooShort", 24, "01234567890123456789012", 23},
                    BufferRow{"Exact", 25, "012345678901234567890123", 24},
                    BufferRow{"Larger", 64, "012345678901234567890123", 24}),
    [](const testing::TestParamInfo<BufferRow>& info) { return std::string(info.param.name); });

TEST_F(ConnectDlgTest, GetRnrWithoutABufferCopiesNothing) {
    SetPermMSNClient(0, "0301");
    TConnectDlg dlg(nullptr, Res());
    EXPECT_EQ(dlg.GetRnr(nullptr, 25), 0u);
}

// ---- help

TEST_F(ConnectDlgTest, HelpShowsTheDialogsAndTheFocusedPartsContext) {
    TConnectDlg dlg(nullptr, Res());
    dlg.HelpBtnClick();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.activateWindow();
    auto* combo = Find<QComboBox>(&dlg, "m_pRnr");
    combo->setFocus();
    QTest::keyClick(combo->lineEdit(), Qt::Key_F1);
    auto* dial = Find<QPushButton>(&dlg, "Button2");
    dial->setFocus();
    QTest::keyClick(dial, Qt::Key_F1);
    EXPECT_EQ(m_HelpContexts, (std::vector<int>{20, 21, 22}));
}

TEST_F(ConnectDlgTest, ALetterInTheEmptyFieldBringsNoRememberedNumber) {
    // The fault this guards against: a completer filled the emptied field
    // with the first remembered number, and OK dialled it.
    StoreClients(kThree);
    TConnectDlg dlg(nullptr, Res());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.activateWindow();
    auto* combo = Find<QComboBox>(&dlg, "m_pRnr");
    combo->setFocus();
    combo->lineEdit()->clear();
    QTest::keyClick(combo->lineEdit(), Qt::Key_X);
    EXPECT_EQ(combo->currentText(), QString());
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("03"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("03"));
}
