// The in-process server of the audio-grab filter: its factory table and the four exports COM looks
// for. Registration writes the class key and the filter mapper's entry.
#include "platform/dshow/class_factory.h"
#include "platform/filters/AudioGrabFilter.h"

namespace {

const REGPINTYPES kOutputTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const REGFILTERPINS kPins[] = {{"Output", FALSE, TRUE, FALSE, FALSE, nullptr, nullptr, 1, kOutputTypes}};
const REGFILTER2 kFilterRegistration = {1, MERIT_DO_NOT_USE, 1, kPins};

const dshow::TFactoryTemplate kTemplates[] = {{platform::TAudioGrabFilter::kFilterName, &CLSID_AudioGrabFilter,
                                               &platform::TAudioGrabFilter::CreateObject, &kFilterRegistration}};

}  // namespace

#define FW_EXPORT extern "C" __attribute__((visibility("default")))

FW_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return dshow::GetClassObjectFromTemplates(kTemplates, platform::TAudioGrabFilter::Module(), clsid, riid, ppv);
}

FW_EXPORT HRESULT DllCanUnloadNow() { return platform::TAudioGrabFilter::Module().CanUnloadNow(); }

FW_EXPORT HRESULT DllRegisterServer() {
    return dshow::RegisterTemplates(kTemplates, ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer)));
}

FW_EXPORT HRESULT DllUnregisterServer() { return dshow::UnregisterTemplates(kTemplates); }
