#include "engine/render/ShaderDataFile.h"

#include <cstring>

#include "engine/render/ArchiveCursor.h"

namespace mareldon {

namespace {

// A length-prefixed string field. The length is taken as unsigned and must fit
// in what remains; the string ends at its first 0 or at the end of the field.
bool ReadField(ArchiveCursor& in, std::string_view& out) {
    uint32_t length = 0;
    const uint8_t* field = nullptr;
    if (!in.ReadU32(length) || !in.ReadBytes(length, field)) {
        return false;
    }
    const void* zero = length ? std::memchr(field, 0, length) : nullptr;
    size_t end = zero ? size_t(static_cast<const uint8_t*>(zero) - field) : length;
    out = std::string_view(reinterpret_cast<const char*>(field), end);
    return true;
}

}  // namespace

bool ReadShaderData(const uint8_t* data, size_t size, ShaderDataKind kind,
                    const std::function<void(const ShaderDataRecord&)>& record, std::string& error) {
    ArchiveCursor in(data, size);
    ShaderDataRecord current;
    size_t index = 0;
    while (in.Remaining() > 0) {
        const size_t start = in.Position();
        bool ok = ReadField(in, current.key) && ReadField(in, current.text);
        current.elements.clear();
        if (ok && kind == ShaderDataKind::Vertex) {
            uint32_t count = 0;
            ok = in.ReadU32(count) && count <= in.Remaining() / 8;
            for (uint32_t i = 0; ok && i < count; ++i) {
                ShaderDataElement element;
                ok = ReadField(in, element.name) && in.ReadI32(element.type) && element.type >= 0 &&
                     element.type < kShaderElementTypeCount;
                current.elements.push_back(element);
            }
        }
        if (!ok) {
            error = "record " + std::to_string(index) + " at byte " + std::to_string(start) +
                    " is damaged or runs past the end of the file";
            return false;
        }
        record(current);
        ++index;
    }
    return true;
}

}  // namespace mareldon
