// A start of the program block in a process of its own, with the real single-instance check (lock
// folder from $FRAMEWICK_LOCK_DIR) and a recording user interface. Prints the user-interface calls
// made ("none" when the block made no window) and exits with the block's exit code.
#include <QCoreApplication>
#include <cstdio>

#include "app/startup/ProgramBlock.h"
#include "common/SingleInstance.h"
#include "tests/app/startup/fake_startup_ui.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    TFakeStartupUi ui;
    app::TSingleInstance instance;
    const int exitCode = app::RunProgramBlock(ui, instance);
    std::string calls;
    for (const std::string& call : ui.calls) calls += (calls.empty() ? "" : ",") + call;
    std::printf("%s\n", calls.empty() ? "none" : calls.c_str());
    return exitCode;
}
