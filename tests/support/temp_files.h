// Test helpers for files: a private temporary directory removed with everything in it,
// whole-file reads and writes of raw bytes, and an environment variable set for one scope.
// Depends on the C++ library only.
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

// Sets `name` (e.g. TMPDIR) until the end of the scope, then restores or removes it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_, old_;
    bool had_;
};

std::vector<unsigned char> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);  // also true for a dangling symbolic link
std::vector<std::string> ListDirectory(const std::string& path);  // sorted by name
