// The lines of the log window, newest last, at most kMaxLogWindowLines of them: the window shows this
// list and follows the changes each write reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace app {

constexpr size_t kMaxLogWindowLines = 500;

struct TLogWindowLine {
    std::string Text;
    uint8_t Level = 0;  // gives the line's colours
};

// What one write changed: lines appended at the end, then lines removed from the front.
struct TLogWindowUpdate {
    size_t Added = 0;
    size_t RemovedFromFront = 0;
};

class TLogLineModel {
public:
    void Add(TLogWindowLine line) { lines_.push_back(std::move(line)); }
    // Removes the oldest lines beyond the limit; returns how many went.
    size_t Trim();
    void Clear() { lines_.clear(); }
    const std::deque<TLogWindowLine>& Lines() const { return lines_; }

private:
    std::deque<TLogWindowLine> lines_;
};

}  // namespace app
