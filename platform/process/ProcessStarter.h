// Starting another program (the library installer, outside tools): the program and an argument
// vector, never a shell command line, so no argument is ever split or interpreted.
#pragma once

#include <string>
#include <vector>

namespace platform {

class IProcessStarter {
public:
    virtual ~IProcessStarter() = default;
    // Starts program with arguments, detached from this process (it outlives us and leaves no zombie).
    // False with *error when it could not be started.
    virtual bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                               std::string* error = nullptr) = 0;
};

// QProcess::startDetached.
class TDetachedProcessStarter : public IProcessStarter {
public:
    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                       std::string* error = nullptr) override;
};

}  // namespace platform
