// Prints IsFileInUse of every file named on the command line as one line of "1" and "0"; with
// "--hold FILE" first it keeps FILE open for writing while it asks. The file-in-use test runs it
// under another user's id, for whom the kernel grants no lease on the test's files.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "engine/util/file_in_use.h"

int main(int argc, char** argv) {
    int first = 1;
    int held = -1;
    if (argc > 2 && std::string(argv[1]) == "--hold") {
        held = ::open(argv[2], O_WRONLY | O_APPEND);
        if (held < 0) return 2;
        first = 3;
    }
    std::string answers;
    for (int i = first; i < argc; ++i) answers += engine::IsFileInUse(argv[i]) ? '1' : '0';
    std::printf("%s\n", answers.c_str());
    if (held >= 0) ::close(held);
    return 0;
}
