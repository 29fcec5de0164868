// The classes of the test suite's in-process server libraries.
#pragma once

#include "platform/com/com.h"

// A counter object served by fw_test_com_server.
struct ITestCounter : IUnknown {
    static constexpr IID iid = {0x5E1F0C2A, 0x1B7D, 0x4C11, {0x9A, 0x01, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};
    virtual int32_t Increment() = 0;

protected:
    ~ITestCounter() = default;
};

constexpr CLSID CLSID_TestCounter = {0x5E1F0C2B, 0x1B7D, 0x4C11, {0x9A, 0x01, 0x22, 0x33, 0x44, 0x55, 0x66, 0x78}};
// Registered by fw_test_com_no_factory, which exports no DllGetClassObject.
constexpr CLSID CLSID_NoFactory = {0x5E1F0C2C, 0x1B7D, 0x4C11, {0x9A, 0x01, 0x22, 0x33, 0x44, 0x55, 0x66, 0x79}};

// Exported by fw_test_com_server: its objects and factories alive, and its server locks.
using TestServerLiveObjectsFn = int (*)();
