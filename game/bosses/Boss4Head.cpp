#include "game/bosses/Boss4Head.h"

#include "game/bosses/Boss4LayerParts.h"
#include "game/bosses/Boss4Weapons.h"
#include "game/stage/GameWorldScreen.h"
#include "game/stage/StaticModelRoot.h"
#include "game/stage/WorldEventLog.h"

namespace mareldon {

namespace {

using H = Boss4LayerPart23;
using Event = BodyEvent<Boss4LayerPart23>;

constexpr float kDegreesPerRadian = 57.29578f;

const Event kAppear[] = {
    {0, &H::AppearBegin, "appear.begin"},
    {150, &H::AttackBegin, "appear.attack"},
    {150, &H::StopThis, "appear.stop"},
};

const Boss4Restart kAttack[] = {
    {0, kBoss4UMeR2, 0, "head.R0"},
    {0, kBoss4UMeR2, 1, "head.R1"},
    {0, kBoss4UMeL2, 0, "head.L0"},
    {0, kBoss4UMeL2, 1, "head.L1"},
    {780, kBoss4UMeR2, 2, "head.R2"},
    {780, kBoss4UMeL2, 2, "head.L2"},
    {840, kBoss4Medarion2, 1, "head.medarion2.1"},
    {1160, kBoss4UMeR2, 3, "head.R3"},
    {1160, kBoss4UMeL2, 3, "head.L3"},
    {1260, kBoss4UMeR2, 4, "head.R4"},
    {1260, kBoss4UMeL2, 4, "head.L4"},
    {1320, kBoss4UMeR2, 5, "head.R5"},
    {1320, kBoss4UMeL2, 5, "head.L5"},
    {1380, kBoss4UMeR2, 6, "head.R6"},
    {1380, kBoss4UMeL2, 6, "head.L6"},
    {1440, kBoss4UMeR2, 5, "head.R5"},
    {1440, kBoss4UMeL2, 5, "head.L5"},
    {1500, kBoss4UMeR2, 4, "head.R4"},
    {1500, kBoss4UMeL2, 4, "head.L4"},
    {1560, kBoss4UMeR2, 5, "head.R5"},
    {1560, kBoss4UMeL2, 5, "head.L5"},
    {1620, kBoss4UMeR2, 6, "head.R6"},
    {1620, kBoss4UMeL2, 6, "head.L6"},
    {1710, kBoss4Medarion2, 0, "head.medarion2.0"},
    {1710, kBoss4Medarion2, 2, "head.medarion2.2"},
};

const Event kAttackFlags[] = {
    {840, &H::Guard, "head.guard"},
    {1160, &H::Unguard, "head.unguard"},
    {2040, &H::Loop, "head.loop"},
};

const Event kDamage[] = {
    {3000, &H::Beaten, "head.damage.3000"},
};

const Event kDefeat[] = {
    {0, &H::DefeatBegin, "head.defeat.begin"},
    {90, &H::Release, "head.defeat.release"},
    {900, &H::DefeatEnd, "head.defeat.end"},
};

template <typename T, size_t N>
constexpr int32_t Count(const T (&)[N]) {
    return int32_t(N);
}

}  // namespace

Boss4LayerPart23::Boss4LayerPart23(TaskObject* parentTask, NodeSpawnInfo& info)
    : EnemySubPart(parentTask, info, kDurability), root(FindAncestor<Boss4LayerPart0>(this, 1, info.name)) {
    visible = 0;
    hittable = 0;
    // Built hidden: the sweep keeps it so until the body's defeat shows it.
    heldHidden = 1;
    nodeDrawSelf = 0;
    nodeChildren = 0;
    SetUpdateSelf(false);
    SetDrawSelf(false);
    attack = new EventTimeline(this);
    appear = new EventTimeline(this);
    defeat = new EventTimeline(this);
    damage = new EventTimeline(this);
    AddEvents(*appear, this, kAppear, Count(kAppear), runners);
    AddRestarts(*attack, this, kAttack, Count(kAttack), restarts);
    AddEvents(*attack, this, kAttackFlags, Count(kAttackFlags), runners);
    AddEvents(*damage, this, kDamage, Count(kDamage), runners);
    AddEvents(*defeat, this, kDefeat, Count(kDefeat), runners);
    damage->Start();
    if (root != nullptr)
        root->head = this;
}

Boss4LayerPart23::~Boss4LayerPart23() {
    DeleteChildren();
    if (root != nullptr && root->head == this)
        root->head = nullptr;
}

void Boss4LayerPart23::RegisterMuzzle(int32_t slot, Boss4Muzzle* muzzle) {
    if (slot >= 0 && slot < kBoss4HeadSlotCount)
        muzzles[slot] = muzzle;
}

Boss4Muzzle* Boss4LayerPart23::Muzzle(int32_t slot) const {
    return slot >= 0 && slot < kBoss4HeadSlotCount ? muzzles[slot] : nullptr;
}

void Boss4LayerPart23::RestartPattern(int32_t slot, int32_t pattern) {
    if (Boss4Muzzle* muzzle = Muzzle(slot))
        muzzle->Restart(pattern);
}

void Boss4LayerPart23::LogEvent(const char* label, int32_t frame) {
    if (WorldEventLog* log = BossLog(world))
        log->RecordFormat("BossEvent", "%s %d", label, frame);
}

void Boss4LayerPart23::Activate() {
    heldHidden = 0;
    nodeDrawSelf = 1;
    nodeChildren = 1;
    SetUpdateSelf(true);
    SetDrawSelf(true);
    // Its own layer stays undrawn; the parts under it show.
    visible = 0;
    appear->Start();
    if (WorldEventLog* log = BossLog(world))
        log->Record("BossShown", name.Text());
}

void Boss4LayerPart23::AddDamage(float amount) {
    if (guarded != 0 || timedOut != 0)
        return;
    damage->AddTime(amount);
}

void Boss4LayerPart23::StartDefeat() {
    if (defeatStarted != 0)
        return;
    defeatStarted = 1;
    defeat->Start();
}

void Boss4LayerPart23::OnUpdatePre() {
    const int32_t frame = GetStepCount();
    const float fed = float(frame - lastFrame);
    attack->AddTime(fed);
    appear->AddTime(fed);
    defeat->AddTime(fed);
    lastFrame = frame;
    if (released == 0)
        FollowHeadModel();
    else
        Drift();
    if (slowing != 0 && headClock != nullptr) {
        const float rate = headClock->timeScale - 0.008333334f;
        headClock->timeScale = rate > 0.0f ? rate : 0.0f;
    }
    if (timedOut == 0 && world != nullptr && world->GetTimeLeft() <= 1.0f) {
        timedOut = 1;
        world->SetTimeLimitEnabled(false);
        if (WorldEventLog* log = BossLog(world))
            log->Record("BossTimedOut", "head");
    }
    // A time-out inside a guarded window waits for the window's end.
    if (timedOut != 0 && guarded == 0)
        StartDefeat();
}

void Boss4LayerPart23::FollowHeadModel() {
    if (headModel == nullptr)
        return;
    Object3D* node = nullptr;
    headModel->ForEachChildNode([&node](Object3D& child) {
        if (node == nullptr)
            node = &child;
    });
    if (node == nullptr)
        return;
    SetPosition(node->GetWorldPosition());
    SetRotation(node->GetRotation());
    SetScale(node->GetScale());
    SetPivot(node->GetPivot());
}

void Boss4LayerPart23::Drift() {
    if (follow == nullptr) {
        Object3D* source =
            timeScaleOwner != nullptr ? timeScaleOwner : (world != nullptr ? world->GetWorldRoot() : nullptr);
        if (source == nullptr)
            return;
        follow = new Object3D(source, 0);
        follow->SetPosition(GetWorldPosition());
    }
    const Vec3 target = follow->GetPosition();
    const Vec3 at = GetPosition();
    SetPosition(
        Vec3{approach.Step(target.x, at.x), approach.Step(target.y, at.y), approach.Step(target.z, at.z)});
    follow->SetPosition(Vec3{target.x, target.y - 0.026f, target.z + 0.025f});
    const Vec3 rotation = GetRotation();
    float degrees = rotation.z * kDegreesPerRadian;
    if (degrees > 359.0f)
        degrees -= 360.0f;
    if (degrees < 0.0f)
        degrees += 360.0f;
    degrees = tracker.Update(0.0f, degrees);
    SetRotation(Vec3{rotation.x, rotation.y, degrees * kBossRadiansPerDegree});
}

// ---- schedule actions ------------------------------------------------------------------------

void Boss4LayerPart23::AppearBegin(EventTimeline&) {
    FreezePose(*this);
    if (headClock == nullptr && world != nullptr && world->GetWorldRoot() != nullptr) {
        headClock = new StaticModelRoot(world->GetWorldRoot());
        headClock->timeScale = 1.0f;
        auto* model = new StaticModelPart(headClock);
        if (BindNamedModel(*model, String(kHeadModel)))
            headModel = model;
    }
    if (weakPoint != nullptr)
        weakPoint->SetHittable(true);
}

void Boss4LayerPart23::AttackBegin(EventTimeline&) {
    attack->Start();
}

void Boss4LayerPart23::StopThis(EventTimeline& t) {
    t.Stop();
}

void Boss4LayerPart23::Guard(EventTimeline&) {
    guarded = 1;
}

void Boss4LayerPart23::Unguard(EventTimeline&) {
    guarded = 0;
}

void Boss4LayerPart23::Loop(EventTimeline& t) {
    TimelineLoopCallback(*this, t);
}

void Boss4LayerPart23::Beaten(EventTimeline& t) {
    if (timedOut != 0)
        return;
    StartDefeat();
    t.Stop();
}

void Boss4LayerPart23::DefeatBegin(EventTimeline&) {
    slowing = 1;
    attack->Stop();
    for (int32_t slot : {kBoss4Medarion2, kBoss4UMeR2, kBoss4UMeL2}) {
        if (Boss4Muzzle* muzzle = Muzzle(slot))
            muzzle->StopAll();
    }
    if (world != nullptr) {
        world->SetTimeLimitEnabled(false);
        world->CancelAllEnemyBullets();
    }
    if (weakPoint != nullptr) {
        weakPoint->StartDestruction();
        weakPoint->SetHittable(false);
    }
    if (world != nullptr)
        world->PlayExplosionSeRandom();
}

void Boss4LayerPart23::Release(EventTimeline&) {
    released = 1;
    if (world != nullptr)
        world->PlayExplosionSeRandom();
}

void Boss4LayerPart23::DefeatEnd(EventTimeline& t) {
    if (world != nullptr)
        world->PlayExplosionSeRandom();
    t.Stop();
}

}  // namespace mareldon
