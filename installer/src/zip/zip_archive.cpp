#include "zip/zip_archive.h"

#include "fs.h"
#include "handle.h"
#include "paths.h"

namespace stelvane {

namespace {

// Writes through a buffer of a few inflate blocks: fewer system calls, and
// still never more than that much of a file in memory.
class FileSink final : public zip::Sink {
 public:
  explicit FileSink(HANDLE file) : file_(file) { buffer_.reserve(kBufferSize); }
  bool write(const void* data, size_t length) override {
    if (buffer_.size() + length > kBufferSize && !flush()) return false;
    if (length >= kBufferSize) return put(data, length);
    const auto* bytes = static_cast<const char*>(data);
    buffer_.insert(buffer_.end(), bytes, bytes + length);
    return true;
  }
  bool flush() {
    const bool ok = buffer_.empty() || put(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok;
  }

 private:
  static constexpr size_t kBufferSize = 8 * zip::Reader::kBlockSize;
  bool put(const void* data, size_t length) {
    DWORD written = 0;
    return WriteFile(file_, data, static_cast<DWORD>(length), &written, nullptr) && written == length;
  }
  HANDLE file_;
  std::vector<char> buffer_;
};

int codeOf(zip::ExtractResult result) {
  switch (result) {
    case zip::ExtractResult::Ok: return kExtractPlaced;
    case zip::ExtractResult::SinkFailed: return kExtractCannotCreate;
    case zip::ExtractResult::ShortData: return kExtractShortData;
    case zip::ExtractResult::NoMemory: return kExtractNoMemory;
    case zip::ExtractResult::BadData: return kExtractBadData;
  }
  return kExtractBadData;
}

std::wstring withBackslashes(std::wstring_view name) {
  std::wstring out(name);
  for (wchar_t& c : out)
    if (c == L'/') c = L'\\';
  return out;
}

// "CON", "nul.txt", "COM1 .log", "LPT²": names the system opens as devices, whatever the folder.
bool isDeviceName(std::wstring_view component) {
  std::wstring_view base = component.substr(0, component.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const wchar_t* device : kDevices) {
    if (CompareStringOrdinal(base.data(), static_cast<int>(base.size()), device, -1, TRUE) == CSTR_EQUAL)
      return true;
  }
  // COM0 to COM9 and LPT0 to LPT9, and the superscript digits one to three,
  // which the system takes for the same devices.
  if (base.size() == 4 && ((base[3] >= L'0' && base[3] <= L'9') || base[3] == L'\u00B9' ||
                           base[3] == L'\u00B2' || base[3] == L'\u00B3')) {
    for (const wchar_t* prefix : {L"COM", L"LPT"}) {
      if (CompareStringOrdinal(base.data(), 3, prefix, 3, TRUE) == CSTR_EQUAL) return true;
    }
  }
  return false;
}

bool isDotsAndSpaces(std::wstring_view component) {
  for (wchar_t c : component)
    if (c != L'.' && c != L' ') return false;
  return true;
}

}  // namespace

// Positional reads of the archive file.
class ZipArchive::FileSource final : public zip::Source {
 public:
  FileSource(HANDLE file, uint64_t size) : file_(file), size_(size) {}
  uint64_t size() const override { return size_; }
  bool read(uint64_t offset, void* buffer, size_t length) override {
    if (offset > size_ || length > size_ - offset) return false;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (length > 0) {
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      const DWORD want = static_cast<DWORD>(std::min<size_t>(length, 1u << 30));
      DWORD got = 0;
      if (!ReadFile(file_.get(), bytes, want, &got, &at) || got == 0) return false;
      bytes += got;
      offset += got;
      length -= got;
    }
    return true;
  }

 private:
  Handle file_;
  uint64_t size_;
};

ZipArchive::ZipArchive() = default;
ZipArchive::~ZipArchive() = default;

int ZipArchive::open(const std::wstring& path) {
  close();
  HANDLE file;
  {
    CriticalErrorMode mode;
    file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) return kExtractCannotCreate;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file, &size)) {
    CloseHandle(file);
    return kExtractCannotCreate;
  }
  source_ = std::make_unique<FileSource>(file, static_cast<uint64_t>(size.QuadPart));
  if (reader_.open(*source_) != zip::OpenResult::Ok) {
    close();
    return kExtractBadData;
  }
  const auto& entries = reader_.entries();
  names_.reserve(entries.size());
  byName_.reserve(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    names_.push_back(decodeEntryName(entries[i]));
    byName_.emplace(names_.back(), i);  // the first of equal names wins
  }
  return kExtractPlaced;
}

void ZipArchive::close() {
  reader_.close();
  source_.reset();
  names_.clear();
  byName_.clear();
}

bool ZipArchive::isOpen() const { return reader_.isOpen(); }
size_t ZipArchive::count() const { return names_.size(); }
const std::wstring& ZipArchive::entryName(size_t index) const { return names_.at(index); }
const zip::Entry& ZipArchive::entry(size_t index) const { return reader_.entries().at(index); }

std::optional<size_t> ZipArchive::find(std::wstring_view name) const {
  const std::wstring wanted = withBackslashes(name);
  if (auto it = byName_.find(wanted); it != byName_.end()) return it->second;
  for (size_t i = 0; i < names_.size(); ++i) {
    if (CompareStringOrdinal(names_[i].data(), static_cast<int>(names_[i].size()), wanted.data(),
                             static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL)
      return i;
  }
  return std::nullopt;
}

int ZipArchive::extract(std::wstring_view name, const std::wstring& target) {
  if (!isOpen()) return kExtractNotOpen;
  const auto index = find(name);
  if (!index) return kExtractNoEntry;
  return extractIndex(*index, target);
}

int ZipArchive::extractIndex(size_t index, const std::wstring& target) {
  if (!isOpen()) return kExtractNotOpen;
  if (index >= count()) return kExtractNoEntry;
  const zip::Entry& e = reader_.entries()[index];
  if (e.isDirectory()) return createFolderTree(target) ? kExtractPlaced : kExtractCannotCreate;

  Handle file;
  {
    CriticalErrorMode mode;
    file.reset(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  if (!file) return kExtractCannotCreate;
  FileSink sink(file.get());
  int code = codeOf(reader_.extract(index, sink));
  if (code == kExtractPlaced && !sink.flush()) code = kExtractCannotCreate;
  if (code != kExtractPlaced) {
    // A file cut short or with wrong data is not left looking installed.
    file.reset();
    deleteFile(target);
    return code;
  }
  // The stored date and time are local time.
  FILETIME local, utc;
  if (DosDateTimeToFileTime(e.dosDate, e.dosTime, &local) && LocalFileTimeToFileTime(&local, &utc))
    SetFileTime(file.get(), nullptr, nullptr, &utc);
  file.reset();
  setAttributes(target, attributesOf(e));
  return kExtractPlaced;
}

std::wstring decodeEntryName(const zip::Entry& entry) {
  const std::string& bytes = entry.name;
  if (bytes.empty()) return {};
  const UINT codePage = entry.utf8 ? CP_UTF8 : CP_OEMCP;
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    nullptr, 0);
  std::wstring name(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), name.data(), n);
  return withBackslashes(name);
}

DWORD attributesOf(const zip::Entry& entry) {
  // Only the attributes a file may be given are taken from the archive.
  constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                              FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
  DWORD attributes = 0;
  switch (entry.versionMadeBy >> 8) {
    case 0: attributes = entry.externalAttributes & kSettable; break;
    case 3:
      attributes = (entry.externalAttributes & 0x00800000) ? FILE_ATTRIBUTE_NORMAL
                                                            : FILE_ATTRIBUTE_READONLY;
      break;
    default: break;
  }
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

bool isContainedEntryName(std::wstring_view name) {
  if (name.empty() || name[0] == L'\\' || name.find(L':') != std::wstring_view::npos)
    return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find(L'\\', start);
    if (end == std::wstring_view::npos) end = name.size();
    const std::wstring_view component = name.substr(start, end - start);
    if (!component.empty() && component != L"." && isDotsAndSpaces(component)) return false;
    if (isDeviceName(component)) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace stelvane
