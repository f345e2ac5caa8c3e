#pragma once

#include <cstddef>
#include <cstdint>

namespace mareldon {

// The program's byte string (cp932 text; a byte is a byte). Up to 15 bytes live in
// the object; longer texts go to a heap block that never shrinks. The growth sizes
// are part of the behaviour: construction takes length + 16, Assign and Append take
// twice the new length.
class String {
  public:
    String();
    String(const char* text);  // NOLINT(google-explicit-constructor): used like a C string
    String(const String& other);
    explicit String(float value);
    explicit String(int value);
    virtual ~String();

    String& operator=(const String& other) { return Assign(other); }
    String& operator=(const char* text) { return Assign(text); }

    String& Assign(const String& other);
    String& Assign(const char* text);
    // Safe when the text is this String's own (or part of it), also while it grows.
    String& Append(const String& other);
    String& Append(const char* text);
    String& operator+=(const String& other) { return Append(other); }
    String& operator+=(const char* text) { return Append(text); }

    // Same length and the same bytes.
    bool operator==(const String& other) const;
    bool operator!=(const String& other) const { return !(*this == other); }
    // The bytes up to and including the zero are equal.
    bool Equals(const char* text) const;

    const char* Text() const { return text; }
    uint32_t Length() const { return length; }
    int32_t Capacity() const { return capacity; }
    bool IsEmpty() const { return length == 0; }
    char operator[](uint32_t index) const { return text[index]; }

  protected:
    // Copies `count` bytes and a zero into the text, growing as Assign does.
    void AssignBytes(const char* bytes, uint32_t count);

    char inlineText[16];
    char* heapText;
    char* text;
    int32_t capacity;
    uint32_t length;

  private:
    void AppendBytes(const char* bytes, uint32_t count);
};

String operator+(const String& left, const String& right);
String operator+(const String& left, const char* right);
String operator+(const char* left, const String& right);

// A String printed from a number.
class NumberString : public String {
  public:
    // width -1: "%d"; precision -1: a field of `width`; else also zero-padded to
    // `precision` digits. Width and precision are limited to kMaxNumberWidth.
    NumberString(int value, int width, int precision);
    explicit NumberString(char character);

    static constexpr int kMaxNumberWidth = 1024;
};

// An owning array of pointers whose capacity doubles when full. Elements are deleted
// through their (virtual) destructor.
template <typename T>
class PtrArray {
  public:
    explicit PtrArray(int32_t initialCapacity = 4)
        : count(0), items(nullptr), capacity(initialCapacity > 0 ? initialCapacity : 1) {
        items = new T*[capacity];
    }
    virtual ~PtrArray() {
        DeleteAll();
        delete[] items;
    }
    PtrArray(const PtrArray&) = delete;
    PtrArray& operator=(const PtrArray&) = delete;

    // Takes ownership; returns the index.
    int32_t Add(T* item) {
        if (count == capacity) {
            T** grown = new T*[static_cast<size_t>(capacity) * 2];
            for (int32_t i = 0; i < count; ++i)
                grown[i] = items[i];
            delete[] items;
            items = grown;
            capacity *= 2;
        }
        items[count] = item;
        return count++;
    }

    void DeleteAll() {
        for (int32_t i = 0; i < count; ++i) {
            delete items[i];
        }
        count = 0;
    }

    int32_t Count() const { return count; }
    int32_t Capacity() const { return capacity; }
    T* operator[](int32_t index) const { return items[index]; }

  protected:
    int32_t count;
    T** items;
    int32_t capacity;
};

class StringArray : public PtrArray<String> {
  public:
    using PtrArray<String>::PtrArray;
    using PtrArray<String>::Add;
    // Appends a copy; returns its index.
    int32_t Add(const String& text) { return Add(new String(text)); }
    int32_t Add(const char* text) { return Add(new String(text)); }
};

// Free helpers over zero-terminated bytes, memory and floats.
uint32_t StrLength(const char* text);
// -1, 0 or 1 by the first differing byte, compared unsigned.
int StrCompare(const char* a, const char* b);
bool StringDiffers(const String& string, const char* text);
// The next cp932 character; the same pointer at the zero. Never steps backwards or
// past the zero: an invalid or truncated byte counts as one.
const char* NextCharacter(const char* text);
char* NextCharacter(char* text);
// 16-bit code units the cp932 text converts to (invalid bytes substituted).
int WideCharCount(const char* text);
// Converts the text and its zero; writes at most `capacity` units, always ending in a
// zero when capacity > 0. Returns the units written before the zero.
int ConvertToWide(char16_t* out, int capacity, const char* text);
size_t MemCopy(void* destination, const void* source, size_t count);
void MemMove(void* destination, const void* source, size_t count);
void MemFill(void* destination, uint8_t value, size_t count);
double MathSqrt(float value);
double MathSin(float value);
double MathCos(float value);
double MathAtan2(float y, float x);
double MathAcosClamped(float value);

}  // namespace mareldon
