#pragma once
// TFormTlnBG: the permission groups of the box (node kind 25; the wizard
// embeds it with kind 38). Each group has a 4-digit code a caller dials, a
// set of rights, the subscriber (or call input) it belongs to and three call
// numbers. The groups are shown one at a time on the tabs; the page keeps a
// working copy of all groups, moves the controls into it when a tab is left
// and writes every copy into the document on save.
//
// A tab or the page is not left while the code is not 4 digits or belongs
// to another group, or while a switched-on comfort function lacks its
// number; the field to mend gets the focus.

#include "TDataView.h"

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QTabBar;

class TFormTlnBG : public TDataView {
    Q_OBJECT

public:
    TFormTlnBG(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormTlnBG() override;

    // One group as the page holds it between loading and storing.
    struct PGCopy {
        std::string code;
        std::uint32_t rights = 0; // bits: see the rights table
        std::string kettenRnr;
        std::string diversionRnr;
        std::string signalRnr;
        std::uint16_t tlnIdx = kNoTln;
        std::uint16_t outputs = 0; // controller outputs 1..12 as bits 0..11
    };
    static constexpr std::uint16_t kNoTln = 0xFFFF;
    static constexpr int kRAKOutputs = 12;

    // The group shown, -1 when the configuration has none.
    int CurrentGroup() const { return m_nTab; }
    const std::vector<PGCopy>& Copies() const { return m_Copies; }

protected:
    void InitPage() override;
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void OnCloseQuery(bool& canClose) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Right {
        int bit;
        QCheckBox* box;
    };

    void BuildForm();
    bool IsGroup(int index) const;
    // Whether code can be the code of a group: 4 characters, held by no
    // group but the excluded one (-1: none excluded, the code's own group
    // is then among those counted).
    bool IsCodeValid(const QString& code, int excluded) const;
    // Code-valid from the code the field holds now (group 0 has none).
    bool UpdateCodeValid();
    // Text 231, the code selected and the focus back in the field.
    void RefuseCode();
    // Whether a switched-on comfort function lacks its number; shows the
    // message and puts the focus into the number.
    bool MissingNumber();

    void OnTabChanged(int index);
    bool OnSavePG();
    void OnLoadNewPG();
    void OnExitPinInput();
    // The code field was left: its check runs once the focus has moved on,
    // unless the tab change or page change that moved it checked first.
    void OnCodeLeft();
    void OnCheck(QCheckBox* box);
    void OnRAK();
    void OnClickComfort(QCheckBox* box, QLineEdit* number);
    void OnSetCheckBoxes(QCheckBox* sender);
    void OnEGChange();
    void UpdateAllNone();
    void UpdateOutputsEnabled();
    void OverlapHint(QCheckBox* box);
    // Every check box of the page but "all" and "none".
    std::vector<QCheckBox*> Boxes() const;

    QTabBar* m_pTabControl = nullptr;
    QScrollArea* m_pScrollBox = nullptr;
    QLabel* m_pCaption = nullptr;
    QLabel* m_pTlnLabel = nullptr;
    QLabel* m_pCodeLabel = nullptr;
    QLabel* Label31 = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* Label33 = nullptr;
    QLineEdit* m_pCode = nullptr;
    QLineEdit* m_pKettenRnr = nullptr;
    QLineEdit* m_pSignalRnr = nullptr;
    QLineEdit* m_pDiversionRnr = nullptr;
    QComboBox* m_pEG = nullptr;
    QCheckBox* m_pAll = nullptr;
    QCheckBox* m_pNo = nullptr;

    QCheckBox* m_pTueroeffnen = nullptr;
    QCheckBox* m_pTueranwahl = nullptr;
    QCheckBox* m_pRAK = nullptr;
    QCheckBox* m_pTuermatik = nullptr;
    QCheckBox* m_pKettenruf = nullptr;
    QCheckBox* m_pSignal = nullptr;
    QCheckBox* m_pDiversion = nullptr;
    QCheckBox* m_pEinwahl = nullptr;
    QCheckBox* m_pTuermatikCheck = nullptr;
    QCheckBox* m_pKettenrufCheck = nullptr;
    QCheckBox* m_pSignalCheck = nullptr;
    QCheckBox* m_pDiversionCheck = nullptr;
    QCheckBox* m_pTuermatikSignal = nullptr;
    QCheckBox* m_pSchaltcode78 = nullptr;
    std::vector<Right> m_Rights;
    std::vector<QCheckBox*> m_Outputs;

    std::vector<PGCopy> m_Copies;
    int m_nTab = -1;
    bool m_bLoading = false;
    bool m_bCodeValid = true;
    // The code field was left and no check of the code has run since.
    bool m_bLeaveCheckDue = false;
};
