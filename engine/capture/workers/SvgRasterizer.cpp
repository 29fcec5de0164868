#include "engine/capture/workers/SvgRasterizer.h"

#include <filesystem>

#include "engine/capture/workers/ChildProgram.h"
#include "engine/util/path_utils.h"
#include "platform/util/ascii_case.h"
#include "platform/util/file_checks.h"

namespace engine {

TSvgRasterizer::TSvgRasterizer(std::string javaDir, std::string rasterizer, std::chrono::milliseconds timeout)
    // An empty Java folder would name a "java" in the working folder: it means no Java runtime.
    : javaProgram_(javaDir.empty() ? std::string() : IncludeTrailingPathDelimiter(javaDir) + kJavaProgramName),
      rasterizer_(std::move(rasterizer)),
      timeout_(timeout) {}

std::vector<std::string> TSvgRasterizer::Arguments(const std::string& svgInput) const {
    if (platform::EndsWithIgnoringCase(rasterizer_, ".jar")) return {javaProgram_, "-jar", rasterizer_, svgInput};
    return {rasterizer_, svgInput};
}

std::string TSvgRasterizer::PngPathFor(const std::string& svgInput) {
    const std::string ext = ExtractFileExt(svgInput);
    return svgInput.substr(0, svgInput.size() - ext.size()) + ".png";
}

TRasterizeResult TSvgRasterizer::Run(const std::string& svgInput) const {
    TRasterizeResult result;
    if (!platform::IsFile(javaProgram_)) {
        result.Outcome = TRasterizeOutcome::JavaMissing;
        return result;
    }
    if (!platform::IsFile(rasterizer_)) {
        result.Outcome = TRasterizeOutcome::RasterizerMissing;
        return result;
    }
    const std::vector<std::string> argv = Arguments(svgInput);
    result.CommandLine = CommandLineText(argv);
    TChildProgram program;
    const TProgramRun run = program.Run(argv, timeout_);
    result.Elapsed = run.Elapsed;
    switch (run.Outcome) {
        case TProgramOutcome::NotStarted:
            result.Outcome = TRasterizeOutcome::NotStarted;
            break;
        case TProgramOutcome::TimedOut: {
            // A killed rasteriser may have left half a PNG: it must not be published.
            std::error_code ec;
            std::filesystem::remove(PngPathFor(svgInput), ec);
            result.Outcome = TRasterizeOutcome::TimedOut;
            break;
        }
        case TProgramOutcome::Finished:
            result.Outcome = TRasterizeOutcome::Ran;
            break;
    }
    return result;
}

}  // namespace engine
