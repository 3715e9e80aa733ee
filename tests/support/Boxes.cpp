// The boxes a program shows: described, answered, and watched for from a thread of their own.
#include "Windowing.h"

#include "Wait.h"

namespace tol::test {

namespace {

HWND FocusOf(HWND Window)
{
    GUITHREADINFO Info{};
    Info.cbSize = sizeof Info;
    GetGUIThreadInfo(GetWindowThreadProcessId(Window, nullptr), &Info);
    return Info.hwndFocus;
}

BOOL CALLBACK AddControl(HWND Child, LPARAM Param)
{
    reinterpret_cast<TBox*>(Param)->Controls.push_back(
        {Child, ClassOf(Child), Text(Child), StyleOf(Child), ScreenRect(Child)});
    return TRUE;
}

} // namespace

void PressKeyIn(HWND Box, UINT Key)
{
    const HWND Focus = FocusOf(Box);
    PostKey(Focus && (Focus == Box || IsChild(Box, Focus)) ? Focus : Box, Key);
}

std::vector<std::string> TBox::Texts(const char* ClassName) const
{
    std::vector<std::string> Result;
    for (const auto& Control : Controls)
        if (lstrcmpiA(Control.Class.c_str(), ClassName) == 0)
            Result.push_back(Control.Text);
    return Result;
}

const TControl* TBox::Find(const char* ClassName, const std::string& WantedText) const
{
    return FindIf(ClassName, [&](const TControl& Control) { return Control.Text == WantedText; });
}

const TControl* TBox::FindIf(const char* ClassName, const std::function<bool(const TControl&)>& Wanted) const
{
    for (const auto& Control : Controls)
        if (lstrcmpiA(Control.Class.c_str(), ClassName) == 0 && Wanted(Control))
            return &Control;
    return nullptr;
}

TBox Describe(HWND Window)
{
    TBox Box;
    Box.Window = Window;
    Box.Class = ClassOf(Window);
    Box.Caption = Text(Window);
    Box.Frame = ScreenRect(Window);
    Box.Client = ClientSize(Window);
    Box.Style = StyleOf(Window);
    Box.ExStyle = GetWindowLongA(Window, GWL_EXSTYLE);
    Box.Owner = GetWindow(Window, GW_OWNER);
    EnumChildWindows(Window, AddControl, reinterpret_cast<LPARAM>(&Box));
    for (const auto& Control : Box.Controls)
        if (lstrcmpiA(Control.Class.c_str(), "Static") == 0 && (Control.Style & SS_TYPEMASK) == SS_ICON)
            Box.Icon = reinterpret_cast<HICON>(SendMessageA(Control.Handle, STM_GETICON, 0, 0));
    return Box;
}

void PressEnter(const TBox& Box) { PressKeyIn(Box.Window, VK_RETURN); }

void PressEscape(const TBox& Box) { PressKeyIn(Box.Window, VK_ESCAPE); }

void PressCloseBox(const TBox& Box) { PostMessageA(Box.Window, WM_SYSCOMMAND, SC_CLOSE, 0); }

TBoxWatcher::TBoxWatcher(DWORD ProcessId)
    : FWhere{{}, {}, ProcessId, ProcessId ? 0 : GetCurrentThreadId()}, FAction(PressEnter), FWorker([this] { Run(); })
{
}

TBoxWatcher::~TBoxWatcher()
{
    FStop = true;
    FWorker.join();
}

void TBoxWatcher::SetAction(TAction Action)
{
    std::lock_guard Guard(FLock);
    FAction = std::move(Action);
}

std::vector<TBox> TBoxWatcher::Boxes()
{
    std::lock_guard Guard(FLock);
    return FBoxes;
}

std::vector<std::string> TBoxWatcher::Problems()
{
    std::lock_guard Guard(FLock);
    return FProblems;
}

void TBoxWatcher::Clear()
{
    std::lock_guard Guard(FLock);
    FBoxes.clear();
    FProblems.clear();
}

void TBoxWatcher::Run()
{
    const auto Gone = [](HWND Window) { return !IsWindow(Window) || !IsWindowVisible(Window); };
    while (!FStop) {
        const auto Windows = TopWindows(FWhere);
        const auto Box = std::find_if(Windows.begin(), Windows.end(), [](HWND Window) {
            const std::string Class = ClassOf(Window);
            return Class == "#32770" || Class == "TFormAbout";
        });
        if (Box == Windows.end()) {
            Sleep(15);
            continue;
        }
        const HWND Window = *Box;
        Sleep(100); // the box has shown itself; let it finish setting its focus
        if (Gone(Window))
            continue;
        const TBox Seen = Describe(Window);
        TAction Action;
        {
            std::lock_guard Guard(FLock);
            FBoxes.push_back(Seen);
            Action = FAction;
        }
        Action(Seen);
        if (!WaitUntil([&] { return Gone(Window); }, 10s, 10ms)) {
            {
                std::lock_guard Guard(FLock);
                FProblems.push_back("left open by its answer: \"" + Seen.Caption + "\"");
            }
            PostMessageA(Window, WM_COMMAND, IDOK, 0);
            PostMessageA(Window, WM_CLOSE, 0, 0);
            WaitUntil([&] { return Gone(Window); }, 5s, 10ms);
        }
    }
}

} // namespace tol::test
