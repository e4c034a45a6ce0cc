// TMoxMain: the window messages of the transfer controller, the ISDN link and
// subscriber programming, and their forwarding to the dialogs, the wizard and
// the current page.

#include "TMoxMain.h"

#include "ui_TMoxMain.h"

#include "CapiCallInfo.h"
#include "CapiPortMessage.h"
#include "DbgOut.h"
#include "IAssistent.h"
#include "IMainTransfer.h"
#include "MainTextIds.h"
#include "MoxQString.h"
#include "TDataView.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "WindowMessages.h"

#include <QPointer>
#include <QTimer>

#include <any>

using mox::platform::WindowMessage;

namespace {

// Type-of-number bits of a calling number in the call-info record.
constexpr std::uint8_t kTypeOfNumberMask = 0x70;
constexpr std::uint8_t kTypeNational = 0x20;
constexpr std::uint8_t kTypeInternational = 0x10;

const CapiCallInfo* CallInfoOf(const WindowMessage& msg) {
    if (const auto* info = std::any_cast<CapiCallInfo>(&msg.value))
        return info;
    if (const auto* port = std::any_cast<CapiPortMessage>(&msg.value))
        return &port->callInfo;
    return nullptr;
}

const CapiDisconnectInfo* DisconnectOf(const WindowMessage& msg) {
    if (const auto* info = std::any_cast<CapiDisconnectInfo>(&msg.value))
        return info;
    if (const auto* port = std::any_cast<CapiPortMessage>(&msg.value))
        return &port->disconnect;
    return nullptr;
}

} // namespace

std::intptr_t TMoxMain::OnMessage(const WindowMessage& msg) {
    switch (msg.id) {
    case WM_TRANSFER_RESULT:
        if (m_pDataTransfer)
            m_pDataTransfer->CloseTransferForm();
        DbgOut(eDbgTransfer, "<TMoxMain::OnTransferResult> result(%d)",
               static_cast<int>(msg.wParam));
        Forward(msg);
        return 0;
    case WM_NEED_TRANSFER_DATA:
        MOX_INVARIANT(m_pDoc);
        m_pDoc->OnNeedTransferData();
        return 0;
    case WM_MORE_TRANSFER_DATA:
        MOX_INVARIANT(m_pDoc);
        m_pDoc->MoreAnlDataToComPort();
        return 0;
    case CAPIPORT_CONNECT:
        OnCapiConnect(msg);
        return 0;
    case CAPIPORT_CONNECT_ACTIVE:
        OnCapiConnectActive();
        return 0;
    case CAPIPORT_DISCONNECT:
        OnCapiDisconnect(msg);
        return 0;
    case WM_RECENT_FILE:
        OnRecentFile();
        return 0;
    case WM_UPDATE_TREE: {
        // Sent by a page from inside its own operation: the rebuild, which
        // drops that page, runs once the operation has returned. It returns
        // to the node selected now, not to the page's kind: a page that asks
        // as it is left (it stores itself on the way out) stands behind the
        // node the user clicked, and that node is where the tree must stand.
        const std::uint8_t kind = KindOf(ui->m_pKonfigTreeView->currentItem());
        QTimer::singleShot(0, this, [this, kind] {
            BuildKonfigTree();
            SelectNodeKind(kind);
        });
        return 0;
    }
    case WM_CONNECTION_CHANGED:
        OnConnectionChanged();
        return 0;
    default:
        break;
    }
    if (msg.id >= WM_TRANSFER_END_FIRST && msg.id <= WM_TRANSFER_END_LAST) {
        OnTransferEnd(msg);
        return 0;
    }
    if (IsProgrammingResult(msg.id)) {
        if (msg.id == PROGMODEAKT_OK && m_pDoc && m_pDataTransfer)
            m_pDoc->SetBSGProgKennziffer(m_pDataTransfer->GetBoxKennziffer());
        if (msg.id == PROGMODEAKT_OK || msg.id == TLNPROG_PAS_OK)
            UpdateControls();
        Forward(msg);
        return 0;
    }
    return 0;
}

void TMoxMain::OnTransferEnd(const WindowMessage& msg) {
    if (m_pDataTransfer)
        m_pDataTransfer->CloseTransferForm();
    if (msg.wParam)
        Msg(mtxt::kTransferOk, mb::kOk | mb::kIconInformation);
    else
        Msg(mtxt::kTransferFailed, mb::kOk | mb::kIconStop);
    Forward(msg);
}

void TMoxMain::Forward(const WindowMessage& msg) {
    for (const ForwardTarget& target : m_Forward)
        if (target.dialog && target.dialog->isVisible())
            target.address.Perform(msg);
    if (m_pAssistent && m_pAssistent->IsAssistentVisible())
        m_pAssistent->ForwardMessage(msg);
    if (m_pAktView && m_nKind != 0 && m_pAktView->isVisible())
        m_pAktView->Perform(msg.id, msg.wParam, msg.lParam);
}

void TMoxMain::OnCapiConnect(const WindowMessage& msg) {
    const CapiCallInfo* info = CallInfoOf(msg);
    if (!info)
        return;
    std::string number(info->GetCallingPartyNumber(),
                       strnlen(info->GetCallingPartyNumber(), sizeof info->szNumber2));
    switch (info->bCallingType & kTypeOfNumberMask) {
    case kTypeNational:
        number = "0" + number;
        break;
    case kTypeInternational:
        number = "00" + number;
        break;
    default:
        break;
    }
    m_RnrKunde = number;
    DbgOut(eDbgCapi, "m_RnrKunde(%s)", m_RnrKunde.c_str());
}

void TMoxMain::OnCapiConnectActive() {
    m_bConnected = true;
    m_bDialing = false;
    UpdateControls();
    // On ISDN the call is the link: pages with a transfer button follow it.
    SendToView(WM_CONNECTION_CHANGED, 0, 0);
    m_pReadCAPITimer->start();
}

void TMoxMain::OnReadCapiTimer() {
    // The data connection is up: read the box once, as the read command
    // does, so the page and unsaved edits are offered for saving first. A
    // cancel keeps the edits and the call: the user may read from the menu
    // or hang up.
    if (!QuerySave())
        return;
    if (!ReadBox() && m_pDataTransfer)
        m_pDataTransfer->Disconnect();
}

void TMoxMain::OnCapiDisconnect(const WindowMessage& msg) {
    m_RnrKunde.clear();
    m_bConnected = false;
    m_bDialing = false;
    m_pReadCAPITimer->stop();
    if (msg.lParam == CAPIPORT_DISCONNECT_OWN) {
        // The user asked for the hang-up.
        if (m_pDataTransfer)
            m_pDataTransfer->Disconnect();
    } else {
        const CapiDisconnectInfo* info = DisconnectOf(msg);
        // The end of a call we cleared ourselves is no news to the user.
        if (info && info->kind == CapiDisconnectKind::Local) {
            DbgOut(eDbgCapi, "<TMoxMain::OnCapiDisconnect> own hang-up done");
        } else if (info && !info->reasonText.empty()) {
            ShowHangUpNotice(0, MoxToQString(info->reasonText), mb::kOk | mb::kIconInformation);
        } else {
            ShowHangUpNotice(mtxt::kIsdnNoReason, Text(mtxt::kIsdnNoReason),
                             mb::kOk | mb::kIconStop);
        }
    }
    UpdateControls();
    SendToView(WM_CONNECTION_CHANGED, 0, 0);
    if (m_pDataTransfer)
        m_pDataTransfer->ResetProgData();
}

void TMoxMain::ShowHangUpNotice(int textId, const QString& text, unsigned flags) {
    // A hang-up during an exchange ends it, and its caller's failure box may
    // be open by now, its event loop delivering this message: the reason
    // follows that box instead of opening on top of it.
    const QPointer<TMoxMain> self(this);
    TMsgBox::WhenNoneOpen([self, textId, text, flags] {
        if (self)
            self->MsgText(textId, text, flags);
    });
}
