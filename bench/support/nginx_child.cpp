#include "bench/support/nginx_child.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "bench/support/process_cpu.h"

namespace fw_bench {
namespace {

constexpr auto kReadyTimeout = std::chrono::seconds(5);
constexpr auto kReadyPoll = std::chrono::milliseconds(20);

bool PortAnswers(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

bool TNginxChild::Installed() { return std::filesystem::exists(kBinary); }

TNginxChild::TNginxChild(const std::filesystem::path& work, const std::filesystem::path& root, int port)
    : port_(port) {
    std::filesystem::create_directories(work / "logs");
    {
        std::ofstream conf(work / "nginx.conf");
        if (::geteuid() == 0) conf << "user root;\n";
        conf << "worker_processes auto;\npid " << (work / "nginx.pid").string() << ";\n"
             << "error_log " << (work / "logs" / "error.log").string() << ";\n"
             << "events { worker_connections 1024; }\n"
             << "http {\n  access_log off;\n  sendfile on;\n  tcp_nopush on;\n  keepalive_requests 1000000;\n"
             << "  types { video/mp2t ts; application/vnd.apple.mpegurl m3u8; text/html html; }\n"
             << "  client_body_temp_path " << (work / "body").string() << ";\n"
             << "  proxy_temp_path " << (work / "proxy").string() << ";\n"
             << "  server {\n    listen 127.0.0.1:" << port << ";\n    root " << root.string() << ";\n  }\n}\n";
    }
    const std::string confPath = (work / "nginx.conf").string();
    const std::string prefix = work.string() + "/";
    pid_ = ::fork();
    if (pid_ == 0) {
        ::execl(kBinary, kBinary, "-p", prefix.c_str(), "-c", confPath.c_str(), "-g", "daemon off;",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
}

TNginxChild::~TNginxChild() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

bool TNginxChild::WaitReady() const {
    const auto end = std::chrono::steady_clock::now() + kReadyTimeout;
    while (pid_ > 0 && std::chrono::steady_clock::now() < end) {
        if (PortAnswers(port_)) return true;
        std::this_thread::sleep_for(kReadyPoll);
    }
    return false;
}

double TNginxChild::CpuSeconds() const {
    if (pid_ <= 0) return 0;
    double seconds = ProcessCpuSeconds(pid_);
    for (pid_t worker : ChildProcesses(pid_)) seconds += ProcessCpuSeconds(worker);
    return seconds;
}

}  // namespace fw_bench
