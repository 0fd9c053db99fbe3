#include "platform/Cp1251.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <string_view>

namespace platform {
namespace {

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("No conversion from ") + from + " to " + to);
    }
    ~IconvHandle() { iconv_close(handle_); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    // Converts the whole input and appends it to out; false when iconv refuses a byte sequence.
    bool Convert(std::string_view in, std::string& out) {
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, outPtr);
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t handle_;
};

// 0x98, which Windows-1251 leaves unassigned, stands for U+0098 and back, so that every byte of
// a text survives reading and writing.
constexpr char kUnassignedByte = '\x98';
constexpr std::string_view kUnassignedUtf8 = "\xC2\x98";

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

bool NextCodePoint(const std::string& s, size_t& i, char32_t& cp) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    size_t length;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        ++i;
        return true;
    } else if ((b0 & 0xE0) == 0xC0) {
        length = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (i + length > s.size()) return false;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
    return true;
}

bool Utf8ToCp1251(const std::string& utf8, std::string& out) {
    // U+0098 is a whole character wherever its two bytes stand in valid UTF-8.
    IconvHandle handle("CP1251", "UTF-8");
    std::string converted;
    std::string_view rest = utf8;
    for (;;) {
        const size_t at = rest.find(kUnassignedUtf8);
        if (!handle.Convert(rest.substr(0, at), converted)) return false;
        if (at == std::string_view::npos) break;
        converted += kUnassignedByte;
        rest.remove_prefix(at + kUnassignedUtf8.size());
    }
    out = std::move(converted);
    return true;
}

std::string Cp1251ToUtf8(const std::string& bytes) {
    IconvHandle handle("UTF-8", "CP1251");
    std::string converted;
    std::string_view rest = bytes;
    for (;;) {
        const size_t at = rest.find(kUnassignedByte);
        handle.Convert(rest.substr(0, at), converted);  // every other byte has a character
        if (at == std::string_view::npos) break;
        converted += kUnassignedUtf8;
        rest.remove_prefix(at + 1);
    }
    return converted;
}

bool HasCp1251Form(const std::string& utf8) {
    std::string scratch;
    return Utf8ToCp1251(utf8, scratch);
}

size_t Utf8Length(const std::string& utf8) {
    size_t count = 0;
    for (char c : utf8)
        if (!IsContinuationByte(c)) ++count;
    return count;
}

std::string Utf8Left(const std::string& utf8, size_t n) {
    size_t characters = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (IsContinuationByte(utf8[i])) continue;
        if (characters == n) return utf8.substr(0, i);
        ++characters;
    }
    return utf8;
}

}  // namespace platform
