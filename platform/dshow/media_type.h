// Media types: copying and freeing AM_MEDIA_TYPE (format blocks live in the COM task allocator) and an
// owning value type around it.
#pragma once

#include <cstddef>

#include "platform/dshow/dshow.h"

// Frees the format block and the IUnknown of a type, leaving it empty; the struct itself stays.
void FreeMediaType(AM_MEDIA_TYPE& mt);
// Frees a type allocated with CoTaskMemAlloc (as enumerators and IMediaSample::GetMediaType hand out).
void DeleteMediaType(AM_MEDIA_TYPE* pmt);
// Deep copy into dst (which must hold nothing); E_OUTOFMEMORY leaves dst empty.
HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src);
// A CoTaskMemAlloc'd deep copy, or null.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src);

namespace dshow {

// A type whose major, sub or format type is GUID_NULL leaves that part open.
bool IsPartiallySpecified(const AM_MEDIA_TYPE& mt);
// True when `candidate` agrees with every part that `partial` specifies.
bool MatchesPartialType(const AM_MEDIA_TYPE& candidate, const AM_MEDIA_TYPE& partial);

// An AM_MEDIA_TYPE that owns its format block; copies are deep.
class TMediaType {
public:
    TMediaType();
    explicit TMediaType(const AM_MEDIA_TYPE& mt);
    TMediaType(const GUID& major, const GUID& sub);
    TMediaType(const TMediaType& other);
    TMediaType(TMediaType&& other) noexcept;
    TMediaType& operator=(const TMediaType& other);
    TMediaType& operator=(TMediaType&& other) noexcept;
    ~TMediaType();

    const AM_MEDIA_TYPE* get() const { return &mt_; }
    AM_MEDIA_TYPE* get() { return &mt_; }
    const AM_MEDIA_TYPE* operator->() const { return &mt_; }
    AM_MEDIA_TYPE* operator->() { return &mt_; }

    // Replaces the format block with a copy of `size` bytes (false when out of memory).
    bool SetFormat(const GUID& formatType, const void* data, size_t size);
    // The format block as T when it is at least sizeof(T) bytes long, else null.
    template <class T>
    const T* FormatAs() const {
        return (mt_.pbFormat && mt_.cbFormat >= sizeof(T)) ? reinterpret_cast<const T*>(mt_.pbFormat) : nullptr;
    }
    void Clear();

private:
    AM_MEDIA_TYPE mt_;
};

bool operator==(const TMediaType& a, const TMediaType& b);

}  // namespace dshow
