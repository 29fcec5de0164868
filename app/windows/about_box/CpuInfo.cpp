#include "app/windows/about_box/CpuInfo.h"

#include <pthread.h>
#include <sched.h>

#include <QLocale>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define FW_HAS_X86_CPUID 1
#endif

namespace app {

namespace {

// Raises the calling thread to the highest real-time priority for its lifetime, when allowed (an
// ordinary user usually is not; the measurement then runs at normal priority).
class TRealTimePriority {
public:
    TRealTimePriority() {
        if (pthread_getschedparam(pthread_self(), &policy_, &param_) != 0) return;
        sched_param top{};
        top.sched_priority = sched_get_priority_max(SCHED_FIFO);
        raised_ = pthread_setschedparam(pthread_self(), SCHED_FIFO, &top) == 0;
    }
    ~TRealTimePriority() {
        if (raised_) pthread_setschedparam(pthread_self(), policy_, &param_);
    }
    TRealTimePriority(const TRealTimePriority&) = delete;
    TRealTimePriority& operator=(const TRealTimePriority&) = delete;

private:
    int policy_ = SCHED_OTHER;
    sched_param param_{};
    bool raised_ = false;
};

}  // namespace

bool HasCpuid() {
#ifdef FW_HAS_X86_CPUID
    return __get_cpuid_max(0, nullptr) != 0;  // on 32-bit x86 this tests the ID flag (bit 21)
#else
    return false;
#endif
}

std::string GetCpuVendor() {
#ifdef FW_HAS_X86_CPUID
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(0, &eax, &ebx, &ecx, &edx)) return std::string();
    char vendor[12];
    std::memcpy(vendor, &ebx, 4);
    std::memcpy(vendor + 4, &edx, 4);
    std::memcpy(vendor + 8, &ecx, 4);
    return std::string(vendor, sizeof vendor);
#else
    return std::string();
#endif
}

// The counter's ticks are divided by the time that really passed: a sleep may overrun its half second.
uint32_t MeasureCpuMHz() {
#ifdef FW_HAS_X86_CPUID
    using Clock = std::chrono::steady_clock;
    TRealTimePriority priority;
    std::this_thread::sleep_for(std::chrono::milliseconds(kCpuClockSettleMs));
    const Clock::time_point start = Clock::now();
    const uint64_t ticks0 = __rdtsc();
    std::this_thread::sleep_for(std::chrono::milliseconds(kCpuClockMeasureMs));
    const uint64_t ticks1 = __rdtsc();
    const auto elapsedUs = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    if (elapsedUs <= 0) return 0;
    return uint32_t(std::llround(double(ticks1 - ticks0) / double(elapsedUs)));
#else
    return 0;
#endif
}

TCpuInfo ProbeCpu() {
    TCpuInfo cpu;
    cpu.HasCpuid = HasCpuid();
    if (cpu.HasCpuid) {
        cpu.Vendor = GetCpuVendor();
        cpu.MHz = MeasureCpuMHz();
    }
    return cpu;
}

QString CpuLineText(const TCpuInfo& cpu, const QLocale& locale) {
    if (!cpu.HasCpuid) return QStringLiteral("on a not identified processor");
    return QStringLiteral("on a '") + QString::fromLatin1(cpu.Vendor) + QStringLiteral("' processor at ~") +
           locale.toString(cpu.MHz / 1000.0, 'f', 3) + QStringLiteral(" GHz");
}

}  // namespace app
