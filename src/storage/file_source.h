// An open file as a stream of bytes for the decoders.
#ifndef UNITS_STORAGE_FILE_SOURCE_H_
#define UNITS_STORAGE_FILE_SOURCE_H_

#include <cstdio>
#include <string>

#include "model/byte_io.h"

namespace units {

class FileSource : public ByteSource {
 public:
  // Opens `path` for reading (close-on-exec); ok() tells whether it opened.
  explicit FileSource(const std::string& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool ok() const { return file_ != nullptr; }
  size_t Read(void* target, size_t size) override;

 private:
  std::FILE* file_;
};

}  // namespace units

#endif  // UNITS_STORAGE_FILE_SOURCE_H_
