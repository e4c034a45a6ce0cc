#pragma once
// TMoxMain: the program's main window. The configuration tree on the left,
// the current page on the right, menus, tool bar and a five-panel status
// bar. It owns the language texts, the document, the recent-file list, the
// current page, the bus control and the transfer controller, and it routes
// the transfer, ISDN and programming messages between them.
//
// Order rules that keep pages safe: a page is stored into the document
// before anything replaces it; a tree rebuild drops the current page without
// storing it again (its callers have stored it); rebuilds, page switches and
// WM_OPEN asked for while a page's own operation runs are queued and run
// after it returned, and WM_OPEN goes only to a page that exists.
//
// GUI thread only. The window is reachable program-wide through Instance()
// while it exists.

#include "IDocLanguageRefresh.h"
#include "IViewHost.h"
#include "MessageAddress.h"
#include "TMainControls.h"
#include "TMoxMainSeams.h"
#include "WindowMessage.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IAssistent;
class IDocMessageBox;
class IMainTransfer;
class QLabel;
class QTimer;
class QTreeWidgetItem;
class TDataView;
class THelpWindow;
class TkResourcen;
class TMainMessageBox;
class TMoxDocument;
class TNodeData;
class TProgStatePanel;
class TQuell32Host;
class TRecentFileList;

namespace mox::platform {
class MessageReceiver;
}
namespace Ui {
class TMoxMain;
}

class TMoxMain : public QMainWindow, public IDocLanguageRefresh, public IViewHost {
    Q_OBJECT

public:
    // Throws mox::com::ComponentError when the bus control cannot be created.
    explicit TMoxMain(TMoxMainSeams seams = {}, QWidget* parent = nullptr);
    ~TMoxMain() override;

    static TMoxMain* Instance();

    // ---- program mode (handed over by the start-up after construction)
    void SetMode(int mode);
    int GetMode() const { return m_nMode; }
    void SetExpertFlag(bool expert);
    bool GetExpertFlag() const { return m_bExpert; }

    void SetAssistent(IAssistent* assistent) { m_pAssistent = assistent; }
    IAssistent* GetAssistent() const { return m_pAssistent; }

    // Dialogs that get the programming results while they show (they set
    // themselves while they run and clear when they go).
    enum eForwardSlot { eFwdTlnProgDlg = 0, eFwdTlnSetDlg, eFwdKonfigDlg, eFwdSlots };
    void SetForwardTarget(eForwardSlot slot, QWidget* dialog,
                          mox::platform::MessageAddress address);

    // ---- parts
    TMoxDocument* GetDoc() const { return m_pDoc.get(); }
    TkResourcen* GetRes() const { return m_pRes.get(); }
    IMainTransfer* GetDataTransfer() const { return m_pDataTransfer.get(); }
    TQuell32Host* GetQuell32() const { return m_pQuell32.get(); }
    // The window's message boxes for parts below the GUI (the document, the
    // transfer form).
    IDocMessageBox* GetMessageBox() const;
    TDataView* GetAktView() const { return m_pAktView; }
    std::uint8_t GetNodeKind() const { return m_nKind; }
    // Number of the box dialled or calling in.
    const std::string& GetRnrKunde() const { return m_RnrKunde; }
    TRecentFileList* GetRecentFiles() const { return m_pRecentFiles; }
    THelpWindow* GetHelpWindow() const { return m_pHelp; }
    TProgStatePanel* GetProgStatePanel() const { return m_pProgState; }
    std::string GetHelpFile() const;
    QString GetStatusText() const;

    // ---- messages
    mox::platform::MessageAddress Address() const;
    std::intptr_t Perform(std::uint32_t id, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    std::intptr_t Perform(const mox::platform::WindowMessage& msg);

    // ---- commands (the menu and tool bar run these; so may the wizard)
    void OnNewDocument();
    void OnOpenDocument();
    bool OnSaveDocument();
    bool OnSaveAsDocument();
    void OnRecentFile();
    void OnResetPage();
    void OnReadBox();
    void OnWriteBox();
    void OnRestartBox();
    void OnLoadDefaults();
    void OnPortDialog();
    void OnPrint();
    void OnPrinterSetup();
    void OnConnect();
    void OnDisconnect();
    void OnWizard();
    void OnAbout();
    void OnWebPage();
    void OnExpandAll();
    void OnCollapseAll();
    // Help requests by command number; true when handled.
    bool OnHelp(int command, std::intptr_t data);

    // Asks to store a modified document; false stops the caller.
    bool QuerySave();
    void UpdateControls();
    void BuildKonfigTree();
    // Runs a pending tree selection at once (it normally follows 50 ms
    // after the selection changed).
    void FlushTreeChange();
    // Selects the node of a kind; false when the tree has none.
    bool SelectNodeKind(std::uint8_t kind);

    // IDocLanguageRefresh
    void RefreshLanguage() override;
    // IViewHost
    TMoxDocument* GetViewDocument() override { return m_pDoc.get(); }
    // The read page's requests: without them a read from the page would
    // neither offer the edits for saving nor rebuild the tree for new
    // device types.
    bool ViewQuerySave() override { return QuerySave(); }
    void ViewRebuildTree() override { BuildKonfigTree(); }
    void ViewUpdateControls() override { UpdateControls(); }

    // Check mark of a trace menu item, by channel 0..6.
    void SetTraceCheck(int channel, bool on);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void SetupActions();
    void SetupStatusBar();
    void SetupTree();
    void ApplyTexts();
    void UpdateResetPopup();
    void UpdateHelpFile();
    void OnShowFirst();
    void OnStatusTimer();
    void UpdateProgState();
    void SetStatusFile(const QString& name);
    void SetStatusNoFile();
    void AddRecent(const std::string& name);

    // Tree
    void RequestTreeRebuild();
    void FitTreeToCaptions();
    void OnTreeItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void OnTreeViewChange();
    // After a refused change: current node and selection name the page
    // shown (fallback when the tree has no node of its kind).
    void SelectShownNode(QTreeWidgetItem* fallback);
    void CreateView(const TNodeData* holder);
    void DropView();
    void SendToView(std::uint32_t id, std::intptr_t wParam, std::intptr_t lParam);
    QTreeWidgetItem* ItemOfKind(std::uint8_t kind) const;
    std::uint8_t KindOf(const QTreeWidgetItem* item) const;

    // Messages
    std::intptr_t OnMessage(const mox::platform::WindowMessage& msg);
    void OnTransferEnd(const mox::platform::WindowMessage& msg);
    void OnCapiConnect(const mox::platform::WindowMessage& msg);
    void OnCapiConnectActive();
    void OnCapiDisconnect(const mox::platform::WindowMessage& msg);
    void ShowHangUpNotice(int textId, const QString& text, unsigned flags);
    void OnReadCapiTimer();
    void Forward(const mox::platform::WindowMessage& msg);
    void OnConnectionChanged();

    // Document commands share these.
    bool ReadBox();
    // A failure's text with the document's reason as its second line.
    QString WithFileReason(QString text) const;
    void ShowOpenFailure(const std::string& name);
    void ShowSaveFailure();
    // The save dialog, answered until the user cancels or names a file that
    // is new or may be replaced: the name the document will really write.
    std::string ChooseSaveName();
    int Msg(int textId, unsigned flags, int captionId = 1002);
    int MsgText(int textId, const QString& text, unsigned flags, int captionId = 1002);
    QString Text(int id) const;
    std::string DefaultsPath() const;

    std::unique_ptr<Ui::TMoxMain> ui;
    TMoxMainSeams m_Seams;

    // Members in the order they are built.
    int m_nMode = 0;
    bool m_bExpert = false;
    std::unique_ptr<TkResourcen> m_pRes;
    std::unique_ptr<TMainMessageBox> m_pDocMessageBox;
    std::unique_ptr<TMoxDocument> m_pDoc;
    std::unique_ptr<TQuell32Host> m_pQuell32;
    std::unique_ptr<IMainTransfer> m_pDataTransfer;
    TRecentFileList* m_pRecentFiles = nullptr;
    TDataView* m_pAktView = nullptr;
    std::uint8_t m_nKind = 0;
    std::string m_RnrKunde; // number of the box dialled or calling in
    bool m_bDialing = false;   // from the dial until the call is up or cleared
    bool m_bConnected = false;
    bool m_bBlink = false;
    bool m_bExpandedAll = false;
    bool m_bDefaultsLoaded = false; // the status names "default values"
    IAssistent* m_pAssistent = nullptr;
    mox::platform::MessageReceiver* m_pReceiver = nullptr;

    struct ForwardTarget {
        QPointer<QWidget> dialog;
        mox::platform::MessageAddress address;
    };
    std::array<ForwardTarget, eFwdSlots> m_Forward;

    // Tree: one holder per node, kept while the node exists.
    std::vector<std::unique_ptr<TNodeData>> m_NodeHolders;
    bool m_bBuildingTree = false;
    bool m_bRebuildQueued = false;
    TDataView* m_pQueriedView = nullptr; // the page that agreed to be left

    THelpWindow* m_pHelp = nullptr;
    std::string m_HelpFile;
    TProgStatePanel* m_pProgState = nullptr;
    QLabel* m_pStatusText = nullptr;
    QLabel* m_pStatusTime = nullptr;
    QLabel* m_pStatusDate = nullptr;
    QLabel* m_pStatusModified = nullptr;
    QTimer* m_pStatusTimer = nullptr;
    QTimer* m_pReadCAPITimer = nullptr;
    QTimer* m_pTreeChangeTimer = nullptr;
    QMenu* m_pResetPopup = nullptr;
    QAction* m_pRuecksetzenDatenMenuItem = nullptr;
    QAction* m_pRuecksetzenKTXMenuItem = nullptr;
    QAction* m_pRuecksetzenKTXDefaultMenuItem = nullptr;

    std::array<std::uint8_t, 255> m_ResetBuffer{};
};
