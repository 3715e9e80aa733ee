// The texts the launcher shows, in one place. "%s" stands for the offending path.
#pragma once

namespace tol::Texts {

inline constexpr char AppTitle[] = "Tolvane";
inline constexpr char WarningCaption[] = "Warning";
inline constexpr char ErrorCaption[] = "Error";

inline constexpr char IniFileMissing[] = "Initialization file, \"%s\", not found.";
inline constexpr char TutorialMissing[] = "Tutorial file, \"%s\", not found.";
inline constexpr char OffsetNotNumeric[] = "Invalid Offset.  Offset must be numeric.";
inline constexpr char OffsetNegative[] = "Invalid Offset.  Offset must not be negative.";
inline constexpr char OffsetOutsideTutorial[] = "Invalid Offset.  Offset must lie within the tutorial program.";
inline constexpr char NoZoneSelected[] = "Select a zone to explore.";
inline constexpr char ZoneWithoutInternalName[] = "The selected zone has no internal name.";
inline constexpr char UnableToExecute[] = "Unable to %s file \"%s\".  ";
inline constexpr char NoReasonGiven[] = "The system gave no reason (code %d).";

} // namespace tol::Texts
