#include <windows.h>

#include <stdexcept>
#include <vector>

#include "platform/result_file.h"
#include "platform/system_text.h"

namespace quorix {
namespace {

std::string full_path(const std::string& path) {
  const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::vector<char> buffer(size);
  const DWORD length = GetFullPathNameA(path.c_str(), size, buffer.data(), nullptr);
  if (length == 0 || length >= size) return path;
  return std::string(buffer.data(), length);
}

std::string system_text(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length != 0 ? trimmed_system_text(std::string_view(text, length)) : "";
  LocalFree(text);
  return result;
}

}  // namespace

void write_result_file(const std::string& path, std::string_view bytes) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    throw std::runtime_error("Cannot create file \"" + full_path(path) + "\". " +
                             system_text(error));
  }
  DWORD written = 0;
  const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                             &written, nullptr);
  CloseHandle(file);
  if (!ok || written != bytes.size()) throw std::runtime_error("Stream write error");
}

}  // namespace quorix
