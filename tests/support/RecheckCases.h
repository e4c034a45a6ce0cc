#pragma once
// The rows for the pages whose contact kind picks a subscriber (the door
// interface's relay, the controller's outputs): a stray click on the kind
// that is checked already must not move the contact to the first
// subscriber. Each row is a stored kind with its subscriber, the button
// and where that subscriber stands in the list, with the video
// subscribers of kRecheckVideoTln.

#include "MoxDaten.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

struct RecheckCase {
    const char* name;
    std::uint8_t mode;
    const char* button;
    std::uint16_t tln;
    int pos; // of that subscriber in the list
};

inline void PrintTo(const RecheckCase& c, std::ostream* os) {
    *os << c.name;
}

// Subscribers 3, 6 and 10 have video.
inline constexpr std::uint8_t kRecheckVideoTln[] = {2, 5, 9};

inline auto RecheckRows() {
    return testing::Values(RecheckCase{"NSC", eModeSchaltAusgangNSC, "m_pNSC", 7, 7},
                           RecheckCase{"Video", eModeSchaltAusgangVideo, "m_pVideo", 9, 2});
}

inline std::string RecheckName(const testing::TestParamInfo<RecheckCase>& info) {
    return info.param.name;
}
