// The process's running object table: objects registered under an item moniker's display name so that
// tools can find a live filter graph. A registration holds a reference to its object until revoked.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/com.h"

namespace engine {

// An item moniker: a delimiter and an item name; its display name is the two joined.
struct TItemMoniker {
    std::string Delimiter;
    std::string Item;
    std::string DisplayName() const { return Delimiter + Item; }
};

// E_INVALIDARG for an empty delimiter or item.
HRESULT CreateItemMoniker(std::string_view delimiter, std::string_view item, TItemMoniker& moniker);

class TRunningObjectTable {
public:
    static TRunningObjectTable& Instance();

    // Registers object under the moniker's display name; *cookie receives a non-zero registration number.
    HRESULT Register(IUnknown* object, const TItemMoniker& moniker, DWORD* cookie);
    // E_INVALIDARG for a cookie that is not registered.
    HRESULT Revoke(DWORD cookie);
    // S_OK with a reference of the caller's own; E_FAIL when nothing is registered under that name.
    HRESULT GetObject(const std::string& displayName, IUnknown** object);
    std::vector<std::string> DisplayNames();

private:
    struct Entry {
        DWORD Cookie;
        std::string Name;
        ComPtr<IUnknown> Object;
    };
    std::mutex mutex_;
    std::vector<Entry> entries_;
    DWORD nextCookie_ = 1;
};

// Registers a graph as "FilterGraph " + its interface address in decimal + " pid " + the process id, under
// an item moniker with the delimiter "!"; the registration keeps the graph alive until removed. A moniker
// failure logs its error text; an exception logs "General Error - AddGraphToRot" and gives E_FAIL.
HRESULT AddGraphToRot(IUnknown* graph, DWORD& cookie, const std::function<void(const std::string&)>& log);
// Revokes the registration; failures are swallowed.
void RemoveGraphFromRot(DWORD cookie);
// Revokes a registration when there is one (cookie non-zero) and clears the cookie.
void LeaveRot(DWORD& cookie);

}  // namespace engine
