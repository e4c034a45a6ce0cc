#pragma once
// TFormITMFR: the page of the door interface's multifunction relay (node
// kind 16, also embedded in the wizard): the relay's mode and, for the
// secondary signal contact and the video control contact, the subscriber
// (door-interface type 3: the call input) it belongs to.

#include "TDataView.h"

#include <array>
#include <cstdint>

class QComboBox;
class QLabel;
class QRadioButton;

class TFormITMFR : public TDataView {
    Q_OBJECT

public:
    TFormITMFR(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormITMFR() override;

    // Bound to the click of every mode button; only a change of the
    // checked button changes the list.
    void OnChangeMode();

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;

private:
    // All subscribers ("1".. or "A".."D"); the list position is the index.
    void FillTlnList();
    // The subscribers with video; m_VideoTln keeps each entry's index.
    void FillVideoList();
    void EnableTlnList(bool enable);
    QRadioButton* CheckedMode() const;

    QLabel* Label5 = nullptr;
    QRadioButton* m_pSchalter = nullptr;
    QRadioButton* m_pTaster = nullptr;
    QRadioButton* m_pNSC = nullptr;
    QRadioButton* m_pVideo = nullptr;
    QRadioButton* m_pTuer = nullptr;
    QRadioButton* m_pLicht = nullptr;
    QLabel* m_pTlnLabel = nullptr;
    QComboBox* m_pTlnIdx = nullptr;

    // Subscriber index of each entry of the video list.
    std::array<std::uint16_t, 31> m_VideoTln{};
    int m_nVideoCount = 0;
    // The mode button the list was last filled for.
    const QRadioButton* m_pShownMode = nullptr;
};
