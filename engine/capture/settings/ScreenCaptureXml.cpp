#include "engine/capture/settings/ScreenCaptureXml.h"

#include <filesystem>
#include <limits>
#include <optional>
#include <type_traits>

#include "engine/util/path_utils.h"
#include "platform/util/utf8_text.h"
#include "engine/util/xml_value_text.h"
#include "platform/util/file_checks.h"

namespace fs = std::filesystem;

namespace engine {
namespace {

constexpr const char* kStreamerList = "streamer_list";
constexpr const char* kStreamerListEntry = "streamer_list_entry";
constexpr const char* kFileListEntry = "FileListEntry";

// Writing: one child per value.
struct XmlWriter {
    pugi::xml_node node;
    void Text(const char* name, const std::string& value) { node.append_child(name).text().set(value.c_str()); }
    void operator()(const char* name, const std::string& value) { Text(name, value); }
    void operator()(const char* name, bool value) { Text(name, value ? "True" : "False"); }
    template <class T>
        requires std::is_integral_v<T>
    void operator()(const char* name, T value) {
        Text(name, std::to_string(static_cast<int64_t>(value)));
    }
};

// Reading: a child that is there and converts replaces the field.
struct XmlReader {
    pugi::xml_node node;
    std::optional<std::string> Text(const char* name) const {
        const pugi::xml_node child = node.child(name);
        if (!child) return std::nullopt;
        return std::string(child.text().get());
    }
    void operator()(const char* name, std::string& value) const {
        if (auto text = Text(name)) value = *text;
    }
    void operator()(const char* name, bool& value) const {
        if (auto text = Text(name))
            if (auto parsed = ParseXmlBool(*text)) value = *parsed;
    }
    template <class T>
        requires std::is_integral_v<T>
    void operator()(const char* name, T& value) const {
        auto text = Text(name);
        if (!text) return;
        const auto parsed = ParseXmlInteger(*text);
        if (parsed && *parsed >= std::numeric_limits<T>::min() && *parsed <= std::numeric_limits<T>::max())
            value = static_cast<T>(*parsed);
    }
};

// The settings in their stored order; capVlcLibPath is handled by the callers (written, never read).
template <class P, class V>
void VisitParamsHead(P& p, V&& v) {
    v("capEncoder", p.capEncoder);
    v("capKind", p.capKind);
    v("capDesktopNo", p.capDesktopNo);
    v("bCapMouse", p.bCapMouse);
    v("capPixelFormat", p.capPixelFormat);
    v("sCaption", p.Window.sCaption);
    v("sClass", p.Window.sClass);
    v("bAdjust", p.Window.bAdjust);
    v("iLeft", p.iLeft);
    v("iTop", p.iTop);
    v("iWidth", p.iWidth);
    v("iHeight", p.iHeight);
    v("vidCodec", p.vidCodec);
    v("vidScale", p.vidScale);
    v("vidBitrate", p.vidBitrate);
    v("vidFrameRate", p.vidFrameRate);
    v("audCodec", p.audCodec);
    v("audBitrate", p.audBitrate);
    v("bPreScale", p.bPreScale);
}

template <class P, class V>
void VisitParamsTail(P& p, V&& v) {
    v("capInputStr", p.capInputStr);
    v("capUdpIp", p.capUdpIp);
    v("capUdpPort", p.capUdpPort);
    v("capVidPid", p.capVidPid);
    v("capAudPid", p.capAudPid);
    v("capPmtPid", p.capPmtPid);
    v("capImageFreq", p.capImageFreq);
    v("capImageFormat", p.capImageFormat);
    v("capImagePngComp", p.capImagePngComp);
    v("capImageJpgComp", p.capImageJpgComp);
    v("capImagebArchive", p.capImagebArchive);
    v("capTimeDisplaybAct", p.capTimeDisplaybAct);
    v("capTimeDisplayiPos", p.capTimeDisplayiPos);
    v("capTimeDisplaysFont", p.capTimeDisplaysFont);
    v("capTimeDisplayiSize", p.capTimeDisplayiSize);
    v("capTimeDisplayiColor", p.capTimeDisplayiColor);
    v("capTimeDisplaybBold", p.capTimeDisplaybBold);
    v("capTimeDisplaysiBkgnd", p.capTimeDisplaysiBkgnd);
    v("capTimeDisplaysbTransp", p.capTimeDisplaysbTransp);
    v("capFilesDir", p.Files.capFilesDir);
    v("capiFileFmt", p.Files.capiFileFmt);
    v("capbDelete", p.Files.capbDelete);
    v("capiFreq", p.Files.capiFreq);
}

// A share's plain values before and after its web-server binding (strHttpIp, strHttpPort).
template <class S, class V>
void VisitShareHead(S& s, V&& v) {
    v("strProtocol", s.Protocol);
    v("strIP", s.IpAddr);
    v("strPort", s.Port);
}

template <class S, class V>
void VisitShareBody(S& s, V&& v) {
    v("bActive", s.Active);
    v("bFtpActive", s.FtpActive);
    v("strFtpHost", s.FtpHost);
    v("strFtpUser", s.FtpUser);
    v("strFtpPw", s.FtpPassword);
    v("strFtpHostDir", s.FtpHostDir);
    v("bFtpDelDir", s.FtpDeleteDir);
    v("ftpImgFreq", s.FtpImageFreq);
    v("strLocalDir", s.SubDir);
    v("strVideo", s.VideoActive);
    v("strImg", s.ImageActive);
    v("strImgDir", s.ImageDir);
    v("strFile", s.FileActive);
    v("strFileDir", s.FileDir);
    v("bUseFiles", s.UseFileList);
}

void SaveShare(pugi::xml_node entry, const TCaptureStreamer& share) {
    XmlWriter w{entry};
    VisitShareHead(share, w);
    w("strHttpIp", share.HttpServer ? std::to_string(share.HttpServer->IpAddr()) : std::string());
    w("strHttpPort", share.HttpServer ? std::to_string(share.HttpServer->Port()) : std::string());
    VisitShareBody(share, w);
    w("sIndexHtml", share.IndexHtml);
    w("sHtmlDir", share.HtmlDir);
    pugi::xml_node list = entry.append_child("FileList");
    for (const std::string& file : share.FileList) list.append_child(kFileListEntry).text().set(file.c_str());
}

void LoadShare(pugi::xml_node entry, TCaptureStreamer& share, const IShareHttpServerList* servers) {
    const XmlReader r{entry};
    VisitShareHead(share, r);
    VisitShareBody(share, r);
    r("iIdx", share.Index);

    int32_t httpIp = 0;
    int32_t httpPort = 0;
    r("strHttpIp", httpIp);
    r("strHttpPort", httpPort);
    if (servers != nullptr) {
        share.HttpServer = servers->Find(httpIp, httpPort);
        if (!share.HttpServer && share.Protocol == kShareProtocolHttp) share.HttpServer = servers->First();
    }

    if (auto indexHtml = r.Text("sIndexHtml"); indexHtml && platform::IsFile(*indexHtml)) share.IndexHtml = *indexHtml;
    // An empty folder text keeps the default page folder (it would otherwise name the file system root).
    if (auto htmlDir = r.Text("sHtmlDir"); htmlDir && !htmlDir->empty()) {
        std::error_code ec;
        if (fs::is_directory(*htmlDir, ec)) {
            share.HtmlDir = *htmlDir;
        } else {
            fs::create_directories(*htmlDir, ec);
            share.HtmlDir = IncludeTrailingPathDelimiter(*htmlDir);
        }
    }
    for (pugi::xml_node file : entry.child("FileList").children(kFileListEntry)) {
        const std::string path = file.text().get();
        if (platform::IsFile(path)) share.FileList.push_back(path);
    }
}

}  // namespace

void SaveCaptureParamsToXml(pugi::xml_node node, const TScreenCaptureParams& params, const TShareList& shares) {
    XmlWriter w{node};
    VisitParamsHead(params, w);
    w("capVlcLibPath", params.capVlcLibPath);
    VisitParamsTail(params, w);
    pugi::xml_node list = node.append_child(kStreamerList);
    for (const PCaptureStreamer& share : shares.Items()) SaveShare(list.append_child(kStreamerListEntry), *share);
}

TScreenCaptureParams LoadCaptureParamsFromXml(pugi::xml_node node, TShareList& shares,
                                              const IShareHttpServerList* servers) {
    TScreenCaptureParams params;
    SetDefaultParams(params);
    const XmlReader r{node};
    VisitParamsHead(params, r);
    VisitParamsTail(params, r);
    params.capTimeDisplaysFont = platform::Utf8Left(params.capTimeDisplaysFont, kMaxTimeDisplayFontLength);

    if (pugi::xml_node list = node.child(kStreamerList)) {
        shares.ClearStreamers();
        // Every element becomes a share, whatever its name. A comment, a processing instruction or
        // stray text is no share: it would publish into a default folder nobody asked for.
        for (pugi::xml_node entry : list.children()) {
            if (entry.type() != pugi::node_element) continue;
            auto share = std::make_shared<TCaptureStreamer>();
            shares.InitStreamer(*share, false);
            LoadShare(entry, *share, servers);
            shares.Append(share);
        }
    }
    ValidateParams(params, shares);
    return params;
}

void ValidateParams(TScreenCaptureParams& params, TShareList& shares) {
    // Clamped for every method: a method-0 job reads the frame rate too.
    params.vidBitrate = std::clamp(params.vidBitrate, kMinVideoBitrate, kMaxVideoBitrate);
    params.vidFrameRate = std::clamp(params.vidFrameRate, kMinFrameRate, kMaxFrameRate);
    std::error_code ec;
    if (params.capEncoder == kCapEncoderVlc && !fs::is_directory(params.capVlcLibPath, ec)) return;
    if (shares.Count() == 0) shares.AddStreamer();
}

}  // namespace engine
