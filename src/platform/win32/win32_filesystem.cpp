#include <windows.h>

#include "core/text.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_services.h"

namespace corvane {

std::vector<FileEntry> Win32FileSystem::List(const std::string& folder,
                                             const std::string& pattern) {
  std::vector<FileEntry> out;
  WIN32_FIND_DATAA fd;
  std::string search = text::IncludeTrailingBackslash(folder) + pattern;
  FindHandle find(FindFirstFileA(search.c_str(), &fd));
  if (!find) return out;
  do {
    out.push_back({fd.cFileName, fd.dwFileAttributes});
  } while (FindNextFileA(find.get(), &fd));
  return out;
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to) {
  // Windows refuses to replace a hidden or read-only file; not every system
  // that runs us does, so look first.
  DWORD target = GetFileAttributesA(to.c_str());
  if (target != INVALID_FILE_ATTRIBUTES &&
      (target & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32FileSystem::CopyNew(const std::string& from, const std::string& to) {
  return ::CopyFileA(from.c_str(), to.c_str(), TRUE) != 0;
}

bool Win32FileSystem::Delete(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  return ::DeleteFileA(path.c_str()) != 0;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) ||
      (a & FILE_ATTRIBUTE_READONLY))
    return false;
  return ::RemoveDirectoryA(path.c_str()) != 0;
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::optional<std::uint32_t> Win32FileSystem::Attributes(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return a;
}

bool Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  return ::SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool Win32FileSystem::Rename(const std::string& from, const std::string& to) {
  return ::MoveFileA(from.c_str(), to.c_str()) != 0;
}

std::string Win32FileSystem::CurrentDirectory() {
  char buf[MAX_PATH + 1];
  DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
  return (n == 0 || n > MAX_PATH) ? std::string() : std::string(buf, n);
}

bool Win32FileSystem::ChangeDirectory(const std::string& path) {
  return ::SetCurrentDirectoryA(path.c_str()) != 0;
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
  FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return std::nullopt;
  DWORD high = 0;
  DWORD size = GetFileSize(f.get(), &high);
  if (size == INVALID_FILE_SIZE || high != 0 || size > (64u << 20)) return std::nullopt;
  std::string data(size, '\0');
  DWORD got = 0;
  if (size && (!::ReadFile(f.get(), &data[0], size, &got, nullptr) || got != size))
    return std::nullopt;
  return data;
}

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& data) {
  FileHandle f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_ARCHIVE, nullptr));
  if (!f) return false;
  DWORD put = 0;
  return data.empty() ||
         (::WriteFile(f.get(), data.data(), static_cast<DWORD>(data.size()), &put, nullptr) &&
          put == data.size());
}

namespace {

class Win32Appender : public FileAppender {
 public:
  explicit Win32Appender(FileHandle f) : f_(std::move(f)) {}
  bool Append(const std::string& data) override {
    DWORD put = 0;
    bool written = data.empty() || (::WriteFile(f_.get(), data.data(), static_cast<DWORD>(data.size()),
                                                &put, nullptr) &&
                                    put == data.size());
    // The record must be on the disk before the change it describes is made.
    return written && FlushFileBuffers(f_.get());
  }

 private:
  FileHandle f_;
};

}  // namespace

std::unique_ptr<FileAppender> Win32FileSystem::OpenAppender(const std::string& path) {
  FileHandle f(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_ARCHIVE, nullptr));
  if (!f) return nullptr;
  return std::make_unique<Win32Appender>(std::move(f));
}

bool Win32FileSystem::AppendFile(const std::string& path, const std::string& data) {
  auto appender = OpenAppender(path);
  return appender && appender->Append(data);
}

}  // namespace corvane
