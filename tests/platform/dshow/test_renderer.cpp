#include "tests/platform/dshow/test_renderer.h"

namespace fw_test {

TRecordingRenderer::TRecordingRenderer(const GUID& acceptedMajor)
    : dshow::TBaseRenderer(kClsid, "Recording Renderer"), accepted_(acceptedMajor) {}

ComPtr<IBaseFilter> TRecordingRenderer::Create(const GUID& acceptedMajor, TRecordingRenderer** self) {
    auto* r = new TRecordingRenderer(acceptedMajor);
    if (self) *self = r;
    ComPtr<IBaseFilter> out;
    dshow::QueryNewObject(r, IID_IBaseFilter, out.PutVoid());
    return out;
}

HRESULT TRecordingRenderer::CheckMediaType(const AM_MEDIA_TYPE* pmt) {
    if (!pmt) return E_POINTER;
    return (accepted_ == GUID_NULL || pmt->majortype == accepted_) ? S_OK : S_FALSE;
}

HRESULT TRecordingRenderer::DoRenderSample(IMediaSample* pSample) {
    BYTE* p = nullptr;
    pSample->GetPointer(&p);
    std::lock_guard lock(mutex_);
    rendered_.emplace_back(p, p + pSample->GetActualDataLength());
    return S_OK;
}

HRESULT TRecordingRenderer::Active() {
    ++actives;
    return S_OK;
}

HRESULT TRecordingRenderer::Inactive() {
    ++inactives;
    return S_OK;
}

std::vector<std::vector<uint8_t>> TRecordingRenderer::Rendered() {
    std::lock_guard lock(mutex_);
    return rendered_;
}

}  // namespace fw_test
