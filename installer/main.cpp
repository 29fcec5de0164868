// Hollarin: installs the libVLC libraries that Framewick needs into the folder Framewick names.
#include <QApplication>
#include <string>
#include <vector>

#include "app/SingleInstance.h"
#include "installer/InstallerApplication.h"
#include "installer/InstallerStartUp.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    hollarin::TInstallerApplication ui;
    app::TSingleInstance instance(hollarin::kInstallerMutexName);
    return hollarin::RunInstaller(arguments, ui, instance);
}
