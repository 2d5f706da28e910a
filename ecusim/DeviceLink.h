#pragma once

#include <string>

namespace vzt {

// A symbolic link to the simulator's device, claimed with a lock file beside it so that two
// simulators never share one link. A link left behind by a simulator that was killed is
// taken over; one whose simulator still runs is not.
class DeviceLink {
 public:
  DeviceLink() = default;
  ~DeviceLink() { Remove(); }
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  bool Create(const std::string& link_path, const std::string& device, std::string& error);
  void Remove();

  // Makes sure the per-user folder under /tmp exists and belongs to this user alone.
  static bool PreparePrivateFolder(const std::string& folder, std::string& error);

 private:
  std::string link_path_;
  std::string lock_path_;
  int lock_fd_ = -1;
};

}  // namespace vzt
