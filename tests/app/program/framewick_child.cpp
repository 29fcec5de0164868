#include "tests/app/program/framewick_child.h"

#include <stdlib.h>

namespace fw_test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramFiles[] = {"Framewick", "libOrbelle32.so", "libFwScreenCapture.so", "libFwAudioGrab.so"};

// A hard link where the file system allows one, else a copy.
bool LinkOrCopy(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::create_hard_link(from, to, error);
    if (error) fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

std::string CaptureParams(FramewickChild::TCapture capture, const TScreenArea& area, const fs::path& dropFolder) {
    if (capture == FramewickChild::TCapture::ScreenArea)
        return "<capEncoder>1</capEncoder><capKind>3</capKind><iLeft>" + std::to_string(area.Left) + "</iLeft><iTop>" +
               std::to_string(area.Top) + "</iTop><iWidth>" + std::to_string(area.Width) + "</iWidth><iHeight>" +
               std::to_string(area.Height) + "</iHeight>";
    return "<capEncoder>2</capEncoder><capKind>5</capKind><capFilesDir>" + dropFolder.string() +
           "/</capFilesDir><capiFreq>1</capiFreq>";
}

std::string ShareOutputs(FramewickChild::TCapture capture) {
    if (capture == FramewickChild::TCapture::ScreenArea)
        return "<strVideo>True</strVideo><strImg>True</strImg><strFile>False</strFile>";
    return "<strVideo>False</strVideo><strImg>False</strImg><strFile>True</strFile>";
}

}  // namespace

void SetFramewickChildEnvironment() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);  // its windows; a screen capture grabs the X display
    const char* asan = ::getenv("ASAN_OPTIONS");
    const std::string options = asan ? asan : "";
    if (options.find("detect_leaks=0") == std::string::npos)
        ::setenv("ASAN_OPTIONS", (options + ":detect_leaks=0").c_str(), 1);
}

FramewickFolder::FramewickFolder(const fs::path& program, const fs::path& folder) : folder_(folder) {
    std::error_code error;
    fs::create_directories(folder_, error);
    ok_ = !error;
    for (const char* file : kProgramFiles) ok_ = ok_ && LinkOrCopy(program.parent_path() / file, folder_ / file);
    SetFramewickChildEnvironment();
}

std::unique_ptr<ChildProcess> FramewickFolder::Start(const std::vector<std::string>& launcher,
                                                     const std::vector<std::string>& environment) const {
    std::vector<std::string> argv = launcher;
    // env(1) runs the program in its own place (exec), so the child's process is the program's.
    if (!environment.empty()) {
        argv.push_back("env");
        argv.insert(argv.end(), environment.begin(), environment.end());
    }
    argv.push_back((folder_ / "Framewick").string());
    return std::make_unique<ChildProcess>(argv);
}

std::string FramewickFolder::LogText() const {
    std::string text;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder_, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".log") text += ReadFile(it->path());
    return text;
}

FramewickChild::FramewickChild(const fs::path& root, TCapture capture, const TScreenArea& area)
    : root_(root), program_(FW_FRAMEWICK, root / "prog"), www_(root / "www"), port_(FreeTcpPort()) {
    if (!program_.ok()) return;
    fs::create_directories(www_);
    fs::create_directories(DropFolder());
    const std::string port = std::to_string(port_);
    WriteFile(program_ / "httpserv.xml",
              "<HTTP_SERVER_LIST><HTTP_SERVER_LIST_ENTRY><idx>1</idx><ipaddr>2130706433</ipaddr><port>" + port +
                  "</port><root>" + www_.string() +
                  "/</root><auto>True</auto><ExtHttpServer>False</ExtHttpServer>"
                  "<Authentication>False</Authentication></HTTP_SERVER_LIST_ENTRY></HTTP_SERVER_LIST>");
    WriteFile(program_ / "capture.xml",
              "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>Capture</name><minimized>False</minimized>"
              "<autostart>True</autostart><SCREENCAPTURE_PARAMS>" +
                  CaptureParams(capture, area, DropFolder()) +
                  "<streamer_list><streamer_list_entry><strProtocol>0</strProtocol>"
                  "<bActive>True</bActive><strLocalDir>live</strLocalDir><strHttpIp>2130706433</strHttpIp>"
                  "<strHttpPort>" + port + "</strHttpPort>" + ShareOutputs(capture) +
                  "</streamer_list_entry></streamer_list>"
                  "</SCREENCAPTURE_PARAMS><webSocketAct>False</webSocketAct><webSocketIdx>-1</webSocketIdx>"
                  "</CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
    ok_ = true;
}

}  // namespace fw_test
