// Classes created by CoCreateInstance: built-in ones, and ones served by libraries that the
// registration command (run as its own process) entered in the registry.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/com/com.h"
#include "platform/registry/registry.h"
#include "tests/platform/com/test_server_api.h"
#include "tests/support/test_env.h"

namespace {

constexpr CLSID kUnknownClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
constexpr CLSID kMissingLibraryClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x56}};
constexpr CLSID kNotALibraryClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x57}};
constexpr CLSID kNotServedClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x58}};
constexpr CLSID kBuiltinClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x59}};

int RunRegsvr(const std::vector<std::string>& args, std::string* output) {
    std::vector<std::string> argv = {FWREGSVR};
    argv.insert(argv.end(), args.begin(), args.end());
    return fw_test::RunProgram(argv, output);
}

// The test server as the loader holds it right now: empty when it is not loaded.
struct LoadedTestServer {
    void* handle = ::dlopen(TEST_SERVER, RTLD_NOW | RTLD_NOLOAD);
    ~LoadedTestServer() {
        if (handle) ::dlclose(handle);
    }
    int LiveObjects() const {
        auto fn = reinterpret_cast<TestServerLiveObjectsFn>(::dlsym(handle, "TestServerLiveObjects"));
        return fn ? fn() : -1;
    }
};

bool TestServerLoaded() { return LoadedTestServer().handle != nullptr; }

class ComCreate : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string output;
        ASSERT_EQ(RunRegsvr({TEST_SERVER}, &output), 0) << output;
        ASSERT_EQ(RunRegsvr({NO_FACTORY_SERVER}, &output), 0) << output;
    }
    void SetUp() override { ASSERT_EQ(CoInitialize(), S_OK); }
    void TearDown() override { CoUninitialize(); }
};

}  // namespace

TEST_F(ComCreate, RegistrationCommandWritesTheClassKeys) {
    platform::TRegistry reg(platform::RootKey::ClassesRoot);
    ASSERT_TRUE(reg.OpenKeyReadOnly("CLSID\\" + GuidToString(CLSID_TestCounter)));
    EXPECT_EQ(reg.ReadString(""), "Test Counter");
    ASSERT_TRUE(reg.OpenKeyReadOnly("CLSID\\" + GuidToString(CLSID_TestCounter) + "\\InprocServer32"));
    char real[PATH_MAX];
    ASSERT_TRUE(::realpath(TEST_SERVER, real));
    EXPECT_EQ(reg.ReadString(""), std::string(real));
    EXPECT_EQ(reg.ReadString("ThreadingModel"), "Both");
}

TEST_F(ComCreate, RegisteredLibraryServesObjectsAndReferenceCountingFreesThem) {
    {
        ComPtr<ITestCounter> first, second;
        ASSERT_EQ(CoCreate(CLSID_TestCounter, first), S_OK);
        ASSERT_EQ(CoCreate(CLSID_TestCounter, second), S_OK);
        EXPECT_EQ(first->Increment(), 1);
        EXPECT_EQ(first->Increment(), 2);
        EXPECT_EQ(second->Increment(), 1);  // two objects, not one

        LoadedTestServer server;
        ASSERT_TRUE(server.handle);
        EXPECT_EQ(server.LiveObjects(), 2);  // the factories are gone already
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(first.As(unknown), S_OK);
        ComPtr<IClassFactory> notThere;
        EXPECT_EQ(first.As(notThere), E_NOINTERFACE);
        first.Reset();
        EXPECT_EQ(server.LiveObjects(), 2);  // unknown still holds it
        unknown.Reset();
        EXPECT_EQ(server.LiveObjects(), 1);

        // A live object keeps its library loaded, whatever the delay.
        CoFreeUnusedLibrariesEx(0);
        EXPECT_TRUE(TestServerLoaded());
        second.Reset();
        EXPECT_EQ(server.LiveObjects(), 0);
    }
    // Its last object just went: the library stays for the unload delay, then goes.
    CoFreeUnusedLibraries();
    EXPECT_TRUE(TestServerLoaded());
    CoFreeUnusedLibrariesEx(0);
    EXPECT_FALSE(TestServerLoaded());
    // And it loads again on demand.
    ComPtr<ITestCounter> again;
    ASSERT_EQ(CoCreate(CLSID_TestCounter, again), S_OK);
    EXPECT_EQ(again->Increment(), 1);
}

TEST_F(ComCreate, FailuresGiveTheirOwnCodes) {
    fw_test::TempDir dir;
    fw_test::WriteFile(dir / "not-a-library.so", "plain text, not ELF");
    ASSERT_EQ(RegisterInprocServer(kMissingLibraryClass, "Missing", (dir / "gone.so").string()), S_OK);
    ASSERT_EQ(RegisterInprocServer(kNotALibraryClass, "Not a library", (dir / "not-a-library.so").string()), S_OK);
    ASSERT_EQ(RegisterInprocServer(kNotServedClass, "Not served", TEST_SERVER), S_OK);

    const struct {
        const char* what;
        CLSID clsid;
        HRESULT expected;
    } cases[] = {
        {"unknown class", kUnknownClass, REGDB_E_CLASSNOTREG},
        {"library missing", kMissingLibraryClass, CO_E_DLLNOTFOUND},
        {"file is no library", kNotALibraryClass, CO_E_ERRORINDLL},
        {"library without DllGetClassObject", CLSID_NoFactory, CO_E_ERRORINDLL},
        {"library does not serve the class", kNotServedClass, CLASS_E_CLASSNOTAVAILABLE},
    };
    for (const auto& c : cases) {
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(CoCreateInstance(c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), c.expected)
            << c.what;
        EXPECT_EQ(object, nullptr) << c.what;
    }

    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IClassFactory, &object),
              E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    ComPtr<ITestCounter> outer;
    ASSERT_EQ(CoCreate(CLSID_TestCounter, outer), S_OK);
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, outer.Get(), CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr), E_POINTER);
    // Nothing failed leaves a library behind that holds objects.
    outer.Reset();
    CoFreeUnusedLibrariesEx(0);
    EXPECT_FALSE(TestServerLoaded());

    for (CLSID clsid : {kMissingLibraryClass, kNotALibraryClass, kNotServedClass})
        EXPECT_EQ(UnregisterInprocServer(clsid), S_OK);
    EXPECT_EQ(UnregisterInprocServer(kUnknownClass), S_OK);  // never registered
}

TEST_F(ComCreate, RegistrationCommandReportsFailuresAndUnregisters) {
    std::string output;
    EXPECT_EQ(RunRegsvr({"/nonexistent/library.so"}, &output), 1);
    EXPECT_NE(output.find("DllRegisterServer in \"/nonexistent/library.so\" failed: the library was not found"),
              std::string::npos) << output;
    EXPECT_EQ(RunRegsvr({PLATFORM_COM_LIBRARY}, &output), 1);  // a library without DllRegisterServer
    EXPECT_NE(output.find("lacks the entry point (0x800401F9)"), std::string::npos) << output;
    EXPECT_EQ(RunRegsvr({}, &output), 1);
    EXPECT_NE(output.find("usage: fwregsvr [-u] library.so"), std::string::npos) << output;
    EXPECT_EQ(RunRegsvr({"-x", TEST_SERVER}, &output), 1);

    ASSERT_EQ(RunRegsvr({"-u", TEST_SERVER}, &output), 0) << output;
    EXPECT_NE(output.find("DllUnregisterServer"), std::string::npos) << output;
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
              REGDB_E_CLASSNOTREG);
    ASSERT_EQ(RunRegsvr({TEST_SERVER}, &output), 0) << output;
    ComPtr<ITestCounter> counter;
    EXPECT_EQ(CoCreate(CLSID_TestCounter, counter), S_OK);
}

namespace {
std::atomic<int> g_builtinCreated{0};
HRESULT CreateBuiltinCounter(IUnknown*, REFIID riid, void** ppv) {
    ++g_builtinCreated;
    // Hands out a test-server object, so the built-in path is told apart only by the counter.
    return CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, riid, ppv);
}
}  // namespace

TEST_F(ComCreate, BuiltinClassesComeFirstAndCanBeRevoked) {
    g_builtinCreated = 0;
    ComPtr<ITestCounter> counter;
    EXPECT_EQ(CoCreate(kBuiltinClass, counter), REGDB_E_CLASSNOTREG);
    CoRegisterBuiltinClass(kBuiltinClass, CreateBuiltinCounter);
    ASSERT_EQ(CoCreate(kBuiltinClass, counter), S_OK);
    EXPECT_EQ(g_builtinCreated, 1);
    // A built-in class of the same identifier as a registered one wins.
    CoRegisterBuiltinClass(CLSID_TestCounter, [](IUnknown*, REFIID, void**) { return E_ABORT; });
    EXPECT_EQ(CoCreate(CLSID_TestCounter, counter), E_ABORT);
    CoRevokeBuiltinClass(CLSID_TestCounter);
    EXPECT_EQ(CoCreate(CLSID_TestCounter, counter), S_OK);
    CoRevokeBuiltinClass(kBuiltinClass);
    EXPECT_EQ(CoCreate(kBuiltinClass, counter), REGDB_E_CLASSNOTREG);
}

TEST_F(ComCreate, CreationAndUnloadingFromManyThreadsAtOnce) {
    constexpr int kThreads = 8;
    constexpr int kRounds = 200;
    std::atomic<int> failures{0};
    std::atomic<bool> stop{false};
    // An unloader asking all the time never takes the library from under its creations and objects.
    std::thread unloader([&] {
        while (!stop) CoFreeUnusedLibraries();
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i) {
                ComPtr<ITestCounter> counter;
                if (CoCreate(CLSID_TestCounter, counter) != S_OK || counter->Increment() != 1) ++failures;
            }
        });
    for (auto& th : threads) th.join();
    stop = true;
    unloader.join();
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(TestServerLoaded());
    CoFreeUnusedLibrariesEx(0);
    EXPECT_FALSE(TestServerLoaded());
}

TEST_F(ComCreate, LibraryIsUnloadedOnlyAfterBeingIdleForTheWholeDelay) {
    constexpr DWORD kDelayMs = 1000;
    {
        ComPtr<ITestCounter> counter;
        ASSERT_EQ(CoCreate(CLSID_TestCounter, counter), S_OK);
    }
    CoFreeUnusedLibrariesEx(kDelayMs);  // idle from now on
    EXPECT_TRUE(TestServerLoaded());
    std::this_thread::sleep_for(std::chrono::milliseconds(kDelayMs + 100));
    {
        // A creation in between starts the delay again.
        ComPtr<ITestCounter> counter;
        ASSERT_EQ(CoCreate(CLSID_TestCounter, counter), S_OK);
    }
    CoFreeUnusedLibrariesEx(kDelayMs);
    EXPECT_TRUE(TestServerLoaded());
    std::this_thread::sleep_for(std::chrono::milliseconds(kDelayMs + 100));
    CoFreeUnusedLibrariesEx(kDelayMs);
    EXPECT_FALSE(TestServerLoaded());
}

TEST(ComTaskMemory, AllocatesAndFrees) {
    void* p = CoTaskMemAlloc(0);
    EXPECT_NE(p, nullptr);
    CoTaskMemFree(p);
    auto* text = static_cast<char*>(CoTaskMemAlloc(16));
    ASSERT_NE(text, nullptr);
    std::memcpy(text, "fifteen chars!", 15);
    CoTaskMemFree(text);
    CoTaskMemFree(nullptr);
}

TEST(ComInitialize, CountsNestedCalls) {
    EXPECT_EQ(CoInitialize(), S_OK);
    EXPECT_EQ(CoInitialize(), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitialize(), S_OK);
    CoUninitialize();
}
