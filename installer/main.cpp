// Hollarin: installs the libVLC libraries that Framewick needs into the folder Framewick names. A
// download server that drops the connection must not end the program: SIGPIPE is ignored first.
#include <QApplication>
#include <string>
#include <vector>

#include "common/SingleInstance.h"
#include "installer/InstallerApplication.h"
#include "installer/InstallerStartUp.h"
#include "platform/process/BrokenPipeSignal.h"

int main(int argc, char* argv[]) {
    platform::IgnoreBrokenPipeSignal();
    QApplication application(argc, argv);
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    hollarin::TInstallerApplication ui;
    app::TSingleInstance instance(hollarin::kInstallerMutexName);
    return hollarin::RunInstaller(arguments, ui, instance);
}
