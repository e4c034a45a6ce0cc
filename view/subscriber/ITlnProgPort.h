#pragma once
// What the subscriber page and dialogs use of the transfer controller's
// subscriber programming: the state the box announced, the free-address
// count and list, the address and index of the next command, and the
// commands. Each command sends at once; its outcome comes back as a
// programming result through the main window, never as a return value.
//
// A plain interface: the programming part's own state enumeration and the
// main window's program-state panel's one share a name, and no file may see
// both; the pages see the main window's side, so they reach the programming
// through this.

#include <cstdint>

class ITlnProgPort {
public:
    virtual ~ITlnProgPort() = default;

    // The box is in programming mode / a subscriber unit is in programming /
    // an address given to a unit waits for its acknowledgement.
    virtual bool IsProgModeAktiv() const = 0;
    virtual bool IsBTLMAktiv() const = 0;
    virtual bool IsProgTlnAktiv() const = 0;
    // The unit in programming, and whether it reported video.
    virtual std::uint16_t GetAdrBTLM() const = 0;
    virtual bool IsVideo() const = 0;

    // Free addresses: the count the box reported (the dialogs set and clear
    // it too) and the list's entries.
    virtual std::uint16_t GetKBACounter() const = 0;
    virtual void SetKBACounter(std::uint16_t count) = 0;
    virtual int GetAnzKBA() const = 0;
    // The address is free again; false when the list takes nothing.
    virtual bool AddKBA(std::uint16_t adr) = 0;

    // Subscriber address and index of the next command; the address the
    // box acknowledged last.
    virtual void SetTlnAdr(std::uint16_t adr) = 0;
    virtual std::uint16_t GetTlnAdr() const = 0;
    virtual void SetTlnIdx(int idx) = 0;
    virtual std::uint16_t GetQuittAdr() const = 0;
    // Channel the commands go on.
    virtual void SetProgProt(std::uint8_t prot) = 0;

    virtual void InitiateDelTln() = 0;
    virtual void InitiateDelAllTln() = 0;
    virtual void InitiateProgAkt() = 0;
    virtual void InitiateProgPassiv() = 0;
};
