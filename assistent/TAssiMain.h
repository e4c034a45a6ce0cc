#pragma once
// TAssiMain: the setup wizard. A top-level window that leads a first-time
// user through the configuration in up to 27 steps: a work page on the left
// (a question page of the wizard or a configuration page embedded with node
// kind 38), a help page on the right, the step caption and four buttons
// below. The answers, the document's device types and the program mode
// decide the order (TAssiSequence).
//
// The main window owns the wizard and hides while it shows. The wizard works
// on the main window's document and on its transfer controller, or on one of
// its own while the main window has none. Finishing writes the document to
// the file named by language text 999, which the main window opens when it
// is shown again; a write that fails keeps the wizard open with everything
// entered. After a page that programs the box live the configuration also
// goes to the box, once, before the write.
//
// Pages are replaced only from the wizard's own handlers, never from inside
// a page's: the read page posts its outcome. GUI thread only.

#include "IAssiFrame.h"
#include "IAssistent.h"
#include "TAssiSeams.h"
#include "TAssiSequence.h"
#include "TNodeData.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class IMainTransfer;
class QLabel;
class QPushButton;
class QTimer;
class TDataView;
class TFormAssiHelp;
class TFormAssiKonfig;
class TkResourcen;
class TMoxDocument;
class TMoxMain;

namespace mox::platform {
class MessageReceiver;
class MessageAddress;
} // namespace mox::platform

class TAssiMain : public QWidget, public IAssistent, public IAssiFrame {
    Q_OBJECT

public:
    static constexpr int kMinWidth = 640;
    static constexpr int kMinHeight = 400;

    // owner: the main window; it must have its language texts.
    explicit TAssiMain(TMoxMain* owner, TAssiSeams seams = {});
    ~TAssiMain() override;

    // The one wizard, while it exists.
    static TAssiMain* Instance();

    // IAssistent
    void ShowAssistent() override;
    bool IsAssistentVisible() const override { return isVisible(); }
    int TakeModalResult() override;
    std::string GetFileName() const override;
    void ApplyTexts() override;
    void ForwardMessage(const mox::platform::WindowMessage& msg) override;

    // IAssiFrame
    bool GetFlag(std::uint16_t bit) const override;
    void SetFlag(std::uint16_t bit, bool on) override;
    bool GetTransfer() const override;
    bool RunPortDialog() override;
    bool SendToBox() override;
    void PostToFrame(std::uint32_t id, std::intptr_t wParam, std::intptr_t lParam) override;

    void SetTransfer(bool transfer);
    TMoxDocument* GetDoc() const;
    // The wizard's own controller if it has one, else the main window's;
    // nullptr when neither exists.
    IMainTransfer* GetDataTransfer() const;
    bool HasOwnTransfer() const { return m_pOwnTransfer != nullptr; }
    mox::platform::MessageAddress Address() const;
    // Sends a window message to the wizard now.
    std::intptr_t Perform(const mox::platform::WindowMessage& msg);

    // Buttons.
    void OnVor();
    void OnZurueck();
    void OnFertig();
    void OnCancel();
    // The status lamp, every second.
    void OnTimer();

    std::uint8_t GetState() const { return m_nState; }
    std::uint16_t GetFlags() const { return m_Flags.Raw(); }
    std::uint8_t GetLastDeviceType() const { return m_nLastType; }
    int GetModalResult() const { return m_nModalResult; }
    int GetStateImage() const { return m_nStateImage; }
    // The current pages, for the ones who look at them.
    QWidget* GetWorkPage() const { return m_Work.widget; }
    QWidget* GetHelpPage() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Return and Enter go forward, Esc asks whether to end, as in a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct WorkPage {
        QPointer<QWidget> widget;
        TDataView* view = nullptr;
        TFormAssiKonfig* question = nullptr;
        std::function<void(const mox::platform::WindowMessage&)> perform;
        std::function<bool()> closeQuery;
        bool devices = false; // the devices page
    };

    void BuildWindow();
    void LayoutPanels();
    std::intptr_t OnMessage(const mox::platform::WindowMessage& msg);
    void OnGeraeteRead();

    bool ShowPage();
    void CreateWorkPage(std::uint8_t state);
    void SendToWork(const mox::platform::WindowMessage& msg);
    bool WorkCloseQuery();
    void CloseWork();
    void FreeWork();
    void FreeHelp();
    // After a step: a page that focused nothing leaves the focus on the
    // button that goes on.
    void FocusAfterStep();
    void Step(bool forward);
    bool DeviceTypeQuestion();
    void FreeOwnTransfer();
    TAssiDevices Devices() const;
    int Msg(int textId, unsigned flags);

    TMoxMain* m_pOwner;
    TAssiSeams m_Seams;
    std::unique_ptr<IMainTransfer> m_pOwnTransfer;
    TkResourcen* m_pRes = nullptr;
    TNodeData m_IconDesc{eAssistent};
    WorkPage m_Work;
    QPointer<TFormAssiHelp> m_pHelpPage;
    bool m_bBlink = false;
    bool m_bTransfer = false;
    std::uint8_t m_nState = 0;
    TAssiFlags m_Flags;
    std::uint8_t m_nLastType = 0;
    int m_nModalResult = 0;
    int m_nStateImage = 5;
    mox::platform::MessageReceiver* m_pReceiver = nullptr;

    QWidget* m_pTopPanel = nullptr;
    QLabel* m_pLogo = nullptr;
    QWidget* m_pBottomPanel = nullptr;
    QWidget* m_pLeftPanel = nullptr;
    QWidget* m_pRightPanel = nullptr;
    QWidget* m_pKonfigPanel = nullptr;
    QWidget* m_pHelpPanel = nullptr;
    QLabel* m_pHelpStaticText = nullptr;
    QWidget* m_pControlPanel = nullptr;
    QLabel* m_pAktCaption = nullptr;
    QLabel* m_pStateImage = nullptr;
    QPushButton* m_pCancelBtn = nullptr;
    QPushButton* m_pBackBtn_NoHelp = nullptr;
    QPushButton* m_pForwardBtn_NoHelp = nullptr;
    QPushButton* m_pOkBtn = nullptr;
    QTimer* m_pTimer = nullptr;
};
