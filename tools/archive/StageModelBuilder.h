#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/archive/MbdWriter.h"

namespace mareldon {

// Stage models node by node, for the placeholder stages, the tests and the fuzz seeds:
// frame nodes, boxes as mesh layers, bones, type-5 nodes, and keys that give a node its
// activity window or drive a control node.
class StageModelBuilder {
  public:
    using Node = MbdWriter::Node;
    // Linear keys and step keys (the value holds until the next key).
    static constexpr uint32_t kLinear = 3;
    static constexpr uint32_t kStep = 4;

    explicit StageModelBuilder(MbdWriter& writer) : writer(writer) {}

    static Node Frame(const std::string& name, std::vector<Node> children = {});
    static Node Bone(const std::string& name, std::vector<Node> children = {});
    static Node TypeFive(const std::string& name, std::vector<Node> children = {});
    // A box layer, 2 * half a side: one unlit part "nonshade" on a 4 x 4 texture of one
    // colour (0xRRGGBB).
    Node Box(const std::string& name, float half = 0.5f, uint32_t rgb = 0xE05030,
             std::vector<Node> children = {});

    // Position keys at t0 and t1 holding `position`: the node's activity window.
    Node& Window(Node& node, float x, float y, float z, float t0, float t1);
    // One position key: no window, always active.
    Node& At(Node& node, float x, float y, float z);
    // Keys (time, value) on the scale track of axis 0 (x), 1 (y) or 2 (z).
    Node& ScaleKeys(Node& node, int axis, const std::vector<std::pair<float, float>>& keys,
                    uint32_t kind = kStep);

    // "CameraMount" (type 5), `height` above the origin, looking down: world +x to screen
    // right, +z to screen up.
    Node CameraMount(float height);
    // root (type 0, 0 to endTime) > "Scene" holding `scene`, then "CameraMount".
    Node Stage(const std::string& name, std::vector<Node> scene, float endTime, float cameraHeight);

    MbdWriter& writer;

  private:
    int32_t Texture(uint32_t rgb);
    int32_t Keys(const std::vector<std::pair<float, float>>& keys, uint32_t kind, float defaultValue);

    std::map<uint32_t, int32_t> textures;
};

// "model:LayerN", a mesh layer's node name.
std::string LayerName(const std::string& model, int32_t n);
// A model's root node (type 0) over its layers.
MbdWriter::Node ModelRoot(const std::string& name, float endTime, std::vector<MbdWriter::Node> children);
// Puts `node` under the stage model's "Scene"; false when it has none.
bool AddToScene(MbdWriter::Node& stage, MbdWriter::Node node);

}  // namespace mareldon
