// The error message box the graphs show when a build fails. The engine has no widgets: the shell
// supplies the real box, tests a recording fake; without one the text goes to the filter layer's log.
#pragma once

#include <string>

namespace engine {

class IErrorBox {
public:
    virtual ~IErrorBox() = default;
    virtual void ShowError(const std::string& caption, const std::string& text) = 0;
};

}  // namespace engine
