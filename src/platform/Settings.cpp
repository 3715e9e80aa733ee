#include "Settings.h"

#include "Errors.h"
#include "FileSystem.h"
#include "IntRules.h"
#include "Messages.h"
#include "Paths.h"
#include "Texts.h"

#include <windows.h>

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

std::string GetExecutableFileName()
{
    char Buffer[MAX_PATH + 1];
    const DWORD Length = ::GetModuleFileNameA(nullptr, Buffer, sizeof Buffer);
    return std::string(Buffer, Length < sizeof Buffer ? Length : 0);
}

} // namespace

bool InitIniFileName()
{
    IniFileName = ExtractFilePath(GetExecutableFileName()) + "TOL.ini";
    if (FileExists(IniFileName))
        return true;
    ShowMessageBox(TMessageKind::Error, FormatText(Texts::IniFileMissing, IniFileName));
    return false;
}

std::string GetTutorialFileName()
{
    return GetIniFile().ReadString(SettingsSection, "Tutorial", DefaultTutorialFileName);
}

std::int32_t GetOffset()
{
    return StrToInt(GetIniFile().ReadString(SettingsSection, "Offset", DefaultOffset));
}

void LoadZones(const std::function<void(const TZone&)>& AddZone)
{
    std::vector<std::string> Lines;
    GetIniFile().ReadSectionValues(ZonesSection, Lines);
    Zones.assign(Lines.size(), TZone{});
    for (std::size_t I = 0; I < Lines.size(); ++I)
        Zones[I] = ParseZoneLine(Lines[I]);
    for (const auto& Zone : Zones)
        AddZone(Zone);
}

void ReleaseIniFile() noexcept
{
    IniFile.reset();
}

} // namespace tol
