// Real files in folders of their own, for the tests and the benchmarks alike.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tol::test {

// A new, empty folder in the temporary folder, removed with its content at the end.
class TTestFolder {
public:
    explicit TTestFolder(const std::string& Name = "t");
    ~TTestFolder();
    TTestFolder(const TTestFolder&) = delete;
    TTestFolder& operator=(const TTestFolder&) = delete;
    // Ends in "\".
    const std::string& Path() const noexcept { return FPath; }
    std::string operator/(const std::string& Name) const { return FPath + Name; }

private:
    std::string FPath;
};

// Removes a folder (a path ending in "\") with everything in it, read-only files too.
void RemoveTree(const std::string& Folder);

// Raise std::runtime_error on failure.
void WriteBytes(const std::string& FileName, const std::string& Bytes);
std::string ReadBytes(const std::string& FileName);
// The rest of an open file, read to its end; the handle is closed.
std::string ReadAndClose(HANDLE File);

bool Exists(const std::string& FileName);

// The names in a folder, sorted, without "." and "..".
std::vector<std::string> ListFolder(const std::string& Folder);

// A build product's Unix path as Wine sees it.
std::string WinePath(const std::string& UnixPath);

} // namespace tol::test
