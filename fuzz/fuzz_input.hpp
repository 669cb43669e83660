// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tickwell::fuzzing {

// Takes what the fuzzer gives, one piece at a time; zeros once it runs out.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ == size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    template <class T>
    T pick() {
        T v{};
        auto* p = reinterpret_cast<std::uint8_t*>(&v);
        for (std::size_t i = 0; i < sizeof v; ++i)
            p[i] = byte();
        return v;
    }
    // Up to `most` bytes, as many as four times the next byte says.
    std::vector<std::uint8_t> bytes(std::size_t most) {
        const std::size_t n = std::min<std::size_t>(byte() * std::size_t{4}, most);
        std::vector<std::uint8_t> out;
        for (std::size_t i = 0; i < n && !empty(); ++i)
            out.push_back(byte());
        return out;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace tickwell::fuzzing
