#include "bench/support/hls_capture_job.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

#include "engine/capture/job/ScreenCapture.h"
#include "engine/settings/settings_store.h"
#include "engine/vlc/InstalledVlc.h"
#include "platform/com/com.h"

namespace fw_bench {
namespace {

namespace fs = std::filesystem;

constexpr int kHttpPort = 8080;  // named in the share's page only; nothing listens for the job

class TBenchHttpServer final : public engine::IShareHttpServer {
public:
    explicit TBenchHttpServer(std::string root) : root_(std::move(root)) {}
    int32_t IpAddr() const override { return engine::kLoopbackAddress; }
    int32_t Port() const override { return kHttpPort; }
    std::string Root() const override { return root_; }
    std::string IndexHtml() const override { return {}; }
    std::string DefaultIndexFile() const override { return {}; }
    std::vector<std::string> FileList() const override { return {}; }

private:
    std::string root_;
};

// A loopback port nobody listens on now (0 when none can be found).
int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

}  // namespace

THlsCaptureJob::THlsCaptureJob(const fs::path& work, const THlsJobSettings& settings) : work_(work) {
    CoInitialize();
    const fs::path exeDir = fs::read_symlink("/proc/self/exe").parent_path();
    if (RegisterServerLibrary((exeDir / "libFwScreenCapture.so").string()) != S_OK ||
        RegisterServerLibrary((exeDir / "libOrbelle32.so").string()) != S_OK) {
        error_ = "the screen-capture stand-in and Orbelle32 must be built beside this program";
        return;
    }
    const auto installed = engine::FindInstalledVlc();
    const std::string libDir = (work / "LIB_VLC").string() + "/";
    if (!installed || !engine::CopyInstalledVlc(*installed, libDir)) {
        error_ = "libvlc5 and vlc-plugin-base must be installed";
        return;
    }
    engine::UpdateSettings([&](engine::TSettings& s) {
        s.SegLen = settings.SegLenS;
        s.NumSeg = settings.NumSeg;
    });

    engine::TScreenCaptureServices services = engine::DefaultScreenCaptureServices(1, 0);
    services.VlcPreferences.ClearPluginCache = [] { return false; };  // keep the copied plugin cache
    job_ = engine::TScreenCapture::Create(1, services);
    // Tests of the program on the same machine take the first ports of the internal-port counter.
    if (const int port = FreeLoopbackPort()) job_->InternalPort = port;
    job_->OnLog = [](engine::TScreenCapture&, const std::string& text, uint8_t level) {
        if (level == engine::kLogLevelError) std::fprintf(stderr, "job: %s\n", text.c_str());
    };
    auto& p = job_->Params;
    p.capEncoder = engine::kCapEncoderDirectX;
    p.capKind = engine::kCapKindArea;
    p.capVlcLibPath = libDir;
    p.iLeft = 0;
    p.iTop = 0;
    p.iWidth = settings.Width;
    p.iHeight = settings.Height;
    p.vidFrameRate = settings.Fps;
    p.vidBitrate = settings.BitrateKbit;
    p.audCodec = engine::kAudCodecNone;
    auto share = std::make_shared<engine::TCaptureStreamer>();
    job_->Streamers->InitStreamer(*share, true);
    share->HttpServer = std::make_shared<TBenchHttpServer>(WebRoot().string() + "/");
    share->SubDir = "pc1";
    job_->Streamers->Append(share);
    if (!job_->Prepare(1) || !job_->Start()) error_ = "the capture job did not start";
}

THlsCaptureJob::~THlsCaptureJob() {
    if (job_) job_->Stop();
}

}  // namespace fw_bench
