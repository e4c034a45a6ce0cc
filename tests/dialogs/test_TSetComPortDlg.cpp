// The link setting dialog: the items it offers, the item a stored setting
// opens with, the own-number edit, and what OK and Cancel write.

#include "DialogFixture.h"

#include "DialogTextIds.h"
#include "PermSettings.h"
#include "TSetComPortDlg.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <ostream>
#include <string>

namespace {

QRadioButton* Item(QWidget* dlg, int i) {
    return dlg->findChild<QRadioButton*>(QStringLiteral("m_pComPortItem%1").arg(i));
}

int CountItems(QWidget* dlg) {
    return static_cast<int>(dlg->findChild<QGroupBox*>(QStringLiteral("m_pComPort"))
                                ->findChildren<QRadioButton*>()
                                .size());
}

} // namespace

class SetComPortDlgTest : public DialogTest {};

TEST_F(SetComPortDlgTest, OffersTenItemsWithTheirTexts) {
    TSetComPortDlg dlg(nullptr, true, Res());
    ASSERT_EQ(CountItems(&dlg), 10);
    for (int i = 0; i < 10; ++i) {
        ASSERT_NE(Item(&dlg, i), nullptr) << i;
        // The COM items add their device (below).
        EXPECT_TRUE(Item(&dlg, i)->text().startsWith(Res()->GetQText(dtxt::kComPortItem0 + i)))
            << i;
        EXPECT_FALSE(Res()->GetQText(dtxt::kComPortItem0 + i).isEmpty()) << i;
    }
    EXPECT_EQ(Item(&dlg, 0)->text(), Res()->GetQText(dtxt::kComPortItem0));
    EXPECT_EQ(Item(&dlg, 9)->text(), Res()->GetQText(dtxt::kComPortItem0 + 9));
    EXPECT_EQ(dlg.windowTitle(), Res()->GetQText(dtxt::kComPortCaption));
    EXPECT_EQ(Find<QLabel>(&dlg, "Label1")->text(), Res()->GetQText(dtxt::kComPortLabel));
    EXPECT_EQ(Find<QLabel>(&dlg, "m_pRnrText")->text(), Res()->GetQText(dtxt::kOwnNumber));
    EXPECT_EQ(Find<QPushButton>(&dlg, "m_pBtnOk")->text(), Res()->GetQText(dtxt::kOk));
    EXPECT_EQ(Find<QPushButton>(&dlg, "m_pBtnCancel")->text(), Res()->GetQText(dtxt::kCancel));
    // The group's caption is the item list's, not text 80.
    EXPECT_TRUE(Find<QGroupBox>(&dlg, "m_pComPort")->title().isEmpty());
    EXPECT_EQ(Find<QLineEdit>(&dlg, "m_pRnr")->maxLength(), 24);
}

// Each COM item names the device its port number opens: the settings'
// mapping, or the standard serial device where there is none.
TEST_F(SetComPortDlgTest, ComItemsNameTheirDevices) {
    SetComDevice(1, "/dev/ttyUSB0");
    SetComDevice(3, "/dev/ttyACM0");
    TSetComPortDlg dlg(nullptr, true, Res());
    const char* const devices[] = {"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyACM0", "/dev/ttyS3"};
    for (int com = 0; com < 4; ++com) {
        const QString suffix = QStringLiteral(" (%1)").arg(QString::fromLatin1(devices[com]));
        for (int item : {1 + com, 5 + com})
            EXPECT_EQ(Item(&dlg, item)->text(),
                      Res()->GetQText(dtxt::kComPortItem0 + item) + suffix)
                << item;
    }
    // The choice is still stored by its number.
    Item(&dlg, 5)->click();
    Find<QPushButton>(&dlg, "m_pBtnOk")->click();
    EXPECT_EQ(GetComPort(), 5);
    EXPECT_EQ(GetComDevice(1), "/dev/ttyUSB0");
}

// A device path of any length from the settings: the dialog stays on the
// screen with its buttons; a path it cannot hold is shortened in its
// middle (both ends stay readable) and shows whole in the item's tooltip;
// a short one stays whole. As the main window and as the wizard open it.
class SetComPortDlgLongPath : public SetComPortDlgTest, public testing::WithParamInterface<bool> {};

TEST_P(SetComPortDlgLongPath, IsShortenedInTheMiddleAndWholeInTheTooltip) {
    const std::string head = "/dev/serial/by-id/usb-";
    const std::string tail = "-if00-port0";
    const std::string path = head + std::string(300, 'x') + tail;
    SetComDevice(2, path);
    SetComDevice(3, "/dev/ttyUSB1");
    TSetComPortDlg dlg(nullptr, GetParam(), Res());
    dlg.show();
    QApplication::processEvents();

    const QRect screen = dlg.screen()->availableGeometry();
    EXPECT_LE(dlg.frameGeometry().width(), screen.width());
    for (const char* name : {"m_pBtnOk", "m_pBtnCancel"}) {
        auto* b = Find<QPushButton>(&dlg, name);
        const QRect shown(b->mapToGlobal(QPoint(0, 0)), b->size());
        EXPECT_TRUE(screen.contains(shown)) << name;
    }
    for (int item : {2, 6}) {
        const QString text = Item(&dlg, item)->text();
        const QString own = Res()->GetQText(dtxt::kComPortItem0 + item);
        EXPECT_TRUE(text.startsWith(own + QStringLiteral(" (") + QString::fromStdString(head)))
            << text.toStdString();
        EXPECT_TRUE(text.endsWith(QString::fromStdString(tail) + QLatin1Char(')')))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QChar(0x2026))) << text.toStdString();
        EXPECT_EQ(Item(&dlg, item)->toolTip(), QString::fromStdString(path));
        // The item shows its whole (shortened) text.
        EXPECT_GE(Item(&dlg, item)->width(), Item(&dlg, item)->sizeHint().width()) << item;
    }
    for (int item : {3, 7}) {
        EXPECT_EQ(Item(&dlg, item)->text(),
                  Res()->GetQText(dtxt::kComPortItem0 + item) + QStringLiteral(" (/dev/ttyUSB1)"));
        EXPECT_EQ(Item(&dlg, item)->toolTip(), QStringLiteral("/dev/ttyUSB1"));
    }
    // The setting itself is untouched.
    Item(&dlg, 2)->click();
    Find<QPushButton>(&dlg, "m_pBtnOk")->click();
    EXPECT_EQ(GetComPort(), 2);
    EXPECT_EQ(GetComDevice(2), path);
}

INSTANTIATE_TEST_SUITE_P(Owners, SetComPortDlgLongPath, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "MainWindow" : "Wizard";
                         });

TEST_F(SetComPortDlgTest, WizardLeavesOutIsdn) {
    TSetComPortDlg dlg(nullptr, false, Res());
    EXPECT_EQ(CountItems(&dlg), 9);
    EXPECT_EQ(Item(&dlg, 9), nullptr);
}

// ---- the item a stored setting opens with

struct OpenRow {
    const char* name;
    int stored;
    bool showIsdn;
    int shown;
};

void PrintTo(const OpenRow& row, std::ostream* os) {
    *os << row.name;
}

class SetComPortOpen : public SetComPortDlgTest, public testing::WithParamInterface<OpenRow> {};

TEST_P(SetComPortOpen, SelectsTheStoredItem) {
    const OpenRow& row = GetParam();
    SetComPort(row.stored);
    TSetComPortDlg dlg(nullptr, row.showIsdn, Res());
    EXPECT_EQ(dlg.GetItemIndex(), row.shown);
    ASSERT_NE(Item(&dlg, row.shown), nullptr);
    EXPECT_TRUE(Item(&dlg, row.shown)->isChecked());
    // Opening writes nothing.
    EXPECT_EQ(GetComPort(), row.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SetComPortOpen,
    testing::Values(OpenRow{"None", 0, true, 0}, OpenRow{"BusCom1", 1, true, 1},
                    OpenRow{"BusCom4", 4, true, 4}, OpenRow{"SerialCom1", 5, true, 5},
                    OpenRow{"SerialCom4", 8, true, 8}, OpenRow{"Isdn", 9, true, 9},
                    OpenRow{"IsdnInWizard", 9, false, 0}, OpenRow{"SerialInWizard", 7, false, 7},
                    OpenRow{"Ten", 10, true, 0}, OpenRow{"Negative", -1, true, 0},
                    OpenRow{"Huge", 0x7FFFFFFF, true, 0}, OpenRow{"HugeInWizard", 1000, false, 0}),
    [](const testing::TestParamInfo<OpenRow>& info) { return std::string(info.param.name); });

TEST_F(SetComPortDlgTest, NothingStoredOpensAsNone) {
    TSetComPortDlg dlg(nullptr, true, Res());
    EXPECT_EQ(dlg.GetItemIndex(), 0);
}

// ---- the own number

TEST_F(SetComPortDlgTest, NumberEditOnlyForIsdn) {
    SetComPort(2);
    TSetComPortDlg dlg(nullptr, true, Res());
    auto* edit = Find<QLineEdit>(&dlg, "m_pRnr");
    auto* label = Find<QLabel>(&dlg, "m_pRnrText");
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(label->isEnabled());
    Item(&dlg, 9)->click();
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(label->isEnabled());
    Item(&dlg, 5)->click();
    EXPECT_FALSE(edit->isEnabled());
}

TEST_F(SetComPortDlgTest, StoredIsdnOpensWithTheEditEnabledAndTheOwnNumber) {
    SetComPort(9);
    SetPermMSNService("0891234");
    TSetComPortDlg dlg(nullptr, true, Res());
    EXPECT_TRUE(Find<QLineEdit>(&dlg, "m_pRnr")->isEnabled());
    EXPECT_EQ(Find<QLineEdit>(&dlg, "m_pRnr")->text(), QStringLiteral("0891234"));
}

TEST_F(SetComPortDlgTest, TypingKeepsOnlyDigits) {
    SetComPort(9);
    TSetComPortDlg dlg(nullptr, true, Res());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    auto* edit = Find<QLineEdit>(&dlg, "m_pRnr");
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("08a9 1-2,3.4+"));
    EXPECT_EQ(edit->text(), QStringLiteral("0891234"));
}

// ---- what OK and Cancel write

struct OkRow {
    const char* name;
    int item;
    const char* typed;     // into the own-number edit
    const char* ownBefore; // stored own number, nullptr for none
    int portAfter;
    const char* ownAfter; // nullptr: no own number stored
};

void PrintTo(const OkRow& row, std::ostream* os) {
    *os << row.name;
}

class SetComPortOk : public SetComPortDlgTest, public testing::WithParamInterface<OkRow> {};

TEST_P(SetComPortOk, WritesTheChoice) {
    const OkRow& row = GetParam();
    SetComPort(0);
    if (row.ownBefore)
        SetPermMSNService(row.ownBefore);
    TSetComPortDlg dlg(nullptr, true, Res());
    Item(&dlg, row.item)->click();
    Find<QLineEdit>(&dlg, "m_pRnr")->setText(QString::fromLatin1(row.typed));
    Find<QPushButton>(&dlg, "m_pBtnOk")->click();

    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(GetComPort(), row.portAfter);
    std::string own = "<none>";
    const bool stored = GetPermMSNService(own);
    if (row.ownAfter) {
        EXPECT_TRUE(stored);
        EXPECT_EQ(own, row.ownAfter);
    } else {
        EXPECT_FALSE(stored);
    }
    EXPECT_TRUE(m_Boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SetComPortOk,
    testing::Values(OkRow{"None", 0, "", nullptr, 0, nullptr},
                    OkRow{"BusCom3", 3, "", nullptr, 3, nullptr},
                    OkRow{"SerialCom2", 6, "", nullptr, 6, nullptr},
                    OkRow{"IsdnStoresTheNumber", 9, "0891234", nullptr, 9, "0891234"},
                    OkRow{"IsdnReplacesTheNumber", 9, "0301", "0891234", 9, "0301"},
                    OkRow{"IsdnSixteenDigits", 9, "0123456789012345", nullptr, 9,
                          "0123456789012345"},
                    OkRow{"IsdnEmptyNumber", 9, "", "0891234", 9, ""},
                    // Not ISDN: the own number stays as stored, whatever the edit holds.
                    OkRow{"BusKeepsTheNumber", 1, "555", "0891234", 1, "0891234"},
                    OkRow{"SerialStoresNoNumber", 8, "555", nullptr, 8, nullptr}),
    [](const testing::TestParamInfo<OkRow>& info) { return std::string(info.param.name); });

TEST_F(SetComPortDlgTest, CancelWritesNothing) {
    SetComPort(2);
    SetPermMSNService("0891234");
    const SettingsSnapshot before = Snapshot();
    TSetComPortDlg dlg(nullptr, true, Res());
    Item(&dlg, 9)->click();
    Find<QLineEdit>(&dlg, "m_pRnr")->setText(QStringLiteral("999"));
    Find<QPushButton>(&dlg, "m_pBtnCancel")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(SetComPortDlgTest, CancelOnAFreshStoreCreatesNoValue) {
    TSetComPortDlg dlg(nullptr, true, Res());
    Item(&dlg, 9)->click();
    Find<QPushButton>(&dlg, "m_pBtnCancel")->click();
    EXPECT_TRUE(Snapshot().empty());
}

TEST_F(SetComPortDlgTest, OwnNumberLongerThanACallCarriesIsRefused) {
    SetComPort(2);
    const SettingsSnapshot before = Snapshot();
    TSetComPortDlg dlg(nullptr, true, Res());
    dlg.show();
    Item(&dlg, 9)->click();
    Find<QLineEdit>(&dlg, "m_pRnr")->setText(QStringLiteral("01234567890123456"));
    Find<QPushButton>(&dlg, "m_pBtnOk")->click();

    ASSERT_EQ(m_Boxes.size(), 1u);
    EXPECT_EQ(m_Boxes[0].textId, dtxt::kNumberTooLong);
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_TRUE(m_Boxes[0].text.contains(QStringLiteral("01234567890123456")));
    EXPECT_TRUE(m_Boxes[0].text.contains(QStringLiteral("17")));
    EXPECT_TRUE(m_Boxes[0].text.contains(QStringLiteral("16")));
    EXPECT_FALSE(m_Boxes[0].text.contains(QLatin1Char('%')));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(SetComPortDlgTest, RunReturnsWhetherOkWasPressed) {
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TSetComPortDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        Item(dlg, 6)->click();
        dlg->findChild<QPushButton*>(QStringLiteral("m_pBtnOk"))->click();
    });
    EXPECT_TRUE(TSetComPortDlg::Run(nullptr, true, Res()));
    EXPECT_EQ(GetComPort(), 6);

    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<TSetComPortDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        Item(dlg, 2)->click();
        dlg->findChild<QPushButton*>(QStringLiteral("m_pBtnCancel"))->click();
    });
    EXPECT_FALSE(TSetComPortDlg::Run(nullptr, true, Res()));
    EXPECT_EQ(GetComPort(), 6);
}

// ---- help

TEST_F(SetComPortDlgTest, HelpShowsTheDialogsAndTheFocusedPartsContext) {
    SetComPort(9);
    TSetComPortDlg dlg(nullptr, true, Res());
    dlg.HelpBtnClick();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.activateWindow();
    auto* edit = Find<QLineEdit>(&dlg, "m_pRnr");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_F1);
    Find<QPushButton>(&dlg, "m_pBtnOk")->setFocus();
    QTest::keyClick(Find<QPushButton>(&dlg, "m_pBtnOk"), Qt::Key_F1);
    EXPECT_EQ(m_HelpContexts, (std::vector<int>{2300, 2302, 2300}));
}
