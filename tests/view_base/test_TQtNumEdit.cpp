// The numeric filter on a real line edit: one character per call, the
// caret, the separator of the user's locale, and a character outside the
// basic plane removed whole.

#include "TQtNumEdit.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QLocale>

namespace {

class QtNumEdit : public testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    QLineEdit edit;
};

TEST_F(QtNumEdit, RemovesOneCharacterAndPutsTheCaretThere) {
    edit.setText(QStringLiteral("12a3b"));
    EXPECT_FALSE(CheckNumEdit(&edit, false, false, false));
    EXPECT_EQ(edit.text(), QStringLiteral("123b"));
    EXPECT_EQ(edit.cursorPosition(), 2);
    EXPECT_FALSE(CheckNumEdit(&edit, false, false, false));
    EXPECT_EQ(edit.text(), QStringLiteral("123"));
    EXPECT_TRUE(CheckNumEdit(&edit, false, false, false));
}

TEST_F(QtNumEdit, SeparatorFollowsTheLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    edit.setText(QStringLiteral("1.5"));
    EXPECT_TRUE(CheckNumEdit(&edit, true, false, true));
    EXPECT_EQ(edit.text(), QStringLiteral("1,5"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    edit.setText(QStringLiteral("1,5"));
    EXPECT_TRUE(CheckNumEdit(&edit, true, false, true));
    EXPECT_EQ(edit.text(), QStringLiteral("1.5"));
}

TEST_F(QtNumEdit, CharacterOutsideTheBasicPlaneGoesWhole) {
    edit.setText(QString::fromUtf8("1\xF0\x9F\x94\x94"
                                   "2"));
    EXPECT_FALSE(CheckNumEdit(&edit, false, false, false));
    EXPECT_EQ(edit.text(), QStringLiteral("12"));
}

TEST_F(QtNumEdit, NullEditIsAccepted) {
    EXPECT_TRUE(CheckNumEdit(nullptr, false, false, false));
}

} // namespace
