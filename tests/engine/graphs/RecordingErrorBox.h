// The graphs' message box for tests: keeps what it was asked to show.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/graphs/ErrorBox.h"

namespace fw_test {

class TRecordingErrorBox final : public engine::IErrorBox {
public:
    void ShowError(const std::string& caption, const std::string& text) override { shown.emplace_back(caption, text); }
    std::vector<std::pair<std::string, std::string>> shown;
};

}  // namespace fw_test
