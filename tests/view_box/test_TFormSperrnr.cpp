// The barred-number page: four numbers of at most four digits each.

#include "BoxPageFixture.h"

#include "TFormSperrnr.h"
#include "WindowMessages.h"

#include <QLineEdit>
#include <QTest>

#include <array>
#include <string>

namespace {

constexpr std::array<const char*, 4> kEdits = {"m_pSperr1", "m_pSperr2", "m_pSperr3", "m_pSperr4"};

std::string Sperr(const TMoxDocument& doc, int i) {
    char buf[16] = {};
    doc.GetSperrnr(static_cast<std::uint8_t>(i), buf, sizeof buf);
    return buf;
}

} // namespace

class FormSperrnr : public BoxPageTest {};

TEST_F(FormSperrnr, OpenAndSaveEveryNumber) {
    Doc().SetSperrnr(0, "0190");
    Doc().SetSperrnr(3, "00");
    auto* page = MakePage<TFormSperrnr>(eSperrnr);
    EXPECT_EQ(Find<QLineEdit>(page, kEdits[0])->text(), QStringLiteral("0190"));
    EXPECT_EQ(Find<QLineEdit>(page, kEdits[1])->text(), QString());
    EXPECT_EQ(Find<QLineEdit>(page, kEdits[3])->text(), QStringLiteral("00"));
    for (const char* name : kEdits)
        EXPECT_EQ(Find<QLineEdit>(page, name)->maxLength(), 4) << name;

    Find<QLineEdit>(page, kEdits[0])->clear();
    Find<QLineEdit>(page, kEdits[1])->setText(QStringLiteral("0900"));
    Find<QLineEdit>(page, kEdits[2])->setText(QStringLiteral("118"));
    page->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(Sperr(Doc(), 0), "");
    EXPECT_EQ(Sperr(Doc(), 1), "0900");
    EXPECT_EQ(Sperr(Doc(), 2), "118");
    EXPECT_EQ(Sperr(Doc(), 3), "00");
}

TEST_F(FormSperrnr, TypingKeepsFourDigitsAtMost) {
    auto* page = MakePage<TFormSperrnr>(eSperrnr);
    auto* edit = Find<QLineEdit>(page, kEdits[2]);
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("0a1b9x0 7"));
    EXPECT_EQ(edit->text(), QStringLiteral("0190"));
    page->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(Sperr(Doc(), 2), "0190");
}

TEST_F(FormSperrnr, RestoreClearsAllFour) {
    for (int i = 0; i < 4; ++i)
        Doc().SetSperrnr(static_cast<std::uint8_t>(i), "12");
    auto* page = MakePage<TFormSperrnr>(eSperrnr);
    page->Perform(WM_RESTORE, -1, -1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Sperr(Doc(), i), "") << i;
        EXPECT_TRUE(Find<QLineEdit>(page, kEdits[static_cast<std::size_t>(i)])->text().isEmpty());
    }
    EXPECT_TRUE(Doc().IsModified());
}
