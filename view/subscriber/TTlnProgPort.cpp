#include "TTlnProgPort.h"

#include "TDataTransfer.h"
#include "TTlnProg.h"
#include "TTlnProgAccess.h"
#include "TTransferExtension.h"

namespace {

class TTlnProgPort : public ITlnProgPort {
public:
    explicit TTlnProgPort(TTlnProg& prog) : m_Prog(prog) {}

    bool IsProgModeAktiv() const override { return m_Prog.IsProgModeAktiv(); }
    bool IsBTLMAktiv() const override { return m_Prog.IsBTLMAktiv(); }
    bool IsProgTlnAktiv() const override { return m_Prog.IsProgTlnAktiv(); }
    std::uint16_t GetAdrBTLM() const override { return m_Prog.GetAdrBTLM(); }
    bool IsVideo() const override { return m_Prog.IsVideo(); }
    std::uint16_t GetKBACounter() const override { return m_Prog.GetKBACounter(); }
    void SetKBACounter(std::uint16_t count) override { m_Prog.SetKBACounter(count); }
    int GetAnzKBA() const override { return m_Prog.GetAnzKBA(); }
    bool AddKBA(std::uint16_t adr) override { return m_Prog.AddKBA(adr); }
    void SetTlnAdr(std::uint16_t adr) override { m_Prog.SetTlnAdr(adr); }
    std::uint16_t GetTlnAdr() const override { return m_Prog.GetTlnAdr(); }
    void SetTlnIdx(int idx) override { m_Prog.SetTlnIdx(idx); }
    std::uint16_t GetQuittAdr() const override { return m_Prog.GetQuittAdr(); }
    void SetProgProt(std::uint8_t prot) override { m_Prog.SetProgProt(prot); }
    void InitiateDelTln() override { m_Prog.InitiateDelTln(); }
    void InitiateDelAllTln() override { m_Prog.InitiateDelAllTln(); }
    void InitiateProgAkt() override { m_Prog.InitiateProgAkt(); }
    void InitiateProgPassiv() override { m_Prog.InitiateProgPassiv(); }

private:
    TTlnProg& m_Prog;
};

} // namespace

std::unique_ptr<ITlnProgPort> MakeTlnProgPort(TTlnProg& prog) {
    return std::make_unique<TTlnProgPort>(prog);
}

std::unique_ptr<ITlnProgPort> TTlnProgAccess::OfForm(TDataTransfer& form) {
    return MakeTlnProgPort(form.GetTransferExtension().GetTlnProg());
}
