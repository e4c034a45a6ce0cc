#pragma once
// TDataView: the base of every configuration page. A page holds no
// configuration data: it loads its controls from the document when told to
// open and stores them when told to save. The base fixes the construction
// and destruction order, the page protocol of six window messages with one
// virtual operation each, the Insert and Delete keys, the device header of
// the device folders, the way to the document and the message box.
//
// Construction order: a page is made with TDataView::Create<Page>(...), never
// with a bare new. Create builds the page's widgets (base and page
// constructors), then applies the language texts, aligns the page, sends it
// WM_OPEN so that the most derived OnOpen loads the widgets that now exist,
// shows the device header, and only then runs the page's InitPage, its own
// construction steps (members set there overwrite what the first load left).
//
// Destruction: TDataView::Destroy stores a tree page into the document
// (WM_SAVE) while the page is still whole, then deletes it; Discard deletes
// without storing (the caller has stored it already). Pages embedded in the
// wizard (kind 38) or the page-hosting dialog (39) are stored by their host.
//
// Everything runs on the GUI thread; the protocol messages are performed
// synchronously.

#include "MessageAddress.h"
#include "TNodeData.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

class QLabel;
class QScrollArea;
class TkResourcen;
class TMoxDocument;

namespace mox::platform {
class MessageReceiver;
}
namespace Ui {
class TDataView;
}

// A window message as the page operations receive it.
struct TMessage {
    std::uint32_t Msg = 0;
    std::intptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

// A receiver (a child of owner) that hands every message to dispatch as a
// TMessage and answers with the Result dispatch left in it.
mox::platform::MessageReceiver* NewMessageReceiver(QObject* owner,
                                                   std::function<void(TMessage&)> dispatch);

class TDataView : public QWidget {
    Q_OBJECT

public:
    // Owner: the widget that hosts the page (it becomes the parent; the page
    // is put into its layout). holder: the node kind, copied; may be null.
    TDataView(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TDataView() override;

    TDataView(const TDataView&) = delete;
    TDataView& operator=(const TDataView&) = delete;

    template <class Page, class... Args> static Page* Create(Args&&... args) {
        Page* page = new Page(std::forward<Args>(args)...);
        TDataView* base = page; // the page may keep its overrides private
        base->FinishConstruction();
        base->InitPage();
        return page;
    }

    // Stores a tree page into the document (see above), then deletes it.
    static void Destroy(TDataView* view);
    // Deletes without storing.
    static void Discard(TDataView* view);

    // Sends a message to the page now and returns its result.
    std::intptr_t Perform(std::uint32_t msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    // The page's address for queued messages; dead once the page is gone.
    mox::platform::MessageAddress Address() const;

    // Ids 1025..1030 call the six operations; others are ignored.
    virtual void Dispatch(TMessage& message);

    // Whether the page may be left; pages that validate first say no.
    bool CloseQuery();

    // The node kind, 0 without a holder.
    std::uint8_t GetKind() const { return m_pIconDesc ? m_pIconDesc->GetType() : 0; }
    const TNodeData* GetIconDesc() const { return m_pIconDesc.get(); }
    bool IsAlignClient() const { return m_bAlignClient; }
    // Fills the host's area (the tree's page) or stands at its right side.
    void SetAlignClient(bool client);

    // The main window's document, or nullptr (traced).
    TMoxDocument* GetDoc() const;

    // A message box with the language text of the id and caption text 1002;
    // returns the button pressed.
    int ShowMsg(int textId, unsigned flags);

    // Bound to the change event of number fields: removes a character that
    // is not a digit from a visible line edit, with a beep.
    void CheckInput(QObject* sender);

    // Whether the event is a field being left for another control of the
    // program, the moment its leave check runs. A context menu, the menu
    // bar or another window taking the focus for a while leaves nothing:
    // checking then would warn before the menu opens or mend a half-typed
    // value.
    static bool IsFieldLeft(const QEvent* event);

    // Whether the operation of any page is running now. Hosts queue their
    // tree rebuilds and page switches while it is, so that no page is
    // destroyed under its own handler.
    static bool IsAnyHandlerRunning() { return s_nHandlerDepth > 0; }

    // The widget the page's own controls go into.
    QWidget* PageArea() const;

    // The control the page gives the focus to as it is shown (null before).
    QWidget* FirstControl() const { return m_pFirstControl; }
    // A page chosen in a tree leaves the focus in the tree: shown, it only
    // names its first control, which takes the focus when the user moves
    // into the page.
    void SetHostKeepsFocus(bool keep) { m_bHostKeepsFocus = keep; }

    // A widget that fills the page area, for a page that builds its controls
    // into one piece (a Designer form or controls made in code).
    QWidget* AddPageContent();

protected:
    // The six operations of the page protocol; empty in the base.
    virtual void OnNew(TMessage& message);
    virtual void OnSave(TMessage& message);
    virtual void OnOpen(TMessage& message);
    virtual void OnDelete(TMessage& message);
    virtual void OnRestore(TMessage& message);
    virtual void OnConnectionChanged(TMessage& message);

    // The page's own construction steps, after the first load.
    virtual void InitPage() {}
    // Sets canClose false to keep the page; the base always agrees.
    virtual void OnCloseQuery(bool& canClose);

    void keyPressEvent(QKeyEvent* event) override;

    // The page's first control, given the focus as the page shows (unless
    // its host keeps the focus); pages call it from their showEvent.
    void FocusFirstControl(QWidget* control);

    // Builds a Designer form into the page area.
    template <class Form> void SetupPageForm(Form& form) { form.setupUi(AddPageContent()); }

    TkResourcen* m_pRes = nullptr;

    QScrollArea* m_pMasterScrollBox = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* m_pLabelTypTxt = nullptr;
    QLabel* m_pLabelVersionTxt = nullptr;
    QLabel* m_pLabelTyp = nullptr;
    QLabel* m_pLabelVersion = nullptr;
    QLabel* Label1 = nullptr;

private:
    void FinishConstruction();
    void ShowDeviceHeader();
    // Whether the destruction rule stores this page.
    bool SavesOnDestroy() const;

    std::unique_ptr<Ui::TDataView> ui;
    std::unique_ptr<TNodeData> m_pIconDesc;
    mox::platform::MessageReceiver* m_pReceiver = nullptr;
    bool m_bAlignClient = false;
    bool m_bHostKeepsFocus = false;
    QPointer<QWidget> m_pFirstControl;
    int m_nInDispatch = 0;

    static inline int s_nHandlerDepth = 0;
};
