#include "ProgRig.h"

#include "EngineFakes.h"
#include "FakeClock.h"
#include "TTlnProgPort.h"
#include "TTransferExtension.h"

namespace {

class NullOwner : public ITransferOwner {
public:
    void OnTransferResult(int) override {}
    void OnNeedTransferData() override {}
    void OnMoreTransferData() override {}
};

} // namespace

struct ProgRig::Impl : IProgResultOwner {
    explicit Impl(ProgRig& rig) : rig(rig), engine(clock, settings, ports), ext(engine, clock) {}

    void OnProgResult(const TProgResult& r) override {
        results.push_back(r.nCode);
        if (rig.forward)
            rig.forward(r.nCode, r.wParam, r.lParam);
    }

    ProgRig& rig;
    FakeClock clock;
    FakeSettings settings;
    FakePortFactory ports;
    TDataTransferEngine engine;
    TTransferExtension ext;
    RecordingView view;
    NullOwner owner;
    std::vector<std::uint32_t> results;
};

ProgRig::ProgRig() : d(std::make_unique<Impl>(*this)) {
    d->settings.comPort = 5;
    d->engine.SetExtension(&d->ext);
    d->engine.SetOwner(&d->owner);
    d->engine.SetView(&d->view);
    d->ext.GetTlnProg().SetResultOwner(d.get());
    d->engine.UpdatePort();
}

ProgRig::~ProgRig() {
    d->ext.GetTlnProg().SetResultOwner(nullptr);
    d->engine.SetExtension(nullptr);
}

std::unique_ptr<ITlnProgPort> ProgRig::MakePort() {
    return MakeTlnProgPort(d->ext.GetTlnProg());
}

void ProgRig::Box(int cmd, std::uint16_t adr1, std::uint16_t adr2) {
    d->ports.last->rx = {0x83,
                         0,
                         0,
                         0,
                         0,
                         0,
                         static_cast<std::uint8_t>(cmd),
                         static_cast<std::uint8_t>(adr1 >> 8),
                         static_cast<std::uint8_t>(adr1 & 0xFF),
                         static_cast<std::uint8_t>(adr2 >> 8),
                         static_cast<std::uint8_t>(adr2 & 0xFF)};
    d->engine.OnReadData();
}

std::vector<std::pair<int, int>> ProgRig::SentCommands() const {
    std::vector<std::pair<int, int>> out;
    for (const auto& b : d->ports.last->blocks)
        if (b.size() >= 9 && b[0] == eProtProg)
            out.emplace_back(b[6], (b[7] << 8) | b[8]);
    return out;
}

void ProgRig::ClearSent() {
    d->ports.last->blocks.clear();
}

void ProgRig::SetKBACounter(std::uint16_t count) {
    d->ext.GetTlnProg().SetKBACounter(count);
}

void ProgRig::SetKBAList(const std::vector<std::uint16_t>& list) {
    TTlnProg& prog = d->ext.GetTlnProg();
    prog.ResetKBA();
    for (std::size_t i = 0; i < list.size(); ++i)
        prog.SetKBA(static_cast<int>(i), list[i]);
}

std::vector<std::uint16_t> ProgRig::KBAList() const {
    std::vector<std::uint16_t> out;
    for (int i = 0; i < MAX_ANZ_TLN; ++i)
        if (const std::uint16_t a = d->ext.GetTlnProg().GetKBA(i))
            out.push_back(a);
    return out;
}

std::uint16_t ProgRig::GetKBACounter() const {
    return d->ext.GetTlnProg().GetKBACounter();
}

std::vector<std::uint32_t> ProgRig::ResultCodes() const {
    return d->results;
}
