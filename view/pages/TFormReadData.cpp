#include "TFormReadData.h"

#include "ui_TFormReadData.h"

#include "DataPageTextIds.h"
#include "DbgOut.h"
#include "IMainTransfer.h"
#include "IViewHost.h"
#include "MoxQString.h"
#include "TDataPagePictures.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TMsgBox.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLayout>
#include <QPointer>

#include <array>
#include <cstdint>

namespace {

constexpr int kHelpPage = 1200;

// The four device types whose change changes the tree.
using DeviceTypes = std::array<std::uint8_t, 4>;

DeviceTypes TypesOf(const TMoxDocument& doc) {
    return {doc.GetTypeIT(), doc.GetTypeBSM(), doc.GetTypeKMR(), doc.GetTypeRAK()};
}

} // namespace

TFormReadData::TFormReadData(QWidget* owner, IMainTransfer* transfer, const TNodeData* holder,
                             TkResourcen* res)
    : TDataView(owner, holder, res), ui(std::make_unique<Ui::FormReadData>()),
      m_pDataTransfer(transfer) {
    setProperty("HelpContext", kHelpPage);
    SetupPageForm(*ui);
    ui->PC_Image->setPixmap(TDataPagePictures::Pc());
    ui->KTX_Image->setPixmap(TDataPagePictures::Box());
    ui->Pfeil->setPixmap(TDataPagePictures::Arrow(false));

    // The form has always carried this box beside the scroll box; the
    // bus addresses are always read.
    m_pBusadresse = new QCheckBox(this);
    m_pBusadresse->setObjectName(QStringLiteral("m_pBusadresse"));
    m_pBusadresse->setProperty("Tag", ptxt::kInclBusAdr);
    m_pBusadresse->setChecked(true);
    m_pBusadresse->setEnabled(false);
    if (layout())
        layout()->addWidget(m_pBusadresse);

    connect(ui->m_pStartBtn, &QPushButton::clicked, this, &TFormReadData::OnReadData);
}

TFormReadData::~TFormReadData() = default;

void TFormReadData::InitPage() {
    ui->m_pStartBtn->setEnabled(m_pDataTransfer && m_pDataTransfer->IsConnected());
    const QString link =
        m_pDataTransfer ? MoxToQString(m_pDataTransfer->GetConnectionText()) : QString();
    ui->m_pLabel_rw->setText((m_pRes ? m_pRes->GetQText(ptxt::kReadLink) : QString()) + link);
    ui->m_pMessage->clear();
}

void TFormReadData::OnConnectionChanged(TMessage&) {
    // The link line keeps the text it got on construction.
    ui->m_pStartBtn->setEnabled(m_pDataTransfer && m_pDataTransfer->IsConnected());
}

void TFormReadData::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    if (ui->m_pStartBtn->isEnabled())
        FocusFirstControl(ui->m_pStartBtn);
}

void TFormReadData::OnReadData() {
    MOX_INVARIANT(GetDoc());
    DbgOut(eDbgView, "<TFormReadData::OnReadData>");
    // The save question, the modal transfer and a message box run event
    // loops of their own, in which the host may replace this page.
    const QPointer<TFormReadData> self(this);

    if (IViewHost* host = GetViewHost(); host && !host->ViewQuerySave())
        return;
    if (!self)
        return;
    TMoxDocument* doc = GetDoc();
    if (!doc)
        return;

    const DeviceTypes before = TypesOf(*doc);
    const bool ok = doc->ReadAnlDataFromComPort();
    if (!self)
        return;
    if (!ok) {
        ShowMsg(ptxt::kReadFailed, mb::kOk | mb::kIconStop);
        return;
    }

    doc->SetReadFromBox(true);
    ui->m_pMessage->setText(m_pRes ? m_pRes->GetQText(ptxt::kReadOk) : QString());
    ui->m_pStartBtn->setEnabled(false);
    const bool typesChanged = TypesOf(*doc) != before;
    if (IViewHost* host = GetViewHost())
        host->ViewUpdateControls();
    if (!self)
        return;
    Perform(WM_OPEN, -1, -1);

    if (typesChanged) {
        DbgOut(eDbgView, "<TFormReadData::OnReadData> device types changed: tree rebuilt");
        // The rebuild takes this page and its result line away: the user
        // learns of the read here.
        ShowMsg(ptxt::kReadOk, mb::kOk | mb::kIconInformation);
        if (!self)
            return;
        QueueTreeRebuild();
        // Nothing of the page from here on: the rebuild destroys it.
    }
}

void TFormReadData::QueueTreeRebuild() {
    // Queued on the application, not on the page, so that the call does not
    // die with the page; the host is looked up when it runs, so a window
    // that has gone meanwhile is not called.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            if (IViewHost* host = GetViewHost())
                host->ViewRebuildTree();
        },
        Qt::QueuedConnection);
}
