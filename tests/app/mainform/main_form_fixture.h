// A data folder for the main window: one web server on a free loopback port and one capture service
// of the folder method (no X needed) with one HTTP share, both marked to start; answers for the
// message boxes; a loopback GET; and waiting with the Qt event loop turning (event_pump.h).
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/mainform/MainFormDialogs.h"
#include "tests/support/event_pump.h"

namespace fw_test {

struct TRecordedDialog {
    std::string Caption;
    std::string Text;
};

class TFakeMainFormDialogs final : public app::IMainFormDialogs {
public:
    int Answer = 2;
    std::vector<TRecordedDialog> Shown;
    int Ask(app::TDialogKind, const std::string& caption, const std::string& text, const std::string&,
            const std::string&) override {
        Shown.push_back({caption, text});
        return Answer;
    }
};

// The whole reply to "GET path" (HTTP/1.0) on 127.0.0.1:port, as far as it came before the server
// closed the connection; empty when no answer came.
std::string HttpExchange(int port, const std::string& path);
// "GET path" on 127.0.0.1:port; the status code (0 when no answer) and the body.
int HttpGet(int port, const std::string& path, std::string* body = nullptr);

// httpserv.xml with these web servers (127.0.0.1:Port, Root, started with all), numbered from 1.
struct TWebServer {
    int Port = 0;
    std::filesystem::path Root;
};
void WriteHttpServerList(const std::filesystem::path& file, const std::vector<TWebServer>& servers);
void WriteHttpServerList(const std::filesystem::path& file, int port, const std::filesystem::path& root);
// One auto-started capture service of the folder method on DropFolder, with one HTTP share in
// sub-folder SubDir publishing the dropped files; bound to the web server 127.0.0.1:HttpPort, or to
// none when HttpPort is 0.
struct TFolderCapture {
    std::string Name;
    std::filesystem::path DropFolder;
    std::string SubDir;
    int HttpPort = 0;
};
// capture.xml with these capture services in this order.
void WriteFolderCaptureList(const std::filesystem::path& file, const std::vector<TFolderCapture>& captures);
void WriteFolderCaptureList(const std::filesystem::path& file, const std::string& name,
                            const std::filesystem::path& dropFolder, const std::string& subDir);

// capture.xml with one auto-started capture service of the graph method on the screen area 0, 0,
// width x height, whose HTTP share in sub-folder subDir publishes snapshots.
void WriteAreaCaptureList(const std::filesystem::path& file, int width, int height, const std::string& subDir);

// The data folder of a main window under test: the COM servers of binDir, the paths in dir, the
// folder method's need of no libVLC, a drop folder and a web root with hello.txt.
void PrepareMainFormFolder(const std::filesystem::path& dir, const std::string& binDir);

}  // namespace fw_test
