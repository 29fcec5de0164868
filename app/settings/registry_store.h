// Per-user state kept in the registry (HKEY_CURRENT_USER):
//   InstanceRegKey  "SOFTWARE\Quillmar\Framewick\v<major>\<exe name>\Inst<n>": window positions,
//                   column widths ("w_" + column + "_" + list name), one-off flags, VlcIni;
//   ExeRegKey       "SOFTWARE\Quillmar\Framewick\v<major>\<exe name>": the preferred libVLC version.
// Both are empty when the major version or the program name is unknown, and the routines then do
// nothing. Every routine swallows registry failures: readers return their default or false, writers
// write nothing. Window positions read back are clamped to the current monitors.
#pragma once

#include <cstdint>
#include <string>

namespace app {

std::string MakeExeRegKey(const std::string& major, const std::string& exeName);
std::string MakeInstanceRegKey(const std::string& major, const std::string& exeName, int instance);

// The keys of this program and instance (InstanceIndex), computed on first use and kept for the run.
std::string InstanceRegKey();
std::string ExeRegKey();

std::string RegReadExeString(const std::string& name, const std::string& def);
void RegWriteExeString(const std::string& name, const std::string& value);

int32_t RegReadInstInteger(const std::string& name, int32_t def);
bool RegReadInstBool(const std::string& name, bool def);
void RegWriteInstInteger(const std::string& name, int32_t value);
void RegWriteInstBool(const std::string& name, bool value);

// "w_" + column + "_" + list name: the value that keeps a list view column's width.
std::string ColumnWidthValueName(int column, const std::string& listName);

bool ReadDpiDialog();
void WriteDpiDialog(bool value);

// "leftPos_" + name and "topPos_" + name.
void WriteFormOrigin(const std::string& name, int left, int top);
// False when the key or either value is missing; otherwise the origin, moved to 0 on each axis where
// it lies outside the desktop.
bool ReadFormOrigin(const std::string& name, int& left, int& top);

// "PosTop_", "PosLeft_", "DimWidth_", "DimHeight_" + name.
struct TFormBounds {
    int Top = 0;
    int Left = 0;
    int Height = 0;
    int Width = 0;
};
void WriteFormBounds(const std::string& name, const TFormBounds& bounds);
// False when a value is missing (those found before it are already in bounds); otherwise the bounds,
// moved so the window lies inside the work area of the monitor nearest its top-left corner.
bool ReadFormBounds(const std::string& name, TFormBounds& bounds);

}  // namespace app
