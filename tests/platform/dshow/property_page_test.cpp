// The property-page base: connecting to the edited object, activation, and applying only when dirty.
#include <gtest/gtest.h>

#include "platform/dshow/base_property_page.h"
#include "tests/platform/dshow/test_renderer.h"

namespace {

class TTestPage final : public dshow::TBasePropertyPage {
public:
    int connects = 0, disconnects = 0, applies = 0, activations = 0;
    void Edit() { SetDirty(true); }

protected:
    HRESULT OnConnect(IUnknown* object) override {
        ++connects;
        ComPtr<IBaseFilter> filter;
        return SUCCEEDED(object->QueryInterface(IID_IBaseFilter, filter.PutVoid())) ? S_OK : E_FAIL;
    }
    HRESULT OnDisconnect() override {
        ++disconnects;
        return S_OK;
    }
    HRESULT OnApplyChanges() override {
        ++applies;
        return S_OK;
    }
    HRESULT OnActivate(void*) override {
        ++activations;
        return S_OK;
    }
};

}  // namespace

TEST(BasePropertyPage, ConnectsActivatesAndAppliesWhenDirty) {
    auto* page = new TTestPage;
    ComPtr<IPropertyPage> itf;
    ASSERT_EQ(dshow::QueryNewObject(page, IID_IPropertyPage, itf.PutVoid()), S_OK);
    auto filter = fw_test::TRecordingRenderer::Create(GUID_NULL, nullptr);
    IUnknown* objects[] = {filter.Get()};
    EXPECT_EQ(itf->SetObjects(1, nullptr), E_POINTER);
    ASSERT_EQ(itf->SetObjects(1, objects), S_OK);
    EXPECT_EQ(page->connects, 1);

    ASSERT_EQ(itf->Activate(nullptr), S_OK);
    EXPECT_EQ(itf->Activate(nullptr), E_UNEXPECTED);
    EXPECT_EQ(itf->IsPageDirty(), S_FALSE);
    EXPECT_EQ(itf->Apply(), S_OK);
    EXPECT_EQ(page->applies, 0);
    page->Edit();
    EXPECT_EQ(itf->IsPageDirty(), S_OK);
    EXPECT_EQ(itf->Apply(), S_OK);
    EXPECT_EQ(page->applies, 1);
    EXPECT_EQ(itf->IsPageDirty(), S_FALSE);
    EXPECT_EQ(itf->Deactivate(), S_OK);

    EXPECT_EQ(itf->SetObjects(0, nullptr), S_OK);
    EXPECT_EQ(page->disconnects, 1);
}
