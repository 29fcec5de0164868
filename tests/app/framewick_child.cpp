#include "tests/app/framewick_child.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "tests/support/test_env.h"

namespace fw_test {
namespace {

namespace fs = std::filesystem;

// A hard link where the file system allows one, else a copy.
bool LinkOrCopy(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::create_hard_link(from, to, error);
    if (error) fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

}  // namespace

void PrepareFramewickFolder(const fs::path& root, const TScreenArea& area, TFramewickFolder& made) {
    made.Data = root / "prog";
    const fs::path www = root / "www";
    made.Share = www / "live";
    made.Program = made.Data / "Framewick";
    fs::create_directories(made.Data);
    fs::create_directories(www);
    const fs::path built(FW_FRAMEWICK);
    for (const char* file : {"Framewick", "libOrbelle32.so", "libFwScreenCapture.so", "libFwAudioGrab.so"})
        ASSERT_TRUE(LinkOrCopy(built.parent_path() / file, made.Data / file)) << file;
    made.HttpPort = FreeTcpPort();
    const std::string port = std::to_string(made.HttpPort);
    WriteFile(made.Data / "httpserv.xml",
              "<HTTP_SERVER_LIST><HTTP_SERVER_LIST_ENTRY><idx>1</idx><ipaddr>2130706433</ipaddr><port>" + port +
                  "</port><root>" + www.string() +
                  "/</root><auto>True</auto><ExtHttpServer>False</ExtHttpServer>"
                  "<Authentication>False</Authentication></HTTP_SERVER_LIST_ENTRY></HTTP_SERVER_LIST>");
    WriteFile(made.Data / "capture.xml",
              "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>Screen area</name><minimized>False</minimized>"
              "<autostart>True</autostart><SCREENCAPTURE_PARAMS><capEncoder>1</capEncoder>"
              "<capKind>3</capKind><iLeft>" + std::to_string(area.Left) + "</iLeft><iTop>" + std::to_string(area.Top) +
                  "</iTop><iWidth>" + std::to_string(area.Width) + "</iWidth><iHeight>" + std::to_string(area.Height) +
                  "</iHeight><streamer_list><streamer_list_entry><strProtocol>0</strProtocol>"
                  "<bActive>True</bActive><strLocalDir>live</strLocalDir><strHttpIp>2130706433</strHttpIp>"
                  "<strHttpPort>" + port + "</strHttpPort><strVideo>True</strVideo>"
                  "<strImg>True</strImg><strFile>False</strFile></streamer_list_entry></streamer_list>"
                  "</SCREENCAPTURE_PARAMS><webSocketAct>False</webSocketAct><webSocketIdx>-1</webSocketIdx>"
                  "</CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
}

void SetFramewickChildEnvironment() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const char* asan = ::getenv("ASAN_OPTIONS");
    ::setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":detect_leaks=0").c_str(), 1);
}

}  // namespace fw_test
