#pragma once
// The wizard's place until the wizard itself is built: a window that, as
// soon as it is shown, hands over to the main window, as a wizard the user
// cancelled at once would.

#include "IAssistent.h"

#include <QWidget>

class TMoxMain;

class TAssiPlaceholder : public QWidget, public IAssistent {
    Q_OBJECT

public:
    explicit TAssiPlaceholder(TMoxMain* owner);

    void ShowAssistent() override;
    bool IsAssistentVisible() const override { return isVisible(); }
    int TakeModalResult() override { return 0; }
    std::string GetFileName() const override { return {}; }
    void ApplyTexts() override {}
    void ForwardMessage(const mox::platform::WindowMessage&) override {}

private:
    void HandOver();

    TMoxMain* m_pOwner;
};
