#include "TRadioGroup.h"

#include "FocusRules.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), m_pGroup(new QButtonGroup(this)) {
    new QVBoxLayout(this);
    connect(m_pGroup, &QButtonGroup::idClicked, this, [this](int) { emit Click(); });
}

void TRadioGroup::SetItems(const QStringList& items) {
    for (QRadioButton* b : m_Buttons) {
        m_pGroup->removeButton(b);
        delete b;
    }
    m_Buttons.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(objectName() + QStringLiteral("_%1").arg(i));
        m_pGroup->addButton(b, i);
        layout()->addWidget(b);
        // Shown now, not only when the layout comes round to it: a page
        // loaded again while it shows gives one of them the focus at once.
        b->show();
        m_Buttons.push_back(b);
    }
    focusrules::TabStopOnCheckedRadio({m_Buttons.begin(), m_Buttons.end()});
}

QRadioButton* TRadioGroup::Button(int index) const {
    return index >= 0 && index < Count() ? m_Buttons[static_cast<std::size_t>(index)] : nullptr;
}

int TRadioGroup::ItemIndex() const {
    return m_pGroup->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (QRadioButton* b = Button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = m_pGroup->checkedButton()) {
        // An exclusive group cannot be emptied by unchecking its button.
        m_pGroup->setExclusive(false);
        checked->setChecked(false);
        m_pGroup->setExclusive(true);
    }
    emit Click();
}
