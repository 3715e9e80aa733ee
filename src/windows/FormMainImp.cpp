#include "FormMainImp.h"

#include "Application.h"
#include "CleanUp.h"
#include "FormAboutImp.h"
#include "GeneralHandler.h"
#include "Settings.h"
#include "Texts.h"
#include "ZoneList.h"

#include <commdlg.h>

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
    char FileName[MAX_PATH + 1]{};
    FOpenDialogFileName.copy(FileName, MAX_PATH);
    OPENFILENAMEA Dialog{};
    Dialog.lStructSize = sizeof Dialog;
    Dialog.hwndOwner = Application.Handle;
    Dialog.lpstrFilter = Texts::BrowseFilter;
    Dialog.nFilterIndex = 1;
    Dialog.lpstrFile = FileName;
    Dialog.nMaxFile = sizeof FileName;
    Dialog.lpstrTitle = Texts::BrowseTitle;
    Dialog.lpstrDefExt = "exe";
    Dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!::GetOpenFileNameA(&Dialog))
        return;
    FOpenDialogFileName = FileName;
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

std::optional<std::string> TFormMain::GetSelectedInternalName() const
{
    const auto Row = ::SendMessageA(ListViewZones, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (const TZone* Zone = ZoneAt(static_cast<int>(Row)))
        return Zone->InternalName;
    return std::nullopt;
}

} // namespace tol
