// SPDX-License-Identifier: MIT
// A deflate decoder in the manner of zlib's reference decoder (puff): canonical Huffman codes
// decoded a bit at a time, every malformed stream refused. Slower than zlib, and small: a
// picture check runs it once over a file of at most a few MiB.
#include <tickwell/platform/inflate.hpp>

#include <array>
#include <cstring>
#include <vector>

namespace tickwell {
namespace {

constexpr int kMaxBits = 15;          // longest code
constexpr int kMaxLengthCodes = 286;  // literal/length symbols
constexpr int kMaxDistanceCodes = 30;
constexpr int kMaxCodes = kMaxLengthCodes + kMaxDistanceCodes;
constexpr int kFixedLengthCodes = 288;
constexpr std::size_t kWindow = 32768;

struct Malformed {
    const char* why;
};

// A canonical Huffman code: how many codes each length has, and the symbols in code order.
struct Huffman {
    std::array<std::uint16_t, kMaxBits + 1> count{};
    std::array<std::uint16_t, kFixedLengthCodes> symbol{};
};

// Builds `h` from the code lengths of `n` symbols. 0: a complete code; above 0: an
// incomplete one (codes left over); below 0: more codes than the lengths allow.
int build(Huffman& h, const std::uint16_t* length, int n) {
    h.count.fill(0);
    for (int s = 0; s < n; ++s)
        ++h.count[length[s]];
    if (h.count[0] == n) return 0;  // no codes: complete, and decoding fails if one is read
    int left = 1;
    for (int len = 1; len <= kMaxBits; ++len) {
        left = left * 2 - h.count[static_cast<std::size_t>(len)];
        if (left < 0) return left;
    }
    std::array<std::uint16_t, kMaxBits + 1> offset{};
    for (int len = 1; len < kMaxBits; ++len)
        offset[static_cast<std::size_t>(len + 1)] = static_cast<std::uint16_t>(
            offset[static_cast<std::size_t>(len)] + h.count[static_cast<std::size_t>(len)]);
    for (int s = 0; s < n; ++s)
        if (length[s] != 0) h.symbol[offset[length[s]]++] = static_cast<std::uint16_t>(s);
    return left;
}

class Inflater {
  public:
    Inflater(std::span<const std::uint8_t> in,
             const std::function<bool(std::span<const std::uint8_t>)>& take)
        : in_(in), take_(take), out_(4 * kWindow) {}

    // Reads the deflate data; false when `take` stopped it.
    bool run() {
        bool last = false;
        while (!last) {
            last = bits(1) == 1;
            switch (bits(2)) {
                case 0:
                    stored();
                    break;
                case 1:
                    fixed();
                    break;
                case 2:
                    dynamic();
                    break;
                default:
                    throw Malformed{"a deflate block of the reserved type 3"};
            }
            if (stopped_) return false;
        }
        return flush(out_used_);
    }

    // The byte position after the deflate data, once run() returned.
    std::size_t position() const { return next_; }
    std::uint32_t adler() const { return (adler_b_ << 16) | adler_a_; }

  private:
    int bits(int need) {
        std::uint32_t value = bit_buffer_;
        while (bit_count_ < need) {
            if (next_ == in_.size()) throw Malformed{"the compressed data ends early"};
            value |= std::uint32_t{in_[next_++]} << bit_count_;
            bit_count_ += 8;
        }
        bit_buffer_ = value >> need;
        bit_count_ -= need;
        return static_cast<int>(value & ((1u << need) - 1));
    }

    int decode(const Huffman& h) {
        int code = 0, first = 0, index = 0;
        for (int len = 1; len <= kMaxBits; ++len) {
            code |= bits(1);
            const int count = h.count[static_cast<std::size_t>(len)];
            if (code - count < first)
                return h.symbol[static_cast<std::size_t>(index + code - first)];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        throw Malformed{"a code that the block's codes do not have"};
    }

    // Hands the first `keep_from` bytes of the output on; the rest stays for references.
    bool flush(std::size_t keep_from) {
        if (keep_from == 0) return true;
        for (std::size_t i = 0; i < keep_from; i += 5552)
            sum(std::span(out_).subspan(i, std::min<std::size_t>(5552, keep_from - i)));
        if (!take_(std::span<const std::uint8_t>(out_.data(), keep_from))) {
            stopped_ = true;
            return false;
        }
        std::memmove(out_.data(), out_.data() + keep_from, out_used_ - keep_from);
        out_used_ -= keep_from;
        return true;
    }

    void sum(std::span<const std::uint8_t> bytes) {
        for (const std::uint8_t b : bytes) {
            adler_a_ += b;
            adler_b_ += adler_a_;
        }
        adler_a_ %= 65521;
        adler_b_ %= 65521;
    }

    // Room for at least one more copy of the longest match (258 bytes).
    void make_room() {
        if (out_used_ + 258 <= out_.size()) return;
        flush(out_used_ - kWindow);
        if (stopped_) throw Stopped{};
    }

    void put(std::uint8_t byte) {
        make_room();
        out_[out_used_++] = byte;
        ++produced_;
    }

    void copy(std::size_t distance, std::size_t length) {
        if (distance > produced_) throw Malformed{"a reference before the start of the data"};
        make_room();
        for (std::size_t i = 0; i < length; ++i, ++out_used_)
            out_[out_used_] = out_[out_used_ - distance];
        produced_ += length;
    }

    struct Stopped {};

    void stored() {
        bit_buffer_ = 0;
        bit_count_ = 0;
        if (in_.size() - next_ < 4) throw Malformed{"the compressed data ends early"};
        const unsigned length = in_[next_] | (unsigned{in_[next_ + 1]} << 8);
        const unsigned complement = in_[next_ + 2] | (unsigned{in_[next_ + 3]} << 8);
        next_ += 4;
        if (length != (~complement & 0xFFFF)) throw Malformed{"a stored block of a wrong length"};
        if (in_.size() - next_ < length) throw Malformed{"the compressed data ends early"};
        try {
            for (unsigned i = 0; i < length; ++i)
                put(in_[next_ + i]);
        } catch (const Stopped&) {
            return;
        }
        next_ += length;
    }

    void codes(const Huffman& lengths, const Huffman& distances) {
        static constexpr std::uint16_t kBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                    15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                    67, 83, 99, 115, 131, 163, 195, 227, 258};
        static constexpr std::uint8_t kExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        static constexpr std::uint16_t kDistanceBase[30] = {
            1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
            193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        static constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                            4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                            9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
        try {
            for (;;) {
                int symbol = decode(lengths);
                if (symbol < 256) {
                    put(static_cast<std::uint8_t>(symbol));
                } else if (symbol == 256) {
                    return;
                } else {
                    symbol -= 257;
                    if (symbol >= 29) throw Malformed{"a length code beyond the last"};
                    const std::size_t length =
                        kBase[symbol] + static_cast<std::size_t>(bits(kExtra[symbol]));
                    const int d = decode(distances);
                    if (d >= 30) throw Malformed{"a distance code beyond the last"};
                    copy(kDistanceBase[d] + static_cast<std::size_t>(bits(kDistanceExtra[d])),
                         length);
                }
            }
        } catch (const Stopped&) {
        }
    }

    void fixed() {
        static const auto tables = [] {
            std::pair<Huffman, Huffman> t;
            std::array<std::uint16_t, kFixedLengthCodes> length{};
            for (int s = 0; s < kFixedLengthCodes; ++s)
                length[static_cast<std::size_t>(s)] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
            build(t.first, length.data(), kFixedLengthCodes);
            length.fill(5);
            build(t.second, length.data(), kMaxDistanceCodes);
            return t;
        }();
        codes(tables.first, tables.second);
    }

    void dynamic() {
        static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                    11, 4,  12, 3, 13, 2, 14, 1, 15};
        const int nlen = bits(5) + 257;
        const int ndist = bits(5) + 1;
        const int ncode = bits(4) + 4;
        if (nlen > kMaxLengthCodes || ndist > kMaxDistanceCodes)
            throw Malformed{"more codes than a deflate block has"};
        std::array<std::uint16_t, kMaxCodes> length{};
        for (int i = 0; i < ncode; ++i)
            length[kOrder[i]] = static_cast<std::uint16_t>(bits(3));
        Huffman lencode, distcode;
        if (build(lencode, length.data(), 19) != 0)
            throw Malformed{"an incomplete code for the code lengths"};
        for (int i = 0; i < nlen + ndist;) {
            int symbol = decode(lencode);
            if (symbol < 16) {
                length[static_cast<std::size_t>(i++)] = static_cast<std::uint16_t>(symbol);
                continue;
            }
            std::uint16_t repeated = 0;
            int times = 0;
            if (symbol == 16) {
                if (i == 0) throw Malformed{"a repeat of no length"};
                repeated = length[static_cast<std::size_t>(i - 1)];
                times = 3 + bits(2);
            } else if (symbol == 17) {
                times = 3 + bits(3);
            } else {
                times = 11 + bits(7);
            }
            if (i + times > nlen + ndist) throw Malformed{"more code lengths than codes"};
            while (times-- > 0)
                length[static_cast<std::size_t>(i++)] = repeated;
        }
        if (length[256] == 0) throw Malformed{"a block without an end code"};
        // An incomplete code is taken only as a single code of one bit, as zlib takes it.
        int left = build(lencode, length.data(), nlen);
        if (left < 0 || (left > 0 && nlen != lencode.count[0] + lencode.count[1]))
            throw Malformed{"an incomplete literal and length code"};
        left = build(distcode, length.data() + nlen, ndist);
        if (left < 0 || (left > 0 && ndist != distcode.count[0] + distcode.count[1]))
            throw Malformed{"an incomplete distance code"};
        codes(lencode, distcode);
    }

    std::span<const std::uint8_t> in_;
    const std::function<bool(std::span<const std::uint8_t>)>& take_;
    std::size_t next_ = 0;
    std::uint32_t bit_buffer_ = 0;
    int bit_count_ = 0;
    std::vector<std::uint8_t> out_;
    std::size_t out_used_ = 0;
    std::size_t produced_ = 0;
    std::uint32_t adler_a_ = 1, adler_b_ = 0;
    bool stopped_ = false;
};

}  // namespace

std::string inflate_zlib(std::span<const std::uint8_t> stream,
                         const std::function<bool(std::span<const std::uint8_t>)>& take) {
    if (stream.size() < 2) return "the compressed data ends early";
    const unsigned cmf = stream[0], flg = stream[1];
    if ((cmf & 0x0F) != 8 || (cmf >> 4) > 7 || (cmf * 256 + flg) % 31 != 0)
        return "no zlib stream header";
    if (flg & 0x20) return "a zlib stream that needs a preset dictionary";
    try {
        Inflater inflater(stream.subspan(2), take);
        if (!inflater.run()) return "stopped";
        const std::size_t end = 2 + inflater.position();
        if (stream.size() - end < 4) return "the compressed data ends early";
        const std::uint32_t adler = (std::uint32_t{stream[end]} << 24) |
                                    (std::uint32_t{stream[end + 1]} << 16) |
                                    (std::uint32_t{stream[end + 2]} << 8) | stream[end + 3];
        if (adler != inflater.adler()) return "the compressed data does not match its checksum";
        return {};
    } catch (const Malformed& m) {
        return m.why;
    }
}

}  // namespace tickwell
