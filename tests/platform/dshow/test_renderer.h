// A renderer for tests: accepts one major type (or any), records what it renders and how often it
// became active and inactive.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/dshow/base_renderer.h"

namespace fw_test {

class TRecordingRenderer final : public dshow::TBaseRenderer {
public:
    static constexpr CLSID kClsid = {0x1B2C3D4E, 0x0000, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x02}};

    static ComPtr<IBaseFilter> Create(const GUID& acceptedMajor, TRecordingRenderer** self);

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT DoRenderSample(IMediaSample* pSample) override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    std::vector<std::vector<uint8_t>> Rendered();
    std::atomic<int> actives{0};
    std::atomic<int> inactives{0};

private:
    explicit TRecordingRenderer(const GUID& acceptedMajor);
    GUID accepted_;
    std::mutex mutex_;
    std::vector<std::vector<uint8_t>> rendered_;
};

}  // namespace fw_test
