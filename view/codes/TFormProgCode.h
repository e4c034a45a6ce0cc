#pragma once
// TFormProgCode: the base of the two pages that teach the box which bus
// unit answers a code: a grid of six codes with the unit bound to each, the
// assign button, the instruction line and the programming results. The box
// must be in programming mode and the unit must have reported itself; the
// user selects a code row and presses the assign button, and the box
// confirms with RUECKMELDUNG_OK. The subclasses supply the rows, the labels
// and the commands.
//
// Shown by the page-hosting dialog (kind 39), which it may end as
// cancelled, and embedded in the wizard (kind 38). Not a tree page: it is
// stored by its host.
//
// Uses: the document through GetDoc, the box through the transfer
// controller's programming part. GUI thread only.

#include "IHostedProgPage.h"
#include "TDataView.h"

#include <QPixmap>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ICodeProg;
class IMainTransfer;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

namespace Ui {
class FormProgCode;
}

class TFormProgCode : public TDataView, public IHostedProgPage {
    Q_OBJECT

public:
    // The grid's icons: a bound code, an unbound one, the blink phase.
    enum eIcon { eIconBound = 0, eIconFree = 1, eIconBlink = 2, eIcons = 3 };

    // host: the dialog that shows the page, or null; not owned. readFlag:
    // read the configuration from the box before assigning. transfer must
    // be given (invariant); not owned.
    TFormProgCode(QWidget* owner, IProgPageHost* host, bool readFlag, IMainTransfer* transfer,
                  const TNodeData* holder, TkResourcen* res);
    ~TFormProgCode() override;

    // Takes the unit in programming from the controller.
    virtual void SetAktAdr() = 0;
    // The code row selected, 0-based.
    int GetAktIdx() const;
    // Row idx: the text is shown when given; the row keeps the unit's
    // address and the relay (switch module) or the video flag (door
    // loudspeaker unit), whichever the page binds.
    virtual void SetEntry(int idx, std::uint16_t adr, const char* text, std::uint8_t relay,
                          std::uint8_t video);
    virtual void GetEntry(int idx, std::uint16_t& adr, std::string& text, std::uint8_t& relay,
                          std::uint8_t& video) const;

    virtual int GetRowCount() const = 0;
    // The code and its text.
    virtual int GetColCount() const { return 2; }
    // The program state the assign button needs.
    virtual int GetProgStateNeeded() const = 0;
    virtual int GetHeaderTextId(int column) const;
    virtual std::string GetRowLabel(int idx) const = 0;
    virtual int GetTextId() const = 0;
    // The instruction line for the programming state now.
    virtual void RefreshToDo() = 0;
    // Whether the page binds codes to relays of a switch module, so that a
    // read without one ends the assignment, rather than to call keys of a
    // door loudspeaker unit.
    virtual bool NeedsBSM() const = 0;

    // One-shot read timer; a start while it runs is ignored.
    void StartTimer(int ms);
    void StopTimer();
    bool IsTimerActive() const;
    // What the timer runs: the read before assigning (tests call it
    // instead of waiting).
    void OnTimer();

    // The assign button.
    virtual void OnZuordnen() = 0;

    // IHostedProgPage
    bool IsAssignRequested() const override { return m_bAssignRequested; }

    bool IsBusy() const { return m_bBusy; }
    bool IsWizardMode() const { return m_bWizard; }
    bool GetReadFlag() const { return m_bReadFlag; }
    std::uint16_t GetTlnAdr() const { return m_wTlnAdr; }
    std::uint16_t GetUnitAdr() const { return m_wAktAdr; }
    // The icon row idx shows now (the 500 ms repaint turns the blink).
    int GetRowIcon(int idx) const;
    void RepaintIcons();

    // The program state (0 no medium, 1 idle, 2 box programming, 3 switch
    // module, 4 subscriber unit, 6 with video), from the link setting and
    // the controller's programming flags.
    int GetProgState() const;

    void Dispatch(TMessage& message) override;

    // Asks the host to rebuild the tree once the running handler and every
    // event loop it runs have returned; the rebuild destroys the tree's
    // page.
    static void QueueTreeRebuild();

protected:
    void InitPage() override;
    void showEvent(QShowEvent* event) override;

    // Builds the grid's rows and columns once the subclass is whole.
    void SetupGrid();
    // Widths of the code and the text column, set as the page is shown.
    void SetColumnWidths(int code, int text);
    void OnProgMsg(TMessage& message);
    // The assign button follows the subscriber address and the program
    // state.
    void UpdateZuordnen();
    bool CanAssign() const;
    void SetToDo(int textId);
    // Searches the first subscriber (in index order) with a bus address.
    std::uint16_t FindTlnAdr() const;
    void StartAssign();

    ICodeProg* Prog() const { return m_pProg.get(); }
    QTableWidget* Grid() const { return m_pGrid; }
    QPushButton* ZuordnenBtn() const { return m_pZuordnenBtn; }
    int ShowError(int textId);
    int ShowInfo(int textId);

    std::uint16_t m_wAktAdr = 0; // the unit in programming
    std::uint8_t m_byRelais = 0; // relay it reported (switch module)
    std::uint8_t m_byVideo = 0;  // video flag it reported (door loudspeaker)

    // The most codes a page binds.
    static constexpr int kEntries = 6;

private:
    struct Entry {
        std::uint16_t adr = 0;
        std::uint8_t relay = 0;
        std::uint8_t video = 0;
    };

    void OnCurrentCellChanged(int row, int column, int prevRow, int prevColumn);
    void OnReadFromBox();

    std::unique_ptr<Ui::FormProgCode> ui;
    QTableWidget* m_pGrid = nullptr;
    QPushButton* m_pZuordnenBtn = nullptr;
    QLabel* m_pToDoLabel = nullptr;
    QTimer* m_pTransferTimer = nullptr;
    QTimer* m_pSelectedDrawTimer = nullptr;
    std::array<QPixmap, eIcons> m_Icons;
    std::array<Entry, kEntries> m_Entries{};
    int m_nCodeWidth = 0;
    int m_nTextWidth = 0;

    bool m_bBusy = false;
    bool m_bBlink = false;
    std::uint16_t m_wTlnAdr = 0;
    bool m_bReadFlag;
    IProgPageHost* m_pHost;
    bool m_bAssignRequested = false;
    IMainTransfer* m_pDataTransfer;
    std::unique_ptr<ICodeProg> m_pProg;
    bool m_bWizard = false;
    bool m_bGridReady = false;
    bool m_bRevertingCell = false;
};
