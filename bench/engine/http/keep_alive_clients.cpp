#include "bench/engine/http/keep_alive_clients.h"

#include <atomic>
#include <thread>
#include <vector>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http.hpp>

namespace fw_bench {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using asio::ip::tcp;

constexpr size_t kMaxBodyBytes = 64 * 1024 * 1024;
constexpr auto kAnswerTimeout = std::chrono::seconds(1);

tcp::endpoint Loopback(int port) { return {asio::ip::make_address("127.0.0.1"), static_cast<uint16_t>(port)}; }

}  // namespace

int FreeLoopbackPort() {
    asio::io_context ioc;
    tcp::acceptor acceptor(ioc, Loopback(0));
    return acceptor.local_endpoint().port();
}

TFigures MeasureKeepAliveClients(int port, const std::string& target, int clients, std::chrono::milliseconds duration) {
    std::atomic<long> requests{0}, bytes{0}, failures{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&] {
            asio::io_context ioc;
            tcp::socket socket(ioc);
            boost::beast::flat_buffer buffer;
            http::request<http::empty_body> request{http::verb::get, target, 11};
            request.set(http::field::host, "127.0.0.1");
            bool connected = false;
            while (!stop) {
                boost::system::error_code ec;
                if (!connected) {
                    socket = tcp::socket(ioc);
                    socket.connect(Loopback(port), ec);
                    if (ec) {
                        ++failures;
                        continue;
                    }
                    connected = true;
                }
                http::write(socket, request, ec);
                http::response_parser<http::string_body> parser;
                parser.body_limit(kMaxBodyBytes);
                if (!ec) http::read(socket, buffer, parser, ec);
                if (ec || parser.get().result() != http::status::ok) {
                    ++failures;
                    connected = false;
                    continue;
                }
                ++requests;
                bytes += static_cast<long>(parser.get().body().size());
                if (!parser.get().keep_alive()) connected = false;
            }
        });
    }
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(duration);
    stop = true;
    for (auto& t : threads) t.join();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {requests / seconds, bytes / seconds / (1024.0 * 1024.0), failures.load()};
}

bool AnswersGet(int port, const std::string& target) {
    asio::io_context ioc;
    boost::beast::tcp_stream stream(ioc);
    stream.expires_after(kAnswerTimeout);
    boost::system::error_code ec;
    stream.connect(Loopback(port), ec);
    if (ec) return false;
    http::request<http::empty_body> request{http::verb::get, target, 11};
    request.set(http::field::host, "127.0.0.1");
    request.keep_alive(false);
    http::write(stream, request, ec);
    if (ec) return false;
    boost::beast::flat_buffer buffer;
    http::response_parser<http::string_body> parser;
    parser.body_limit(kMaxBodyBytes);
    http::read(stream, buffer, parser, ec);
    return !ec && parser.get().result() == http::status::ok;
}

}  // namespace fw_bench
