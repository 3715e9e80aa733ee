#include "SectionLines.h"

namespace tol {

TSectionLines::TSectionLines(const std::vector<std::string>& Lines, TNameKey NameKey) : FNameKey(std::move(NameKey))
{
    for (const auto& Line : Lines)
        Append(Line, FNameKey(Line.substr(0, Line.find('='))));
}

void TSectionLines::Append(std::string Line, const std::string& Key)
{
    const std::size_t Position = FLines.size();
    FLines.emplace_back(std::move(Line));
    FNextSame.push_back(None);
    const auto [Chain, New] = FChains.try_emplace(Key, TChain{Position, Position});
    if (!New) {
        FNextSame[Chain->second.Last] = Position;
        Chain->second.Last = Position;
    }
}

void TSectionLines::Merge(const std::string& Name, const std::string& Value)
{
    const std::string Key = FNameKey(Name);
    const auto Chain = FChains.find(Key);
    if (Chain == FChains.end()) {
        if (!Value.empty())
            Append(Name + '=' + Value, Key);
        return;
    }
    const std::size_t First = Chain->second.First;
    if (!Value.empty()) {
        FLines[First] = Name + '=' + Value;
    } else {
        FLines[First].reset();
        if (FNextSame[First] != None)
            Chain->second.First = FNextSame[First];
        else
            FChains.erase(Chain);
    }
}

std::vector<std::string> TSectionLines::Lines() &&
{
    std::vector<std::string> Result;
    Result.reserve(FLines.size());
    for (auto& Line : FLines)
        if (Line)
            Result.push_back(std::move(*Line));
    return Result;
}

} // namespace tol
