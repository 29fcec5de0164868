// Enumerators over a snapshot taken when they are made: pins of a filter, filters of a graph, media
// types of a pin. Later changes of the owner do not show in an enumerator already made.
#pragma once

#include <new>
#include <vector>

#include "platform/dshow/dshow.h"
#include "platform/dshow/media_type.h"
#include "platform/dshow/unknown.h"

namespace dshow {

// IEnumPins or IEnumFilters over interface pointers of type Item.
template <class EnumItf, class Item>
class TEnumInterfaces final : public EnumItf, public TUnknown {
public:
    explicit TEnumInterfaces(std::vector<ComPtr<Item>> items, size_t position = 0)
        : items_(std::move(items)), pos_(position) {}

    DSHOW_DECLARE_IUNKNOWN

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == EnumItf::iid || riid == IID_IUnknown) return GetInterface(static_cast<EnumItf*>(this), ppv);
        if (ppv) *ppv = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT Next(ULONG count, Item** out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        if (count > 1 && !fetched) return E_INVALIDARG;
        ULONG n = 0;
        while (n < count && pos_ < items_.size()) {
            out[n] = items_[pos_].Get();
            out[n]->AddRef();
            ++n;
            ++pos_;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override {
        pos_ += count;
        if (pos_ > items_.size()) {
            pos_ = items_.size();
            return S_FALSE;
        }
        return S_OK;
    }
    HRESULT Reset() override {
        pos_ = 0;
        return S_OK;
    }
    HRESULT Clone(EnumItf** out) override {
        return QueryNewObject(new (std::nothrow) TEnumInterfaces(items_, pos_), EnumItf::iid, reinterpret_cast<void**>(out));
    }

private:
    std::vector<ComPtr<Item>> items_;
    size_t pos_;
};

using TEnumPins = TEnumInterfaces<IEnumPins, IPin>;
using TEnumFilters = TEnumInterfaces<IEnumFilters, IBaseFilter>;

class TEnumMediaTypes final : public IEnumMediaTypes, public TUnknown {
public:
    explicit TEnumMediaTypes(std::vector<TMediaType> types, size_t position = 0);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT Next(ULONG count, AM_MEDIA_TYPE** out, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumMediaTypes** out) override;

private:
    std::vector<TMediaType> types_;
    size_t pos_;
};

}  // namespace dshow
