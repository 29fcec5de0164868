// Turns an SVG file into a PNG beside it through the outside rasteriser: the Java runtime with the
// rasteriser's jar ("java -jar <jar> <input>"), or, when the rasteriser setting names a program rather
// than a jar (Debian's "rasterizer"), that program with the input. The program gets an argument vector,
// never a shell line, and is killed when it runs past the time-out.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace engine {

constexpr const char* kJavaProgramName = "java";
constexpr std::chrono::milliseconds kRasterizeTimeout{60000};

enum class TRasterizeOutcome {
    JavaMissing,        // no Java runtime in the Java folder
    RasterizerMissing,  // the rasteriser's jar or program does not exist
    NotStarted,         // the program could not be started
    TimedOut,           // killed after the time-out; its PNG, if any, was removed
    Ran,                // the program ended by itself (its PNG may or may not be there)
};

struct TRasterizeResult {
    TRasterizeOutcome Outcome = TRasterizeOutcome::NotStarted;
    std::string CommandLine;  // for log lines
    std::chrono::milliseconds Elapsed{0};
};

class TSvgRasterizer {
public:
    // javaDir: the folder of the Java runtime's program; rasterizer: the jar or program.
    TSvgRasterizer(std::string javaDir, std::string rasterizer, std::chrono::milliseconds timeout = kRasterizeTimeout);

    TRasterizeResult Run(const std::string& svgInput) const;

    // The argument vector for input.
    std::vector<std::string> Arguments(const std::string& svgInput) const;
    // Where the rasteriser writes its PNG: the input with its extension replaced by ".png".
    static std::string PngPathFor(const std::string& svgInput);

private:
    const std::string javaProgram_;  // "" when no Java folder is set
    const std::string rasterizer_;
    const std::chrono::milliseconds timeout_;
};

}  // namespace engine
