// The program's named icon resources (the tray icon's IconResName and its animation frames). The
// program registers its own icons, drawn at start, by name; "MAINICON" is the application's icon.
#pragma once

#include <QString>
#include <map>

#include "components/IconImage.h"

namespace components {

class TIconResources {
public:
    static constexpr const char* kApplicationIconName = "MAINICON";

    void Add(const QString& name, const TIconImage& icon) { icons_[name.toUpper()] = icon; }
    // Names compare without regard to case; an empty icon when there is none of that name.
    TIconImage Find(const QString& name) const;
    TIconImage ApplicationIcon() const { return Find(QString::fromLatin1(kApplicationIconName)); }

private:
    std::map<QString, TIconImage> icons_;
};

}  // namespace components
