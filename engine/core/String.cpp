#include "engine/core/String.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/Cp932.h"
#include "engine/core/Log.h"

namespace mareldon {

namespace {

// Growth is twice the needed length; capacity is a signed 32-bit field, so a text
// that would overflow it is a programming fault, not data.
int32_t GrownCapacity(uint64_t needed) {
    if (needed > 0x3FFFFFFF)
        Fatal("String of %llu bytes is too long", static_cast<unsigned long long>(needed));
    return static_cast<int32_t>(needed * 2);
}

}  // namespace

String::String() : heapText(nullptr), text(inlineText), capacity(16), length(0) {
    inlineText[0] = 0;
}

String::String(const char* source) : String() {
    if (source == nullptr)
        return;
    uint32_t count = StrLength(source);
    if (count + 1 > 16) {
        if (count > 0x7FFFFFEF)
            Fatal("String of %u bytes is too long", count);
        capacity = static_cast<int32_t>(count + 16);
        heapText = new char[static_cast<size_t>(capacity)];
        text = heapText;
    }
    std::memcpy(text, source, count + 1);
    length = count;
}

String::String(const String& other) : String(other.text) {}

String::String(float value) : String() {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
    Append(buffer);
}

String::String(int value) : String() {
    int written = std::snprintf(inlineText, sizeof inlineText, "%d", value);
    length = static_cast<uint32_t>(written);
}

String::~String() {
    delete[] heapText;
}

void String::AssignBytes(const char* bytes, uint32_t count) {
    if (static_cast<uint64_t>(count) + 1 > static_cast<uint64_t>(capacity)) {
        // Bytes cannot point into our own text here: they would be shorter than it.
        delete[] heapText;
        capacity = GrownCapacity(count);
        heapText = new char[static_cast<size_t>(capacity)];
        text = heapText;
    }
    MemMove(text, bytes, count);
    text[count] = 0;
    length = count;
}

String& String::Assign(const String& other) {
    if (&other != this)
        AssignBytes(other.text, other.length);
    return *this;
}

String& String::Assign(const char* source) {
    AssignBytes(source, StrLength(source));
    return *this;
}

void String::AppendBytes(const char* bytes, uint32_t count) {
    uint64_t newLength = static_cast<uint64_t>(length) + count;
    if (newLength + 1 > static_cast<uint64_t>(capacity)) {
        int32_t grown = GrownCapacity(newLength);
        char* block = new char[static_cast<size_t>(grown)];
        std::memcpy(block, text, length);
        // The added bytes may be our own: copy them before the old block goes.
        MemCopy(block + length, bytes, count);
        delete[] heapText;
        heapText = block;
        text = block;
        capacity = grown;
    } else {
        MemMove(text + length, bytes, count);
    }
    length = static_cast<uint32_t>(newLength);
    text[length] = 0;
}

String& String::Append(const String& other) {
    AppendBytes(other.text, other.length);
    return *this;
}

String& String::Append(const char* source) {
    AppendBytes(source, StrLength(source));
    return *this;
}

bool String::operator==(const String& other) const {
    return length == other.length && std::memcmp(text, other.text, length) == 0;
}

bool String::Equals(const char* other) const {
    return std::strcmp(text, other != nullptr ? other : "") == 0;
}

String operator+(const String& left, const String& right) {
    String result(left);
    result.Append(right);
    return result;
}

String operator+(const String& left, const char* right) {
    String result(left);
    result.Append(right);
    return result;
}

String operator+(const char* left, const String& right) {
    String result(left);
    result.Append(right);
    return result;
}

NumberString::NumberString(int value, int width, int precision) {
    width = std::clamp(width, -kMaxNumberWidth, kMaxNumberWidth);
    precision = std::clamp(precision, -1, kMaxNumberWidth);
    char format[32];
    if (width == -1) {
        std::snprintf(format, sizeof format, "%%d");
    } else if (precision == -1) {
        std::snprintf(format, sizeof format, "%%%dd", width);
    } else {
        std::snprintf(format, sizeof format, "%%%d.%dd", width, precision);
    }
    char buffer[2 * kMaxNumberWidth + 16];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int written = std::snprintf(buffer, sizeof buffer, format, value);
#pragma GCC diagnostic pop
    AssignBytes(buffer, written > 0 ? static_cast<uint32_t>(written) : 0);
}

NumberString::NumberString(char character) {
    // A zero character gives the empty text, as a C string cannot hold it.
    char buffer[2] = {character, 0};
    AssignBytes(buffer, StrLength(buffer));
}

uint32_t StrLength(const char* text) {
    return text != nullptr ? static_cast<uint32_t>(std::strlen(text)) : 0;
}

int StrCompare(const char* a, const char* b) {
    const auto* x = reinterpret_cast<const uint8_t*>(a);
    const auto* y = reinterpret_cast<const uint8_t*>(b);
    while (*x != 0 && *x == *y) {
        ++x;
        ++y;
    }
    return *x < *y ? -1 : *x > *y ? 1 : 0;
}

bool StringDiffers(const String& string, const char* text) {
    return StrCompare(string.Text(), text) != 0;
}

const char* NextCharacter(const char* text) {
    return text + Cp932CharLength(text);
}

char* NextCharacter(char* text) {
    return text + Cp932CharLength(text);
}

int WideCharCount(const char* text) {
    return static_cast<int>(Cp932ToUtf16(text).size());
}

int ConvertToWide(char16_t* out, int capacity, const char* text) {
    if (capacity <= 0)
        return 0;
    std::u16string wide = Cp932ToUtf16(text);
    int count = std::min(static_cast<int>(wide.size()), capacity - 1);
    std::copy(wide.begin(), wide.begin() + count, out);
    out[count] = 0;
    return count;
}

size_t MemCopy(void* destination, const void* source, size_t count) {
    if (count > 0)
        std::memcpy(destination, source, count);
    return count;
}

void MemMove(void* destination, const void* source, size_t count) {
    if (count > 0)
        std::memmove(destination, source, count);
}

void MemFill(void* destination, uint8_t value, size_t count) {
    if (count > 0)
        std::memset(destination, value, count);
}

double MathSqrt(float value) {
    return std::sqrt(static_cast<double>(value));
}
double MathSin(float value) {
    return std::sin(static_cast<double>(value));
}
double MathCos(float value) {
    return std::cos(static_cast<double>(value));
}
double MathAtan2(float y, float x) {
    return std::atan2(static_cast<double>(y), static_cast<double>(x));
}

double MathAcosClamped(float value) {
    return std::acos(std::clamp(static_cast<double>(value), -1.0, 1.0));
}

}  // namespace mareldon
