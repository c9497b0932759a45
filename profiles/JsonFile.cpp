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

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
  }
  out += static_cast<char>(0x80 | (code & 0x3F));
}

bool ReadHex4(std::string_view text, size_t at, uint32_t& code) {
  if (at + 4 > text.size()) return false;
  code = 0;
  for (size_t i = at; i < at + 4; ++i) {
    const char c = text[i];
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) return false;
    code = code << 4 | static_cast<uint32_t>(digit);
  }
  return true;
}

// The styled writer escapes every non-ASCII character; our files hold plain
// UTF-8 text, so those escapes are turned back into the characters. Escapes of
// control characters and lone surrogates stay as they are.
std::string WithPlainUtf8(const std::string& styled) {
  std::string out;
  out.reserve(styled.size());
  for (size_t i = 0; i < styled.size(); ++i) {
    if (styled[i] != '\\' || i + 1 >= styled.size()) {
      out += styled[i];
      continue;
    }
    uint32_t code = 0;
    if (styled[i + 1] == 'u' && ReadHex4(styled, i + 2, code) && code >= 0x80) {
      uint32_t low = 0;
      if (code >= 0xD800 && code < 0xDC00 && styled.compare(i + 6, 2, "\\u") == 0 && ReadHex4(styled, i + 8, low) &&
          low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
        i += 11;
        continue;
      }
      if (code < 0xD800 || code >= 0xE000) {
        AppendUtf8(out, code);
        i += 5;
        continue;
      }
    }
    out += styled[i];
    out += styled[i + 1];
    ++i;
  }
  return out;
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
  return WithPlainUtf8(writer.write(value)) + "\n";
}

bool JsonFile::WriteJson(const std::string& path, const Json::Value& value, Sync sync) {
  return WriteFileAtomically(path, StyledText(value), sync);
}

bool JsonFile::WriteFileAtomically(const std::string& path, std::string_view bytes, Sync sync) {
  std::string temp = path + ".tmp-XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    Trace(std::string("cannot create temporary file: ") + std::strerror(errno), path);
    return false;
  }
  bool ok = WriteAll(fd, bytes) && (sync == Sync::NoWait || ::fdatasync(fd) == 0);
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
