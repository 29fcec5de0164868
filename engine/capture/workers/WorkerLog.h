// The log lines of a capture worker: entries with the current time go straight into the main window's
// log list, level 4 unless they report an error (level 2).
#pragma once

#include <memory>
#include <string>

#include "engine/settings/log_list.h"

namespace engine {

class TWorkerLog {
public:
    // With skipWhileClosing, nothing is added once the program has begun closing.
    TWorkerLog(std::shared_ptr<engine::TLogList> list, bool skipWhileClosing)
        : list_(std::move(list)), skipWhileClosing_(skipWhileClosing) {}

    void Info(const std::string& text) const { Add(text, engine::kLogInfo); }
    void Error(const std::string& text) const { Add(text, engine::kLogError); }
    // Every line of a text of several lines as an entry of its own.
    void InfoLines(const std::string& text) const;

private:
    void Add(const std::string& text, uint8_t level) const;

    const std::shared_ptr<engine::TLogList> list_;
    const bool skipWhileClosing_;
};

}  // namespace engine
