#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/render/archive/ByteVector.h"
#include "engine/render/archive/SharedWords.h"

namespace mareldon {

// The shared data the archive is read into (docs/archive-format.md); models, sprites
// and fonts hold it by handle. Word arrays share the archive body's memory; byte
// data is copied.

class IndexBuffer;
class VertexBuffer;

// Word and byte data that something may be reading (the glyph cache raises the
// use count while it decodes).
class WordArray {
  public:
    virtual ~WordArray() = default;
    SharedWords words;
    int32_t useCount = 0;
};

class ByteBlob {
  public:
    virtual ~ByteBlob() = default;
    ByteVector bytes;
    int32_t useCount = 0;
};

class IndexArray : public WordArray {
  public:
    RefPtr<IndexBuffer> buffer;  // made on first use by BuildModels
};

class VertexArray : public WordArray {
  public:
    int32_t wordsPerVertex = 1;
    RefPtr<VertexBuffer> buffer;
    int32_t VertexCount() const { return int32_t(words.size() / size_t(wordsPerVertex)); }
};

}  // namespace mareldon
