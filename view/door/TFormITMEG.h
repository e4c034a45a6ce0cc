#pragma once
// TFormITMEG: the page of the door interface's multifunction input (node
// kind 15, also embedded in the wizard). The input has one of four modes:
// none, signal input (a direct call, a chain call and SMS options), time
// switch (switches the door automation or the call diversion of a
// permission group, or the concierge function, on and off) or floor call;
// a hint text belongs to every mode but the time switch.
//
// The page keeps a working copy of the input: the controls go into it when
// the page is stored, and only when they pass the checks; a page whose
// signal input or floor call lacks a number refuses to be left.
//
// A document whose input serves the relay (mode 4), or holds a mode the
// page does not know, shows no mode; until the user chooses one the page
// stores the input as it found it.

#include "MoxDaten.h"
#include "TDataView.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class TFormITMEG : public TDataView {
    Q_OBJECT

public:
    // Positions of the mode list; they equal the modes 0..3.
    enum { IDX_KEINE = 0, IDX_MELDEEINGANG = 1, IDX_SCHALTAUSGANG = 2, IDX_ETAGENRUF = 3 };

    // The working copy of the input.
    struct MEG {
        std::uint8_t Mode = eModeMeldeEingangUndefined;
        QString Nr1; // direct call (mode 1) or floor call (mode 3)
        QString KettenRnr;
        QString SMSRnr;
        std::uint8_t ProviderIdx = MOX_PROVIDERIDX_NONE;
        std::uint8_t PGIdx = 0;
        std::uint16_t Options = 0;
        QString Text;
    };

    // Opens the SMS providers page in its hosting dialog and returns when
    // it was closed. Tests replace it so that no modal dialog runs.
    using SMSDialogHook = std::function<void(QWidget* owner, TkResourcen* res)>;
    static void SetSMSDialogForTesting(SMSDialogHook hook);

    TFormITMEG(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormITMEG() override;

    const MEG& WorkingCopy() const { return m_MEG; }

    // Handlers of the controls.
    void OnChangeMode();
    void OnCheckSchaltuhr(QCheckBox* sender);
    void OnClickSignal();
    void OnClickKettenruf();
    void OnSMSImmer();
    void OnSMS();

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void OnCloseQuery(bool& canClose) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildSignalPanel(QWidget* parent);
    void BuildSchaltuhrPanel(QWidget* parent);
    void FillLists(const TMoxDocument* doc);
    void LoadCopy(const TMoxDocument* doc);
    // Shows the working copy in the controls.
    void ShowMEG();
    // The checks of a signal input and a floor call; 0 when they pass,
    // else the text id of the refusal.
    int CheckControls() const;
    // Takes the controls into the working copy; false (after the message)
    // when a check failed, and the copy stays as it was.
    bool ReadControls();
    void EnablePGList(bool enable);
    int ProviderPosition(std::uint8_t providerIdx) const;

    QComboBox* m_pComboBoxMode = nullptr;
    QLabel* m_pLabelTxt = nullptr;
    QLineEdit* m_pTxt = nullptr;

    QWidget* m_pPanelMeldeeingang = nullptr;
    QCheckBox* m_pSignal = nullptr;
    QLineEdit* m_pSignalRnr = nullptr;
    QCheckBox* m_pKettenruf = nullptr;
    QLineEdit* m_pKettenRnr = nullptr;
    QCheckBox* m_pSprachAG = nullptr;
    QCheckBox* m_pSMSNichtmeldenDirektruf = nullptr;
    QCheckBox* m_pSMSNichtmeldenKettenruf = nullptr;
    QCheckBox* m_pSMSImmer = nullptr;
    QCheckBox* m_pSMSVerbindung = nullptr;
    QComboBox* m_pSMSProviderCombo = nullptr;
    QLineEdit* m_pSMSRnr = nullptr;
    QPushButton* m_pSMSBtn = nullptr;

    QWidget* m_pPanelSchaltuhr = nullptr;
    QCheckBox* m_pTuematik = nullptr;
    QCheckBox* m_pDiversion = nullptr;
    QCheckBox* m_pConcierge = nullptr;
    QLabel* m_pLabel = nullptr;
    QComboBox* m_pPGIdx = nullptr;

    QWidget* m_pPanelEtagenruf = nullptr;
    QLineEdit* m_pEtagenRnr = nullptr;

    MEG m_MEG;
    // Provider index of each entry of the provider list after entry 0
    // ("none"): the list shows only the providers that have a name.
    std::array<std::uint8_t, MOX_MAX_SMS> m_ProviderOfEntry{};
    int m_nProviderEntries = 0;
    // The mode-list position ShowMEG left; choosing it again changes
    // nothing.
    int m_nShownPos = -1;
};
