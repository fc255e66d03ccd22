#include "model/byte_io.h"

#include <algorithm>
#include <cstring>

namespace units {

ByteReader::ByteReader(const void* data, size_t size)
    : memory_(static_cast<const unsigned char*>(data)), memory_size_(data == nullptr ? 0 : size) {}

ByteReader::ByteReader(ByteSource* source) : source_(source) {}

bool ByteReader::Refill() {
  if (source_ == nullptr) return false;
  const size_t kept = memory_size_ - position_;
  std::memmove(buffer_, buffer_ + position_, kept);
  const size_t got = source_->Read(buffer_ + kept, sizeof(buffer_) - kept);
  memory_ = buffer_;
  memory_size_ = kept + got;
  position_ = 0;
  return got > 0;
}

bool ByteReader::ReadBytes(void* target, size_t count) {
  if (exhausted_) return false;
  while (memory_size_ - position_ < count) {
    // Fields are far smaller than the buffer; Skip handles long runs itself.
    if (count > sizeof(buffer_) || !Refill()) {
      exhausted_ = true;
      return false;
    }
  }
  std::memcpy(target, memory_ + position_, count);
  position_ += count;
  return true;
}

bool ByteReader::AtEnd() {
  if (exhausted_) return true;
  if (position_ < memory_size_) return false;
  return !Refill();
}

bool ByteReader::Skip(size_t count) {
  while (count > 0) {
    if (AtEnd()) {
      exhausted_ = true;
      return false;
    }
    const size_t step = std::min(count, memory_size_ - position_);
    position_ += step;
    count -= step;
  }
  return true;
}

bool ByteReader::ReadU16(uint16_t* value) {
  unsigned char b[2];
  if (!ReadBytes(b, 2)) return false;
  *value = static_cast<uint16_t>(b[0] | (b[1] << 8));
  return true;
}

bool ByteReader::ReadU32(uint32_t* value) {
  unsigned char b[4];
  if (!ReadBytes(b, 4)) return false;
  *value = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
  return true;
}

bool ByteReader::ReadI32(int32_t* value) {
  uint32_t raw = 0;
  if (!ReadU32(&raw)) return false;
  *value = static_cast<int32_t>(raw);
  return true;
}

bool ByteReader::ReadF32(float* value) {
  uint32_t raw = 0;
  if (!ReadU32(&raw)) return false;
  std::memcpy(value, &raw, sizeof(raw));
  return true;
}

bool ByteReader::ReadF64(double* value) {
  uint32_t low, high;
  unsigned char b[8];
  if (!ReadBytes(b, 8)) return false;
  low = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
        (static_cast<uint32_t>(b[3]) << 24);
  high = static_cast<uint32_t>(b[4]) | (static_cast<uint32_t>(b[5]) << 8) | (static_cast<uint32_t>(b[6]) << 16) |
         (static_cast<uint32_t>(b[7]) << 24);
  const uint64_t raw = (static_cast<uint64_t>(high) << 32) | low;
  std::memcpy(value, &raw, sizeof(raw));
  return true;
}

bool ByteReader::ReadText(char* field, size_t width) { return ReadTextPrefix(field, width, width); }

bool ByteReader::ReadTextPrefix(char* field, size_t field_width, size_t stored) {
  char bytes[512];
  if (stored == 0 || stored > sizeof(bytes) || stored > field_width || !ReadBytes(bytes, stored)) return false;
  std::memcpy(field, bytes, stored);
  std::memset(field + stored, 0, field_width - stored);
  field[stored - 1] = '\0';
  return true;
}

void ByteWriter::WriteU16(uint16_t value) {
  out_->push_back(static_cast<char>(value & 0xFF));
  out_->push_back(static_cast<char>(value >> 8));
}

void ByteWriter::WriteU32(uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out_->push_back(static_cast<char>((value >> shift) & 0xFF));
}

void ByteWriter::WriteF64(double value) {
  uint64_t raw = 0;
  std::memcpy(&raw, &value, sizeof(raw));
  for (int shift = 0; shift < 64; shift += 8) out_->push_back(static_cast<char>((raw >> shift) & 0xFF));
}

void ByteWriter::WriteText(const char* field, size_t width) {
  const size_t length = strnlen(field, width);
  out_->append(field, length);
  out_->append(width - length, '\0');
}

}  // namespace units
