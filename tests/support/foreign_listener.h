// Another program on a local TCP port, as a capture's sink meets it: listens on 127.0.0.1:port and
// sends every client that connects the same raw picture again and again (what a stranger's picture
// stream looks like to a reader), or nothing when the picture is empty (a program that only holds the
// port). Counts the clients it had; stops and closes everything when destroyed.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace fw_test {

class TForeignListener {
public:
    TForeignListener(int port, std::vector<uint8_t> picture = {});
    ~TForeignListener();
    TForeignListener(const TForeignListener&) = delete;
    TForeignListener& operator=(const TForeignListener&) = delete;

    // False when the port could not be had (someone else holds it).
    bool Listening() const { return listener_ >= 0; }
    int Port() const { return port_; }
    int Clients() const { return clients_.load(); }

private:
    void Serve();

    int port_;
    std::vector<uint8_t> picture_;
    int listener_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<int> clients_{0};
    std::thread thread_;
};

// One picture of one colour in the YV12 layout libVLC's raw-video reader expects: the Y plane, then
// the V plane, then the U plane, each chroma plane at half the width and height.
std::vector<uint8_t> SolidYv12Picture(int width, int height, uint8_t y, uint8_t u, uint8_t v);

}  // namespace fw_test
