#pragma once
// TFormSperrnr: the four barred call numbers of the box (node kind 6). The
// wizard embeds the same page with kind 38.

#include "MoxDaten.h"
#include "TDataView.h"

#include <array>
#include <memory>

class QLineEdit;

namespace Ui {
class FormSperrnr;
}

class TFormSperrnr : public TDataView {
    Q_OBJECT

public:
    static constexpr int kCount = MOX_MAX_SPERRNR;

    TFormSperrnr(QWidget* owner, const TNodeData* holder, TkResourcen* res);
    ~TFormSperrnr() override;

protected:
    void OnOpen(TMessage& message) override;
    void OnSave(TMessage& message) override;
    void OnRestore(TMessage& message) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::FormSperrnr> ui;
    std::array<QLineEdit*, kCount> m_pSperr{};
};
