// The filter mapper: keeps the registration of filters by category in the registry,
//   HKEY_CLASSES_ROOT "CLSID\{category}\Instance\{filter}" with "FriendlyName", "CLSID" and the
//   binary "FilterData" (EncodeFilterData below),
// and the categories themselves under "CLSID\{category}" ("FriendlyName", "Merit").
#pragma once

#include <cstdint>
#include <vector>

#include "platform/dshow/dshow.h"
#include "platform/dshow/unknown.h"

namespace dshow {

// FilterData, little-endian: version 1, merit, pin count; per pin its flags (1 rendered, 2 output,
// 4 zero, 8 many), name length and UTF-8 name, connects-to filter (16 bytes, zero when none),
// connects-to pin name length and name, media type count and per type major and minor (16 bytes each).
std::vector<uint8_t> EncodeFilterData(const REGFILTER2& filter);

class TFilterMapper final : public IFilterMapper2, public TUnknown {
public:
    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CreateCategory(REFCLSID clsidCategory, DWORD dwCategoryMerit, const char* Description) override;
    HRESULT UnregisterFilter(const CLSID* pclsidCategory, const char* szInstance, REFCLSID Filter) override;
    HRESULT RegisterFilter(REFCLSID clsidFilter, const char* Name, void** ppMoniker, const CLSID* pclsidCategory,
                           const char* szInstance, const REGFILTER2* prf2) override;

    static HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv);
};

}  // namespace dshow
