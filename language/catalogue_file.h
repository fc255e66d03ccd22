// Reading a catalogue file from disk without trusting it: only regular files,
// never more than a given number of bytes.
#ifndef UNITS_LANGUAGE_CATALOGUE_FILE_H_
#define UNITS_LANGUAGE_CATALOGUE_FILE_H_

#include <cstddef>
#include <string>
#include <vector>

namespace units {
namespace language {

enum class FileRead {
  kOk,
  kMissing,   // no such file: the normal case for an untranslated language
  kRejected,  // not a regular file, larger than allowed, or a read error
};

// Reads the whole file at `path` into `bytes`. A file larger than `max_size`
// is refused; on any failure `bytes` is empty and `error` says why.
FileRead ReadCatalogueFile(const std::string& path, size_t max_size, std::vector<char>* bytes, std::string* error);

}  // namespace language
}  // namespace units

#endif  // UNITS_LANGUAGE_CATALOGUE_FILE_H_
