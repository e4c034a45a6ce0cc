#include "TFormGeraete.h"

#include "DbgOut.h"
#include "MessageReceiver.h"
#include "SystemForm.h"
#include "SystemTextIds.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TRadioGroup.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>
#include <vector>

namespace {

constexpr int kHelpPage = 500;
constexpr int kRAKOutputs = 12;

// Camera choice of the configuration: where the camera is controlled.
constexpr std::uint8_t kKameraNone = 0;
constexpr std::uint8_t kKameraRAK = 1;
constexpr std::uint8_t kKameraKMR = 2;

} // namespace

TFormGeraete::TFormGeraete(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    using pagectl::Make;
    setProperty("HelpContext", kHelpPage);
    QWidget* area = PageArea();
    auto* grid = new QGridLayout(area);

    Label10 = Make<QLabel>(area, "Label10", stxt::kGeraete);
    Label10->setStyleSheet(QStringLiteral("font-weight: bold"));
    m_pKMR = Make<TRadioGroup>(area, "m_pKMR", stxt::kKMR, 502);
    m_pIT = Make<TRadioGroup>(area, "m_pIT", stxt::kIT, 501);
    m_pRAK = Make<TRadioGroup>(area, "m_pRAK", stxt::kRAK, 504);
    m_pEIB = Make<TRadioGroup>(area, "m_pEIB", stxt::kEIB, 507);
    m_pBSM = Make<TRadioGroup>(area, "m_pBSM", stxt::kBSM, 506);
    m_pKMRKamera = Make<QCheckBox>(area, "m_pKMRKamera", stxt::kKamera, 503);
    m_pRAKKamera = Make<QCheckBox>(area, "m_pRAKKamera", stxt::kKamera, 505);
    m_pRAKKamera->setEnabled(false);

    grid->addWidget(Label10, 0, 0, 1, 2);
    grid->addWidget(m_pIT, 1, 0);
    grid->addWidget(m_pBSM, 1, 1);
    grid->addWidget(m_pKMR, 2, 0);
    grid->addWidget(m_pKMRKamera, 2, 1);
    grid->addWidget(m_pRAK, 3, 0);
    grid->addWidget(m_pRAKKamera, 3, 1);
    grid->addWidget(m_pEIB, 4, 0);
    // The installation-bus group stores nothing and reacts to nothing, and
    // its caption is the controller header's: shown, it would read as a
    // second controller choice.
    m_pEIB->hide();
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);

    connect(m_pKMR, &TRadioGroup::Click, this, &TFormGeraete::OnKMRClick);
    connect(m_pIT, &TRadioGroup::Click, this, &TFormGeraete::OnITClick);
    connect(m_pRAK, &TRadioGroup::Click, this, &TFormGeraete::OnRAKClick);
    connect(m_pBSM, &TRadioGroup::Click, this, &TFormGeraete::OnBSMClick);
    connect(m_pKMRKamera, &QCheckBox::clicked, this, [this] { OnKamera(m_pKMRKamera); });
    connect(m_pRAKKamera, &QCheckBox::clicked, this, [this] { OnKamera(m_pRAKKamera); });
}

TFormGeraete::~TFormGeraete() = default;

void TFormGeraete::InitPage() {
    // The first load chose the items from code, which counts as clicks.
    m_bTreeChange = false;
}

void TFormGeraete::OnOpen(TMessage&) {
    // The buttons are made anew below: one that had the focus takes it
    // with it, and the page's first control must get it back. A page shown
    // before its first load (the wizard's) had no button to focus yet.
    const QWidget* focus = window()->focusWidget();
    const bool hadFocus = isVisible() && focus && isAncestorOf(focus);
    auto texts = [this](std::initializer_list<int> ids) {
        QStringList items;
        for (int id : ids)
            items << (m_pRes ? m_pRes->GetQText(id) : QString::number(id));
        return items;
    };
    const QStringList noYes = texts({stxt::kNein, stxt::kJa});
    m_pKMR->SetItems(noYes);
    m_pIT->SetItems(texts({stxt::kIT1, stxt::kIT2, stxt::kIT3}));
    m_pRAK->SetItems(noYes);
    m_pEIB->SetItems(noYes);
    m_pBSM->SetItems(noYes);

    m_pKMRKamera->setVisible(true);
    m_pRAKKamera->setVisible(false);
    m_pRAK->setVisible(true);

    TMoxDocument* doc = GetDoc();
    if (!doc) {
        OrderTabStops();
        return;
    }
    m_pKMR->SetItemIndex(doc->GetTypeKMR() == 1 ? 1 : 0);
    switch (doc->GetTypeIT()) {
    case 2:
        m_pIT->SetItemIndex(1);
        break;
    case 3:
        m_pIT->SetItemIndex(2);
        break;
    default:
        m_pIT->SetItemIndex(0);
        break;
    }
    m_pRAK->SetItemIndex(doc->GetTypeRAK() == 1 ? 1 : 0);
    m_pEIB->SetItemIndex(0);
    m_pBSM->SetItemIndex(doc->GetTypeBSM() == 1 ? 1 : 0);

    m_pKMRKamera->setChecked(doc->GetKamera() == kKameraKMR);
    m_pRAKKamera->setChecked(doc->GetKamera() == kKameraRAK);
    OrderTabStops();
    if (hadFocus || (isVisible() && !FirstControl()))
        FocusFirstControl(m_pIT->Button(std::max(m_pIT->ItemIndex(), 0)));
}

void TFormGeraete::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormGeraete::OnSave>");
    TMoxDocument* doc = GetDoc();
    MOX_INVARIANT(doc);

    doc->SetTypeKMR(m_pKMR->ItemIndex() == 1 ? 1 : 0);

    switch (m_pIT->ItemIndex()) {
    case 0:
        doc->SetTypeIT(1);
        break;
    case 1:
        doc->SetTypeIT(2);
        break;
    case 2: {
        const bool wasType3 = doc->GetTypeIT() == 3;
        doc->SetTypeIT(3);
        // Only a change to variant 3 starts the groups afresh; those get the
        // dial-in right for the basic group. A variant that stays keeps its
        // groups as the user set them.
        if (!wasType3)
            doc->SetPGEinwahl(0, 1);
        break;
    }
    default:
        doc->SetTypeIT(0);
        break;
    }

    doc->SetTypeBSM(doc->GetTypeIT() == 2 && m_pBSM->ItemIndex() == 1 ? 1 : 0);

    if (m_pRAK->ItemIndex() == 1) {
        if (doc->GetTypeRAK() != 1) {
            doc->SetPGRAK(0, 1);
            for (std::uint8_t n = 0; n < kRAKOutputs; ++n)
                doc->SetPGSchaltausgang(0, n, 1);
            doc->SetTypeRAK(1);
        }
    } else if (doc->GetTypeRAK() != 0) {
        doc->SetPGRAK(0, 0);
        for (std::uint8_t n = 0; n < kRAKOutputs; ++n)
            doc->SetPGSchaltausgang(0, n, 0);
        doc->SetTypeRAK(0);
    }

    doc->SetKamera(m_pKMRKamera->isChecked()   ? kKameraKMR
                   : m_pRAKKamera->isChecked() ? kKameraRAK
                                               : kKameraNone);

    if (m_bTreeChange && parentWidget()) {
        m_bTreeChange = false;
        if (doc->IsModified())
            AskForNewTree();
    }
}

void TFormGeraete::AskForNewTree() {
    // An embedded page's host builds no tree from this page.
    if (GetKind() == eAssistent || GetKind() == eKonfigDlg)
        return;
    // The window that hosts the page is the nearest one up from the owner
    // that takes window messages; it rebuilds once this operation returned.
    using mox::platform::MessageReceiver;
    // (The receiver class has no meta-object of its own, so it is told apart
    // from the window's other children by its C++ type.)
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        for (QObject* child : w->children()) {
            if (auto* receiver = dynamic_cast<MessageReceiver*>(child)) {
                DbgOut(eDbgView, "<TFormGeraete::OnSave> Perform(WM_UPDATE_TREE)");
                receiver->Perform(WM_UPDATE_TREE, 0, 0);
                return;
            }
        }
    }
}

void TFormGeraete::OnITClick() {
    m_bTreeChange = true;
    m_pBSM->setEnabled(m_pIT->ItemIndex() == 1);
}

void TFormGeraete::OnKMRClick() {
    m_bTreeChange = true;
    const bool on = m_pKMR->ItemIndex() > 0;
    m_pKMRKamera->setEnabled(on);
    m_pKMRKamera->setChecked(on);
}

void TFormGeraete::OnRAKClick() {
    m_bTreeChange = true;
    if (m_pRAK->ItemIndex() > 0) {
        m_pRAKKamera->setEnabled(true);
    } else {
        m_pRAKKamera->setEnabled(false);
        m_pRAKKamera->setChecked(false);
    }
}

void TFormGeraete::OnBSMClick() {
    m_bTreeChange = true;
}

void TFormGeraete::OnKamera(QCheckBox* sender) {
    QCheckBox* other = sender == m_pKMRKamera ? m_pRAKKamera : m_pKMRKamera;
    if (sender->isChecked())
        other->setChecked(false);
}

void TFormGeraete::OnDeactivate() {
    if (!GetDoc())
        return;
    Perform(WM_SAVE, 0, 0);
}

void TFormGeraete::changeEvent(QEvent* event) {
    TDataView::changeEvent(event);
    // Another window became active: the choices are stored at once.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        OnDeactivate();
}

void TFormGeraete::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    QWidget* chosen = m_pIT->Button(m_pIT->ItemIndex());
    FocusFirstControl(chosen ? chosen : m_pIT->Button(0));
}

void TFormGeraete::OrderTabStops() {
    // As the groups stand, top left to bottom right: door interface, switch
    // module, camera control, controller. The buttons are made anew on
    // every load, each time at the end of the window's focus chain.
    std::vector<QWidget*> order;
    for (TRadioGroup* group : {m_pIT, m_pBSM, m_pKMR}) {
        for (int i = 0; i < group->Count(); ++i)
            order.push_back(group->Button(i));
    }
    order.push_back(m_pKMRKamera);
    for (int i = 0; i < m_pRAK->Count(); ++i)
        order.push_back(m_pRAK->Button(i));
    order.push_back(m_pRAKKamera);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
