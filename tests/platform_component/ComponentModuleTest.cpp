// The component layer with a real module: registration by the command,
// creation by ProgID, dispatch, events through a site, persistence and
// unloading.

#include "ComponentModule.h"
#include "ComPtr.h"
#include "ComponentError.h"
#include "ComponentLoader.h"
#include "ComponentRegistry.h"
#include "PerProcessSettingsFile.h"
#include "QtGuiSite.h"
#include "SettingsPropertyBag.h"
#include "TestComponentIds.h"
#include "TestSettingsFile.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

using namespace mox::com;

namespace {

int RunCommand(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "test_platform_component";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    return *app;
}

// An event sink owned by the test; records which events came on which thread.
class RecordingSink final : public IDispatch {
public:
    HRESULT QueryInterface(const Guid& iid, void** out) noexcept override {
        if (iid == IUnknown::kIid || iid == IDispatch::kIid) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() noexcept override { return ++m_refs; }
    uint32_t Release() noexcept override { return --m_refs; }
    HRESULT Invoke(DispId id, InvokeKind, const Variant*, uint32_t, Variant*) noexcept override {
        events.push_back(id);
        threads.push_back(std::this_thread::get_id());
        return S_OK;
    }

    std::vector<DispId> events;
    std::vector<std::thread::id> threads;
    int m_refs = 0;
};

Variant Get(IDispatch* d, DispId id) {
    Variant v;
    EXPECT_EQ(d->Invoke(id, InvokeKind::PropertyGet, nullptr, 0, &v), S_OK);
    return v;
}

class ComponentModuleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RunCommand({MOX_REGSVR, "-s", MOX_TEST_COMPONENT}), 0); }
    void TearDown() override {
        RunCommand({MOX_REGSVR, "-s", "-u", MOX_TEST_COMPONENT});
        ComponentLoader::FreeUnusedModules();
    }
};

TEST_F(ComponentModuleTest, RegisteredByCommandThenCreatedByProgId) {
    EXPECT_EQ(ComponentRegistry::ClassOfProgId(testcomponent::kProgId), testcomponent::kClsid);
    auto counter = ComponentLoader::Create<IDispatch>(testcomponent::kProgId);
    ASSERT_TRUE(counter);
    EXPECT_EQ(Get(counter.Get(), testcomponent::kDispValue), Variant::FromI4(0));
    // The braced class id names the class as well.
    EXPECT_TRUE(ComponentLoader::Create<IDispatch>(testcomponent::kClsid.ToString()));
}

TEST_F(ComponentModuleTest, UnregisteredClassCannotBeCreated) {
    ASSERT_EQ(RunCommand({MOX_REGSVR, "-s", "-u", MOX_TEST_COMPONENT}), 0);
    EXPECT_FALSE(ComponentRegistry::ClassOfProgId(testcomponent::kProgId));
    try {
        ComponentLoader::Create<IDispatch>(testcomponent::kProgId);
        FAIL() << "no exception";
    } catch (const ComponentError& e) {
        EXPECT_EQ(e.Code(), REGDB_E_CLASSNOTREG);
    }
    EXPECT_THROW(ComponentLoader::Create<IDispatch>(testcomponent::kClsid.ToString()),
                 ComponentError);
}

TEST_F(ComponentModuleTest, DispatchByIdWithVariants) {
    auto counter = ComponentLoader::Create<IDispatch>(testcomponent::kProgId);
    const Variant seven = Variant::FromI2(7);
    ASSERT_EQ(
        counter->Invoke(testcomponent::kDispValue, InvokeKind::PropertyPut, &seven, 1, nullptr),
        S_OK);
    ASSERT_EQ(
        counter->Invoke(testcomponent::kDispIncrement, InvokeKind::Method, nullptr, 0, nullptr),
        S_OK);
    EXPECT_EQ(Get(counter.Get(), testcomponent::kDispValue), Variant::FromI4(8));

    const Variant arr = Variant::FromArrayI2({1, -2, 300});
    Variant sum;
    ASSERT_EQ(counter->Invoke(testcomponent::kDispSum, InvokeKind::Method, &arr, 1, &sum), S_OK);
    EXPECT_EQ(sum, Variant::FromI4(299));

    EXPECT_EQ(counter->Invoke(99, InvokeKind::Method, nullptr, 0, nullptr), DISP_E_MEMBERNOTFOUND);
    const Variant date = Variant::FromDate(1.0);
    EXPECT_EQ(
        counter->Invoke(testcomponent::kDispValue, InvokeKind::PropertyPut, &date, 1, nullptr),
        DISP_E_TYPEMISMATCH);
}

TEST_F(ComponentModuleTest, OneEventSinkGetsEvents) {
    auto counter = ComponentLoader::Create<IDispatch>(testcomponent::kProgId);
    auto source = counter.As<IEventSource>();
    ASSERT_TRUE(source);
    RecordingSink sink, second;
    ASSERT_EQ(source->Advise(&sink), S_OK);
    EXPECT_EQ(source->Advise(&second), CONNECT_E_ADVISELIMIT);
    counter->Invoke(testcomponent::kDispIncrement, InvokeKind::Method, nullptr, 0, nullptr);
    EXPECT_EQ(sink.events, std::vector<DispId>{testcomponent::kEventChanged});
    ASSERT_EQ(source->Unadvise(), S_OK);
    counter->Invoke(testcomponent::kDispIncrement, InvokeKind::Method, nullptr, 0, nullptr);
    EXPECT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.m_refs, 0); // the control let go of the sink
}

TEST_F(ComponentModuleTest, PostFromWorkerThreadRunsOnGuiThread) {
    QCoreApplication& app = App();
    auto counter = ComponentLoader::Create<IDispatch>(testcomponent::kProgId);
    RecordingSink sink;
    counter.As<IEventSource>()->Advise(&sink);
    auto site = QtGuiSite::Create(&app);
    ASSERT_EQ(counter.As<IObjectWithSite>()->SetSite(site.Get()), S_OK);

    ASSERT_EQ(
        counter->Invoke(testcomponent::kDispPostLater, InvokeKind::Method, nullptr, 0, nullptr),
        S_OK);
    EXPECT_TRUE(sink.events.empty()); // queued, not run inside the worker
    QElapsedTimer t;
    t.start();
    while (sink.events.empty() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.threads[0], std::this_thread::get_id());
    counter.As<IObjectWithSite>()->SetSite(nullptr);
    counter.As<IEventSource>()->Unadvise();
}

TEST_F(ComponentModuleTest, PendingPostKeepsTargetAlive) {
    QCoreApplication& app = App();
    auto site = QtGuiSite::Create(&app);
    {
        auto counter = ComponentLoader::Create<IDispatch>(testcomponent::kProgId);
        counter.As<IObjectWithSite>()->SetSite(site.Get());
        counter->Invoke(testcomponent::kDispPostLater, InvokeKind::Method, nullptr, 0, nullptr);
        counter.As<IObjectWithSite>()->SetSite(nullptr);
    }
    // The host let go; the queued call still holds the object.
    EXPECT_EQ(ComponentLoader::FreeUnusedModules(), 0);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ComponentLoader::FreeUnusedModules(), 1);
}

TEST_F(ComponentModuleTest, PersistedPropertiesThroughSettingsBag) {
    auto bag = SettingsPropertyBag::Create("Software\\Kestrin\\Test\\Counter");
    {
        auto counter = ComponentLoader::Create<IDispatch>(testcomponent::kProgId);
        const Variant v = Variant::FromI4(42);
        counter->Invoke(testcomponent::kDispValue, InvokeKind::PropertyPut, &v, 1, nullptr);
        auto persist = counter.As<IPersistProperties>();
        EXPECT_EQ(persist->IsDirty(), S_OK);
        ASSERT_EQ(persist->Save(bag.Get(), true), S_OK);
        EXPECT_EQ(persist->IsDirty(), S_FALSE);
    }
    auto counter = ComponentLoader::Create<IDispatch>(testcomponent::kProgId);
    ASSERT_EQ(counter.As<IPersistProperties>()->Load(bag.Get()), S_OK);
    EXPECT_EQ(Get(counter.Get(), testcomponent::kDispValue), Variant::FromI4(42));
}

TEST_F(ComponentModuleTest, ModuleUnloadsOnlyWhenUnused) {
    auto counter = ComponentLoader::Create<IDispatch>(testcomponent::kProgId);
    EXPECT_EQ(ComponentLoader::LoadedModules(), 1);
    EXPECT_EQ(ComponentLoader::FreeUnusedModules(), 0);
    counter.Reset();
    EXPECT_EQ(ComponentLoader::FreeUnusedModules(), 1);
    EXPECT_EQ(ComponentLoader::LoadedModules(), 0);
    // Loads again on demand.
    EXPECT_TRUE(ComponentLoader::Create<IDispatch>(testcomponent::kProgId));
}

TEST(ComponentModule, BrokenModulesFailWithException) {
    try {
        ComponentModule m("/nonexistent/libnothing.so");
        FAIL() << "loaded";
    } catch (const ComponentError& e) {
        EXPECT_EQ(e.Code(), CO_E_DLLNOTFOUND);
    }
    // A real library without the entry points.
    EXPECT_THROW(ComponentModule m("libm.so.6"), ComponentError);
}

// Host and module share one settings store, as a program and the modules
// it loads share the registry: whichever store the host has set up (here a
// test's own file, one after the other), the module registers into it.
TEST(ComponentModule, ModuleWritesIntoTheHostsSettingsStore) {
    ComponentModule module(MOX_TEST_COMPONENT);
    for (const char* tag : {"first-store", "second-store"}) {
        mox::test::TestSettingsFile settings(tag);
        ASSERT_TRUE(settings.Ok());
        ASSERT_EQ(module.RegisterServer(), S_OK) << tag;
        EXPECT_EQ(ComponentRegistry::ClassOfProgId(testcomponent::kProgId), testcomponent::kClsid)
            << tag;
        EXPECT_EQ(module.UnregisterServer(), S_OK) << tag;
    }
}

TEST(ComponentModule, RegisteredModuleThatVanishedFailsWithException) {
    ClassRegistration reg;
    reg.clsid = {0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    reg.progId = "MoxTest.Vanished.1";
    reg.modulePath = "/nonexistent/libvanished.so";
    ASSERT_TRUE(ComponentRegistry::RegisterClass(reg));
    try {
        ComponentLoader::CreateInstance("MoxTest.Vanished.1");
        FAIL() << "created";
    } catch (const ComponentError& e) {
        EXPECT_EQ(e.Code(), CO_E_DLLNOTFOUND);
    }
    ComponentRegistry::UnregisterClass(reg.clsid);
}

TEST(MoxRegSvr, ExitCodesTellTheOutcome) {
    EXPECT_EQ(RunCommand({MOX_REGSVR}), 3);
    EXPECT_EQ(RunCommand({MOX_REGSVR, "-x", MOX_TEST_COMPONENT}), 3);
    EXPECT_EQ(RunCommand({MOX_REGSVR, "-s", "/nonexistent/lib.so"}), 2);
    EXPECT_EQ(RunCommand({MOX_REGSVR, "-s", "libm.so.6"}), 2);
}

} // namespace
