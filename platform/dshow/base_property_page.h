// Base of property pages: the frame hands over the objects to edit (SetObjects -> OnConnect /
// OnDisconnect), shows the page (Activate -> OnActivate with the native parent) and applies the
// edits (Apply -> OnApplyChanges while the page is dirty). The page itself marks itself dirty.
#pragma once

#include <mutex>

#include "platform/dshow/dshow.h"
#include "platform/dshow/unknown.h"

namespace dshow {

class TBasePropertyPage : public IPropertyPage, public TUnknown {
public:
    TBasePropertyPage() = default;

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT Activate(void* parentWindow) override;
    HRESULT Deactivate() override;
    // With no object the page lets go of the one it has; otherwise it connects to the first one.
    HRESULT SetObjects(ULONG cObjects, IUnknown** ppUnk) override;
    HRESULT IsPageDirty() override;
    HRESULT Apply() override;

protected:
    ~TBasePropertyPage() override = default;

    virtual HRESULT OnConnect(IUnknown* object) = 0;
    virtual HRESULT OnDisconnect() { return S_OK; }
    virtual HRESULT OnApplyChanges() { return S_OK; }
    virtual HRESULT OnActivate(void* parentWindow) = 0;
    virtual HRESULT OnDeactivate() { return S_OK; }

    void SetDirty(bool dirty);
    bool IsConnected() const { return connected_; }
    bool IsActive() const { return active_; }

private:
    bool connected_ = false;
    bool active_ = false;
    bool dirty_ = false;
};

}  // namespace dshow
