#include "components/storage/NameValueList.h"

#include "components/storage/IniText.h"

namespace vzt {

std::string NameValueList::NameOf(std::string_view line) {
  const std::size_t equals = line.find('=');
  return equals == std::string_view::npos ? std::string() : std::string(line.substr(0, equals));
}

std::string NameValueList::ValueOf(std::string_view line) {
  const std::size_t equals = line.find('=');
  return equals == std::string_view::npos ? std::string() : std::string(line.substr(equals + 1));
}

std::size_t NameValueList::IndexOfName(std::string_view name) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view line = lines_[i];
    if (line.find('=') != std::string_view::npos && SameTextIgnoringCase(NameOf(line), name))
      return i;
  }
  return npos;
}

std::string NameValueList::Value(std::string_view name) const {
  const std::size_t i = IndexOfName(name);
  return i == npos ? std::string() : ValueOf(lines_[i]);
}

void NameValueList::SetValue(std::string_view name, std::string_view value) {
  const std::size_t i = IndexOfName(name);
  std::string line = std::string(name) + "=" + std::string(value);
  if (i == npos) {
    if (!value.empty()) lines_.push_back(std::move(line));
  } else if (value.empty()) {
    Delete(i);
  } else {
    lines_[i] = std::move(line);
  }
}

void NameValueList::Delete(std::size_t index) {
  if (index < lines_.size()) lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace vzt
