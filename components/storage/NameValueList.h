#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vzt {

// Lines of the form name=value, looked up by name ignoring letter case. The name is the
// text before the first "=", the value the text after it.
class NameValueList {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  NameValueList() = default;
  explicit NameValueList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  const std::vector<std::string>& Lines() const { return lines_; }
  std::size_t Count() const { return lines_.size(); }

  static std::string NameOf(std::string_view line);
  static std::string ValueOf(std::string_view line);

  // The first line of that name; npos when none.
  std::size_t IndexOfName(std::string_view name) const;
  // Empty when the name is absent.
  std::string Value(std::string_view name) const;
  // Replaces the value of a present name (the empty text removes its line); appends a
  // line for an absent name unless the value is empty.
  void SetValue(std::string_view name, std::string_view value);
  void Append(std::string line) { lines_.push_back(std::move(line)); }
  void Delete(std::size_t index);

 private:
  std::vector<std::string> lines_;
};

}  // namespace vzt
