#pragma once
// TFormIT: the door-call texts page (node kind 14, also embedded in the
// wizard): the names of the six doors with a ring tone each and the name of
// the floor call. Door-interface type 1 has three doors; the others stay in
// the document and are stored unchanged.

#include "TDataView.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;

class TFormIT : public TDataView {
    Q_OBJECT

public:
    static constexpr int kTexte = 7; // six doors and the floor call
    static constexpr int kTueren = 6;

    TFormIT(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormIT() override;

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* Label2 = nullptr;
    QLabel* m_pLabel = nullptr;
    QLabel* Label4 = nullptr;
    // m_pTuerTxt1 .. m_pTuerTxt7 and m_pRufton1 .. m_pRufton6.
    std::array<QLineEdit*, kTexte> m_pTuerTxt{};
    std::array<QComboBox*, kTueren> m_pRufton{};
};
