#pragma once
// TPrintPG: the permission groups, one block each: name, code, subscriber,
// the rights with their numbers, the switching codes and the controller's
// outputs.

#include "TPrintBasis.h"

#include <array>
#include <functional>
#include <vector>

class TPrintPG : public TPrintBasis {
public:
    TPrintPG();

    void BeforePrint(TReport& report);
    bool OnNeedData(TReport& report);

private:
    TReportLabel* QRLabel1 = nullptr;
    TReportLabel* m_pLabelBerechtigungsgruppe = nullptr;
    TReportLabel* m_pTlnLabel = nullptr;
    TReportLabel* m_pPin = nullptr;
    TReportLabel* m_pTln = nullptr;

    // A value row of the block and how it is filled for group i.
    struct ValueRow {
        TReportLabel* label;
        std::function<QString(std::uint8_t i)> fill;
    };
    std::vector<ValueRow> m_Rows;
    int m_nRow = 0;
};
