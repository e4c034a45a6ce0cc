#include "TAssiSequence.h"

bool TAssiFlags::Get(std::uint16_t bit, const TAssiDevices& devices) const {
    bool present = true;
    switch (bit) {
    case eAssiFlagKMR:
        present = devices.typeKMR != 0;
        break;
    case eAssiFlagRAK:
        present = devices.typeRAK != 0;
        break;
    case eAssiFlagIT:
        present = devices.typeIT != 0;
        break;
    case eAssiFlagBSM:
        present = devices.typeBSM != 0;
        break;
    default:
        break;
    }
    return present && (m_nFlags & bit) != 0;
}

void TAssiFlags::Set(std::uint16_t bit, bool on) {
    if (on)
        m_nFlags = static_cast<std::uint16_t>(m_nFlags | bit);
    else
        m_nFlags = static_cast<std::uint16_t>(m_nFlags & ~bit);
}

namespace {

bool TypeOneOrThree(std::uint8_t type) {
    return type == 1 || type == 3;
}

bool TypeTwoOrThree(std::uint8_t type) {
    return type == 2 || type == 3;
}

// The page the door-interface road ends on, or the devices page when the
// door interface has no road (type outside 1..3).
std::uint8_t LastDoorInterfacePage(const TAssiDevices& d) {
    if (d.typeIT == 1)
        return eAssiIT;
    if (TypeTwoOrThree(d.typeIT))
        return eAssiSchaltcode;
    return eAssiGeraeteSel;
}

std::uint8_t AfterSwitchModule(const TAssiDevices& d) {
    return d.mode == 2 ? eAssiSystemCfg : eAssiEnde;
}

} // namespace

std::uint8_t TAssiSequence::NextBlock(std::uint8_t n, const TAssiDevices& d) {
    switch (n) {
    case eAssiMoxCfg:
    case eAssiITCfg:
        if (d.typeKMR != 0)
            return eAssiKMRCfg;
        [[fallthrough]];
    case eAssiKMRCfg:
        if (d.typeRAK != 0)
            return eAssiRAKCfg;
        [[fallthrough]];
    case eAssiRAKCfg:
        if (d.typeBSM != 0)
            return eAssiBSMCfg;
        return eAssiSystemCfg;
    default:
        return eAssiSystemCfg;
    }
}

std::uint8_t TAssiSequence::PrevBlock(std::uint8_t n, const TAssiFlags& f, const TAssiDevices& d) {
    if (n != eAssiSystemCfg && n != eAssiBSMCfg && n != eAssiRAKCfg && n != eAssiKMRCfg)
        return eAssiGeraeteSel;
    if (n == eAssiSystemCfg && d.typeBSM != 0)
        return f.Get(eAssiFlagBSM, d) ? eAssiBSM : eAssiBSMCfg;
    if ((n == eAssiSystemCfg || n == eAssiBSMCfg) && d.typeRAK != 0)
        return f.Get(eAssiFlagRAK, d) ? eAssiRAKAG : eAssiRAKCfg;
    if (n != eAssiKMRCfg && d.typeKMR != 0)
        return f.Get(eAssiFlagKMR, d) ? eAssiKMR : eAssiKMRCfg;
    if (!f.Get(eAssiFlagMox, d))
        return eAssiMoxCfg;
    if (!f.Get(eAssiFlagIT, d))
        return eAssiITCfg;
    return LastDoorInterfacePage(d);
}

std::uint8_t TAssiSequence::Next(std::uint8_t s, const TAssiFlags& f, const TAssiDevices& d) {
    switch (s) {
    case eAssiWillkommen:
        return eAssiGeraete;
    case eAssiGeraete:
        return f.Get(eAssiFlagByHand, d) ? eAssiGeraeteSel : eAssiGeraeteLesen;
    case eAssiGeraeteLesen:
        return eAssiGeraeteSel;
    case eAssiGeraeteSel:
        return eAssiMoxCfg;
    case eAssiMoxCfg:
        return f.Get(eAssiFlagMox, d) ? eAssiMox : NextBlock(eAssiMoxCfg, d);
    case eAssiMox:
        if (d.typeIT == 1)
            return eAssiTlnCfg;
        return TypeTwoOrThree(d.typeIT) ? eAssiSperrnr : s;
    case eAssiSperrnr:
        return eAssiTlnCfg;
    case eAssiSMS:
        return eAssiIT;
    case eAssiSchaltcode:
        return NextBlock(eAssiITCfg, d);
    case eAssiKMRCfg:
        return f.Get(eAssiFlagKMR, d) ? eAssiKMR : NextBlock(eAssiKMRCfg, d);
    case eAssiKMR:
        return NextBlock(eAssiKMRCfg, d);
    case eAssiRAKCfg:
        return f.Get(eAssiFlagRAK, d) ? eAssiRAKEG : NextBlock(eAssiRAKCfg, d);
    case eAssiRAKEG:
        return eAssiRAKAG;
    case eAssiRAKAG:
        return NextBlock(eAssiRAKCfg, d);
    case eAssiITCfg:
        return f.Get(eAssiFlagIT, d) ? eAssiITMEG : NextBlock(eAssiITCfg, d);
    case eAssiIT:
        if (d.typeIT == 1)
            return NextBlock(eAssiITCfg, d);
        return TypeTwoOrThree(d.typeIT) ? eAssiSchaltcode : s;
    case eAssiITMEG:
        return eAssiITMFR;
    case eAssiITMFR:
        return d.mode == 2 ? eAssiSMS : eAssiIT;
    case eAssiBSMCfg:
        return f.Get(eAssiFlagBSM, d) ? eAssiBSM : AfterSwitchModule(d);
    case eAssiBSM:
        return AfterSwitchModule(d);
    case eAssiTlnCfg:
        if (!f.Get(eAssiFlagTln, d))
            return eAssiITCfg;
        if (TypeOneOrThree(d.typeIT))
            return eAssiTln;
        return d.typeIT == 2 ? eAssiTlnProg : s;
    case eAssiTln:
        return eAssiTlnBG;
    case eAssiTlnBG:
        return eAssiITCfg;
    case eAssiTlnProg:
        return eAssiTln;
    case eAssiSystemCfg:
        return f.Get(eAssiFlagSystem, d) ? eAssiSystem : eAssiEnde;
    case eAssiSystem:
        return eAssiEnde;
    default:
        return s; // the end page, and states outside the order
    }
}

std::uint8_t TAssiSequence::Prev(std::uint8_t s, const TAssiFlags& f, const TAssiDevices& d) {
    switch (s) {
    case eAssiWillkommen:
    case eAssiGeraete:
        return eAssiWillkommen;
    case eAssiGeraeteLesen:
    case eAssiGeraeteSel:
        return eAssiGeraete;
    case eAssiMoxCfg:
        return eAssiGeraeteSel;
    case eAssiMox:
        return eAssiMoxCfg;
    case eAssiSperrnr:
        return eAssiMox;
    case eAssiSMS:
        return eAssiITMFR;
    case eAssiSchaltcode:
        return eAssiIT;
    case eAssiKMRCfg:
    case eAssiRAKCfg:
    case eAssiBSMCfg:
    case eAssiSystemCfg:
        return PrevBlock(s, f, d);
    case eAssiKMR:
        return eAssiKMRCfg;
    case eAssiRAKEG:
        return eAssiRAKCfg;
    case eAssiRAKAG:
        return eAssiRAKEG;
    case eAssiITCfg:
        if (!f.Get(eAssiFlagMox, d))
            return eAssiMoxCfg;
        return f.Get(eAssiFlagTln, d) ? eAssiTlnBG : eAssiTlnCfg;
    case eAssiIT:
        return d.mode == 2 ? eAssiSMS : eAssiITMFR;
    case eAssiITMEG:
        return eAssiITCfg;
    case eAssiITMFR:
        return eAssiITMEG;
    case eAssiBSM:
        return eAssiBSMCfg;
    case eAssiTlnCfg:
        if (!f.Get(eAssiFlagMox, d))
            return eAssiMoxCfg;
        if (d.typeIT == 1)
            return eAssiMox;
        return TypeTwoOrThree(d.typeIT) ? eAssiSperrnr : s;
    case eAssiTln:
        if (TypeOneOrThree(d.typeIT))
            return eAssiTlnCfg;
        return d.typeIT == 2 ? eAssiTlnProg : s;
    case eAssiTlnBG:
        return eAssiTln;
    case eAssiTlnProg:
        return eAssiTlnCfg;
    case eAssiSystem:
        return eAssiSystemCfg;
    case eAssiEnde:
        return f.Get(eAssiFlagSystem, d) ? eAssiSystem : eAssiSystemCfg;
    default:
        return s;
    }
}

bool TAssiSequence::IsLiveState(std::uint8_t state) {
    return state == eAssiSchaltcode || state == eAssiBSM || state == eAssiTlnProg;
}
