// A web server in a process without a free descriptor: this test program lowers its own cap on open
// descriptors to the ones it holds, so accepting fails until the cap is raised again. A descriptor
// freed for a moment lets one waiting connection in without ending the shortage; the server finds
// the end itself once the cap is raised, whether or not a connection still waits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include <boost/system/error_code.hpp>

#include "engine/http/http_listener.h"
#include "tests/engine/http/http_server_fixture.h"

namespace fw_test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kShortageLine = "accept failed: Too many open files";
constexpr const char* kShortageEndLine = "descriptors are free again";
constexpr auto kLoggedWithin = 10s;

// The port of the loopback address fd is bound to (its own side with local, the peer's without).
int LoopbackPort(int fd, bool local) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    const int result = local ? ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length)
                             : ::getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return result == 0 && address.sin_family == AF_INET ? ntohs(address.sin_port) : -1;
}

size_t LinesWith(const std::vector<std::string>& lines, const std::string& part) {
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(),
                                             [&](const std::string& l) { return l.find(part) != std::string::npos; }));
}

// Lowers the soft cap on open descriptors for the object's life.
class TDescriptorCap {
public:
    explicit TDescriptorCap(rlim_t cap) {
        ok_ = ::getrlimit(RLIMIT_NOFILE, &saved_) == 0;
        rlimit lowered = saved_;
        lowered.rlim_cur = cap;
        ok_ = ok_ && ::setrlimit(RLIMIT_NOFILE, &lowered) == 0;
    }
    ~TDescriptorCap() { Lift(); }
    bool ok() const { return ok_; }
    void Lift() {
        if (ok_) ::setrlimit(RLIMIT_NOFILE, &saved_);
        ok_ = false;
    }

private:
    rlimit saved_{};
    bool ok_ = false;
};

// Connections waiting when a descriptor is freed for a moment: it lets one of them in. With one, nothing
// is left to accept, and the end of the shortage must be found without any connection.
struct TShortageCase {
    const char* Name;
    size_t Waiting;
};

void PrintTo(const TShortageCase& shortage, std::ostream* out) { *out << shortage.Name; }

class DescriptorShortageTest : public HttpServerFixture, public ::testing::WithParamInterface<TShortageCase> {};

TEST_P(DescriptorShortageTest, ADescriptorFreedForAMomentDoesNotEndTheShortageAndItsEndIsFoundByTheServer) {
    WriteFile(Root() / "page.html", "<html>page</html>");
    engine::THttpConnectionLimits patient;
    patient.RequestReadTimeout = 120s;  // the connection let in stays open through the whole test
    auto server = StartServer(patient);
    ASSERT_TRUE(server->Listening());
    // The sanitizers' type check needs a pipe the first time it meets a class: the connection's classes
    // and the accept error's category are met here, before descriptors run out. The connection has
    // closed its file and socket once the process holds as many descriptors as before.
    const size_t descriptorsBefore = DescriptorCount(::getpid());
    ASSERT_EQ(Request(port_, "GET", "/page.html").Body, "<html>page</html>");
    ASSERT_TRUE(WaitUntil([&] { return DescriptorCount(::getpid()) == descriptorsBefore; }, kLoggedWithin));
    ASSERT_TRUE(boost::system::error_code(EMFILE, boost::system::system_category()) ==
                boost::system::errc::too_many_files_open);

    // The clients' descriptors exist before the cap; the last free one is kept to be freed later.
    std::vector<int> clients;
    for (size_t i = 0; i < GetParam().Waiting; ++i) clients.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const int spare = ::open("/dev/null", O_RDONLY | O_CLOEXEC);  // the lowest free number
    ASSERT_TRUE(std::all_of(clients.begin(), clients.end(), [](int fd) { return fd >= 0; }) && spare >= 0);
    TDescriptorCap cap(static_cast<rlim_t>(spare) + 1);
    ASSERT_TRUE(cap.ok());
    // Under the cap not even a failed check's message can be made: the checks are told once it is lifted.
    const bool connected = std::all_of(clients.begin(), clients.end(), [&](int fd) { return ConnectSocket(fd, port_); });
    const bool shortageLogged = connected && WaitUntil([&] { return LogContains(kShortageLine); }, kLoggedWithin);
    // One waiting connection gets the freed descriptor; any other one finds none again.
    ::close(spare);
    const bool oneLetIn =
        shortageLogged && WaitUntil([&] { return LoopbackPort(spare, true) == port_; }, kLoggedWithin);
    // Watched for longer than the shortage needs to settle: an end taken from the one connection, or
    // from the freed descriptor, would be logged by then.
    if (oneLetIn) std::this_thread::sleep_for(std::chrono::milliseconds(3 * engine::THttpListener::kShortageSettleMs));
    const bool endedWhileShort = LogContains(kShortageEndLine);
    const int letIn = LoopbackPort(spare, false);
    cap.Lift();

    ASSERT_TRUE(connected);
    ASSERT_TRUE(shortageLogged) << "no line about the shortage";
    ASSERT_TRUE(oneLetIn) << "the freed descriptor was not taken by a connection";
    EXPECT_TRUE(std::any_of(clients.begin(), clients.end(), [&](int fd) { return letIn == LoopbackPort(fd, true); }));
    EXPECT_FALSE(endedWhileShort) << "the shortage goes on";
    // No client does anything until the server has told the end.
    EXPECT_TRUE(WaitUntil([&] { return LogContains(kShortageEndLine); }, kLoggedWithin)) << "its end was not logged";
    // Every waiting connection is served, the one let in during the shortage too, and so is a new one.
    for (int fd : clients)
        EXPECT_EQ(SendRawRequestOn(fd, "GET /page.html HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n").Body, "<html>page</html>");
    EXPECT_EQ(Request(port_, "GET", "/page.html").Body, "<html>page</html>");
    const auto lines = LogLines();
    EXPECT_EQ(LinesWith(lines, kShortageLine), 1u);
    EXPECT_EQ(LinesWith(lines, kShortageEndLine), 1u);
}

INSTANTIATE_TEST_SUITE_P(Waiting, DescriptorShortageTest,
                         ::testing::Values(TShortageCase{"TheOneLetInWasTheLast", 1},
                                           TShortageCase{"AnotherOneWaits", 2}),
                         [](const ::testing::TestParamInfo<TShortageCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace fw_test
