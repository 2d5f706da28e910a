#include "Library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace vzt {

namespace {

bool EndsWithDll(std::string_view s) {
  if (s.size() < 4) return false;
  std::string_view tail = s.substr(s.size() - 4);
  return std::equal(tail.begin(), tail.end(), ".dll", [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

std::string ResolvePath(const std::string& mapped) {
  namespace fs = std::filesystem;
  fs::path p(mapped);
  if (p.is_absolute()) return mapped;
  fs::path beside = fs::path(ProgramFolder()) / p;
  std::error_code ec;
  if (fs::exists(beside, ec)) return beside.string();
  // A bare name may still be a system library; a relative path never means the current
  // directory, so it stays anchored to the program's folder (and fails there).
  if (mapped.find('/') == std::string::npos) return mapped;
  return beside.string();
}

}  // namespace

std::string ProgramFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  return exe.parent_path().string();
}

std::string MapLibraryName(std::string_view name) {
  std::string out(name);
  std::replace(out.begin(), out.end(), '\\', '/');
  if (EndsWithDll(out)) out.replace(out.size() - 4, 4, ".so");
  return out;
}

Library::Library(Library&& other) noexcept
    : handle_(other.handle_), error_(std::move(other.error_)) {
  other.handle_ = nullptr;
}

Library& Library::operator=(Library&& other) noexcept {
  if (this != &other) {
    Free();
    handle_ = other.handle_;
    error_ = std::move(other.error_);
    other.handle_ = nullptr;
  }
  return *this;
}

bool Library::Load(std::string_view name) {
  Free();
  error_.clear();
  if (name.empty()) {
    error_ = "empty library name";
    return false;
  }
  std::string path = ResolvePath(MapLibraryName(name));
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* e = dlerror();
    error_ = e ? e : "cannot load " + path;
    return false;
  }
  return true;
}

void Library::Free() {
  if (handle_) {
    dlclose(handle_);
    handle_ = nullptr;
  }
}

void* Library::Symbol(const char* name) const {
  if (!handle_ || !name) return nullptr;
  return dlsym(handle_, name);
}

}  // namespace vzt
