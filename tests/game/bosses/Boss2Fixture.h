#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/bosses/Boss2Body.h"
#include "tests/game/bosses/Boss1Fixture.h"
#include "tools/archive/PlaceholderBoss2.h"

namespace mareldon {

// The placeholder stage-2 boss, in view from the first frame, less what `omit` names.
inline BossNodes Boss2Nodes(PlaceholderBoss2Omit omit = {}) {
    return [omit](StageModelBuilder& b) {
        return std::vector<MbdWriter::Node>{PlaceholderBoss2Node(b, 0.0f, 300.0f, omit)};
    };
}

inline void Boss2Models(MbdWriter& writer, StageModelBuilder& builder) {
    AddPlaceholderBoss2Models(writer);
    // The big blast's model.
    PlaceholderBossModels(writer, builder);
}

// The boss stage with the stage-2 boss; steps and frames follow its body.
class Boss2StageFixture : public BossStageFixture {
  public:
    explicit Boss2StageFixture(const BossNodes& nodes = Boss2Nodes(), const BossModels& models = Boss2Models)
        : BossStageFixture(nodes, models) {}

    Boss2Body* Body() {
        if (body2 == nullptr)
            body2 = FindOne<Boss2Body>();
        return body2;
    }
    StaticModelRoot* BossRoot() { return static_cast<StaticModelRoot*>(Body()->ParentNode()); }
    int32_t Frame() { return Body()->GetStepCount(); }
    void JumpBefore(int32_t frame) { BossRoot()->SetMotionTime((float(frame) - 0.5f) / 60.0f); }
    void BossStep() {
        Shield();
        root.Update();
        root.CollectDead();
        if (Body() != nullptr)
            frameAtStep[log.GetStep()] = Frame();
    }
    void Steps(int32_t count) {
        for (int32_t i = 0; i < count; ++i)
            BossStep();
    }
    int32_t StepToFrame(int32_t frame) {
        int32_t steps = 0;
        while (Body() != nullptr && Frame() < frame && steps < 100000) {
            BossStep();
            ++steps;
        }
        return steps;
    }
    Boss2LayerPart* Part(int32_t layer) { return Body()->Part(layer); }
    // Index of the first log entry of that operation and arguments; -1 when none.
    int32_t IndexOf(const char* operation, const char* arguments) const {
        const std::vector<WorldEvent>& events = log.Events();
        for (size_t i = 0; i < events.size(); ++i) {
            if (events[i].operation == operation && events[i].arguments == arguments)
                return int32_t(i);
        }
        return -1;
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const WorldEvent& e : log.Events())
            lines.push_back(std::to_string(e.step) + " " + e.operation + " " + e.arguments);
        return lines;
    }

    Boss2Body* body2 = nullptr;
};

inline std::string Boss2Layer(int32_t n) {
    return "ba02_cyou:Layer" + std::to_string(n);
}

}  // namespace mareldon
