// The library's side of COM: its object count, the classes it offers with their registration data,
// and what the library does when it is loaded.
#pragma once

#include <span>

#include "platform/dshow/class_factory.h"

namespace sinkfilter {

dshow::TComModule& SinkModule();
std::span<const dshow::TFactoryTemplate> SinkFactoryTemplates();
// Sets the settings key, looks up the host's DataOutputIpCallBack and keeps Qt loaded for good.
void InitSinkLibrary();

}  // namespace sinkfilter
