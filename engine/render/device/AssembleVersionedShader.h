#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace mareldon {

// Assembles version ("vs.1.1" or "ps.1.1") + "\n" + text into token code. A text
// that does not assemble is logged with the assembler's message and gives false.
// constantRegisters > 0 declares the constant file, so relative reads translate.
bool AssembleVersionedShader(const char* version, std::string_view text, int constantRegisters,
                             std::vector<uint32_t>* code);

}  // namespace mareldon
