#include "FormMainImp.h"

#include "Application.h"
#include "CleanUp.h"
#include "Controls.h"
#include "FormAboutImp.h"
#include "GeneralHandler.h"
#include "Settings.h"
#include "Texts.h"
#include "ZoneList.h"

#include <commdlg.h>

#include <vector>

namespace tol {

TFormMain::TFormMain()
{
    Application.Handle = Handle();
    Guarded([this] { FormCreate(); });
}

TFormMain::~TFormMain()
{
    Guarded([this] { FormDestroy(); });
    if (Application.Handle == Handle())
        Application.Handle = nullptr;
}

void TFormMain::FormCreate()
{
    if (!InitIniFileName()) {
        Application.Terminate(ExitCodeNoSettings);
        return;
    }
    ::SetWindowTextA(EditTutorial, GetTutorialFileName().c_str());
    DeleteTutorialTempFiles(GetTutorialText());
    DeleteTempPathTempFiles(GetTutorialText());
    ::SetWindowTextA(ComboBoxOffset, std::to_string(GetOffset()).c_str());
    LoadZones();
    ShowZones();
}

void TFormMain::FormDestroy()
{
    DeleteTempPathTempFiles(GetTutorialText());
    ReleaseIniFile();
}

void TFormMain::SpeedButtonBrowseTutorialClick()
{
    std::vector<char> FileName(MAX_PATH + 1, '\0');
    FOpenDialogFileName.copy(FileName.data(), FileName.size() - 1);
    OPENFILENAMEA Dialog{};
    Dialog.lStructSize = sizeof Dialog;
    Dialog.hwndOwner = Application.Handle;
    Dialog.lpstrFilter = Texts::BrowseFilter;
    Dialog.nFilterIndex = 1;
    Dialog.lpstrFile = FileName.data();
    Dialog.nMaxFile = static_cast<DWORD>(FileName.size());
    Dialog.lpstrTitle = Texts::BrowseTitle;
    Dialog.lpstrDefExt = "exe";
    Dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!::GetOpenFileNameA(&Dialog))
        return;
    FOpenDialogFileName = FileName.data();
    ::SetWindowTextA(EditTutorial, FOpenDialogFileName.c_str());
}

void TFormMain::BitBtnRunClick() { RunZone(*this); }

void TFormMain::BitBtnAboutClick() { ShowAbout(); }

LRESULT TFormMain::HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam)
{
    if (Message == WM_COMMAND && HIWORD(WParam) == BN_CLICKED) {
        switch (LOWORD(WParam)) {
        case IdBrowseTutorial: SpeedButtonBrowseTutorialClick(); return 0;
        case IdBitBtnRun: BitBtnRunClick(); return 0;
        case IdBitBtnAbout: BitBtnAboutClick(); return 0;
        default: break;
        }
    }
    return TFormMainView::HandleMessage(Message, WParam, LParam);
}

std::string TFormMain::GetTutorialText() const { return WindowText(EditTutorial); }

std::string TFormMain::GetOffsetText() const { return WindowText(ComboBoxOffset); }

std::optional<std::string> TFormMain::GetSelectedInternalName() const
{
    const auto Row = ::SendMessageA(ListViewZones, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    const TZone* Zone = ZoneAt(static_cast<int>(Row));
    if (!Zone)
        return std::nullopt;
    return Zone->InternalName;
}

void TFormMain::FocusTutorial() { ::SetFocus(EditTutorial); }

void TFormMain::FocusOffset() { ::SetFocus(ComboBoxOffset); }

void TFormMain::FocusZones() { ::SetFocus(ListViewZones); }

void TFormMain::Close() { TForm::Close(); }

} // namespace tol
