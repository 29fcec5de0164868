#include "app/windows/editors/FtpCheck.h"

namespace app {

namespace {

constexpr const char* kRootDir = "/";
constexpr const char* kChangeDirFailed = "change ftp-directory failed";

class TFtpCheckRun {
public:
    TFtpCheckRun(engine::FtpSession& session, const TFtpCheckIo& io) : session_(session), io_(io) {}

    void Line(const std::string& text) const {
        if (io_.AddLine) io_.AddLine(text);
    }

    // The server's current folder; "" (with a line) when it does not tell.
    std::string CurrentDir() {
        std::string dir;
        if (!session_.CurrentDir(&dir).ok()) {
            Line("retrieve ftp-directory failed");
            return {};
        }
        return dir;
    }

    // Back to "/", with a line on failure; the connection may be lost afterwards.
    void ChangeToRoot() {
        if (!session_.ChangeDir(kRootDir).ok()) Line(kChangeDirFailed);
    }

    // Steps after the login; a lost connection ends them early.
    void CheckFolders(const std::string& hostDir) {
        ChangeToRoot();
        if (!session_.IsConnected()) return;
        if (CurrentDir() == kRootDir) Line("ftp-root directory set");
        if (hostDir.empty() || !session_.IsConnected()) return;

        const std::string absolute = std::string(kRootDir) + hostDir;
        Line("check ftp-directory : " + hostDir);
        bool found = false;
        if (session_.ChangeDir(absolute).ok()) {
            if (CurrentDir().find(hostDir) != std::string::npos) {
                Line("ftp-host-directory ok");
                found = true;
            } else {
                Line("ftp-directory does not exist - FTP root-directory gets used");
            }
            ChangeToRoot();
        } else {
            Line("ftp-directory does not exist");
        }
        if (found || !session_.IsConnected()) return;

        ChangeToRoot();
        if (!session_.IsConnected() || CurrentDir() != kRootDir) return;
        Line("ftp-root directory set");
        if (!io_.ConfirmCreate || !io_.ConfirmCreate(hostDir)) return;
        if (!session_.MakeDirs(absolute).ok()) {
            Line("create ftp-directory failed");
        } else if (session_.IsConnected()) {
            Line(CurrentDir().find(hostDir) != std::string::npos ? "create ftp-host-directory ok"
                                                                 : "create ftp-directory failed");
        }
        if (session_.IsConnected()) ChangeToRoot();
    }

private:
    engine::FtpSession& session_;
    const TFtpCheckIo& io_;
};

}  // namespace

void RunFtpCheck(engine::FtpSession& session, const std::string& host, const std::string& hostDir,
                 const TFtpCheckIo& io) {
    TFtpCheckRun run(session, io);
    run.Line("connect FTP : " + host);
    if (!session.Connect().ok() || !session.IsConnected()) {
        run.Line("FTP connect failed");
        return;
    }
    run.Line("FTP connect OK");
    run.CheckFolders(hostDir);
    session.Disconnect();
    run.Line("FTP disconnect OK");
}

}  // namespace app
