#include "components/IconResources.h"

namespace components {

TIconImage TIconResources::Find(const QString& name) const {
    const auto it = icons_.find(name.toUpper());
    return it == icons_.end() ? TIconImage() : it->second;
}

}  // namespace components
