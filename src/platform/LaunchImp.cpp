#include "LaunchImp.h"

#include "CompatLayers.h"
#include "Errors.h"
#include "FileSystem.h"
#include "IntRules.h"
#include "Messages.h"
#include "Owners.h"
#include "Paths.h"
#include "TempFileImp.h"
#include "Texts.h"

#include <windows.h>

#include <memory>
#include <optional>

namespace tol {

namespace {

// Opens the new copy to patch it. A virus scanner looks at every new program for a
// moment, holding it without sharing: that is waited out for a while.
TFileHandle OpenCopy(const std::string& FileName)
{
    constexpr DWORD Patience = 2000, Pause = 50; // ms
    for (DWORD Waited = 0;; Waited += Pause) {
        TFileHandle File(::CreateFileA(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (File.Valid() || ::GetLastError() != ERROR_SHARING_VIOLATION || Waited >= Patience)
            return File;
        ::Sleep(Pause);
    }
}

void WriteZoneName(const std::string& FileName, std::int32_t Offset, const TZoneName& ZoneName)
{
    const TFileHandle File = OpenCopy(FileName);
    if (!File.Valid())
        throw EFOpenError(FileName);
    // The tutorial was measured before it was copied; a copy that has come out shorter
    // (the tutorial changed meanwhile) is never lengthened.
    LARGE_INTEGER Size{};
    if (!::GetFileSizeEx(File.Get(), &Size) || Offset + static_cast<LONGLONG>(ZoneName.size()) > Size.QuadPart)
        throw EWriteError(FileName);
    if (::SetFilePointer(File.Get(), Offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER
        && ::GetLastError() != NO_ERROR)
        throw EWriteError(FileName);
    DWORD Written = 0;
    if (!::WriteFile(File.Get(), ZoneName.data(), static_cast<DWORD>(ZoneName.size()), &Written, nullptr)
        || Written != ZoneName.size())
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

// The reason Run refuses its input, with the control to put right; none when the input
// can be launched. Nothing is created before this answers.
struct TRefusal {
    std::string Text;
    void (IZoneRunHost::*Focus)();
};

std::optional<TRefusal> CheckInput(const IZoneRunHost& Host, const std::string& TutorialFileName,
                                   const std::optional<std::int32_t>& Offset)
{
    const auto Size = FindFileSize(TutorialFileName);
    if (!Size)
        return TRefusal{FormatText(Texts::TutorialMissing, TutorialFileName), &IZoneRunHost::FocusTutorial};
    if (!Offset)
        return TRefusal{Texts::OffsetNotNumeric, &IZoneRunHost::FocusOffset};
    if (*Offset < 0)
        return TRefusal{Texts::OffsetNegative, &IZoneRunHost::FocusOffset};
    // A field past the end would lengthen the copy instead of patching it, and start it
    // unpatched; "$7FFFFFFF" would write a 2 GiB file into the game's folder.
    if (static_cast<std::uint64_t>(*Offset) + ZoneFieldSize > *Size)
        return TRefusal{Texts::OffsetOutsideTutorial, &IZoneRunHost::FocusOffset};
    const auto InternalName = Host.GetSelectedInternalName();
    if (!InternalName)
        return TRefusal{Texts::NoZoneSelected, &IZoneRunHost::FocusZones};
    if (InternalName->empty())
        return TRefusal{Texts::ZoneWithoutInternalName, &IZoneRunHost::FocusZones};
    return std::nullopt;
}

// True when the file can be read, whoever else has it open.
bool CanRead(const std::string& FileName)
{
    return TFileHandle(::CreateFileA(FileName.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr))
        .Valid();
}

// Copies the tutorial program beside itself under a fresh unique name; none when the
// tutorial's folder takes no new file (a player without elevation under Program
// Files), and then nothing is left behind. A name already taken there (a copy still
// running or held open) is never replaced: another is drawn.
std::unique_ptr<TTempFile> CopyTutorial(const std::string& TutorialFileName)
{
    for (int Attempt = 1;; ++Attempt) {
        // The copy gets the temporary file's unique name but lies beside the tutorial
        // program, whose folder the started copy expects as its own.
        auto Copy = std::make_unique<TTempFile>(CopyPrefix, CopyExtension);
        const std::string Twin = Copy->GetFileName();
        Copy->SetFileName(ExtractFilePath(TutorialFileName) + ExtractFileName(Twin));
        // A path the ANSI calls do not take is refused before anything is made: Wine's
        // copy takes a longer target all the same, and would leave a copy that neither
        // the patching nor a later start's search could reach.
        if (Copy->GetFileName().size() >= MAX_PATH)
            throw EFOpenError(Copy->GetFileName());
        if (::CopyFileA(TutorialFileName.c_str(), Copy->GetFileName().c_str(), TRUE))
            return Copy;
        const DWORD Error = ::GetLastError();
        if (Error == ERROR_ACCESS_DENIED && CanRead(TutorialFileName)) {
            ::DeleteFileA(Twin.c_str());
            return nullptr;
        }
        if ((Error != ERROR_FILE_EXISTS && Error != ERROR_ALREADY_EXISTS) || Attempt == UniqueNameAttempts)
            throw EFOpenError(Copy->GetFileName());
    }
}

// A copy under another name gets none of the compatibility settings the player made
// for the tutorial program; the copy inherits them from the launcher's environment.
// Windows keeps them under the program's full path, the player's own before the
// machine's; the launcher's environment is otherwise left as it is.
void PassCompatLayers(const std::string& TutorialFileName)
{
    constexpr char LayersKey[] = R"(Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Layers)";
    const auto FullName = GetFullPath(TutorialFileName);
    if (!FullName)
        return;
    for (HKEY Root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        // The 64-bit view, where the Compatibility page of 64-bit Windows writes.
        HKEY Opened = nullptr;
        if (::RegOpenKeyExA(Root, LayersKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &Opened) != ERROR_SUCCESS)
            continue;
        const TRegKey Key(Opened);
        char Value[1024];
        DWORD Size = sizeof Value;
        if (::RegGetValueA(Key.Get(), nullptr, FullName->c_str(), RRF_RT_REG_SZ, nullptr, Value, &Size)
            == ERROR_SUCCESS) {
            ::SetEnvironmentVariableA("__COMPAT_LAYER", CompatLayerNames(Value).c_str());
            return;
        }
    }
}

// Shows Refusal's text as a warning and puts the focus where the player can put it right.
void Refuse(IZoneRunHost& Host, const TRefusal& Refusal)
{
    ShowMessageBox(TMessageKind::Warning, Refusal.Text);
    (Host.*Refusal.Focus)();
}

// The selected row's internal name as the zone-name field; empty when none is selected.
TZoneName GetSelectedZoneName(const IZoneRunHost& Host)
{
    return StringToZoneName(Host.GetSelectedInternalName().value_or(std::string()));
}

} // namespace

void RunZone(IZoneRunHost& Host)
{
    const std::string TutorialFileName = Host.GetTutorialText();
    const auto Offset = TryStrToInt(Host.GetOffsetText());
    if (const auto Refusal = CheckInput(Host, TutorialFileName, Offset)) {
        Refuse(Host, *Refusal);
        return;
    }

    {
        const auto Copy = CopyTutorial(TutorialFileName);
        if (!Copy) {
            Refuse(Host, {FormatText(Texts::FolderNotWritable, ExtractFileDir(TutorialFileName)),
                          &IZoneRunHost::FocusTutorial});
            return;
        }
        ClearReadOnly(Copy->GetFileName());
        WriteZoneName(Copy->GetFileName(), *Offset, GetSelectedZoneName(Host));
        PassCompatLayers(TutorialFileName);
        // When starting fails, Execute has shown why; the launcher's work is done all the same.
        Copy->Execute();
    }
    Host.Close();
}

} // namespace tol
