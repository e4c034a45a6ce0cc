#pragma once
// Language-text ids of the wizard's frame and its own pages.

namespace atxt {
inline constexpr int kFileName = 999;    // name of the file the wizard writes
inline constexpr int kSaveFailed = 1001; // the configuration could not be saved
inline constexpr int kReadFailed = 1018; // reading from the box failed
inline constexpr int kReadOk = 1019;     // read from the box
inline constexpr int kSendFailed = 1022; // sending to the box failed
inline constexpr int kCaption = 5000;    // window caption, caption of every box
inline constexpr int kCancelBtn = 5001;
inline constexpr int kBackBtn = 5002;
inline constexpr int kForwardBtn = 5003;
inline constexpr int kFinishBtn = 5004;
inline constexpr int kWelcome = 5005;
inline constexpr int kWelcomeButtons = 5006;
inline constexpr int kWelcomeF1 = 5007;
inline constexpr int kWelcomeNoAssist = 5008;
inline constexpr int kDeviceTypeQuestion = 5025;
inline constexpr int kReadingDevices = 5027;
inline constexpr int kComplete = 5030;
inline constexpr int kSendData = 5032;
inline constexpr int kByHand = 5038;
inline constexpr int kReadOverInterface = 5039;
inline constexpr int kProgram = 5041;
inline constexpr int kDontProgram = 5042;
inline constexpr int kCancelQuestion = 5053;
inline constexpr int kNoLink = 5054;

// Headings of the question pages.
inline constexpr int kVersion = 36;
inline constexpr int kHeadMox = 205;
inline constexpr int kHeadRAK = 206;
inline constexpr int kHeadIT = 207;
inline constexpr int kHeadTln = 209;
inline constexpr int kHeadSystem = 210;
inline constexpr int kHeadGeraete = 224;
inline constexpr int kHeadBSM = 232;
inline constexpr int kHeadKMR = 233;
inline constexpr int kHeadTlnIT1 = 441; // subscribers of door-interface type 1: house stations
} // namespace atxt
