// Where the program keeps its data and where it is installed.
//
// Data folder, first rule that applies (kept for the rest of the run):
//   1. HKEY_LOCAL_MACHINE "SOFTWARE\Framewick" "RootAppPath" is set (and the major version known):
//      RootAppPath/Framewick/Inst<n>/  (not created here);
//   2. the program does not lie below a program-files folder (/usr, /opt): the program's own folder;
//   3. the user's data folder ($XDG_DATA_HOME, else ~/.local/share) exists and the major version and
//      program name are known: <it>/Quillmar/Framewick/v<major>/ (created with its parents);
//   4. "" (data files are then relative to the current folder).
// Install folder: HKEY_LOCAL_MACHINE "SOFTWARE\Quillmar\Framewick\v<major>\<edition>" "Root", else
// the program's folder.
#pragma once

#include <string>
#include <vector>

namespace app {

// The edition subkey at the end of the install-root key path, as the product's installer writes it.
inline constexpr const char* kInstallEditionKey = "Standard";

struct TDataFolderInputs {
    std::string MajorVersion;
    std::string ExeName;
    std::string ProgramFile;                       // full path of the program file
    std::vector<std::string> ProgramFilesFolders;  // with trailing "/"
    std::string UserDataFolder;                    // "" when unknown
    std::string RootAppPath;                       // "" when not set
    int Instance = 0;
};

// The rules above applied to inputs (rule 3 creates the folder).
std::string ComputeDataFolder(const TDataFolderInputs& inputs);
// The inputs of this process: version, program file, /usr and /opt, $XDG_DATA_HOME, the registry.
TDataFolderInputs CurrentDataFolderInputs();
// The data folder with a trailing "/", computed on the first call.
std::string GetDataFolder();

// The "Root" value of the install-root key for product and the major version of fileName; "" when
// missing. For "Framewick" a found value is kept and returned by later calls.
std::string ReadInstallRoot(const std::string& fileName, const std::string& product);
// ReadInstallRoot(program file, "Framewick") with a trailing "/", else the program's folder.
std::string GetInstallFolder();

// An installed VLC: "InstallDir" of HKEY_LOCAL_MACHINE, then HKEY_CURRENT_USER, "SOFTWARE\VideoLAN\VLC"
// when it names an existing folder; else the system's libVLC folder (holding libvlc.so.5 and
// vlc/plugins/) when there is one.
struct TVlcInstall {
    bool Found = false;
    std::string Dir;  // with a trailing "/" when found
};
// Looks again (systemFolders after the registry) and keeps the answer for VlcInstall().
TVlcInstall ReadVlcInstallDir(const std::vector<std::string>& systemFolders);
TVlcInstall ReadVlcInstallDir();
TVlcInstall VlcInstall();

// The folders searched for the system's libVLC when the registry names none.
std::vector<std::string> SystemLibVlcFolders();

}  // namespace app
