#include "bench/support/process_cpu.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fw_bench {
namespace {

// The fields of /proc/PID/stat after the command name, which may itself hold blanks.
std::vector<std::string> StatFields(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> fields;
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return fields;
    std::istringstream rest(text.substr(close + 2));
    std::string field;
    while (rest >> field) fields.push_back(field);
    return fields;
}

// Positions in StatFields: state is field 3 of the whole line, so field n is at n - 3.
constexpr size_t kParentField = 4 - 3;
constexpr size_t kUserTimeField = 14 - 3;
constexpr size_t kSystemTimeField = 15 - 3;

}  // namespace

double ProcessCpuSeconds(pid_t pid) {
    const std::vector<std::string> f = StatFields(pid);
    if (f.size() <= kSystemTimeField) return 0;
    return (std::atof(f[kUserTimeField].c_str()) + std::atof(f[kSystemTimeField].c_str())) /
           static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double OwnCpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

std::vector<pid_t> ChildProcesses(pid_t pid) {
    std::vector<pid_t> children;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::vector<std::string> f = StatFields(std::atoi(name.c_str()));
        if (f.size() > kParentField && std::atoi(f[kParentField].c_str()) == pid) children.push_back(std::atoi(name.c_str()));
    }
    return children;
}

}  // namespace fw_bench
