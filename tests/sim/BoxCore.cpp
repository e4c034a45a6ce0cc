#include "BoxCore.h"

#include "SimCount.h"
#include "SimHex.h"

#include <algorithm>

namespace boxsim {

BoxCore::BoxCore(SimTimers& timers) : m_Timers(timers), m_EventLog(EventLogPattern()) {}

void BoxCore::AddFeature(std::unique_ptr<IBoxFeature> feature) {
    if (feature)
        m_Features.push_back(std::move(feature));
}

void BoxCore::Report(const std::string& line) {
    if (onEvent)
        onEvent(line);
}

// ---- From the front-end ----------------------------------------------------

void BoxCore::OnBlock(const Bytes& bytes) {
    auto block = SimBlock::Parse(bytes);
    if (!block && bytes.size() >= 2 && bytes.size() < kBlockHeaderLen) {
        // A firmware command without a block number is just the device byte
        // and the command; it reads as a block numbered 0.
        const uint8_t channel = static_cast<uint8_t>(bytes[0] & ~kBoxChannelMark);
        if (channel == kChannelDownloadBox || channel == kChannelDownloadCamera) {
            Bytes padded = bytes;
            padded.resize(kBlockHeaderLen, 0);
            block = SimBlock::Parse(padded);
        }
    }
    if (!block) {
        Report("BADBLOCK len " + std::to_string(bytes.size()));
        return;
    }
    ++m_Counters.blocks;
    Report("BLOCK " + block->Describe());
    const bool muteThis = m_nMuteBlock >= 0 && block->number == m_nMuteBlock;
    if (muteThis)
        m_nMuteBlock = -1;
    if (muteThis || TakeOne(m_nMute)) {
        ++m_Counters.muted;
        Report("MUTED " + block->Describe());
        return;
    }
    HandleBlock(*block);
}

void BoxCore::OnKennung(const Bytes& word) {
    ++m_Counters.kennungen;
    // The word is letters and a closing 0 byte.
    std::string text;
    for (uint8_t b : word) {
        if (b == 0)
            break;
        text += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '?';
    }
    Report("KENNUNG " + text);
}

void BoxCore::OnKonfigFrame(bool start) {
    ++(start ? m_Counters.frameStarts : m_Counters.frameEnds);
    Report(start ? "FRAME start" : "FRAME end");
}

void BoxCore::OnForeignTelegram(const Bytes& telegram) {
    for (auto& f : m_Features)
        if (f->OnTelegram(*this, telegram))
            return;
    Report("FOREIGN " + HexBytes(telegram));
}

// ---- Blocks ----------------------------------------------------------------

void BoxCore::HandleBlock(const SimBlock& block) {
    if (block.channel == kChannelKonfig) {
        switch (block.cmd) {
        case kCmdDataFirst:
        case kCmdData:
        case kCmdDataEnd:
            StorePackage(block);
            return;
        case kCmdDataReq:
            ServePackage(block);
            return;
        case kCmdReset:
            Reset(block);
            return;
        case kCmdKennung:
            // The V.24 link carries the identification as a block.
            OnKennung(block.data);
            return;
        default:
            break;
        }
    } else if (block.channel == kChannelEventLog && block.cmd == kCmdEvLogDataReq) {
        ServeEventLog(block);
        return;
    }
    for (auto& f : m_Features)
        if (f->OnBlock(*this, block))
            return;
    Report("UNHANDLED " + block.Describe());
}

SimBlock BoxCore::AckFor(const SimBlock& block) {
    SimBlock ack;
    ack.channel = kChannelKonfig;
    ack.cmd = kCmdAck;
    // A block is acknowledged with the number of the next one.
    ack.number = static_cast<uint16_t>(block.number + 1);
    if (TakeOne(m_nWrongBlock)) {
        ack.number = block.number;
        Report("WRONGBLOCK " + std::to_string(ack.number));
    }
    return ack;
}

void BoxCore::StorePackage(const SimBlock& block) {
    const size_t n = block.number;
    if (block.cmd == kCmdDataFirst) {
        // A new configuration starts; the value word names its package count.
        m_Packages.clear();
        m_Packages.push_back(block.data);
    } else if (n <= m_Packages.size()) {
        // A package sent again (after a failure) takes the place of the
        // first copy.
        if (n == m_Packages.size())
            m_Packages.push_back(block.data);
        else
            m_Packages[n] = block.data;
        if (block.cmd == kCmdDataEnd)
            m_Packages.resize(n + 1);
    } else {
        Report("GAP block " + std::to_string(n) + " packages " + std::to_string(m_Packages.size()));
        return;
    }
    if (block.cmd == kCmdDataEnd)
        Report("CONFIG packages " + std::to_string(m_Packages.size()) + " bytes " +
               std::to_string(Configuration().size()));
    Answer(AckFor(block));
}

void BoxCore::ServePackage(const SimBlock& request) {
    const size_t n = request.number;
    SimBlock answer;
    answer.channel = kChannelKonfig;
    answer.number = request.number;
    if (n + 1 >= m_Packages.size()) {
        // The last package, or nothing beyond it: the read ends here.
        answer.cmd = kCmdDataEnd;
        if (n < m_Packages.size())
            answer.data = m_Packages[n];
    } else if (n == 0) {
        answer.cmd = kCmdDataFirst;
        answer.value = static_cast<uint16_t>(m_Packages.size());
        answer.data = m_Packages[0];
    } else {
        answer.cmd = kCmdData;
        answer.data = m_Packages[n];
    }
    if (TakeOne(m_nWrongBlock) || (answer.cmd == kCmdDataEnd && TakeOne(m_nWrongEnd))) {
        answer.number = static_cast<uint16_t>(request.number + 1);
        Report("WRONGBLOCK " + std::to_string(answer.number));
    }
    Answer(answer);
}

void BoxCore::ServeEventLog(const SimBlock& request) {
    if (request.number >= kEventLogBlocks) {
        Report("EVLOG no block " + std::to_string(request.number));
        return;
    }
    SimBlock answer;
    answer.channel = kChannelEventLog;
    answer.cmd = kCmdLogData;
    answer.number = request.number;
    const auto from = m_EventLog.begin() + static_cast<long>(request.number * kBlockMaxData);
    answer.data.assign(from, from + static_cast<long>(kBlockMaxData));
    if (TakeOne(m_nWrongBlock)) {
        answer.number = static_cast<uint16_t>(request.number + 1);
        Report("WRONGBLOCK " + std::to_string(answer.number));
    }
    Answer(answer);
}

void BoxCore::Reset(const SimBlock& request) {
    ++m_Counters.resets;
    Report("RESET " + std::to_string(m_Counters.resets));
    // The box answers before it restarts; the configuration survives.
    SimBlock ack;
    ack.channel = kChannelKonfig;
    ack.cmd = kCmdAck;
    ack.number = request.number;
    Answer(ack);
    for (auto& f : m_Features)
        f->OnReset(*this);
}

void BoxCore::Answer(const SimBlock& block) {
    const Bytes bytes = block.Encode(true);
    auto send = [this, bytes, text = block.Describe()] {
        ++m_Counters.answers;
        Report("ANSWER " + text);
        if (m_pLink)
            m_pLink->SendBlock(bytes);
    };
    if (m_nDelayMs <= 0) {
        send();
        return;
    }
    ++m_nDelayed;
    m_Timers.After(m_nDelayMs, [this, send] {
        --m_nDelayed;
        send();
    });
}

// ---- Configuration and event log -------------------------------------------

Bytes BoxCore::Configuration() const {
    Bytes all;
    for (const Bytes& p : m_Packages)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

void BoxCore::SetConfiguration(const Bytes& image) {
    m_Packages.clear();
    for (size_t at = 0; at < image.size(); at += kBlockMaxData) {
        const size_t to = std::min(image.size(), at + kBlockMaxData);
        m_Packages.emplace_back(image.begin() + static_cast<long>(at),
                                image.begin() + static_cast<long>(to));
    }
}

Bytes BoxCore::EventLogPattern() {
    Bytes log(kEventLogSize);
    for (size_t i = 0; i < log.size(); ++i)
        log[i] = static_cast<uint8_t>(i / kBlockMaxData + 7 * (i % kBlockMaxData));
    return log;
}

bool BoxCore::SetEventLog(const Bytes& log) {
    if (log.size() != kEventLogSize)
        return false;
    m_EventLog = log;
    return true;
}

// ---- State -----------------------------------------------------------------

bool BoxCore::Idle() const {
    if (m_nDelayed > 0 || (m_pLink && !m_pLink->Idle()))
        return false;
    for (const auto& f : m_Features)
        if (!f->Idle())
            return false;
    return true;
}

bool BoxCore::RunFeatureCommand(const std::string& cmd, const std::string& args,
                                std::string* reply) {
    for (auto& f : m_Features)
        if (f->OnCommand(*this, cmd, args, reply))
            return true;
    return false;
}

} // namespace boxsim
