// The SCREENCAPTURE_PARAMS block of capture.xml: a job's capture settings and its shares, one child
// element per value (text only, no attributes). Reading never fails: a missing child or a text that
// does not convert keeps that field's default and touches nothing else.
#pragma once

#include <pugixml.hpp>

#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/capture/settings/ShareList.h"

namespace engine {

// Writes params and every share as children of node (the SCREENCAPTURE_PARAMS element).
void SaveCaptureParamsToXml(pugi::xml_node node, const TScreenCaptureParams& params, const TShareList& shares);

// Reads the block into a fresh record. When the block holds a streamer_list, the job's shares are
// replaced by the ones it lists, one per child element whatever its name (bound again to their web
// servers through servers, which may be null).
// The library folder is never read (a loaded job uses the default folder). Ends with ValidateParams.
TScreenCaptureParams LoadCaptureParamsFromXml(pugi::xml_node node, TShareList& shares,
                                              const IShareHttpServerList* servers);

// The check after loading: bit rate and frame rate clamped; a job without shares gets one default share
// (except a method-0 job whose library folder does not exist).
void ValidateParams(TScreenCaptureParams& params, TShareList& shares);

}  // namespace engine
