// The one way to read bytes of outside input: every access is checked
// against the buffer it reads from, and packed little-endian fields are
// copied out byte by byte, never read through a cast pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteView {
 public:
  ByteView() = default;
  ByteView(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

  // True when [offset, offset + count) lies inside the buffer.
  bool Has(size_t offset, size_t count) const { return offset <= size_ && count <= size_ - offset; }

  // Bytes [offset, offset + count), or an empty view when out of range.
  ByteView Slice(size_t offset, size_t count) const {
    return Has(offset, count) ? ByteView(data_ + offset, count) : ByteView();
  }

  // Copies count bytes at offset into out; false (and out untouched) when
  // they do not all lie inside the buffer.
  bool Copy(size_t offset, void* out, size_t count) const {
    if (!Has(offset, count)) return false;
    if (count) memcpy(out, data_ + offset, count);
    return true;
  }

  // Little-endian fields; 0 when the field is not inside the buffer.
  uint8_t U8(size_t offset) const { return Has(offset, 1) ? data_[offset] : 0; }
  uint16_t U16(size_t offset) const { return static_cast<uint16_t>(Le(offset, 2)); }
  uint32_t U32(size_t offset) const { return static_cast<uint32_t>(Le(offset, 4)); }
  uint64_t U64(size_t offset) const { return Le(offset, 8); }

 private:
  uint64_t Le(size_t offset, size_t count) const {
    if (!Has(offset, count)) return 0;
    uint64_t value = 0;
    for (size_t i = count; i > 0; --i) value = (value << 8) | data_[offset + i - 1];
    return value;
  }

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// Little-endian store into a byte array of known size (writers of the dump).
template <size_t N>
inline void StoreU16(uint8_t (&bytes)[N], size_t offset, uint16_t value) {
  static_assert(N >= 2, "record too small");
  if (offset + 2 > N) return;
  bytes[offset] = static_cast<uint8_t>(value);
  bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

template <size_t N>
inline void StoreU32(uint8_t (&bytes)[N], size_t offset, uint32_t value) {
  static_assert(N >= 4, "record too small");
  if (offset + 4 > N) return;
  for (size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}
