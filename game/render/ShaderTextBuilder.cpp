#include "game/render/ShaderTextBuilder.h"

#include <cstring>

#include "engine/core/Log.h"
#include "engine/render/device/TextureBase.h"
#include "engine/render/draw/RenderBatch.h"
#include "engine/render/draw/RenderView.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

namespace {

// Component suffix by (first component, component count - 1); empty where a name
// has no suffix (a whole register, or a selection that does not exist).
const char* const kSuffixes[4][4] = {
    {".x", ".xy", ".xyz", ""},
    {".y", ".yz", ".yzw", ""},
    {".z", ".zw", "", ""},
    {".w", "", "", ""},
};

// Built once and shared by every generator: 4096 + 128 names are too many to copy
// into each instance.
struct RegisterNames {
    String textureOut[16];
    String input[16];
    String positionOut{"oPos"};
    String colourOut[2]{"oD0", "oD1"};
    String notFound;
    // Key words that are numbers, each with its blank, so building a key prints none.
    String numbers[ShaderTextBuilder::kVsRegisters];
    String blank{" "};
    // The layout words of a constant of 1 to 4 components, and of a matrix.
    String layout[5]{"", "/ 1 ", "/ 2 ", "/ 3 ", "/ 4 "};
    String matrixLayout{"/ 16 "};
    String vsConst[ShaderTextBuilder::kVsNameCount];
    String psConst[ShaderTextBuilder::kPsNameCount];

    RegisterNames() {
        for (int32_t i = 0; i < 16; ++i) {
            textureOut[i] = ShaderTextBuilder::MakeRegisterName("oT", i);
            input[i] = ShaderTextBuilder::MakeRegisterName("v", i);
        }
        for (int32_t i = 0; i < ShaderTextBuilder::kVsRegisters; ++i)
            numbers[i] = NumberString(i, -1, -1) + " ";
        Fill(vsConst, ShaderTextBuilder::kVsNameCount);
        Fill(psConst, ShaderTextBuilder::kPsNameCount);
    }

    static void Fill(String* names, int32_t count) {
        for (int32_t index = 0; index < count; ++index) {
            int32_t first = index / 4;
            names[index] =
                ShaderTextBuilder::MakeRegisterName("c", first / 4) + kSuffixes[first % 4][index % 4];
        }
    }
};

// The names compared are short and mostly differ in length, which is checked first.
class NameMatch {
  public:
    explicit NameMatch(const char* name) : name_(name), length_(StrLength(name)) {}
    bool operator()(const String& s) const {
        return s.Length() == length_ && std::memcmp(s.Text(), name_, length_) == 0;
    }

  private:
    const char* name_;
    uint32_t length_;
};

const RegisterNames& Names() {
    static const RegisterNames names;
    return names;
}

}  // namespace

void MakeOrthoMatrix(float* out, float width, float height) {
    const float m[16] = {2.0f / width, 0.0f, 0.0f, -1.0f, 0.0f, -2.0f / height, 0.0f, 1.0f,
                         0.0f,         0.0f, 1.0f, 0.0f,  0.0f, 0.0f,           0.0f, 1.0f};
    for (int i = 0; i < 16; ++i)
        out[i] = m[i];
}

ShaderTextBuilder::ShaderTextBuilder(const RefPtr<Renderer>& rendererHandle)
    : ShaderGenBase(rendererHandle), vsPool{}, slots{}, psPool{} {
    Names();
}

ShaderTextBuilder::~ShaderTextBuilder() = default;

void ShaderTextBuilder::ResetPools() {
    vsFloatCount = 0;
    slotCounts[0] = slotCounts[1] = slotCounts[2] = 0;
    psFloatCount = 0;
    refused = false;
}

bool ShaderTextBuilder::Apply(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                              const RefPtr<MeshPart>& part) {
    ResetPools();
    if (!SetConstants(view, node, part))
        return false;
    int32_t vsRegisters = (vsFloatCount + 3) / 4;
    if (vsRegisters > kVsRegisters)
        RefuseDraw("more constants than the device's vertex registers");
    if (refused)
        return false;
    if (!owner)
        return true;
    RefPtr<GraphicsDevice> device = owner->GetDevice();
    if (!device)
        return true;
    device->SetVertexShaderConstant(0, vsPool, static_cast<uint32_t>(vsRegisters));
    device->SetPixelShaderConstant(0, psPool, static_cast<uint32_t>((psFloatCount + 3) / 4));
    return true;
}

bool ShaderTextBuilder::Cull(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                             const RefPtr<MeshPart>& part, float& depth) {
    // The archive marks a part that must never be culled with a radius of 0 or less.
    if (node->cullOff != 0 || part->radius <= 0.0f)
        return false;
    Vec3 centre = Vec3TransformCoord(part->centre, node->world);
    return view->IsSphereOutside(centre, part->radius, Vec3{0.0f, 0.0f, 0.0f}, &depth);
}

void ShaderTextBuilder::RefuseDraw(const char* reason) {
    refused = true;
    if (!refusalLogged) {
        refusalLogged = true;
        String name = GetName();
        LOG_WARN("render", "shader generator \"%s\": %s; such parts are not drawn", name.Text(), reason);
    }
}

// --- names -----------------------------------------------------------------------

const String& ShaderTextBuilder::TableName(const String* table, int32_t count, int32_t index,
                                           const char* what) {
    if (index < 0 || index >= count) {
        RefuseDraw(what);
        return Names().notFound;
    }
    return table[index];
}

const String& ShaderTextBuilder::VsConstName(int32_t index) {
    return TableName(Names().vsConst, kVsNameCount, index, "a vertex constant beyond the name table");
}

const String& ShaderTextBuilder::PsConstName(int32_t index) {
    return TableName(Names().psConst, kPsNameCount, index, "a pixel constant beyond the name table");
}

const String& ShaderTextBuilder::TextureOutName(int32_t index) {
    return TableName(Names().textureOut, 16, index, "a texture output beyond oT15");
}

const String& ShaderTextBuilder::InputName(int32_t index) {
    return TableName(Names().input, kInputRegisters, index, "an input register beyond v15");
}

const String& ShaderTextBuilder::PositionOutName() {
    return Names().positionOut;
}

const String& ShaderTextBuilder::ColourOutName(int32_t index) {
    return Names().colourOut[index == 0 ? 0 : 1];
}

const String& ShaderTextBuilder::NotFoundName() {
    return Names().notFound;
}

String ShaderTextBuilder::MakeRegisterName(const char* prefix, int32_t number) {
    return String(prefix) + NumberString(number, -1, -1);
}

// --- key words -------------------------------------------------------------------

void ShaderTextBuilder::AppendVsKeyWord(const String& word) {
    vsKey.Append(word);
    vsKey.Append(Names().blank);
}

void ShaderTextBuilder::AppendVsKeyWord(const char* word) {
    vsKey.Append(word);
    vsKey.Append(Names().blank);
}

void ShaderTextBuilder::AppendVsKeyWord(int32_t number) {
    if (number >= 0 && number < kVsRegisters)
        vsKey.Append(Names().numbers[number]);
    else
        AppendVsKeyWord(NumberString(number, -1, -1));
}

void ShaderTextBuilder::AppendPsKeyWord(const String& word) {
    psKey.Append(word);
    psKey.Append(Names().blank);
}

void ShaderTextBuilder::AppendPsKeyWord(const char* word) {
    psKey.Append(word);
    psKey.Append(Names().blank);
}

void ShaderTextBuilder::AppendPsKeyWord(int32_t number) {
    if (number >= 0 && number < kVsRegisters)
        psKey.Append(Names().numbers[number]);
    else
        AppendPsKeyWord(NumberString(number, -1, -1));
}

void ShaderTextBuilder::AppendPaletteKeyWord(int32_t matrices) {
    AppendVsKeyWord(String("Palette") + NumberString(matrices, -1, -1));
}

void ShaderTextBuilder::AppendShadowMapKeyWords(bool perspective, int32_t coordinateOutput) {
    AppendVsKeyWord(perspective ? "ShadowPerspective" : "ShadowParallel");
    AppendVsKeyWord(String("ShadowOut") + NumberString(coordinateOutput, -1, -1));
}

// --- constant pools --------------------------------------------------------------

bool ShaderTextBuilder::ReserveVsFloats(int32_t floats) {
    if (floats < 0 || vsFloatCount + floats > kVsPoolFloats) {
        RefuseDraw("the vertex constant pool is full");
        return false;
    }
    return true;
}

int32_t ShaderTextBuilder::ConstantIndex(int32_t firstFloat, int32_t components) {
    return 4 * firstFloat + components - 1;
}

int32_t ShaderTextBuilder::TakeComponents(int32_t components) {
    // The tightest partly used register first (most recently freed of its kind), what
    // it has left over goes back as a smaller slot; else a new register.
    for (int32_t free = components; free <= 3; ++free) {
        int32_t& depth = slotCounts[free - 1];
        if (depth > 0) {
            int32_t first = slots[free - 1][--depth];
            if (free > components)
                PushSlot(free - components, first + components);
            return first;
        }
    }
    if (!ReserveVsFloats(4))
        return -1;
    int32_t first = vsFloatCount;
    vsFloatCount += 4;
    PushSlot(4 - components, first + components);
    return first;
}

void ShaderTextBuilder::PushSlot(int32_t free, int32_t firstFree) {
    int32_t& depth = slotCounts[free - 1];
    if (depth >= kSlotStackSize) {
        RefuseDraw("too many partly used constant registers");
        return;
    }
    slots[free - 1][depth++] = firstFree;
}

int32_t ShaderTextBuilder::AddWholeRegisters(const float* values, int32_t registers) {
    if (registers < 0 || !ReserveVsFloats(4 * registers))
        return 3;
    int32_t first = vsFloatCount;
    for (int32_t i = 0; i < 4 * registers; ++i)
        vsPool[first + i] = values[i];
    vsFloatCount += 4 * registers;
    return ConstantIndex(first, 4);
}

int32_t ShaderTextBuilder::AddPartialConstant(const float* values, int32_t components) {
    vsKey.Append(Names().layout[components]);
    int32_t first = TakeComponents(components);
    if (first < 0)
        return components - 1;
    for (int32_t i = 0; i < components; ++i)
        vsPool[first + i] = values[i];
    return ConstantIndex(first, components);
}

int32_t ShaderTextBuilder::AddConstant(const float* values) {
    vsKey.Append(Names().layout[4]);
    return AddWholeRegisters(values, 1);
}

int32_t ShaderTextBuilder::AddMatrixConstant(const float* values) {
    vsKey.Append(Names().matrixLayout);
    return AddWholeRegisters(values, 4);
}

int32_t ShaderTextBuilder::AddVector3Constant(const float* values) {
    return AddPartialConstant(values, 3);
}

int32_t ShaderTextBuilder::AddScalarConstant(float value) {
    return AddPartialConstant(&value, 1);
}

int32_t ShaderTextBuilder::AllocTwoFloatConstant(float x, float y) {
    const float values[2] = {x, y};
    return AddPartialConstant(values, 2);
}

int32_t ShaderTextBuilder::AddVsConstantBlock(const float* values, int32_t registers) {
    // The block's size shifts every constant after it, so it belongs in the key.
    AppendVsKeyWord("/");
    vsKey.Append("B");
    AppendVsKeyWord(registers);
    return AddWholeRegisters(values, registers);
}

int32_t ShaderTextBuilder::AddBonePalette(const std::vector<Matrix4>& palette) {
    const int32_t base = NextVsRegister();
    if (palette.empty())
        return base;
    AppendPaletteKeyWord(int32_t(palette.size()));
    for (const Matrix4& bone : palette)
        AddWholeRegisters(bone.m, 3);
    return base;
}

float ShaderTextBuilder::Reciprocal(float value, const char* what) {
    if (value != 0.0f)
        return 1.0f / value;
    if (!reciprocalLogged) {
        reciprocalLogged = true;
        LOG_WARN("render", "\"%s\": %s of 0 in the light data; its scale is taken as 0", GetName().Text(),
                 what);
    }
    return 0.0f;
}

int32_t ShaderTextBuilder::AddPsConstant(const float* values) {
    if (psFloatCount + 4 > kPsPoolFloats) {
        RefuseDraw("the pixel constant pool is full");
        return 3;
    }
    int32_t first = psFloatCount;
    for (int32_t i = 0; i < 4; ++i)
        psPool[first + i] = values[i];
    psFloatCount += 4;
    return ConstantIndex(first, 4);
}

// --- inputs and records ----------------------------------------------------------

int32_t ShaderTextBuilder::CountInputs(const VertexLayout& elements, const char* name) {
    const NameMatch matches(name);
    int32_t count = 0;
    for (int32_t i = 0; i < elements.Count(); ++i) {
        if (matches(elements.Element(i).name))
            ++count;
    }
    return count;
}

const String& ShaderTextBuilder::FindInput(const VertexLayout& elements, const char* name, int32_t index) {
    if (elements.Count() > kInputRegisters) {
        RefuseDraw("more vertex elements than input registers");
        return Names().notFound;
    }
    const NameMatch matches(name);
    for (int32_t i = 0; i < elements.Count(); ++i) {
        const VertexElement& element = elements.Element(i);
        if (element.usageIndex == index && matches(element.name)) {
            AppendVsKeyWord(element.name);
            AppendVsKeyWord(index);
            return Names().input[i];
        }
    }
    return Names().notFound;
}

int32_t ShaderTextBuilder::CountLightRecords(const LightList* lights, const char* name) {
    if (lights == nullptr)
        return 0;
    const NameMatch matches(name);
    int32_t count = 0;
    for (int32_t i = 0; i < lights->Count(); ++i) {
        if (matches((*lights)[i].name)) {
            ++count;
            AppendVsKeyWord((*lights)[i].name);
        }
    }
    return count;
}

const LightRecord* ShaderTextBuilder::GetLightRecord(const LightList* lights, const char* name, int32_t k) {
    if (lights == nullptr)
        return nullptr;
    const NameMatch matches(name);
    for (int32_t i = 0; i < lights->Count(); ++i) {
        if (matches((*lights)[i].name) && k-- == 0)
            return &(*lights)[i];
    }
    return nullptr;
}

int32_t ShaderTextBuilder::CountNamedValues(const std::vector<NamedValue>* values, const char* name) {
    if (values == nullptr)
        return 0;
    const NameMatch matches(name);
    int32_t count = 0;
    for (const NamedValue& value : *values) {
        if (matches(value.name))
            ++count;
    }
    return count;
}

float ShaderTextBuilder::GetNamedValue(const std::vector<NamedValue>* values, const char* name, float time) {
    if (values == nullptr)
        return 0.0f;
    const NameMatch matches(name);
    for (const NamedValue& value : *values) {
        if (matches(value.name)) {
            AppendVsKeyWord(value.name);
            return value.track ? value.track->Evaluate(time) : 0.0f;
        }
    }
    return 0.0f;
}

// --- device helpers --------------------------------------------------------------

void ShaderTextBuilder::ApplyRenderStates(const RenderStateBlock& block) {
    if (!owner)
        return;
    RefPtr<GraphicsDevice> device = owner->GetDevice();
    if (device)
        device->SetRenderStateBlock(block);
}

int32_t ShaderTextBuilder::SetMaterialTextures(const std::vector<MaterialTexture>& textures) {
    auto count = static_cast<int32_t>(textures.size());
    if (count > kTextureStages) {
        RefuseDraw("more material textures than texture stages");
        count = kTextureStages;
    }
    RefPtr<GraphicsDevice> device;
    if (owner)
        device = owner->GetDevice();
    if (device) {
        for (int32_t i = 0; i < count; ++i) {
            device->SetTexture(static_cast<uint32_t>(i), textures[static_cast<size_t>(i)].texture.Get());
            device->SetSamplerState(static_cast<uint32_t>(i), textures[static_cast<size_t>(i)].sampler);
        }
    }
    AppendPsKeyWord("SetMatTex");
    AppendPsKeyWord(count);
    return count;
}

void ShaderTextBuilder::SetTexture(int32_t stage, TextureBase* texture) {
    if (stage < 0 || stage >= kTextureStages) {
        RefuseDraw("a texture stage beyond 15");
        return;
    }
    if (owner) {
        RefPtr<GraphicsDevice> device = owner->GetDevice();
        if (device)
            device->SetTexture(static_cast<uint32_t>(stage), texture);
    }
    AppendPsKeyWord("SetTex");
    AppendPsKeyWord(stage);
}

Matrix4 ShaderTextBuilder::DirectionMatrix(const Matrix4& inverseWorld) {
    Matrix4 m = inverseWorld;
    m[3] = m[7] = m[11] = 0.0f;
    return m;
}

Vec3 ShaderTextBuilder::Negate3(const Vec3& v) {
    return Vec3{-v.x, -v.y, -v.z};
}

void ShaderTextBuilder::Add4(float* target, const float* source) {
    for (int i = 0; i < 4; ++i)
        target[i] += source[i];
}

// --- emitters --------------------------------------------------------------------

void ShaderTextBuilder::EmitLine(const char* opcode, const String* const* operands, int32_t count) {
    text.Append(opcode);
    text.Append("\t");
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0)
            text.Append(", ");
        text.Append(*operands[i]);
    }
    text.Append("\n");
}

#define MARELDON_EMIT2(Name, opcode)                                 \
    void ShaderTextBuilder::Name(const String& d, const String& s) { \
        const String* operands[] = {&d, &s};                         \
        EmitLine(opcode, operands, 2);                               \
    }
#define MARELDON_EMIT3(Name, opcode)                                                  \
    void ShaderTextBuilder::Name(const String& d, const String& a, const String& b) { \
        const String* operands[] = {&d, &a, &b};                                      \
        EmitLine(opcode, operands, 3);                                                \
    }
#define MARELDON_EMIT4(Name, opcode)                                                                   \
    void ShaderTextBuilder::Name(const String& d, const String& a, const String& b, const String& c) { \
        const String* operands[] = {&d, &a, &b, &c};                                                   \
        EmitLine(opcode, operands, 4);                                                                 \
    }

MARELDON_EMIT2(EmitMov, "mov")
MARELDON_EMIT2(EmitRsq, "rsq")
MARELDON_EMIT3(EmitAdd, "add")
MARELDON_EMIT3(EmitSub, "sub")
MARELDON_EMIT3(EmitMul, "mul")
MARELDON_EMIT3(EmitM4x4, "m4x4")
MARELDON_EMIT3(EmitDp3, "dp3")
MARELDON_EMIT3(EmitMax, "max")
MARELDON_EMIT3(EmitSge, "sge")
MARELDON_EMIT4(EmitMad, "mad")
MARELDON_EMIT2(EmitPsMov, "mov")
MARELDON_EMIT2(EmitPsCoMov, "+mov")
MARELDON_EMIT3(EmitPsMul, "mul")
MARELDON_EMIT3(EmitPsCoMul, "+mul")
MARELDON_EMIT3(EmitPsMulSat, "mul_sat")
MARELDON_EMIT3(EmitPsAdd, "add")
MARELDON_EMIT3(EmitPsSub, "sub")
MARELDON_EMIT4(EmitPsCnd, "cnd")
MARELDON_EMIT4(EmitPsMadSat, "mad_sat")

#undef MARELDON_EMIT2
#undef MARELDON_EMIT3
#undef MARELDON_EMIT4

void ShaderTextBuilder::EmitRaw(const String& line) {
    text.Append(line);
    text.Append("\n");
}

// These two multi-line forms keep their own spacing: no blanks after the commas of
// the normalisation, two blanks in the reflection.
void ShaderTextBuilder::EmitNormalize(const String& r) {
    text += "dp3\t" + r + ".w," + r + ".xyz," + r + ".xyz\n";
    text += "rsq\t" + r + ".w," + r + ".w\n";
    text += "mul\t" + r + ".xyz," + r + ".xyz," + r + ".www\n";
}

void ShaderTextBuilder::EmitReflect(const String& r, const String& n, const String& e) {
    text += "dp3\t" + r + ".xyz, " + n + ",  " + e + "\n";
    text += "add\t" + r + ".xyz, " + r + ",  " + r + "\n";
    text += "mad\t" + r + ".xyz, " + r + ", -" + n + ", " + e + "\n";
}

}  // namespace mareldon
