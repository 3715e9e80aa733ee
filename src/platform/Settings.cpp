#include "Settings.h"

#include "Errors.h"
#include "FileSystem.h"
#include "IntRules.h"
#include "Messages.h"
#include "Paths.h"
#include "Texts.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>

namespace tol {

std::string IniFileName;
std::unique_ptr<TIniFile> IniFile;
std::vector<TZone> Zones;

namespace {

constexpr char SettingsSection[] = "Settings";
constexpr char ZonesSection[] = "Zones";

TIniFile& GetIniFile()
{
    if (!IniFile)
        IniFile = std::make_unique<TIniFile>(IniFileName);
    return *IniFile;
}

// The executable's full path when the system gives it whole in Size characters.
std::optional<std::string> GetExecutableFileName(DWORD Size)
{
    std::string Buffer(Size, '\0');
    const DWORD Length = ::GetModuleFileNameA(nullptr, Buffer.data(), Size);
    if (Length == 0 || Length >= Size)
        return std::nullopt;
    Buffer.resize(Length);
    return Buffer;
}

// The game is a 32-bit program: on 64-bit Windows it installs under the 32-bit
// program folder (C:\Program Files (x86)), which the usual path does not name.
std::string FindDefaultTutorial()
{
    if (FileExists(DefaultTutorialFileName))
        return DefaultTutorialFileName;
    char Folder[MAX_PATH];
    if (SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, Folder))) {
        std::string Installed = std::string(Folder) + "\\EverQuest\\Tutorial.exe";
        if (FileExists(Installed))
            return Installed;
    }
    return DefaultTutorialFileName;
}

} // namespace

bool InitIniFileName()
{
    if (const auto Executable = GetExecutableFileName(MAX_PATH + 1)) {
        IniFileName = ExtractFilePath(*Executable) + "TOL.ini";
        if (FileExists(IniFileName))
            return true;
    } else {
        // A path the system cannot give whole is unknown, or too long for the settings
        // service as well: the file is as good as missing. A bare "TOL.ini" is never
        // looked up (the service would look in the Windows folder, the existence test
        // in the current one); the message names the file as fully as the system can.
        IniFileName = ExtractFilePath(GetExecutableFileName(32768).value_or("")) + "TOL.ini";
    }
    ShowMessageBox(TMessageKind::Error, FormatText(Texts::IniFileMissing, IniFileName));
    return false;
}

std::string GetTutorialFileName()
{
    // The default, unless written so (a second reading with no default tells), may be found elsewhere.
    std::string Value = GetIniFile().ReadString(SettingsSection, "Tutorial", DefaultTutorialFileName);
    if (Value == DefaultTutorialFileName && GetIniFile().ReadString(SettingsSection, "Tutorial", "").empty())
        return FindDefaultTutorial();
    return Value;
}

std::int32_t GetOffset() { return StrToInt(GetIniFile().ReadString(SettingsSection, "Offset", DefaultOffset)); }

void LoadZones()
{
    std::vector<std::string> Lines;
    GetIniFile().ReadSectionValues(ZonesSection, Lines);
    Zones.resize(Lines.size());
    std::ranges::transform(Lines, Zones.begin(), ParseZoneLine);
}

void ReleaseIniFile() noexcept { IniFile.reset(); }

} // namespace tol
