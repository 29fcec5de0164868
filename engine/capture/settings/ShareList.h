// The shares of one capture job, in display and output order, with the defaults a new share gets.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/capture/settings/CaptureStreamer.h"

namespace engine {

// What a new share takes from its job and the program's settings.
struct TShareDefaults {
    int32_t CaptureIdx = 0;
    bool VlcMissing = false;          // no usable libVLC: new shares publish snapshots over HTTP
    std::string HtmlDir;              // the page folder setting; each share gets "Streamer_<n>/" below it
    std::string SubDir;               // the default share folder name
    std::function<int32_t()> NextIndex;  // the program's share counter
};

// First UDP port of capture job n's shares: n * kSharePortsPerCapture + kFirstSharePort.
constexpr int32_t kFirstSharePort = 50000;
constexpr int32_t kSharePortsPerCapture = 100;

// Every change of the list takes GlobalLock: the web servers' connection threads look shares up by
// sub-folder under that lock while the user-interface thread adds and deletes them. Reading the list
// needs no lock on the user-interface thread, the only one that changes it.
class TShareList {
public:
    explicit TShareList(TShareDefaults defaults);
    ~TShareList();
    TShareList(const TShareList&) = delete;
    TShareList& operator=(const TShareList&) = delete;

    // Fills a fresh record with the defaults; its port counts the shares already in the list. The
    // page folder is created with its parents when missing.
    void InitStreamer(TCaptureStreamer& share, bool httpShare) const;
    // A new UDP share (InitStreamer with false) appended to the list.
    PCaptureStreamer AddStreamer();
    // Appends a record filled by InitStreamer (the capture.xml reader).
    void Append(PCaptureStreamer share);
    // Position of the record, -1 for none or a record that is not in the list.
    int IndexOfStreamer(const TCaptureStreamer* share) const;
    // Removes the share from the list, then tells the list's owner (outside the lock), which ends what
    // runs for it. No effect for none or a stranger.
    void DeleteStreamer(const TCaptureStreamer* share);
    void ClearStreamers();
    // Told of every share once it has left the list; none: nobody is told.
    void SetOnDelete(std::function<void(const PCaptureStreamer& share)> onDelete);

    const std::vector<PCaptureStreamer>& Items() const { return items_; }
    size_t Count() const { return items_.size(); }
    const TShareDefaults& Defaults() const { return defaults_; }

private:
    TShareDefaults defaults_;
    std::vector<PCaptureStreamer> items_;
    std::function<void(const PCaptureStreamer& share)> onDelete_;
};

}  // namespace engine
