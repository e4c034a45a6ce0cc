#pragma once
// The program as a keyboard user meets it: the real main window with every
// real page, the real wizard in front of it, a transfer controller that
// never reaches a box, pre-answered message boxes and link dialog, the real
// English texts, on a screen of 1024 x 600. Keys go to the focused control,
// as the window system delivers them.

#include "PageTestBase.h"
#include "StubTransfer.h"
#include "TAssiMain.h"
#include "TDataView.h"
#include "TMoxMain.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

class KeyTest : public PageTestBase {
protected:
    KeyTest() : PageTestBase("keys", TextSource::Program) {}
    void SetUp() override;
    void TearDown() override;
    void ChooseSettings() override;
    int BoxAnswer(const TMsgBox::Request& request) override;

    // The main window shown and active, its tree built for a document with
    // the door-interface type given (0: a new document as it comes).
    void ShowMain(std::uint8_t typeIT = 0, int mode = 1);
    // The wizard shown and active, the main window hidden, as at a start in
    // wizard mode.
    void ShowWizard(int mode = 1);
    TMoxMain& Main() { return *m_pMain; }
    TAssiMain& Assi() { return *m_pAssi; }
    TMoxDocument& Doc();

    // A key pressed and released on the focused control (the active
    // window's focus widget); then the posted events run.
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Type(const QString& text);
    static QWidget* Focus();
    static std::string NameOf(const QWidget* w);
    // The window's next focus stops from the focused control on, by Tab
    // (or Shift+Tab), until the first one comes round again or `max` keys.
    std::vector<QPointer<QWidget>> WalkTab(int max, bool forward = true);
    static void ProcessEvents();
    // Chooses the node of the kind in the tree by keys: the tree takes
    // the focus and Down or Up moves to the node; the page switch runs.
    void ChooseNodeByKeys(std::uint8_t kind);
    // Saves a grab of the widget as <name>.png in the folder MOX_SHOT_DIR
    // names, when it is set (a look at what the user sees; no check).
    static void Shot(QWidget* widget, const char* name);

    std::unique_ptr<TMoxMain> m_pMain;
    std::unique_ptr<TAssiMain> m_pAssi;
    std::map<int, int> m_Answers; // message box answers by text id
};

// Whether `w` is the grid or one of its children (an editor, a list laid
// over a cell).
bool InGrid(const QWidget* w, const QWidget* grid);
