// The recent-file list: promotion, six at most, captions, the separator, and
// the click that notifies the window.

#include "TRecentFileList.h"

#include "MessageReceiver.h"
#include "WindowMessages.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

namespace {

using mox::platform::MessageReceiver;
using mox::platform::WindowMessage;

class RecentFiles : public testing::Test {
protected:
    void SetUp() override {
        // A file menu ending with a separator and the exit item.
        menu.addAction(QStringLiteral("new"));
        menu.addSeparator();
        menu.addAction(QStringLiteral("exit"));
        list = std::make_unique<TRecentFileList>(&menu, 6, receiver.Address());
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> e;
        for (int i = 0; i < list->GetCount(); ++i)
            e.push_back(list->GetEntry(i));
        return e;
    }

    QMenu menu;
    std::vector<WindowMessage> notified;
    MessageReceiver receiver{[this](const WindowMessage& m) {
        notified.push_back(m);
        return 0;
    }};
    std::unique_ptr<TRecentFileList> list;
};

TEST_F(RecentFiles, EntriesStandAboveTheLastTwoItems) {
    const QList<QAction*> a = menu.actions();
    ASSERT_EQ(a.size(), 3 + 1 + 6);
    EXPECT_EQ(a[0]->text(), QStringLiteral("new"));
    EXPECT_EQ(a[1], list->Separator());
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_EQ(a[2 + slot], list->EntryAction(slot));
    EXPECT_TRUE(a[8]->isSeparator());
    EXPECT_EQ(a[9]->text(), QStringLiteral("exit"));
}

TEST_F(RecentFiles, EmptyListShowsNothing) {
    EXPECT_FALSE(list->Separator()->isVisible());
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_FALSE(list->EntryAction(slot)->isVisible());
}

TEST_F(RecentFiles, CaptionsAreNumberedFromOne) {
    list->Add("/a/first.ktx");
    list->Add("/a/second.ktx");
    EXPECT_TRUE(list->Separator()->isVisible());
    EXPECT_EQ(list->EntryAction(0)->text(), QStringLiteral("&1 /a/second.ktx"));
    EXPECT_EQ(list->EntryAction(1)->text(), QStringLiteral("&2 /a/first.ktx"));
    EXPECT_FALSE(list->EntryAction(2)->isVisible());
    // An ampersand in a name shows as itself.
    EXPECT_EQ(TRecentFileList::Caption(2, "/a/b&c.ktx"), QStringLiteral("&3 /a/b&&c.ktx"));
}

TEST_F(RecentFiles, AddingTheThirdMovesItUpAndKeepsTheOrder) {
    for (const char* n : {"f", "e", "d", "c", "b", "a"})
        list->Add(n);
    ASSERT_EQ(Entries(), (std::vector<std::string>{"a", "b", "c", "d", "e", "f"}));
    list->Add("c");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"c", "a", "b", "d", "e", "f"}));
    EXPECT_EQ(list->GetSelected(), 0);
}

TEST_F(RecentFiles, SeventhNameDropsTheOldest) {
    for (const char* n : {"1", "2", "3", "4", "5", "6", "7"})
        list->Add(n);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"7", "6", "5", "4", "3", "2"}));
}

TEST_F(RecentFiles, NamesCompareExactly) {
    list->Add("/x/A.ktx");
    list->Add("/x/a.ktx");
    EXPECT_EQ(Entries()[0], "/x/a.ktx");
    EXPECT_EQ(Entries()[1], "/x/A.ktx");
}

TEST_F(RecentFiles, ClickMovesTheEntryUpAndNotifies) {
    list->Add("old");
    list->Add("new");
    list->EntryAction(1)->trigger();
    EXPECT_EQ(Entries()[0], "old");
    EXPECT_EQ(Entries()[1], "new");
    ASSERT_EQ(notified.size(), 1u);
    EXPECT_EQ(notified[0].id, WM_RECENT_FILE);
    EXPECT_EQ(notified[0].wParam, 0);
    EXPECT_EQ(notified[0].lParam, 0);
}

TEST_F(RecentFiles, SetEntryFillsOneSlot) {
    list->SetEntry("/from/settings.ktx", 3);
    list->SetEntry("ignored", 6);
    EXPECT_EQ(list->GetEntry(3), "/from/settings.ktx");
    EXPECT_TRUE(list->EntryAction(3)->isVisible());
    EXPECT_EQ(list->EntryAction(3)->text(), QStringLiteral("&4 /from/settings.ktx"));
    EXPECT_TRUE(list->Separator()->isVisible());
}

} // namespace
