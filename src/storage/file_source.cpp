#include "storage/file_source.h"

#include "platform/files.h"

namespace units {

// Hosts that start processes must not pass our descriptors on.
FileSource::FileSource(const std::string& path) : file_(std::fopen(path.c_str(), platform::kReadBinaryMode)) {}

FileSource::~FileSource() {
  if (file_ != nullptr) std::fclose(file_);
}

size_t FileSource::Read(void* target, size_t size) { return file_ == nullptr ? 0 : std::fread(target, 1, size, file_); }

}  // namespace units
