#pragma once

#include <cstdint>

#include "engine/core/RefPtr.h"
#include "engine/render/archive/WordArray.h"

namespace mareldon {

class FontEntry {
  public:
    virtual ~FontEntry() = default;
    int32_t glyphWidth = 0;
    int32_t glyphHeight = 0;
    RefPtr<WordArray> offsetTable;
    RefPtr<ByteBlob> glyphs;
};

// What the glyph cache gets from ResourceManager::FindFont: a copy of a font's
// sizes sharing its table and glyph codes.
class FontData : public FontEntry {};

}  // namespace mareldon
