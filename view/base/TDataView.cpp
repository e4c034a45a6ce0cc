#include "TDataView.h"

#include "ui_TDataView.h"

#include "DbgOut.h"
#include "IViewHost.h"
#include "MessageReceiver.h"
#include "MoxQString.h"
#include "TInvariant.h"
#include "TLogo.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TQtNumEdit.h"
#include "TkResourcen.h"
#include "ViewTextIds.h"
#include "WindowMessages.h"

#include <QBoxLayout>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

using mox::platform::MessageReceiver;
using mox::platform::WindowMessage;

namespace {

// Room for a firmware version text of the record.
constexpr std::size_t kVersionBuffer = 64;

} // namespace

MessageReceiver* NewMessageReceiver(QObject* owner, std::function<void(TMessage&)> dispatch) {
    return new MessageReceiver(
        [dispatch = std::move(dispatch)](const WindowMessage& m) {
            TMessage msg{m.id, m.wParam, m.lParam, 0};
            dispatch(msg);
            return msg.Result;
        },
        owner);
}

TDataView::TDataView(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : QWidget(owner), ui(std::make_unique<Ui::TDataView>()) {
    ui->setupUi(this);
    m_pMasterScrollBox = ui->m_pMasterScrollBox;
    // The scroll box shows nothing of a focus: Tab passes it by.
    m_pMasterScrollBox->setFocusPolicy(Qt::NoFocus);
    Image1 = ui->Image1;
    m_pLabelTypTxt = ui->m_pLabelTypTxt;
    m_pLabelVersionTxt = ui->m_pLabelVersionTxt;
    m_pLabelTyp = ui->m_pLabelTyp;
    m_pLabelVersion = ui->m_pLabelVersion;
    Label1 = ui->Label1;
    Image1->setPixmap(TLogo::Pixmap());

    m_pRes = res;
    if (holder)
        m_pIconDesc = std::make_unique<TNodeData>(holder->GetType());

    m_pReceiver = NewMessageReceiver(this, [this](TMessage& msg) { Dispatch(msg); });
}

TDataView::~TDataView() {
    DbgOut(eDbgView, "<TDataView::~TDataView>");
    // No message reaches a page that is being torn down.
    m_pReceiver->Detach();
    DbgOut(eDbgView, "<TDataView::~TDataView> end");
}

void TDataView::FinishConstruction() {
    if (m_pRes)
        m_pRes->SetFormTexts(this);

    // A page lives inside its host; without one it would float as a window
    // of its own that nobody stores or closes.
    QWidget* owner = parentWidget();
    MOX_INVARIANT(owner);
    if (!owner->layout()) {
        auto* layout = new QVBoxLayout(owner);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    owner->layout()->addWidget(this);
    SetAlignClient(GetKind() == eAssistent);
    if (GetKind() == eAssistent)
        setVisible(true);

    DbgOut(eDbgView, "<TDataView::TDataView> Perform(WM_OPEN)");
    Perform(WM_OPEN, -1, -1);

    ShowDeviceHeader();
}

void TDataView::SetAlignClient(bool client) {
    m_bAlignClient = client;
    if (QWidget* owner = parentWidget(); owner && owner->layout())
        owner->layout()->setAlignment(this, client ? Qt::Alignment() : Qt::AlignRight);
    setSizePolicy(client ? QSizePolicy::Expanding : QSizePolicy::Preferred, QSizePolicy::Expanding);
}

void TDataView::ShowDeviceHeader() {
    const std::uint8_t kind = GetKind();
    if (kind != eNodeMox && kind != eNodeKMR && kind != eNodeRAK && kind != eNodeIT &&
        kind != eNodeBSM)
        return;
    TMoxDocument* doc = GetDoc();
    if (!doc)
        return;

    int textId = vtxt::kNotPresent;
    char version[kVersionBuffer] = {};
    bool haveVersion = false;
    switch (kind) {
    case eNodeMox:
        if (doc->GetTypeMox() == 2)
            textId = vtxt::kTypeBox;
        haveVersion = doc->GetVersionMox(version, sizeof version);
        break;
    case eNodeKMR:
        if (doc->GetTypeKMR() == 1)
            textId = vtxt::kTypeKMR;
        haveVersion = doc->GetVersionKMR(version, sizeof version);
        break;
    case eNodeRAK:
        if (doc->GetTypeRAK() == 1)
            textId = vtxt::kTypeRAK;
        break;
    case eNodeIT:
        switch (doc->GetTypeIT()) {
        case 1:
            textId = vtxt::kTypeIT1;
            break;
        case 2:
            textId = vtxt::kTypeIT2;
            break;
        case 3:
            textId = vtxt::kTypeIT3;
            break;
        default:
            break;
        }
        break;
    case eNodeBSM:
        if (doc->GetTypeBSM() == 1)
            textId = vtxt::kTypeBSM;
        break;
    default:
        break;
    }

    m_pLabelTypTxt->setVisible(true);
    m_pLabelTyp->setVisible(true);
    m_pLabelTyp->setText(m_pRes ? m_pRes->GetQText(textId) : QString());
    if (kind == eNodeMox || kind == eNodeKMR) {
        m_pLabelVersionTxt->setVisible(true);
        m_pLabelVersion->setVisible(true);
        version[sizeof version - 1] = '\0';
        m_pLabelVersion->setText(haveVersion ? MoxToQString(version) : QString());
    }
}

bool TDataView::SavesOnDestroy() const {
    const std::uint8_t kind = GetKind();
    return m_pIconDesc && kind >= 1 && kind <= 39 && kind != eAssistent && kind != eKonfigDlg;
}

void TDataView::Destroy(TDataView* view) {
    if (!view)
        return;
    if (view->SavesOnDestroy() && view->GetDoc()) {
        DbgOut(eDbgView, "<TDataView::~TDataView> Perform(WM_SAVE) type(%d)", view->GetKind());
        view->Perform(WM_SAVE, -1, -1);
    }
    Discard(view);
}

void TDataView::Discard(TDataView* view) {
    if (!view)
        return;
    if (view->m_nInDispatch > 0) {
        // Asked from inside one of its own operations: the page goes once
        // that operation has returned.
        view->hide();
        view->m_pReceiver->Detach();
        view->deleteLater();
        return;
    }
    delete view;
}

std::intptr_t TDataView::Perform(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam) {
    return m_pReceiver->Perform(msg, wParam, lParam);
}

mox::platform::MessageAddress TDataView::Address() const {
    return m_pReceiver->Address();
}

void TDataView::Dispatch(TMessage& message) {
    ++m_nInDispatch;
    ++s_nHandlerDepth;
    switch (message.Msg) {
    case WM_NEW:
        OnNew(message);
        break;
    case WM_SAVE:
        OnSave(message);
        break;
    case WM_OPEN:
        OnOpen(message);
        break;
    case WM_DELETE:
        OnDelete(message);
        break;
    case WM_RESTORE:
        OnRestore(message);
        break;
    case WM_CONNECTION_CHANGED:
        OnConnectionChanged(message);
        break;
    default:
        break;
    }
    --s_nHandlerDepth;
    --m_nInDispatch;
}

void TDataView::OnNew(TMessage&) {}
void TDataView::OnSave(TMessage&) {}
void TDataView::OnOpen(TMessage&) {}
void TDataView::OnDelete(TMessage&) {}
void TDataView::OnRestore(TMessage&) {}
void TDataView::OnConnectionChanged(TMessage&) {}

void TDataView::OnCloseQuery(bool& canClose) {
    canClose = true;
}

bool TDataView::CloseQuery() {
    bool canClose = true;
    ++s_nHandlerDepth;
    OnCloseQuery(canClose);
    --s_nHandlerDepth;
    return canClose;
}

void TDataView::FocusFirstControl(QWidget* control) {
    m_pFirstControl = control;
    if (control && !m_bHostKeepsFocus)
        control->setFocus();
}

void TDataView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        DbgOut(eDbgView, "<TDataView::OnKeyDown> Perform(WM_DELETE)");
        Perform(WM_DELETE, -1, -1);
    }
    if (event->key() == Qt::Key_Insert) {
        DbgOut(eDbgView, "<TDataView::OnKeyDown> Perform(WM_NEW)");
        Perform(WM_NEW, -1, -1);
    }
    // Not consumed: the host sees the key too.
    event->ignore();
}

TMoxDocument* TDataView::GetDoc() const {
    IViewHost* host = GetViewHost();
    TMoxDocument* doc = host ? host->GetViewDocument() : nullptr;
    if (!doc) {
        DbgOut(eDbgView, "<TDataView::GetDoc> return NULL");
        if (m_pIconDesc)
            DbgOut(eDbgView, "m_pIconDesc->GetType() %d", m_pIconDesc->GetType());
    }
    return doc;
}

int TDataView::ShowMsg(int textId, unsigned flags) {
    const QString text = m_pRes ? m_pRes->GetQText(textId) : QString();
    const QString caption = m_pRes ? m_pRes->GetQText(vtxt::kCaption) : QString();
    return TMsgBox::Show(this, textId, text, caption, flags);
}

bool TDataView::IsFieldLeft(const QEvent* event) {
    if (!event || event->type() != QEvent::FocusOut)
        return false;
    switch (static_cast<const QFocusEvent*>(event)->reason()) {
    case Qt::PopupFocusReason:
    case Qt::ActiveWindowFocusReason:
    case Qt::MenuBarFocusReason:
        return false;
    default:
        return true;
    }
}

void TDataView::CheckInput(QObject* sender) {
    auto* edit = qobject_cast<QLineEdit*>(sender);
    if (edit && edit->isVisible())
        CheckNumEdit(edit, false, false, false);
}

QWidget* TDataView::PageArea() const {
    return ui->m_pMasterScrollBoxContents;
}

QWidget* TDataView::AddPageContent() {
    auto* content = new QWidget(PageArea());
    auto* area = new QVBoxLayout(PageArea());
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(content);
    return content;
}
