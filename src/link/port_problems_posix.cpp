#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "link/master_result.h"
#include "link/port_problems.h"
#include "link/posix_tty.h"

namespace vs {
namespace {

namespace fs = std::filesystem;

// One line of /etc/group: its name, id and listed members.
struct Group {
  std::string name;
  std::uint32_t id = 0;
  std::vector<std::string> members;
};

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

std::vector<Group> readGroups(const PortHost& host) {
  std::vector<Group> groups;
  std::ifstream in(underRoot(host.root, "/etc/group"));
  for (std::string line; std::getline(in, line);) {
    const auto fields = split(line, ':');
    if (fields.size() < 3) continue;
    Group group{fields[0], 0, fields.size() > 3 ? split(fields[3], ',') : std::vector<std::string>()};
    const std::string& id = fields[2];
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), group.id);
    if (error == std::errc() && end == id.data() + id.size()) groups.push_back(std::move(group));
  }
  return groups;
}

// The group as the system knows it; on this system also from the name service
// (LDAP and the like), where /etc/group may not list it.
Group groupOf(std::uint32_t id, const PortHost& host) {
  for (Group& group : readGroups(host)) {
    if (group.id == id) return group;
  }
  Group group{std::to_string(id), id, {}};
  if (host.root == "/") {
    if (const ::group* known = ::getgrgid(id); known != nullptr) {
      group.name = known->gr_name;
      for (char** member = known->gr_mem; member != nullptr && *member != nullptr; ++member) {
        group.members.emplace_back(*member);
      }
    }
  }
  return group;
}

bool inGroups(std::uint32_t id, const PortHost& host) {
  return std::find(host.groups.begin(), host.groups.end(), id) != host.groups.end();
}

bool mayReadWrite(const struct stat& node, const PortHost& host) {
  constexpr mode_t kUser = S_IRUSR | S_IWUSR;
  constexpr mode_t kGroup = S_IRGRP | S_IWGRP;
  constexpr mode_t kOther = S_IROTH | S_IWOTH;
  if (host.uid == 0) return true;
  if (node.st_uid == host.uid) return (node.st_mode & kUser) == kUser;
  if (inGroups(node.st_gid, host)) return (node.st_mode & kGroup) == kGroup;
  return (node.st_mode & kOther) == kOther;
}

std::string permissionProblem(const std::string& port, const struct stat& node,
                              const PortHost& host) {
  constexpr mode_t kGroup = S_IRGRP | S_IWGRP;
  const Group group = groupOf(node.st_gid, host);
  // Joining root's group to reach one device would be worse than the problem.
  if ((node.st_mode & kGroup) != kGroup || group.name == "root") {
    return "Only its owner may open " + port +
           ": a udev rule must give it to a group such as dialout, or ask the computer's "
           "administrator.";
  }
  const bool listed =
      std::find(group.members.begin(), group.members.end(), host.user) != group.members.end();
  if (listed) {
    return "You were added to the group " + group.name + ", which may open " + port +
           ", after this session began: log out and in again (or restart the computer) to "
           "open it.";
  }
  return "Only members of the group " + group.name + " may open " + port + ", and " + host.user +
         " is not one: run \"sudo adduser " + host.user + " " + group.name +
         "\", then log out and in again.";
}

std::string firstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// "minicom (process 4242)" for the first process seen with `device` (as the
// system names it) open; empty when none is seen. Other users' processes are
// seen only by root.
std::string holderOf(const std::string& device, const PortHost& host) {
  std::error_code error;
  for (const auto& process : fs::directory_iterator(underRoot(host.root, "/proc"), error)) {
    const std::string pid = process.path().filename().string();
    const auto digit = [](unsigned char c) { return std::isdigit(c) != 0; };
    if (pid.empty() || !std::all_of(pid.begin(), pid.end(), digit)) continue;
    std::error_code unreadable;
    for (const auto& fd : fs::directory_iterator(process.path() / "fd", unreadable)) {
      std::error_code broken;
      if (fs::read_symlink(fd.path(), broken) != device) continue;
      const std::string name = firstLine(process.path() / "comm");
      return (name.empty() ? "process " + pid : name + " (process " + pid + ")");
    }
  }
  return {};
}

// The node behind a port name as the system names it: /dev/ttyUSB0 for a
// by-id link to it.
std::string systemNode(const std::string& path, const PortHost& host) {
  std::error_code error;
  const fs::path real = fs::canonical(underRoot(host.root, path), error);
  if (error) return path;
  if (host.root == "/") return real.string();
  const fs::path root = fs::canonical(host.root, error);
  return "/" + real.lexically_relative(root).string();
}

std::string accessProblem(const std::string& port, const std::string& path, const PortHost& host,
                          bool inUseSaid) {
  struct stat node {};
  if (path.empty() || ::stat(underRoot(host.root, path).c_str(), &node) != 0) {
    return missingPortSentence(port, findSerialDevicesAt(host.root));
  }
  if (!mayReadWrite(node, host)) return permissionProblem(port, node, host);
  if (const std::string holder = holderOf(systemNode(path, host), host); !holder.empty()) {
    return port + " is in use by " + holder + ": close that program and try again.";
  }
  if (inUseSaid) return port + " is in use by another program: close that program and try again.";
  return {};
}

}  // namespace

PortHost PortHost::current() {
  PortHost host;
  host.uid = ::getuid();
  const int count = ::getgroups(0, nullptr);
  std::vector<gid_t> ids(count > 0 ? static_cast<std::size_t>(count) : 0);
  if (count > 0 && ::getgroups(count, ids.data()) == count) {
    host.groups.assign(ids.begin(), ids.end());
  }
  host.groups.push_back(::getegid());
  if (const passwd* user = ::getpwuid(host.uid); user != nullptr) {
    host.user = user->pw_name;
  } else if (const char* name = std::getenv("USER"); name != nullptr) {
    host.user = name;
  }
  return host;
}

std::string explainOpenFailure(const std::string& port, int masterResult, const PortHost& host) {
  const std::string path = posix_tty::devicePath(port);
  std::string problem = accessProblem(port, path, host, masterResult == MODBUS_PORT_IN_USE);
  if (problem.empty()) {
    problem = port + " is there but would not open as a serial port: unplug the adapter, plug "
                     "it in again and try again.";
  }
  return problem;
}

std::string explainOpenFailure(const std::string& port, int masterResult) {
  return explainOpenFailure(port, masterResult, PortHost::current());
}

std::string portAccessProblem(const std::string& port, const PortHost& host) {
  return accessProblem(port, posix_tty::devicePath(port), host, false);
}

std::optional<int> adapterLatencyTimer(const std::string& port) {
  return describeSerialDevice(posix_tty::devicePath(port), "/").latencyTimerMs;
}

std::string lowerLatencyAdvice(const std::string& port, int timerMs) {
  std::error_code error;
  const fs::path node = fs::canonical(posix_tty::devicePath(port), error);
  const std::string name = error ? std::string("ttyUSB0") : node.filename().string();
  return "The USB adapter on " + port + " holds what it receives up to " +
         std::to_string(timerMs) + " ms before passing it on: lower it with \"echo 1 | sudo tee " +
         "/sys/bus/usb-serial/devices/" + name + "/latency_timer\" (again after replugging).";
}

}  // namespace vs
