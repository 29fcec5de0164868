#include "app/log/MainLog.h"

#include "app/log/DiskSpace.h"
#include "app/log/LogLine.h"
#include "engine/settings/log_list.h"
#include "engine/settings/settings_store.h"
#include "engine/util/path_utils.h"

namespace app {

TMainLog::TMainLog(std::shared_ptr<engine::IFreeSpaceQuery> freeSpace, TClock clock)
    : freeSpace_(std::move(freeSpace)), clock_(std::move(clock)) {}

TLogWindowUpdate TMainLog::WriteLog(const std::string& text, uint8_t level) {
    if (!LogLevelSwitchedOn(level, *engine::Settings())) return {};
    return WriteLines(text, level);
}

TLogWindowUpdate TMainLog::WriteLines(const std::string& text, uint8_t level) {
    TLogWindowUpdate update;
    const auto now = clock_();
    for (const TFormattedLogLine& line : FormatLogLines(text, level, now)) {
        if (outputRunning_ && line.ForWindow) {
            lines_.Add({line.Text, level});
            ++update.Added;
        }
        OpenTodaysFile(now, update);
        if (fileOutput_ && file_.IsOpen()) {
            std::string error;
            if (file_.Write(line.Text + kLogFileLineEnd, &error)) fileFailureShown_ = false;
            else ReportFileFailure(error, now, update);
        }
    }
    update.RemovedFromFront = lines_.Trim();
    return update;
}

void TMainLog::OpenTodaysFile(std::chrono::system_clock::time_point now, TLogWindowUpdate& update) {
    const std::string path = engine::IncludeTrailingPathDelimiter(engine::Settings()->LogDir) + DailyLogFileName(now);
    std::string error;
    if (!file_.OpenFor(path, &error)) ReportFileFailure(error, now, update);
}

void TMainLog::ReportFileFailure(const std::string& what, std::chrono::system_clock::time_point now,
                                 TLogWindowUpdate& update) {
    // Once per run of failures, or a full disk would fill the window with this line.
    if (fileFailureShown_ || !outputRunning_) return;
    fileFailureShown_ = true;
    for (const TFormattedLogLine& line : FormatLogLines("Log-File " + file_.FileName() + " cannot be written : " + what,
                                                        engine::kLogError, now)) {
        lines_.Add({line.Text, engine::kLogError});
        ++update.Added;
    }
}

void TMainLog::CheckFreeSpace() {
    const std::shared_ptr<const engine::TSettings> settings = engine::Settings();
    std::optional<int64_t> freeGb = FreeGigabytes(*freeSpace_, settings->LogDir);
    if (!freeGb) return;
    if (*freeGb < settings->MinDiskSpace) {
        if (file_.IsOpen() && fileOutput_)
            file_.Write("Disk full : lower than " + std::to_string(settings->MinDiskSpace) + "GB free" + kLogFileLineEnd);
        fileOutput_ = false;
    } else {
        fileOutput_ = true;
    }
}

std::string TMainLog::StatusText() const { return "Log-File : " + engine::ExtractFileName(file_.FileName()); }

}  // namespace app
