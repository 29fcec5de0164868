// A second process for the platform_process tests.
//   hold-lock <mutex name> <folder> <ready file>: takes the global mutex, creates the ready file and
//                                                sleeps until killed (exit 3 when the mutex was taken);
//   activate <server name>:                     asks the running instance to come forward (exit 0 when
//                                                it answered, 3 otherwise);
//   write-args <file> <args...>:                writes each argument on a line of its own.
#include <unistd.h>

#include <QCoreApplication>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/process/ActivationRequest.h"
#include "platform/process/GlobalMutex.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string mode = argv[1];
    if (mode == "hold-lock" && argc == 5) {
        platform::TGlobalMutex mutex(argv[2], argv[3]);
        if (!mutex.Owned()) return 3;
        std::ofstream(argv[4]) << "locked\n";
        for (;;) ::pause();
    }
    if (mode == "activate") {
        QCoreApplication app(argc, argv);
        return platform::RequestActivation(argv[2]) ? 0 : 3;
    }
    if (mode == "write-args") {
        const std::string file = argv[2];
        {
            std::ofstream out(file + ".part", std::ios::binary);
            for (int i = 3; i < argc; ++i) out << argv[i] << '\n';
        }
        return std::rename((file + ".part").c_str(), file.c_str()) == 0 ? 0 : 4;
    }
    return 2;
}
