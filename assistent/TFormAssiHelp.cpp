#include "TFormAssiHelp.h"

#include "TInvariant.h"
#include "TkResourcen.h"

#include <QLabel>
#include <QLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int kHelpContext = 4000;

} // namespace

TFormAssiHelp::TFormAssiHelp(QWidget* owner, TkResourcen* res, const char* name,
                             const std::array<int, 4>& texts)
    : QWidget(owner) {
    MOX_INVARIANT(owner);
    setObjectName(QString::fromLatin1(name));
    setProperty("HelpContext", kHelpContext);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    // It shows nothing of a focus: Tab passes it by to the page's controls.
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    ScrollBox1->setWidgetResizable(true);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    int n = 0;
    for (int id : texts) {
        if (id == 0)
            break;
        auto* label = new QLabel(content);
        label->setObjectName(QStringLiteral("Label%1").arg(++n));
        label->setProperty("Tag", id);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    layout->addStretch(1);
    ScrollBox1->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(ScrollBox1);

    if (res)
        res->SetFormTexts(this);
    if (!owner->layout()) {
        auto* panelLayout = new QVBoxLayout(owner);
        panelLayout->setContentsMargins(0, 0, 0, 0);
    }
    owner->layout()->addWidget(this);
    setVisible(true);
}

TFormAssiHelp::~TFormAssiHelp() = default;
