// The event-log pages against the box simulator on the direct V.24 cable:
// the dump the box holds reaches the file byte for byte, the listing is the
// decoder's listing of it, and a read the box garbles stores nothing. The
// firmware page's file reaches the box through the download run.

#include "BoxPageFixture.h"

#include "DownloadFileGen.h"
#include "DumpBuilder.h"
#include "EventLogDecoder.h"
#include "MoxQString.h"
#include "RigFirmware.h"
#include "TFormELM.h"
#include "TFormEventLog.h"
#include "TFormFirmware.h"
#include "V24Rig.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <fstream>
#include <iterator>

namespace {

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

mox::test::DumpBuilder Events() {
    using namespace mox::test;
    DumpBuilder b;
    b.Header(0, 0xFF).Header(1, 0x00);
    b.Record(1, 1, 18000).Record(1, 3, 68187600, {1}).Record(1, 5, 979565400);
    b.Record(0, 4, 946702799, {12});
    return b;
}

class BoxPagesOverV24 : public BoxPageTest {
protected:
    void SetUp() override {
        BoxPageTest::SetUp();
        m_pRig = std::make_unique<V24Rig>(Res());
        std::string error;
        ASSERT_TRUE(m_pRig->Start(&error)) << error;
        ASSERT_TRUE(m_pRig->Transfer()->IsConnected());
    }
    void TearDown() override {
        DropPage();
        m_pRig.reset();
        BoxPageTest::TearDown();
    }
    template <class Page> Page* Make(std::uint8_t kind) {
        m_Holder = std::make_unique<TNodeData>(kind);
        Page* page =
            TDataView::Create<Page>(m_pOwner.get(), m_pRig->Transfer(), m_Holder.get(), Res());
        Keep(page);
        return page;
    }
    // The box holds this event log.
    void LoadLog(const std::string& bytes) {
        const std::filesystem::path path = TempFile("box-eventlog.bin");
        std::ofstream(path, std::ios::binary) << bytes;
        ASSERT_EQ(m_pRig->Sim("eventlog " + path.string()), "OK");
    }

    std::unique_ptr<V24Rig> m_pRig;
};

} // namespace

TEST_F(BoxPagesOverV24, EventLogPageStoresTheBoxDump) {
    const std::string dump = Events().AsString();
    LoadLog(dump);
    auto* page = Make<TFormEventLog>(eEventLogLesen);
    m_DialogAnswers.push_back(QString::fromStdString(TempFile("read.log").string()));
    Find<QPushButton>(page, "BitBtn1")->click();
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    EXPECT_EQ(m_pRig->results, std::vector<int>{1});
    EXPECT_EQ(BoxIds(), std::vector<int>{127});
    EXPECT_EQ(ReadAll(TempFile("read.log")), dump);
}

TEST_F(BoxPagesOverV24, ListingPageShowsTheDecodedBoxLog) {
    const mox::test::DumpBuilder events = Events();
    LoadLog(events.AsString());
    auto* page = Make<TFormELM>(eEventLogELM);
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    EXPECT_EQ(m_pRig->results, std::vector<int>{1});

    mox::EventLogDecoder decoder({});
    std::string listing;
    ASSERT_TRUE(decoder.Decode(events.Get(), listing));
    m_DialogAnswers.push_back(QString::fromStdString(TempFile("listing.log").string()));
    Find<QPushButton>(page, "m_pSaveAsBtn")->click();
    EXPECT_EQ(ReadAll(TempFile("listing.log")), listing);
}

TEST_F(BoxPagesOverV24, GarbledReadStoresNothingAndSaysSo) {
    LoadLog(Events().AsString());
    ASSERT_EQ(m_pRig->Sim("badcrc 3"), "OK");
    auto* page = Make<TFormEventLog>(eEventLogLesen);
    m_DialogAnswers.push_back(QString::fromStdString(TempFile("bad.log").string()));
    Find<QPushButton>(page, "BitBtn1")->click();
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    ASSERT_EQ(m_pRig->results.size(), 1u);
    EXPECT_NE(m_pRig->results[0], 1);
    EXPECT_FALSE(std::filesystem::exists(TempFile("bad.log")));
    // The installer hears why there is no file, in the words of a failed
    // event-log read.
    ASSERT_EQ(BoxIds(), std::vector<int>{133});
    EXPECT_EQ(m_Boxes[0].text, Res()->GetQText(133));
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
}

TEST_F(BoxPagesOverV24, GarbledReadLeavesTheListingWithText133) {
    LoadLog(Events().AsString());
    ASSERT_EQ(m_pRig->Sim("badcrc 3"), "OK");
    auto* page = Make<TFormELM>(eEventLogELM);
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    EXPECT_EQ(Find<QLabel>(page, "m_szStatus")->text(), Res()->GetQText(133));
    EXPECT_TRUE(Find<QPlainTextEdit>(page, "m_pELMRichText")->toPlainText().isEmpty());
}

TEST_F(BoxPagesOverV24, FirmwarePageLoadsTheFileIntoTheBox) {
    TDataTransfer& form = *m_pRig->Form();
    auto* page = Make<TFormFirmware>(eFirmwareSchreiben);
    dlgen::DownloadFileRecipe recipe;
    recipe.blocks = 4;
    const dlgen::Bytes file = dlgen::MakeDownloadFile(recipe);
    const std::string path = TempFile("fw.bin").string();
    ASSERT_TRUE(dlgen::WriteFile(path, file));
    m_DialogAnswers.push_back(QString::fromStdString(path));
    Find<QPushButton>(page, "BitBtn1")->click();
    std::string kept;
    ASSERT_TRUE(rigfw::GetFileName(form, kept));
    EXPECT_EQ(kept, path);
    ASSERT_TRUE(Find<QPushButton>(page, "m_pDownloadBtn")->isEnabled());

    // Inside the modal run, as the user would: the start delay passes, the
    // devices' headers come in, then the download is started in the form.
    bool started = false;
    QTimer user;
    user.setInterval(5);
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (started)
            return;
        rigfw::PassStartDelay(form, m_pRig->Clock());
        if (rigfw::ReadyToStart(form)) {
            started = true;
            rigfw::Start(form);
        }
    });
    user.start();
    Find<QPushButton>(page, "m_pDownloadBtn")->click();
    user.stop();

    EXPECT_TRUE(started);
    EXPECT_EQ(m_pRig->results, std::vector<int>{1});
    EXPECT_TRUE(rigfw::Succeeded(form));
    EXPECT_EQ(m_pRig->questions.size(), 1u);
    const std::string saved = TempFile("box.img").string();
    ASSERT_EQ(m_pRig->Sim("fwsave box " + saved, "FWSAVED"),
              "FWSAVED " + std::to_string(file.size()));
    std::ifstream in(saved, std::ios::binary);
    EXPECT_EQ(dlgen::Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()),
              file);

    // The page of the next visit shows the file the run was given.
    DropPage();
    auto* again = Make<TFormFirmware>(eFirmwareSchreiben);
    EXPECT_EQ(again->GetKeptFileName(), path);
    EXPECT_EQ(again->GetDeviceResult(), 0);
}
