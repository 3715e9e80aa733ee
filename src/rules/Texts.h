// The texts the launcher's windows show, in one place. "%s" stands for the offending
// path. The exceptions' own texts stay with their classes in Errors.cpp: the rules
// raise them, and tests compare them, without any window.
#pragma once

#include <string_view>

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
inline constexpr char FolderNotWritable[] =
    "Cannot write in \"%s\". Start Tolvane as administrator, or keep the game in a folder you may write to.";
inline constexpr char UnableToExecute[] = "Unable to %s file \"%s\".  ";
inline constexpr char NoReasonGiven[] = "The system gave no reason (code %d).";

// The main window's captions and tooltips. A view-style hint is its tooltip, a "|",
// and its long form.
inline constexpr char TutorialLabel[] = "Tutorial program:";
inline constexpr char OffsetLabel[] = "Offset:";
inline constexpr char BrowseCaption[] = "Browse..."; // also the browse button's tooltip
inline constexpr char RunCaption[] = "&Run";
inline constexpr char AboutCaption[] = "&About...";
inline constexpr char TutorialHint[] = "Location of tutorial.exe";
inline constexpr char ZonesHint[] = "Select a zone to explore.";
inline constexpr char ZoneNameColumn[] = "Zone Name";
inline constexpr char InternalNameColumn[] = "Internal Name";
inline constexpr char StatusColumn[] = "Status";
inline constexpr char LargeIconsHint[] = "Large Icons | Displays items by using large icons.";
inline constexpr char SmallIconsHint[] = "Small Icons | Displays items by using small icons.";
inline constexpr char ListHint[] = "List | Displays items in a list.";
inline constexpr char DetailsHint[] = "Details | Displays information about each item.";
inline constexpr char BrowseTitle[] = "Select tutorial.exe...";
inline constexpr char BrowseFilter[] = "Program Files (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";

// The About box and the message boxes.
inline constexpr char AboutTitle[] = "About...";
inline constexpr char MailToPrefix[] = "E-Mail:  ";
inline constexpr char MailToName[] = "Tolvane";
inline constexpr char MailToLine[] = "E-Mail:  Tolvane";
static_assert(std::string_view(MailToLine).substr(0, sizeof MailToPrefix - 1) == MailToPrefix
                  && std::string_view(MailToLine).substr(sizeof MailToPrefix - 1) == MailToName,
              "the mail-to line is its prefix and the link's name");
inline constexpr char OkCaption[] = "OK";

// Failures of the window layer, for the general handler.
inline constexpr char ControlNotCreated[] = "Cannot create control %s";
inline constexpr char ImageListNotCreated[] = "Cannot create image list";
inline constexpr char ToolTipNotAdded[] = "Cannot add a tooltip";
inline constexpr char TextNotMeasured[] = "Cannot measure text";
inline constexpr char ZonesNotListed[] = "Cannot list the zones";
inline constexpr char WindowClassNotRegistered[] = "Cannot register window class %s";
inline constexpr char WindowNotCreated[] = "Cannot create window %s";

// What the general handler shows of a failure that brought no text of its own; the
// last is shown as it is when even adding the full stop fails.
inline constexpr char OutOfMemory[] = "Out of memory";
inline constexpr char UnexpectedFailure[] = "Unexpected failure";
inline constexpr char OutOfMemoryStop[] = "Out of memory.";

} // namespace tol::Texts
