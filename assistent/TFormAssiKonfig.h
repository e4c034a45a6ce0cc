#pragma once
// TFormAssiKonfig: the base of the wizard's own work pages (the question
// pages). A page fills its owner, the wizard's work panel; it loads itself
// on WM_OPEN and stores its answer on WM_SAVE, like the configuration pages.
//
// Construction: TFormAssiKonfig::Create<Page>(...) builds the page's widgets
// and then applies the language texts (by each component's "Tag"), so that
// the texts reach the widgets a derived constructor made.

#include <QWidget>

#include <cstdint>
#include <utility>

class IAssiFrame;
class QLabel;
class QScrollArea;
class QVBoxLayout;
class TkResourcen;
class TMoxDocument;

class TFormAssiKonfig : public QWidget {
    Q_OBJECT

public:
    // owner: the wizard's work panel (it becomes the parent; a null owner is
    // an invariant failure). doc, res, frame: borrowed.
    TFormAssiKonfig(QWidget* owner, TMoxDocument* doc, TkResourcen* res, IAssiFrame* frame);
    ~TFormAssiKonfig() override;

    template <class Page, class... Args> static Page* Create(Args&&... args) {
        Page* page = new Page(std::forward<Args>(args)...);
        static_cast<TFormAssiKonfig*>(page)->FinishConstruction();
        return page;
    }

    // WM_SAVE calls OnSave, WM_OPEN calls OnOpen; other messages are ignored.
    std::intptr_t Perform(std::uint32_t msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    // Whether the page may be left; the wizard's pages always agree.
    virtual bool CloseQuery() { return true; }
    // The page is closed by the wizard as it ends (the end page sends here).
    virtual void OnClosePage() {}
    // Whether one of the page's own handlers is running (the page must not
    // be deleted then).
    bool IsInHandler() const { return m_nInHandler > 0; }

    // A message box with the language text of the id and the wizard's
    // caption (text 5000); returns the button pressed.
    int MessageBox(int textId, unsigned flags);

protected:
    virtual void OnSave() {}
    virtual void OnOpen() {}

    // Widgets in the page's scroll box, one under the other.
    QLabel* AddLabel(const char* name, int tag, bool bold = false);
    void AddWidget(QWidget* widget);
    QWidget* Content() const { return m_pContent; }

    TMoxDocument* m_pDoc;
    TkResourcen* m_pRes;
    IAssiFrame* m_pFrame;
    QScrollArea* ScrollBox1 = nullptr;

private:
    void FinishConstruction();

    QWidget* m_pContent = nullptr;
    QVBoxLayout* m_pLayout = nullptr;
    int m_nInHandler = 0;
};
