#pragma once
// The part of subscriber programming that the code-assignment pages use:
// the programming state the box reported, the unit in programming and the
// commands that bind a code to it. The transfer controller's programming
// part answers it (TCodeProgLink); tests hand in a controller that answers
// it itself.

#include <cstdint>
#include <memory>

class IMainTransfer;

class ICodeProg {
public:
    virtual ~ICodeProg() = default;

    virtual void SetProgProt(std::uint8_t prot) = 0;
    virtual void SetTlnAdr(std::uint16_t adr) = 0;

    // The box is in programming mode.
    virtual bool IsProgModeAktiv() const = 0;
    // A switch module is in programming.
    virtual bool IsBSMAktiv() const = 0;
    // A subscriber unit (bus door loudspeaker) is in programming.
    virtual bool IsBTLMAktiv() const = 0;

    virtual std::uint16_t GetAdrBSM() const = 0;
    virtual std::uint16_t GetBSMRelais() const = 0;
    virtual std::uint16_t GetAdrBTLM() const = 0;
    virtual bool IsVideo() const = 0;

    virtual void InitiateBSMTasteProg(std::uint16_t adr, std::uint8_t idx) = 0;
    virtual void InitiateProgBTLM() = 0;
    virtual void InitiateBTLMTasteProg(std::uint16_t adr, std::uint8_t idx) = 0;
    virtual void InitiateProgPassiv() = 0;
};

class TCodeProgLink {
public:
    // The programming part of a controller: the controller itself when it
    // answers ICodeProg, a link to the programming part of the main
    // window's controller, or nullptr (nothing can be programmed).
    static std::unique_ptr<ICodeProg> Of(IMainTransfer* transfer);
};
