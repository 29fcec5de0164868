// Column widths of the list views, kept per instance in the registry as "w_" + column + "_" + list.
#pragma once

#include <map>
#include <string>

class QHeaderView;

namespace app {

// Every column's width from the registry; a value that cannot be read takes the width of defaults for
// that column, or keeps the column's width when defaults names none.
void LoadColumnWidths(QHeaderView& header, const std::string& listName, const std::map<int, int>& defaults);
// Every column's width into the registry (write errors are ignored).
void SaveColumnWidths(const QHeaderView& header, const std::string& listName);

}  // namespace app
