#pragma once
// The fixture of the end-to-end tests: a rig on a fresh simulator, the
// headless transfer form over its engine, and documents around it.

#include "BusRig.h"
#include "E2eDocuments.h"
#include "HeadlessTransfer.h"
#include "MoxTrace.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class BusE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The transfer's trace counts the time-outs; with BOXSIM_DUMP=1 it
        // and, at the end, every line of the simulator go to stderr too, to
        // see what went over the line.
        TimeOuts() = 0;
        MoxSetTraceHook([](int channel, const char* text) {
            static const bool dump = std::getenv("BOXSIM_DUMP") != nullptr;
            if (std::strcmp(text, kTimeOutTrace) == 0)
                ++TimeOuts();
            if (dump)
                std::fprintf(stderr, "TRACE %d %s\n", channel, text);
        });
        m_pRig = std::make_unique<BusRig>(MOX_QUELL32, MOX_REGSVR, MOX_BOXSIM, SimArgs());
        std::string error;
        ASSERT_TRUE(m_pRig->Start(&error)) << error;
        m_pTransfer = std::make_unique<HeadlessTransfer>(*m_pRig);
    }
    void TearDown() override {
        if (std::getenv("BOXSIM_DUMP"))
            for (const std::string& l : m_pRig->Sim().Lines(""))
                std::fprintf(stderr, "SIM %s\n", l.c_str());
        MoxSetTraceHook(nullptr);
        m_pTransfer.reset();
        m_pRig.reset();
    }
    // Arguments of the simulator for the whole test.
    virtual std::vector<std::string> SimArgs() const { return {}; }

    // The transfer timer's expiries so far in this test: the engine traces
    // this line at each. A run that took no time-out shows none, however
    // slowly the machine let it go.
    static constexpr char kTimeOutTrace[] = "<TDataTransfer::OnTimer>";
    static std::atomic<int>& TimeOuts() {
        static std::atomic<int> n{0};
        return n;
    }

    BusRig& Rig() { return *m_pRig; }
    boxsim::BoxSimProcess& Box() { return m_pRig->Sim(); }
    const boxsim::BoxSimProcess& Box() const { return m_pRig->Sim(); }
    HeadlessTransfer& Transfer() { return *m_pTransfer; }
    TDataTransferEngine& Engine() { return m_pRig->Engine(); }

    // A command to the simulator; its reply line.
    std::string Sim(const std::string& line, const std::string& reply = "OK") {
        return m_pRig->SimCommand(line, reply);
    }
    // A mark in the simulator's log to count what follows from.
    size_t Mark() { return m_pRig->Mark(); }
    // The configuration the box holds, its packages one after the other.
    Bytes BoxConfiguration() {
        const std::string path = m_Docs.Dir() + "/box.bin";
        EXPECT_EQ(Sim("save " + path, "SAVED").rfind("SAVED", 0), 0u);
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Simulator lines from the mark on that hold text anywhere.
    size_t CountLines(const std::string& text, size_t from) const {
        size_t n = 0;
        for (const std::string& l : m_pRig->Sim().Lines("", from))
            n += l.find(text) != std::string::npos;
        return n;
    }
    // The same, once the simulator has answered a ping: every line it wrote
    // before it read the ping has then been read here too, so a line written
    // just before the box answered the PC is never missed.
    size_t CountLinesSynced(const std::string& text, size_t from) {
        EXPECT_EQ(Sim("ping", "PONG"), "PONG");
        return CountLines(text, from);
    }
    std::unique_ptr<TMoxDocument> MakeDoc() {
        auto doc = m_Docs.Make(m_pTransfer.get());
        m_pTransfer->SetDocument(doc.get());
        return doc;
    }
    // A loop hook: for every new simulator line holding trigger, once the
    // line is quiet, action runs. Quiet: the box has no telegram queued or
    // in flight, and every telegram the bus control acknowledged to it has
    // reached the bus port (so nothing of the last exchange is still on its
    // way when the action cuts in). The box is asked without waiting, so the
    // loop keeps running meanwhile.
    std::function<void()> WhenQuiet(const std::string& trigger, std::function<void()> action) {
        struct State {
            size_t mark = 0;
            size_t done = 0;
            bool asked = false;
            size_t ticket = 0;
            BusRig::Handled before;
        };
        auto st = std::make_shared<State>();
        st->mark = Mark();
        return [this, trigger, action, st] {
            if (CountLines(trigger, st->mark) <= st->done)
                return;
            if (!st->asked) {
                st->before = Rig().HandledNow();
                // Behind a ping, so that a status asked earlier and still on
                // its way is never taken for this one.
                st->ticket = Box().AskMark();
                Box().Send("status");
                st->asked = true;
                return;
            }
            const auto from = Box().MarkOf(st->ticket);
            const auto status = from ? Box().Lines("STATUS", *from) : std::vector<std::string>{};
            if (status.empty())
                return;
            st->asked = false;
            if (!Rig().Quiet(status.front(), false, st->before))
                return;
            ++st->done;
            action();
        };
    }
    // The clock jumps by ms for every such line: the box let a request go
    // unanswered on purpose, so nothing comes before the time-out.
    std::function<void()> SkipOn(const std::string& trigger, std::uint64_t ms) {
        return WhenQuiet(trigger, [this, ms] { m_pRig->Clock().Skip(ms); });
    }

    E2eDocuments m_Docs;
    std::unique_ptr<BusRig> m_pRig;
    std::unique_ptr<HeadlessTransfer> m_pTransfer;
};
