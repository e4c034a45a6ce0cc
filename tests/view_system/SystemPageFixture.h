#pragma once
// A fixture for the system, devices and permission-groups pages: the real
// English language texts, a settings file of the test's own, a document
// behind a page host, pre-answered message boxes, and a window that takes
// window messages (as the main window does) with a panel in it that owns
// the page.

#include "DocPageHost.h"
#include "MessageReceiver.h"
#include "PageTestBase.h"
#include "TDataView.h"
#include "TMoxDocument.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

using SystemPageHost = DocPageHost;

class SystemPageTest : public PageTestBase {
protected:
    SystemPageTest() : PageTestBase("system") {}
    void SetUp() override;
    void TearDown() override;
    void ChooseSettings() override;

    // A page of the class on the panel, for a node of the kind; shown.
    template <class Page> Page* MakePage(std::uint8_t kind) {
        m_Holder = std::make_unique<TNodeData>(kind);
        Page* page = TDataView::Create<Page>(m_pPanel, m_Holder.get(), Res());
        m_pPage = page;
        m_pWindow->show();
        return page;
    }
    // Destroys the page as the tree does: it stores itself first.
    void DropPage();

    TMoxDocument& Doc() { return *m_pDoc; }
    // The bytes of the document's record, to tell whether a page changed
    // anything.
    std::vector<std::uint8_t> Record() const;

    template <class T> T* Find(const char* name) const {
        T* w = m_pPage ? m_pPage->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    SystemPageHost m_Host;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<QWidget> m_pWindow;
    QWidget* m_pPanel = nullptr;
    std::vector<std::uint32_t> m_WindowMessages; // what the window was sent
    std::unique_ptr<TNodeData> m_Holder;
    TDataView* m_pPage = nullptr;
};

// Takes the focus away from a field the way leaving it does.
void LeaveField(QWidget* field);

// A message box of the real program is a window of its own: while it shows,
// the field that had the focus loses it to the box, and gets it back when
// the box closes. A test's pre-answered boxes do the same through this,
// called before and after each answer.
class FocusTakingBoxes {
public:
    void Before();
    void After();

private:
    int m_nDepth = 0;
    QPointer<QWidget> m_pField;
};
