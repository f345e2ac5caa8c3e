#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/Math.h"
#include "engine/core/String.h"
#include "engine/core/VertexLayout.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/LightList.h"
#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/ShaderGenBase.h"

namespace mareldon {

class TextureBase;

// Screen-space orthographic matrix, rows one after another: pixel (x, y) maps to
// clip (2x / w - 1, 1 - 2y / h).
void MakeOrthoMatrix(float* out16, float width, float height);

// The common base of the concrete generators: register-name tables, the two constant
// pools (whose allocations also record the register layout in the vertex key), input
// and light-record matching, device helpers, culling and the instruction emitters.
//
// Every pool, stack and name table is bounded. A draw that would go past one of them
// (or that has more vertex elements than input registers) is refused: Apply returns
// false, nothing is uploaded and the Renderer does not draw the part. It is logged
// once per generator.
class ShaderTextBuilder : public ShaderGenBase {
  public:
    static constexpr int32_t kVsPoolFloats = 2200;
    static constexpr int32_t kPsPoolFloats = 32;
    static constexpr int32_t kSlotStackSize = 256;
    static constexpr int32_t kVsRegisters = 256;
    static constexpr int32_t kPsRegisters = 8;
    static constexpr int32_t kVsNameCount = kVsRegisters * 16;
    static constexpr int32_t kPsNameCount = kPsRegisters * 16;
    static constexpr int32_t kInputRegisters = 16;
    static constexpr int32_t kTextureStages = 16;

    explicit ShaderTextBuilder(const RefPtr<Renderer>& owner);
    ~ShaderTextBuilder() override;

    // Resets the pools, runs SetConstants and uploads both pools from register 0.
    bool Apply(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
               const RefPtr<MeshPart>& part) override;
    // Bounding-sphere test against the view, unless the batch has culling off.
    bool Cull(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node, const RefPtr<MeshPart>& part,
              float& depth) override;
    virtual bool SetConstants(const RefPtr<RenderView>& view, const RefPtr<RenderBatch>& node,
                              const RefPtr<MeshPart>& part) = 0;

    // Register names. Constant name index = 4 * first float + (components - 1).
    const String& VsConstName(int32_t index);
    const String& PsConstName(int32_t index);
    const String& TextureOutName(int32_t index);
    const String& InputName(int32_t index);
    static const String& PositionOutName();
    static const String& ColourOutName(int32_t index);
    static const String& NotFoundName();
    static String MakeRegisterName(const char* prefix, int32_t number);

    // Key words: the word and one blank.
    void AppendVsKeyWord(const String& word);
    void AppendVsKeyWord(const char* word);
    void AppendVsKeyWord(int32_t number);
    void AppendPsKeyWord(const String& word);
    void AppendPsKeyWord(const char* word);
    void AppendPsKeyWord(int32_t number);
    // Key words for choices that change the vertex text but leave no trace in the
    // constant layout words: the bone palette's size, the shadow map's projection and
    // the texture output its coordinates go to.
    void AppendPaletteKeyWord(int32_t matrices);
    void AppendShadowMapKeyWords(bool perspective, int32_t coordinateOutput);

    // Vertex constants; each returns a name index.
    int32_t AddConstant(const float* values4);
    int32_t AddMatrixConstant(const float* values16);
    int32_t AddVector3Constant(const float* values3);
    int32_t AddScalarConstant(float value);
    int32_t AllocTwoFloatConstant(float x, float y);
    // n whole registers (4n floats); records the block's size in the key.
    int32_t AddVsConstantBlock(const float* values, int32_t registers);
    // One pixel register, no key word.
    int32_t AddPsConstant(const float* values4);

    int32_t VsFloatCount() const { return vsFloatCount; }
    int32_t PsFloatCount() const { return psFloatCount; }
    const float* VsPool() const { return vsPool; }
    const float* PsPool() const { return psPool; }
    // The next free whole register of the vertex pool.
    int32_t NextVsRegister() const { return (vsFloatCount + 3) / 4; }
    // Marks this draw as refused (a limit was passed); logged once per generator.
    void RefuseDraw(const char* reason);
    bool DrawRefused() const { return refused; }

    // Inputs and records.
    static int32_t CountInputs(const VertexLayout& elements, const char* name);
    const String& FindInput(const VertexLayout& elements, const char* name, int32_t index);
    int32_t CountLightRecords(const LightList* lights, const char* name);
    static const LightRecord* GetLightRecord(const LightList* lights, const char* name, int32_t k);
    static int32_t CountNamedValues(const std::vector<NamedValue>* values, const char* name);
    float GetNamedValue(const std::vector<NamedValue>* values, const char* name, float time);

    // Device helpers.
    void ApplyRenderStates(const RenderStateBlock& block);
    int32_t SetMaterialTextures(const std::vector<MaterialTexture>& textures);
    void SetTexture(int32_t stage, TextureBase* texture);

    static Vec3 Negate3(const Vec3& v);
    // The inverse world matrix without its translation: directions into model space.
    static Matrix4 DirectionMatrix(const Matrix4& inverseWorld);
    static void Add4(float* target, const float* source);

    // Vertex emitters: one line each, opcode, tab, operands joined by ", ".
    void EmitMov(const String& d, const String& s);
    void EmitRsq(const String& d, const String& s);
    void EmitAdd(const String& d, const String& a, const String& b);
    void EmitSub(const String& d, const String& a, const String& b);
    void EmitMul(const String& d, const String& a, const String& b);
    void EmitM4x4(const String& d, const String& a, const String& b);
    void EmitDp3(const String& d, const String& a, const String& b);
    void EmitMax(const String& d, const String& a, const String& b);
    void EmitSge(const String& d, const String& a, const String& b);
    void EmitMad(const String& d, const String& a, const String& b, const String& c);
    void EmitRaw(const String& line);
    void EmitNormalize(const String& r);
    void EmitReflect(const String& r, const String& n, const String& e);
    // Pixel emitters.
    void EmitPsMov(const String& d, const String& s);
    void EmitPsCoMov(const String& d, const String& s);
    void EmitPsMul(const String& d, const String& a, const String& b);
    void EmitPsCoMul(const String& d, const String& a, const String& b);
    void EmitPsMulSat(const String& d, const String& a, const String& b);
    void EmitPsAdd(const String& d, const String& a, const String& b);
    void EmitPsSub(const String& d, const String& a, const String& b);
    void EmitPsCnd(const String& d, const String& condition, const String& a, const String& b);
    void EmitPsMadSat(const String& d, const String& a, const String& b, const String& c);

  protected:
    void ResetPools();
    // The first three rows of each bone as whole registers, with the palette key word
    // when there is a bone; returns the first register.
    int32_t AddBonePalette(const std::vector<Matrix4>& palette);
    // 1 / value, or 0 (logged once per generator) where light data gives a value of 0.
    float Reciprocal(float value, const char* what);

  private:
    // The name at index, or the empty name and a refused draw outside the table.
    const String& TableName(const String* table, int32_t count, int32_t index, const char* what);
    void EmitLine(const char* opcode, const String* const* operands, int32_t count);
    // Room for `floats` more floats in the vertex pool; refuses the draw when not.
    bool ReserveVsFloats(int32_t floats);
    // The first float of `components` free floats in one register.
    int32_t TakeComponents(int32_t components);
    void PushSlot(int32_t free, int32_t firstFree);
    int32_t AddWholeRegisters(const float* values, int32_t registers);
    int32_t AddPartialConstant(const float* values, int32_t components);
    static int32_t ConstantIndex(int32_t firstFloat, int32_t components);

    float vsPool[kVsPoolFloats];
    int32_t vsFloatCount = 0;
    // Registers with 1, 2 and 3 free trailing components (their first free float), LIFO.
    int32_t slots[3][kSlotStackSize];
    int32_t slotCounts[3] = {0, 0, 0};
    float psPool[kPsPoolFloats];
    int32_t psFloatCount = 0;
    bool refused = false;
    bool refusalLogged = false;
    bool reciprocalLogged = false;
};

}  // namespace mareldon
