// The renderers' output text. They append a few bytes at a time, hundreds
// of thousands of times on a large table: appends here are a bounds check
// and a copy, inlined, where std::string's were calls (with their own
// checks) that came to a third of a run.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

struct TextOut {
  void Reserve(size_t bytes) {
    if (text_.size() < bytes) text_.resize(bytes);
  }
  TextOut& operator+=(std::string_view s) {
    Room(s.size());
    memcpy(&text_[used_], s.data(), s.size());
    used_ += s.size();
    return *this;
  }
  TextOut& operator+=(char c) {
    Room(1);
    text_[used_++] = c;
    return *this;
  }
  void append(const char* begin, const char* end) { *this += std::string_view(begin, end - begin); }
  void append(size_t count, char c) {
    Room(count);
    memset(&text_[used_], c, count);
    used_ += count;
  }
  void clear() { used_ = 0; }
  size_t size() const { return used_; }
  bool empty() const { return used_ == 0; }
  std::string_view view() const { return std::string_view(text_.data(), used_); }
  // The text written; the buffer is left empty.
  std::string Take() {
    text_.resize(used_);
    used_ = 0;
    return std::move(text_);
  }

 private:
  void Room(size_t more) {
    if (text_.size() - used_ < more) text_.resize(std::max(2 * text_.size(), used_ + more));
  }
  std::string text_;  // its size is the room; the first used_ bytes are written
  size_t used_ = 0;
};
