#pragma once

#include <string>
#include <string_view>

namespace vzt {

// The folder of the running program (without a trailing slash).
std::string ProgramFolder();

// Library names as the program spells them ("SerQorDL.dll", "Dizionario\Languages.dll")
// mapped to this platform: backslashes become slashes and ".dll" becomes ".so".
std::string MapLibraryName(std::string_view name);

// A dynamically loaded library. A bare or relative name is looked up in the program's
// folder first, never in the current directory; a bare name not found there falls back to
// the system's own search. An absolute path is used unchanged.
class Library {
 public:
  Library() = default;
  ~Library() { Free(); }
  Library(Library&& other) noexcept;
  Library& operator=(Library&& other) noexcept;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool Load(std::string_view name);
  void Free();
  bool IsLoaded() const { return handle_ != nullptr; }
  const std::string& Error() const { return error_; }

  void* Symbol(const char* name) const;

  template <class F>
  F Function(const char* name) const {
    return reinterpret_cast<F>(Symbol(name));
  }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace vzt
