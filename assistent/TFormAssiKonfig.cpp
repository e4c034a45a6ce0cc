#include "TFormAssiKonfig.h"

#include "AssiTextIds.h"
#include "TInvariant.h"
#include "TMsgBox.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QLabel>
#include <QLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int kHelpContext = 4000;

} // namespace

TFormAssiKonfig::TFormAssiKonfig(QWidget* owner, TMoxDocument* doc, TkResourcen* res,
                                 IAssiFrame* frame)
    : QWidget(owner), m_pDoc(doc), m_pRes(res), m_pFrame(frame) {
    // A page without its panel would float as a window nobody closes.
    MOX_INVARIANT(owner);
    setProperty("HelpContext", kHelpContext);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    // It shows nothing of a focus: Tab passes it by to the page's controls.
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    ScrollBox1->setWidgetResizable(true);
    m_pContent = new QWidget;
    m_pLayout = new QVBoxLayout(m_pContent);
    ScrollBox1->setWidget(m_pContent);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(ScrollBox1);
}

TFormAssiKonfig::~TFormAssiKonfig() = default;

void TFormAssiKonfig::FinishConstruction() {
    m_pLayout->addStretch(1);
    if (m_pRes)
        m_pRes->SetFormTexts(this);
    QWidget* owner = parentWidget();
    if (!owner->layout()) {
        auto* layout = new QVBoxLayout(owner);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    owner->layout()->addWidget(this);
    setVisible(true);
}

std::intptr_t TFormAssiKonfig::Perform(std::uint32_t msg, std::intptr_t, std::intptr_t) {
    ++m_nInHandler;
    if (msg == WM_SAVE)
        OnSave();
    else if (msg == WM_OPEN)
        OnOpen();
    --m_nInHandler;
    return 0;
}

int TFormAssiKonfig::MessageBox(int textId, unsigned flags) {
    const QString text = m_pRes ? m_pRes->GetQText(textId) : QString();
    const QString caption = m_pRes ? m_pRes->GetQText(atxt::kCaption) : QString();
    return TMsgBox::Show(this, textId, text, caption, flags);
}

QLabel* TFormAssiKonfig::AddLabel(const char* name, int tag, bool bold) {
    auto* label = new QLabel(m_pContent);
    label->setObjectName(QString::fromLatin1(name));
    label->setProperty("Tag", tag);
    label->setWordWrap(true);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    m_pLayout->addWidget(label);
    return label;
}

void TFormAssiKonfig::AddWidget(QWidget* widget) {
    widget->setParent(m_pContent);
    m_pLayout->addWidget(widget);
}
