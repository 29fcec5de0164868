#include "components/ApplicationTitle.h"

#include <QCoreApplication>

namespace components {

namespace {

QString& StoredTitle() {
    static QString title;  // user-interface thread only
    return title;
}

}  // namespace

void SetApplicationTitle(const QString& title) { StoredTitle() = title; }

QString ApplicationTitle() {
    return StoredTitle().isEmpty() ? QCoreApplication::applicationName() : StoredTitle();
}

}  // namespace components
