#include "TRAK_Schaltuhr.h"

#include "TMoxDocument.h"

TRAK_Schaltuhr::TRAK_Schaltuhr() : TRAK_Input("TRAK_Schaltuhr", 4 * kLine) {
    label = Caption(Detail(), "label", 0, kLine, 277);
    m_pMode = Value(Detail(), "m_pMode", 0, 2 * kLine, kWidth);
    m_pPGLabel = Caption(Detail(), "m_pPGLabel", 0, 3 * kLine, 273);
    m_pPG = Value(Detail(), "m_pPG", 85, 3 * kLine);
    m_pReport->BeforePrint = [this](TReport& rep) { BeforePrint(rep); };
}

void TRAK_Schaltuhr::BeforePrint(TReport&) {
    if (!m_pDoc)
        return;
    const std::uint8_t i = m_nInput;
    ShowInputNumber();
    std::uint8_t tuermatikPG = 0;
    std::uint8_t diversionPG = 0;
    const bool tuermatik = m_pDoc->GetRAKEingangTuermatikPGIdx(i, &tuermatikPG);
    const bool diversion = m_pDoc->GetRAKEingangDiversionPGIdx(i, &diversionPG);
    FillSchaltuhr(m_pMode, m_pPG, tuermatik, tuermatikPG, diversion, diversionPG,
                  m_pDoc->GetRAKEingangConcierge(i));
}
