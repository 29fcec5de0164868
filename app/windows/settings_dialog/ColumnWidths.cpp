#include "app/windows/settings_dialog/ColumnWidths.h"

#include <QHeaderView>

#include "app/settings/registry_store.h"

namespace app {

void LoadColumnWidths(QHeaderView& header, const std::string& listName, const std::map<int, int>& defaults) {
    for (int column = 0; column < header.count(); ++column) {
        const auto fallback = defaults.find(column);
        const int def = fallback != defaults.end() ? fallback->second : header.sectionSize(column);
        const int width = RegReadInstInteger(ColumnWidthValueName(column, listName), def);
        header.resizeSection(column, width > 0 ? width : def);
    }
}

void SaveColumnWidths(const QHeaderView& header, const std::string& listName) {
    for (int column = 0; column < header.count(); ++column)
        RegWriteInstInteger(ColumnWidthValueName(column, listName), header.sectionSize(column));
}

}  // namespace app
