#pragma once
// TFormRAKAG: the switching outputs of the universal controller (node kind
// 12), one tab per output. Each output is a switch, an additional signal
// contact of a subscriber or the video control contact of a subscriber with
// video; it has a name text and a voice-output flag. The page keeps a
// working copy of all outputs: a tab change moves the controls into the
// copy, a save writes the whole copy into the document.

#include "MoxDaten.h"
#include "TDataView.h"

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabBar;

class TFormRAKAG : public TDataView {
    Q_OBJECT

public:
    static constexpr std::uint16_t kNoTln = 0xFFFF;
    static constexpr int kMaxText = MOX_TEXT_SIZE - 1;

    struct SchaltAusgang {
        std::uint8_t mode = 0;
        std::uint16_t tlnIdx = kNoTln;
        std::uint8_t sprache = 0;
        std::string text; // Windows-1252
    };

    TFormRAKAG(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormRAKAG() override;

    const std::vector<SchaltAusgang>& Copy() const { return m_Ausgang; }

protected:
    void OnSave(TMessage& message) override;
    void OnOpen(TMessage& message) override;
    void OnRestore(TMessage& message) override;

private:
    void OnTabChanged(int index);
    void OnLoadNewSAG();
    void OnSaveNewSAG();
    void OnChangeMode();
    // The subscribers the output can serve: all, or those with video.
    void FillTln(bool videoOnly);
    bool ValidTab(int index) const;

    QTabBar* m_pTabControl = nullptr;
    QRadioButton* m_pSchalter = nullptr;
    QRadioButton* m_pNSC = nullptr;
    QRadioButton* m_pVideo = nullptr;
    QLabel* m_pTlnLabel = nullptr;
    QComboBox* m_pTlnIdx = nullptr;
    QCheckBox* m_pSprache = nullptr;
    QLineEdit* m_pTxt = nullptr;

    std::vector<SchaltAusgang> m_Ausgang;
    std::vector<std::uint16_t> m_ListTln;
    int m_nCurTab = -1;
    // The function button the subscriber list was last filled for.
    const QRadioButton* m_pShownMode = nullptr;
};
