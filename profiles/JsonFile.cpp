#include "profiles/JsonFile.h"

#include "platform/DebugOutput.h"
#include "profiles/TimeStampId.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Trace(const std::string& what, const std::string& path) {
  if (koru::DebugOutputEnabled()) koru::DebugOutput("JsonFile: " + what + ": " + path);
}

struct FdCloser {
  void operator()(const int* fd) const {
    if (fd && *fd >= 0) ::close(*fd);
  }
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

JsonFileState ReadBytes(const std::string& path, std::string& out) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? JsonFileState::Missing : JsonFileState::Unreadable;
  std::unique_ptr<const int, FdCloser> guard(&fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return JsonFileState::Unreadable;
  out.resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      out.clear();
      return JsonFileState::Unreadable;
    }
    done += static_cast<size_t>(n);
  }
  if (const auto nul = out.find('\0'); nul != std::string::npos) out.resize(nul);
  return JsonFileState::Ok;
}

}  // namespace

std::string JsonFile::ReadText(const std::string& path) {
  std::string text;
  ReadBytes(path, text);
  return text;
}

bool JsonFile::ParseJson(std::string_view text, Json::Value& out) {
  out = Json::Value();
  if (text.empty()) return false;
  Json::CharReaderBuilder builder;
  builder["collectComments"] = false;
  builder["stackLimit"] = 256;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  std::string errors;
  try {
    if (reader->parse(text.data(), text.data() + text.size(), &out, &errors)) return true;
  } catch (const std::exception&) {
    // The parser throws on nesting beyond the stack limit; that is just bad input.
  }
  out = Json::Value();
  return false;
}

JsonFileState JsonFile::ReadJson(const std::string& path, Json::Value& out) {
  out = Json::Value();
  std::string text;
  const JsonFileState state = ReadBytes(path, text);
  if (state != JsonFileState::Ok) {
    Trace(state == JsonFileState::Missing ? "missing" : "unreadable", path);
    return state;
  }
  if (!ParseJson(text, out)) {
    Trace("not JSON", path);
    return JsonFileState::Malformed;
  }
  return JsonFileState::Ok;
}

Json::Value JsonFile::ReadJson(const std::string& path) {
  Json::Value value;
  ReadJson(path, value);
  return value;
}

std::string JsonFile::StyledText(const Json::Value& value) {
  Json::StyledWriter writer;
  return writer.write(value) + "\n";
}

bool JsonFile::WriteJson(const std::string& path, const Json::Value& value) {
  return WriteFileAtomically(path, StyledText(value));
}

bool JsonFile::WriteFileAtomically(const std::string& path, std::string_view bytes) {
  std::string temp = path + ".tmp-XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    Trace(std::string("cannot create temporary file: ") + std::strerror(errno), path);
    return false;
  }
  bool ok = WriteAll(fd, bytes) && ::fdatasync(fd) == 0;
  // mkostemp makes the file private; profiles are ordinary user files.
  ok = ok && ::fchmod(fd, 0644) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    Trace(std::string("write failed: ") + std::strerror(errno), path);
    ::unlink(temp.c_str());
  }
  return ok;
}

std::string JsonFile::KeepAside(const std::string& path) {
  const std::string aside = path + ".damaged-" + MakeTimeStampId();
  if (::rename(path.c_str(), aside.c_str()) != 0) {
    Trace(std::string("cannot keep damaged file aside: ") + std::strerror(errno), path);
    return {};
  }
  Trace("damaged file kept as " + aside, path);
  return aside;
}

std::string JsonFile::FileTitle(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string::npos && dot != 0) name.resize(dot);
  return name;
}
