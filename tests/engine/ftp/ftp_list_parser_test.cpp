#include "engine/ftp/ftp_list_parser.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(FtpListParser, KeepsPlainFilesOfUnixAndDosListingsWithTheirBlanksAndSizes) {
    const std::string listing =
        "total 12\r\n"
        "-rw-r--r--   1 owner    group       1234 Dec 10 10:04 stream_1_00000001.ts\r\n"
        "-rw-r--r--   1 owner    group         12 Jan  3  2025 a b  c.png\r\n"
        "-rw-r--r--   1 owner            12 Feb 28 23:59 nogroup.html\r\n"
        "drwxr-xr-x   2 owner    group       4096 Dec 10 10:04 live\r\n"
        "lrwxrwxrwx   1 owner    group          5 Dec 10 10:04 link.ts -> a.ts\r\n"
        "12-10-26  10:04AM       <DIR>          Folder\r\n"
        "12-10-26  10:05PM                 4711 Capimg_1.PNG\r\n"
        "garbage line\n"
        "-rw-r--r-- 1 broken\n"
        "-rw-r--r--   1 owner    group 99999999999999999999 Dec 10 10:04 too_big.ts\r\n";
    EXPECT_EQ(PlainFilesInListing(listing), (std::vector<FtpListedFile>{{"stream_1_00000001.ts", 1234},
                                                                        {"a b  c.png", 12},
                                                                        {"nogroup.html", 12},
                                                                        {"Capimg_1.PNG", 4711}}));
    EXPECT_TRUE(PlainFilesInListing("").empty());
}

}  // namespace
}  // namespace engine
