#pragma once
// The transfer controller's real programming part on a fake serial link:
// the test plays the box by handing it programming blocks and reads the
// commands that went out. Only a programming port (ITlnProgPort) leaves
// this rig, so the tests can see the main window's side as the forms do.

#include "ITlnProgPort.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Programming command values of the box's firmware.
namespace boxcmd {
inline constexpr int kProgModeAkt = 3;
inline constexpr int kProgModePas = 4;
inline constexpr int kHtProgPas = 6;
inline constexpr int kProgQuitt = 11;
inline constexpr int kTlnAdrClear = 15;
inline constexpr int kHtProgAkt = 23;
inline constexpr int kTlProgAkt = 24;
inline constexpr int kTlProgVideo = 25;
inline constexpr int kItFehler = 58;
inline constexpr int kAllTlnAdrClear = 68;
} // namespace boxcmd

class ProgRig {
public:
    ProgRig();
    ~ProgRig();

    ProgRig(const ProgRig&) = delete;
    ProgRig& operator=(const ProgRig&) = delete;

    // A port on the rig's programming part; it lives as long as the rig.
    std::unique_ptr<ITlnProgPort> MakePort();

    // The box sends a programming block (command, two words).
    void Box(int cmd, std::uint16_t adr1 = 0, std::uint16_t adr2 = 0);
    void BoxProgMode() { Box(boxcmd::kProgModeAkt, 0x0020, 0x1234); }
    void BoxUnit(std::uint16_t adr = 0x0030, bool video = false) {
        Box(video ? boxcmd::kTlProgVideo : boxcmd::kTlProgAkt, adr);
    }

    // Programming commands sent: (command, first word).
    std::vector<std::pair<int, int>> SentCommands() const;
    void ClearSent();

    // What a modal run of mode 6 / 5 leaves in the programming part.
    void SetKBACounter(std::uint16_t count);
    void SetKBAList(const std::vector<std::uint16_t>& list);
    std::vector<std::uint16_t> KBAList() const;
    std::uint16_t GetKBACounter() const;

    // Results the programming part reported, and a hook that sees each as
    // the main window's forwarding would.
    std::vector<std::uint32_t> ResultCodes() const;
    std::function<void(std::uint32_t code, std::intptr_t wParam, std::intptr_t lParam)> forward;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
