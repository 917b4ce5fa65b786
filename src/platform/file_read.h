#pragma once
// Reading files: only regular files are read (a FIFO, a device or a folder
// is refused without being waited on), a size bound is checked before
// reading, and a read error is an error, never the end of the file.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace lirno {

// Why a file could not be read.
struct FileError {
  enum class Kind {
    None,
    Open,        // the system refused to open it (`code`: ENOENT when missing)
    NotRegular,  // a folder, a FIFO, a device...
    TooLarge,    // `size` bytes, above `limit`
    Read,        // a read failed (`code`)
  };
  Kind kind = Kind::None;
  int code = 0;  // errno of Open and Read
  std::uint64_t size = 0;
  std::uint64_t limit = 0;

  bool missing() const;
  // The message's text (a French program text, to translate), ending with
  // ":\n" so that the path follows: "Fichier non trouvé :\n" for a missing
  // file, "Fichier trop volumineux :\n", "Ce n'est pas un fichier ordinaire :\n",
  // else "Impossible de lire le fichier :\n".
  std::string messageText() const;
  // What follows the text: the path, then on a line of its own the reason
  // (the system's, or the size and the limit); nothing more for a missing
  // file.
  std::string detail(const std::string& path) const;
};

// A regular file open for reading, closed with the object.
class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens `path` (UTF-8) when it is a regular file of at most `maxBytes`.
  // False, with error() set, otherwise.
  bool open(const std::string& path,
            std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max());
  // The file's size when it was opened.
  std::uint64_t size() const { return size_; }
  // Reads up to `capacity` bytes: the count read, 0 at the end, -1 on an
  // error (error() set). A file that grew past the bound while being read
  // is an error too (TooLarge).
  std::ptrdiff_t read(void* buffer, std::size_t capacity);
  const FileError& error() const { return error_; }

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t limit_ = 0;
  std::uint64_t total_ = 0;
  FileError error_;
};

// Reads the regular file at `path` (UTF-8) into `bytes`. False, with `bytes`
// unchanged and `*error` (when given) set, when it cannot be opened or read;
// errno is then the system's reason (EISDIR for a folder, EINVAL for another
// kind of file, EFBIG for one above `maxBytes`).
bool readFileBytes(const std::string& path, std::string& bytes, FileError* error = nullptr,
                   std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max());

}  // namespace lirno
