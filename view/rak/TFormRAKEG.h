#pragma once
// TFormRAKEG: the twelve signal inputs of the universal controller (node
// kind 11), one tab per input. An input does nothing, signals (a direct
// call, a chain call, SMS messages, a voice output) or works as a time
// switch of the door automation or call diversion of a permission group or
// of the concierge function. The page keeps a working copy of all inputs:
// leaving a tab checks its controls and moves them into the copy (the change
// is refused after a message when an option lacks its number), a save
// writes the whole copy into the document.
//
// The SMS button edits the SMS providers in the page-hosting dialog; the
// dialog is run through a hook, so tests answer it without a modal loop.

#include "MoxDaten.h"
#include "TDataView.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QWidget;

class TFormRAKEG : public TDataView {
    Q_OBJECT

public:
    static constexpr int kMaxRnr = MOX_EINGANGRNR_SIZE - 1;
    static constexpr int kMaxText = MOX_TEXT_SIZE - 1;
    static constexpr std::uint8_t kNoProvider = 0xFF;
    // The page of the page-hosting dialog that shows the SMS providers.
    static constexpr std::uint8_t kKonfigDlgSMS = 7;

    struct MeldeEingang {
        std::uint8_t mode = 0;
        std::string direktRnr; // Windows-1252, as all texts here
        std::uint8_t providerIdx = kNoProvider;
        std::string smsRnr;
        std::string kettenRnr;
        std::uint8_t pgIdx = 0;
        std::uint16_t options = 0;
        std::string name;
    };

    // Runs the page-hosting dialog with the page number, modally; the page
    // is its owner.
    using KonfigDlgRunner =
        std::function<void(QWidget* owner, std::uint8_t page, TkResourcen* res)>;
    // An empty runner restores the real dialog.
    static void SetKonfigDlgRunnerForTesting(KonfigDlgRunner runner);

    TFormRAKEG(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormRAKEG() override;

    const std::vector<MeldeEingang>& Copy() const { return m_Eingang; }

    // The SMS button.
    void OnSMS();

protected:
    void OnSave(TMessage& message) override;
    void OnOpen(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void InitPage() override;
    void OnCloseQuery(bool& canClose) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildSignalPanel(QWidget* parent);
    void BuildSchaltuhrPanel(QWidget* parent);

    void OnTabChanged(int index);
    void OnLoadNewMEG();
    // Checks the current tab and moves it into the copy; false (after the
    // message) when an option lacks its number.
    bool OnSaveMEG();
    // The checks of a signal input; the text id of the first that fails,
    // 0 when all pass.
    int CheckSignalInput();
    void OnChangeMode();
    void OnCheckSchaltuhr(QCheckBox* sender);
    void OnSignalClick();
    void OnKettenrufClick();
    void OnSMSImmer();
    void ApplySMSFieldRule();
    void FillProviderList();
    void ShowModePanels(std::uint8_t mode);
    bool ValidTab(int index) const;
    QString Text(int id) const;

    QTabBar* m_pTabControl = nullptr;
    QWidget* m_pScrollBoxMeldeeingang = nullptr;
    QComboBox* m_pComboBoxMode = nullptr;
    QLineEdit* m_pTxt = nullptr;
    QLabel* m_pLabelTxt = nullptr;
    QLabel* m_pLabelTxtSchaltuhr = nullptr;
    QLabel* m_pLabelTxtDefault = nullptr;

    QWidget* m_pPanelMeldeeingang = nullptr;
    QCheckBox* m_pSignal = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* m_pSignalRnr = nullptr;
    QCheckBox* m_pKettenruf = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* m_pKettenRnr = nullptr;
    QCheckBox* m_pSprachAG = nullptr;
    QCheckBox* m_pSMSNichtmeldenDirektruf = nullptr;
    QCheckBox* m_pSMSNichtmeldenKettenruf = nullptr;
    QCheckBox* m_pSMSImmer = nullptr;
    QCheckBox* m_pSMSVerbindung = nullptr;
    QLabel* Label14 = nullptr;
    QComboBox* m_pSMSProviderCombo = nullptr;
    QLabel* Label15 = nullptr;
    QLineEdit* m_pSMSRnr = nullptr;
    QPushButton* m_pSMSBtn = nullptr;

    QWidget* m_pPanelSchaltuhr = nullptr;
    QCheckBox* m_pTuematik = nullptr;
    QCheckBox* m_pDiversion = nullptr;
    QCheckBox* m_pConcierge = nullptr;
    QLabel* m_pLabel = nullptr;
    QComboBox* m_pPGIdx = nullptr;

    std::vector<MeldeEingang> m_Eingang;
    std::vector<std::uint8_t> m_ListProvider;
    int m_nCurTab = -1;
};
