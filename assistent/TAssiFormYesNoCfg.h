#pragma once
// The wizard's yes/no question pages: configure a part (the box, the
// camera, the controller, the door interface, the switch module, the
// subscribers, the system settings) or leave it. The answer is one bit of
// the wizard's answer flags. A page that belongs to an optional device
// offers "yes" only while the device is present.
//
// One form serves the seven steps; each takes its class name, flag bit,
// heading and extras from the step's row.

#include "TFormAssiKonfig.h"

#include <cstdint>

class QRadioButton;

class TAssiFormYesNoCfg : public TFormAssiKonfig {
    Q_OBJECT

public:
    // Whether the state has a yes/no page of this kind.
    static bool HasPage(std::uint8_t state);

    TAssiFormYesNoCfg(QWidget* owner, TMoxDocument* doc, TkResourcen* res, IAssiFrame* frame,
                      std::uint8_t state);

protected:
    void OnOpen() override;
    void OnSave() override;

private:
    struct Row;
    static const Row* RowOf(std::uint8_t state);
    bool DevicePresent() const;

    const Row* m_pRow;
    QLabel* m_pHeading = nullptr;
    QLabel* m_pLabelVersion = nullptr;
    QRadioButton* m_pRadioSet = nullptr;
    QRadioButton* m_pRadioNoSet = nullptr;
};
