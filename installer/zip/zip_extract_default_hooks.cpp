// The extraction as a Hollarin extraction thread calls it: its Qt message pump and the X keyboard.
#include "installer/zip/qt_message_pump.h"
#include "installer/zip/xcb_keyboard_state.h"
#include "installer/zip/zip_extract.h"

namespace hollarin {

TZipExtractHooks DefaultExtractHooks() {
    thread_local TQtMessagePump pump;
    static TXcbKeyboardState keyboard;
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
