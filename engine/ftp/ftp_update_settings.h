// What a share's FTP mirror is told when it is made: a copy, so nothing of the share is read while
// the mirror thread runs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace engine {

struct TFtpUpdateSettings {
    std::string Host;        // the share's strFtpHost; a scheme like "http://" is ignored
    std::string User;
    std::string Password;
    std::string LocalDir;    // the folder mirrored: web server root + the share's sub-folder, ending in "/"
    std::string StreamName;  // "stream_" + number; the playlist is StreamName + ".m3u8"
    std::string ImageBaseName;  // the share's snapshot and dropped-file name without extension; "" for none
    std::string HostDir;     // the share's FtpHostDir ("live/"); "" mirrors into the FTP root folder
    bool DeleteHostDir = false;  // remove the mirror's files from the server when the mirror goes
    uint32_t NotifyWindow = 0;   // the share's status tab, receiver of wmFtpNotify
    int ImgFreq = 5;             // seconds between re-uploads of the images
    std::function<void(const std::string& text)> Log;  // the mirror's log lines, called on its thread; may be empty
};

}  // namespace engine
