#include "engine/render/archive/ShaderDataFile.h"

#include <cstring>

#include "engine/core/ByteReader.h"
#include "engine/core/Log.h"
#include "engine/render/archive/ByteVector.h"
#include "engine/render/archive/FileRef.h"

namespace mareldon {

namespace {

// A length-prefixed string field. The length is taken as unsigned and must fit
// in what remains; the string ends at its first 0 or at the end of the field.
bool ReadField(ByteReader& in, std::string_view& out) {
    uint32_t length = 0;
    const uint8_t* field = nullptr;
    if (!in.U32(length) || !in.Bytes(length, field)) {
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
    ByteReader in(data, size);
    ShaderDataRecord current;
    size_t index = 0;
    while (in.Remaining() > 0) {
        const size_t start = in.Position();
        bool ok = ReadField(in, current.key) && ReadField(in, current.text);
        current.elements.clear();
        if (ok && kind == ShaderDataKind::Vertex) {
            uint32_t count = 0;
            ok = in.U32(count) && count <= in.Remaining() / 8;
            for (uint32_t i = 0; ok && i < count; ++i) {
                ShaderDataElement element;
                ok = ReadField(in, element.name) && in.I32(element.type) && element.type >= 0 &&
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

size_t LoadShaderDataFile(const RefPtr<FileSystem>& fileSystem, const String& name, ShaderDataKind kind,
                          const std::function<void(const ShaderDataRecord&)>& record) {
    RefPtr<FileRef> file(new FileRef(fileSystem, name, kFileRead));
    if (file->GetStatus() < 0) {
        // Not an error: its shaders are generated on demand; but a missing file should
        // not pass unnoticed. Without a file system at all there is nothing to miss.
        if (fileSystem)
            LOG_WARN("shaders", "%s: cannot be opened", name.Text());
        return 0;
    }
    File& in = *file->GetFile();
    ByteVector bytes(in.GetSize());
    if (!bytes.empty() && !in.Read(bytes.data(), uint32_t(bytes.size()))) {
        LOG_WARN("shaders", "%s: cannot be read", name.Text());
        return 0;
    }
    size_t count = 0;
    std::string error;
    if (!ReadShaderData(
            bytes.data(), bytes.size(), kind,
            [&](const ShaderDataRecord& r) {
                ++count;
                record(r);
            },
            error)) {
        LOG_WARN("shaders", "%s: %s; %zu records kept", name.Text(), error.c_str(), count);
    }
    return count;
}

}  // namespace mareldon
