#include "engine/core/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "engine/core/Log.h"

namespace mareldon {

namespace {

// One converter per direction and thread: iconv descriptors keep state and are not
// shareable between threads.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            LOG_ERROR("text", "iconv cannot convert %s to %s; text is passed as ASCII only", from, to);
        }
    }
    ~Converter() {
        if (Valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts text, writing `substitute` and skipping stepOnError(bytes) bytes for
    // every sequence that does not convert.
    template <typename StepFn>
    std::string Run(std::string_view text, std::string_view substitute, StepFn stepOnError) {
        std::string out;
        out.reserve(text.size() * 2 + 4);
        if (!Valid()) {
            for (char c : text) {
                if (static_cast<uint8_t>(c) < 0x80) {
                    out.push_back(c);
                } else {
                    out.append(substitute);
                }
            }
            return out;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(text.data());
        size_t inLeft = text.size();
        char buffer[256];
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t result = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (result != static_cast<size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            out.append(substitute);
            if (errno == EINVAL)
                break;  // truncated sequence at the end
            size_t step = stepOnError(in, inLeft);
            in += step;
            inLeft -= step;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

  private:
    iconv_t cd_;
};

size_t StepCp932(const char* in, size_t left) {
    if (left >= 2 && IsCp932LeadByte(static_cast<uint8_t>(in[0])) && in[1] != 0) {
        uint8_t trail = static_cast<uint8_t>(in[1]);
        if ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC))
            return 2;
    }
    return 1;
}

size_t StepUtf8(const char* in, size_t left) {
    uint8_t lead = static_cast<uint8_t>(in[0]);
    size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length > left)
        return 1;
    for (size_t i = 1; i < length; ++i) {
        if ((static_cast<uint8_t>(in[i]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<uint8_t>(c) >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

bool IsCp932LeadByte(uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int Cp932CharLength(const char* text) {
    if (text[0] == 0)
        return 0;
    return static_cast<int>(StepCp932(text, text[1] == 0 ? 1 : 2));
}

std::u16string Cp932ToUtf16(std::string_view text) {
    std::u16string out;
    if (IsAscii(text)) {
        out.assign(text.begin(), text.end());
        return out;
    }
    thread_local Converter converter("UTF-16LE", "CP932");
    static constexpr char substitute[2] = {static_cast<char>(kCp932Substitute16 & 0xFF),
                                           static_cast<char>(kCp932Substitute16 >> 8)};
    std::string bytes = converter.Run(text, std::string_view(substitute, 2), StepCp932);
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                            (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view text) {
    if (IsAscii(text))
        return std::string(text);
    thread_local Converter converter("UTF-8", "CP932");
    return converter.Run(text, "\xE3\x83\xBB", StepCp932);
}

std::string Utf8ToCp932(std::string_view text) {
    if (IsAscii(text))
        return std::string(text);
    thread_local Converter converter("CP932", "UTF-8");
    return converter.Run(text, std::string_view(&kUtf8ToCp932Substitute, 1), StepUtf8);
}

}  // namespace mareldon
