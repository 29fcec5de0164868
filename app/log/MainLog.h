// The program's log without its window: writes each text as log lines into the window's line list
// (while the output runs) and into the daily log file in LogDir (while the disk has room), and checks
// the free space of LogDir's drive once a second. User-interface thread only; other threads reach the
// log through the log queue (LogQueue.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/log/DailyLogFile.h"
#include "app/log/LogLineModel.h"
#include "engine/util/free_space.h"

namespace app {

class TMainLog {
public:
    using TClock = std::function<std::chrono::system_clock::time_point()>;

    explicit TMainLog(std::shared_ptr<engine::IFreeSpaceQuery> freeSpace = engine::CurrentFreeSpaceQuery(),
                      TClock clock = [] { return std::chrono::system_clock::now(); });

    // The main window's WriteLog: a warning, error or info text whose switch is off is dropped.
    TLogWindowUpdate WriteLog(const std::string& text, uint8_t level);
    // Writes text at level as it stands (the log window's WriteLines).
    TLogWindowUpdate WriteLines(const std::string& text, uint8_t level);

    // The one-second free-space check: below MinDiskSpace whole gigabytes the file output stops, after
    // a notice written once to the file; it resumes by itself when space returns. A failed query
    // leaves the output as it is.
    void CheckFreeSpace();

    // The window's Continue and Freeze buttons: while frozen, lines go to the file only.
    void SetOutputRunning(bool running) { outputRunning_ = running; }
    bool OutputRunning() const { return outputRunning_; }
    bool FileOutput() const { return fileOutput_; }

    // Empties the window's lines; the file stays.
    void Clear() { lines_.Clear(); }
    const TLogLineModel& Lines() const { return lines_; }

    // The full path of the daily file in use (or last tried), and the status bar's "Log-File : " + name.
    const std::string& LogFileName() const { return file_.FileName(); }
    std::string StatusText() const;

private:
    // Opens today's file in LogDir; the first failure of a run of failures is shown in the window.
    void OpenTodaysFile(std::chrono::system_clock::time_point now, TLogWindowUpdate& update);
    void ReportFileFailure(const std::string& what, std::chrono::system_clock::time_point now, TLogWindowUpdate& update);

    std::shared_ptr<engine::IFreeSpaceQuery> freeSpace_;
    TClock clock_;
    TLogLineModel lines_;
    TDailyLogFile file_;
    bool outputRunning_ = true;
    bool fileOutput_ = true;
    bool fileFailureShown_ = false;
};

}  // namespace app
