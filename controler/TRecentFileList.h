#pragma once
// The names of the last documents opened or saved, shown as numbered entries
// of the file menu. The main window creates it with six entries, fills it
// from the settings at start and writes it back when it closes; it adds a
// name after every successful open and save. Picking an entry moves it to
// the front and sends WM_RECENT_FILE (0, 0) to the window, which opens the
// name in slot 0.
//
// Names are file-system bytes, as the document opens them.

#include "MessageAddress.h"

#include <QObject>

#include <string>
#include <vector>

class QAction;
class QMenu;

class TRecentFileList : public QObject {
    Q_OBJECT

public:
    // The entries and their separator go into menu above its last two
    // items, in slot order. notify gets WM_RECENT_FILE.
    TRecentFileList(QMenu* menu, int count, mox::platform::MessageAddress notify,
                    QObject* parent = nullptr);
    ~TRecentFileList() override = default;

    // Replaces one slot (loading from the settings); the menu is updated.
    void SetEntry(const std::string& name, int slot);
    // Puts the name in front: an entry already in the list moves up, a new
    // one pushes the oldest out.
    void Add(const std::string& name);

    // The name of a slot, empty when it holds none.
    const std::string& GetEntry(int slot) const;
    int GetCount() const { return static_cast<int>(m_Names.size()); }
    int GetSelected() const { return m_nSelected; }

    // Fills the list from the settings ("file 1".."file 6") / writes it back.
    void LoadFromSettings();
    void SaveToSettings() const;

    // The entry actions (tests find them by the object name
    // "m_pRecentFile<slot>") and the separator.
    QAction* EntryAction(int slot) const;
    QAction* Separator() const { return m_pSeparator; }

    // Caption of a slot's entry: "&1 name", "&2 name", ...; an "&" in the
    // name is doubled so that it shows as it is.
    static QString Caption(int slot, const std::string& name);

private:
    void UpdateMenu();
    void OnClick(int slot);

    mox::platform::MessageAddress m_Notify;
    QMenu* m_pMenu;
    QAction* m_pSeparator = nullptr;
    std::vector<QAction*> m_Actions;
    int m_nSelected = 0;
    std::vector<std::string> m_Names;
    std::string m_Empty;
};
