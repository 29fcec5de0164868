#include "engine/graphs/RunningObjectTable.h"

#include <unistd.h>

#include <algorithm>
#include <exception>

#include "engine/graphs/GraphErrorText.h"

namespace engine {

HRESULT CreateItemMoniker(std::string_view delimiter, std::string_view item, TItemMoniker& moniker) {
    if (delimiter.empty() || item.empty()) return E_INVALIDARG;
    moniker = TItemMoniker{std::string(delimiter), std::string(item)};
    return S_OK;
}

TRunningObjectTable& TRunningObjectTable::Instance() {
    static TRunningObjectTable table;
    return table;
}

HRESULT TRunningObjectTable::Register(IUnknown* object, const TItemMoniker& moniker, DWORD* cookie) {
    if (!object || !cookie) return E_POINTER;
    std::lock_guard lock(mutex_);
    if (nextCookie_ == 0) nextCookie_ = 1;  // 0 means "not registered" to callers
    *cookie = nextCookie_++;
    entries_.push_back(Entry{*cookie, moniker.DisplayName(), ComPtr<IUnknown>(object)});
    return S_OK;
}

HRESULT TRunningObjectTable::Revoke(DWORD cookie) {
    ComPtr<IUnknown> released;  // the object goes after the lock is left
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.Cookie == cookie; });
        if (it == entries_.end()) return E_INVALIDARG;
        released = std::move(it->Object);
        entries_.erase(it);
    }
    return S_OK;
}

HRESULT TRunningObjectTable::GetObject(const std::string& displayName, IUnknown** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    std::lock_guard lock(mutex_);
    for (const Entry& e : entries_)
        if (e.Name == displayName) {
            *object = e.Object.Get();
            (*object)->AddRef();
            return S_OK;
        }
    return E_FAIL;
}

std::vector<std::string> TRunningObjectTable::DisplayNames() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (const Entry& e : entries_) names.push_back(e.Name);
    return names;
}

HRESULT AddGraphToRot(IUnknown* graph, DWORD& cookie, const std::function<void(const std::string&)>& log) {
    auto say = [&](const std::string& text) {
        if (log) log(text);
    };
    try {
        const std::string item = "FilterGraph " + std::to_string(reinterpret_cast<uintptr_t>(graph)) + " pid " +
                                 std::to_string(::getpid());
        TItemMoniker moniker;
        const HRESULT hr = CreateItemMoniker("!", item, moniker);
        if (FAILED(hr)) {
            say(HResultText(hr));
            return hr;
        }
        return TRunningObjectTable::Instance().Register(graph, moniker, &cookie);
    } catch (const std::exception&) {
        say("General Error - AddGraphToRot");
        return E_FAIL;
    }
}

void RemoveGraphFromRot(DWORD cookie) {
    try {
        TRunningObjectTable::Instance().Revoke(cookie);
    } catch (const std::exception&) {
        // nothing to report: the table keeps no state worth repairing
    }
}

void LeaveRot(DWORD& cookie) {
    if (cookie == 0) return;
    RemoveGraphFromRot(cookie);
    cookie = 0;
}

}  // namespace engine
