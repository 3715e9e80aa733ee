// Reading and selecting the rows of a list view in this process or another.
#include "Windowing.h"

#include "Processes.h"

#include <stdexcept>

namespace tol::test {

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

LRESULT SendWithRect(HWND Window, UINT Message, WPARAM WParam, RECT Data)
{
    return TListBlock(Window).Send(Message, static_cast<int>(WParam), Data);
}

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

} // namespace tol::test
