// A settings section read as lines "name=value", one name after the other: an empty
// value removes the earliest line of that name, any other value replaces that line or,
// when there is none, is appended. Names are the same when their keys are equal; the
// caller's key function decides how letter case counts.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tol {

class TSectionLines {
public:
    using TNameKey = std::function<std::string(const std::string&)>;

    // Lines already there come first and keep their places; a line's name is its
    // text up to the first "=", or all of it.
    TSectionLines(const std::vector<std::string>& Lines, TNameKey NameKey);

    // Name is a key name as the settings service lists it: it never holds "=".
    void Merge(const std::string& Name, const std::string& Value);

    // The lines that remain, in order, moved out of an object that is done with.
    std::vector<std::string> Lines() &&;

private:
    static constexpr std::size_t None = static_cast<std::size_t>(-1);

    void Append(std::string Line, const std::string& Key);

    TNameKey FNameKey;
    // Removed lines stay as holes until the end so that the positions hold.
    std::vector<std::optional<std::string>> FLines;
    // Each key's earliest and latest live line, and for each line the next one of the
    // same key (None when there is none): among equal keys the earliest comes first.
    struct TChain {
        std::size_t First, Last;
    };
    std::unordered_map<std::string, TChain> FChains;
    std::vector<std::size_t> FNextSame;
};

} // namespace tol
