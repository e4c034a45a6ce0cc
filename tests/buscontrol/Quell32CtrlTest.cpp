// The control's dispatch interface: ids, defaults, bounds, filters, open
// results and persistence, over the scripted line.

#include "BusFraming.h"
#include "CQuell32Ctrl.h"
#include "ComPtr.h"
#include "FakeBusLine.h"
#include "Quell32Ids.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>

using namespace mox::com;
using namespace quell32;
using quell32::test::FakeBusClock;
using quell32::test::FakeBusLine;
using quell32::test::FakeTime;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Wire(const Bytes& telegram) {
    return BuildBusFrame(std::vector<uint16_t>(telegram.begin(), telegram.end()), false);
}

// Counts posts; runs them when asked.
class ManualSite final : public ISite {
public:
    HRESULT QueryInterface(const Guid& iid, void** out) noexcept override {
        if (iid == IUnknown::kIid || iid == ISite::kIid) {
            *out = static_cast<ISite*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() noexcept override { return 2; }
    uint32_t Release() noexcept override { return 1; }
    HRESULT Post(IPostTarget*, uint32_t) noexcept override { return S_OK; }
};

class MemoryBag final : public IPropertyBag {
public:
    HRESULT QueryInterface(const Guid& iid, void** out) noexcept override {
        if (iid == IUnknown::kIid || iid == IPropertyBag::kIid) {
            *out = static_cast<IPropertyBag*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() noexcept override { return 2; }
    uint32_t Release() noexcept override { return 1; }
    HRESULT Read(const char* name, Variant* value) noexcept override {
        auto it = values.find(name);
        if (it == values.end())
            return E_INVALIDARG;
        *value = it->second;
        return S_OK;
    }
    HRESULT Write(const char* name, const Variant& value) noexcept override {
        values[name] = value;
        return S_OK;
    }
    std::map<std::string, Variant> values;
};

class Quell32CtrlTest : public ::testing::Test {
protected:
    Quell32CtrlTest() {
        auto line = std::make_unique<FakeBusLine>(m_time);
        m_line = line.get();
        m_ctrl = ComPtr<IDispatch>::Attach(static_cast<IDispatch*>(
            CQuell32Ctrl::Create(std::move(line), std::make_unique<FakeBusClock>(m_time))));
    }

    Variant Get(DispId id) {
        Variant v;
        EXPECT_EQ(m_ctrl->Invoke(id, InvokeKind::PropertyGet, nullptr, 0, &v), S_OK) << id;
        return v;
    }
    Variant GetAt(DispId id, int index) {
        const Variant arg = Variant::FromI2(static_cast<int16_t>(index));
        Variant v;
        EXPECT_EQ(m_ctrl->Invoke(id, InvokeKind::PropertyGet, &arg, 1, &v), S_OK) << id;
        return v;
    }
    HRESULT Put(DispId id, const Variant& value) {
        return m_ctrl->Invoke(id, InvokeKind::PropertyPut, &value, 1, nullptr);
    }
    HRESULT PutAt(DispId id, int index, const Variant& value) {
        const Variant args[] = {Variant::FromI2(static_cast<int16_t>(index)), value};
        return m_ctrl->Invoke(id, InvokeKind::PropertyPut, args, 2, nullptr);
    }
    Variant Call(DispId id, std::vector<Variant> args = {}) {
        Variant v;
        EXPECT_EQ(m_ctrl->Invoke(id, InvokeKind::Method, args.data(),
                                 static_cast<uint32_t>(args.size()), &v),
                  S_OK)
            << id;
        return v;
    }
    int16_t OpenPort() { return *Call(dispidOpenPort).ToI2(); }
    int16_t ClosePort() { return *Call(dispidClosePort).ToI2(); }
    void GiveSite() { m_ctrl.As<IObjectWithSite>()->SetSite(&m_site); }
    void OpenForTest() {
        GiveSite();
        Put(dispidTestForInterface, Variant::FromBool(false));
        ASSERT_EQ(OpenPort(), static_cast<int16_t>(PORT_OK));
    }
    // Delivers a telegram to the control and reads it as the reader would.
    bool Deliver(const Bytes& telegram) {
        m_line->Arrive(Wire(telegram));
        Call(dispidWaitForReceive, {Variant::FromI4(100)});
        return *Get(dispidReceivedTeleStatus).ToI2() != static_cast<int16_t>(RECEIVE_NO_MESSAGE);
    }

    FakeTime m_time;
    FakeBusLine* m_line = nullptr;
    ManualSite m_site;
    ComPtr<IDispatch> m_ctrl;
};

// ---------------------------------------------------------------- ids and defaults

struct DefaultRow {
    const char* name;
    DispId id;
    Variant expected;
};

void PrintTo(const DefaultRow& row, std::ostream* os) {
    *os << row.name;
}

class Quell32Defaults : public Quell32CtrlTest, public ::testing::WithParamInterface<DefaultRow> {};

TEST_P(Quell32Defaults, NewInstance) {
    EXPECT_EQ(Get(GetParam().id), GetParam().expected);
}

// The fake clock starts at tick 1000 on day 45000.
const double kStartDate = 45000.0 + 1000 / 86400000.0;

INSTANTIATE_TEST_SUITE_P(
    Rows, Quell32Defaults,
    ::testing::Values(DefaultRow{"TestForInterface", 1, Variant::FromBool(true)},
                      DefaultRow{"UseEventNotification", 2, Variant::FromBool(false)},
                      DefaultRow{"CommPort", 3, Variant::FromI2(2)},
                      DefaultRow{"ReadyForReceive", 4, Variant::FromBool(true)},
                      DefaultRow{"ReceivedTeleLen", 5, Variant::FromI2(0)},
                      DefaultRow{"ReceivedTeleStatus", 6, Variant::FromI2(0)},
                      DefaultRow{"ReceivedTeleTimerTicks", 7, Variant::FromI4(1000)},
                      DefaultRow{"ReceivedTeleTimeDate", 8, Variant::FromDate(kStartDate)},
                      DefaultRow{"TeleAllBytes", 9, Variant::FromBool(false)},
                      DefaultRow{"TransmitTeleLen", 10, Variant::FromI2(0)},
                      DefaultRow{"TransmitTeleStatus", 11, Variant::FromI2(0)},
                      DefaultRow{"TransmitTeleTimeDate", 12, Variant::FromDate(kStartDate)},
                      DefaultRow{"TransmitTeleTimerTicks", 13, Variant::FromI4(1000)},
                      DefaultRow{"PCAdr", 14, Variant::FromI2(240)},
                      DefaultRow{"PCAnswerMode", 16, Variant::FromBool(true)},
                      DefaultRow{"Connected", 17, Variant::FromBool(false)}),
    [](const auto& info) { return std::string(info.param.name); });

struct KindRow {
    const char* name;
    DispId id;
    InvokeKind kind;
    uint32_t argCount;
    HRESULT expected;
};

void PrintTo(const KindRow& row, std::ostream* os) {
    *os << row.name;
}

class Quell32CallKinds : public Quell32CtrlTest, public ::testing::WithParamInterface<KindRow> {};

TEST_P(Quell32CallKinds, Refused) {
    const Variant args[] = {Variant::FromI2(1), Variant::FromI2(1), Variant::FromI2(1)};
    Variant out;
    EXPECT_EQ(m_ctrl->Invoke(GetParam().id, GetParam().kind, args, GetParam().argCount, &out),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Quell32CallKinds,
    ::testing::Values(KindRow{"PutReadOnlyConnected", dispidConnected, InvokeKind::PropertyPut, 1,
                              DISP_E_MEMBERNOTFOUND},
                      KindRow{"PutReadOnlyStatus", dispidReceivedTeleStatus,
                              InvokeKind::PropertyPut, 1, DISP_E_MEMBERNOTFOUND},
                      KindRow{"GetWriteOnlyArray", dispidTransmitTeleArray, InvokeKind::PropertyGet,
                              0, DISP_E_MEMBERNOTFOUND},
                      KindRow{"MethodAsProperty", dispidOpenPort, InvokeKind::PropertyGet, 0,
                              DISP_E_MEMBERNOTFOUND},
                      KindRow{"PropertyAsMethod", dispidPCAdr, InvokeKind::Method, 0,
                              DISP_E_MEMBERNOTFOUND},
                      KindRow{"UnknownId", 28, InvokeKind::PropertyGet, 0, DISP_E_MEMBERNOTFOUND},
                      KindRow{"IdZero", 0, InvokeKind::Method, 0, DISP_E_MEMBERNOTFOUND},
                      KindRow{"OpenPortWithArgument", dispidOpenPort, InvokeKind::Method, 1,
                              DISP_E_BADPARAMCOUNT},
                      KindRow{"IndexedWithoutIndex", dispidReceivedTeleBytes,
                              InvokeKind::PropertyGet, 0, DISP_E_BADPARAMCOUNT},
                      KindRow{"ChangeFiltersOneArgument", dispidChangeFilters, InvokeKind::Method,
                              1, DISP_E_BADPARAMCOUNT},
                      KindRow{"AboutBoxAsProperty", dispidAboutBox, InvokeKind::PropertyGet, 0,
                              DISP_E_MEMBERNOTFOUND}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Quell32CtrlTest, WrongValueKindIsATypeMismatch) {
    EXPECT_EQ(Put(dispidCommPort, Variant::FromDate(1.0)), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Put(dispidPCAnswerMode, Variant::FromArrayI2({1})), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Get(dispidCommPort), Variant::FromI2(2));
}

// ---------------------------------------------------------------- bounds

struct BoundRow {
    const char* name;
    DispId id;
    int32_t value;
    int16_t expected;
};

void PrintTo(const BoundRow& row, std::ostream* os) {
    *os << row.name;
}

class Quell32Bounds : public Quell32CtrlTest, public ::testing::WithParamInterface<BoundRow> {};

TEST_P(Quell32Bounds, OutOfRangeIgnored) {
    EXPECT_EQ(Put(GetParam().id, Variant::FromI4(GetParam().value)), S_OK); // never an error
    EXPECT_EQ(Get(GetParam().id), Variant::FromI2(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Quell32Bounds,
    ::testing::Values(
        BoundRow{"CommPort0", dispidCommPort, 0, 2}, BoundRow{"CommPort1", dispidCommPort, 1, 1},
        BoundRow{"CommPort16", dispidCommPort, 16, 16},
        BoundRow{"CommPort17", dispidCommPort, 17, 2},
        BoundRow{"CommPortNegative", dispidCommPort, -1, 2},
        BoundRow{"TransmitTeleLen0", dispidTransmitTeleLen, 0, 0},
        BoundRow{"TransmitTeleLen1", dispidTransmitTeleLen, 1, 1},
        BoundRow{"TransmitTeleLen255", dispidTransmitTeleLen, 255, 255},
        BoundRow{"TransmitTeleLen256", dispidTransmitTeleLen, 256, 0},
        BoundRow{"PCAdr0", dispidPCAdr, 0, 240}, BoundRow{"PCAdr1", dispidPCAdr, 1, 1},
        BoundRow{"PCAdr254", dispidPCAdr, 254, 254}, BoundRow{"PCAdr255", dispidPCAdr, 255, 240},
        BoundRow{"PCAdrHuge", dispidPCAdr, 70000, 240}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Quell32CtrlTest, CommPortIgnoredWhileOpen) {
    OpenForTest();
    Put(dispidCommPort, Variant::FromI2(3));
    EXPECT_EQ(Get(dispidCommPort), Variant::FromI2(2));
    EXPECT_EQ(m_line->openedPort, 2);
}

TEST_F(Quell32CtrlTest, TransmitTeleArraySetsBytesAndLength) {
    std::vector<int16_t> all(256);
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int16_t>(i);
    all[5] = 0x110; // only the low byte is kept
    EXPECT_EQ(Put(dispidTransmitTeleArray, Variant::FromArrayI2(all)), S_OK);
    EXPECT_EQ(Get(dispidTransmitTeleLen), Variant::FromI2(256));
    EXPECT_EQ(GetAt(dispidTransmitTeleBytes, 255), Variant::FromI2(255));
    EXPECT_EQ(GetAt(dispidTransmitTeleBytes, 5), Variant::FromI2(0x10));

    // Too long, or not an array: ignored.
    EXPECT_EQ(Put(dispidTransmitTeleArray, Variant::FromArrayI2(std::vector<int16_t>(257, 1))),
              S_OK);
    EXPECT_EQ(Put(dispidTransmitTeleArray, Variant::FromI2(3)), S_OK);
    EXPECT_EQ(Get(dispidTransmitTeleLen), Variant::FromI2(256));
}

TEST_F(Quell32CtrlTest, TransmitTeleBytesBounds) {
    EXPECT_EQ(PutAt(dispidTransmitTeleBytes, 7, Variant::FromI4(0x1FF)), S_OK);
    EXPECT_EQ(GetAt(dispidTransmitTeleBytes, 7), Variant::FromI2(0xFF));
    EXPECT_EQ(PutAt(dispidTransmitTeleBytes, 256, Variant::FromI2(1)), S_OK);
    EXPECT_EQ(GetAt(dispidTransmitTeleBytes, 256), Variant::FromI2(-1));
    EXPECT_EQ(GetAt(dispidTransmitTeleBytes, -1), Variant::FromI2(-1));
}

TEST_F(Quell32CtrlTest, SendThroughTheInterface) {
    OpenForTest();
    const Bytes telegram{0x70, 0x43, 0xF0, 0x10};
    for (size_t i = 0; i < telegram.size(); ++i)
        PutAt(dispidTransmitTeleBytes, static_cast<int>(i), Variant::FromI2(telegram[i]));
    Put(dispidTransmitTeleLen, Variant::FromI2(static_cast<int16_t>(telegram.size())));
    m_line->onWrite = [](FakeBusLine& line, const Bytes&) { line.Arrive({kAck}, 4); };
    Call(dispidTransmitTele);
    EXPECT_EQ(Get(dispidTransmitTeleStatus), Variant::FromI2(TRANSMIT_STATUS_ACK));
    ASSERT_EQ(m_line->writes.size(), 1u);
    EXPECT_EQ(m_line->writes[0].bytes, Wire(telegram));
}

TEST_F(Quell32CtrlTest, ReceivedTeleBytesBoundsAndSharedTimeStamp) {
    OpenForTest();
    EXPECT_EQ(Get(dispidReceivedTeleLen), Variant::FromI2(-1));
    m_time.ms += 777;
    ASSERT_TRUE(Deliver({0xFF, 0x43, 0x70, 0x2A}));
    EXPECT_EQ(Get(dispidReceivedTeleLen), Variant::FromI2(4));
    EXPECT_EQ(GetAt(dispidReceivedTeleBytes, 3), Variant::FromI2(0x2A));
    EXPECT_NE(GetAt(dispidReceivedTeleBytes, 4), Variant::FromI2(-1)); // the checksum
    EXPECT_EQ(GetAt(dispidReceivedTeleBytes, 5), Variant::FromI2(-1));
    EXPECT_EQ(GetAt(dispidReceivedTeleBytes, -1), Variant::FromI2(-1));
    EXPECT_EQ(Get(dispidTransmitTeleTimeDate), Get(dispidReceivedTeleTimeDate));
    EXPECT_EQ(Get(dispidTransmitTeleTimeDate), Variant::FromDate(FakeBusClock(m_time).Now()));
}

TEST_F(Quell32CtrlTest, StatusWordsReadAsWholeSixteenBitWords) {
    OpenForTest();
    Bytes wire = Wire({0x71, 0x43, 0x70});
    wire[wire.size() - 2] ^= 0x01; // bad checksum
    m_line->Arrive(wire);
    m_line->Arrive({kAck}, 2);
    Call(dispidWaitForReceive, {Variant::FromI4(100)});
    EXPECT_EQ(Get(dispidReceivedTeleStatus), Variant::FromI2(static_cast<int16_t>(0xFF06)));
}

// ---------------------------------------------------------------- filters

TEST_F(Quell32CtrlTest, ShowEntriesOutsideTheTableReadFalse) {
    EXPECT_EQ(GetAt(dispidShowTargets, 240), Variant::FromBool(true));
    EXPECT_EQ(GetAt(dispidShowTargets, 256), Variant::FromBool(false));
    EXPECT_EQ(GetAt(dispidShowFunctions, -1), Variant::FromBool(false));
    EXPECT_EQ(PutAt(dispidShowTransmitters, 300, Variant::FromBool(false)), S_OK);
    EXPECT_EQ(PutAt(dispidShowTransmitters, 0x70, Variant::FromBool(false)), S_OK);
    EXPECT_EQ(GetAt(dispidShowTransmitters, 0x70), Variant::FromBool(false));
}

TEST_F(Quell32CtrlTest, ChangeFiltersSevenToZeroBlocksEverything) {
    OpenForTest();
    Call(dispidChangeFilters, {Variant::FromI2(7), Variant::FromI2(0)});
    for (DispId id : {dispidShowTargets, dispidShowFunctions, dispidShowTransmitters})
        EXPECT_EQ(GetAt(id, 0x43), Variant::FromBool(false));
    EXPECT_FALSE(Deliver({0xFF, 0x43, 0x70}));
    EXPECT_FALSE(Deliver({0xF0, 0x43, 0x70}));
    EXPECT_TRUE(m_line->writes.empty()); // not even acknowledged
}

TEST_F(Quell32CtrlTest, OnlyTargetsShownAreAdmitted) {
    OpenForTest();
    Call(dispidChangeFilters, {Variant::FromI2(1), Variant::FromI2(0)});
    PutAt(dispidShowTargets, 240, Variant::FromBool(true));
    EXPECT_EQ(GetAt(dispidShowFunctions, 0x43), Variant::FromBool(true)); // untouched
    EXPECT_FALSE(Deliver({0xFF, 0x43, 0x70}));
    EXPECT_FALSE(Deliver({0x71, 0x43, 0x70}));
    EXPECT_TRUE(Deliver({0xF0, 0x43, 0x70}));
    EXPECT_EQ(Get(dispidReceivedTeleStatus), Variant::FromI2(RECEIVE_STATUS_ACK));
}

TEST_F(Quell32CtrlTest, ChangeFiltersCombinesBits) {
    Call(dispidChangeFilters, {Variant::FromI2(6), Variant::FromI2(0)});
    EXPECT_EQ(GetAt(dispidShowTargets, 1), Variant::FromBool(true));
    EXPECT_EQ(GetAt(dispidShowFunctions, 1), Variant::FromBool(false));
    EXPECT_EQ(GetAt(dispidShowTransmitters, 1), Variant::FromBool(false));
    Call(dispidChangeFilters, {Variant::FromI2(2), Variant::FromI2(-1)});
    EXPECT_EQ(GetAt(dispidShowFunctions, 1), Variant::FromBool(true));
}

// ---------------------------------------------------------------- open and close

struct OpenRow {
    const char* name;
    bool site;
    bool openOk;
    bool setLineOk;
    bool testInterface;
    bool interfacePresent;
    bool events;
    bool canWake;
    uint16_t result;
};

void PrintTo(const OpenRow& row, std::ostream* os) {
    *os << row.name;
}

class Quell32OpenPort : public Quell32CtrlTest, public ::testing::WithParamInterface<OpenRow> {};

TEST_P(Quell32OpenPort, Result) {
    const auto& r = GetParam();
    if (r.site)
        GiveSite();
    m_line->openOk = r.openOk;
    m_line->setLineOk = r.setLineOk;
    m_line->hasModemLines = true;
    m_line->interfacePresent = r.interfacePresent;
    m_line->canWake = r.canWake;
    Put(dispidTestForInterface, Variant::FromBool(r.testInterface));
    Put(dispidUseEventNotification, Variant::FromBool(r.events));
    EXPECT_EQ(OpenPort(), static_cast<int16_t>(r.result));
    EXPECT_EQ(Get(dispidConnected), Variant::FromBool(r.result == PORT_OK));
    EXPECT_EQ(ClosePort(), static_cast<int16_t>(r.result == PORT_OK ? PORT_OK : PORT_NOT_OPEN));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Quell32OpenPort,
    ::testing::Values(
        OpenRow{"Ok", true, true, true, false, false, false, true, PORT_OK},
        OpenRow{"OkWithInterface", true, true, true, true, true, false, true, PORT_OK},
        OpenRow{"OpenFailed", true, false, true, false, false, false, true, PORT_OPEN_FAILED},
        OpenRow{"SettingsFailed", true, true, false, false, false, false, true,
                PORT_SETTINGS_FAILED},
        OpenRow{"ReaderFailed", true, true, true, false, false, true, false, PORT_READER_FAILED},
        OpenRow{"NoInterface", true, true, true, true, false, false, true, PORT_NO_INTERFACE},
        OpenRow{"NoWindow", false, true, true, false, false, false, true, PORT_NO_WINDOW}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Quell32CtrlTest, SecondOpenReportsAlreadyOpen) {
    OpenForTest();
    EXPECT_EQ(OpenPort(), static_cast<int16_t>(PORT_ALREADY_OPEN));
    EXPECT_EQ(Get(dispidConnected), Variant::FromBool(true));
}

TEST_F(Quell32CtrlTest, EventsOffWhileOpenWithoutReaderPurges) {
    OpenForTest();
    const int purges = m_line->purges;
    Put(dispidReadyForReceive, Variant::FromBool(false));
    Put(dispidUseEventNotification, Variant::FromBool(false));
    EXPECT_EQ(m_line->purges, purges + 1);
    EXPECT_EQ(Get(dispidReadyForReceive), Variant::FromBool(true));
    EXPECT_EQ(Get(dispidConnected), Variant::FromBool(true));
}

TEST_F(Quell32CtrlTest, FailedReopenLeavesThePortClosed) {
    OpenForTest();
    m_line->openOk = false; // the device vanished
    Put(dispidUseEventNotification, Variant::FromBool(true));
    EXPECT_EQ(Get(dispidConnected), Variant::FromBool(false));
    EXPECT_FALSE(m_line->isOpen);
    EXPECT_EQ(ClosePort(), static_cast<int16_t>(PORT_NOT_OPEN));
    // Sending now reports the closed port.
    Put(dispidTransmitTeleLen, Variant::FromI2(3));
    Call(dispidTransmitTele);
    EXPECT_EQ(Get(dispidTransmitTeleStatus),
              Variant::FromI2(static_cast<int16_t>(TRANSMIT_PORT_ERROR)));
}

// ---------------------------------------------------------------- persistence

TEST_F(Quell32CtrlTest, OnlyTheTwoPropertiesArePersisted) {
    auto persist = m_ctrl.As<IPersistProperties>();
    ASSERT_TRUE(persist);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    Put(dispidUseEventNotification, Variant::FromBool(true));
    Put(dispidTestForInterface, Variant::FromBool(false));
    Put(dispidCommPort, Variant::FromI2(4));
    Put(dispidPCAdr, Variant::FromI2(100));
    EXPECT_EQ(persist->IsDirty(), S_OK);

    MemoryBag bag;
    ASSERT_EQ(persist->Save(&bag, true), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    std::vector<std::string> names;
    for (const auto& [name, v] : bag.values)
        names.push_back(name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"TestForInterface", "UseEventNotification", "_Version"}));
    EXPECT_EQ(bag.values["_Version"], Variant::FromI4(0x10003));

    FakeTime time;
    auto other = ComPtr<IDispatch>::Attach(static_cast<IDispatch*>(CQuell32Ctrl::Create(
        std::make_unique<FakeBusLine>(time), std::make_unique<FakeBusClock>(time))));
    ASSERT_EQ(other.As<IPersistProperties>()->Load(&bag), S_OK);
    Variant v;
    other->Invoke(dispidUseEventNotification, InvokeKind::PropertyGet, nullptr, 0, &v);
    EXPECT_EQ(v, Variant::FromBool(true));
    other->Invoke(dispidTestForInterface, InvokeKind::PropertyGet, nullptr, 0, &v);
    EXPECT_EQ(v, Variant::FromBool(false));
    other->Invoke(dispidCommPort, InvokeKind::PropertyGet, nullptr, 0, &v);
    EXPECT_EQ(v, Variant::FromI2(2));
    other->Invoke(dispidPCAdr, InvokeKind::PropertyGet, nullptr, 0, &v);
    EXPECT_EQ(v, Variant::FromI2(240));
}

TEST_F(Quell32CtrlTest, MissingOrResetPropertiesTakeDefaults) {
    auto persist = m_ctrl.As<IPersistProperties>();
    Put(dispidTestForInterface, Variant::FromBool(false));
    Put(dispidUseEventNotification, Variant::FromBool(true));
    MemoryBag empty;
    ASSERT_EQ(persist->Load(&empty), S_OK);
    EXPECT_EQ(Get(dispidTestForInterface), Variant::FromBool(true));
    EXPECT_EQ(Get(dispidUseEventNotification), Variant::FromBool(false));

    Put(dispidTestForInterface, Variant::FromBool(false));
    ASSERT_EQ(persist->InitNew(), S_OK);
    EXPECT_EQ(Get(dispidTestForInterface), Variant::FromBool(true));
}

TEST_F(Quell32CtrlTest, HasExactlyOnePropertyPage) {
    auto pages = m_ctrl.As<ISpecifyPropertyPages>();
    ASSERT_TRUE(pages);
    Guid ids[2];
    uint32_t count = 0;
    ASSERT_EQ(pages->GetPages(ids, 2, &count), S_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(ids[0], CLSID_Quell32PropPage);
}

TEST_F(Quell32CtrlTest, AnswersForItsDispatchInterfaceId) {
    ComPtr<IDispatch> d;
    EXPECT_EQ(m_ctrl->QueryInterface(DIID__DQuell32, d.PutVoid()), S_OK);
    EXPECT_EQ(d.Get(), m_ctrl.Get());
    ComPtr<IClassFactory> none;
    EXPECT_EQ(m_ctrl->QueryInterface(IClassFactory::kIid, none.PutVoid()), E_NOINTERFACE);
}

} // namespace
