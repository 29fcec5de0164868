#include <gtest/gtest.h>

#include "app/startup/InstanceIndex.h"

namespace {

struct Case {
    const char* program;
    std::vector<std::string> args;
    int expected;
};

TEST(InstanceIndexTest, FolderDigitsAndInstArgument) {
    const Case cases[] = {
        {"/opt/fw/framewick", {}, 0},
        {"/opt/fw/Instance_003/framewick", {}, 3},
        {"/opt/fw/Instance_003/framewick", {"INST0007"}, 7},
        {"/opt/fw/Instance_003/framewick", {"inst"}, 0},          // no digits: 0, not the folder's 3
        {"/opt/fw/Instance_003/framewick", {"-x", "Inst0012", "inst0009"}, 12},  // the first "inst" decides
        {"/opt/fw/Instance_003/framewick", {"inst12ab"}, 0},
        {"/opt/fw/framewick", {"inst42"}, 42},                    // fewer than four characters
        {"/opt/fw/framewick", {"inst00071"}, 7},                  // only characters 5 to 8 count
        {"/opt/fw/framewick", {"inst-001"}, 0},                   // no sign: a malformed number is 0
        {"/opt/fw/framewick", {"install"}, 0},                    // begins with "inst": decides, is no number
        {"/opt/fw/framewick", {"ins0005"}, 0},
        {"/opt/Instance_12/framewick", {}, 0},                    // "12/" is no number
        {"/opt/Instance_1234/framewick", {}, 123},                // three characters only
        {"/opt/instance_003/framewick", {}, 0},                   // the folder marker keeps its case
        {"/opt/Instance_004/sub/Instance_005/framewick", {}, 4},  // the first occurrence
        {"/opt/fw/Instance_006", {}, 0},                          // the program's own name does not count
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::ComputeInstanceIndex(c.program, c.args), c.expected)
            << c.program << (c.args.empty() ? "" : " " + c.args.front());
}

TEST(InstanceIndexTest, ProcessValueIsComputedOnceAndKept) {
    const int first = app::GetInstanceIndex({"inst0005"});
    EXPECT_EQ(first, 5);
    EXPECT_EQ(app::GetInstanceIndex({"inst0009"}), first);
}

}  // namespace
