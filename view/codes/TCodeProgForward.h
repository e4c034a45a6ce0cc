#pragma once
// TCodeProgForward: answers ICodeProg by forwarding every call to a
// programming part that has the same operations under the same names. The
// page does not own that part; it outlives the forwarder.

#include "ICodeProg.h"

#include <cstdint>

template <class Prog> class TCodeProgForward final : public ICodeProg {
public:
    explicit TCodeProgForward(Prog& prog) : m_Prog(prog) {}
    void SetProgProt(std::uint8_t prot) override { m_Prog.SetProgProt(prot); }
    void SetTlnAdr(std::uint16_t adr) override { m_Prog.SetTlnAdr(adr); }
    bool IsProgModeAktiv() const override { return m_Prog.IsProgModeAktiv(); }
    bool IsBSMAktiv() const override { return m_Prog.IsBSMAktiv(); }
    bool IsBTLMAktiv() const override { return m_Prog.IsBTLMAktiv(); }
    std::uint16_t GetAdrBSM() const override { return m_Prog.GetAdrBSM(); }
    std::uint16_t GetBSMRelais() const override { return m_Prog.GetBSMRelais(); }
    std::uint16_t GetAdrBTLM() const override { return m_Prog.GetAdrBTLM(); }
    bool IsVideo() const override { return m_Prog.IsVideo(); }
    void InitiateBSMTasteProg(std::uint16_t adr, std::uint8_t idx) override {
        m_Prog.InitiateBSMTasteProg(adr, idx);
    }
    void InitiateProgBTLM() override { m_Prog.InitiateProgBTLM(); }
    void InitiateBTLMTasteProg(std::uint16_t adr, std::uint8_t idx) override {
        m_Prog.InitiateBTLMTasteProg(adr, idx);
    }
    void InitiateProgPassiv() override { m_Prog.InitiateProgPassiv(); }

private:
    Prog& m_Prog;
};
