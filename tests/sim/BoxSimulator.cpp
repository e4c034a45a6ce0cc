#include "BoxSimulator.h"

namespace boxsim {

BoxSimulator::BoxSimulator(SimTimers::NowFn now)
    : m_Timers(std::move(now)), m_Bus(m_Timers), m_Core(m_Timers), m_Link(m_Bus, m_Core, m_Timers) {
    m_Core.SetLink(&m_Link);
    m_Bus.onTelegram = [this](const Bytes& t) { m_Link.OnTelegram(t); };
    m_Bus.onReport = [this](const std::string& l) { Line(l); };
    m_Core.onEvent = [this](const std::string& l) { Line(l); };
}

std::string BoxSimulator::Status() const {
    const auto& c = m_Core.GetCounters();
    const auto& b = m_Bus.GetCounters();
    auto n = [](long v) { return std::to_string(v); };
    return "STATUS idle " + n(Idle() ? 1 : 0) + " link " + n(m_Link.Idle() ? 1 : 0) +
           " delivered " + n(b.delivered) + " packages " + n(static_cast<long>(m_Core.Packages().size())) +
           " bytes " + n(static_cast<long>(m_Core.Configuration().size())) + " blocks " + n(c.blocks) +
           " answers " + n(c.answers) + " muted " + n(c.muted) + " resets " + n(c.resets) +
           " kennungen " + n(c.kennungen) + " frames " + n(c.frameStarts) + "/" + n(c.frameEnds) +
           " telegrams_in " + n(b.telegramsIn) + " telegrams_out " + n(b.telegramsOut) +
           " bytes_in " + n(b.bytesIn) + " bytes_out " + n(b.bytesOut);
}

} // namespace boxsim
