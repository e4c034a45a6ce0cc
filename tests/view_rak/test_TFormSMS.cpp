// The SMS providers page: the grid shows the document's ten providers, the
// user's edits follow the field rules, the protocol list over the protocol
// cell, and what a save stores.

#include "RakFixture.h"

#include "MoxDaten.h"
#include "RakTextIds.h"
#include "TFormSMS.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QValidator>

#include <memory>
#include <ostream>
#include <string>

namespace {

std::string Provider(const TMoxDocument& doc, std::uint8_t i) {
    char buf[64] = {};
    return doc.GetSMSProvider(i, buf, sizeof buf) ? buf : "<none>";
}

std::string SmsRnr(const TMoxDocument& doc, std::uint8_t i) {
    char buf[64] = {};
    return doc.GetSMSRnr(i, buf, sizeof buf) ? buf : "<none>";
}

} // namespace

class RakSmsPage : public RakPageTest {
protected:
    void SetUp() override {
        RakPageTest::SetUp();
        for (std::uint8_t i = 0; i < 10; ++i) {
            Doc().SetSMSProvider(i, "");
            Doc().SetSMSRnr(i, "");
            Doc().SetSMSProtokoll(i, 0);
        }
        Doc().SetSMSProvider(0, "Alpha");
        Doc().SetSMSRnr(0, "0171123");
        Doc().SetSMSProtokoll(0, 1);
        Doc().SetSMSProvider(3, "Delta");
        Doc().SetSMSRnr(3, "0190");
        Doc().SetSMSProtokoll(3, 2);
    }
    TFormSMS* Open(std::uint8_t kind = eSMS) {
        TFormSMS* page = MakePage<TFormSMS>(kind);
        m_pGrid = Find<QTableWidget>("m_pProvGrid");
        return page;
    }
    QString Cell(int col, int row) const { return m_pGrid->item(row, col)->text(); }
    // As the user's edit ends: the cell's text changes.
    void Type(int col, int row, const QString& text) { m_pGrid->item(row, col)->setText(text); }
    QTableWidget* m_pGrid = nullptr;
};

TEST_F(RakSmsPage, ShowsTitlesNumbersAndTheDocumentsProviders) {
    Open();
    ASSERT_EQ(m_pGrid->rowCount(), 11);
    ASSERT_EQ(m_pGrid->columnCount(), 4);
    EXPECT_EQ(Cell(0, 0).toStdString(), Text(rtxt::kColNr));
    EXPECT_EQ(Cell(1, 0).toStdString(), Text(rtxt::kColProvider));
    EXPECT_EQ(Cell(2, 0).toStdString(), Text(rtxt::kColRnr));
    EXPECT_EQ(Cell(3, 0).toStdString(), Text(rtxt::kColProtokoll));
    for (int r = 1; r <= 10; ++r)
        EXPECT_EQ(Cell(0, r), QString::number(r));
    EXPECT_EQ(Cell(1, 1), "Alpha");
    EXPECT_EQ(Cell(2, 1), "0171123");
    EXPECT_EQ(Cell(3, 1).toStdString(), Text(rtxt::kProtokollUCP));
    EXPECT_EQ(Cell(1, 4), "Delta");
    EXPECT_EQ(Cell(3, 4).toStdString(), Text(rtxt::kProtokollTAP));
    EXPECT_EQ(Cell(1, 2), "");
    EXPECT_EQ(Cell(3, 2).toStdString(), Text(rtxt::kNone));
    EXPECT_EQ(m_pGrid->currentRow(), 1);
    EXPECT_EQ(m_pGrid->currentColumn(), 1);
    ASSERT_NE(Find<QComboBox>("m_pProtList"), nullptr);
    EXPECT_FALSE(Find<QComboBox>("m_pProtList")->isVisible());
}

TEST_F(RakSmsPage, SaveStoresEveryRow) {
    Open();
    Type(1, 2, "Beta");
    Type(2, 2, "0160999");
    Type(1, 1, "");
    Type(2, 1, "");
    Save();
    EXPECT_EQ(Provider(Doc(), 1), "Beta");
    EXPECT_EQ(SmsRnr(Doc(), 1), "0160999");
    EXPECT_EQ(Provider(Doc(), 0), "");
    EXPECT_EQ(SmsRnr(Doc(), 0), "");
    EXPECT_EQ(Provider(Doc(), 3), "Delta");
    EXPECT_EQ(Doc().GetSMSProtokoll(0), 1);
    EXPECT_EQ(Doc().GetSMSProtokoll(3), 2);
    EXPECT_TRUE(Doc().IsModified());
}

struct EditCase {
    const char* name;
    int column;
    const char* typed;
    const char* shown;
};

void PrintTo(const EditCase& c, std::ostream* os) {
    *os << c.name;
}

class RakSmsEditRules : public RakSmsPage, public testing::WithParamInterface<EditCase> {};

TEST_P(RakSmsEditRules, CellFollowsTheFieldRule) {
    Open();
    const EditCase& c = GetParam();
    Type(c.column, 5, QString::fromUtf8(c.typed));
    EXPECT_EQ(Cell(c.column, 5).toStdString(), c.shown);
    Save();
    const std::string stored = c.column == 1 ? Provider(Doc(), 4) : SmsRnr(Doc(), 4);
    EXPECT_EQ(stored, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, RakSmsEditRules,
    testing::Values(EditCase{"NameOf15Stays", 1, "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO"},
                    EditCase{"SixteenthCharacterIsCut", 1, "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNO"},
                    EditCase{"LetterInNumberRemoved", 2, "0171a5", "01715"},
                    EditCase{"EveryNonDigitRemoved", 2, "0171-234 56", "017123456"},
                    EditCase{"ThirtyDigitsKeep24", 2, "123456789012345678901234567890",
                             "123456789012345678901234"},
                    EditCase{"TwentyFourDigitsStay", 2, "123456789012345678901234",
                             "123456789012345678901234"}),
    [](const testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST_F(RakSmsPage, CellEditorsHoldTheUserToTheFieldRules) {
    Open();
    QStyleOptionViewItem option;
    QWidget parent;
    auto* delegate = m_pGrid->itemDelegate();
    std::unique_ptr<QWidget> nameEditor(
        delegate->createEditor(&parent, option, m_pGrid->model()->index(2, 1)));
    auto* name = qobject_cast<QLineEdit*>(nameEditor.get());
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->maxLength(), 15);
    std::unique_ptr<QWidget> rnrEditor(
        delegate->createEditor(&parent, option, m_pGrid->model()->index(2, 2)));
    auto* rnr = qobject_cast<QLineEdit*>(rnrEditor.get());
    ASSERT_NE(rnr, nullptr);
    EXPECT_EQ(rnr->maxLength(), 24);
    ASSERT_NE(rnr->validator(), nullptr);
    QString typed = QStringLiteral("12a");
    int pos = 3;
    EXPECT_EQ(rnr->validator()->validate(typed, pos), QValidator::Invalid);
    typed = QStringLiteral("0171");
    EXPECT_EQ(rnr->validator()->validate(typed, pos), QValidator::Acceptable);
}

TEST_F(RakSmsPage, SaveTakesTheTextOfACellStillBeingEdited) {
    Open();
    m_pGrid->setCurrentCell(6, 1);
    m_pGrid->editItem(m_pGrid->item(6, 1));
    const auto editors = m_pGrid->viewport()->findChildren<QLineEdit*>();
    ASSERT_EQ(editors.size(), 1);
    QLineEdit* editor = editors.front();
    editor->setText(QStringLiteral("Omega"));
    Save();
    EXPECT_EQ(Provider(Doc(), 5), "Omega");
}

TEST_F(RakSmsPage, ProtocolCellOpensTheListWithItsProtocol) {
    Open();
    auto* list = Find<QComboBox>("m_pProtList");
    m_pGrid->setCurrentCell(4, 3);
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->currentIndex(), 2); // Delta: TAP
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0).toStdString(), Text(rtxt::kNone));
    EXPECT_EQ(list->itemText(1).toStdString(), Text(rtxt::kProtokollUCP));
    EXPECT_EQ(list->itemText(2).toStdString(), Text(rtxt::kProtokollTAP));

    list->setCurrentIndex(1);
    m_pGrid->setCurrentCell(4, 1);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Cell(3, 4).toStdString(), Text(rtxt::kProtokollUCP));
    Save();
    EXPECT_EQ(Doc().GetSMSProtokoll(3), 1);
}

TEST_F(RakSmsPage, SaveWhileTheListIsOpenStoresItsChoice) {
    Open();
    auto* list = Find<QComboBox>("m_pProtList");
    m_pGrid->setCurrentCell(2, 3);
    ASSERT_TRUE(list->isVisible());
    list->setCurrentIndex(2);
    Save();
    EXPECT_EQ(Doc().GetSMSProtokoll(1), 2);
}

struct KeyCase {
    const char* name;
    int row;
    Qt::Key key;
    int toRow;
    int toColumn;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.name;
}

class RakSmsListKeys : public RakSmsPage, public testing::WithParamInterface<KeyCase> {};

TEST_P(RakSmsListKeys, LeftAndRightLeaveTheList) {
    Open();
    const KeyCase& c = GetParam();
    auto* list = Find<QComboBox>("m_pProtList");
    m_pGrid->setCurrentCell(c.row, 3);
    ASSERT_TRUE(list->isVisible());
    list->setCurrentIndex(2);
    QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
    QApplication::sendEvent(list, &press);
    EXPECT_EQ(m_pGrid->currentRow(), c.toRow);
    EXPECT_EQ(m_pGrid->currentColumn(), c.toColumn);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(Cell(3, c.row).toStdString(), Text(rtxt::kProtokollTAP));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, RakSmsListKeys,
    testing::Values(KeyCase{"LeftToNumber", 3, Qt::Key_Left, 3, 2},
                    KeyCase{"RightToNextName", 3, Qt::Key_Right, 4, 1},
                    KeyCase{"RightFromLastRowToFirst", 10, Qt::Key_Right, 1, 1}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(RakSmsPage, AProtocolThePageDoesNotKnowIsKept) {
    Raw().SMS[2].Protokoll = 7;
    Open();
    EXPECT_EQ(Cell(3, 3), "");
    Save();
    EXPECT_EQ(Doc().GetDaten()->SMS[2].Protokoll, 7);
    // Its neighbours keep their own.
    EXPECT_EQ(Doc().GetSMSProtokoll(3), 2);
}

TEST_F(RakSmsPage, RestoreLoadsTheCountrysDefaults) {
    Open();
    m_pPage->Perform(WM_RESTORE, -1, -1);
    // The first two lines of the German SMS default file.
    EXPECT_EQ(Provider(Doc(), 0), "Telekom-D1");
    EXPECT_EQ(Doc().GetSMSProtokoll(0), 2);
    EXPECT_EQ(Provider(Doc(), 1), "AnnyWay");
    EXPECT_EQ(Cell(1, 1), "Telekom-D1");
    EXPECT_EQ(Cell(2, 2), "090032669002");
    EXPECT_EQ(Cell(3, 2).toStdString(), Text(rtxt::kProtokollUCP));
}

struct KindCase {
    const char* name;
    std::uint8_t kind;
    bool storedOnDestroy;
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}

class RakSmsPageKinds : public RakSmsPage, public testing::WithParamInterface<KindCase> {};

TEST_P(RakSmsPageKinds, OnlyATreePageStoresItselfWhenDestroyed) {
    Open(GetParam().kind);
    Type(1, 7, "Gamma");
    DropPage();
    EXPECT_EQ(Provider(Doc(), 6) == "Gamma", GetParam().storedOnDestroy);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RakSmsPageKinds,
                         testing::Values(KindCase{"Tree", eSMS, true},
                                         KindCase{"Wizard", eAssistent, false},
                                         KindCase{"HostingDialog", eKonfigDlg, false}),
                         [](const testing::TestParamInfo<KindCase>& info) {
                             return std::string(info.param.name);
                         });
