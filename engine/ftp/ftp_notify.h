// wmFtpNotify: what a share's FTP mirror tells the share's status tab. WParam is the kind, LParam
// the value (bytes, milliseconds or an error code).
#pragma once

#include <cstdint>

#include "platform/ui/message_poster.h"

namespace engine {

constexpr uint32_t wmFtpNotify = 0xB801;

// WParam
constexpr intptr_t cfWork = 3;        // LParam: bytes of the running transfer sent so far
constexpr intptr_t cfError = 4;       // LParam: one of the cfErr codes below
constexpr intptr_t cfUploadTime = 6;  // LParam: milliseconds from the start of the cycle to the end of an upload
constexpr intptr_t cfWorkBegin = 7;   // LParam: bytes the transfer will send

// LParam of cfError
constexpr intptr_t cfErrConnect = 1;   // connecting or logging in failed
constexpr intptr_t cfErrPlaylist = 4;  // the local playlist's text could not be handled
constexpr intptr_t cfErrUpload = 5;    // an upload failed
constexpr intptr_t cfErrDelete = 6;    // deleting a remote file failed
constexpr intptr_t cfErrGeneral = 7;   // any other failure during a connected cycle
constexpr intptr_t cfErrHostDir = 8;   // the remote folder could not be made, entered or cleared

// Where the mirror's notifications go; posted, never sent, so the mirror never waits for the receiver.
using FtpNotifier = platform::IMessagePoster;

}  // namespace engine
