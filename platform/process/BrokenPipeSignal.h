// A peer that goes away while the program writes to it (a viewer closing its tab in the middle of a
// file) raises SIGPIPE, which would end the whole program. Every socket write names MSG_NOSIGNAL, but
// sendfile() and libraries' own writes cannot: the programs ignore SIGPIPE for the whole process at
// start-up, and the write then fails with EPIPE on its own connection only.
#pragma once

namespace platform {

// Sets SIGPIPE to be ignored by every thread of the process; false when the system refused.
// Programs started later get the default back (ChildProgram, QProcess reset it).
bool IgnoreBrokenPipeSignal();

}  // namespace platform
