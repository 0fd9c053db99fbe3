#include "platform/Cp1251.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

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

    // Converts the whole input. A byte sequence iconv refuses is either skipped with
    // `replacement` appended, or, when `replacement` is null, ends the conversion with false.
    bool Convert(const std::string& in, std::string& out, const char* replacement) {
        out.clear();
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, outPtr);
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            if (!replacement) return false;
            out += replacement;
            ++inPtr;
            --inLeft;
        }
        return true;
    }

private:
    iconv_t handle_;
};

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

bool Utf8ToCp1251(const std::string& utf8, std::string& out) {
    std::string converted;
    if (!IconvHandle("CP1251", "UTF-8").Convert(utf8, converted, nullptr)) return false;
    out = std::move(converted);
    return true;
}

std::string Cp1251ToUtf8(const std::string& bytes) {
    std::string converted;
    IconvHandle("UTF-8", "CP1251").Convert(bytes, converted, "\xEF\xBF\xBD");
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
