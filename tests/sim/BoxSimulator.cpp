#include "BoxSimulator.h"

#include "BoxFirmwareFeature.h"
#include "BoxProgFeature.h"

namespace boxsim {

BoxSimulator::BoxSimulator(SimTimers::NowFn now)
    : m_Timers(std::move(now)), m_Bus(m_Timers), m_Core(m_Timers), m_Link(m_Bus, m_Core, m_Timers) {
    m_Core.SetLink(&m_Link);
    m_Bus.onTelegram = [this](const Bytes& t) { m_Link.OnTelegram(t); };
    m_Bus.onReport = [this](const std::string& l) { Line(l); };
    m_Core.onEvent = [this](const std::string& l) { Line(l); };
    m_Core.AddFeature(std::make_unique<BoxProgFeature>());
    m_Core.AddFeature(std::make_unique<BoxFirmwareFeature>());
}

void BoxSimulator::UseV24() {
    if (!m_pV24)
        m_pV24 = std::make_unique<BoxV24Link>(m_Core, m_Timers);
    m_Core.SetLink(m_pV24.get());
}

void BoxSimulator::SetTrace(bool on) {
    m_Bus.SetTrace(on);
    if (m_pV24)
        m_pV24->SetTrace(on);
}

void BoxSimulator::HandleTurn(bool input) {
    const std::int64_t start = SimSteadyNs();
    const SimWriteMark& mark = m_pV24 ? m_pV24->LastWrite() : m_Bus.LastWrite();
    const long writes = mark.writes;
    HandleTimers();
    if (input)
        HandleInput();
    if (mark.writes != writes) {
        ++m_Answered.turns;
        m_Answered.ns += mark.lastNs - start;
    }
}

std::string BoxSimulator::Status() const {
    const auto& c = m_Core.GetCounters();
    const auto& b = m_Bus.GetCounters();
    auto n = [](long v) { return std::to_string(v); };
    const IBoxLink* link = m_Core.Link();
    std::string status =
        "STATUS idle " + n(Idle() ? 1 : 0) + " link " + n(link && link->Idle() ? 1 : 0) +
        " delivered " + n(b.delivered) + " packages " +
        n(static_cast<long>(m_Core.Packages().size())) + " bytes " +
        n(static_cast<long>(m_Core.Configuration().size())) + " blocks " + n(c.blocks) +
        " answers " + n(c.answers) + " muted " + n(c.muted) + " resets " + n(c.resets) +
        " kennungen " + n(c.kennungen) + " frames " + n(c.frameStarts) + "/" + n(c.frameEnds) +
        " telegrams_in " + n(b.telegramsIn) + " telegrams_out " + n(b.telegramsOut) + " bytes_in " +
        n(b.bytesIn) + " bytes_out " + n(b.bytesOut) + " answer_turns " + n(m_Answered.turns) +
        " answer_us " + n(static_cast<long>(m_Answered.ns / 1000));
    if (m_pV24) {
        const auto& v = m_pV24->GetCounters();
        status += " v24_frames_in " + n(v.framesIn) + " v24_bad_in " + n(v.badFramesIn) +
                  " v24_frames_out " + n(v.framesOut) + " v24_bytes_in " + n(v.bytesIn) +
                  " v24_bytes_out " + n(v.bytesOut);
    }
    return status;
}

} // namespace boxsim
