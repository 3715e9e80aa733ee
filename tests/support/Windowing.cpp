#include "Windowing.h"

#include "Processes.h"
#include "Wait.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace tol::test {

namespace {

BOOL CALLBACK AddTopWindow(HWND Window, LPARAM Param)
{
    auto& [Query, Found] = *reinterpret_cast<std::pair<const TWindowQuery*, std::vector<HWND>>*>(Param);
    DWORD ProcessId = 0;
    const DWORD ThreadId = GetWindowThreadProcessId(Window, &ProcessId);
    if ((!Query->VisibleOnly || IsWindowVisible(Window)) && (!Query->ProcessId || ProcessId == Query->ProcessId)
        && (!Query->ThreadId || ThreadId == Query->ThreadId)
        && (Query->Class.empty() || ClassOf(Window) == Query->Class)
        && (!Query->Caption || Text(Window) == *Query->Caption))
        Found.push_back(Window);
    return TRUE;
}

} // namespace

std::vector<HWND> TopWindows(const TWindowQuery& Query)
{
    std::pair<const TWindowQuery*, std::vector<HWND>> Search{&Query, {}};
    EnumWindows(AddTopWindow, reinterpret_cast<LPARAM>(&Search));
    return Search.second;
}

HWND TopWindow(const TWindowQuery& Query)
{
    const auto Found = TopWindows(Query);
    return Found.empty() ? nullptr : Found.front();
}

HWND WaitForTopWindow(const TWindowQuery& Query, std::chrono::milliseconds Deadline)
{
    HWND Found = nullptr;
    WaitUntil([&] { return (Found = TopWindow(Query)) != nullptr; }, Deadline);
    return Found;
}

std::string Text(HWND Window)
{
    char Buffer[4096] = {};
    DWORD_PTR Length = 0;
    if (!SendMessageTimeoutA(Window, WM_GETTEXT, sizeof Buffer, reinterpret_cast<LPARAM>(Buffer), SMTO_ABORTIFHUNG,
                             5000, &Length))
        return "<no answer>";
    return std::string(Buffer, std::min<std::size_t>(Length, sizeof Buffer - 1));
}

std::string ClassOf(HWND Window)
{
    char Buffer[256] = {};
    return std::string(Buffer, static_cast<std::size_t>(GetClassNameA(Window, Buffer, sizeof Buffer)));
}

LONG StyleOf(HWND Window) { return GetWindowLongA(Window, GWL_STYLE); }

RECT ScreenRect(HWND Window)
{
    RECT Rect{};
    GetWindowRect(Window, &Rect);
    return Rect;
}

SIZE ClientSize(HWND Window)
{
    RECT Rect{};
    GetClientRect(Window, &Rect);
    return SIZE{Rect.right, Rect.bottom};
}

DWORD ProcessOf(HWND Window)
{
    DWORD Id = 0;
    GetWindowThreadProcessId(Window, &Id);
    return Id;
}

bool CentredOnScreen(const RECT& Frame)
{
    const POINT Middle = Centre(Frame);
    return std::abs(Middle.x - GetSystemMetrics(SM_CXSCREEN) / 2) <= 1
           && std::abs(Middle.y - GetSystemMetrics(SM_CYSCREEN) / 2) <= 1;
}

LOGFONTA FontOf(HWND Control)
{
    LOGFONTA Font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Control, WM_GETFONT, 0, 0)), sizeof Font, &Font);
    return Font;
}

std::vector<HWND> Children(HWND Parent, const char* Class)
{
    std::vector<HWND> Found;
    for (HWND Child = GetWindow(Parent, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT))
        if (lstrcmpiA(ClassOf(Child).c_str(), Class) == 0)
            Found.push_back(Child);
    return Found;
}

HWND OnlyChild(HWND Parent, const char* Class)
{
    const auto Found = Children(Parent, Class);
    return Found.size() == 1 ? Found[0] : nullptr;
}

std::vector<std::string> ChildTexts(HWND Parent, const char* Class)
{
    std::vector<std::string> Texts;
    for (HWND Child : Children(Parent, Class))
        Texts.push_back(Text(Child));
    return Texts;
}

HWND ChildWithText(HWND Parent, const char* Class, const std::string& Wanted)
{
    for (HWND Child : Children(Parent, Class))
        if (Text(Child) == Wanted)
            return Child;
    return nullptr;
}

std::vector<std::string> ComboItems(HWND Combo)
{
    std::vector<std::string> Items;
    for (WPARAM I = 0; I < static_cast<WPARAM>(SendMessageA(Combo, CB_GETCOUNT, 0, 0)); ++I) {
        std::string Item(static_cast<std::size_t>(std::max<LRESULT>(SendMessageA(Combo, CB_GETLBTEXTLEN, I, 0), 0)),
                         '\0');
        SendMessageA(Combo, CB_GETLBTEXT, I, reinterpret_cast<LPARAM>(Item.data()));
        Items.push_back(Item);
    }
    return Items;
}

namespace {

constexpr int TextCapacity = 1024;

// A block of memory in a list view's process: an LVITEMA, then room for its text.
class TListBlock {
public:
    explicit TListBlock(HWND List) : FList(List)
    {
        if (const DWORD Id = ProcessOf(List); Id != GetCurrentProcessId()) {
            FOther.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, Id));
            if (!FOther)
                throw std::runtime_error("cannot open the list view's process");
        }
        FBlock = static_cast<char*>(VirtualAllocEx(Process(), nullptr, sizeof(LVITEMA) + TextCapacity,
                                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!FBlock)
            throw std::runtime_error("cannot reserve memory in the list view's process");
    }
    ~TListBlock() { VirtualFreeEx(Process(), FBlock, 0, MEM_RELEASE); }
    TListBlock(const TListBlock&) = delete;
    TListBlock& operator=(const TListBlock&) = delete;

    // Sends Message for Row with Data placed in the block; Data as the list left it.
    template <typename TData>
    LRESULT Send(UINT Message, int Row, TData& Data) const
    {
        if (!WriteProcessMemory(Process(), FBlock, &Data, sizeof Data, nullptr))
            throw std::runtime_error("cannot write into the list view's process");
        const LRESULT Result = SendMessageA(FList, Message, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(FBlock));
        Read(FBlock, &Data, sizeof Data);
        return Result;
    }

    std::string Text(int Row, int Column) const
    {
        LVITEMA Item{};
        Item.iSubItem = Column;
        Item.pszText = FBlock + sizeof(LVITEMA);
        Item.cchTextMax = TextCapacity;
        const LRESULT Length = std::clamp<LRESULT>(Send(LVM_GETITEMTEXTA, Row, Item), 0, TextCapacity - 1);
        std::string Text(static_cast<std::size_t>(Length), '\0');
        Read(FBlock + sizeof(LVITEMA), Text.data(), Text.size());
        return Text;
    }

    // Where the list draws a part of Row: Asked names it, as Message wants it.
    RECT Rect(UINT Message, int Row, RECT Asked) const
    {
        Send(Message, Row, Asked);
        return Asked;
    }

private:
    HANDLE Process() const { return FOther ? FOther.Get() : GetCurrentProcess(); }
    void Read(const char* From, void* Into, std::size_t Size) const
    {
        if (!ReadProcessMemory(Process(), From, Into, Size, nullptr))
            throw std::runtime_error("cannot read from the list view's process");
    }
    HWND FList;
    TKernelHandle FOther;
    char* FBlock = nullptr;
};

} // namespace

int RowCount(HWND List) { return static_cast<int>(SendMessageA(List, LVM_GETITEMCOUNT, 0, 0)); }

std::string ItemText(HWND List, int Row, int Column) { return TListBlock(List).Text(Row, Column); }

RECT ItemIconRect(HWND List, int Row) { return TListBlock(List).Rect(LVM_GETITEMRECT, Row, {LVIR_ICON, 0, 0, 0}); }

RECT ItemRect(HWND List, int Row, int Column)
{
    const RECT Asked{Column == 0 ? LVIR_LABEL : LVIR_BOUNDS, Column, 0, 0};
    return TListBlock(List).Rect(Column == 0 ? LVM_GETITEMRECT : LVM_GETSUBITEMRECT, Row, Asked);
}

std::vector<std::string> ColumnTexts(HWND List, int Column)
{
    const TListBlock Block(List);
    std::vector<std::string> Texts;
    for (int Row = 0; Row < RowCount(List); ++Row)
        Texts.push_back(Block.Text(Row, Column));
    return Texts;
}

std::vector<std::string> Rows(HWND List)
{
    const TListBlock Block(List);
    std::vector<std::string> Result;
    for (int Row = 0; Row < RowCount(List); ++Row)
        Result.push_back(Block.Text(Row, 0) + "|" + Block.Text(Row, 1) + "|" + Block.Text(Row, 2));
    return Result;
}

std::vector<int> SelectedRows(HWND List)
{
    std::vector<int> Selected;
    for (int Row = -1;;) {
        Row = static_cast<int>(SendMessageA(List, LVM_GETNEXTITEM, static_cast<WPARAM>(Row), LVNI_SELECTED));
        if (Row < 0)
            return Selected;
        Selected.push_back(Row);
    }
}

void SelectOnly(HWND List, int Row)
{
    const TListBlock Block(List);
    LVITEMA State{};
    State.stateMask = LVIS_SELECTED;
    Block.Send(LVM_SETITEMSTATE, -1, State);
    if (Row < 0)
        return;
    State.stateMask = State.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!Block.Send(LVM_SETITEMSTATE, Row, State))
        throw std::runtime_error("the list view refused to select row " + std::to_string(Row));
    SendMessageA(List, LVM_ENSUREVISIBLE, static_cast<WPARAM>(Row), FALSE);
}

int Dpi96(int Value)
{
    const HDC Screen = GetDC(nullptr);
    const int Dpi = GetDeviceCaps(Screen, LOGPIXELSY);
    ReleaseDC(nullptr, Screen);
    return MulDiv(Value, Dpi, 96);
}

bool ShowsWholeText(HWND Static)
{
    const std::string Content = Text(Static);
    RECT Client{};
    GetClientRect(Static, &Client);
    const HDC Dc = GetDC(Static);
    const HGDIOBJ Old = SelectObject(Dc, reinterpret_cast<HGDIOBJ>(SendMessageA(Static, WM_GETFONT, 0, 0)));
    RECT Needed{0, 0, Client.right, 0};
    DrawTextA(Dc, Content.c_str(), static_cast<int>(Content.size()), &Needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(Dc, Old);
    ReleaseDC(Static, Dc);
    return Needed.right <= Client.right && Needed.bottom <= Client.bottom;
}

bool ShowsAPicture(HWND Window, RECT Part, COLORREF Background)
{
    // A fifth of the pixels inside the part, its edge left out, differ from the background.
    if (IsRectEmpty(&Part)) {
        Part = ScreenRect(Window);
    } else {
        MapWindowPoints(Window, nullptr, reinterpret_cast<POINT*>(&Part), 2);
        InflateRect(&Part, 1, 1);
    }
    const HDC Screen = GetDC(nullptr);
    int Drawn = 0, All = 0;
    for (int Y = Part.top + 1; Y < Part.bottom - 1; Y += 2)
        for (int X = Part.left + 1; X < Part.right - 1; X += 2, ++All)
            if (GetPixel(Screen, X, Y) != Background)
                ++Drawn;
    ReleaseDC(nullptr, Screen);
    return All > 0 && Drawn * 5 >= All;
}

std::string ToolTipText(HWND OwnerWindow, HWND Control)
{
    for (HWND Tip : TopWindows({TOOLTIPS_CLASSA, {}, 0, GetWindowThreadProcessId(OwnerWindow, nullptr), false})) {
        char Buffer[1024] = {};
        TOOLINFOA Tool{};
        Tool.cbSize = sizeof Tool;
        Tool.hwnd = OwnerWindow;
        Tool.uId = reinterpret_cast<UINT_PTR>(Control);
        Tool.lpszText = Buffer;
        SendMessageA(Tip, TTM_GETTEXTA, sizeof Buffer, reinterpret_cast<LPARAM>(&Tool));
        if (Tool.lpszText == Buffer && Buffer[0])
            return Buffer;
    }
    return {};
}

void PostClick(HWND Window, POINT At, WPARAM Keys)
{
    const LPARAM Where = MAKELPARAM(At.x, At.y);
    PostMessageA(Window, WM_MOUSEMOVE, Keys, Where);
    PostMessageA(Window, WM_LBUTTONDOWN, MK_LBUTTON | Keys, Where);
    PostMessageA(Window, WM_LBUTTONUP, Keys, Where);
}

void PostDoubleClick(HWND Window, POINT At)
{
    const LPARAM Where = MAKELPARAM(At.x, At.y);
    PostMessageA(Window, WM_LBUTTONDOWN, MK_LBUTTON, Where);
    PostMessageA(Window, WM_LBUTTONUP, 0, Where);
    PostMessageA(Window, WM_LBUTTONDBLCLK, MK_LBUTTON, Where);
    PostMessageA(Window, WM_LBUTTONUP, 0, Where);
}

void PostKey(HWND Window, UINT Key, bool WithAlt)
{
    // Bit 29: the Alt key is down, as the system marks a key pressed with it.
    const LPARAM Flags = 1 | static_cast<LPARAM>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC)) << 16 | (WithAlt ? 1 << 29 : 0);
    PostMessageA(Window, WithAlt ? WM_SYSKEYDOWN : WM_KEYDOWN, Key, Flags);
    PostMessageA(Window, WithAlt ? WM_SYSKEYUP : WM_KEYUP, Key, Flags | static_cast<LPARAM>(0xC0000000u));
}

POINT Centre(const RECT& Rect) { return POINT{(Rect.left + Rect.right) / 2, (Rect.top + Rect.bottom) / 2}; }

void PressButton(HWND Parent, const std::string& Caption)
{
    const HWND Button = ChildWithText(Parent, "Button", Caption);
    if (!Button)
        throw std::runtime_error("no button \"" + Caption + "\"");
    PostMessageA(Button, BM_CLICK, 0, 0);
}

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

std::pair<int, int> PictureSize(HBITMAP Bitmap)
{
    BITMAP Info{};
    if (!GetObjectA(Bitmap, sizeof Info, &Info))
        return {0, 0};
    return {static_cast<int>(Info.bmWidth), static_cast<int>(Info.bmHeight)};
}

std::pair<int, int> PictureSize(HICON Icon)
{
    ICONINFO Info{};
    if (!Icon || !GetIconInfo(Icon, &Info))
        return {0, 0};
    const auto Size = PictureSize(Info.hbmColor);
    DeleteObject(Info.hbmColor);
    DeleteObject(Info.hbmMask);
    return Size;
}

std::pair<int, int> PictureSize(HIMAGELIST List)
{
    int Width = 0, Height = 0;
    return List && ImageList_GetIconSize(List, &Width, &Height) ? std::make_pair(Width, Height) : std::make_pair(0, 0);
}

} // namespace tol::test
