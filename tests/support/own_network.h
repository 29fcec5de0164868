// A network of the test program's own: a network namespace that holds nothing but its own loopback,
// so the ports its programs take (web servers, a capture's internal ports counted from 47048) are
// never held by anything else on the machine, by a running Framewick or by a second run of the suite.
// A program asks for it from a static initializer (AskForOwnNetwork); the shared test main enters it
// first thing, while the process still has one thread, and skips every test when it cannot.
//
// Root makes the namespace itself. Any other user makes it inside a user namespace of its own that
// maps nothing but its own ids, and then gives up the capabilities that namespace lent it, so file
// modes still count for the tests as for that user.
#pragma once

#include <string>

namespace fw_test {

// Marks this test program as one that runs in a network of its own; returns true.
bool AskForOwnNetwork();
bool OwnNetworkAsked();

// Moves this (single-threaded) process into a network of its own with loopback up: empty when that
// worked, else what failed.
std::string EnterOwnNetwork();

}  // namespace fw_test
