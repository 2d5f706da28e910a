#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace vzt {

struct FileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

using FileHandle = std::unique_ptr<std::FILE, FileClose>;

// fopen for a path in the platform's own spelling (wide on Windows).
inline FileHandle OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  const std::string narrowMode(mode);
  const std::wstring wideMode(narrowMode.begin(), narrowMode.end());
  return FileHandle(_wfopen(path.c_str(), wideMode.c_str()));
#else
  return FileHandle(std::fopen(path.c_str(), mode));
#endif
}

}  // namespace vzt
