// The camera page: camera type, the bandwidth field with its spin button
// and filter, the four track bars and the page reset.

#include "BoxPageFixture.h"

#include "TFormKMR.h"
#include "WindowMessages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <string>

class FormKMR : public BoxPageTest {};

struct TypeRow {
    const char* name;
    std::uint8_t stored;
    int shownIndex;
    std::uint8_t saved;
};

class FormKMRType : public BoxPageTest, public testing::WithParamInterface<TypeRow> {};

TEST_P(FormKMRType, CameraTypeLoadsAndSaves) {
    const TypeRow& row = GetParam();
    Doc().SetKMRKameratyp(row.stored);
    auto* page = MakePage<TFormKMR>(eKMRKonfig);
    auto* combo = Find<QComboBox>(page, "m_pKameratypCombo");
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), Res()->GetQText(390));
    EXPECT_EQ(combo->itemText(1), Res()->GetQText(391));
    EXPECT_EQ(combo->currentIndex(), row.shownIndex);
    page->Perform(WM_SAVE, -1, -1);
    EXPECT_EQ(Doc().GetKMRKameratyp(), row.saved);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormKMRType,
                         testing::Values(TypeRow{"None", 0, -1, 0}, TypeRow{"First", 1, 0, 1},
                                         TypeRow{"Second", 2, 1, 2}, TypeRow{"Unknown", 7, -1, 0}),
                         [](const testing::TestParamInfo<TypeRow>& info) {
                             return std::string(info.param.name);
                         });

// What the bandwidth field holds after the user typed into an emptied field.
struct TypedRow {
    const char* name;
    const char* typed;
    const char* shown;
};

class FormKMRBandbreite : public BoxPageTest, public testing::WithParamInterface<TypedRow> {};

TEST_P(FormKMRBandbreite, FilterKeepsTheRange) {
    auto* page = MakePage<TFormKMR>(eKMRKonfig);
    auto* edit = Find<QLineEdit>(page, "m_pBandbreite");
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(GetParam().typed));
    EXPECT_EQ(edit->text(), QString::fromLatin1(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Rows, FormKMRBandbreite,
                         testing::Values(TypedRow{"One", "1", "1"}, TypedRow{"Two", "2", "2"},
                                         TypedRow{"Five", "5", "2"}, TypedRow{"Nine", "9", "2"},
                                         TypedRow{"Zero", "0", "1"}, TypedRow{"Letter", "x", "1"}),
                         [](const testing::TestParamInfo<TypedRow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(FormKMR, DeletingTheDigitGivesOne) {
    auto* page = MakePage<TFormKMR>(eKMRKonfig);
    auto* edit = Find<QLineEdit>(page, "m_pBandbreite");
    ASSERT_EQ(edit->text(), QStringLiteral("2"));
    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
}

TEST_F(FormKMR, SpinButtonStaysInRange) {
    auto* page = MakePage<TFormKMR>(eKMRKonfig);
    auto* edit = Find<QLineEdit>(page, "m_pBandbreite");
    auto* up = Find<QToolButton>(page, "m_pBandbreiteSpinUp");
    auto* down = Find<QToolButton>(page, "m_pBandbreiteSpinDown");
    ASSERT_EQ(edit->text(), QStringLiteral("2"));
    up->click();
    EXPECT_EQ(edit->text(), QStringLiteral("2"));
    down->click();
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    down->click();
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    up->click();
    EXPECT_EQ(edit->text(), QStringLiteral("2"));
    // The spin button and its edit share the Tag by which it finds the edit.
    EXPECT_EQ(edit->property("Tag").toInt(), TFormKMR::kBandbreiteTag);
    EXPECT_EQ(Find<QWidget>(page, "m_pBandbreiteSpin")->property("Tag").toInt(),
              TFormKMR::kBandbreiteTag);
}

TEST_F(FormKMR, OpenAndSaveTheTrackBars) {
    Doc().SetKMRCodierqual(30);
    Doc().SetKMRKontrast(40);
    Doc().SetKMRHelligkeit(50);
    Doc().SetKMRSaettigung(60);
    Doc().SetKMRBandbreite(1);
    auto* page = MakePage<TFormKMR>(eKMRKonfig);
    auto* codier = Find<QSlider>(page, "m_pCodierqualTrack");
    auto* kontrast = Find<QSlider>(page, "m_pKontrastTrack");
    auto* hell = Find<QSlider>(page, "m_pHelligkeitTrack");
    auto* saett = Find<QSlider>(page, "m_pSaettigungTrack");
    EXPECT_EQ(codier->value(), 30);
    EXPECT_EQ(kontrast->value(), 40);
    EXPECT_EQ(hell->value(), 50);
    EXPECT_EQ(saett->value(), 60);
    EXPECT_EQ(Find<QLineEdit>(page, "m_pBandbreite")->text(), QStringLiteral("1"));
    for (QSlider* s : {codier, kontrast, hell, saett}) {
        EXPECT_EQ(s->minimum(), 0);
        EXPECT_EQ(s->maximum(), 100);
        EXPECT_EQ(s->tickInterval(), 10);
    }

    codier->setValue(100);
    kontrast->setValue(0);
    hell->setValue(10);
    saett->setValue(90);
    Find<QToolButton>(page, "m_pBandbreiteSpinUp")->click();
    page->Perform(WM_SAVE, -1, -1);
    std::uint8_t v = 0;
    EXPECT_TRUE(Doc().GetKMRCodierqual(&v));
    EXPECT_EQ(v, 100);
    EXPECT_TRUE(Doc().GetKMRKontrast(&v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(Doc().GetKMRHelligkeit(&v));
    EXPECT_EQ(v, 10);
    EXPECT_TRUE(Doc().GetKMRSaettigung(&v));
    EXPECT_EQ(v, 90);
    EXPECT_EQ(Doc().GetKMRBandbreite(), 2);
}

TEST_F(FormKMR, HintsComeFromTheLabels) {
    auto* page = MakePage<TFormKMR>(eKMRKonfig);
    EXPECT_EQ(Find<QWidget>(page, "m_pKontrastTrack")->toolTip(), Res()->GetQHint(383));
    EXPECT_EQ(Find<QWidget>(page, "m_pBandbreite")->toolTip(), Res()->GetQHint(382));
    EXPECT_EQ(Find<QWidget>(page, "m_pCodierqualTrack")->toolTip(), Res()->GetQHint(381));
}

TEST_F(FormKMR, RestorePutsBackTheDefaults) {
    Doc().SetKMRKameratyp(2);
    Doc().SetKMRKontrast(99);
    auto* page = MakePage<TFormKMR>(eKMRKonfig);
    page->Perform(WM_RESTORE, -1, -1);
    std::uint8_t v = 0;
    ASSERT_TRUE(Doc().GetKMRKontrast(&v));
    EXPECT_EQ(Find<QSlider>(page, "m_pKontrastTrack")->value(), v);
    EXPECT_NE(v, 99);
    EXPECT_EQ(Find<QComboBox>(page, "m_pKameratypCombo")->currentIndex(),
              Doc().GetKMRKameratyp() == 1   ? 0
              : Doc().GetKMRKameratyp() == 2 ? 1
                                             : -1);
    EXPECT_TRUE(Doc().IsModified());
}
