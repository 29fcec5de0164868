#include "tests/app/program/framewick_child.h"

#include <stdlib.h>

#include <set>
#include <sstream>

#include "tests/support/own_network.h"

namespace fw_test {
namespace {

namespace fs = std::filesystem;

// Every test program that starts Framewick runs in a network of its own.
[[maybe_unused]] const bool kOwnNetwork = AskForOwnNetwork();

constexpr const char* kProgramFiles[] = {"Framewick", "libOrbelle32.so", "libFwScreenCapture.so", "libFwAudioGrab.so"};

// A hard link where the file system allows one, else a copy.
bool LinkOrCopy(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::create_hard_link(from, to, error);
    if (error) fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

// The shared libraries that file names as needed (its dynamic section, as readelf shows it).
std::vector<std::string> NeededLibraries(const fs::path& file) {
    std::string dynamic;
    if (RunProgram({"readelf", "--dynamic", file.string()}, &dynamic) != 0) return {};
    std::vector<std::string> needed;
    std::istringstream lines(dynamic);  // " 0x... (NEEDED)  Shared library: [libplatform_com.so]"
    for (std::string line; std::getline(lines, line);) {
        if (line.find("(NEEDED)") == std::string::npos) continue;
        const size_t open = line.find('[');
        const size_t close = line.find(']', open);
        if (close != std::string::npos) needed.push_back(line.substr(open + 1, close - open - 1));
    }
    return needed;
}

// Links file of the build's folder into folder, with every library of that folder it needs, and theirs.
bool LinkWithLibraries(const fs::path& built, const std::string& file, const fs::path& folder,
                       std::set<std::string>& linked) {
    if (!linked.insert(file).second) return true;
    if (!LinkOrCopy(built / file, folder / file)) return false;
    std::error_code error;
    for (const std::string& library : NeededLibraries(built / file))
        if (fs::exists(built / library, error) && !LinkWithLibraries(built, library, folder, linked)) return false;
    return true;
}

std::string CaptureParams(FramewickChild::TCapture capture, const TScreenArea& area, const TWindowNames& window,
                          const fs::path& dropFolder) {
    if (capture == FramewickChild::TCapture::Window)
        return "<capEncoder>1</capEncoder><capKind>2</capKind><sClass>" + window.Class + "</sClass><sCaption>" +
               window.Caption + "</sCaption>";
    if (capture == FramewickChild::TCapture::ScreenArea)
        return "<capEncoder>1</capEncoder><capKind>3</capKind><iLeft>" + std::to_string(area.Left) + "</iLeft><iTop>" +
               std::to_string(area.Top) + "</iTop><iWidth>" + std::to_string(area.Width) + "</iWidth><iHeight>" +
               std::to_string(area.Height) + "</iHeight>";
    return "<capEncoder>2</capEncoder><capKind>5</capKind><capFilesDir>" + dropFolder.string() +
           "/</capFilesDir><capiFreq>1</capiFreq>";
}

std::string ShareOutputs(FramewickChild::TCapture capture) {
    if (capture != FramewickChild::TCapture::DroppedFiles)
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
    std::set<std::string> linked;
    for (const char* file : kProgramFiles) ok_ = ok_ && LinkWithLibraries(program.parent_path(), file, folder_, linked);
    SetFramewickChildEnvironment();
}

std::unique_ptr<ChildProcess> FramewickFolder::Start(const std::vector<std::string>& launcher,
                                                     const std::vector<std::string>& environment) const {
    // env(1) runs the program in its own place (exec), so the child's process is the program's. Its
    // temporary folder is the program folder, where its local sockets by name (the pipe) are its own.
    std::vector<std::string> argv = launcher;
    argv.insert(argv.end(), {"env", "TMPDIR=" + folder_.string()});
    argv.insert(argv.end(), environment.begin(), environment.end());
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

FramewickChild::FramewickChild(const fs::path& root, TCapture capture, const TScreenArea& area,
                               const TWindowNames& window)
    : root_(root),
      screen_(capture == TCapture::DroppedFiles ? nullptr : std::make_unique<PrivateXServer>(kScreenWidth, kScreenHeight)),
      program_(FW_FRAMEWICK, root / "prog"),
      www_(root / "www"),
      port_(FreeTcpPort()) {
    if (!program_.ok() || (screen_ && !screen_->ok())) return;
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
                  CaptureParams(capture, area, window, DropFolder()) +
                  "<streamer_list><streamer_list_entry><strProtocol>0</strProtocol>"
                  "<bActive>True</bActive><strLocalDir>live</strLocalDir><strHttpIp>2130706433</strHttpIp>"
                  "<strHttpPort>" + port + "</strHttpPort>" + ShareOutputs(capture) +
                  "</streamer_list_entry></streamer_list>"
                  "</SCREENCAPTURE_PARAMS><webSocketAct>False</webSocketAct><webSocketIdx>-1</webSocketIdx>"
                  "</CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
    ok_ = true;
}

std::unique_ptr<ChildProcess> FramewickChild::Start(const std::vector<std::string>& launcher) const {
    if (!screen_) return program_.Start(launcher);
    return program_.Start(launcher, {"DISPLAY=" + screen_->name()});
}

}  // namespace fw_test
