// Notices that arrive while a message box waits for its answer (a hang-up
// reported inside the box's event loop) come after that box, one at a
// time, and before the box's caller goes on; with no box open they come at
// once.

#include "TMsgBox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

class MsgBoxNotices : public testing::Test {
protected:
    void SetUp() override {
        TMsgBox::SetHandlerForTesting([this](const TMsgBox::Request& r) {
            log.push_back("box " + std::to_string(r.textId) + " open " +
                          std::to_string(TMsgBox::OpenCount()));
            if (duringBox)
                std::exchange(duringBox, {})();
            return mb::kIdOk;
        });
    }
    void TearDown() override { TMsgBox::SetHandlerForTesting({}); }

    void Box(int id) { TMsgBox::Show(nullptr, id, QString(), QString(), mb::kOk); }
    // A notice that opens a box of its own, as the hang-up's reason does.
    std::function<void()> Notice(int id) {
        return [this, id] {
            log.push_back("notice " + std::to_string(id));
            Box(id);
        };
    }

    std::vector<std::string> log;
    std::function<void()> duringBox; // runs inside the next box, once
};

TEST_F(MsgBoxNotices, WithNoBoxOpenANoticeComesAtOnce) {
    TMsgBox::WhenNoneOpen(Notice(2));
    EXPECT_EQ(log, (std::vector<std::string>{"notice 2", "box 2 open 1"}));
    EXPECT_EQ(TMsgBox::OpenCount(), 0);
}

TEST_F(MsgBoxNotices, NoticesWaitForTheOpenBoxAndComeOneAtATime) {
    duringBox = [this] {
        TMsgBox::WhenNoneOpen(Notice(2));
        TMsgBox::WhenNoneOpen(Notice(3));
        log.push_back("queued");
    };
    Box(1);
    log.push_back("caller goes on");
    EXPECT_EQ(log, (std::vector<std::string>{"box 1 open 1", "queued", "notice 2", "box 2 open 1",
                                             "notice 3", "box 3 open 1", "caller goes on"}));
    EXPECT_EQ(TMsgBox::OpenCount(), 0);
}

} // namespace
