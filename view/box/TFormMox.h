#pragma once
// TFormMox: the basic settings of the box (node kind 5): country, language,
// own call number, outside-line prefix and the concierge function. The
// wizard embeds the same page with kind 38.

#include "TDataView.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace Ui {
class FormMox;
}

class TFormMox : public TDataView {
    Q_OBJECT

public:
    TFormMox(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormMox() override;

    void OnClickConcierge();

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void showEvent(QShowEvent* event) override;

private:
    void FillCombo(QComboBox* combo, int firstId, int count);

    std::unique_ptr<Ui::FormMox> ui;
    QLabel* Label4 = nullptr;
    QLabel* m_pLabel = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* m_pLabelRnr = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* m_pConciergeEinAus = nullptr;
    QLineEdit* m_pMSN = nullptr;
    QLineEdit* m_pAKZ = nullptr;
    QLineEdit* m_pConciergeRnr = nullptr;
    QComboBox* m_pComboBoxLand = nullptr;
    QComboBox* m_pComboBoxSprache = nullptr;
    QCheckBox* m_pVideoCheckBox = nullptr;
};
