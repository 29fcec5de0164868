// "Is another party using this file?" On this platform files are not locked against each other, so
// the answer has two sources: an in-process register of files that a thread is writing or the web
// server is sending (TFileUseMark), and an access test (the file cannot be opened for reading and
// writing: read-only, access denied). Thread-safe.
#pragma once

#include <string>

namespace engine {

// Marks a file as in use for the mark's lifetime. Marks of the same file nest.
class TFileUseMark {
public:
    explicit TFileUseMark(const std::string& fileName);
    ~TFileUseMark();
    TFileUseMark(const TFileUseMark&) = delete;
    TFileUseMark& operator=(const TFileUseMark&) = delete;

private:
    std::string key_;
};

// False when the file does not exist. True when it is marked in use in this process or cannot be
// opened for reading and writing (held, read-only or protected files are not told apart).
bool IsFileInUse(const std::string& fileName);

}  // namespace engine
