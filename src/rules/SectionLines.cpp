#include "SectionLines.h"

namespace tol {

TSectionLines::TSectionLines(const std::vector<std::string>& Lines, TNameKey NameKey)
    : FNameKey(std::move(NameKey)), FLines(Lines.begin(), Lines.end())
{
    for (std::size_t I = 0; I < FLines.size(); ++I)
        FIndex.emplace(FNameKey(FLines[I]->substr(0, FLines[I]->find('='))), I);
}

void TSectionLines::Merge(const std::string& Name, const std::string& Value)
{
    const std::string Key = FNameKey(Name);
    auto Found = FIndex.lower_bound(Key);
    if (Found != FIndex.end() && Found->first != Key)
        Found = FIndex.end();
    if (Value.empty()) {
        if (Found != FIndex.end()) {
            FLines[Found->second].reset();
            FIndex.erase(Found);
        }
    } else if (Found != FIndex.end()) {
        FLines[Found->second] = Name + '=' + Value;
    } else {
        FIndex.emplace(Key, FLines.size());
        FLines.push_back(Name + '=' + Value);
    }
}

std::vector<std::string> TSectionLines::Lines() const
{
    std::vector<std::string> Result;
    for (const auto& Line : FLines)
        if (Line)
            Result.push_back(*Line);
    return Result;
}

} // namespace tol
