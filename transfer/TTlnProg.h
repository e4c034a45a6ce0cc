#pragma once
// Subscriber programming: the transfer controller's programming state, the
// free-address list, the commands the programming dialogs send, and the
// handling of the box's programming messages.
//
// The box leads: it announces programming mode and every unit put into
// programming, and the PC answers with commands. The messages are handled
// whenever they arrive, inside or outside a modal run; only reading the
// free-address list (mode 5) and count (mode 6) run modally. Every outcome
// goes to the main window as a programming result (IProgResultOwner), never
// as a return value.
//
// GUI thread only, like the engine it works with.

#include "IProgResultOwner.h"
#include "TProgDefs.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class TDataTransferEngine;
class TTkDataMsg;

class TTlnProg {
public:
    explicit TTlnProg(TDataTransferEngine& engine);

    TTlnProg(const TTlnProg&) = delete;
    TTlnProg& operator=(const TTlnProg&) = delete;

    // The main window (null: results are only traced).
    void SetResultOwner(IProgResultOwner* owner) { m_pResultOwner = owner; }

    // ---- State ----
    // Saves the state to return to when the free-address list (1) or count
    // (2) is entered; 6 returns to it.
    void SetProgMode(int newState);
    int GetProgMode() const { return m_eProgState; }
    int GetTempProgState() const { return m_eTempProgState; }

    bool IsBTLMAktiv() const { return m_wAdrBTLM != 0; }
    bool IsProgModeAktiv() const { return m_wAdrBSG != 0; }
    bool IsBSMAktiv() const { return m_eProgState == eProgStateBSM; }
    bool IsProgTlnAktiv() const { return m_eProgState == eProgStateProgTln; }

    // ---- Setters for the dialogs ----
    void SetTlnAdr(std::uint16_t adr);
    void SetTlnIdx(int idx);
    void SetBTLM(std::uint16_t adr);
    void SetBSG(std::uint16_t adr);
    void SetBSGKenniffer(std::uint16_t id);
    void SetBSM(std::uint16_t adr, std::uint16_t relais);
    void SetProgProt(std::uint8_t prot);

    // ---- What the dialogs, the views and the main window read ----
    std::uint16_t GetAdrBTLM() const { return m_wAdrBTLM; }
    std::uint16_t GetAdrBSG() const { return m_wAdrBSG; }
    std::uint16_t GetTlnAdr() const { return m_wAdrKomBus; }
    int GetTlnIdx() const { return m_nTlnIdx; }
    // Subscriber address of the last PROG_QUITT.
    std::uint16_t GetQuittAdr() const { return m_wQuittAdr; }
    std::uint16_t GetBSGKenniffer() const { return m_wBSGKenniffer; }
    bool IsVideo() const { return m_bVideo; }
    std::uint16_t GetAdrBSM() const { return m_wAdrBSM; }
    std::uint16_t GetBSMRelais() const { return m_wBSMRelais; }
    std::uint8_t GetProgProt() const { return m_byProgProt; }
    // Free-address count: reported by the box; the dialogs set and clear it
    // too, and it is the first address of the list request.
    std::uint16_t GetKBACounter() const { return m_wKBACount; }
    void SetKBACounter(std::uint16_t count);

    // ---- Free-address list (index 0..30; 0 is an empty slot) ----
    void ResetKBA();
    // False (nothing changed) for an index outside the list.
    bool SetKBA(int idx, std::uint16_t adr);
    // 0 for an index outside the list.
    std::uint16_t GetKBA(int idx) const;
    int GetAnzKBA() const;
    // Clears the slot holding adr; false when none does (0 is never found).
    bool DelKBA(std::uint16_t adr);
    // Into the first empty slot, and the count goes up; 0 and a full list
    // take nothing.
    bool AddKBA(std::uint16_t adr);

    // ---- Commands (each sends at once; outcomes come as results) ----
    void InitiateDelTln();
    void InitiateDelAllTln();
    void InitiateProgAkt();
    void InitiateProgPassiv();
    void InitiateBSMTasteProg(std::uint16_t adr, std::uint8_t idx);
    void InitiateProgBTLM();
    void InitiateBTLMTasteProg(std::uint16_t adr, std::uint8_t idx);
    // The modal requests of modes 5 and 6; true when the request went out
    // (a failed send has ended the run already).
    bool InitiateProgKBA();
    bool InitiateKBACount();

    // Every received message and every time-out (null).
    void WorkOnProgData(const TTkDataMsg* pMsg);

    // After an ISDN hang-up: everything the box told is void.
    void ResetProgData();
    // The port changed: the box's programming mode is unknown.
    void OnPortChanged();

private:
    // onDone (commands without a time-out only): whether the block then
    // reached the box; called only when the send was taken.
    bool SendKBProg(std::uint8_t cmd, std::uint16_t adr1, std::uint16_t adr2,
                    std::uint32_t timeoutMs, std::uint8_t idx,
                    std::function<void(bool)> onDone = {});
    // A key command is reported done only once its block is with the box:
    // on the bus it may still wait behind others, and a block lost there
    // must not have been reported as assigned.
    std::function<void(bool)> KeyProgDone();
    void SendMsgToOwner(std::uint32_t code, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    void DumpProgMsg(const TTkDataMsg& msg) const;
    void StartKBARequest();
    // Back from the list or count to the saved state, unless the box has
    // changed the state meanwhile.
    void ReturnFromKBA();
    void EndKBARun();

    bool WorkOnFehler(const TTkDataMsg* pMsg);
    bool WorkOnProgAkt(const TTkDataMsg* pMsg);
    bool WorkOnProgPas(const TTkDataMsg* pMsg);
    void WorkOnAktiv(const TTkDataMsg* pMsg);
    void WorkOnProgTln(const TTkDataMsg* pMsg);
    void WorkOnKBACount(const TTkDataMsg* pMsg);
    void WorkOnKBARequest(const TTkDataMsg* pMsg);
    void WorkOnStaleKBA(const TTkDataMsg* pMsg);

    TDataTransferEngine& m_Engine;
    IProgResultOwner* m_pResultOwner = nullptr;

    std::int8_t m_eProgState = eProgStateUndefined;
    std::int8_t m_eTempProgState = eProgStateUndefined;
    std::uint16_t m_wAdrBTLM = 0;
    std::uint16_t m_wAdrBSG = 0;
    std::uint16_t m_wAdrKomBus = 0;
    std::uint16_t m_wQuittAdr = 0;
    std::uint16_t m_wAdrBSM = 0;
    std::uint16_t m_wBSMRelais = 0;
    std::uint16_t m_wBSGKenniffer = 0;
    // Every programming dialog talks on channel 3; starting there lets a
    // delete reach the box before any of them has run.
    std::uint8_t m_byProgProt = eProtProg;
    int m_nTlnIdx = 0;
    bool m_bVideo = false;
    std::array<std::uint16_t, MAX_ANZ_TLN> m_awKBA{};
    std::uint16_t m_wKBACount = 0;
    // Address HT_PROG_AKT went out with; cancelling a first assignment ends
    // the unit's programming with it (the dialog knows none yet).
    std::uint16_t m_wAdrProgAkt = 0;
    // The port may report a block's outcome after this object is gone; it
    // then finds this expired.
    std::shared_ptr<int> m_pAlive = std::make_shared<int>(0);
};
