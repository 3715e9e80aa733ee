#include "TestSupport.h"

#include "GlobalImp.h"

#include <shellapi.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tol::test {

void SetFileYear(const std::string& FileName, int Year)
{
    SYSTEMTIME Time{};
    Time.wYear = static_cast<WORD>(Year);
    Time.wMonth = 1;
    Time.wDay = 1;
    FILETIME FileTime;
    if (!SystemTimeToFileTime(&Time, &FileTime))
        throw std::runtime_error("bad year");
    const TFileHandle File(CreateFileA(FileName.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!File || !SetFileTime(File.Get(), &FileTime, &FileTime, &FileTime))
        throw std::runtime_error("cannot date " + FileName);
}

long StandInOffset() { return std::stol(ReadBytes(WinePath(TOLVANE_STANDIN_OFFSET))); }

std::string CopyStandIn(const std::string& FileName, const std::string& Stay)
{
    const std::string Bytes = ReadBytes(WinePath(TOLVANE_STANDIN_EXE));
    WriteBytes(FileName, Bytes);
    WriteBytes(FileName.substr(0, FileName.find_last_of('\\') + 1) + "StandInExit.txt", Stay);
    return Bytes;
}

std::optional<TStandInReport> WaitForStandInReport(const std::string& Folder, std::chrono::milliseconds Deadline)
{
    if (!WaitUntil([&] { return Exists(Folder + "StandInReport.txt"); }, Deadline))
        return std::nullopt;
    const std::string Text = ReadBytes(Folder + "StandInReport.txt");
    const auto Field = [&](const std::string& Key) {
        const auto Start = Text.find(Key + "=");
        if (Start == std::string::npos)
            return std::string();
        const auto From = Start + Key.size() + 1;
        return Text.substr(From, Text.find("\r\n", From) - From);
    };
    return TStandInReport{Field("zone"), Field("folder"), Field("compat")};
}

std::string StartedZone(const std::string& Folder)
{
    const auto Report = WaitForStandInReport(Folder);
    DeleteFileW(Verbatim(Folder + "StandInReport.txt").c_str());
    return Report ? Report->Zone : "<nothing was started>";
}

std::vector<std::string> WildcardPaths(const std::string& Folder)
{
    return {Folder + "*.exe", Folder + "Tutor?al.exe", Folder + "Tutorial.ex*", Folder + "*"};
}

::testing::AssertionResult NothingStartedIn(const std::string& Folder)
{
    const auto Running = ProgramsRunningFrom(Folder);
    if (!Running.empty())
        return ::testing::AssertionFailure() << Running[0] << " runs";
    if (Exists(Folder + "StandInReport.txt"))
        return ::testing::AssertionFailure() << "a stand-in started in " << Folder << " has reported";
    return ::testing::AssertionSuccess();
}

std::string WithZone(std::string Bytes, std::size_t Offset, const std::string& Zone)
{
    if (Bytes.size() < Offset + ZoneFieldSize)
        Bytes.resize(Offset + ZoneFieldSize, '\0');
    return Bytes.replace(Offset, ZoneFieldSize, (Zone + std::string(ZoneFieldSize, '\0')).substr(0, ZoneFieldSize));
}

bool DeleteOnceEnded(const std::string& FileName, std::chrono::milliseconds Deadline)
{
    return WaitUntil([&] { return DeleteFileW(Verbatim(FileName).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; },
                     Deadline, 50ms);
}

std::string SettingsFor(const std::string& Tutorial, const std::string& Offset, const std::string& Zones)
{
    return "[Settings]\r\nTutorial=" + Tutorial + "\r\nOffset=" + Offset + "\r\n[Zones]\r\n" + Zones;
}

HWND MainWindowOf(const TProcess& Program)
{
    HWND Main = nullptr;
    const auto ShownOrEnded = [&] {
        if (const HWND Box = TopWindow({"#32770", {}, Program.Id()})) {
            ADD_FAILURE() << "a box came first: " << Text(Box) << ": "
                          << testing::PrintToString(ChildTexts(Box, "Static"));
            PressKeyIn(Box, VK_RETURN);
        }
        return (Main = TopWindow({"TFormMain", "Tolvane", Program.Id()})) || !Program.Running();
    };
    WaitUntil(ShownOrEnded, 20s);
    return Main;
}

::testing::AssertionResult NothingLost(const TDiskSnapshot& Snapshot, const std::vector<std::string>& ByProducts)
{
    const auto Found = Snapshot.Differences(ByProducts);
    if (Found.empty())
        return ::testing::AssertionSuccess();
    auto Failure = ::testing::AssertionFailure();
    for (const auto& Line : Found)
        Failure << "\n  " << Line;
    return Failure;
}

std::string TSettingsBesideExe::Path()
{
    char Buffer[MAX_PATH + 1];
    const std::string Exe(Buffer, GetModuleFileNameA(nullptr, Buffer, sizeof Buffer));
    return Exe.substr(0, Exe.find_last_of('\\') + 1) + "TOL.ini";
}

TScopedRegistryValue::TScopedRegistryValue(HKEY Root, const char* Key, std::string Name) : FName(std::move(Name))
{
    if (RegCreateKeyExA(Root, Key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &FKey,
                        nullptr)
        != ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot open the registry key ") + Key);
    DWORD Size = 0;
    FHadOld = RegQueryValueExA(FKey, FName.c_str(), nullptr, &FOldType, nullptr, &Size) == ERROR_SUCCESS;
    FOld.resize(Size);
    if (FHadOld)
        RegQueryValueExA(FKey, FName.c_str(), nullptr, &FOldType, FOld.data(), &Size);
}

TScopedRegistryValue::TScopedRegistryValue(HKEY Root, const char* Key, std::string Name,
                                           const std::optional<std::string>& Text)
    : TScopedRegistryValue(Root, Key, std::move(Name))
{
    Set(REG_SZ, Text ? Text->c_str() : nullptr, Text ? Text->size() + 1 : 0);
}

TScopedRegistryValue::TScopedRegistryValue(HKEY Root, const char* Key, std::string Name, DWORD Number)
    : TScopedRegistryValue(Root, Key, std::move(Name))
{
    Set(REG_DWORD, &Number, sizeof Number);
}

TScopedRegistryValue::~TScopedRegistryValue()
{
    Set(FOldType, FHadOld ? FOld.data() : nullptr, FOld.size());
    RegCloseKey(FKey);
}

void TScopedRegistryValue::Set(DWORD Type, const void* Data, std::size_t Size) const
{
    if (Data)
        RegSetValueExA(FKey, FName.c_str(), 0, Type, static_cast<const BYTE*>(Data), static_cast<DWORD>(Size));
    else
        RegDeleteValueA(FKey, FName.c_str());
}

TScopedEnvironment::TScopedEnvironment(std::string Name, const std::optional<std::string>& Value)
    : FName(std::move(Name))
{
    char Buffer[32768];
    const DWORD Length = GetEnvironmentVariableA(FName.c_str(), Buffer, sizeof Buffer);
    FHadOld = Length > 0 && Length < sizeof Buffer;
    if (FHadOld)
        FOld.assign(Buffer, Length);
    SetEnvironmentVariableA(FName.c_str(), Value ? Value->c_str() : nullptr);
}

TScopedEnvironment::~TScopedEnvironment() { SetEnvironmentVariableA(FName.c_str(), FHadOld ? FOld.c_str() : nullptr); }

TCurrentTestFolder::TCurrentTestFolder() : TTestFolder("current")
{
    char Buffer[MAX_PATH + 1];
    const DWORD Length = GetCurrentDirectoryA(sizeof Buffer, Buffer);
    if (Length == 0 || Length >= sizeof Buffer || !SetCurrentDirectoryA(Path().c_str()))
        throw std::runtime_error("cannot make " + Path() + " the current folder");
    FPrevious.assign(Buffer, Length);
}

TCurrentTestFolder::~TCurrentTestFolder() { SetCurrentDirectoryA(FPrevious.c_str()); }

namespace {

// The slot of the program's import table through which it calls Function of Dll.
void** ImportSlot(const char* Dll, const char* Function)
{
    auto* Base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* Dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Base);
    const auto* Nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(Base + Dos->e_lfanew);
    const auto& Directory = Nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* Import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(Base + Directory.VirtualAddress); Import->Name;
         ++Import) {
        if (lstrcmpiA(reinterpret_cast<const char*>(Base + Import->Name), Dll) != 0 || !Import->OriginalFirstThunk)
            continue;
        auto* Names = reinterpret_cast<IMAGE_THUNK_DATA*>(Base + Import->OriginalFirstThunk);
        auto* Slots = reinterpret_cast<IMAGE_THUNK_DATA*>(Base + Import->FirstThunk);
        for (; Names->u1.AddressOfData; ++Names, ++Slots) {
            if (IMAGE_SNAP_BY_ORDINAL(Names->u1.Ordinal))
                continue;
            const auto* ByName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(Base + Names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(ByName->Name), Function) == 0)
                return reinterpret_cast<void**>(&Slots->u1.Function);
        }
    }
    throw std::runtime_error(std::string("the program does not import ") + Function);
}

void WriteSlot(void** Slot, void* Value)
{
    DWORD Old = 0;
    if (!VirtualProtect(Slot, sizeof *Slot, PAGE_READWRITE, &Old))
        throw std::runtime_error("cannot write the import table");
    *Slot = Value;
    VirtualProtect(Slot, sizeof *Slot, Old, &Old);
}

const TImportRedirect* FixedNumberRedirect = nullptr;
unsigned FixedNumber = 0;

UINT WINAPI GetTempFileNameWithFixedNumber(LPCSTR Path, LPCSTR Prefix, UINT Unique, LPSTR TempFileName)
{
    const auto System = FixedNumberRedirect->System<decltype(GetTempFileNameA)>();
    if (Unique || !FixedNumber)
        return System(Path, Prefix, Unique, TempFileName);
    const UINT Number = System(Path, Prefix, std::exchange(FixedNumber, 0u), TempFileName);
    if (Number) {
        const TFileHandle File(
            CreateFileA(TempFileName, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!File)
            return 0; // the reason stays in the last error, as with the system's own call
    }
    return Number;
}

std::string ProgramPath;

DWORD WINAPI GetModuleFileNameAsGiven(HMODULE, LPSTR Buffer, DWORD Size)
{
    if (ProgramPath.empty()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const DWORD Length = static_cast<DWORD>(std::min<std::size_t>(ProgramPath.size(), Size - 1));
    std::copy_n(ProgramPath.begin(), Length, Buffer);
    Buffer[Length] = '\0';
    if (Length < ProgramPath.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return Size;
    }
    return Length;
}

// The system's text for Error, without its line end.
std::string SystemText(DWORD Error)
{
    char Buffer[512];
    DWORD Length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, Error, 0, Buffer,
                                  sizeof Buffer, nullptr);
    while (Length && (Buffer[Length - 1] == '\r' || Buffer[Length - 1] == '\n' || Buffer[Length - 1] == ' '))
        --Length;
    return std::string(Buffer, Length);
}

BOOL WINAPI ShellExecuteExThatFails(SHELLEXECUTEINFOA* Info)
{
    TFailingShell::Mask = Info->fMask;
    TFailingShell::Owner = Info->hwnd;
    TFailingShell::OwnerEnabled = IsWindowEnabled(Info->hwnd);
    Info->hInstApp = reinterpret_cast<HINSTANCE>(TFailingShell::Result);
    SetLastError(TFailingShell::Error);
    return FALSE;
}

} // namespace

TImportRedirect::TImportRedirect(const char* Dll, const char* Function, void* Replacement)
    : FSlot(ImportSlot(Dll, Function)), FSystem(*FSlot)
{
    WriteSlot(FSlot, Replacement);
}

TImportRedirect::~TImportRedirect() { WriteSlot(FSlot, FSystem); }

TFixedUniqueNumber::TFixedUniqueNumber(unsigned Number)
    : TImportRedirect("kernel32.dll", "GetTempFileNameA", reinterpret_cast<void*>(&GetTempFileNameWithFixedNumber))
{
    FixedNumberRedirect = this;
    FixedNumber = Number;
}

TFailingShell::TFailingShell()
    : TImportRedirect("shell32.dll", "ShellExecuteExA", reinterpret_cast<void*>(&ShellExecuteExThatFails))
{
    Result = 0;
    Error = ERROR_SUCCESS;
    Mask = 0;
    Owner = nullptr;
    OwnerEnabled = TRUE;
}

std::vector<TLostReason> LostReasons()
{
    return {{0, SystemText(ERROR_NOT_ENOUGH_MEMORY)},
            {SE_ERR_OOM, SystemText(ERROR_NOT_ENOUGH_MEMORY)},
            {SE_ERR_FNF, SystemText(ERROR_FILE_NOT_FOUND)},
            {42, "The system gave no reason (code 42)."}};
}

DWORD WINAPI GetSectionKeepingBlanks(LPCSTR Section, LPSTR Buffer, DWORD Size, LPCSTR FileName)
{
    std::string Lines, Text = ReadBytes(FileName), Line;
    bool InSection = false;
    for (std::size_t Start = 0; Start < Text.size(); Start += Line.size() + 1) {
        Line = Text.substr(Start, Text.find('\n', Start) - Start);
        const std::string Plain = Line.substr(0, Line.find_last_not_of('\r') + 1);
        if (!Plain.empty() && Plain.front() == '[')
            InSection = lstrcmpiA(Plain.c_str(), ("[" + std::string(Section) + "]").c_str()) == 0;
        else if (InSection && !Plain.empty() && Plain.front() != ';')
            Lines += Plain + '\0';
    }
    if (Lines.size() + 1 > Size) { // cut as the service cuts: two zeros at the end
        std::copy_n(Lines.begin(), Size - 2, Buffer);
        Buffer[Size - 2] = Buffer[Size - 1] = '\0';
        return Size - 2;
    }
    std::copy(Lines.begin(), Lines.end(), Buffer);
    Buffer[Lines.size()] = '\0';
    return static_cast<DWORD>(Lines.size());
}

TProgramPath::TProgramPath(std::string Path)
    : TImportRedirect("kernel32.dll", "GetModuleFileNameA", reinterpret_cast<void*>(&GetModuleFileNameAsGiven))
{
    ProgramPath = std::move(Path);
}

TMessageRecorder::TMessageRecorder()
    : FPrevious(SetMessageBoxHandler([this](TMessageKind Kind, const std::string& Text) {
          Messages.push_back({Kind, Text});
      }))
{
}

TMessageRecorder::~TMessageRecorder() { SetMessageBoxHandler(std::move(FPrevious)); }

} // namespace tol::test
