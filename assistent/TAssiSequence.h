#pragma once
// The wizard's step order: which state follows which, going forward and
// back, from the answer flags, the device types of the document and the
// program mode. Plain C++: the frame feeds it the current values and shows
// whatever state it answers.
//
// States 0..26. The answers of the question pages are bits of one 16-bit
// word; a set bit means yes. A bit that belongs to an optional device counts
// as yes only while the device is present, so a stale yes for a device the
// user has since removed never opens that device's pages.

#include <cstdint>

// Answer bits.
enum eAssiFlag : std::uint16_t {
    eAssiFlagByHand = 0x0004, // enter the devices by hand (clear: read them from the box)
    eAssiFlagMox = 0x0008,    // configure the interface box itself
    eAssiFlagKMR = 0x0010,    // configure the camera device
    eAssiFlagRAK = 0x0020,    // configure the universal controller
    eAssiFlagIT = 0x0040,     // configure the door interface
    eAssiFlagBSM = 0x0100,    // configure the bus switch module
    eAssiFlagTln = 0x0200,    // configure the subscribers
    eAssiFlagSystem = 0x0400, // configure the system settings
};

// The states with a page of their own meaning.
inline constexpr std::uint8_t eAssiWillkommen = 0;
inline constexpr std::uint8_t eAssiGeraete = 1;
inline constexpr std::uint8_t eAssiGeraeteLesen = 2;
inline constexpr std::uint8_t eAssiGeraeteSel = 3;
inline constexpr std::uint8_t eAssiMoxCfg = 4;
inline constexpr std::uint8_t eAssiMox = 5;
inline constexpr std::uint8_t eAssiSperrnr = 6;
inline constexpr std::uint8_t eAssiSMS = 7;
inline constexpr std::uint8_t eAssiSchaltcode = 8;
inline constexpr std::uint8_t eAssiKMRCfg = 9;
inline constexpr std::uint8_t eAssiKMR = 10;
inline constexpr std::uint8_t eAssiRAKCfg = 11;
inline constexpr std::uint8_t eAssiRAKEG = 12;
inline constexpr std::uint8_t eAssiRAKAG = 13;
inline constexpr std::uint8_t eAssiITCfg = 14;
inline constexpr std::uint8_t eAssiIT = 15;
inline constexpr std::uint8_t eAssiITMEG = 16;
inline constexpr std::uint8_t eAssiITMFR = 17;
inline constexpr std::uint8_t eAssiBSMCfg = 18;
inline constexpr std::uint8_t eAssiBSM = 19;
inline constexpr std::uint8_t eAssiTlnCfg = 20;
inline constexpr std::uint8_t eAssiTln = 21;
inline constexpr std::uint8_t eAssiTlnBG = 22;
inline constexpr std::uint8_t eAssiTlnProg = 23;
inline constexpr std::uint8_t eAssiSystemCfg = 24;
inline constexpr std::uint8_t eAssiSystem = 25;
inline constexpr std::uint8_t eAssiEnde = 26;
inline constexpr std::uint8_t eAssiStateCount = 27;

// What the order depends on besides the answers.
struct TAssiDevices {
    std::uint8_t typeIT = 0;  // door interface 0..3
    std::uint8_t typeKMR = 0; // camera device
    std::uint8_t typeRAK = 0; // universal controller
    std::uint8_t typeBSM = 0; // bus switch module
    int mode = 1;             // program mode: 1 standard, 2 expert
};

// The answer flags of one showing of the wizard.
class TAssiFlags {
public:
    static constexpr std::uint16_t kAllYes = 0xFFFF;

    std::uint16_t Raw() const { return m_nFlags; }
    void Reset() { m_nFlags = kAllYes; }
    // Yes only when the bit is set and, for an optional device, the device
    // is present.
    bool Get(std::uint16_t bit, const TAssiDevices& devices) const;
    void Set(std::uint16_t bit, bool on);

private:
    std::uint16_t m_nFlags = kAllYes;
};

class TAssiSequence {
public:
    // The state after `state` going forward; the same state when the step
    // stays (a door-interface type the order has no road for). A state
    // outside 0..26 answers itself.
    static std::uint8_t Next(std::uint8_t state, const TAssiFlags& flags,
                             const TAssiDevices& devices);
    static std::uint8_t Prev(std::uint8_t state, const TAssiFlags& flags,
                             const TAssiDevices& devices);

    // The first optional-device block (camera, controller, switch module,
    // then the system question) after state n; presence is the device type
    // alone.
    static std::uint8_t NextBlock(std::uint8_t n, const TAssiDevices& devices);
    // Its mirror image going back.
    static std::uint8_t PrevBlock(std::uint8_t n, const TAssiFlags& flags,
                                  const TAssiDevices& devices);

    // States whose page programs the box live: the configuration must go to
    // the box at the end.
    static bool IsLiveState(std::uint8_t state);
};
