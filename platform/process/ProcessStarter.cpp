#include <QProcess>
#include <QStringList>

#include "platform/process/ProcessStarter.h"

namespace platform {

bool TDetachedProcessStarter::StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                                            std::string* error) {
    QStringList args;
    for (const std::string& a : arguments) args << QString::fromStdString(a);
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    process.setArguments(args);
    if (process.startDetached()) return true;
    if (error) *error = program + " : " + process.errorString().toStdString();
    return false;
}

}  // namespace platform
