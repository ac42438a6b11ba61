// Test helpers for files: a private temporary directory removed with everything in it, and
// whole-file reads and writes of raw bytes. Depends on the C++ library only.
#pragma once
#include <string>
#include <vector>

class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::vector<unsigned char> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
std::vector<std::string> ListDirectory(const std::string& path);
