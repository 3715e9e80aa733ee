// The real About box, opened with the main window's About button: what it shows, how
// its links and keys behave, the real shell behind the links, and that opening it
// again and again leaves nothing behind.
#include "GdiOwners.h"
#include "LiveCounts.h"
#include "MainWindowFixture.h"
#include "ShellImp.h"
#include "Version.h"

#include <algorithm>
#include <atomic>

using namespace tol;
using namespace tol::test;

namespace {

// The name label is bold, the link label underlined: both read "Tolvane".
const TControl* LinkLabel(const TBox& Box)
{
    return Box.FindIf(
        "Static", [](const TControl& Label) { return Label.Text == "Tolvane" && FontOf(Label.Handle).lfUnderline; });
}

const TControl* Badge(const TBox& Box)
{
    return Box.FindIf("Static", [](const TControl& Picture) { return (Picture.Style & SS_TYPEMASK) == SS_BITMAP; });
}

// A click where the player would click: to the window the system finds at the
// control's centre.
void ClickOn(const TControl& Control)
{
    POINT At = Centre(Control.Bounds);
    const HWND Target = WindowFromPoint(At);
    ScreenToClient(Target, &At);
    PostClick(Target, At);
}

// The shell requests the About box makes, seen from the window's thread.
class TShellRecorder {
public:
    TShellRecorder()
        : FPrevious(SetShellOpenHook([this](const std::string& Target) {
              std::lock_guard Guard(FLock);
              FTargets.push_back(Target);
              return std::intptr_t{42};
          }))
    {
    }
    ~TShellRecorder() { SetShellOpenHook(std::move(FPrevious)); }
    std::vector<std::string> Targets()
    {
        std::lock_guard Guard(FLock);
        return FTargets;
    }
    std::size_t Count() { return Targets().size(); }

private:
    TShellOpenHook FPrevious;
    std::mutex FLock;
    std::vector<std::string> FTargets;
};

} // namespace

TEST_F(MainWindowTest, TheAboutBoxShowsTheNameTheNoticeAndTwoLinks)
{
    Open(StandardSettings());
    struct {
        bool NameBold = false, HasLink = false, LinkOnTop = false, BadgeOnTop = false, BadgeHasPicture = false;
        bool IconShown = false, MainDisabled = false;
        std::vector<std::string> Cut, Overlapping;
        COLORREF LinkColour = 0;
        std::string LinkTip, BadgeTip;
        std::pair<int, int> IconSize, BadgeSize;
    } Seen;
    Watcher.SetAction([&](const TBox& Box) {
        Seen.MainDisabled = !IsWindowEnabled(Box.Owner);
        UpdateWindow(Box.Window);
        const TControl* Link = LinkLabel(Box);
        std::vector<const TControl*> Texts;
        for (const auto& Control : Box.Controls) {
            if (Control.Class != "Static")
                continue;
            if (Control.Text == "Tolvane" && FontOf(Control.Handle).lfWeight >= FW_BOLD)
                Seen.NameBold = true;
            if ((Control.Style & SS_TYPEMASK) == SS_ICON) {
                Seen.IconShown = ShowsAPicture(Control.Handle);
                Seen.IconSize = PictureSize(reinterpret_cast<HICON>(SendMessageA(Control.Handle, STM_GETICON, 0, 0)));
            }
            if (!Control.Text.empty()) {
                if (!ShowsWholeText(Control.Handle))
                    Seen.Cut.push_back(Control.Text);
                Texts.push_back(&Control);
            }
        }
        // Texts do not lie on one another; only the link covers the tail of its own line.
        for (const TControl* A : Texts)
            for (const TControl* B : Texts) {
                RECT Common;
                if (A < B && IntersectRect(&Common, &A->Bounds, &B->Bounds)
                    && !((A == Link || B == Link) && (A->Text == "E-Mail:  Tolvane" || B->Text == "E-Mail:  Tolvane")))
                    Seen.Overlapping.push_back(A->Text + " / " + B->Text);
            }
        if (Link) {
            Seen.HasLink = true;
            const HDC Dc = GetDC(Link->Handle);
            SendMessageA(Box.Window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(Dc),
                         reinterpret_cast<LPARAM>(Link->Handle));
            Seen.LinkColour = GetTextColor(Dc);
            ReleaseDC(Link->Handle, Dc);
            Seen.LinkTip = ToolTipText(Box.Window, Link->Handle);
            Seen.LinkOnTop = WindowFromPoint(Centre(Link->Bounds)) == Link->Handle;
        }
        if (const TControl* Picture = Badge(Box)) {
            Seen.BadgeHasPicture = ShowsAPicture(Picture->Handle);
            Seen.BadgeSize = PictureSize(
                reinterpret_cast<HBITMAP>(SendMessageA(Picture->Handle, STM_GETIMAGE, IMAGE_BITMAP, 0)));
            Seen.BadgeTip = ToolTipText(Box.Window, Picture->Handle);
            Seen.BadgeOnTop = WindowFromPoint(Centre(Picture->Bounds)) == Picture->Handle;
        }
        PressEnter(Box);
    });
    ASSERT_EQ(Press(Form->BitBtnAbout), PumpIdle);

    const auto Boxes = Watcher.Boxes();
    ASSERT_EQ(Boxes.size(), 1u);
    const TBox& Box = Boxes[0];
    EXPECT_EQ(Box.Class, "TFormAbout");
    EXPECT_EQ(Box.Caption, "About...");
    EXPECT_EQ(Box.Owner, Main());
    EXPECT_TRUE(Seen.MainDisabled) << "the box is modal";
    EXPECT_EQ(Box.Client.cx, Dpi96(266));
    EXPECT_EQ(Box.Client.cy, Dpi96(153));
    EXPECT_TRUE(CentredOnScreen(Box.Frame));
    // A fixed dialog frame: a caption with a close box, nothing to size, minimise or maximise.
    EXPECT_TRUE((Box.Style & WS_CAPTION) == WS_CAPTION && (Box.Style & WS_SYSMENU));
    EXPECT_FALSE(Box.Style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(Box.ExStyle & WS_EX_DLGMODALFRAME);

    auto Statics = Box.Texts("Static");
    std::erase(Statics, std::string());
    std::sort(Statics.begin(), Statics.end());
    std::vector<std::string> Expected = {"Tolvane", "Tolvane", TOLVANE_NOTICE, "E-Mail:  Tolvane"};
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(Statics, Expected);
    ASSERT_EQ(Box.Texts("Button"), std::vector<std::string>{"OK"});
    EXPECT_EQ(Box.Find("Button", "OK")->Style & BS_TYPEMASK, BS_DEFPUSHBUTTON);

    EXPECT_TRUE(Seen.NameBold);
    EXPECT_TRUE(Seen.Cut.empty()) << "texts cut off: " << testing::PrintToString(Seen.Cut);
    EXPECT_TRUE(Seen.Overlapping.empty()) << testing::PrintToString(Seen.Overlapping);
    EXPECT_TRUE(Seen.IconShown) << "the program's icon is not to be seen";
    EXPECT_EQ(Seen.IconSize, std::make_pair(Dpi96(32), Dpi96(32)));
    ASSERT_TRUE(Seen.HasLink) << "no underlined link label \"Tolvane\"";
    EXPECT_TRUE(GetBValue(Seen.LinkColour) >= 192 && GetRValue(Seen.LinkColour) < 64 && GetGValue(Seen.LinkColour) < 64)
        << std::hex << Seen.LinkColour;
    EXPECT_EQ(Seen.LinkTip, GetMailToURL());
    EXPECT_EQ(Seen.LinkTip, "mailto:" TOLVANE_CONTACT_EMAIL);
    EXPECT_TRUE(Seen.BadgeHasPicture);
    EXPECT_EQ(Seen.BadgeSize, std::make_pair(Dpi96(110), Dpi96(36)));
    EXPECT_EQ(Seen.BadgeTip, TOLVANE_WEB_URL);
    EXPECT_TRUE(Seen.LinkOnTop) << "a click on the link reaches it";
    EXPECT_TRUE(Seen.BadgeOnTop);
    EXPECT_FALSE(IsWindow(Box.Window)) << "closed and gone";
}

TEST_F(MainWindowTest, TheAboutBoxLinksAskTheShellForTheirTipsAndOnlyOkOrTheCloseBoxEndIt)
{
    Open(StandardSettings());
    TShellRecorder Shell;
    bool OpenAfterEscapeAndLink = false, OpenAfterBadge = false;
    int Round = 0;
    Watcher.SetAction([&](const TBox& Box) {
        switch (Round++) {
        case 0: {
            const TControl *Link = LinkLabel(Box), *Picture = Badge(Box);
            if (!Link || !Picture)
                return;
            // The click is handled after the Escape: when the shell is asked, Escape has had its turn.
            PressEscape(Box);
            ClickOn(*Link);
            OpenAfterEscapeAndLink = WaitUntil([&] { return Shell.Count() == 1; }, 5s, 10ms)
                                     && IsWindowVisible(Box.Window);
            ClickOn(*Picture);
            OpenAfterBadge = WaitUntil([&] { return Shell.Count() == 2; }, 5s, 10ms) && IsWindowVisible(Box.Window);
            PressEnter(Box);
            break;
        }
        case 1: PressCloseBox(Box); break;
        default:
            if (const TControl* Ok = Box.Find("Button", "OK"))
                ClickOn(*Ok);
            break;
        }
    });
    for (int I = 0; I < 3; ++I)
        ASSERT_EQ(Press(Form->BitBtnAbout), PumpIdle);
    EXPECT_EQ(Watcher.Boxes().size(), 3u);
    EXPECT_TRUE(Watcher.Problems().empty())
        << testing::PrintToString(Watcher.Problems()) << ": Enter, the close box and OK each close the box";
    EXPECT_TRUE(OpenAfterEscapeAndLink) << "Escape or the link click closed the box";
    EXPECT_TRUE(OpenAfterBadge);
    // What their tips say (the test above reads them).
    EXPECT_EQ(Shell.Targets(), (std::vector<std::string>{GetMailToURL(), TOLVANE_WEB_URL}));
    EXPECT_TRUE(IsWindowEnabled(Main()));
}

TEST_F(MainWindowTest, TheShellBehindTheLinksReallyStartsWhatItIsGiven)
{
    // A harmless target: the stand-in, which reports in its working folder and ends.
    char Previous[MAX_PATH + 1];
    GetCurrentDirectoryA(sizeof Previous, Previous);
    SetCurrentDirectoryA(Game.Path().c_str());
    const std::intptr_t Result = ShellOpen(Tutorial());
    SetCurrentDirectoryA(Previous);
    EXPECT_GT(Result, 32) << "the shell's answer";
    EXPECT_EQ(StartedZone(Game.Path()), "tutorialb");
    DeleteOnceEnded(Tutorial()); // the stand-in ends by itself; its folder is removed after the test
}

TEST_F(MainWindowTest, FiftyOpeningsOfTheAboutBoxEachMakeAFreshBoxAndLeaveNothingBehind)
{
    Open(StandardSettings());
    std::atomic<int> Opened{0};
    std::vector<std::string> Faults;
    TLiveCounts Base{};
    bool Measuring = false;
    Watcher.SetAction([&](const TBox& Box) {
        if (Measuring) {
            // While it is open, one box and what it owns exist in addition to the rest.
            const DWORD Thread = GetWindowThreadProcessId(Box.Window, nullptr);
            const auto AboutBoxes = TopWindows({"TFormAbout", {}, 0, Thread, false}).size();
            if (AboutBoxes != 1 || TFont::Live() != Base.Fonts + 3 || TIcon::Live() != Base.Icons + 1
                || TBitmap::Live() != Base.Bitmaps + 1)
                Faults.push_back("opening " + std::to_string(Opened + 1) + ": " + std::to_string(AboutBoxes)
                                 + " boxes, fonts " + std::to_string(TFont::Live()));
        }
        ++Opened;
        (Opened % 2 ? PressEnter : PressCloseBox)(Box);
    });
    ASSERT_EQ(Press(Form->BitBtnAbout), PumpIdle); // the first opening may set up what the system keeps
    Base = LiveCounts();
    Measuring = true;
    for (int I = 0; I < 50; ++I) {
        ASSERT_EQ(Press(Form->BitBtnAbout), PumpIdle) << "opening " << I;
        const HWND Box = Watcher.Boxes().back().Window;
        EXPECT_FALSE(IsWindow(Box)) << "opening " << I << ": the box was kept";
    }
    EXPECT_EQ(Opened, 51);
    EXPECT_TRUE(Faults.empty()) << testing::PrintToString(Faults);
    EXPECT_EQ(LiveCounts(), Base);
}
