// An outside program run to its end with an argument vector (no shell, so names with blanks or shell
// characters pass unchanged) and a time-out. It runs in a process group of its own with no window and
// none of our descriptors; on time-out, or when the object goes first, the whole group is killed.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace engine {

enum class TProgramOutcome {
    NotStarted,  // the program could not be started
    Finished,    // it ended by itself; ExitCode says how
    TimedOut,    // it was killed after the time-out
};

struct TProgramRun {
    TProgramOutcome Outcome = TProgramOutcome::NotStarted;
    int ExitCode = -1;  // exit status when it finished normally, else -1
    std::chrono::milliseconds Elapsed{0};
    std::string Error;  // why it could not be started
};

class TChildProgram {
public:
    TChildProgram() = default;
    ~TChildProgram();  // kills the group and reaps the child when it still runs
    TChildProgram(const TChildProgram&) = delete;
    TChildProgram& operator=(const TChildProgram&) = delete;

    // Runs argv[0] (a path; the search path is not used) and waits at most timeout for its end.
    TProgramRun Run(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

private:
    void KillAndReap();

    pid_t pid_ = -1;
};

// argv as one line for log lines: each argument in double quotes when it holds a blank.
std::string CommandLineText(const std::vector<std::string>& argv);

}  // namespace engine
