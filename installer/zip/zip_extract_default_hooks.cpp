// The extraction as a Hollarin extraction thread calls it: its Qt message pump and the X keyboard.
#include "installer/zip/zip_extract.h"
#include "platform/display/xcb_keyboard_state.h"
#include "platform/ui/qt_message_pump.h"

namespace hollarin {

TZipExtractHooks DefaultExtractHooks() {
    thread_local platform::TQtMessagePump pump;
    static platform::TXcbKeyboardState keyboard;
    TZipExtractHooks hooks;
    hooks.Pump = &pump;
    hooks.Keyboard = &keyboard;
    return hooks;
}

int ExtractZipEntry(const char* ZipName, const char* OutName, uint16_t Attr, uint32_t HeaderOffset,
                    TZipProgressWindow* ProgressWnd, uint16_t ProgressId) {
    return ExtractZipEntry(ZipName, OutName, Attr, HeaderOffset, ProgressWnd, ProgressId, DefaultExtractHooks());
}

}  // namespace hollarin
