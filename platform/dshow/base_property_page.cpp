#include "platform/dshow/base_property_page.h"

namespace dshow {

HRESULT TBasePropertyPage::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IID_IPropertyPage) return GetInterface(static_cast<IPropertyPage*>(this), ppv);
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT TBasePropertyPage::Activate(void* parentWindow) {
    if (active_) return E_UNEXPECTED;
    const HRESULT hr = OnActivate(parentWindow);
    active_ = SUCCEEDED(hr);
    return hr;
}

HRESULT TBasePropertyPage::Deactivate() {
    if (!active_) return E_UNEXPECTED;
    active_ = false;
    return OnDeactivate();
}

HRESULT TBasePropertyPage::SetObjects(ULONG cObjects, IUnknown** ppUnk) {
    if (cObjects > 0 && (!ppUnk || !ppUnk[0])) return E_POINTER;
    if (connected_) {
        connected_ = false;
        OnDisconnect();
    }
    if (cObjects == 0) return S_OK;
    const HRESULT hr = OnConnect(ppUnk[0]);
    connected_ = SUCCEEDED(hr);
    return hr;
}

HRESULT TBasePropertyPage::IsPageDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT TBasePropertyPage::Apply() {
    if (!dirty_) return S_OK;
    const HRESULT hr = OnApplyChanges();
    if (SUCCEEDED(hr)) dirty_ = false;
    return hr;
}

void TBasePropertyPage::SetDirty(bool dirty) { dirty_ = dirty; }

}  // namespace dshow
