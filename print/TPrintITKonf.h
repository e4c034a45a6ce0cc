#pragma once
// TPrintITKonf: the door interface's call texts and ring tones; type 1
// has three doors, the other types six.

#include "TPrintBasis.h"

#include <array>

class TPrintITKonf : public TPrintBasis {
public:
    TPrintITKonf();

    void BeforePrint(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    std::array<TReportLabel*, 6> m_pText{};
    std::array<TReportLabel*, 6> m_pTon{};
    TReportLabel* m_pEtagenText = nullptr;
};
