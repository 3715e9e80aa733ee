// The merge of a section's names and values into lines, against a plain reading of the
// rule: search the lines from the top for the first of the same name, letter case aside.
#include "FuzzCheck.h"

#include "SectionLines.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace tol;
using namespace tol::fuzz;

namespace {

std::string FoldCase(const std::string& Name)
{
    std::string Key = Name;
    for (char& C : Key)
        if (C >= 'a' && C <= 'z')
            C = static_cast<char>(C - 'a' + 'A');
    return Key;
}

// A few letters in both cases, so that names meet often; "=" only where a line may hold one.
std::string SmallText(FuzzedDataProvider& Provider, bool MayHoldEquals)
{
    static constexpr char Letters[] = {'a', 'A', 'b', 'B', '\xE9', '\xC9', ' ', '='};
    std::string Text;
    const auto Length = Provider.ConsumeIntegralInRange<std::size_t>(0, 4);
    for (std::size_t I = 0; I < Length; ++I)
        Text += Letters[Provider.ConsumeIntegralInRange<std::size_t>(0, MayHoldEquals ? 7 : 6)];
    return Text;
}

void MergeByHand(std::vector<std::string>& Lines, const std::string& Name, const std::string& Value)
{
    const auto Same = std::find_if(Lines.begin(), Lines.end(), [&](const std::string& Line) {
        return FoldCase(Line.substr(0, Line.find('='))) == FoldCase(Name);
    });
    if (Value.empty()) {
        if (Same != Lines.end())
            Lines.erase(Same);
    } else if (Same != Lines.end()) {
        *Same = Name + "=" + Value;
    } else {
        Lines.push_back(Name + "=" + Value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* Data, std::size_t Size)
{
    FuzzedDataProvider Provider(Data, Size);
    std::vector<std::string> Lines(Provider.ConsumeIntegralInRange<std::size_t>(0, 6));
    for (auto& Line : Lines)
        Line = SmallText(Provider, true);

    TSectionLines Merged(Lines, FoldCase);
    std::vector<std::string> Expected = Lines;
    while (Provider.remaining_bytes() > 0) {
        // A key name as the settings service lists it never holds "=".
        const std::string Name = SmallText(Provider, false);
        const std::string Value = SmallText(Provider, true);
        Merged.Merge(Name, Value);
        MergeByHand(Expected, Name, Value);
        Check(TSectionLines(Merged).Lines() == Expected, "the merge gives the lines a search from the top gives");
    }
    return 0;
}
