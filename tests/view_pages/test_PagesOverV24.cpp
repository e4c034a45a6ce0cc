// The read and write pages against the box simulator on the direct V.24
// cable: the program's transfer form with its own serial port on the
// simulator's pseudo-terminal, the document and the pages as the main
// window wires them. The buttons follow the link, a write reports success
// and failure with its texts, a read that changes the door-interface type
// rebuilds the tree after the read handler returned, and a save question
// answered with Cancel changes nothing.
//
// The form's clock is a fake one that no test moves, so no time-out can
// strike while a process is merely slow; failures come from the box (three
// frames with a bad CRC in a row); a guard cancels a run that never ends.

#include "PageFixture.h"

#include "BoxSimProcess.h"
#include "ComPortDefs.h"
#include "DataPageTextIds.h"
#include "FakeClock.h"
#include "FormTransfer.h"
#include "MessageReceiver.h"
#include "PermSettings.h"
#include "TDataTransfer.h"
#include "TFormReadData.h"
#include "TFormWriteData.h"
#include "TKtxImage.h"
#include "WindowMessages.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <fstream>
#include <iterator>

namespace {

class PagesOverV24 : public PageTestBase {
protected:
    static constexpr int kGuardMs = 20000;

    PagesOverV24() : PageTestBase("pages-v24") {}

    void SetUp() override {
        PageTestBase::SetUp();
        if (HasFatalFailure())
            return;
        std::string error;
        ASSERT_TRUE(m_Sim.Start(&error)) << error;
        SetComDevice(1, m_Sim.PtyPath());
        SetComPort(ePortCom1);

        TDataTransferSeams seams;
        seams.clock = &m_Clock;
        m_pForm = std::make_unique<TDataTransfer>(nullptr, m_pRes.get(), seams);
        m_pMain = std::make_unique<mox::platform::MessageReceiver>(
            [this](const mox::platform::WindowMessage& m) { return OnMainMessage(m); });
        m_pForm->SetOwnerAddress(m_pMain->Address());
        m_pTransfer = std::make_unique<FormTransfer>(*m_pForm);
        m_pForm->UpdatePort();

        m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), m_pTransfer.get());
        m_Host.doc = m_pDoc.get();
        SetViewHost(&m_Host);
        m_pOwner = std::make_unique<QWidget>();
        m_pOwner->resize(640, 480);

        m_Guard.setSingleShot(true);
        m_Guard.setInterval(kGuardMs);
        QObject::connect(&m_Guard, &QTimer::timeout, [this] {
            ADD_FAILURE() << "the run never ended";
            m_pForm->OnCancel();
        });
    }

    void TearDown() override {
        m_Guard.stop();
        DropPage();
        RunQueued();
        m_pOwner.reset();
        SetViewHost(nullptr);
        m_pDoc.reset();
        m_pForm.reset();
        m_pTransfer.reset();
        m_pMain.reset();
        m_Sim.Stop();
        PageTestBase::TearDown();
    }

    template <class Page> Page* MakePage(std::uint8_t kind) {
        m_Holder = std::make_unique<TNodeData>(kind);
        Page* page = TDataView::Create<Page>(m_pOwner.get(), m_pTransfer.get(), m_Holder.get(),
                                             m_pRes.get());
        m_Host.page = page;
        m_pOwner->show();
        return page;
    }
    void DropPage() {
        TDataView* old = m_Host.page;
        m_Host.page = nullptr;
        TDataView::Destroy(old);
    }
    static void RunQueued() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Clicks the page's start button: one modal run, under the guard.
    void Start(QWidget* page) {
        auto* start = page->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"));
        ASSERT_NE(start, nullptr);
        ASSERT_TRUE(start->isEnabled());
        m_Guard.start();
        start->click();
        m_Guard.stop();
    }
    std::string Sim(const std::string& line, const std::string& reply = "OK") {
        return m_Sim.Command(line, reply).value_or("(no reply)");
    }
    static std::vector<std::uint8_t> ImageOf(const TMoxDocument& doc) {
        MoxDaten copy = *doc.GetDaten();
        std::vector<std::uint8_t> image(TKtxImage::kSize);
        TKtxImage::Build(&copy, image.data());
        return image;
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

    boxsim::BoxSimProcess m_Sim{MOX_BOXSIM, {"--v24", "--quiet"}};
    FakeClock m_Clock;
    std::unique_ptr<TDataTransfer> m_pForm;
    std::unique_ptr<FormTransfer> m_pTransfer;
    std::unique_ptr<mox::platform::MessageReceiver> m_pMain;
    FakePageHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pOwner;
    std::unique_ptr<TNodeData> m_Holder;
    std::vector<int> m_Results;
    QTimer m_Guard;

private:
    std::intptr_t OnMainMessage(const mox::platform::WindowMessage& m) {
        switch (m.id) {
        case WM_TRANSFER_RESULT:
            m_Results.push_back(static_cast<int>(m.wParam));
            m_pForm->CloseTransferForm();
            break;
        case WM_NEED_TRANSFER_DATA:
            m_pDoc->OnNeedTransferData();
            break;
        case WM_MORE_TRANSFER_DATA:
            m_pDoc->MoreAnlDataToComPort();
            break;
        default:
            break;
        }
        return 0;
    }
};

TEST_F(PagesOverV24, ButtonsFollowTheSerialLink) {
    ASSERT_TRUE(m_pTransfer->IsConnected());
    TFormWriteData* write = MakePage<TFormWriteData>(eDatenSchreiben);
    EXPECT_EQ(write->findChild<QLabel*>(QStringLiteral("m_pLabel_rw"))->text(),
              m_pRes->GetQText(ptxt::kWriteLink) + QStringLiteral("via COM-Port"));
    auto* start = write->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"));
    EXPECT_TRUE(start->isEnabled());

    // The link set to none closes the port; back on COM1 it opens again.
    SetComPort(ePortNone);
    m_pTransfer->UpdatePort();
    write->Perform(WM_CONNECTION_CHANGED, 0, 0);
    EXPECT_FALSE(start->isEnabled());
    SetComPort(ePortCom1);
    m_pTransfer->UpdatePort();
    write->Perform(WM_CONNECTION_CHANGED, 0, 0);
    EXPECT_TRUE(start->isEnabled());
}

TEST_F(PagesOverV24, WriteReportsSuccessAndTheBoxHoldsTheDocument) {
    ASSERT_TRUE(m_pDoc->SetTuerrufdauer(450));
    ASSERT_TRUE(m_pDoc->SetRnr("0301234567"));
    TFormWriteData* write = MakePage<TFormWriteData>(eDatenSchreiben);
    Start(write);
    EXPECT_EQ(m_Results, std::vector<int>{1});
    EXPECT_EQ(write->findChild<QLabel*>(QStringLiteral("m_pMessage"))->text(),
              m_pRes->GetQText(ptxt::kWriteOk));
    EXPECT_FALSE(write->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"))->isEnabled());
    EXPECT_TRUE(m_Boxes.empty());

    // What the box took, read back by a fresh document through the read
    // page, is the written document.
    const std::vector<std::uint8_t> image = ImageOf(*m_pDoc);
    DropPage();
    m_pDoc = std::make_unique<TMoxDocument>(&m_Host, m_pRes.get(), m_pTransfer.get());
    m_Host.doc = m_pDoc.get();
    ASSERT_NE(ImageOf(*m_pDoc), image);
    TFormReadData* read = MakePage<TFormReadData>(eDatenLesen);
    Start(read);
    EXPECT_EQ(m_Results, (std::vector<int>{1, 1}));
    EXPECT_EQ(ImageOf(*m_pDoc), image);
    EXPECT_TRUE(m_pDoc->IsReadFromBox());
}

TEST_F(PagesOverV24, WriteReportsAFailureWithItsText) {
    ASSERT_EQ(Sim("badcrc 3"), "OK");
    TFormWriteData* write = MakePage<TFormWriteData>(eDatenSchreiben);
    Start(write);
    EXPECT_EQ(m_Results, std::vector<int>{0});
    ASSERT_EQ(BoxIds(), std::vector<int>{ptxt::kWriteFailed});
    EXPECT_EQ(m_Boxes[0].text, m_pRes->GetQText(ptxt::kWriteFailed));
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_TRUE(write->findChild<QLabel*>(QStringLiteral("m_pMessage"))->text().isEmpty());
}

TEST_F(PagesOverV24, ReadThatChangesTheDoorInterfaceRebuildsTheTreeAfterwards) {
    m_pDoc->SetTypeIT(1);
    LoadBox(ImageWithTypes(2));
    TFormReadData* read = MakePage<TFormReadData>(eDatenLesen);
    const QPointer<TFormReadData> alive(read);
    Start(read);
    // The page is whole when the handler returns; the rebuild comes after.
    ASSERT_TRUE(alive);
    EXPECT_EQ(m_Results, std::vector<int>{1});
    EXPECT_EQ(BoxIds(), std::vector<int>{ptxt::kReadOk});
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"query", "update"}));
    RunQueued();
    EXPECT_FALSE(alive);
    EXPECT_EQ(m_Host.log, (std::vector<std::string>{"query", "update", "rebuild"}));
    EXPECT_EQ(m_pDoc->GetTypeIT(), 2);
}

TEST_F(PagesOverV24, ACancelledSaveQuestionChangesNothing) {
    LoadBox(ImageWithTypes(2));
    m_pDoc->SetTypeIT(1);
    const std::vector<std::uint8_t> before = ImageOf(*m_pDoc);
    m_Host.allowReplace = false;
    TFormReadData* read = MakePage<TFormReadData>(eDatenLesen);
    const size_t mark = m_Sim.Mark();
    Start(read);
    RunQueued();
    EXPECT_TRUE(m_Results.empty());
    EXPECT_EQ(ImageOf(*m_pDoc), before);
    EXPECT_FALSE(m_pDoc->IsReadFromBox());
    EXPECT_TRUE(m_Boxes.empty());
    EXPECT_EQ(m_Host.log, std::vector<std::string>{"query"});
    // Nothing was asked of the box.
    ASSERT_EQ(Sim("ping", "PONG"), "PONG");
    EXPECT_EQ(m_Sim.Count("BLOCK ch 0 cmd 5 ", mark), 0u);
}

// A box that holds no configuration answers the read with nothing, or with
// bytes in which the reader finds no item: the read fails with its text and
// the installer's edits stay as they were, not replaced by the defaults.
struct EmptyBoxRow {
    const char* name;
    bool clear;                     // the box's store emptied
    std::vector<std::uint8_t> image; // else this is what it holds

    friend void PrintTo(const EmptyBoxRow& row, std::ostream* os) { *os << row.name; }
};

class PagesOverV24EmptyBox : public PagesOverV24,
                             public testing::WithParamInterface<EmptyBoxRow> {};

TEST_P(PagesOverV24EmptyBox, ReadFailsAndTheDocumentStaysAsItWas) {
    const EmptyBoxRow& row = GetParam();
    if (row.clear)
        ASSERT_EQ(Sim("clear"), "OK");
    else
        LoadBox(row.image);
    m_pDoc->SetTuerrufdauer(333);
    m_pDoc->SetRnr("0301234567");
    const std::vector<std::uint8_t> before = ImageOf(*m_pDoc);
    TFormReadData* read = MakePage<TFormReadData>(eDatenLesen);
    Start(read);
    RunQueued();
    EXPECT_EQ(m_Results, std::vector<int>{1}) << "the exchange itself ends well";
    ASSERT_EQ(BoxIds(), std::vector<int>{ptxt::kReadFailed});
    EXPECT_EQ(m_Boxes[0].flags, mb::kOk | mb::kIconStop);
    EXPECT_EQ(ImageOf(*m_pDoc), before);
    EXPECT_EQ(m_pDoc->GetTuerrufdauer(), 333);
    EXPECT_TRUE(m_pDoc->IsModified()) << "the edits are still unsaved";
    EXPECT_FALSE(m_pDoc->IsReadFromBox());
    EXPECT_TRUE(read->findChild<QLabel*>(QStringLiteral("m_pMessage"))->text().isEmpty());
    EXPECT_TRUE(read->findChild<QPushButton*>(QStringLiteral("m_pStartBtn"))->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PagesOverV24EmptyBox,
    testing::Values(EmptyBoxRow{"EmptyStore", true, {}},
                    EmptyBoxRow{"OnlyZeros", false, std::vector<std::uint8_t>(1024, 0x00)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

