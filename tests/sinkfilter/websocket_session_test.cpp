// One web-socket client of the sink's server, driven on the test's own event loop so the order of
// events is the test's: a client that does not keep up is closed while the completion of a write that
// already went out still waits in the loop.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include <boost/asio/ip/tcp.hpp>

#include "sinkfilter/websocket_session.h"
#include "tests/sinkfilter/ws_test_client.h"

using namespace std::chrono_literals;
using boost::asio::ip::tcp;

TEST(WebSocketSession, ASlowClientClosedWhileAFinishedWriteWaitsInTheLoopLosesNothingElse) {
    boost::asio::io_context io;
    tcp::acceptor acceptor(io, tcp::endpoint(boost::asio::ip::make_address_v4("127.0.0.1"), 0));
    const int port = acceptor.local_endpoint().port();
    std::shared_ptr<sinkfilter::TWebSocketSession> session;
    acceptor.async_accept([&](const boost::system::error_code& ec, tcp::socket socket) {
        ASSERT_FALSE(ec) << ec.message();
        session = std::make_shared<sinkfilter::TWebSocketSession>(std::move(socket));
        session->Start();
    });

    // The client's handshake runs on a thread of its own; the session's side runs here.
    fw_test::TWsTestClient client;
    bool connected = false;
    std::thread handshake([&] { connected = client.Connect(port, 5s); });
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!(session && session->IsOpen()) && std::chrono::steady_clock::now() < deadline) io.run_for(10ms);
    handshake.join();
    ASSERT_TRUE(connected);
    ASSERT_TRUE(session && session->IsOpen());

    // Nothing of the session runs between these sends: the first one's write goes out to the socket
    // at once and its completion waits in the loop; the queue fills up and the last send closes the
    // client.
    std::vector<sinkfilter::TSharedMessage> sent;
    for (size_t i = 0; i <= sinkfilter::kMaxQueuedMessagesPerClient; ++i) {
        auto message = std::make_shared<const std::vector<uint8_t>>(1000, static_cast<uint8_t>(i));
        session->Send(message);
        sent.push_back(message);
    }
    EXPECT_FALSE(session->IsOpen());
    // Only the session may hold the messages from here on: what it still uses, it keeps alive itself.
    sent.clear();
    // The waiting completion runs now, on an emptied queue.
    io.restart();
    io.run_for(200ms);

    // The client got the message that went out, and then the end of the connection.
    const auto first = client.Read(3s);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, std::vector<uint8_t>(1000, 0));
    EXPECT_FALSE(client.Read(3s));
    const std::weak_ptr<sinkfilter::TWebSocketSession> gone = session;
    session.reset();
    io.run_for(100ms);
    EXPECT_TRUE(gone.expired()) << "the session outlives its pending operations";
}
