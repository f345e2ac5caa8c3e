#include "game/bosses/Boss5Body.h"

#include <cmath>
#include <string>

#include "engine/core/RotationTrack.h"
#include "game/bosses/Boss5Cube.h"
#include "game/objects/LayerEnemy.h"
#include "game/stage/EffectModel.h"
#include "game/stage/Emitters.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StageNodeRegistry.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

using Ball = Boss5Body;
using Centre = Boss5MandaraLayerPart0;
using Ring = Boss5MandaraLayerPart22;
using Weak = Boss5WeakPoint;

const BodyEvent<Ball> kBallStart[] = {
    {Ball::kFightStart, &Ball::FightStart, "ball.start"},
    {Ball::kFightStart, &Ball::StopThis, "ball.start.stop"},
};

const BodyEvent<Ball> kBallAttack[] = {
    {0, &Ball::Patterns0And1, "ball.0.1"}, {120, &Ball::Pattern2, "ball.2"},
    {240, &Ball::Pattern3, "ball.3"},      {480, &Ball::Patterns4And5, "ball.4.5"},
    {600, &Ball::Pattern6, "ball.6"},      {1080, &Ball::Pattern7, "ball.7"},
    {1140, &Ball::Pattern8, "ball.8"},     {1200, &Ball::Pattern7, "ball.7"},
    {1260, &Ball::Pattern8, "ball.8"},     {1320, &Ball::Pattern7, "ball.7"},
    {1380, &Ball::Pattern9, "ball.9"},     {1500, &Ball::Patterns10And11, "ball.10.11"},
    {1980, &Ball::Loop, "ball.loop"},
};

const BodyEvent<Ball> kBallDamage[] = {
    {4500, &Ball::Beaten, "ball.damage.4500"},
    {4500, &Ball::StopThis, "ball.damage.stop"},
};

const BodyEvent<Ball> kBallDefeat[] = {
    {0, &Ball::DefeatBegin, "ball.defeat.begin"},   {180, &Ball::HomingBegin, "ball.defeat.home"},
    {240, &Ball::Burst, "ball.defeat.burst"},       {270, &Ball::WeakPointGoes, "ball.defeat.weak"},
    {330, &Ball::Recovery, "ball.defeat.recovery"}, {360, &Ball::HandOver, "ball.defeat.handover"},
    {360, &Ball::StopThis, "ball.defeat.stop"},
};

const BodyEvent<Centre> kCentreAppear[] = {
    {0, &Centre::Appear, "centre.appear"},
    {180, &Centre::AppearAttack, "centre.appear.attack"},
    {180, &Centre::StopThis, "centre.appear.stop"},
};

const BodyEvent<Centre> kCentreAttack[] = {
    {120, &Centre::Pattern0, "centre.0"},  {1020, &Centre::Pattern1, "centre.1"},
    {1080, &Centre::Pattern1, "centre.1"}, {1260, &Centre::Pattern1, "centre.1"},
    {1320, &Centre::Pattern1, "centre.1"}, {1620, &Centre::Pattern2, "centre.2"},
    {2280, &Centre::Pattern4, "centre.4"}, {2310, &Centre::Pattern5, "centre.5"},
    {2700, &Centre::Pattern6, "centre.6"}, {2820, &Centre::Loop, "centre.loop"},
};

const BodyEvent<Centre> kCentreDamage[] = {
    {5500, &Centre::Beaten, "centre.damage.5500"},
};

const BodyEvent<Centre> kCentreDefeat[] = {
    {0, &Centre::DefeatBegin, "centre.defeat.begin"},
    {360, &Centre::StageClear, "centre.defeat.clear"},
    {360, &Centre::StopThis, "centre.defeat.stop"},
};

const BodyEvent<Ring> kRingAppear[] = {
    {0, &Ring::Appear, "ring.appear"},
    {180, &Ring::AppearAttack, "ring.appear.attack"},
    {180, &Ring::StopThis, "ring.appear.stop"},
};

const BodyEvent<Ring> kRingAttack[] = {
    {0, &Ring::AllPattern0, "ring.0"},
    {900, &Ring::InazumaPattern1, "ring.inazuma.1"},
    {960, &Ring::InazumaPattern2, "ring.inazuma.2"},
    {1140, &Ring::CyuouPattern1, "ring.cyuou.1"},
    {1200, &Ring::CyuouPattern2, "ring.cyuou.2"},
    {1380, &Ring::AllPattern3, "ring.3"},
    {2820, &Ring::Loop, "ring.loop"},
};

const BodyEvent<Ring> kRingTrigger[] = {
    {1, &Ring::TriggerDefeat, "ring.trigger"},
    {1, &Ring::StopThis, "ring.trigger.stop"},
};

const BodyEvent<Ring> kRingDefeat[] = {
    {0, &Ring::DefeatBegin, "ring.defeat.begin"},
    {160, &Ring::Stopped, "ring.defeat.stopped"},
    {160, &Ring::StopThis, "ring.defeat.stop"},
};

const BodyEvent<Weak> kBallWeakDeath[] = {
    {0, &Weak::Nothing, "ballweak.0"},
    {30, &Weak::Nothing, "ballweak.30"},
    {60, &Weak::NotHittable, "ballweak.60"},
    {120, &Weak::Kill, "ballweak.kill"},
};

const BodyEvent<Weak> kCentreWeakDeath[] = {
    {0, &Weak::NotHittable, "centreweak.0"},     {0, &Weak::CentreBlast, "centreweak.blast"},
    {120, &Weak::CentreSmall, "centreweak.120"}, {150, &Weak::CentreMedium, "centreweak.150"},
    {160, &Weak::CentreEnd, "centreweak.end"},
};

const BodyEvent<Weak> kTriggerDeath[] = {
    {0, &Weak::TriggerMedium, "trigger.0"},       {120, &Weak::TriggerSmall, "trigger.120"},
    {120, &Weak::NotHittable, "trigger.120.off"}, {150, &Weak::TriggerMedium, "trigger.150"},
    {160, &Weak::Kill, "trigger.kill"},
};

template <typename Body, size_t N>
void AddTable(EventTimeline& timeline, Body* body, const BodyEvent<Body> (&table)[N],
              std::deque<BodyEventRunner<Body>>& runners) {
    AddBodySchedule(timeline, body, table, int32_t(N), runners);
}

// The ball's home under the world root: whichever of the two goes first, the ball's
// pointer to it never dangles.
class Boss5Home : public Object3D {
  public:
    Boss5Home(TaskObject* parent, Object3D** slot) : Object3D(parent, 0), slot(slot) {}
    ~Boss5Home() override {
        if (*slot == this)
            *slot = nullptr;
    }

  private:
    Object3D** slot;
};

void LogHidden(GameWorldScreen* world, const String& name, int on) {
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossHidden", "%s %d", name.Text(), on);
}

}  // namespace

// ---- shared ----------------------------------------------------------------------------

Boss5Controller::Boss5Controller(TaskObject* parentTask, NodeSpawnInfo& info)
    : EnemySubPart(parentTask, info, BossSection::kDurability) {
    visible = 0;
}

Boss5Controller::~Boss5Controller() {
    // Muzzles and weak points unregister into this controller while they go.
    DeleteChildren();
}

void Boss5Controller::RegisterMuzzle(Boss5Slot slot, Boss5Muzzle* muzzle) {
    if (slot < Boss5Slot::kCount)
        muzzles[int32_t(slot)] = muzzle;
}

void Boss5Controller::Hide() {
    heldHidden = 1;
    visible = 0;
    nodeDrawSelf = 0;
    nodeChildren = 0;
    SetUpdateSelf(false);
    SetDrawSelf(false);
    LogHidden(world, name, 1);
}

void Boss5Controller::LogEvent(const char* label, int32_t frame) {
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossEvent", "%s %d", label, frame);
}

void Boss5Controller::Loop(EventTimeline& t) {
    TimelineLoopCallback(*this, t);
}

void Boss5Controller::StopThis(EventTimeline& t) {
    t.Stop();
}

void Boss5Controller::Feed(int32_t frame, EventTimeline* const* timelines, int32_t count) {
    const float fed = float(frame - lastFrame);
    for (int32_t i = 0; i < count; ++i)
        timelines[i]->AddTime(fed);
    lastFrame = frame;
}

void Boss5Controller::FreezeTracks() {
    HoldPose(*this);
}

void Boss5Controller::Restart(Boss5Slot slot, int32_t pattern) {
    if (Boss5Muzzle* muzzle = Muzzle(slot))
        muzzle->Restart(pattern);
}

void Boss5Controller::StopPattern(Boss5Slot slot, int32_t pattern) {
    if (Boss5Muzzle* muzzle = Muzzle(slot))
        muzzle->Stop(pattern);
}

// ---- the mandala -----------------------------------------------------------------------

Boss5MandaraLayerPart21::Boss5MandaraLayerPart21(TaskObject* parentTask, NodeSpawnInfo& info)
    : EnemySubPart(parentTask, info, 1.0f) {
    visible = 0;
}

Boss5MandaraLayerPart21::~Boss5MandaraLayerPart21() {
    DeleteChildren();
}

Boss5MandalaPart::Boss5MandalaPart(TaskObject* parentTask, NodeSpawnInfo& info, const char* motion)
    : Boss5Controller(parentTask, info), motionModel(motion) {
    root = dynamic_cast<Boss5MandaraLayerPart21*>(parentTask);
    if (root == nullptr)
        LOG_WARN("boss", "\"%s\" is not under the mandala root; it acts alone", info.name.Text());
    Hide();
}

void Boss5MandalaPart::Activate() {
    heldHidden = 0;
    nodeDrawSelf = 0;
    nodeChildren = 1;
    SetUpdateSelf(true);
    SetDrawSelf(true);
    visible = 0;
    appear->Start();
    lastFrame = GetStepCount();
    LogHidden(world, name, 0);
}

void Boss5MandalaPart::Appear(EventTimeline&) {
    FreezeTracks();
    if (model != nullptr)
        return;
    // Beside the controller, so that its first node's pose is one the controller can take.
    TaskObject* at =
        root != nullptr ? static_cast<TaskObject*>(root) : static_cast<TaskObject*>(this->parent);
    model = new StaticModelPart(at);
    if (!BindNamedModel(*model, String(motionModel))) {
        delete model;
        model = nullptr;
    }
}

void Boss5MandalaPart::StepMandala() {
    EventTimeline* const lines[] = {attack, appear, defeat};
    Feed(GetStepCount(), lines, 3);
    if (model == nullptr)
        return;
    Object3D* first = nullptr;
    model->ForEachChildNode([&](Object3D& child) {
        if (first == nullptr)
            first = &child;
    });
    if (first == nullptr)
        return;
    SetPosition(first->GetPosition());
    SetRotation(first->GetRotation());
    SetScale(first->GetScale());
    SetPivot(first->GetPivot());
}

Boss5MandaraLayerPart0::Boss5MandaraLayerPart0(TaskObject* parentTask, NodeSpawnInfo& info)
    : Boss5MandalaPart(parentTask, info, "ba_05_1madara1top_box_motion") {
    appear = new EventTimeline(this);
    attack = new EventTimeline(this);
    damage = new EventTimeline(this);
    defeat = new EventTimeline(this);
    AddTable(*appear, this, kCentreAppear, runners);
    AddTable(*attack, this, kCentreAttack, runners);
    AddTable(*damage, this, kCentreDamage, runners);
    AddTable(*defeat, this, kCentreDefeat, runners);
    damage->Start();
    if (root != nullptr)
        root->centre = this;
}

Boss5MandaraLayerPart0::~Boss5MandaraLayerPart0() {
    DeleteChildren();
    if (root != nullptr && root->centre == this)
        root->centre = nullptr;
}

void Boss5MandaraLayerPart0::OnUpdatePre() {
    StepMandala();
    if (beaten == 0 && timedOut == 0 && world != nullptr && world->GetTimeLeft() <= kTimeOut) {
        timedOut = 1;
        if (WorldEventLog* log = BossLog(world))
            log->Record("BossTimedOut");
        defeat->Start();
    }
}

void Boss5MandaraLayerPart0::AddDamage(float amount) {
    if (timedOut == 0)
        damage->AddTime(amount);
}

void Boss5MandaraLayerPart0::AppearAttack(EventTimeline&) {
    if (weakPoint != nullptr)
        weakPoint->SetHittable(true);
    attack->Start();
}

void Boss5MandaraLayerPart0::Pattern0(EventTimeline&) {
    Restart(Boss5Slot::kMedarion5Boss, 0);
}
void Boss5MandaraLayerPart0::Pattern1(EventTimeline&) {
    Restart(Boss5Slot::kMedarion5Boss, 1);
}
void Boss5MandaraLayerPart0::Pattern2(EventTimeline&) {
    Restart(Boss5Slot::kMedarion5Boss, 2);
}
void Boss5MandaraLayerPart0::Pattern4(EventTimeline&) {
    Restart(Boss5Slot::kMedarion5Boss, 4);
}
void Boss5MandaraLayerPart0::Pattern5(EventTimeline&) {
    Restart(Boss5Slot::kMedarion5Boss, 5);
}
void Boss5MandaraLayerPart0::Pattern6(EventTimeline&) {
    Restart(Boss5Slot::kMedarion5Boss, 6);
}

void Boss5MandaraLayerPart0::Beaten(EventTimeline& t) {
    if (timedOut != 0)
        return;
    beaten = 1;
    defeat->Start();
    t.Stop();
}

void Boss5MandaraLayerPart0::DefeatBegin(EventTimeline&) {
    if (weakPoint != nullptr) {
        weakPoint->destruction->Start();
        weakPoint->SetHittable(false);
    }
    // Without a ring there is nothing to stop; the clear still comes.
    if (root != nullptr && root->ring != nullptr)
        root->ring->defeat->Start();
    if (world != nullptr) {
        world->SetTimeLimitEnabled(false);
        world->CancelAllEnemyBullets();
    }
    attack->Stop();
    if (Boss5Muzzle* muzzle = Muzzle(Boss5Slot::kMedarion5Boss))
        muzzle->StopAll();
}

void Boss5MandaraLayerPart0::StageClear(EventTimeline&) {
    cleared = 1;
    if (world != nullptr)
        world->BeginStageClear();
}

Boss5MandaraLayerPart22::Boss5MandaraLayerPart22(TaskObject* parentTask, NodeSpawnInfo& info)
    : Boss5MandalaPart(parentTask, info, "ba_05_1madara23top_box_basehontai_motion") {
    appear = new EventTimeline(this);
    attack = new EventTimeline(this);
    trigger = new EventTimeline(this);
    defeat = new EventTimeline(this);
    AddTable(*appear, this, kRingAppear, runners);
    AddTable(*attack, this, kRingAttack, runners);
    AddTable(*trigger, this, kRingTrigger, runners);
    AddTable(*defeat, this, kRingDefeat, runners);
    trigger->Start();
    if (root != nullptr)
        root->ring = this;
}

Boss5MandaraLayerPart22::~Boss5MandaraLayerPart22() {
    DeleteChildren();
    if (root != nullptr && root->ring == this)
        root->ring = nullptr;
}

void Boss5MandaraLayerPart22::OnUpdatePre() {
    StepMandala();
}

void Boss5MandaraLayerPart22::AppearAttack(EventTimeline&) {
    attack->Start();
}

namespace {

constexpr Boss5Slot kRingSlots[] = {Boss5Slot::kUCyuou,       Boss5Slot::kRCyuou,
                                    Boss5Slot::kLCyuou,       Boss5Slot::kInazuma15_18,
                                    Boss5Slot::kInazuma16_19, Boss5Slot::kInazuma17_20};
constexpr Boss5Slot kCyuou[] = {Boss5Slot::kUCyuou, Boss5Slot::kRCyuou, Boss5Slot::kLCyuou};
constexpr Boss5Slot kInazuma[] = {Boss5Slot::kInazuma15_18, Boss5Slot::kInazuma16_19};

}  // namespace

void Boss5MandaraLayerPart22::AllPattern0(EventTimeline&) {
    for (Boss5Slot slot : kRingSlots)
        Restart(slot, 0);
}
void Boss5MandaraLayerPart22::InazumaPattern1(EventTimeline&) {
    for (Boss5Slot slot : kInazuma)
        Restart(slot, 1);
}
void Boss5MandaraLayerPart22::InazumaPattern2(EventTimeline&) {
    for (Boss5Slot slot : kInazuma)
        Restart(slot, 2);
}
void Boss5MandaraLayerPart22::CyuouPattern1(EventTimeline&) {
    for (Boss5Slot slot : kCyuou)
        Restart(slot, 1);
}
void Boss5MandaraLayerPart22::CyuouPattern2(EventTimeline&) {
    for (Boss5Slot slot : kCyuou)
        Restart(slot, 2);
}
void Boss5MandaraLayerPart22::AllPattern3(EventTimeline&) {
    for (Boss5Slot slot : kRingSlots)
        Restart(slot, 3);
}

void Boss5MandaraLayerPart22::TriggerDefeat(EventTimeline&) {
    defeat->Start();
}

void Boss5MandaraLayerPart22::DefeatBegin(EventTimeline&) {
    attack->Stop();
    for (Boss5Slot slot : kCyuou) {
        for (int32_t k = 0; k < 4; ++k)
            StopPattern(slot, k);
    }
    for (Boss5Slot slot : kInazuma) {
        for (int32_t k = 0; k < 4; ++k)
            StopPattern(slot, k);
    }
    StopPattern(Boss5Slot::kInazuma17_20, 0);
    StopPattern(Boss5Slot::kInazuma17_20, 3);
}

void Boss5MandaraLayerPart22::Stopped(EventTimeline&) {
    stopped = 1;
}

// ---- the ball --------------------------------------------------------------------------

Boss5Body::Boss5Body(TaskObject* parentTask, NodeSpawnInfo& info)
    : Boss5Controller(parentTask, info), clock(dynamic_cast<StaticModelRoot*>(parentTask)) {
    root = FindAncestor<Boss5MandaraLayerPart21>(this, 2, info.name);
    if (root != nullptr)
        root->ball = this;
    hittable = 0;
    start = new EventTimeline(this);
    attack = new EventTimeline(this);
    damage = new EventTimeline(this);
    defeat = new EventTimeline(this);
    AddTable(*start, this, kBallStart, runners);
    AddTable(*attack, this, kBallAttack, runners);
    AddTable(*damage, this, kBallDamage, runners);
    AddTable(*defeat, this, kBallDefeat, runners);
    start->Start();
    damage->Start();
}

Boss5Body::~Boss5Body() {
    DeleteChildren();
    delete home;
    if (root != nullptr && root->ball == this)
        root->ball = nullptr;
}

void Boss5Body::OnUpdatePre() {
    // The stage's frames, not the ball's own clock: slowing the ball keeps its schedule.
    Object3D* worldRoot = world != nullptr ? static_cast<Object3D*>(world->GetWorldRoot()) : nullptr;
    if (worldRoot != nullptr) {
        EventTimeline* const lines[] = {attack, start, defeat};
        Feed(worldRoot->GetStepCount(), lines, 3);
    }
    const float left = world != nullptr ? world->GetTimeLeft() : 1.0e9f;
    if (attackTimedOut == 0 && left <= kStopFiring) {
        attackTimedOut = 1;
        attack->Stop();
        StopAllChusin();
        LogEvent("ball.timeout.40", lastFrame);
    }
    if (timedOut == 0 && left <= kGiveUp) {
        timedOut = 1;
        LogEvent("ball.timeout.38", lastFrame);
        // A defeat already under way runs on; starting it over would replay it.
        if (defeatStarted == 0) {
            defeatStarted = 1;
            defeat->Start();
        }
    }
    if (homing != 0 && home != nullptr) {
        const Vec3 target = home->GetWorldPosition();
        const Vec3 at = GetWorldPosition();
        const Vec3 next{approach.Step(target.x, at.x), approach.Step(target.y, at.y),
                        approach.Step(target.z, at.z)};
        const Vec3 p = GetPosition();
        SetPosition(Vec3{p.x + next.x - at.x, p.y + next.y - at.y, p.z + next.z - at.z});
    }
    if (slowing != 0 && clock != nullptr) {
        const float rate = clock->timeScale - 0.008333334f;
        clock->timeScale = rate > 0.0f ? rate : 0.0f;
    }
}

void Boss5Body::StopAllChusin() {
    if (Boss5Muzzle* muzzle = Muzzle(Boss5Slot::kChusin1))
        muzzle->StopAll();
}

void Boss5Body::FightStart(EventTimeline&) {
    if (weakPoint != nullptr)
        weakPoint->SetHittable(true);
    attack->Start();
}

void Boss5Body::Patterns0And1(EventTimeline&) {
    Restart(Boss5Slot::kChusin1, 0);
    Restart(Boss5Slot::kChusin1, 1);
}
void Boss5Body::Pattern2(EventTimeline&) {
    Restart(Boss5Slot::kChusin1, 2);
}
void Boss5Body::Pattern3(EventTimeline&) {
    Restart(Boss5Slot::kChusin1, 3);
}
void Boss5Body::Patterns4And5(EventTimeline&) {
    Restart(Boss5Slot::kChusin1, 4);
    Restart(Boss5Slot::kChusin1, 5);
}
void Boss5Body::Pattern6(EventTimeline&) {
    Restart(Boss5Slot::kChusin1, 6);
}
void Boss5Body::Pattern7(EventTimeline&) {
    Restart(Boss5Slot::kChusin1, 7);
}
void Boss5Body::Pattern8(EventTimeline&) {
    Restart(Boss5Slot::kChusin1, 8);
}
void Boss5Body::Pattern9(EventTimeline&) {
    Restart(Boss5Slot::kChusin1, 9);
}
void Boss5Body::Patterns10And11(EventTimeline&) {
    Restart(Boss5Slot::kChusin1, 10);
    Restart(Boss5Slot::kChusin1, 11);
}

void Boss5Body::Beaten(EventTimeline&) {
    if (timedOut != 0 || defeatStarted != 0)
        return;
    defeatStarted = 1;
    defeat->Start();
}

void Boss5Body::DefeatBegin(EventTimeline&) {
    slowing = 1;
    attack->Stop();
    StopAllChusin();
    if (weakPoint != nullptr)
        weakPoint->SetHittable(false);
}

void Boss5Body::HomingBegin(EventTimeline&) {
    homing = 1;
    if (home == nullptr && world != nullptr && world->GetWorldRoot() != nullptr) {
        home = new Boss5Home(world->GetWorldRoot(), &home);
        home->SetPosition(Vec3{0.0f, -30.0f, 4.8f});
    }
    FreezeTracks();
}

void Boss5Body::Effects(const char* effect) {
    if (world == nullptr || world->GetWorldRoot() == nullptr)
        return;
    const Vec3 at = GetWorldPosition();
    const Vec3 below{at.x, at.y - 5.0f, at.z};
    for (int32_t i = 0; i < 2; ++i)
        new EffectObject(world->GetWorldRoot(), world, below, Vec3{0.0f, 0.0f, 0.0f}, 0.0f,
                         Vec3{1.0f, 1.0f, 1.0f}, 0, String(effect));
}

void Boss5Body::Burst(EventTimeline&) {
    if (world == nullptr)
        return;
    Effects("REFLECT_HATSUDOU");
    Effects("EXPLOSION_S5BOSS");
    world->PlayExplosionSe5();
    const Vec3 at = GetWorldPosition();
    Random& random = world->GetRandom();
    for (int32_t i = 0; i < 64; ++i) {
        const float a = random.Range(0.0f, 6.2831855f);
        const float speed = random.Range(0.1f, 0.5f);
        const float size = random.Range(50.0f, 100.0f);
        world->SpawnSpark(at, Vec3{std::cos(a) * speed, 0.0f, std::sin(a) * speed}, size);
    }
}

void Boss5Body::WeakPointGoes(EventTimeline&) {
    if (weakPoint != nullptr)
        weakPoint->destruction->Start();
    if (marker != nullptr)
        marker->flag = 1;
}

void Boss5Body::Recovery(EventTimeline&) {
    Effects("REFLECT_KAIFUKU");
}

void Boss5Body::HandOver(EventTimeline&) {
    if (root != nullptr) {
        if (root->centre != nullptr)
            root->centre->Activate();
        if (root->ring != nullptr)
            root->ring->Activate();
    }
    Hide();
    hidden = 1;
}

// ---- weak points -----------------------------------------------------------------------

Boss5WeakPoint::Boss5WeakPoint(TaskObject* parentTask, NodeSpawnInfo& info, Kind which, AttachKind attach)
    : EnemySubPart(parentTask, info, BossSection::kDurability, attach), kind(which) {
    destruction = new EventTimeline(this);
    switch (kind) {
        case Kind::kBall:
            hittable = 0;
            owner = FindAncestor<Boss5Body>(this, 2, info.name);
            AddTable(*destruction, this, kBallWeakDeath, runners);
            break;
        case Kind::kCentre:
            hittable = 0;
            owner = FindAncestor<Boss5MandaraLayerPart0>(this, 1, info.name);
            AddTable(*destruction, this, kCentreWeakDeath, runners);
            break;
        case Kind::kRingTrigger:
            owner = FindAncestor<Boss5MandaraLayerPart22>(this, 1, info.name);
            AddTable(*destruction, this, kTriggerDeath, runners);
            break;
    }
    if (owner != nullptr)
        owner->RegisterWeakPoint(this);
}

Boss5WeakPoint::~Boss5WeakPoint() {
    DeleteChildren();
    if (owner != nullptr && owner->WeakPoint() == this)
        owner->RegisterWeakPoint(nullptr);
}

void Boss5WeakPoint::OnUpdatePre() {
    const int32_t frame = GetStepCount();
    destruction->AddTime(float(frame - lastFrame));
    lastFrame = frame;
    // The ring's trigger never enters the target list.
    if (kind != Kind::kRingTrigger && hittable != 0)
        RegisterHitSphere(GetWorldPosition(), 4.0f);
}

void Boss5WeakPoint::OnDamaged(float amount, uint32_t) {
    if (owner == nullptr)
        return;
    switch (kind) {
        case Kind::kBall:
            static_cast<Boss5Body*>(owner)->AddDamage(amount);
            break;
        case Kind::kCentre:
            static_cast<Boss5MandaraLayerPart0*>(owner)->AddDamage(amount);
            break;
        case Kind::kRingTrigger:
            static_cast<Boss5MandaraLayerPart22*>(owner)->AddTrigger(amount);
            break;
    }
}

void Boss5WeakPoint::SetHittable(bool on) {
    const uint8_t value = on ? 1 : 0;
    if (hittable == value)
        return;
    hittable = value;
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossHittable", "%s %d", name.Text(), int(value));
}

void Boss5WeakPoint::LogEvent(const char* label, int32_t frame) {
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossEvent", "%s %d", label, frame);
}

void Boss5WeakPoint::Emit(float radius, int32_t spawns, int32_t interval, int32_t volleys,
                          const char* effect) {
    new ExplosionEmitter(this, world, radius, spawns, interval, volleys, effect, 0.0f, 0.0f, 0.0f, 0.0f);
}

void Boss5WeakPoint::Nothing(EventTimeline&) {}

void Boss5WeakPoint::NotHittable(EventTimeline&) {
    SetHittable(false);
}

void Boss5WeakPoint::Kill(EventTimeline& t) {
    TimelineKillCallback(*this, t);
}

void Boss5WeakPoint::CentreBlast(EventTimeline&) {
    Emit(3.5f, 12, 1, 20, "EXPLOSION_ita_MA01");
    if (world == nullptr)
        return;
    world->SpawnEffect(GetWorldPosition(), Vec3{0.0f, 0.0f, 0.0f}, "EXPLOSION_BS01", Vec3{1.0f, 1.0f, 1.0f});
    world->PlayExplosionSe5();
}

void Boss5WeakPoint::CentreSmall(EventTimeline&) {
    Emit(2.0f, 8, 4, 30, "EXPLOSION_ita_SA01");
    if (world != nullptr)
        world->PlayExplosionSe5();
}

void Boss5WeakPoint::CentreMedium(EventTimeline&) {
    Emit(2.0f, 4, 2, 10, "EXPLOSION_ita_MA01");
    if (world != nullptr)
        world->PlayExplosionSe5();
}

void Boss5WeakPoint::CentreEnd(EventTimeline& t) {
    if (world != nullptr)
        world->PlayExplosionSe5();
    durability = 0.0f;
    t.Stop();
}

void Boss5WeakPoint::TriggerMedium(EventTimeline&) {
    Emit(2.0f, 4, 2, 10, "EXPLOSION_ita_MA01");
}

void Boss5WeakPoint::TriggerSmall(EventTimeline&) {
    Emit(2.0f, 8, 4, 30, "EXPLOSION_ita_SA01");
}

// ---- registration ----------------------------------------------------------------------

namespace {

Object3D* BuildRoot(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss5MandaraLayerPart21(parent, info);
}
Object3D* BuildCentre(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss5MandaraLayerPart0(parent, info);
}
Object3D* BuildRing(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss5MandaraLayerPart22(parent, info);
}
Object3D* BuildCentreWeak(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss5WeakPoint(parent, info, Boss5WeakPoint::Kind::kCentre, AttachKind::kPlain);
}
Object3D* BuildRingTrigger(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss5WeakPoint(parent, info, Boss5WeakPoint::Kind::kRingTrigger, AttachKind::kPlain);
}
Object3D* BuildBall(Object3D* parent, NodeSpawnInfo& info) {
    // The ball's own clock, which its defeat slows, stands above it.
    auto* clock = new StaticModelRoot(parent);
    return new Boss5Body(clock, info);
}
Object3D* BuildBallWeak(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss5WeakPoint(parent, info, Boss5WeakPoint::Kind::kBall, AttachKind::kUnderFrameNode);
}
Object3D* BuildCube(Object3D* parent, NodeSpawnInfo& info) {
    return new Boss5CubeLayerPart0(parent, info, 700.0f, 0.5f, String("BONUS_SX"),
                                   String("EXPLOSION_ita_SA01"));
}
Object3D* BuildPassive(Object3D* parent, NodeSpawnInfo& info) {
    return new LayerEnemy(parent, info, 1.0f, 0.0f, String("NULL"));
}
Object3D* BuildLinkedPassive(Object3D* parent, NodeSpawnInfo& info) {
    return new LayerEnemy(parent, info, 1.0f, 0.0f, String("NULL"), AttachKind::kUnderFrameNode);
}

std::string Layer(const char* model, int32_t n) {
    return std::string(model) + ":Layer" + std::to_string(n);
}

}  // namespace

void RegisterBoss5(StageNodeRegistry& registry) {
    using Kind = StageNodeRegistry::Kind;
    constexpr const char* kMandara = "ba_05_1mandara";
    constexpr const char* kBall = "ba_05_4hikari_dama";
    constexpr const char* kCube = "ba_05_3cube";
    registry.Replace(Kind::kLayer, Layer(kMandara, 21), BuildRoot);
    registry.Replace(Kind::kLayer, Layer(kMandara, 0), BuildCentre);
    registry.Replace(Kind::kLayer, Layer(kMandara, 1), BuildCentreWeak);
    for (int32_t n = 2; n <= 6; ++n)
        registry.Replace(Kind::kLayer, Layer(kMandara, n), BuildLinkedPassive);
    registry.Replace(Kind::kLayer, Layer(kMandara, 22), BuildRing);
    registry.Replace(Kind::kLayer, Layer(kMandara, 7), BuildRingTrigger);
    for (int32_t n : {8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 23, 20})
        registry.Replace(Kind::kLayer, Layer(kMandara, n), BuildPassive);
    registry.Replace(Kind::kLayer, Layer(kCube, 0), BuildCube);
    for (int32_t n = 1; n <= 13; ++n)
        registry.Replace(Kind::kLayer, Layer(kCube, n), BuildPassive);
    registry.Replace(Kind::kLayer, Layer(kBall, 0), BuildBall);
    registry.Replace(Kind::kLayer, Layer(kBall, 2), BuildBallWeak);
    for (int32_t n : {1, 3, 4, 5, 6, 8, 11})
        registry.Replace(Kind::kLayer, Layer(kBall, n), BuildLinkedPassive);
    for (int32_t n : {7, 9, 10})
        registry.Replace(Kind::kLayer, Layer(kBall, n), BuildPassive);
    RegisterBoss5Muzzles(registry);
}

}  // namespace mareldon
