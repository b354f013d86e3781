#pragma once

#include <cstddef>
#include <cstdint>

// Takes a fuzz input apart into small values, front to back; once the bytes run out every
// value is 0, so any input is a complete, valid description of a run.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    std::uint8_t byte() { return empty() ? 0 : data_[pos_++]; }
    std::uint16_t u16() {
        const std::uint16_t low = byte();
        return static_cast<std::uint16_t>(low | (byte() << 8));
    }
    std::uint32_t u32() {
        const std::uint32_t low = u16();
        return low | (std::uint32_t{u16()} << 16);
    }
    // The bytes not yet taken.
    const std::uint8_t* rest() const { return data_ + (empty() ? size_ : pos_); }
    std::size_t restSize() const { return empty() ? 0 : size_ - pos_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};
