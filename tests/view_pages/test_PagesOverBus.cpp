// The read and write pages in the real main window on the installation bus:
// the window hosts the real bus control, its transfer controller talks to
// the box simulator behind a pseudo-terminal as the bus interface, and the
// pages are the ones the window's tree shows. The buttons follow the link
// chosen in the link command, a write reports success and failure with its
// texts, a read that changes the door-interface type rebuilds the tree once
// the read handler has returned, and a save question answered with Cancel
// changes nothing, neither here nor in the box.
//
// Failures come from the box (acknowledgements with a wrong block number),
// so no run waits for a time-out.

#include "BoxSimProcess.h"
#include "BusControlSetup.h"
#include "DataPageTextIds.h"
#include "IMainTransfer.h"
#include "MainTextIds.h"
#include "MoxDaten.h"
#include "PageFixture.h"
#include "PermSettings.h"
#include "TDataPages.h"
#include "TFileDialog.h"
#include "TFormReadData.h"
#include "TFormWriteData.h"
#include "TKtxImage.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TMsgBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBusCom = 2; // the bus interface on COM2

class PagesOverBus : public PageTestBase {
protected:
    PagesOverBus() : PageTestBase("pages-bus", TextSource::Program) {}

    void SetUp() override {
        PageTestBase::SetUp();
        if (HasFatalFailure())
            return;
        std::string error;
        ASSERT_TRUE(m_Sim.Start(&error)) << error;
        SetAssiMode(false);
        SetComDevice(kBusCom, m_Sim.PtyPath());
        SetComPort(kBusCom);
        ASSERT_TRUE(HostBusControl(MOX_QUELL32, *m_pSettings));

        TFileDialog::SetHandlerForTesting([](const TFileDialog::Request&) { return QString(); });
        TDataPages::Register();

        TMoxMainSeams seams;
        // The link command sets the port chosen here, as the dialog's OK does.
        seams.runPortDialog = [this](TMoxMain&) {
            SetComPort(m_NextPort);
            return true;
        };
        m_pMain = ShowMainWindowOnBus(seams);
        ASSERT_NE(m_pMain->GetDataTransfer(), nullptr);
        ASSERT_TRUE(m_pMain->GetDataTransfer()->IsConnected());
    }

    void TearDown() override {
        m_pMain.reset();
        TDataPages::Unregister();
        TFileDialog::SetHandlerForTesting({});
        m_Sim.Stop();
        PageTestBase::TearDown();
    }
    int BoxAnswer(const TMsgBox::Request& r) override {
        if (auto a = m_Answers.find(r.textId); a != m_Answers.end())
            return a->second;
        return YesOrOk(r);
    }

    template <class Page> Page* Open(std::uint8_t kind) {
        EXPECT_TRUE(m_pMain->SelectNodeKind(kind));
        m_pMain->FlushTreeChange();
        auto* page = dynamic_cast<Page*>(m_pMain->GetAktView());
        EXPECT_NE(page, nullptr);
        return page;
    }
    static QPushButton* StartOf(QWidget* page) {
        return page->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"));
    }
    static QString MessageOf(QWidget* page) {
        return page->findChild<QLabel*>(QStringLiteral("m_pMessage"))->text();
    }
    // The link command with this port chosen.
    void ChoosePort(int port) {
        m_NextPort = port;
        m_pMain->OnPortDialog();
    }
    static void ProcessEvents() {
        for (int i = 0; i < 3; ++i)
            QApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::string Sim(const std::string& line, const std::string& reply = "OK") {
        return m_Sim.Command(line, reply).value_or("(no reply)");
    }
    // The box holds this configuration image.
    void LoadBox(const std::vector<std::uint8_t>& image) {
        const std::string path = (m_Dir / "box.bin").string();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
        out.close();
        ASSERT_EQ(Sim("load " + path, "LOADED").rfind("LOADED", 0), 0u);
    }
    static std::vector<std::uint8_t> ImageOf(const TMoxDocument& doc) {
        MoxDaten copy = *doc.GetDaten();
        std::vector<std::uint8_t> image(TKtxImage::kSize);
        TKtxImage::Build(&copy, image.data());
        return image;
    }
    QString Text(int id) const { return m_pMain->GetRes()->GetQText(id); }
    TMoxDocument& Doc() { return *m_pMain->GetDoc(); }

    boxsim::BoxSimProcess m_Sim{MOX_BOXSIM, {"--quiet"}};
    std::unique_ptr<TMoxMain> m_pMain;
    std::map<int, int> m_Answers;
    int m_NextPort = kBusCom;
};

TEST_F(PagesOverBus, ButtonsFollowTheLinkCommand) {
    for (std::uint8_t kind : {eDatenLesen, eDatenSchreiben}) {
        SCOPED_TRACE(kind);
        ChoosePort(kBusCom);
        QWidget* page = Open<TDataView>(kind);
        ASSERT_NE(page, nullptr);
        const int lineId = kind == eDatenLesen ? ptxt::kReadLink : ptxt::kWriteLink;
        const QString line = Text(lineId) + QStringLiteral("via LumenBus");
        EXPECT_EQ(page->findChild<QLabel*>(QStringLiteral("m_pLabel_rw"))->text(), line);
        EXPECT_TRUE(StartOf(page)->isEnabled());

        // No link: the bus control lets the port go and the button follows;
        // the link line keeps its text.
        ChoosePort(ePortNone);
        EXPECT_FALSE(m_pMain->GetDataTransfer()->IsConnected());
        EXPECT_FALSE(StartOf(page)->isEnabled());
        EXPECT_EQ(page->findChild<QLabel*>(QStringLiteral("m_pLabel_rw"))->text(), line);

        // Back on the bus interface.
        ChoosePort(kBusCom);
        EXPECT_TRUE(m_pMain->GetDataTransfer()->IsConnected());
        EXPECT_TRUE(StartOf(page)->isEnabled());
    }
    EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(PagesOverBus, WriteReportsSuccessAndTheBoxKeepsTheDocument) {
    ASSERT_TRUE(Doc().SetTuerrufdauer(333));
    auto* write = Open<TFormWriteData>(eDatenSchreiben);
    ASSERT_NE(write, nullptr);
    const size_t mark = m_Sim.Mark();
    StartOf(write)->click();
    EXPECT_EQ(MessageOf(write), Text(ptxt::kWriteOk));
    EXPECT_FALSE(StartOf(write)->isEnabled()) << "one write per visit";
    EXPECT_TRUE(m_Boxes.empty()) << m_Boxes.front().textId;
    ASSERT_TRUE(m_Sim.Settle());
    EXPECT_GE(m_Sim.Count("BLOCK ch 0 cmd 2 ", mark), 1u);
    const std::vector<std::uint8_t> written = ImageOf(Doc());

    // Changed here and not saved: a read from the read page brings the
    // box's values back, with the same device types and so the same page.
    ASSERT_TRUE(Doc().SetTuerrufdauer(444));
    m_Answers[mtxt::kAskSave] = mb::kIdNo;
    auto* read = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(read, nullptr);
    const QPointer<TFormReadData> alive(read);
    StartOf(read)->click();
    ProcessEvents();
    ASSERT_TRUE(alive);
    EXPECT_EQ(m_pMain->GetAktView(), read);
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kAskSave});
    EXPECT_EQ(MessageOf(read), Text(ptxt::kReadOk));
    EXPECT_FALSE(StartOf(read)->isEnabled());
    EXPECT_EQ(Doc().GetTuerrufdauer(), 333);
    EXPECT_EQ(ImageOf(Doc()), written);
    EXPECT_TRUE(Doc().IsReadFromBox());
}

TEST_F(PagesOverBus, WriteReportsAFailureWithItsText) {
    ASSERT_EQ(Sim("wrongblock always"), "OK");
    auto* write = Open<TFormWriteData>(eDatenSchreiben);
    ASSERT_NE(write, nullptr);
    StartOf(write)->click();
    ProcessEvents();
    ASSERT_EQ(BoxIds(), std::vector<int>{ptxt::kWriteFailed});
    EXPECT_EQ(m_Boxes[0].text, Text(ptxt::kWriteFailed));
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_TRUE(MessageOf(write).isEmpty());
    EXPECT_TRUE(StartOf(write)->isEnabled()) << "a failed write may be tried again";

    // Once the box behaves, the same page writes.
    ASSERT_EQ(Sim("wrongblock off"), "OK");
    m_Boxes.clear();
    StartOf(write)->click();
    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(MessageOf(write), Text(ptxt::kWriteOk));
}

TEST_F(PagesOverBus, ReadThatChangesTheDoorInterfaceRebuildsTheTreeAfterwards) {
    ASSERT_EQ(Doc().GetTypeIT(), 1);
    LoadBox(ImageWithTypes(2));
    auto* read = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(read, nullptr);
    const QPointer<TFormReadData> alive(read);
    StartOf(read)->click();
    // The page outlives its handler; the rebuild follows.
    ASSERT_TRUE(alive);
    EXPECT_EQ(BoxIds(), std::vector<int>{ptxt::kReadOk});
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconInformation);
    ProcessEvents();
    EXPECT_FALSE(alive);
    EXPECT_EQ(Doc().GetTypeIT(), 2);
    EXPECT_TRUE(Doc().IsReadFromBox());
    // The new tree is the one of the new door interface: its read page
    // starts afresh.
    m_pMain->FlushTreeChange();
    EXPECT_NE(m_pMain->GetAktView(), nullptr);
    auto* again = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(StartOf(again)->isEnabled());
    EXPECT_TRUE(MessageOf(again).isEmpty());
}

TEST_F(PagesOverBus, ACancelledSaveQuestionChangesNothing) {
    LoadBox(ImageWithTypes(2));
    ASSERT_TRUE(Doc().SetTuerrufdauer(77)); // modified: the question is asked
    const std::vector<std::uint8_t> before = ImageOf(Doc());
    m_Answers[mtxt::kAskSave] = mb::kIdCancel;
    auto* read = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(read, nullptr);
    const QPointer<TFormReadData> alive(read);
    const size_t mark = m_Sim.Mark();
    StartOf(read)->click();
    ProcessEvents();
    EXPECT_EQ(BoxIds(), std::vector<int>{mtxt::kAskSave});
    ASSERT_TRUE(alive);
    EXPECT_EQ(m_pMain->GetAktView(), read);
    EXPECT_TRUE(StartOf(read)->isEnabled());
    EXPECT_TRUE(MessageOf(read).isEmpty());
    EXPECT_EQ(ImageOf(Doc()), before);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_FALSE(Doc().IsReadFromBox());
    EXPECT_EQ(Doc().GetTypeIT(), 1);
    // Nothing was asked of the box.
    ASSERT_EQ(Sim("ping", "PONG"), "PONG");
    EXPECT_EQ(m_Sim.Count("BLOCK ", mark), 0u);
}

// A box that holds no configuration answers the read with nothing, or with
// bytes in which the reader finds no item: from the read page and from the
// read command the read fails with its text, and the installer's edits stay
// as they were, not replaced by the defaults.
struct EmptyBoxRow {
    const char* name;
    bool clear;                      // the box's store emptied
    std::vector<std::uint8_t> image; // else this is what it holds
    bool fromCommand;                // the read command, else the read page

    friend void PrintTo(const EmptyBoxRow& row, std::ostream* os) { *os << row.name; }
};

class PagesOverBusEmptyBox : public PagesOverBus,
                             public testing::WithParamInterface<EmptyBoxRow> {};

TEST_P(PagesOverBusEmptyBox, ReadFailsAndTheDocumentStaysAsItWas) {
    const EmptyBoxRow& row = GetParam();
    if (row.clear)
        ASSERT_EQ(Sim("clear"), "OK");
    else
        LoadBox(row.image);
    ASSERT_TRUE(Doc().SetTuerrufdauer(333));
    const std::vector<std::uint8_t> before = ImageOf(Doc());
    m_Answers[mtxt::kAskSave] = mb::kIdNo;
    auto* read = Open<TFormReadData>(eDatenLesen);
    ASSERT_NE(read, nullptr);
    const size_t mark = m_Sim.Mark();
    if (row.fromCommand)
        m_pMain->OnReadBox();
    else
        StartOf(read)->click();
    ProcessEvents();
    ASSERT_TRUE(m_Sim.Settle());
    EXPECT_GE(m_Sim.Count("BLOCK ch 0 cmd 5 ", mark), 1u) << "the box was asked";
    ASSERT_EQ(BoxIds(), (std::vector<int>{mtxt::kAskSave, mtxt::kReadFailed}));
    EXPECT_EQ(m_Boxes[1].flags, mb::kOk | mb::kIconStop);
    EXPECT_EQ(ImageOf(Doc()), before);
    EXPECT_EQ(Doc().GetTuerrufdauer(), 333);
    EXPECT_TRUE(Doc().IsModified()) << "the edits are still unsaved";
    EXPECT_FALSE(Doc().IsReadFromBox());
    ASSERT_EQ(m_pMain->GetAktView(), read);
    EXPECT_TRUE(MessageOf(read).isEmpty());
    EXPECT_TRUE(StartOf(read)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PagesOverBusEmptyBox,
    testing::Values(EmptyBoxRow{"EmptyStoreReadPage", true, {}, false},
                    EmptyBoxRow{"EmptyStoreReadCommand", true, {}, true},
                    EmptyBoxRow{"OnlyZerosReadPage", false, std::vector<std::uint8_t>(1024, 0x00),
                                false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
