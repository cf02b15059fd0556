#pragma once
// The little-endian primitives of the case file: integers, single-precision
// bit patterns, strings of code page 1252 behind the length prefix the record
// uses, and counts. Shared by the record and its optional block.

#include <bit>
#include <cstdint>
#include <string>

#include "base/Cp1252.h"
#include "model/CaseInputs.h"

namespace morvek::codec {

inline constexpr unsigned kByteLimit = 0xFF;         // a length from here on needs a longer prefix
inline constexpr unsigned kWordLimit = 0xFFFE;       // a length from here on needs four bytes
inline constexpr unsigned kCountWordLimit = 0xFFFF;  // a row count from here on needs four bytes

class Writer {
public:
    explicit Writer(std::string& out) : out_(out) {}
    void U8(uint8_t v) { out_ += static_cast<char>(v); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void Float(float v) { U32(std::bit_cast<uint32_t>(v)); }
    void String(const std::string& cp1252) {
        const size_t n = cp1252.size();
        if (n < kByteLimit) {
            U8(static_cast<uint8_t>(n));
        } else if (n < kWordLimit) {
            U8(0xFF);
            U16(static_cast<uint16_t>(n));
        } else {
            U8(0xFF);
            U16(0xFFFF);
            U32(static_cast<uint32_t>(n));
        }
        out_ += cp1252;
    }

private:
    std::string& out_;
};

class Reader {
public:
    explicit Reader(const std::string& in, size_t pos = 0) : in_(in), pos_(pos) {}
    bool U8(uint8_t& v) {
        if (pos_ + 1 > in_.size()) return false;
        v = static_cast<uint8_t>(in_[pos_++]);
        return true;
    }
    bool U16(uint16_t& v) {
        uint8_t lo, hi;
        if (!U8(lo) || !U8(hi)) return false;
        v = static_cast<uint16_t>(lo | (hi << 8));
        return true;
    }
    bool U32(uint32_t& v) {
        uint16_t lo, hi;
        if (!U16(lo) || !U16(hi)) return false;
        v = static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16);
        return true;
    }
    bool Int(int32_t& v) {
        uint32_t u;
        if (!U32(u)) return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    bool Float(float& v) {
        uint32_t u;
        if (!U32(u)) return false;
        v = std::bit_cast<float>(u);
        return true;
    }
    bool String(std::string& utf8) {
        uint8_t b;
        if (!U8(b)) return false;
        uint32_t n = b;
        if (b == 0xFF) {
            uint16_t w;
            if (!U16(w)) return false;
            if (w == 0xFFFF) {
                if (!U32(n) || n < kWordLimit) return false;
            } else {
                // 0xFFFE is no length any writer of this format produces.
                if (w == 0xFFFE || w < kByteLimit) return false;
                n = w;
            }
        }
        if (n > Remaining() || n > kMaxCaseTextBytes) return false;
        utf8 = Cp1252ToUtf8(in_.substr(pos_, n));
        pos_ += n;
        return true;
    }
    bool Count(uint32_t& c) {
        uint16_t w;
        if (!U16(w)) return false;
        if (w != 0xFFFF) {
            c = w;
            return true;
        }
        return U32(c) && c >= kCountWordLimit;
    }
    size_t Remaining() const { return in_.size() - pos_; }
    size_t Position() const { return pos_; }
    bool Skip(size_t n) {
        if (n > Remaining()) return false;
        pos_ += n;
        return true;
    }

private:
    const std::string& in_;
    size_t pos_;
};

}  // namespace morvek::codec
