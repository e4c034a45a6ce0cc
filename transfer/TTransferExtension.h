#pragma once
// Subscriber programming and the firmware download, plugged into the
// transfer controller's engine as its one extension. The transfer dialog
// (and the main window, for the programming results) reach the two parts
// through GetTlnProg and GetFirmware.
//
//   TDataTransferEngine engine(clock, settings, ports);
//   TTransferExtension ext(engine, clock);
//   engine.SetExtension(&ext);
//   ext.GetTlnProg().SetResultOwner(&mainWindowResults);
//   ext.GetFirmware().SetView(&transferDialogFirmwareGroup);

#include "ITransferExtension.h"
#include "TFirmwareDownload.h"
#include "TTlnProg.h"

class ITransferClock;
class TDataTransferEngine;

class TTransferExtension : public ITransferExtension {
public:
    TTransferExtension(TDataTransferEngine& engine, ITransferClock& clock);

    TTlnProg& GetTlnProg() { return m_TlnProg; }
    const TTlnProg& GetTlnProg() const { return m_TlnProg; }
    TFirmwareDownload& GetFirmware() { return m_Firmware; }
    const TFirmwareDownload& GetFirmware() const { return m_Firmware; }

    bool StartMode(int mode) override;
    bool StartFirmware() override { return m_Firmware.StartFirmware(); }
    void WorkOnFirmwareStep(int mode, const TTkDataMsg* pMsg) override {
        m_Firmware.WorkOnFirmwareStep(mode, pMsg);
    }
    void WorkOnProgData(const TTkDataMsg* pMsg) override { m_TlnProg.WorkOnProgData(pMsg); }
    void OnTransferStart() override;
    void OnFirmwareStop() override { m_Firmware.OnFirmwareStop(); }
    bool OnCancelRequest() override { return m_Firmware.OnCancelRequest(); }
    void OnPortChanged() override { m_TlnProg.OnPortChanged(); }
    void OnIsdnHangup() override { m_TlnProg.ResetProgData(); }

private:
    TTlnProg m_TlnProg;
    TFirmwareDownload m_Firmware;
};
