// The call-number filter of both subscriber grids and the video selector
// laid over a video cell.

#include "TTlnGridCells.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QComboBox>
#include <QTableWidget>

namespace {

struct FilterCase {
    const char* name;
    const char* typed;
    const char* kept;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

class RnrFilter : public testing::TestWithParam<FilterCase> {};

TEST_P(RnrFilter, KeepsDigitsUpToTwenty) {
    EXPECT_EQ(FilterRnrText(QString::fromUtf8(GetParam().typed)).toStdString(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, RnrFilter,
    testing::Values(
        FilterCase{"Empty", "", ""}, FilterCase{"Digits", "0815", "0815"},
        FilterCase{"LetterInside", "12a3", "123"},
        FilterCase{"SeveralNonDigits", "1a2b3-4 5", "12345"}, FilterCase{"OnlyLetters", "abc", ""},
        FilterCase{"Twenty", "12345678901234567890", "12345678901234567890"},
        FilterCase{"TwentyFivePasted", "1234567890123456789012345", "12345678901234567890"},
        // Cut after the letters went, so no digit is lost to them.
        FilterCase{"LongWithLetters", "+49 (0)30 123456789012345678", "49030123456789012345"},
        FilterCase{"NonAsciiDigitsRefused",
                   "1\xd9\xa2"
                   "3",
                   "13"}),
    [](const auto& info) { return std::string(info.param.name); });

class VideoSelector : public testing::Test {
protected:
    void SetUp() override {
        grid.setRowCount(3);
        for (int r = 0; r < 3; ++r)
            grid.setItem(r, 2, new QTableWidgetItem(r == 1 ? "Yes" : "No"));
        grid.setEditTriggers(QAbstractItemView::AllEditTriggers);
        grid.show();
    }
    QTableWidget grid{0, 3};
    TTlnVideoSelector sel{&grid, 2, "Yes", "No"};
};

TEST_F(VideoSelector, OpensPresetFromTheCellAndWritesItsChoiceBack) {
    EXPECT_FALSE(sel.IsOpen());
    sel.Open(1);
    ASSERT_TRUE(sel.IsOpen());
    EXPECT_EQ(sel.Row(), 1);
    EXPECT_EQ(sel.Combo()->currentIndex(), 1);
    // The grid's own editor is off while the list stands over the cell.
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    sel.Combo()->setCurrentIndex(0);
    sel.Close();
    EXPECT_FALSE(sel.IsOpen());
    EXPECT_EQ(grid.item(1, 2)->text(), "No");
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::AllEditTriggers);
}

TEST_F(VideoSelector, HideDropsTheChoice) {
    sel.Open(0);
    EXPECT_EQ(sel.Combo()->currentIndex(), 0);
    sel.Combo()->setCurrentIndex(1);
    sel.Hide();
    EXPECT_EQ(grid.item(0, 2)->text(), "No");
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::AllEditTriggers);
}

TEST_F(VideoSelector, ARowOutsideTheGridOpensNothing) {
    sel.Open(3);
    sel.Open(-1);
    EXPECT_FALSE(sel.IsOpen());
    sel.Close();
    EXPECT_EQ(grid.item(0, 2)->text(), "No");
}

} // namespace
