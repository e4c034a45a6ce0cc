// The door-call texts page: the seven texts and six ring tones go from the
// document into the controls and back, door-interface type 1 hides the
// doors it does not have but stores them unchanged, a ring tone the list
// does not have shows no selection, and the page's reset.

#include "DoorPageFixture.h"

#include "DoorTextIds.h"
#include "MoxDaten.h"
#include "MoxQString.h"
#include "TFormIT.h"
#include "WindowMessages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <ostream>
#include <string>

namespace {

QLineEdit* TextEdit(QWidget* page, int door) {
    return page->findChild<QLineEdit*>(QStringLiteral("m_pTuerTxt%1").arg(door + 1));
}

QComboBox* ToneList(QWidget* page, int door) {
    return page->findChild<QComboBox*>(QStringLiteral("m_pRufton%1").arg(door + 1));
}

} // namespace

class DoorTextsPage : public DoorPageTest {
protected:
    std::string DocTuerText(int i) {
        char buffer[MOX_TEXT_SIZE] = {};
        Doc().GetTuerrufText(static_cast<std::uint8_t>(i), buffer, sizeof buffer);
        return buffer;
    }
};

TEST_F(DoorTextsPage, LoadsTextsAndTonesAndStoresTheEdits) {
    Doc().SetTypeIT(2);
    for (int i = 0; i < TFormIT::kTexte; ++i)
        Doc().SetTuerrufText(static_cast<std::uint8_t>(i), ("Tor " + std::to_string(i)).c_str());
    for (int i = 0; i < TFormIT::kTueren; ++i)
        Doc().SetRufton(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i % 3 + 1));
    TDataView* page = MakeView(eITKonfig);
    ASSERT_NE(dynamic_cast<TFormIT*>(page), nullptr);
    for (int i = 0; i < TFormIT::kTexte; ++i)
        EXPECT_EQ(TextEdit(page, i)->text(), QStringLiteral("Tor %1").arg(i));
    for (int i = 0; i < TFormIT::kTueren; ++i) {
        QComboBox* tone = ToneList(page, i);
        ASSERT_EQ(tone->count(), 3);
        EXPECT_EQ(tone->itemText(2), Text(dtxt::kRufton3));
        EXPECT_EQ(tone->currentIndex(), i % 3) << "door " << i;
    }

    // Windows-1252 on the way into the record: "ü" is one byte.
    TextEdit(page, 0)->setText(QString::fromUtf8("Hintertür"));
    TextEdit(page, 6)->setText(QStringLiteral("Etage"));
    ToneList(page, 5)->setCurrentIndex(0);
    Drop();
    EXPECT_EQ(DocTuerText(0), "Hintert\xFCr");
    EXPECT_EQ(DocTuerText(6), "Etage");
    EXPECT_EQ(DocTuerText(3), "Tor 3");
    EXPECT_EQ(Doc().GetRufton(5), 1);
    EXPECT_EQ(Doc().GetRufton(4), 2);
}

TEST_F(DoorTextsPage, TypeOneShowsThreeDoorsAndStoresAllUnchanged) {
    Doc().SetTypeIT(eIT_Nivo);
    for (int i = 0; i < TFormIT::kTexte; ++i)
        Doc().SetTuerrufText(static_cast<std::uint8_t>(i), ("T" + std::to_string(i)).c_str());
    for (int i = 0; i < TFormIT::kTueren; ++i)
        Doc().SetRufton(static_cast<std::uint8_t>(i), 3);
    TDataView* page = MakeView(eITKonfig);
    for (int i = 0; i < TFormIT::kTexte; ++i)
        EXPECT_EQ(TextEdit(page, i)->isHidden(), i >= 3) << "text " << i;
    for (int i = 0; i < TFormIT::kTueren; ++i)
        EXPECT_EQ(ToneList(page, i)->isHidden(), i >= 3) << "tone " << i;
    EXPECT_TRUE(Find<QLabel>("m_pLabel")->isHidden());
    Drop();
    for (int i = 0; i < TFormIT::kTexte; ++i)
        EXPECT_EQ(DocTuerText(i), "T" + std::to_string(i));
    for (int i = 0; i < TFormIT::kTueren; ++i)
        EXPECT_EQ(Doc().GetRufton(static_cast<std::uint8_t>(i)), 3);
}

TEST_F(DoorTextsPage, OtherTypesShowEveryDoor) {
    for (std::uint8_t type : {0, 2, 3}) {
        Doc().SetTypeIT(type);
        TDataView* page = MakeView(eITKonfig);
        for (int i = 0; i < TFormIT::kTexte; ++i)
            EXPECT_FALSE(TextEdit(page, i)->isHidden()) << "type " << int(type);
        EXPECT_FALSE(Find<QLabel>("m_pLabel")->isHidden());
    }
}

struct ToneCase {
    const char* name;
    std::uint8_t stored;
    int shown;
    std::uint8_t saved;
};

// Names the row when a case fails.
void PrintTo(const ToneCase& c, std::ostream* os) {
    *os << c.name;
}

class DoorTextsTone : public DoorTextsPage, public testing::WithParamInterface<ToneCase> {};

TEST_P(DoorTextsTone, ShowsThePositionAndStoresItBack) {
    const ToneCase& c = GetParam();
    Doc().SetRufton(2, c.stored);
    TDataView* page = MakeView(eITKonfig);
    EXPECT_EQ(ToneList(page, 2)->currentIndex(), c.shown);
    Drop();
    EXPECT_EQ(Doc().GetRufton(2), c.saved);
}

INSTANTIATE_TEST_SUITE_P(Tones, DoorTextsTone,
                         testing::Values(ToneCase{"None", 0, -1, 0}, ToneCase{"One", 1, 0, 1},
                                         ToneCase{"Two", 2, 1, 2}, ToneCase{"Three", 3, 2, 3},
                                         ToneCase{"Damaged", 9, -1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DoorTextsPage, TextsTakeThirtyCharacters) {
    TDataView* page = MakeView(eITKonfig);
    QLineEdit* edit = TextEdit(page, 1);
    edit->setText(QString(40, QLatin1Char('x')));
    EXPECT_EQ(edit->text().size(), 30);
    Drop();
    EXPECT_EQ(DocTuerText(1), std::string(30, 'x'));
}

TEST_F(DoorTextsPage, RestorePutsBackTheDefaults) {
    auto fresh = std::make_unique<MoxDaten>();
    MoxInitDaten(fresh.get());
    Doc().SetTuerrufText(0, "changed");
    Doc().SetRufton(0, 1);
    TDataView* page = MakeView(eITKonfig);
    EXPECT_EQ(TextEdit(page, 0)->text(), QStringLiteral("changed"));
    page->Perform(WM_RESTORE, -1, -1);
    EXPECT_EQ(TextEdit(page, 0)->text(), MoxToQString(fresh->TuerrufText[0]));
    EXPECT_EQ(ToneList(page, 0)->currentIndex(), fresh->Rufton[0] - 1);
    EXPECT_EQ(DocTuerText(0), fresh->TuerrufText[0]);
}
