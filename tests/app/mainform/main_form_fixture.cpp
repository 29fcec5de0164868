#include "tests/app/mainform/main_form_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>


#include "app/startup/ComServers.h"
#include "app/startup/StartUpCode.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "tests/support/test_env.h"

namespace fw_test {

std::string HttpExchange(int port, const std::string& path) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return {};
    timeval timeout{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return {};
    }
    const std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) {
        ::close(fd);
        return {};
    }
    std::string reply;
    char buffer[4096];
    for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    return reply;
}

int HttpGet(int port, const std::string& path, std::string* body) {
    const std::string reply = HttpExchange(port, path);
    if (reply.compare(0, 5, "HTTP/") != 0 || reply.size() < 12) return 0;
    if (body != nullptr) {
        const size_t start = reply.find("\r\n\r\n");
        *body = start == std::string::npos ? std::string() : reply.substr(start + 4);
    }
    return std::stoi(reply.substr(9, 3));
}

void WriteHttpServerList(const std::filesystem::path& file, const std::vector<TWebServer>& servers) {
    std::string entries;
    int idx = 0;
    for (const TWebServer& server : servers)
        entries += "<HTTP_SERVER_LIST_ENTRY><idx>" + std::to_string(++idx) + "</idx><ipaddr>2130706433</ipaddr><port>" +
                   std::to_string(server.Port) + "</port><root>" + server.Root.string() +
                   "/</root><auto>True</auto><ExtHttpServer>False</ExtHttpServer>"
                   "<Authentication>False</Authentication></HTTP_SERVER_LIST_ENTRY>";
    WriteFile(file, "<HTTP_SERVER_LIST>" + entries + "</HTTP_SERVER_LIST>");
}

void WriteHttpServerList(const std::filesystem::path& file, int port, const std::filesystem::path& root) {
    WriteHttpServerList(file, {{port, root}});
}

void WriteFolderCaptureList(const std::filesystem::path& file, const std::vector<TFolderCapture>& captures) {
    std::string entries;
    for (const TFolderCapture& capture : captures)
        entries += "<CAPTURE_LIST_ENTRY><name>" + capture.Name +
                   "</name><minimized>False</minimized><autostart>True</autostart>"
                   "<SCREENCAPTURE_PARAMS><capEncoder>2</capEncoder><capKind>5</capKind>"
                   "<capFilesDir>" + capture.DropFolder.string() + "/</capFilesDir><capiFileFmt>3</capiFileFmt>"
                   "<capbDelete>False</capbDelete><capiFreq>1</capiFreq>"
                   "<streamer_list><streamer_list_entry><strProtocol>0</strProtocol><bActive>True</bActive>" +
                   (capture.HttpPort != 0 ? "<strHttpIp>2130706433</strHttpIp><strHttpPort>" +
                                                std::to_string(capture.HttpPort) + "</strHttpPort>"
                                          : std::string()) +
                   "<strLocalDir>" + capture.SubDir + "</strLocalDir><strVideo>False</strVideo><strImg>False</strImg>"
                   "<strFile>True</strFile></streamer_list_entry></streamer_list>"
                   "</SCREENCAPTURE_PARAMS><webSocketAct>False</webSocketAct><webSocketIdx>-1</webSocketIdx>"
                   "</CAPTURE_LIST_ENTRY>";
    WriteFile(file, "<CAPTURE_LIST>" + entries + "</CAPTURE_LIST>");
}

void WriteFolderCaptureList(const std::filesystem::path& file, const std::string& name,
                            const std::filesystem::path& dropFolder, const std::string& subDir) {
    WriteFolderCaptureList(file, {{name, dropFolder, subDir}});
}

void WriteAreaCaptureList(const std::filesystem::path& file, int width, int height, const std::string& subDir) {
    WriteFile(file, "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>Area job</name><minimized>False</minimized>"
                    "<autostart>True</autostart><SCREENCAPTURE_PARAMS><capEncoder>1</capEncoder><capKind>3</capKind>"
                    "<iLeft>0</iLeft><iTop>0</iTop><iWidth>" + std::to_string(width) + "</iWidth><iHeight>" +
                        std::to_string(height) + "</iHeight><streamer_list><streamer_list_entry>"
                        "<strProtocol>0</strProtocol><bActive>True</bActive><strLocalDir>" + subDir +
                        "</strLocalDir><strVideo>False</strVideo><strImg>True</strImg><strFile>False</strFile>"
                        "</streamer_list_entry></streamer_list></SCREENCAPTURE_PARAMS><webSocketAct>False</webSocketAct>"
                        "<webSocketIdx>-1</webSocketIdx></CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
}

void PrepareMainFormFolder(const std::filesystem::path& dir, const std::string& binDir) {
    ASSERT_TRUE(app::RegisterComServersIfMissing(binDir).empty());
    app::SetUpPathsAndFolders(dir.string(), (dir / "prog").string(), (dir / "prog").string());
    engine::VlcMissing = true;  // the folder method needs no libVLC; the check has tests of its own
    engine::AppClosing = false;
    std::filesystem::create_directories(dir / "drop");
    std::filesystem::create_directories(dir / "www");
    WriteFile(dir / "www" / "hello.txt", "hello from the root");
}

}  // namespace fw_test
