#include "ICodeProg.h"

#include "IMainTransfer.h"
#include "TMainDataTransfer.h"
#include "TTlnProgCodeProg.h"

namespace {

// Forwards to a controller that answers the interface itself; the page does
// not own the controller.
class TBorrowedProg final : public ICodeProg {
public:
    explicit TBorrowedProg(ICodeProg& prog) : m_Prog(prog) {}
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
    ICodeProg& m_Prog;
};

} // namespace

std::unique_ptr<ICodeProg> TCodeProgLink::Of(IMainTransfer* transfer) {
    if (auto* own = dynamic_cast<ICodeProg*>(transfer))
        return std::make_unique<TBorrowedProg>(*own);
    if (auto* main = dynamic_cast<TMainDataTransfer*>(transfer))
        return TTlnProgCodeProg::Of(main->Form());
    return nullptr;
}
