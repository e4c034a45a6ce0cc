#include "TFormIT.h"

#include "DbgOut.h"
#include "DoorFormParts.h"
#include "DoorTextIds.h"
#include "MoxDaten.h"
#include "MoxQString.h"
#include "TInvariant.h"
#include "TMoxDocument.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace doorform;

namespace {

constexpr int kHelpPage = 600;
constexpr int kHelpTuerTxt = 601;
constexpr int kHelpEtagenruf = 602;
constexpr int kHelpRufton = 603;
// Door-interface type 1 serves three doors.
constexpr int kTuerenTyp1 = 3;
constexpr int kTextMax = MOX_TEXT_SIZE - 1;

} // namespace

TFormIT::TFormIT(QWidget* owner, const TNodeData* holder, TkResourcen* res)
    : TDataView(owner, holder, res) {
    setProperty("HelpContext", kHelpPage);
    QWidget* c = Content(this);
    auto* grid = new QGridLayout(c);
    Label2 = Label(c, "Label2", dtxt::kTuerTexte, "Türzuordnung Türruftexte:");
    grid->addWidget(Label2, 0, 0, 1, 2);
    for (int i = 0; i < kTueren; ++i) {
        const QByteArray txtName = "m_pTuerTxt" + QByteArray::number(i + 1);
        const QByteArray toneName = "m_pRufton" + QByteArray::number(i + 1);
        m_pTuerTxt[i] = Edit(c, txtName.constData(), dtxt::kTuerTexte, kHelpTuerTxt, kTextMax);
        m_pTuerTxt[i]->setText(QString::fromUtf8("Haustür %1").arg(i + 1));
        m_pRufton[i] = List(c, toneName.constData(), dtxt::kRufton1, kHelpRufton);
        grid->addWidget(m_pTuerTxt[i], i + 1, 0);
        grid->addWidget(m_pRufton[i], i + 1, 1);
    }
    m_pLabel = Label(c, "m_pLabel", dtxt::kEtagenruf, "Etagenruf:");
    m_pTuerTxt[kTexte - 1] = Edit(c, "m_pTuerTxt7", dtxt::kEtagenruf, kHelpEtagenruf, kTextMax);
    Label4 = Label(c, "Label4", dtxt::kTuerHelp, "");
    Label4->setWordWrap(true);
    grid->addWidget(m_pLabel, kTueren + 1, 0, 1, 2);
    grid->addWidget(m_pTuerTxt[kTexte - 1], kTueren + 2, 0);
    grid->addWidget(Label4, kTueren + 3, 0, 1, 2);
    grid->setRowStretch(kTueren + 4, 1);
}

TFormIT::~TFormIT() = default;

void TFormIT::OnOpen(TMessage&) {
    DbgOut(eDbgView, "<TFormIT::OnOpen>");
    for (QComboBox* tone : m_pRufton) {
        tone->clear();
        for (int id : {dtxt::kRufton1, dtxt::kRufton2, dtxt::kRufton3})
            tone->addItem(m_pRes ? m_pRes->GetQText(id) : QString::number(id));
    }
    const TMoxDocument* doc = GetDoc();
    if (!doc)
        return;

    const bool allDoors = doc->GetTypeIT() != eIT_Nivo;
    for (int i = kTuerenTyp1; i < kTexte; ++i)
        m_pTuerTxt[i]->setVisible(allDoors);
    for (int i = kTuerenTyp1; i < kTueren; ++i)
        m_pRufton[i]->setVisible(allDoors);
    m_pLabel->setVisible(allDoors);

    for (int i = 0; i < kTexte; ++i) {
        char text[MOX_TEXT_SIZE] = {};
        m_pTuerTxt[i]->setMaxLength(kTextMax);
        doc->GetTuerrufText(static_cast<std::uint8_t>(i), text, sizeof text);
        text[sizeof text - 1] = '\0';
        m_pTuerTxt[i]->setText(MoxToQString(text));
    }
    // A tone the list does not have (0, or a damaged value) shows no
    // selection.
    for (int i = 0; i < kTueren; ++i) {
        const int pos = doc->GetRufton(static_cast<std::uint8_t>(i)) - 1;
        m_pRufton[i]->setCurrentIndex(pos < m_pRufton[i]->count() ? pos : -1);
    }
}

void TFormIT::OnSave(TMessage&) {
    DbgOut(eDbgView, "<TFormIT::OnSave>");
    MOX_INVARIANT(GetDoc());
    TMoxDocument* doc = GetDoc();
    // Hidden doors are stored as well: they keep what they held.
    for (int i = 0; i < kTexte; ++i)
        doc->SetTuerrufText(static_cast<std::uint8_t>(i),
                            MoxFromQString(m_pTuerTxt[i]->text()).c_str());
    for (int i = 0; i < kTueren; ++i)
        doc->SetRufton(static_cast<std::uint8_t>(i),
                       static_cast<std::uint8_t>(m_pRufton[i]->currentIndex() + 1));
}

void TFormIT::OnRestore(TMessage&) {
    if (TMoxDocument* doc = GetDoc())
        doc->InitTuerrufTexte();
    Perform(WM_OPEN, -1, -1);
}

void TFormIT::showEvent(QShowEvent* event) {
    TDataView::showEvent(event);
    FocusFirstControl(m_pTuerTxt[0]);
}
