#include "TRecentFileList.h"

#include "PermSettings.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <algorithm>

TRecentFileList::TRecentFileList(QMenu* menu, int count, mox::platform::MessageAddress notify,
                                 QObject* parent)
    : QObject(parent), m_Notify(std::move(notify)), m_pMenu(menu),
      m_Names(static_cast<std::size_t>(std::max(count, 0))) {
    // Each item goes two places before the end, so the entries stand above
    // the menu's last two items in slot order.
    auto insertAction = [this](QAction* action) {
        const QList<QAction*> actions = m_pMenu->actions();
        QAction* before = actions.size() >= 2 ? actions[actions.size() - 2] : nullptr;
        m_pMenu->insertAction(before, action);
    };
    m_pSeparator = new QAction(m_pMenu);
    m_pSeparator->setSeparator(true);
    m_pSeparator->setObjectName(QStringLiteral("m_pRecentFileSeparator"));
    m_pSeparator->setProperty("Tag", -1);
    insertAction(m_pSeparator);
    for (int slot = 0; slot < count; ++slot) {
        auto* action = new QAction(m_pMenu);
        action->setObjectName(QStringLiteral("m_pRecentFile%1").arg(slot));
        // The Tag is the slot, not a text id: the language texts leave the
        // entry's caption alone.
        TkResourcen::SetDataTag(action, slot);
        connect(action, &QAction::triggered, this, [this, slot] { OnClick(slot); });
        insertAction(action);
        m_Actions.push_back(action);
    }
    UpdateMenu();
}

void TRecentFileList::SetEntry(const std::string& name, int slot) {
    if (slot < 0 || slot >= GetCount())
        return;
    m_Names[static_cast<std::size_t>(slot)] = name;
    UpdateMenu();
}

void TRecentFileList::Add(const std::string& name) {
    const auto found = std::find(m_Names.begin(), m_Names.end(), name);
    if (found != m_Names.end()) {
        std::rotate(m_Names.begin(), found, found + 1);
        m_nSelected = 0;
    } else if (!m_Names.empty()) {
        std::rotate(m_Names.begin(), m_Names.end() - 1, m_Names.end());
        m_Names.front() = name;
    }
    UpdateMenu();
}

const std::string& TRecentFileList::GetEntry(int slot) const {
    if (slot < 0 || slot >= GetCount())
        return m_Empty;
    return m_Names[static_cast<std::size_t>(slot)];
}

void TRecentFileList::LoadFromSettings() {
    for (int slot = 0; slot < GetCount() && slot < kPermRecentFiles; ++slot)
        m_Names[static_cast<std::size_t>(slot)] = GetPermRecentFile(slot);
    UpdateMenu();
}

void TRecentFileList::SaveToSettings() const {
    for (int slot = 0; slot < GetCount() && slot < kPermRecentFiles; ++slot)
        SetPermRecentFile(slot, m_Names[static_cast<std::size_t>(slot)]);
}

QAction* TRecentFileList::EntryAction(int slot) const {
    return slot >= 0 && slot < GetCount() ? m_Actions[static_cast<std::size_t>(slot)] : nullptr;
}

QString TRecentFileList::Caption(int slot, const std::string& name) {
    QString shown = QFile::decodeName(QByteArray::fromStdString(name));
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QLatin1Char('&') + QString::number(slot + 1) + QLatin1Char(' ') + shown;
}

void TRecentFileList::UpdateMenu() {
    bool any = false;
    for (int slot = 0; slot < GetCount(); ++slot) {
        const std::string& name = m_Names[static_cast<std::size_t>(slot)];
        QAction* action = m_Actions[static_cast<std::size_t>(slot)];
        if (!name.empty()) {
            action->setText(Caption(slot, name));
            action->setVisible(true);
            any = true;
        } else {
            action->setVisible(false);
        }
    }
    m_pSeparator->setVisible(any);
}

void TRecentFileList::OnClick(int slot) {
    m_nSelected = slot;
    const std::string name = GetEntry(slot); // a copy: Add moves the slots
    Add(name);
    m_Notify.Perform(WM_RECENT_FILE, 0, 0);
}
