#include "FaultFixture.h"

#include <algorithm>
#include <stdexcept>

namespace tol::test {

bool CloseStandInsStartedIn(const std::string& Folder)
{
    // A stand-in of Folder: its program lies there.
    const std::wstring Wide = Widen(Folder);
    const auto StartedThere = [&](HWND Window) {
        const TKernelHandle Process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ProcessOf(Window)));
        wchar_t Image[4096] = {};
        DWORD Size = 4096;
        return Process && QueryFullProcessImageNameW(Process.Get(), 0, Image, &Size)
               && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, Image,
                                 static_cast<int>(std::min<std::size_t>(Size, Wide.size())), Wide.c_str(),
                                 static_cast<int>(Wide.size()))
                      == CSTR_EQUAL;
    };
    std::vector<HWND> Found;
    const auto ShowedThere = [&] {
        Found = TopWindows({"TolvaneStandInTutorial", {}, 0, 0, false});
        std::erase_if(Found, [&](HWND Window) { return !StartedThere(Window); });
        return !Found.empty();
    };
    WaitUntil(ShowedThere, 30s);
    for (const HWND Window : Found) {
        const TKernelHandle Process(OpenProcess(SYNCHRONIZE, FALSE, ProcessOf(Window)));
        PostMessageA(Window, WM_CLOSE, 0, 0);
        if (Process)
            WaitForSingleObject(Process.Get(), 20000);
    }
    return !Found.empty();
}

void ExpectCannotStart(const std::vector<TBox>& Boxes, const std::string& Copy)
{
    ASSERT_FALSE(Boxes.empty()) << "no box said that the copy did not start";
    EXPECT_EQ(std::count_if(Boxes.begin(), Boxes.end(), [](const TBox& Box) { return Box.Caption == "Warning"; }), 1);
    const TBox& Warning = Boxes.back();
    EXPECT_EQ(Warning.Caption, "Warning");
    const std::string Start = "Unable to open file \"" + Copy + "\".  ";
    const TControl* Text = Warning.FindIf("Static",
                                          [&](const TControl& Line) { return Line.Text.rfind(Start, 0) == 0; });
    ASSERT_TRUE(Text) << testing::PrintToString(Warning.Texts("Static"));
    const std::string Reason = Text->Text.substr(Start.size());
    EXPECT_FALSE(Reason.empty());
    EXPECT_EQ(Reason.find("%1"), std::string::npos) << "a bare placeholder: " << Reason;
    EXPECT_NE(Reason.find(Copy), std::string::npos) << "the reason names the copy: " << Reason;
    EXPECT_EQ(Reason.find("success"), std::string::npos) << Reason;
}

THeldFile::THeldFile(const std::string& FileName)
{
    static int Counter = 0;
    const std::string Name = "TolvaneFaultLocker-" + std::to_string(GetCurrentProcessId()) + "-"
                             + std::to_string(++Counter);
    FReady.Reset(CreateEventA(nullptr, TRUE, FALSE, (Name + "-ready").c_str()));
    FRelease.Reset(CreateEventA(nullptr, TRUE, FALSE, (Name + "-release").c_str()));
    if (!FReady || !FRelease)
        throw std::runtime_error("cannot create the events " + Name);
    const std::string Locker = WinePath(TOLVANE_FAULT_LOCKER_EXE);
    FLocker = TProcess(Locker,
                       {{}, {}, "\"" + Locker + "\" \"" + FileName + "\" " + Name + "-ready " + Name + "-release"});
    const HANDLE Waits[] = {FReady.Get(), FLocker.Handle()};
    if (WaitForMultipleObjects(2, Waits, FALSE, 30000) != WAIT_OBJECT_0) {
        Release();
        throw std::runtime_error("the locker did not take hold of " + FileName);
    }
}

void THeldFile::Release()
{
    if (!FRelease)
        return;
    SetEvent(FRelease.Get());
    FLocker.WaitForExit(30s);
    FRelease.Reset();
}

namespace {

TProcess StartStaying(const std::string& FileName)
{
    CopyStandIn(FileName, "600000");
    return TProcess(FileName, {FileName.substr(0, FileName.find_last_of('\\') + 1)});
}

} // namespace

TRunningCopy::TRunningCopy(const std::string& FileName) : TProcess(StartStaying(FileName))
{
    // Its window shows once it has read how long to stay.
    const auto ShownOrEnded = [&] { return TopWindow({"TolvaneStandInTutorial", {}, Id()}) || !Running(); };
    const bool Shown = WaitUntil(ShownOrEnded, 20s) && Running();
    WriteBytes(FileName.substr(0, FileName.find_last_of('\\') + 1) + "StandInExit.txt", "0");
    if (!Shown) {
        End();
        throw std::runtime_error("the running copy did not show its window");
    }
}

} // namespace tol::test
