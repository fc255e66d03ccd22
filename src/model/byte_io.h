// Little-endian encoding of the stored formats, byte by byte, independent of
// the host's byte order and of struct layout.
//
// ByteReader consumes bytes from memory or from a ByteSource (the storage
// layer's files). Each Read* takes
// a whole field or nothing: when fewer bytes remain than the field needs, the
// target keeps its value, the reader is marked exhausted and every later read
// fails too, as a short stream would.
#ifndef UNITS_MODEL_BYTE_IO_H_
#define UNITS_MODEL_BYTE_IO_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace units {

// A stream of bytes, such as an open file.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `size` bytes into `target`; 0 at the end or on an error.
  virtual size_t Read(void* target, size_t size) = 0;
};

class ByteReader {
 public:
  ByteReader(const void* data, size_t size);
  // REQUIRES: `source` outlives the reader.
  explicit ByteReader(ByteSource* source);

  ByteReader(const ByteReader&) = delete;
  ByteReader& operator=(const ByteReader&) = delete;

  bool ReadU16(uint16_t* value);
  bool ReadI32(int32_t* value);
  bool ReadU32(uint32_t* value);
  bool ReadF32(float* value);
  bool ReadF64(double* value);
  // Reads `width` bytes into `field` and terminates it inside the width, so a
  // damaged field can never run into its neighbour.
  bool ReadText(char* field, size_t width);
  // Reads `stored` bytes into the start of a wider field (old record versions).
  bool ReadTextPrefix(char* field, size_t field_width, size_t stored);
  bool Skip(size_t count);

  // True when no byte is left (or the stream failed).
  bool AtEnd();
  bool Exhausted() const { return exhausted_; }

 private:
  bool ReadBytes(void* target, size_t count);
  bool Refill();

  const unsigned char* memory_ = nullptr;
  size_t memory_size_ = 0;
  size_t position_ = 0;
  ByteSource* source_ = nullptr;
  unsigned char buffer_[16384];
  bool exhausted_ = false;
};

// Fields of the packed records may sit at addresses misaligned for their type,
// where a store through a uint16_t* or uint32_t* is undefined behaviour. Such
// fields are read by value: `field = ReadOr(reader, field)` gives the next
// value, or keeps the field's value when the bytes do not reach it.
inline uint16_t ReadOr(ByteReader& reader, uint16_t kept) {
  uint16_t value;
  return reader.ReadU16(&value) ? value : kept;
}
inline int32_t ReadOr(ByteReader& reader, int32_t kept) {
  int32_t value;
  return reader.ReadI32(&value) ? value : kept;
}
inline uint32_t ReadOr(ByteReader& reader, uint32_t kept) {
  uint32_t value;
  return reader.ReadU32(&value) ? value : kept;
}
inline double ReadOr(ByteReader& reader, double kept) {
  double value;
  return reader.ReadF64(&value) ? value : kept;
}

class ByteWriter {
 public:
  explicit ByteWriter(std::string* out) : out_(out) {}

  void WriteU16(uint16_t value);
  void WriteI32(int32_t value) { WriteU32(static_cast<uint32_t>(value)); }
  void WriteU32(uint32_t value);
  void WriteF64(double value);
  // Writes the field whole: the text up to its terminator, then zeros to the
  // full width, so that no stale bytes reach the store.
  void WriteText(const char* field, size_t width);

 private:
  std::string* out_;
};

}  // namespace units

#endif  // UNITS_MODEL_BYTE_IO_H_
