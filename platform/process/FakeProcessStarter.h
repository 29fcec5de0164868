// A process starter for tests: records every start and answers as told.
#pragma once

#include <string>
#include <vector>

#include "platform/process/ProcessStarter.h"

namespace platform {

class TFakeProcessStarter : public IProcessStarter {
public:
    struct TStart {
        std::string Program;
        std::vector<std::string> Arguments;
    };

    explicit TFakeProcessStarter(bool succeed = true) : succeed_(succeed) {}

    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                       std::string* error = nullptr) override {
        starts_.push_back({program, arguments});
        if (!succeed_ && error) *error = "start refused by the test";
        return succeed_;
    }

    const std::vector<TStart>& Starts() const { return starts_; }

private:
    bool succeed_;
    std::vector<TStart> starts_;
};

}  // namespace platform
