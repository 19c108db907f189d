// The fuzzers' file system: every file has the fuzzer's input as its bytes, served
// without touching the disk.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "platform/memory/memory_file_system.h"

namespace tapestrel::fuzzing {

class InputFileSystem : public MemoryFileSystem {
 public:
  using MemoryFileSystem::MemoryFileSystem;
  std::string bytes;

  bool FileExists(const std::string&) override { return true; }
  std::unique_ptr<InputFile> OpenRead(const std::string&) override { return std::make_unique<Buffer>(bytes); }

 private:
  class Buffer : public InputFile {
   public:
    explicit Buffer(const std::string& data) : data_(data) {}
    std::size_t Read(void* into, std::size_t count) override {
      const std::size_t n = position_ >= data_.size() ? 0 : std::min(count, data_.size() - static_cast<std::size_t>(position_));
      if (n) std::memcpy(into, data_.data() + position_, n);
      position_ += n;
      return n;
    }
    bool Seek(std::uint64_t position) override {
      position_ = position;
      return true;
    }
    std::uint64_t Position() const override { return position_; }
    std::uint64_t Size() const override { return data_.size(); }

   private:
    const std::string& data_;
    std::uint64_t position_ = 0;
  };
};

}  // namespace tapestrel::fuzzing
