// A stand-in for the game's tutorial program, for the tests and the demo. It carries a
// 12-byte zone-name field right after a signature, so that the build can publish the
// field's file offset. Started, it reports the zone found in its own field and its
// working folder in "StandInReport.txt" in that folder, then shows
// "Exploring zone: <name>". A file "StandInExit.txt" beside it makes it leave by
// itself: after the number of milliseconds the file holds (0 or empty: at once).
#include <windows.h>

#include <string>

namespace {

// The signature and the field are one object, so the field's place in the file is
// the signature's place plus its length. The field is read through a volatile
// pointer: the compiler must not fold the initial name into the code.
struct TZoneField {
    char Signature[32];
    char Name[12];
};
extern "C" volatile const TZoneField TolvaneStandInZoneField = {"TOLVANE-STAND-IN-ZONE-FIELD-v1>", "tutorialb"};

std::string ReadZoneName()
{
    std::string Name;
    for (char C : TolvaneStandInZoneField.Name) {
        if (C == '\0')
            break;
        Name += C;
    }
    return Name;
}

std::string ModuleFolder()
{
    char Buffer[MAX_PATH + 1];
    const DWORD Length = GetModuleFileNameA(nullptr, Buffer, sizeof Buffer);
    std::string Path(Buffer, Length);
    return Path.substr(0, Path.find_last_of("\\:") + 1);
}

std::string CurrentFolder()
{
    char Buffer[MAX_PATH + 1];
    const DWORD Length = GetCurrentDirectoryA(sizeof Buffer, Buffer);
    return std::string(Buffer, Length);
}

void WriteReport(const std::string& Zone)
{
    char Module[MAX_PATH + 1];
    const DWORD Length = GetModuleFileNameA(nullptr, Module, sizeof Module);
    // The compatibility layers the copy was started with, which it inherits.
    char Layers[1024];
    const DWORD LayersLength = GetEnvironmentVariableA("__COMPAT_LAYER", Layers, sizeof Layers);
    const std::string Text = "zone=" + Zone + "\r\nfolder=" + CurrentFolder() + "\r\nexe=" + std::string(Module, Length)
                             + "\r\ncompat=" + (LayersLength ? std::string(Layers, LayersLength) : "(none)") + "\r\n";
    // Written under another name first, so that a reader never sees half a report.
    const std::string Final = "StandInReport.txt", Partial = "StandInReport.part";
    const HANDLE File = CreateFileA(Partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return;
    DWORD Written;
    WriteFile(File, Text.data(), static_cast<DWORD>(Text.size()), &Written, nullptr);
    CloseHandle(File);
    MoveFileExA(Partial.c_str(), Final.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// -1 when the program is to stay until closed.
int ExitDelay()
{
    const HANDLE File = CreateFileA((ModuleFolder() + "StandInExit.txt").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
    if (File == INVALID_HANDLE_VALUE)
        return -1;
    char Buffer[16] = {};
    DWORD Read = 0;
    ReadFile(File, Buffer, sizeof Buffer - 1, &Read, nullptr);
    CloseHandle(File);
    return atoi(Buffer);
}

LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    switch (Message) {
    case WM_TIMER: DestroyWindow(Window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(Window, Message, WParam, LParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int)
{
    const std::string Zone = ReadZoneName();
    WriteReport(Zone);
    const int Delay = ExitDelay();
    if (Delay == 0)
        return 0;

    WNDCLASSA Class{};
    Class.lpfnWndProc = WindowProc;
    Class.hInstance = Instance;
    Class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    Class.lpszClassName = "TolvaneStandInTutorial";
    RegisterClassA(&Class);

    const std::string Title = "Exploring zone: " + Zone;
    const HWND Window = CreateWindowA(Class.lpszClassName, Title.c_str(), WS_OVERLAPPEDWINDOW, 480, 360, 360, 140,
                                      nullptr, nullptr, Instance, nullptr);
    CreateWindowA("STATIC", Title.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 30, 330, 24, Window, nullptr,
                  Instance, nullptr);
    // The launcher asks for a hidden start; the stand-in shows itself all the same,
    // so that a person can see which zone it was given.
    ShowWindow(Window, SW_SHOWNORMAL);
    ShowWindow(Window, SW_SHOWNORMAL);
    if (Delay > 0)
        SetTimer(Window, 1, static_cast<UINT>(Delay), nullptr);

    MSG Msg;
    while (GetMessageA(&Msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&Msg);
        DispatchMessageA(&Msg);
    }
    return 0;
}
