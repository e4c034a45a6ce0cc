#pragma once
// TKonfigDlg: a modal OK/Cancel dialog that shows one configuration page on
// its panel, so that a page can be edited outside the main window: the SMS
// providers (page 7) from the input pages, the switching codes (18) and the
// switch-module relays (22) from their programming start pages.
//
// The page is made through the page factory with a holder of kind 39, so
// this library needs no page library; it is stored by this dialog (OK), not
// when it is destroyed. While the dialog exists the main window forwards the
// programming results to it, and it hands them to the page.
//
// GUI thread only.

#include "IHostedProgPage.h"
#include "MessageAddress.h"

#include <QDialog>

#include <cstdint>
#include <memory>

class IMainTransfer;
class TDataView;
class TkResourcen;
class TNodeData;

namespace mox::platform {
class MessageReceiver;
struct WindowMessage;
} // namespace mox::platform
namespace Ui {
class KonfigDlg;
}

class TKonfigDlg : public QDialog, public IProgPageHost {
    Q_OBJECT

public:
    // The page numbers this dialog shows; any other number gives an empty
    // dialog.
    static constexpr std::uint8_t kPageSMS = 7;
    static constexpr std::uint8_t kPageSchaltcode = 18;
    static constexpr std::uint8_t kPageBSM = 22;

    // readBox: pages 18 and 22 read the configuration from the box first.
    // transfer: the controller the pages 18 and 22 program with; not owned.
    // res must be given.
    TKonfigDlg(QWidget* owner, bool readBox, IMainTransfer* transfer, std::uint8_t page,
               TkResourcen* res);
    ~TKonfigDlg() override;

    TKonfigDlg(const TKonfigDlg&) = delete;
    TKonfigDlg& operator=(const TKonfigDlg&) = delete;

    // OK: stores the page (pages 18 and 22 only after an assignment was
    // started, else the dialog ends as cancelled) and ends with Accepted.
    void OnOk();
    // Ends with Rejected, storing nothing.
    void OnCancel();

    TDataView* GetPage() const { return m_pPage; }
    std::uint8_t GetPageNumber() const { return m_nPage; }

    // The address the main window forwards the programming results to.
    mox::platform::MessageAddress Address() const;

    // IProgPageHost
    bool GetReadBox() const override { return m_bReadBox; }
    void CancelHost() override { OnCancel(); }

    // Closing is asked of the page first: a page that refuses keeps the
    // dialog open.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::intptr_t OnMessage(const mox::platform::WindowMessage& msg);
    void ClosePage();

    std::unique_ptr<Ui::KonfigDlg> ui;
    TDataView* m_pPage = nullptr; // owned (a child of the panel)
    std::uint8_t m_nPage;
    std::unique_ptr<TNodeData> m_pNodeData;
    TkResourcen* m_pRes;
    bool m_bReadBox;
    mox::platform::MessageReceiver* m_pReceiver = nullptr;
};
