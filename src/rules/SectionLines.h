// A settings section read as lines "name=value", one name after the other: an empty
// value removes the earliest line of that name, any other value replaces that line or,
// when there is none, is appended. Names are the same when their keys are equal; the
// caller's key function decides how letter case counts.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
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

    // The lines that remain, in order.
    std::vector<std::string> Lines() const;

private:
    TNameKey FNameKey;
    // Removed lines stay as holes until the end so that the positions hold.
    std::vector<std::optional<std::string>> FLines;
    // Positions by name key; among equal keys the earliest line comes first.
    std::multimap<std::string, std::size_t> FIndex;
};

} // namespace tol
