#include "Processes.h"

#include <tlhelp32.h>

#include <map>
#include <stdexcept>

namespace tol::test {

namespace {

struct TNoCase {
    bool operator()(const std::string& A, const std::string& B) const { return lstrcmpiA(A.c_str(), B.c_str()) < 0; }
};

// This process's environment with Changes over it, as the block CreateProcessA takes.
std::string EnvironmentBlock(const std::vector<std::string>& Changes)
{
    std::map<std::string, std::string, TNoCase> Variables;
    const auto Add = [&](const std::string& Line) {
        const auto Equal = Line.find('=', 1); // a name may begin with "=" ("=C:")
        Variables[Line.substr(0, Equal)] = Line;
    };
    char* const Own = GetEnvironmentStringsA();
    for (const char* Line = Own; *Line; Line += lstrlenA(Line) + 1)
        Add(Line);
    FreeEnvironmentStringsA(Own);
    for (const auto& Line : Changes)
        Add(Line);
    std::string Block;
    for (const auto& Variable : Variables)
        Block += Variable.second + '\0';
    return Block + '\0';
}

} // namespace

long ExitCode(HANDLE Process, std::chrono::milliseconds Timeout)
{
    const DWORD Wait = Timeout.count() >= INFINITE ? INFINITE : static_cast<DWORD>(Timeout.count());
    DWORD Code = 0;
    if (WaitForSingleObject(Process, Wait) != WAIT_OBJECT_0 || !GetExitCodeProcess(Process, &Code))
        return -1;
    return static_cast<long>(Code);
}

TProcess::TProcess(const std::string& FileName, const TStart& How)
{
    STARTUPINFOA Startup{};
    Startup.cb = sizeof Startup;
    Startup.dwFlags = STARTF_USESHOWWINDOW;
    Startup.wShowWindow = How.Show;
    if (How.ShareStandardHandles) {
        Startup.dwFlags |= STARTF_USESTDHANDLES;
        Startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        Startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        Startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    std::string CommandLine = How.CommandLine.empty() ? "\"" + FileName + "\"" : How.CommandLine;
    std::string Environment = How.Environment.empty() ? std::string() : EnvironmentBlock(How.Environment);
    PROCESS_INFORMATION Info{};
    if (!CreateProcessA(FileName.c_str(), CommandLine.data(), nullptr, nullptr, How.ShareStandardHandles, 0,
                        Environment.empty() ? nullptr : Environment.data(),
                        How.Folder.empty() ? nullptr : How.Folder.c_str(), &Startup, &Info))
        throw std::runtime_error("cannot start " + FileName + ": error " + std::to_string(GetLastError()));
    CloseHandle(Info.hThread);
    FHandle.Reset(Info.hProcess);
    FId = Info.dwProcessId;
}

bool TProcess::Running() const { return FHandle && WaitForSingleObject(Handle(), 0) == WAIT_TIMEOUT; }

void TProcess::End()
{
    if (Running()) {
        TerminateProcess(Handle(), 99);
        WaitForSingleObject(Handle(), 10000);
    }
    FHandle.Reset();
}

std::vector<std::string> ProgramsRunningFrom(const std::string& Folder)
{
    // Compared in their long form: the system may give either.
    const auto LongName = [](const std::string& Path) {
        char Long[MAX_PATH + 1];
        const DWORD Length = GetLongPathNameA(Path.c_str(), Long, sizeof Long);
        return Length > 0 && Length < sizeof Long ? std::string(Long, Length) : Path;
    };
    const std::string Root = LongName(Folder);
    const TKernelHandle Snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (Snapshot.Get() == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot list the running programs");
    std::vector<std::string> Found;
    PROCESSENTRY32 Entry{};
    Entry.dwSize = sizeof Entry;
    for (BOOL More = Process32First(Snapshot.Get(), &Entry); More; More = Process32Next(Snapshot.Get(), &Entry)) {
        // A program that cannot be asked for its file (it is ending) counts by its name
        // alone when a file of that name lies directly in Folder.
        std::string Name = Folder + Entry.szExeFile;
        const TKernelHandle Process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, Entry.th32ProcessID));
        char Image[MAX_PATH + 1];
        DWORD Size = sizeof Image;
        if (Process.Get() && QueryFullProcessImageNameA(Process.Get(), 0, Image, &Size))
            Name = LongName(std::string(Image, Size));
        else if (GetFileAttributesA(Name.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        if (Name.size() > Root.size() && lstrcmpiA(Name.substr(0, Root.size()).c_str(), Root.c_str()) == 0)
            Found.push_back(Name);
    }
    return Found;
}

} // namespace tol::test
