#include "platform/dshow/filter_mapper.h"

#include <cstring>
#include <string>

#include "platform/registry/registry.h"

namespace dshow {
namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutGuid(std::vector<uint8_t>& out, const GUID* g) {
    const GUID value = g ? *g : GUID_NULL;
    PutU32(out, value.Data1);
    out.push_back(static_cast<uint8_t>(value.Data2));
    out.push_back(static_cast<uint8_t>(value.Data2 >> 8));
    out.push_back(static_cast<uint8_t>(value.Data3));
    out.push_back(static_cast<uint8_t>(value.Data3 >> 8));
    out.insert(out.end(), value.Data4, value.Data4 + 8);
}

void PutString(std::vector<uint8_t>& out, const char* s) {
    const size_t n = s ? std::strlen(s) : 0;
    PutU32(out, static_cast<uint32_t>(n));
    if (n) out.insert(out.end(), s, s + n);
}

std::string InstanceKey(const CLSID* category, const char* instance, REFCLSID filter) {
    const CLSID& cat = category ? *category : CLSID_LegacyAmFilterCategory;
    const std::string name = instance && *instance ? std::string(instance) : GuidToString(filter);
    return "CLSID\\" + GuidToString(cat) + "\\Instance\\" + name;
}

}  // namespace

std::vector<uint8_t> EncodeFilterData(const REGFILTER2& filter) {
    std::vector<uint8_t> out;
    PutU32(out, 1);
    PutU32(out, filter.dwMerit);
    const ULONG pins = filter.rgPins ? filter.cPins : 0;
    PutU32(out, pins);
    for (ULONG i = 0; i < pins; ++i) {
        const REGFILTERPINS& p = filter.rgPins[i];
        PutU32(out, (p.bRendered ? 1u : 0u) | (p.bOutput ? 2u : 0u) | (p.bZero ? 4u : 0u) | (p.bMany ? 8u : 0u));
        PutString(out, p.strName);
        PutGuid(out, p.clsConnectsToFilter);
        PutString(out, p.strConnectsToPin);
        const UINT types = p.lpMediaType ? p.nMediaTypes : 0;
        PutU32(out, types);
        for (UINT t = 0; t < types; ++t) {
            PutGuid(out, p.lpMediaType[t].clsMajorType);
            PutGuid(out, p.lpMediaType[t].clsMinorType);
        }
    }
    return out;
}

HRESULT TFilterMapper::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IID_IFilterMapper2) return GetInterface(static_cast<IFilterMapper2*>(this), ppv);
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT TFilterMapper::CreateCategory(REFCLSID clsidCategory, DWORD dwCategoryMerit, const char* Description) {
    platform::TRegistry reg(platform::RootKey::ClassesRoot);
    if (!reg.OpenKey("CLSID\\" + GuidToString(clsidCategory), true)) return E_FAIL;
    const bool ok = reg.WriteString("FriendlyName", Description ? Description : "") &&
                    reg.WriteInteger("Merit", static_cast<int32_t>(dwCategoryMerit));
    reg.CloseKey();
    if (!ok) return E_FAIL;
    return reg.OpenKey("CLSID\\" + GuidToString(clsidCategory) + "\\Instance", true) ? S_OK : E_FAIL;
}

HRESULT TFilterMapper::UnregisterFilter(const CLSID* pclsidCategory, const char* szInstance, REFCLSID Filter) {
    platform::TRegistry reg(platform::RootKey::ClassesRoot);
    const std::string key = InstanceKey(pclsidCategory, szInstance, Filter);
    if (!reg.KeyExists(key)) return S_OK;
    return reg.DeleteKey(key) ? S_OK : E_FAIL;
}

HRESULT TFilterMapper::RegisterFilter(REFCLSID clsidFilter, const char* Name, void** ppMoniker,
                                      const CLSID* pclsidCategory, const char* szInstance, const REGFILTER2* prf2) {
    if (!prf2 || !Name) return E_POINTER;
    if (ppMoniker) return E_INVALIDARG;
    if (prf2->dwVersion != 1) return E_INVALIDARG;
    platform::TRegistry reg(platform::RootKey::ClassesRoot);
    if (!reg.OpenKey(InstanceKey(pclsidCategory, szInstance, clsidFilter), true)) return E_FAIL;
    const bool ok = reg.WriteString("FriendlyName", Name) && reg.WriteString("CLSID", GuidToString(clsidFilter)) &&
                    reg.WriteBinary("FilterData", EncodeFilterData(*prf2));
    return ok ? S_OK : E_FAIL;
}

HRESULT TFilterMapper::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    return CreateMadeObject(outer, riid, ppv, [] { return new TFilterMapper; });
}

}  // namespace dshow
