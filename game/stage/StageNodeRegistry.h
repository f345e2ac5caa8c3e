#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace mareldon {

class Object3D;
struct NodeSpawnInfo;

// The game objects a stage model's nodes become, by whole node name: the stage scene
// asks it while the model binds, and the object layers above it fill it (the world
// screen cannot name their classes). Names are unique, so a map gives the one answer.
class StageNodeRegistry {
  public:
    // Builds the object for the node under `parent`, or answers null to leave the node
    // to the hooks further up (and then to a plain node).
    using Builder = Object3D* (*)(Object3D* parent, NodeSpawnInfo& info);
    // A "GP*" node: puts the building object into wave `number` of group `letter`
    // (1 = 'A' .. 26 = 'Z'); false when the building object takes no group.
    using GroupHook = bool (*)(Object3D* parent, uint8_t letter, uint8_t number);
    enum class Kind : uint8_t { kFrame, kLayer, kBone };

    // False (and nothing changes) for a null builder or a name already taken.
    bool Add(Kind kind, std::string_view name, Builder builder);
    // Puts a builder over whatever the name had (the bosses' classes over the stand-ins).
    void Replace(Kind kind, std::string_view name, Builder builder);
    Builder Find(Kind kind, std::string_view name) const;
    size_t Count(Kind kind) const { return Table(kind).size(); }
    // Names refused by Add since the registry was made: a second registration of one
    // name is a mistake of the registering code.
    int32_t RefusedCount() const { return refused; }

    // A layer without an entry (scenery); null leaves it a plain mesh node.
    Builder defaultLayer = nullptr;
    GroupHook groupHook = nullptr;

    // The registry the composition roots fill; stage scenes use the active one, which
    // is this unless a ScopedStageNodeRegistry put another in its place.
    static StageNodeRegistry& Global();
    static const StageNodeRegistry& Active();

  private:
    friend class ScopedStageNodeRegistry;
    using Map = std::map<std::string, Builder, std::less<>>;
    const Map& Table(Kind kind) const { return tables[static_cast<int>(kind)]; }

    Map tables[3];
    int32_t refused = 0;
    static const StageNodeRegistry* active;
};

// A test's own registry for the stage scenes built while it lives.
class ScopedStageNodeRegistry {
  public:
    explicit ScopedStageNodeRegistry(const StageNodeRegistry& registry)
        : previous(StageNodeRegistry::active) {
        StageNodeRegistry::active = &registry;
    }
    ~ScopedStageNodeRegistry() { StageNodeRegistry::active = previous; }
    ScopedStageNodeRegistry(const ScopedStageNodeRegistry&) = delete;
    ScopedStageNodeRegistry& operator=(const ScopedStageNodeRegistry&) = delete;

  private:
    const StageNodeRegistry* previous;
};

}  // namespace mareldon
