// Small fakes shared by the capture tests: web servers for shares and a worker that records its end.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/capture/settings/ShareHttpServer.h"
#include "engine/capture/settings/ShareList.h"
#include "engine/capture/settings/ShareWorker.h"

namespace fw_test {

class FakeHttpServer : public engine::IShareHttpServer {
public:
    FakeHttpServer(int32_t ip, int32_t port, std::string root) : ip_(ip), port_(port), root_(std::move(root)) {}
    int32_t IpAddr() const override { return ip_; }
    int32_t Port() const override { return port_; }
    std::string Root() const override { return root_; }
    std::string IndexHtml() const override { return indexHtml; }
    std::string DefaultIndexFile() const override { return defaultIndexFile; }
    std::vector<std::string> FileList() const override { return fileList; }

    std::string indexHtml;
    std::string defaultIndexFile;
    std::vector<std::string> fileList;

private:
    int32_t ip_;
    int32_t port_;
    std::string root_;
};

class FakeHttpServerList : public engine::IShareHttpServerList {
public:
    std::vector<std::shared_ptr<engine::IShareHttpServer>> servers;
    std::shared_ptr<engine::IShareHttpServer> Find(int32_t ip, int32_t port) const override {
        for (const auto& s : servers)
            if (s->IpAddr() == ip && s->Port() == port) return s;
        return nullptr;
    }
    std::shared_ptr<engine::IShareHttpServer> First() const override { return servers.empty() ? nullptr : servers.front(); }
};

struct WorkerLog {
    int endRequests = 0;
    int destroyed = 0;
};

class FakeWorker : public engine::IShareWorker {
public:
    explicit FakeWorker(std::shared_ptr<WorkerLog> log) : log_(std::move(log)) {}
    ~FakeWorker() override { ++log_->destroyed; }
    void RequestEnd() override { ++log_->endRequests; }

private:
    std::shared_ptr<WorkerLog> log_;
};

// Share defaults of capture job captureIdx with a counter starting at 1 and pages below htmlDir.
inline engine::TShareDefaults TestShareDefaults(int32_t captureIdx, const std::string& htmlDir, bool vlcMissing = false) {
    auto counter = std::make_shared<int32_t>(1);
    engine::TShareDefaults d;
    d.CaptureIdx = captureIdx;
    d.VlcMissing = vlcMissing;
    d.HtmlDir = htmlDir;
    d.SubDir = "pc1";
    d.NextIndex = [counter] { return (*counter)++; };
    return d;
}

}  // namespace fw_test
