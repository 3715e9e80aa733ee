#include "LaunchImp.h"

#include "Errors.h"
#include "FileSystem.h"
#include "IntRules.h"
#include "Messages.h"
#include "Owners.h"
#include "Paths.h"
#include "TempFileImp.h"
#include "Texts.h"

#include <windows.h>

namespace tol {

namespace {

constexpr char CopyPrefix[] = "TOL";
constexpr char CopyExtension[] = "EXE";

void WriteZoneName(const std::string& FileName, std::int32_t Offset, const TZoneName& ZoneName)
{
    const TFileHandle File(::CreateFileA(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!File.Valid())
        throw EFOpenError(FileName);
    if (::SetFilePointer(File.Get(), Offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER
        && ::GetLastError() != NO_ERROR)
        throw EWriteError(FileName);
    DWORD Written = 0;
    if (!::WriteFile(File.Get(), ZoneName.data(), ZoneName.size(), &Written, nullptr) || Written != ZoneName.size())
        throw EWriteError(FileName);
}

// The copy takes the tutorial program's attributes. A read-only copy could not be
// patched on Windows, and no later start's clean-up could delete it; it is the
// launcher's own file, so the mark goes.
void ClearReadOnly(const std::string& FileName)
{
    const DWORD Attributes = ::GetFileAttributesA(FileName.c_str());
    if (Attributes == INVALID_FILE_ATTRIBUTES || !(Attributes & FILE_ATTRIBUTE_READONLY))
        return;
    const DWORD Rest = Attributes & static_cast<DWORD>(~FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesA(FileName.c_str(), Rest ? Rest : FILE_ATTRIBUTE_NORMAL);
}

} // namespace

TZoneName GetSelectedZoneName(const IZoneRunHost& Host)
{
    return StringToZoneName(Host.GetSelectedInternalName().value_or(std::string()));
}

void RunZone(IZoneRunHost& Host)
{
    const std::string TutorialFileName = Host.GetTutorialText();
    if (!FileExists(TutorialFileName)) {
        ShowMessageBox(TMessageKind::Warning, FormatText(Texts::TutorialMissing, TutorialFileName));
        Host.FocusTutorial();
        return;
    }

    const auto Offset = TryStrToInt(Host.GetOffsetText());
    if (!Offset || *Offset < 0) {
        ShowMessageBox(TMessageKind::Warning, Offset ? Texts::OffsetNegative : Texts::OffsetNotNumeric);
        Host.FocusOffset();
        return;
    }

    if (!Host.GetSelectedInternalName()) {
        ShowMessageBox(TMessageKind::Warning, Texts::NoZoneSelected);
        Host.FocusZones();
        return;
    }

    {
        // The copy gets the temporary file's unique name but lies beside the tutorial
        // program, whose folder the started copy expects as its own.
        TTempFile Copy(CopyPrefix, CopyExtension);
        Copy.SetFileName(ExtractFilePath(TutorialFileName) + ExtractFileName(Copy.GetFileName()));
        // A path the ANSI calls do not take is refused before anything is made: Wine's
        // copy takes a longer target all the same, and would leave a copy that neither
        // the patching nor a later start's search could reach.
        if (Copy.GetFileName().size() >= MAX_PATH)
            throw EFOpenError(Copy.GetFileName());
        if (!::CopyFileA(TutorialFileName.c_str(), Copy.GetFileName().c_str(), FALSE))
            throw EFOpenError(Copy.GetFileName());
        ClearReadOnly(Copy.GetFileName());
        WriteZoneName(Copy.GetFileName(), *Offset, GetSelectedZoneName(Host));
        // When starting fails, Execute has shown why; the launcher's work is done all the same.
        Copy.Execute();
    }
    Host.Close();
}

} // namespace tol
