#pragma once
// TPrintSensor: the door interface's multifunction input as a signal input
// (mode 1): direct and chain call, speech, the SMS options and provider,
// and the floor-call text.

#include "TPrintBasis.h"

class TPrintSensor : public TPrintBasis {
public:
    TPrintSensor();

    void BeforeBandPrint(TReportBand& band, bool& print);

private:
    TReportLabel* QRLabel2 = nullptr;
    TReportLabel* label = nullptr;
    SensorLabels m_Rows;
};
