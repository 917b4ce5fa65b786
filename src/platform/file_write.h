#pragma once
// Writing files so that a failure never costs what the file held: a
// replaced file is written to a new file beside it, created exclusively
// (never through a name someone else prepared), synced to the disk and
// renamed over the old one, which keeps its mode; a symbolic link is
// written through to its target and stays a link. Every failure is
// reported with the system's reason.
#include <string>
#include <string_view>

namespace lirno {

// Where bytes go piece by piece: a file, the standard output, a string.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Takes `bytes`. False once any write has failed (later pieces are
  // dropped).
  virtual bool write(std::string_view bytes) = 0;
};

// The bytes collected in memory (tests, small files).
class StringSink final : public ByteSink {
 public:
  bool write(std::string_view bytes) override {
    text.append(bytes);
    return true;
  }
  std::string text;
};

class FileWriter final : public ByteSink {
 public:
  enum class Mode {
    Replace,  // the file's new content, in place of the old at commit()
    Append,   // added after the file's last byte, created when missing
  };

  FileWriter() = default;
  // Without a successful commit(), a replace is abandoned: its new file is
  // removed and the target stays as it was.
  ~FileWriter() override;
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  // Opens `path` (UTF-8). Replace: a new file is created beside the target
  // (the final target of a symbolic link); an existing target that is not
  // a regular file (a FIFO, a device) is written in place, and a folder is
  // refused. Append: the file itself. False, with error() set, when it
  // cannot be opened.
  bool open(const std::string& path, Mode mode = Mode::Replace);
  // Writes to `fd` as it is (the standard output): nothing to rename, and
  // the descriptor stays open.
  void attach(int fd);

  // Buffered; false once any write has failed.
  bool write(std::string_view bytes) override;

  // Writes out the buffer, syncs the file to the disk and, for a replace,
  // renames the new file over the target. False, with error() set, when
  // this or any earlier step failed: the target then holds what it held
  // before open() (for Append: what it held plus what was written).
  bool commit();

  bool failed() const { return errorCode_ != 0; }
  // errno of the first failure, 0 while all went well.
  int errorCode() const { return errorCode_; }
  // The system's reason of the first failure ("No space left on device").
  std::string error() const;

 private:
  bool flushBuffer();
  bool fail(int code);
  void abandon();

  int fd_ = -1;
  bool owned_ = false;   // fd_ is closed by this writer
  bool renamed_ = false;  // Replace: the new file goes over target_ at commit
  bool sync_ = false;     // a regular file: synced at commit
  std::string target_;   // the file renamed over
  std::string temp_;     // the new file, while it is one
  std::string buffer_;
  int errorCode_ = 0;
};

// `bytes` as the whole new content of `path` (Replace) or added to its end
// (Append). False, with errno set to the system's reason, when it failed; a
// replaced file then keeps its old content.
bool writeWholeFile(const std::string& path, std::string_view bytes,
                    FileWriter::Mode mode = FileWriter::Mode::Replace);

}  // namespace lirno
