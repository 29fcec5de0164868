// One FTP control connection as the mirror and the share editor's FTP check use it: log in, move
// between folders, list, upload, delete, quit. Folders are absolute paths on the server ("/",
// "/live/cam1"); names are plain file names inside the current folder.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/ftp/ftp_list_parser.h"

namespace engine {

enum class FtpStatus {
    kOk,
    kRefused,   // the server answered with an error reply; the connection is still usable
    kNetwork,   // no answer in time, connection refused or lost; the session is disconnected
    kAborted,   // the owner asked the session to stop; the session is disconnected
    kLocalFile, // the local file to upload could not be read
};

struct FtpResult {
    FtpStatus status = FtpStatus::kOk;
    std::string message;  // what went wrong, for log lines; never holds the user name or password

    bool ok() const { return status == FtpStatus::kOk; }
    static FtpResult Ok() { return {}; }
};

// Progress of one upload: begin with the size to send, then the bytes sent so far.
struct FtpTransferHandlers {
    std::function<void(int64_t bytesTotal)> onBegin;
    std::function<void(int64_t bytesDone)> onWork;
};

class FtpSession {
public:
    virtual ~FtpSession() = default;

    // Connects and logs in; the current folder is then the login folder.
    virtual FtpResult Connect() = 0;
    virtual bool IsConnected() const = 0;
    // Closes the connection without waiting for the server: a server that has stopped answering
    // never holds it up.
    virtual void Disconnect() = 0;
    // From now on no single wait for an answer of the server (a reply, the next bytes of a transfer)
    // lasts longer than limit: for the last words with a server while the owner waits.
    virtual void CapWaits(std::chrono::seconds limit) = 0;

    virtual FtpResult ChangeDir(const std::string& dir) = 0;
    // Changes into dir, making every missing folder on the way, component by component.
    virtual FtpResult MakeDirs(const std::string& dir) = 0;
    // The server's own report of the current folder (its reply to PWD).
    virtual FtpResult CurrentDir(std::string* dir) = 0;

    // The plain files in the current folder (folders and links left out), named as the server spells them.
    virtual FtpResult ListPlainFiles(std::vector<FtpListedFile>* files) = 0;
    // Stores the local file under remoteName in the current folder, so that a reader never sees it half written.
    virtual FtpResult Upload(const std::filesystem::path& localFile, const std::string& remoteName,
                             const FtpTransferHandlers& handlers) = 0;
    virtual FtpResult Delete(const std::string& remoteName) = 0;
};

}  // namespace engine
