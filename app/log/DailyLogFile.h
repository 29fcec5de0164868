// The daily log file: "Framewick_" + year (4 digits) + "_" + month (2) + "_" + day (2) + ".log" in the
// log folder, appended to line by line and flushed after each write so other programs can read it
// while the program runs. The bytes are written as they are given.
#pragma once

#include <chrono>
#include <fstream>
#include <string>
#include <string_view>

namespace app {

// The file name of the local day of time, e.g. "Framewick_2026_12_09.log".
std::string DailyLogFileName(std::chrono::system_clock::time_point time);

class TDailyLogFile {
public:
    // Makes path the open file: another open file is closed first; the folder (with its parents) and
    // the file are created when missing. False with *error when it cannot be opened.
    bool OpenFor(const std::string& path, std::string* error = nullptr);
    bool IsOpen() const { return stream_.is_open(); }
    // Appends bytes to the open file; on a failure the file is closed, so the next OpenFor tries again.
    bool Write(std::string_view bytes, std::string* error = nullptr);
    // The file now open, or the last one tried.
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    std::ofstream stream_;
};

}  // namespace app
