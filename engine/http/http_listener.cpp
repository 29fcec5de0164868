#include "engine/http/http_listener.h"

#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <system_error>

#include <boost/asio/ip/address_v4.hpp>

namespace engine {
namespace {

namespace asio = boost::asio;
using asio::ip::tcp;
using boost::system::error_code;

constexpr int kListenBacklog = 128;

// The process (EMFILE) or the whole system (ENFILE) has no descriptor for the connection.
bool IsDescriptorShortage(const error_code& ec) {
    return ec == boost::system::errc::too_many_files_open || ec == boost::system::errc::too_many_files_open_in_system;
}

// A connection needs a descriptor and a new open file: the try takes both, as accepting would, and
// gives them back at once.
bool DescriptorIsFree() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

}  // namespace

THttpListener::THttpListener(TConnectionThreadPool& pool, TJobFactory makeJob, TLogFunction log)
    : pool_(pool),
      makeJob_(std::move(makeJob)),
      log_(std::move(log)),
      acceptor_(ioc_),
      retryTimer_(ioc_),
      probeTimer_(ioc_) {}

THttpListener::~THttpListener() { Stop(); }

bool THttpListener::Start(const std::string& address, uint16_t port, TListenFailure& failure) {
    Stop();
    error_code ec;
    auto ip = asio::ip::make_address_v4(address, ec);
    if (ec) {
        failure = {"address", ec.message()};
        return false;
    }
    tcp::endpoint endpoint(ip, port);
    auto fail = [&](const char* kind) {
        failure = {kind, ec.message()};
        error_code ignored;
        acceptor_.close(ignored);
        return false;
    };
    if (acceptor_.open(endpoint.protocol(), ec)) return fail("open");
    // On Linux this only lets a restart reuse a port in TIME_WAIT; a port that another socket
    // listens on still refuses the bind (no port sharing).
    if (acceptor_.set_option(tcp::acceptor::reuse_address(true), ec)) return fail("open");
    if (acceptor_.bind(endpoint, ec)) return fail("bind");
    if (acceptor_.listen(kListenBacklog, ec)) return fail("listen");
    ioc_.restart();
    closedForWantOfThreads_ = 0;
    descriptorLastMissing_.reset();
    AcceptNext();
    try {
        thread_ = std::thread([this] { ioc_.run(); });
    } catch (const std::system_error& e) {
        failure = {"thread", e.what()};
        error_code ignored;
        acceptor_.close(ignored);
        return false;
    }
    return true;
}

void THttpListener::Dispatch(int socketFd) {
    std::string threadError;
    const auto result = pool_.Dispatch(makeJob_(socketFd), &threadError);  // a dropped job closes its socket
    if (result == TConnectionThreadPool::TDispatchResult::NoThread) {
        if (closedForWantOfThreads_++ == 0 && log_)
            log_("no thread for a new connection (" + threadError + "): connections are closed until threads are free");
    } else if (result == TConnectionThreadPool::TDispatchResult::Running && closedForWantOfThreads_ > 0) {
        if (log_)
            log_("threads are free again: " + std::to_string(closedForWantOfThreads_) +
                 " connections were closed for want of one");
        closedForWantOfThreads_ = 0;
    }
}

void THttpListener::AcceptNext() {
    acceptor_.async_accept([this](error_code ec, tcp::socket socket) {
        if (ec == asio::error::operation_aborted) return;
        if (ec) {
            // Out of descriptors or a connection reset before it was taken: wait a moment, go on.
            if (IsDescriptorShortage(ec))
                NoteDescriptorShortage(ec);
            else if (log_)
                log_("accept failed: " + ec.message());
            retryTimer_.expires_after(std::chrono::milliseconds(kAcceptRetryDelayMs));
            retryTimer_.async_wait([this](error_code timerEc) {
                if (!timerEc) AcceptNext();
            });
            return;
        }
        int fd = socket.release(ec);
        if (!ec) Dispatch(fd);
        AcceptNext();
    });
}

void THttpListener::NoteDescriptorShortage(const error_code& ec) {
    const bool begins = !descriptorLastMissing_;
    descriptorLastMissing_ = std::chrono::steady_clock::now();
    if (!begins) return;  // a shortage lasts and would repeat its line at every retry
    if (log_) log_("accept failed: " + ec.message() + ": new connections wait until descriptors are free");
    ProbeShortageEnd();
}

void THttpListener::ProbeShortageEnd() {
    // The last connection may have come in before the shortage ended, so accepting cannot tell its end.
    // A descriptor freed for a moment is taken by a waiting connection or another thread: the shortage
    // is over once every try has found one for a while.
    if (!descriptorLastMissing_) return;  // a try left over from before the last Stop
    const auto now = std::chrono::steady_clock::now();
    if (!DescriptorIsFree()) {
        descriptorLastMissing_ = now;
    } else if (now - *descriptorLastMissing_ >= std::chrono::milliseconds(kShortageSettleMs)) {
        descriptorLastMissing_.reset();
        if (log_) log_("descriptors are free again: waiting connections are accepted");
        return;
    }
    probeTimer_.expires_after(std::chrono::milliseconds(kShortageProbeMs));
    probeTimer_.async_wait([this](error_code timerEc) {
        if (!timerEc) ProbeShortageEnd();
    });
}

void THttpListener::Stop() {
    if (thread_.joinable()) {
        ioc_.stop();
        thread_.join();
    }
    error_code ignored;
    retryTimer_.cancel();
    probeTimer_.cancel();
    acceptor_.close(ignored);
}

}  // namespace engine
