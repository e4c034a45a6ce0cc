// TAssiMain: the steps. Each step change stores and closes the work page,
// frees both pages and creates the pair of the new state.

#include "TAssiMain.h"

#include "AssiTextIds.h"
#include "DbgOut.h"
#include "TAssiFormEndeCfg.h"
#include "TAssiFormGeraeteCfg.h"
#include "TAssiFormGeraeteLesenCfg.h"
#include "TAssiFormWillkommenCfg.h"
#include "TAssiFormYesNoCfg.h"
#include "TAssiSteps.h"
#include "TDataView.h"
#include "TFormAssiHelp.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMoxMain.h"
#include "TViewFactory.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>

using mox::platform::WindowMessage;

namespace {

// More steps than the wizard has: a walk that passes over unconfirmed live
// pages never needs as many.
constexpr int kMaxSteps = eAssiStateCount;

const WindowMessage kSave{WM_SAVE, -1, -1, {}};
const WindowMessage kOpen{WM_OPEN, -1, -1, {}};

} // namespace

void TAssiMain::OnVor() {
    Step(true);
}

void TAssiMain::OnZurueck() {
    // Going back from the end page never sends.
    if (m_nState == eAssiEnde)
        if (auto* ende = qobject_cast<TAssiFormEndeCfg*>(m_Work.widget.data()))
            ende->SetSend(false);
    Step(false);
}

void TAssiMain::Step(bool forward) {
    for (int i = 0; i < kMaxSteps; ++i) {
        SendToWork(kSave);
        if (!WorkCloseQuery())
            return;
        CloseWork();
        const TAssiDevices devices = Devices();
        m_nState = forward ? TAssiSequence::Next(m_nState, m_Flags, devices)
                           : TAssiSequence::Prev(m_nState, m_Flags, devices);
        DbgOut(eDbgView, "<TAssiMain::%s> state(%d)", forward ? "OnVor" : "OnZurueck", m_nState);
        if (ShowPage())
            return;
    }
}

bool TAssiMain::ShowPage() {
    MOX_INVARIANT(m_nState < eAssiStateCount);
    TMoxDocument* doc = GetDoc();

    if (m_Work.widget) {
        const bool devices = m_Work.devices;
        FreeWork();
        // Types changed on the devices page: the box should learn of them
        // before pages that program it live run.
        if (devices && doc->GetTypeIT() != m_nLastType && DeviceTypeQuestion())
            m_nLastType = doc->GetTypeIT();
    }
    FreeHelp();

    m_pBackBtn_NoHelp->setEnabled(m_nState != eAssiWillkommen);
    m_pForwardBtn_NoHelp->setEnabled(m_nState != eAssiEnde);
    m_pOkBtn->setEnabled(m_nState != eAssiWillkommen);

    if (m_nState == eAssiGeraete) {
        m_pOwner->OnNewDocument();
        m_nLastType = doc->GetTypeIT();
    }

    bool shown = true;
    if (TAssiSequence::IsLiveState(m_nState)) {
        if (doc->GetTypeIT() != m_nLastType) {
            if (DeviceTypeQuestion())
                m_nLastType = doc->GetTypeIT();
            else
                shown = false;
        }
        SetTransfer(true);
    }

    const TAssiStep* step = TAssiSteps::Get(m_nState);
    CreateWorkPage(m_nState);
    m_pHelpPage = new TFormAssiHelp(m_pHelpPanel, m_pRes, step->helpClass, step->helpTexts);
    m_pAktCaption->setText(
        m_pRes ? m_pRes->GetQText(TAssiSteps::Caption(m_nState, doc->GetTypeIT())) : QString());
    SendToWork(kOpen);
    FocusAfterStep();
    return shown;
}

void TAssiMain::FocusAfterStep() {
    const QWidget* focus = focusWidget();
    if (focus && focus->isVisible() && focus->isEnabled())
        return;
    if (m_pForwardBtn_NoHelp->isEnabled())
        m_pForwardBtn_NoHelp->setFocus(Qt::OtherFocusReason);
    else if (m_pOkBtn->isEnabled())
        m_pOkBtn->setFocus(Qt::OtherFocusReason);
}

void TAssiMain::CreateWorkPage(std::uint8_t state) {
    const TAssiStep* step = TAssiSteps::Get(state);
    TMoxDocument* doc = GetDoc();
    m_Work = WorkPage{};
    switch (step->work) {
    case eAssiWork::View: {
        TViewContext ctx;
        ctx.owner = m_pKonfigPanel;
        ctx.holder = &m_IconDesc;
        ctx.res = m_pRes;
        ctx.transfer = GetDataTransfer();
        m_Work.view = TViewFactory::Create(step->viewKind, ctx);
        m_Work.widget = m_Work.view;
        m_Work.devices = step->viewKind == eGeraeteliste;
        break;
    }
    case eAssiWork::TlnProg:
        if (m_Seams.createTlnProg) {
            TAssiTlnProgContext ctx{m_pKonfigPanel, GetDataTransfer(), &m_IconDesc, doc, m_pRes};
            TAssiEmbeddedPage page = m_Seams.createTlnProg(ctx);
            if (page.widget) {
                // A form made as a dialog must sit in the panel, not float.
                if (page.widget->isWindow())
                    page.widget->setWindowFlags(Qt::Widget);
                if (m_pKonfigPanel->layout()->indexOf(page.widget) < 0)
                    m_pKonfigPanel->layout()->addWidget(page.widget);
                page.widget->show();
                m_Work.widget = page.widget;
                m_Work.perform = std::move(page.perform);
                m_Work.closeQuery = std::move(page.closeQuery);
                break;
            }
        }
        // Without the programming form a plain page holds the step.
        m_Work.view = TViewFactory::Create(
            eAssistent, TViewContext{m_pKonfigPanel, &m_IconDesc, m_pRes, GetDataTransfer()});
        m_Work.widget = m_Work.view;
        break;
    case eAssiWork::Question:
        switch (state) {
        case eAssiWillkommen:
            m_Work.question =
                TFormAssiKonfig::Create<TAssiFormWillkommenCfg>(m_pKonfigPanel, doc, m_pRes, this);
            break;
        case eAssiGeraete:
            m_Work.question =
                TFormAssiKonfig::Create<TAssiFormGeraeteCfg>(m_pKonfigPanel, doc, m_pRes, this);
            break;
        case eAssiGeraeteLesen:
            m_Work.question = TFormAssiKonfig::Create<TAssiFormGeraeteLesenCfg>(m_pKonfigPanel, doc,
                                                                                m_pRes, this);
            break;
        case eAssiEnde:
            m_Work.question =
                TFormAssiKonfig::Create<TAssiFormEndeCfg>(m_pKonfigPanel, doc, m_pRes, this);
            break;
        default:
            MOX_INVARIANT(TAssiFormYesNoCfg::HasPage(state));
            m_Work.question = TFormAssiKonfig::Create<TAssiFormYesNoCfg>(m_pKonfigPanel, doc,
                                                                         m_pRes, this, state);
            break;
        }
        m_Work.widget = m_Work.question;
        break;
    }
}

void TAssiMain::SendToWork(const WindowMessage& msg) {
    if (!m_Work.widget)
        return;
    if (m_Work.view)
        m_Work.view->Perform(msg.id, msg.wParam, msg.lParam);
    else if (m_Work.question)
        m_Work.question->Perform(msg.id, msg.wParam, msg.lParam);
    else if (m_Work.perform)
        m_Work.perform(msg);
}

bool TAssiMain::WorkCloseQuery() {
    if (!m_Work.widget)
        return true;
    if (m_Work.view)
        return m_Work.view->CloseQuery();
    if (m_Work.question)
        return m_Work.question->CloseQuery();
    return !m_Work.closeQuery || m_Work.closeQuery();
}

void TAssiMain::CloseWork() {
    if (m_Work.widget && m_Work.question)
        m_Work.question->OnClosePage();
}

void TAssiMain::FreeWork() {
    WorkPage work = std::move(m_Work);
    m_Work = WorkPage{};
    if (!work.widget)
        return;
    if (work.view) {
        // Stored by the wizard before it leaves; an embedded page does not
        // store itself.
        TDataView::Discard(work.view);
    } else if (work.question && work.question->IsInHandler()) {
        work.question->hide();
        work.question->deleteLater();
    } else {
        delete work.widget.data();
    }
}

void TAssiMain::FreeHelp() {
    delete m_pHelpPage.data();
    m_pHelpPage = nullptr;
}
