// The renderers' output text. They append a few bytes at a time, hundreds
// of thousands of times on a large table: appends here are a bounds check
// and a copy, inlined, where std::string's were calls (with their own
// checks) that came to a third of a run. With a sink the text goes out in
// large pieces as the buffer fills, so a large table is never held (nor
// copied, nor zero-filled) whole.
#pragma once

#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

class TextOut {
 public:
  // sink: where full buffers and the rest (Finish) go; null: kept for Take.
  explicit TextOut(FILE* sink = nullptr, size_t room = 64 * 1024) : sink_(sink) { Grow(room); }

  TextOut& operator+=(std::string_view s) {
    Room(s.size());
    memcpy(data_.get() + used_, s.data(), s.size());
    used_ += s.size();
    return *this;
  }
  TextOut& operator+=(char c) {
    Room(1);
    data_[used_++] = c;
    return *this;
  }
  void append(const char* begin, const char* end) {
    *this += std::string_view(begin, static_cast<size_t>(end - begin));
  }
  void append(size_t count, char c) {
    Room(count);
    memset(data_.get() + used_, c, count);
    used_ += count;
  }
  // count more bytes for the caller to fill, all of them, before the next
  // append: the pieces of a short item written after one check of room.
  char* Extend(size_t count) {
    Room(count);
    char* at = data_.get() + used_;
    used_ += count;
    return at;
  }
  // A number in decimal, written in place (no buffer to copy from).
  template <typename Integer>
  void AppendNumber(Integer number) {
    constexpr size_t kDigits = 24;  // of any 64-bit number, with its sign
    Room(kDigits);
    char* at = data_.get() + used_;
    used_ = static_cast<size_t>(std::to_chars(at, at + kDigits, number).ptr - data_.get());
  }
  void clear() { used_ = 0; }
  size_t size() const { return used_; }
  bool empty() const { return used_ == 0; }
  // The text since the last piece went to the sink.
  std::string_view view() const { return std::string_view(data_.get(), used_); }

  // Without a sink: the whole text.
  std::string Take() const { return std::string(view()); }
  // With a sink: the rest written and flushed; false when a write failed.
  bool Finish() {
    if (!sink_) return true;
    Flush();
    return !failed_ && fflush(sink_) == 0;
  }

 private:
  void Room(size_t more) {
    if (room_ - used_ >= more) return;
    if (sink_) Flush();
    if (room_ - used_ < more) Grow(2 * room_ > used_ + more ? 2 * room_ : used_ + more);
  }
  void Flush() {
    if (used_ && fwrite(data_.get(), 1, used_, sink_) != used_) failed_ = true;
    used_ = 0;
  }
  void Grow(size_t room) {
    std::unique_ptr<char[]> grown(new char[room]);  // not zero-filled: written before read
    if (used_) memcpy(grown.get(), data_.get(), used_);
    data_ = std::move(grown);
    room_ = room;
  }

  FILE* sink_;
  std::unique_ptr<char[]> data_;
  size_t room_ = 0;
  size_t used_ = 0;
  bool failed_ = false;
};
