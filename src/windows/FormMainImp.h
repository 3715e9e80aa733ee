// The main window: the tutorial program's path, the offset, the zone catalogue, and
// the Run and About buttons. Its creation runs the launcher's start-up, its
// destruction the shut-down clean-up.
#pragma once

#include "Controls.h"
#include "Form.h"
#include "GdiOwners.h"
#include "LaunchImp.h"

#include <commctrl.h>

#include <optional>
#include <string>

namespace tol {

// The main window as the player sees it, and nothing more: its controls laid out from
// one table, the view styles, and the zone rows drawn on demand from Zones. It starts
// no work of the launcher's, so the start-up benchmark opens it alone as its floor.
class TFormMainView : public TForm {
public:
    TFormMainView();
    ~TFormMainView() override;

    // The controls, for the program block and for tests that drive the real window.
    HWND EditTutorial = nullptr;
    HWND SpeedButtonBrowseTutorial = nullptr; // a one-button flat toolbar: it takes no focus
    HWND ComboBoxOffset = nullptr;
    HWND ToolBarViewStyles = nullptr;
    HWND ListViewZones = nullptr;
    HWND BitBtnRun = nullptr;
    HWND BitBtnAbout = nullptr;
    HWND Label1 = nullptr;
    HWND Label2 = nullptr;

    // The control ids; Run and About are neither IDOK nor IDCANCEL, so Enter and
    // Escape in the boxes start nothing.
    enum : int {
        IdEditTutorial = 100,
        IdBrowseTutorial,
        IdComboBoxOffset,
        IdToolBarViewStyles,
        IdListViewZones,
        IdBitBtnRun,
        IdBitBtnAbout,
        IdLabel1,
        IdLabel2,
        IdToolButtonLargeIcons = 200,
        IdToolButtonSmallIcons,
        IdToolButtonList,
        IdToolButtonDetails,
    };

    // Puts the focus on the first control of the tab order once the window is shown.
    void FocusFirstControl() { ::SetFocus(EditTutorial); }

protected:
    // Shows the zones loaded into Zones, the first one selected.
    void ShowZones();
    void ToolButtonViewStyleClick(int Tag);

    LRESULT HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam) override;

private:
    void CreateControls();
    // Makes the pictures at the window's scale and shows them in the controls.
    void ShowPictures();
    void ChangeDpi(int OldDpi, const RECT& Suggested) override;
    void LayOutControls();
    // The view-style bar's height: its buttons'.
    int ToolBarHeight() const;
    void PaintBorders();
    LRESULT HandleNotify(NMHDR& Header);

    TFont FFont;
    TIcon FIconRun, FIconAbout, FIconBrowse;
    TImageList ImageList16, ImageList32, ImageListViewStyles;
    HWND FToolTips = nullptr;
    RECT FZonesFrame{}; // painted around the view-style bar and the zone list
};

class TFormMain final : public TFormMainView, private IZoneRunHost {
public:
    // Creates the window and runs the start-up sequence (FormCreate).
    TFormMain();
    // Runs the shut-down sequence (FormDestroy) while the window still exists.
    ~TFormMain() override;

private:
    void FormCreate();
    void FormDestroy();
    void SpeedButtonBrowseTutorialClick();
    void BitBtnRunClick();
    void BitBtnAboutClick();

    LRESULT HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam) override;

    // What the launch reads from and asks of this window.
    std::string GetTutorialText() const override { return WindowText(EditTutorial); }
    std::string GetOffsetText() const override { return WindowText(ComboBoxOffset); }
    std::optional<std::string> GetSelectedInternalName() const override;
    void FocusTutorial() override { ::SetFocus(EditTutorial); }
    void FocusOffset() override { ::SetFocus(ComboBoxOffset); }
    void FocusZones() override { ::SetFocus(ListViewZones); }
    void Close() override { TForm::Close(); }

    std::string FOpenDialogFileName = "tutorial.exe"; // the browse dialog's last choice
};

} // namespace tol
