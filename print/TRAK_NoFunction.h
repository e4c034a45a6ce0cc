#pragma once
// TRAK_NoFunction: one input of the universal controller without a
// function: only its text.

#include "TRAK_Input.h"

class TRAK_NoFunction : public TRAK_Input {
public:
    TRAK_NoFunction();

    void BeforePrint(TReport& report);

private:
    TReportLabel* m_pLabelMode = nullptr;
    TReportLabel* label = nullptr;
    TReportLabel* m_pText = nullptr;
};
