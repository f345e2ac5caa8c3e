#include "tools/archive/ShaderDataWriter.h"

namespace mareldon {

void ShaderDataWriter::Field(std::string_view text) {
    out_.Count(text.size() + 1);
    out_.Text(text);
    out_.bytes.push_back(0);
}

void ShaderDataWriter::AddVertexShader(std::string_view key, std::string_view text,
                                       const std::vector<Element>& elements) {
    Field(key);
    Field(text);
    out_.Count(elements.size());
    for (const Element& element : elements) {
        Field(element.name);
        out_.I32(element.type);
    }
}

void ShaderDataWriter::AddPixelShader(std::string_view key, std::string_view text) {
    Field(key);
    Field(text);
}

}  // namespace mareldon
