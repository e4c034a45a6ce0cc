#pragma once
// The kind of a configuration-tree node: one byte that names the part of the
// configuration a node shows. One holder per tree node; pages, dialogs,
// reports and the wizard get the holder (or a copy) and read the kind.
// Plain C++.

#include <cstdint>

enum eNodeKind : std::uint8_t {
    eNodeNone = 0,
    eProjectKonf = 1,
    eGeraeteliste = 2,
    eNodeGeraete = 3, // folder of the devices
    eNodeMox = 4,     // folder of the interface box (device header)
    eKTXKonfig = 5,
    eSperrnr = 6,
    eSMS = 7,
    eNodeKMR = 8, // folder of the camera device (device header)
    eKMRKonfig = 9,
    eNodeRAK = 10, // folder of the universal controller (device header)
    eRAKMEG = 11,
    eRAKSAG = 12,
    eNodeIT = 13, // folder of the door interface (device header)
    eITKonfig = 14,
    eITMfe = 15,
    eITMfr = 16,
    eNodeITKonfig = 17, // folder of the door-interface settings
    eITSchaltcode = 18,
    eEIBKonfig = 20, // a page that never stands in the tree
    eNodeBSM = 21,   // folder of the bus switching module (device header)
    eBSMKonfig = 22,
    eNodeTln = 23, // folder of the subscribers
    eTlnKonfig = 24,
    eTlnBG = 25,
    eTlnAktProg = 26,
    eNodeSystem = 27, // folder of the system settings
    eSystemKonfig = 28,
    eNodeTransfer = 29, // folder of the exchanges with the box
    eNodeDaten = 30,    // folder of reading and writing the configuration
    eDatenLesen = 31,
    eDatenSchreiben = 32,
    eNodeFirmware = 33,
    eFirmwareSchreiben = 34,
    eNodeEventLog = 35,
    eEventLogLesen = 36,
    eEventLogELM = 37,
    eAssistent = 38, // a page embedded in the wizard
    eKonfigDlg = 39, // a page embedded in the page-hosting dialog
};

class TNodeData {
public:
    explicit TNodeData(std::uint8_t kind = eNodeNone) : m_nKind(kind) {}

    std::uint8_t GetType() const { return m_nKind; }
    void SetKind(std::uint8_t kind) { m_nKind = kind; }

private:
    std::uint8_t m_nKind;
};
