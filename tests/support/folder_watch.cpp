#include "folder_watch.h"

#ifdef _WIN32

#include <windows.h>

FolderWatch::FolderWatch(const std::filesystem::path& folder) {
  const HANDLE change = FindFirstChangeNotificationW(
      folder.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES |
          FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SECURITY);
  if (change != INVALID_HANDLE_VALUE) change_ = change;
}

FolderWatch::~FolderWatch() {
  if (change_ != nullptr) FindCloseChangeNotification(change_);
}

bool FolderWatch::Watching() const { return change_ != nullptr; }

std::map<std::string, std::uint32_t> FolderWatch::Events() const {
  if (change_ == nullptr || WaitForSingleObject(change_, 0) != WAIT_OBJECT_0) return {};
  return {{"", kWritten}};
}

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

bool FolderWatch::Watching() const { return fd_ >= 0 && watch_ >= 0; }

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
