#include "folder_watch.h"

#ifdef _WIN32

FolderWatch::FolderWatch(const std::filesystem::path&) {}
FolderWatch::~FolderWatch() = default;
std::map<std::string, std::uint32_t> FolderWatch::Events() const { return {}; }

#else

#include <sys/inotify.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t kWriteEvents = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE |
                                       IN_DELETE | IN_DELETE_SELF | IN_MOVED_FROM | IN_MOVED_TO |
                                       IN_MOVE_SELF;

}  // namespace

FolderWatch::FolderWatch(const std::filesystem::path& folder)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  if (fd_ >= 0) watch_ = inotify_add_watch(fd_, folder.c_str(), IN_ALL_EVENTS);
}

FolderWatch::~FolderWatch() {
  if (fd_ >= 0) close(fd_);
}

std::map<std::string, std::uint32_t> FolderWatch::Events() const {
  std::map<std::string, std::uint32_t> events;
  alignas(inotify_event) char buffer[16 * 1024];
  for (ssize_t length; (length = read(fd_, buffer, sizeof buffer)) > 0;) {
    for (ssize_t at = 0; at < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      std::uint32_t& mask = events[event->len > 0 ? event->name : ""];
      if (event->mask & IN_CLOSE_NOWRITE) mask |= kClosedUnwritten;
      if (event->mask & kWriteEvents) mask |= kWritten;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return events;
}

#endif
