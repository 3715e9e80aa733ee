// The settings file "TOL.ini" beside the executable and the zone catalogue it holds.
// Nothing is ever written to it.
#pragma once

#include "GlobalImp.h"
#include "IniFileImp.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tol {

inline constexpr char DefaultTutorialFileName[] = "C:\\Program Files\\EverQuest\\Tutorial.exe";
inline constexpr char DefaultOffset[] = "1669500";
// The other offset the offset box offers.
inline constexpr char SecondOffset[] = "1669008";

// The exit code of a start that found no settings file: a failure, not a success.
inline constexpr int ExitCodeNoSettings = 1;

extern std::string IniFileName;           // set once by InitIniFileName
extern std::unique_ptr<TIniFile> IniFile; // created by the first read
extern std::vector<TZone> Zones;          // filled once by LoadZones

// Sets IniFileName to "TOL.ini" in the executable's folder. When no file exists there,
// shows the error and returns false: the program must end with ExitCodeNoSettings.
bool InitIniFileName();

// The "Tutorial" setting as written; without one, DefaultTutorialFileName, or where
// only that does not exist but the game is installed under the 32-bit program folder
// of 64-bit Windows, the tutorial program there.
std::string GetTutorialFileName();

// Raises EConvertError when the stored text is not an integer.
std::int32_t GetOffset();

// Fills Zones from the "Zones" section, in its order.
void LoadZones();

// Releases the settings reader; the next read creates a new one.
void ReleaseIniFile() noexcept;

} // namespace tol
