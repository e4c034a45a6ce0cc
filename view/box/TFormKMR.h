#pragma once
// TFormKMR: the settings of the camera device (node kind 9): camera type,
// number of B channels and the four picture settings. The wizard embeds the
// same page with kind 38.

#include "TDataView.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;

namespace Ui {
class FormKMR;
}

class TFormKMR : public TDataView {
    Q_OBJECT

public:
    // The Tag that ties the bandwidth edit to its spin button.
    static constexpr int kBandbreiteTag = 10002;

    TFormKMR(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormKMR() override;

    // The spin button's halves and the field's filter, with the widget that
    // fired (its Tag finds the edit).
    void OnUpClick(QWidget* sender);
    void OnDownClick(QWidget* sender);
    void OnCheckInput(QWidget* sender);
    void OnExit(QWidget* sender);

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* EditOf(QWidget* sender) const;

    std::unique_ptr<Ui::FormKMR> ui;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* m_pBandbreiteLabel = nullptr;
    QLabel* m_pHelligkeitLabel = nullptr;
    QLabel* m_pKontrastLabel = nullptr;
    QLabel* m_pSaettigungLabel = nullptr;
    QComboBox* m_pKameratypCombo = nullptr;
    QLineEdit* m_pBandbreite = nullptr;
    QWidget* m_pBandbreiteSpin = nullptr;
    QToolButton* m_pSpinUp = nullptr;
    QToolButton* m_pSpinDown = nullptr;
    QSlider* m_pCodierqualTrack = nullptr;
    QLabel* m_pSchnellLabel = nullptr;
    QLabel* m_pScharfLabel = nullptr;
    QSlider* m_pKontrastTrack = nullptr;
    QSlider* m_pHelligkeitTrack = nullptr;
    QSlider* m_pSaettigungTrack = nullptr;
    QLabel* m_pCodierqualLabel = nullptr;
    bool m_bFiltering = false;
};
