// What the About box says of the processor: its vendor text (CPUID leaf 0) and a measured clock.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

class QLocale;

namespace app {

struct TCpuInfo {
    bool HasCpuid = false;
    std::string Vendor;  // 12 characters: EBX, EDX, ECX of leaf 0
    uint32_t MHz = 0;
};

// The processor answers CPUID (always on x86-64; never on other architectures).
bool HasCpuid();
// The vendor text; "" without CPUID.
std::string GetCpuVendor();
// The time-stamp counter's rate over half a second, in MHz (0 without one). Blocks the calling thread
// for about kCpuClockMeasureMs; it runs at real-time priority for that time when the system allows it.
uint32_t MeasureCpuMHz();
// All three; the clock is measured only when there is CPUID.
TCpuInfo ProbeCpu();

// "on a '<vendor>' processor at ~<GHz with three decimals> GHz", or "on a not identified processor".
QString CpuLineText(const TCpuInfo& cpu, const QLocale& locale);

constexpr int kCpuClockSettleMs = 10;
constexpr int kCpuClockMeasureMs = 500;

}  // namespace app
