#include "config/file_encoding.h"

#include "config/codepage.h"

namespace tarvik {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

char byteOf(char32_t codePoint) {
  const int byte = cp1251ByteOf(codePoint);
  return byte < 0 ? '?' : static_cast<char>(byte);
}

std::string utf16ToCp1251(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() / 2);
  const auto unitAt = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const char32_t unit = unitAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unitAt(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) i += 2;  // a pair: outside the code page anyway
      out += '?';
      continue;
    }
    out += (unit >= 0xD800 && unit <= 0xDFFF) ? '?' : byteOf(unit);
  }
  if (i < bytes.size()) out += '?';  // an odd byte at the end
  return out;
}

std::string cp1251ToUtf16(std::string_view text, bool bigEndian) {
  std::string out(bigEndian ? kUtf16BeMark : kUtf16LeMark);
  out.reserve(2 + text.size() * 2);
  for (const char c : text) {
    const char32_t unit = cp1251CodePoint(static_cast<unsigned char>(c));
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

}  // namespace

FileEncoding encodingOf(std::string_view fileBytes) {
  if (fileBytes.starts_with(kUtf8Mark)) return FileEncoding::Utf8;
  if (fileBytes.starts_with(kUtf16LeMark)) return FileEncoding::Utf16Le;
  if (fileBytes.starts_with(kUtf16BeMark)) return FileEncoding::Utf16Be;
  return FileEncoding::Cp1251;
}

std::string toCp1251(std::string_view fileBytes, FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::Utf8:
      return utf8ToCp1251(fileBytes.substr(kUtf8Mark.size()));
    case FileEncoding::Utf16Le:
      return utf16ToCp1251(fileBytes.substr(kUtf16LeMark.size()), false);
    case FileEncoding::Utf16Be:
      return utf16ToCp1251(fileBytes.substr(kUtf16BeMark.size()), true);
    case FileEncoding::Cp1251:
      break;
  }
  return std::string(fileBytes);
}

std::string fromCp1251(std::string_view text, FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::Utf8:
      return std::string(kUtf8Mark) + cp1251ToUtf8(text);
    case FileEncoding::Utf16Le:
      return cp1251ToUtf16(text, false);
    case FileEncoding::Utf16Be:
      return cp1251ToUtf16(text, true);
    case FileEncoding::Cp1251:
      break;
  }
  return std::string(text);
}

}  // namespace tarvik
