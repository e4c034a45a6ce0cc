// The call-information record: its layout, the checks that refuse a record,
// the service and listen selectors, and the reason texts.

#include "CapiCallInfo.h"
#include "CapiReasonText.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstring>
#include <string>

namespace {

CapiCallInfo CallRecord(const char* dial, const char* own) {
    CapiCallInfo r;
    r.bMode = eCapiModeCall;
    r.bServiceSelector = 1;
    EXPECT_TRUE(r.SetNumber1(dial));
    EXPECT_TRUE(r.SetNumber2(own));
    return r;
}

TEST(CapiCallInfo, SetNumberRefusesWhatDoesNotFit) {
    CapiCallInfo r;
    EXPECT_TRUE(r.SetNumber1("0123456789012345")); // 16: fits
    EXPECT_STREQ(r.szNumber1, "0123456789012345");
    EXPECT_FALSE(r.SetNumber1("01234567890123456")); // 17: refused, field unchanged
    EXPECT_STREQ(r.szNumber1, "0123456789012345");
    EXPECT_FALSE(r.SetNumber2(std::string_view("12\0"
                                               "3",
                                               4)));
    EXPECT_TRUE(r.SetNumber2(""));
    EXPECT_STREQ(r.GetCallingPartyNumber(), "");
}

struct CheckRow {
    const char* name;
    void (*change)(CapiCallInfo&);
    eCapiCallMode mode;
    CapiCallInfoCheck result;
};

void PrintTo(const CheckRow& row, std::ostream* os) {
    *os << row.name;
}

const CheckRow kCheckRows[] = {
    {"CallAccepted", [](CapiCallInfo&) {}, eCapiModeCall, CapiCallInfoCheck::Ok},
    {"EveryServiceSelector", [](CapiCallInfo& r) { r.bServiceSelector = 5; }, eCapiModeCall,
     CapiCallInfoCheck::Ok},
    {"UnknownServiceSelector", [](CapiCallInfo& r) { r.bServiceSelector = 6; }, eCapiModeCall,
     CapiCallInfoCheck::UnknownServiceSelector},
    {"EmptyNumberToDial", [](CapiCallInfo& r) { r.szNumber1[0] = 0; }, eCapiModeCall,
     CapiCallInfoCheck::NoNumberToDial},
    {"NumberToDialWithoutNul", [](CapiCallInfo& r) { std::memset(r.szNumber1, '7', 17); },
     eCapiModeCall, CapiCallInfoCheck::NumberTooLong},
    {"OwnNumberWithoutNul", [](CapiCallInfo& r) { std::memset(r.szNumber2, '7', 17); },
     eCapiModeCall, CapiCallInfoCheck::NumberTooLong},
    {"ThirdNumberWithoutNul", [](CapiCallInfo& r) { std::memset(r.szNumber3, '7', 17); },
     eCapiModeCall, CapiCallInfoCheck::NumberTooLong},
    {"ListenRecordForConnect", [](CapiCallInfo& r) { r.bMode = eCapiModeListen; }, eCapiModeCall,
     CapiCallInfoCheck::WrongMode},
    {"ListenAccepted",
     [](CapiCallInfo& r) {
         r.bMode = eCapiModeListen;
         r.bListenSelector = 3;
         r.szNumber1[0] = 0; // a listen needs no number to dial
     },
     eCapiModeListen, CapiCallInfoCheck::Ok},
    {"UnknownListenSelector",
     [](CapiCallInfo& r) {
         r.bMode = eCapiModeListen;
         r.bListenSelector = 5;
     },
     eCapiModeListen, CapiCallInfoCheck::UnknownListenSelector},
};

class CapiCallInfoCheckRows : public ::testing::TestWithParam<CheckRow> {};

TEST_P(CapiCallInfoCheckRows, Result) {
    CapiCallInfo r = CallRecord("0891234", "4711");
    GetParam().change(r);
    EXPECT_EQ(CapiCheckCallInfo(r, GetParam().mode), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Rows, CapiCallInfoCheckRows, ::testing::ValuesIn(kCheckRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CapiCallInfo, ServiceSelectors) {
    const struct {
        std::uint8_t sel;
        CapiService s;
    } rows[] = {{0, {16, 1, 1, 0}}, {1, {2, 0, 1, 0}}, {2, {17, 4, 4, 4}},
                {3, {2, 0, 0, 0}},  {4, {2, 0, 0, 1}}, {5, {2, 1, 1, 0}}};
    for (const auto& row : rows) {
        CapiService s{};
        ASSERT_TRUE(CapiServiceFromSelector(row.sel, s)) << int(row.sel);
        EXPECT_EQ(s.wCIP, row.s.wCIP) << int(row.sel);
        EXPECT_EQ(s.wB1, row.s.wB1) << int(row.sel);
        EXPECT_EQ(s.wB2, row.s.wB2) << int(row.sel);
        EXPECT_EQ(s.wB3, row.s.wB3) << int(row.sel);
    }
    CapiService s{};
    EXPECT_FALSE(CapiServiceFromSelector(6, s));
}

TEST(CapiCallInfo, SelectorOfAnIncomingCall) {
    const std::pair<std::uint16_t, std::uint8_t> rows[] = {{1, 0}, {4, 0},  {5, 0}, {16, 0}, {2, 3},
                                                           {3, 3}, {17, 2}, {0, 3}, {9, 3}};
    for (auto [cip, sel] : rows)
        EXPECT_EQ(CapiSelectorFromCip(cip), sel) << cip;
}

TEST(CapiCallInfo, ListenSelectors) {
    const std::pair<std::uint8_t, std::uint32_t> rows[] = {
        {0, 0}, {1, 0x10032}, {2, 0x10}, {3, 0x4}, {4, 0x1}};
    for (auto [sel, mask] : rows) {
        std::uint32_t m = 0xDEAD;
        ASSERT_TRUE(CapiCipMaskFromListenSelector(sel, m));
        EXPECT_EQ(m, mask) << int(sel);
    }
    std::uint32_t m = 0;
    EXPECT_FALSE(CapiCipMaskFromListenSelector(5, m));
}

TEST(CapiReasonText, TableAndFallback) {
    EXPECT_STREQ(CapiReasonText(0x349B), "Gegenstelle nicht in Betrieb");
    EXPECT_STREQ(CapiReasonText(0x3490), "Normales Ausl\xF6"
                                         "sen");
    EXPECT_STREQ(CapiReasonText(0x3495), "Ruf zur\xFC"
                                         "ckgewiesen");
    EXPECT_STREQ(CapiReasonText(0x3491), "participant occupied");
    EXPECT_STREQ(CapiReasonText(0x1101), "Illegal application number");
    EXPECT_STREQ(CapiReasonText(0x1104), "Queue is empty");
    EXPECT_STREQ(CapiReasonText(0x2003), "Out of PLCI");
    EXPECT_STREQ(CapiReasonText(0x3301), "protocol error Layer 1");
    EXPECT_STREQ(CapiReasonText(0x3314), "Disconnected during transfer (remote abort)");
    EXPECT_STREQ(CapiReasonText(0x0000), "Keine Information verf\xFC"
                                         "gbar");
    EXPECT_STREQ(CapiReasonText(0x34FE), "Keine Information verf\xFC"
                                         "gbar");
}

TEST(CapiReasonText, EveryTextFitsTheRecord) {
    for (unsigned r = 0; r <= 0xFFFF; ++r)
        ASSERT_LT(std::strlen(CapiReasonText(static_cast<std::uint16_t>(r))), CAPI_REASON_TEXT_SIZE)
            << std::hex << r;
    char dest[CAPI_REASON_TEXT_SIZE];
    std::memset(dest, 'x', sizeof(dest));
    CapiWriteReasonText(0x349D, dest);
    EXPECT_STREQ(dest, "Ausf\xFC"
                       "hrung des Leistungsmerkmals zur\xFC"
                       "ckgewiesen");
    EXPECT_EQ(dest[CAPI_REASON_TEXT_SIZE - 1], 0);
}

} // namespace
