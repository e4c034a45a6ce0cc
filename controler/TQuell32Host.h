#pragma once
// The main window's bus control: Quell32 created through the component layer
// by its class id, with the host's site (so its reader thread can reach the
// GUI thread), its stored properties restored from the settings and its one
// event connected. The bus port drives it through its dispatch interface
// (TQuell32Dispatch); the window hands the event on to the controller.
//
// Creating it throws mox::com::ComponentError when the control is not
// registered or its module cannot be used; the start-up shows that error and
// the program ends.
//
// GUI thread only.

#include "ComPtr.h"

#include <functional>

class QObject;

class TQuell32Host {
public:
    // guiReceiver: an object on the GUI thread that outlives the host.
    explicit TQuell32Host(QObject* guiReceiver);
    ~TQuell32Host();

    TQuell32Host(const TQuell32Host&) = delete;
    TQuell32Host& operator=(const TQuell32Host&) = delete;

    // Called on the GUI thread for every TeleReceived event.
    void SetTeleReceivedHandler(std::function<void()> handler);

    mox::com::IDispatch* Control() const { return m_pControl.Get(); }

private:
    class EventSink;

    mox::com::ComPtr<mox::com::IDispatch> m_pControl;
    mox::com::ComPtr<mox::com::ISite> m_pSite;
    EventSink* m_pSink = nullptr; // owned through its reference count
};
