// The page protocol of TDataView: the construction order (the most derived
// page's OnOpen runs after its widgets exist and before its own steps), the
// six messages, save on destroy by kind, the keys, the close query, the way
// to the document and the message box.

#include "ViewTestSupport.h"

#include "TDataView.h"
#include "TNodeData.h"
#include "WindowMessages.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

// A page as every real page is built: its own widgets in its constructor,
// its own construction steps in InitPage, one control moved to and from the
// document.
class ProtocolPage : public TDataView {
public:
    ProtocolPage(QWidget* owner, const TNodeData* holder, TkResourcen* res)
        : TDataView(owner, holder, res) {
        g_log.push_back("page widgets");
        m_pEdit = new QLineEdit(PageArea());
        m_pEdit->setObjectName(QStringLiteral("m_pEdit"));
        m_pLabel = new QLabel(PageArea());
        m_pLabel->setProperty("Tag", 35); // gets its text like any component
    }
    ~ProtocolPage() override { g_log.push_back("page destroyed"); }

    QLineEdit* m_pEdit;
    QLabel* m_pLabel;
    bool m_bChanged = true;

protected:
    void InitPage() override {
        g_log.push_back("init page");
        // A member a page sets after the first load overwrites it.
        m_bChanged = false;
    }
    void OnNew(TMessage& m) override { g_log.push_back("new " + std::to_string(m.WParam)); }
    void OnSave(TMessage&) override {
        g_log.push_back("save");
        ASSERT_NE(GetDoc(), nullptr);
        GetDoc()->SetTuerrufdauer(static_cast<std::uint16_t>(m_pEdit->text().toUInt()));
    }
    void OnOpen(TMessage& m) override {
        // The page's widgets exist here and have their language texts.
        g_log.push_back("open " + std::to_string(m.WParam) +
                        (m_pLabel ? " label " + m_pLabel->text().toStdString() : " no label"));
        if (TMoxDocument* doc = GetDoc())
            m_pEdit->setText(QString::number(doc->GetTuerrufdauer()));
        m_bChanged = true;
        if (discardInOpen)
            TDataView::Discard(this);
    }
    void OnDelete(TMessage& m) override { g_log.push_back("delete " + std::to_string(m.LParam)); }
    void OnRestore(TMessage&) override { g_log.push_back("restore"); }
    void OnConnectionChanged(TMessage&) override { g_log.push_back("connection"); }
    void OnCloseQuery(bool& canClose) override { canClose = !refuse; }

public:
    bool refuse = false;
    bool discardInOpen = false;
};

class DataViewTest : public PageHostTest {
protected:
    void SetUp() override {
        PageHostTest::SetUp();
        g_log.clear();
    }
    ProtocolPage* Make(std::uint8_t kind) {
        TNodeData holder(kind);
        return TDataView::Create<ProtocolPage>(host.get(), &holder, res.get());
    }
};

TEST_F(DataViewTest, OpenRunsAfterThePagesWidgetsAndBeforeItsOwnSteps) {
    ProtocolPage* page = Make(eSystemKonfig);
    const std::string label = res->GetQText(35).toStdString();
    EXPECT_EQ(g_log,
              (std::vector<std::string>{"page widgets", "open -1 label " + label, "init page"}));
    EXPECT_FALSE(page->m_bChanged);
    EXPECT_EQ(page->m_pEdit->text().toUInt(), doc->GetTuerrufdauer());
    TDataView::Discard(page);
}

TEST_F(DataViewTest, TheHolderIsCopied) {
    auto holder = std::make_unique<TNodeData>(eITKonfig);
    ProtocolPage* page = TDataView::Create<ProtocolPage>(host.get(), holder.get(), res.get());
    holder->SetKind(eSMS);
    holder.reset();
    EXPECT_EQ(page->GetKind(), eITKonfig);
    TDataView::Discard(page);
}

struct MessageRow {
    const char* name;
    std::uint32_t id;
    const char* logged;
};

void PrintTo(const MessageRow& r, std::ostream* os) {
    *os << r.name;
}

class PageMessages : public DataViewTest, public testing::WithParamInterface<MessageRow> {};

TEST_P(PageMessages, EachIdCallsItsOperation) {
    ProtocolPage* page = Make(eSystemKonfig);
    g_log.clear();
    page->Perform(GetParam().id, -1, -1);
    EXPECT_EQ(g_log, std::vector<std::string>{GetParam().logged});
    TDataView::Discard(page);
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, PageMessages,
    testing::Values(MessageRow{"New", WM_NEW, "new -1"}, MessageRow{"Save", WM_SAVE, "save"},
                    MessageRow{"Open", WM_OPEN, "open -1 label Gerätetyp:"},
                    MessageRow{"Delete", WM_DELETE, "delete -1"},
                    MessageRow{"Restore", WM_RESTORE, "restore"},
                    MessageRow{"ConnectionChanged", WM_CONNECTION_CHANGED, "connection"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataViewTest, OtherMessagesReachNoOperation) {
    ProtocolPage* page = Make(eSystemKonfig);
    g_log.clear();
    page->Perform(WM_UPDATE_TREE, 0, 0);
    page->Perform(WM_USER, 0, 0);
    page->Perform(PROGQUIT_OK, 0, 0);
    EXPECT_TRUE(g_log.empty());
    TDataView::Discard(page);
}

TEST_F(DataViewTest, TreePageStoresItselfWhenDestroyed) {
    ProtocolPage* page = Make(eSystemKonfig);
    page->m_pEdit->setText(QStringLiteral("300"));
    g_log.clear();
    TDataView::Destroy(page);
    EXPECT_EQ(g_log, (std::vector<std::string>{"save", "page destroyed"}));
    EXPECT_EQ(doc->GetTuerrufdauer(), 300);
}

TEST_F(DataViewTest, DiscardDoesNotStore) {
    ProtocolPage* page = Make(eSystemKonfig);
    page->m_pEdit->setText(QStringLiteral("300"));
    g_log.clear();
    TDataView::Discard(page);
    EXPECT_EQ(g_log, std::vector<std::string>{"page destroyed"});
    EXPECT_NE(doc->GetTuerrufdauer(), 300);
}

TEST_F(DataViewTest, WizardPageFillsItsHostAndIsStoredByTheHost) {
    ProtocolPage* page = Make(eAssistent);
    EXPECT_TRUE(page->IsAlignClient());
    EXPECT_TRUE(page->isVisible());
    page->m_pEdit->setText(QStringLiteral("300"));
    g_log.clear();
    TDataView::Destroy(page);
    EXPECT_EQ(g_log, std::vector<std::string>{"page destroyed"});
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DataViewTest, HostingDialogPageIsStoredByTheHost) {
    ProtocolPage* page = Make(eKonfigDlg);
    EXPECT_FALSE(page->IsAlignClient());
    g_log.clear();
    TDataView::Destroy(page);
    EXPECT_EQ(g_log, std::vector<std::string>{"page destroyed"});
}

TEST_F(DataViewTest, PageWithoutHolderAlignsRightLoadsAndIsNotStored) {
    ProtocolPage* page = TDataView::Create<ProtocolPage>(host.get(), nullptr, res.get());
    EXPECT_EQ(page->GetKind(), 0);
    EXPECT_FALSE(page->IsAlignClient());
    EXPECT_EQ(g_log[1].rfind("open -1", 0), 0u);
    EXPECT_TRUE(page->findChild<QLabel*>(QStringLiteral("m_pLabelTypTxt"))->isHidden());
    g_log.clear();
    TDataView::Destroy(page);
    EXPECT_EQ(g_log, std::vector<std::string>{"page destroyed"});
}

TEST_F(DataViewTest, PageOutlivingTheDocumentDoesNotStore) {
    ProtocolPage* page = Make(eSystemKonfig);
    SetViewHost(nullptr); // the document was released
    g_log.clear();
    TDataView::Destroy(page);
    EXPECT_EQ(g_log, std::vector<std::string>{"page destroyed"});
}

TEST_F(DataViewTest, InsertAndDeleteKeysSendNewAndDelete) {
    ProtocolPage* page = Make(eSystemKonfig);
    g_log.clear();
    QKeyEvent insert(QEvent::KeyPress, Qt::Key_Insert, Qt::NoModifier);
    QCoreApplication::sendEvent(page, &insert);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(page, &del);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(page, &other);
    EXPECT_EQ(g_log, (std::vector<std::string>{"new -1", "delete -1"}));
    // The key is not used up: the host sees it too.
    EXPECT_FALSE(del.isAccepted());
    TDataView::Discard(page);
}

TEST_F(DataViewTest, KeysOnThePlainBaseChangeNothing) {
    TNodeData holder(eKTXKonfig);
    TDataView* page = TDataView::Create<TDataView>(host.get(), &holder, res.get());
    for (auto key : {Qt::Key_Insert, Qt::Key_Delete}) {
        QKeyEvent ev(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(page, &ev);
    }
    EXPECT_FALSE(doc->IsModified());
    TDataView::Destroy(page);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DataViewTest, CloseQueryAsksThePage) {
    ProtocolPage* page = Make(eSystemKonfig);
    EXPECT_TRUE(page->CloseQuery());
    page->refuse = true;
    EXPECT_FALSE(page->CloseQuery());
    TDataView::Discard(page);
}

TEST_F(DataViewTest, GetDocIsTheHostsDocument) {
    ProtocolPage* page = Make(eSystemKonfig);
    EXPECT_EQ(page->GetDoc(), doc.get());
    SetViewHost(nullptr);
    EXPECT_EQ(page->GetDoc(), nullptr);
    SetViewHost(this);
    TDataView::Discard(page);
}

TEST_F(DataViewTest, ShowMsgUsesTheTextAndTheProgramsCaption) {
    ProtocolPage* page = Make(eSystemKonfig);
    EXPECT_EQ(page->ShowMsg(1003, mb::kOk | mb::kIconStop), mb::kIdOk);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].textId, 1003);
    EXPECT_EQ(boxes[0].text, res->GetQText(1003));
    EXPECT_EQ(boxes[0].caption, res->GetQText(1002));
    EXPECT_EQ(boxes[0].flags, 16u);
    TDataView::Discard(page);
}

TEST_F(DataViewTest, CheckInputCleansVisibleNumberFields) {
    ProtocolPage* page = Make(eSystemKonfig);
    page->show();
    QObject::connect(page->m_pEdit, &QLineEdit::textChanged, page,
                     [page] { page->CheckInput(page->m_pEdit); });
    page->m_pEdit->setText(QStringLiteral("12a3"));
    EXPECT_EQ(page->m_pEdit->text(), QStringLiteral("123"));
    // Decimal point and sign are refused too.
    page->m_pEdit->setText(QStringLiteral("-1.5"));
    EXPECT_EQ(page->m_pEdit->text(), QStringLiteral("15"));
    // A field that is not showing is left alone.
    page->m_pEdit->hide();
    page->m_pEdit->setText(QStringLiteral("9x"));
    EXPECT_EQ(page->m_pEdit->text(), QStringLiteral("9x"));
    TDataView::Discard(page);
}

TEST_F(DataViewTest, PageDiscardedFromItsOwnOperationGoesAfterIt) {
    // A host that reacts to a page's call by replacing the page must not
    // free it under its own handler: the page goes once it returned.
    ProtocolPage* page = Make(eSystemKonfig);
    page->discardInOpen = true;
    g_log.clear();
    page->Perform(WM_OPEN, -1, -1);
    EXPECT_EQ(g_log.back().rfind("open", 0), 0u); // still whole after the call
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(g_log.back(), "page destroyed");
}

TEST_F(DataViewTest, HandlerRunningIsKnownWhileAnOperationRuns) {
    ProtocolPage* page = Make(eSystemKonfig);
    bool inHandler = false;
    QObject::connect(page->m_pEdit, &QLineEdit::textChanged, page,
                     [&] { inHandler = TDataView::IsAnyHandlerRunning(); });
    doc->SetTuerrufdauer(300);
    page->Perform(WM_OPEN, -1, -1); // its OnOpen sets the edit's text
    EXPECT_TRUE(inHandler);
    EXPECT_FALSE(TDataView::IsAnyHandlerRunning());
    TDataView::Discard(page);
}

TEST_F(DataViewTest, QueuedMessageToAPageThatWentIsDropped) {
    ProtocolPage* page = Make(eSystemKonfig);
    const auto address = page->Address();
    TDataView::Discard(page);
    g_log.clear();
    EXPECT_FALSE(address.Post(WM_OPEN, -1, -1));
    QCoreApplication::processEvents();
    EXPECT_TRUE(g_log.empty());
}

} // namespace
