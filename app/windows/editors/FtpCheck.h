// The share editor's check of its FTP settings against the server: log in, find (or on request make)
// the host folder, log out. Every step reports one line; nothing of the share is changed.
#pragma once

#include <functional>
#include <string>

#include "engine/ftp/ftp_session.h"

namespace app {

struct TFtpCheckIo {
    std::function<void(const std::string& line)> AddLine;
    // Asked when the host folder is missing; true to create it.
    std::function<bool(const std::string& hostDir)> ConfirmCreate;
};

// hostDir is already normalised (NormalizeHostDir); empty checks the login only. session is a fresh,
// unconnected session for host.
void RunFtpCheck(engine::FtpSession& session, const std::string& host, const std::string& hostDir,
                 const TFtpCheckIo& io);

}  // namespace app
