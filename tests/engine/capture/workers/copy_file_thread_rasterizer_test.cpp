// The outside programs of the file-drop thread: started with an argument vector, bounded in time,
// killed with everything they started when they hang.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>

#include "engine/capture/workers/ChildProgram.h"
#include "engine/capture/workers/SvgRasterizer.h"
#include "tests/engine/capture/workers/image_thread_test_helpers.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using engine::TProgramOutcome;
using engine::TRasterizeOutcome;

fs::path MakeScript(const fs::path& path, const std::string& body) {
    fw_test::MakeFile(path, "#!/bin/sh\n" + body);
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

TEST(ChildProgramTest, ArgumentsReachTheProgramUnchanged) {
    fw_test::TempDir dir;
    const fs::path script = MakeScript(dir / "echo args", "printf '%s|' \"$@\" > \"$(dirname \"$0\")/args.txt\"\nexit 7\n");
    const std::string tricky = "a b;$(touch pwned)`id`'\"*";
    engine::TChildProgram program;
    const engine::TProgramRun run = program.Run({script.string(), tricky, ""}, 10s);
    EXPECT_EQ(run.Outcome, TProgramOutcome::Finished);
    EXPECT_EQ(run.ExitCode, 7);
    EXPECT_EQ(fw_test::ReadFile(dir / "args.txt"), tricky + "||");
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(fs::exists(dir / "pwned"));
}

TEST(ChildProgramTest, AMissingProgramIsNotStarted) {
    engine::TChildProgram program;
    for (const std::vector<std::string>& argv :
         {std::vector<std::string>{"/nonexistent/program"}, std::vector<std::string>{}, std::vector<std::string>{""}}) {
        const engine::TProgramRun run = program.Run(argv, 1s);
        EXPECT_EQ(run.Outcome, TProgramOutcome::NotStarted);
        EXPECT_FALSE(run.Error.empty());
    }
}

TEST(ChildProgramTest, AHangingProgramIsKilledWithWhatItStarted) {
    fw_test::TempDir dir;
    const fs::path script = MakeScript(dir / "hang", "sleep 60 &\necho $! > \"$1\"\nwait\n");
    const fs::path pidFile = dir / "child.pid";
    engine::TChildProgram program;
    const auto t0 = std::chrono::steady_clock::now();
    const engine::TProgramRun run = program.Run({script.string(), pidFile.string()}, 500ms);
    EXPECT_EQ(run.Outcome, TProgramOutcome::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 5s);
    const pid_t helper = std::stoi(fw_test::ReadFile(pidFile));
    EXPECT_TRUE(fw_test::WaitUntil([&] { return ::kill(helper, 0) != 0; }, 5s)) << "the helper still runs";
}

TEST(SvgRasterizerTest, AJarRunsUnderJavaAndAProgramRunsByItself) {
    fw_test::TempDir dir;
    const engine::TSvgRasterizer jar((dir / "jre" / "bin").string(), "/opt/batik/batik-rasterizer.JAR");
    EXPECT_EQ(jar.Arguments("/in/a b.svg"),
              (std::vector<std::string>{(dir / "jre" / "bin" / "java").string(), "-jar", "/opt/batik/batik-rasterizer.JAR",
                                        "/in/a b.svg"}));
    const engine::TSvgRasterizer program("/usr/bin/", "/usr/bin/rasterizer");
    EXPECT_EQ(program.Arguments("/in/a.svg"), (std::vector<std::string>{"/usr/bin/rasterizer", "/in/a.svg"}));
    EXPECT_EQ(engine::TSvgRasterizer::PngPathFor("/in/a b.SVG"), "/in/a b.png");
}

TEST(SvgRasterizerTest, MissingPiecesAreToldApart) {
    fw_test::TempDir dir;
    const fs::path java = MakeScript(dir / "bin" / "java", "exit 0\n");
    fw_test::MakeFile(dir / "in.svg", "<svg/>");
    const std::string input = (dir / "in.svg").string();
    // An empty Java folder would mean a "java" in the working folder: it counts as missing.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir / "bin");
    EXPECT_EQ(engine::TSvgRasterizer("", "x.jar").Run(input).Outcome, TRasterizeOutcome::JavaMissing);
    fs::current_path(cwd);
    EXPECT_EQ(engine::TSvgRasterizer((dir / "nojava").string(), "x.jar").Run(input).Outcome,
              TRasterizeOutcome::JavaMissing);
    EXPECT_EQ(engine::TSvgRasterizer((dir / "bin").string(), (dir / "none.jar").string()).Run(input).Outcome,
              TRasterizeOutcome::RasterizerMissing);
    fw_test::MakeFile(dir / "r.jar", "jar");
    EXPECT_EQ(engine::TSvgRasterizer((dir / "bin").string(), (dir / "r.jar").string()).Run(input).Outcome,
              TRasterizeOutcome::Ran);
}

TEST(SvgRasterizerTest, AHangingRasterizerIsKilledAndItsHalfWrittenPngRemoved) {
    fw_test::TempDir dir;
    MakeScript(dir / "bin" / "java", "echo half > \"${3%.*}.png\"\nsleep 60\n");
    fw_test::MakeFile(dir / "r.jar", "jar");
    fw_test::MakeFile(dir / "in.svg", "<svg/>");
    const engine::TSvgRasterizer rasterizer((dir / "bin").string(), (dir / "r.jar").string(), 500ms);
    const engine::TRasterizeResult result = rasterizer.Run((dir / "in.svg").string());
    EXPECT_EQ(result.Outcome, TRasterizeOutcome::TimedOut);
    EXPECT_GE(result.Elapsed, 500ms);
    EXPECT_FALSE(fs::exists(dir / "in.png"));
    EXPECT_TRUE(fs::exists(dir / "in.svg"));
}

// Debian's rasteriser (libbatik-java) where it is installed.
TEST(SvgRasterizerTest, TheInstalledRasterizerWritesThePngBesideTheInput) {
    if (!fs::exists("/usr/bin/rasterizer") || !fs::exists("/usr/bin/java")) GTEST_SKIP() << "libbatik-java not installed";
    fw_test::TempDir dir;
    fw_test::MakeFile(dir / "a picture.svg",
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"30\">"
                      "<rect width=\"40\" height=\"30\" fill=\"red\"/></svg>");
    const engine::TSvgRasterizer rasterizer("/usr/bin/", "/usr/bin/rasterizer");
    const engine::TRasterizeResult result = rasterizer.Run((dir / "a picture.svg").string());
    ASSERT_EQ(result.Outcome, TRasterizeOutcome::Ran);
    const std::string png = fw_test::ReadFile(dir / "a picture.png");
    EXPECT_EQ(fw_test::PngSize(png), std::make_pair(40, 30));
}

}  // namespace
