#include "TRAK_NoFunction.h"

#include "PrintFormat.h"
#include "TMoxDocument.h"

TRAK_NoFunction::TRAK_NoFunction() : TRAK_Input("TRAK_NoFunction", 3 * kLine) {
    m_pLabelMode = Caption(Detail(), "m_pLabelMode", 0, kLine, 275);
    label = Caption(Detail(), "label", 0, 2 * kLine, 270);
    m_pText = Value(Detail(), "m_pText", 85, 2 * kLine, kWidth - 85);
    m_pReport->BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TRAK_NoFunction::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const std::uint8_t i = m_nInput;
    ShowInputNumber();
    m_pText->Caption =
        DocText([&](char* b, std::size_t n) { return m_pDoc->GetMeldeeingangsText(i, b, n); });
}
