// The names one share writes into its folder, spelled as its mirror stores them on the server (lower
// case): the playlist, the segments, the snapshot or dropped-file image, and the temporary names their
// uploads go up under. Files of earlier runs of the same share carry the same names, so these are the
// names a mirror may clear even in a folder it shares with others (the server's root).
#pragma once

#include <string>
#include <string_view>

namespace engine {

class FtpShareNames {
public:
    // streamName: "stream_" + number; imageBaseName: "capimg_<ip>_<port>", or "" when there is none.
    FtpShareNames(std::string_view streamName, std::string_view imageBaseName);

    // Exactly one of the names (no other letter case).
    bool Produces(std::string_view remoteName) const;

private:
    bool ProducesFinal(std::string_view name) const;

    std::string playlist_;       // "stream_1.m3u8"
    std::string segmentPrefix_;  // "stream_1_", followed by the segment number and ".ts"
    std::string imageBaseName_;
};

}  // namespace engine
