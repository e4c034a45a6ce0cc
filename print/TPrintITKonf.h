#pragma once
// TPrintITKonf: the door interface's call texts and ring tones; type 1
// has three doors, the other types six. The floor call's text follows the
// doors' in their column, its caption beside it where the doors have their
// numbers.

#include "TPrintBasis.h"

#include <array>

class TPrintITKonf : public TPrintBasis {
public:
    TPrintITKonf();

    void BeforePrint(TReport& report);

private:
    // Moves the text and tone columns right of the floor call's caption
    // in the language printed.
    void PlaceColumns();

    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pEtagenLabel = nullptr;
    std::array<TReportLabel*, 6> m_pDoor{}; // the door's number
    std::array<TReportLabel*, 6> m_pText{};
    std::array<TReportLabel*, 6> m_pTon{};
    TReportLabel* m_pEtagenText = nullptr;
};
