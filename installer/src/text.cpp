#include "text.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

namespace stelvane {

namespace {

bool isSpace(wchar_t c) { return std::iswspace(c) != 0; }

}  // namespace

std::wstring trim(std::wstring_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isSpace(text[begin])) ++begin;
  while (end > begin && isSpace(text[end - 1])) --end;
  return std::wstring(text.substr(begin, end - begin));
}

std::wstring removeWhiteSpace(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text)
    if (!isSpace(c)) out.push_back(c);
  return out;
}

std::wstring toUpper(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring out(text.size(), L'\0');
  const int written = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, text.data(), size,
                                    out.data(), size, nullptr, nullptr, 0);
  if (written != size) {
    // Upper-casing never changes the length of UTF-16 text under LCMAP_UPPERCASE;
    // fall back to the per-character mapping if the system disagrees.
    out.assign(text);
    CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
  }
  return out;
}

void replaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to) {
  if (from.empty()) return;
  size_t at = 0;
  while ((at = text.find(from, at)) != std::wstring::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

std::vector<std::wstring> split(std::wstring_view text, std::wstring_view separator) {
  std::vector<std::wstring> fields;
  if (separator.empty()) {
    fields.emplace_back(text);
    return fields;
  }
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(separator, start);
    if (at == std::wstring_view::npos) {
      fields.emplace_back(text.substr(start));
      return fields;
    }
    fields.emplace_back(text.substr(start, at - start));
    start = at + separator.size();
  }
}

std::wstring field(std::wstring_view text, std::wstring_view separator, size_t index) {
  auto fields = split(text, separator);
  return index < fields.size() ? fields[index] : std::wstring();
}

bool startsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::wstring_view text, std::wstring_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::wstring formatText(std::wstring_view format, std::span<const std::wstring> args) {
  std::wstring out;
  out.reserve(format.size() + 64);
  size_t next = 0;
  size_t i = 0;
  while (i < format.size()) {
    const wchar_t c = format[i];
    if (c != L'%') {
      out.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == L'%') {
      out.push_back(L'%');
      i += 2;
      continue;
    }
    // %[flags][width][.precision][length]conversion
    size_t j = i + 1;
    bool left = false;
    // No space flag: "100 % sûr" is French text, not a conversion.
    while (j < format.size() && std::wstring_view(L"-+#0").find(format[j]) != std::wstring_view::npos) {
      left = left || format[j] == L'-';
      ++j;
    }
    size_t width = 0;
    while (j < format.size() && format[j] >= L'0' && format[j] <= L'9') {
      width = std::min<size_t>(width * 10 + (format[j] - L'0'), 1024);
      ++j;
    }
    if (j < format.size() && format[j] == L'.') {
      ++j;
      while (j < format.size() && format[j] >= L'0' && format[j] <= L'9') ++j;
    }
    while (j < format.size() && std::wstring_view(L"hlLqjzt").find(format[j]) != std::wstring_view::npos)
      ++j;
    if (j < format.size() && std::wstring_view(L"sSdiucCxX").find(format[j]) != std::wstring_view::npos) {
      std::wstring value = next < args.size() ? args[next] : std::wstring();
      ++next;
      if (value.size() < width) {
        const std::wstring pad(width - value.size(), L' ');
        value = left ? value + pad : pad + value;
      }
      out += value;
      i = j + 1;
    } else {
      // Not a conversion we know: keep the text as written.
      out.push_back(L'%');
      ++i;
    }
  }
  return out;
}

std::wstring decimal(long long value) { return std::to_wstring(value); }

bool parseDecimal(std::wstring_view text, long long& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  if (i == text.size() || text.size() - i > 18) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    v = v * 10 + (text[i] - L'0');
  }
  value = negative ? -v : v;
  return true;
}

std::wstring fromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string toUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

}  // namespace stelvane
