#include "game/stage/EventTimeline.h"

#include "engine/core/Math.h"

namespace mareldon {

TimelineFrameEntry::~TimelineFrameEntry() {
    while (actions) {
        TimelineAction* action = actions;
        actions = action->next;
        delete action;
    }
}

EventTimeline::EventTimeline(TaskObject* owner) : Object3D(owner, 0) {}

EventTimeline::~EventTimeline() {
    while (entries) {
        TimelineFrameEntry* entry = entries;
        entries = entry->next;
        delete entry;
    }
}

void EventTimeline::Insert(int32_t frameNumber, TimelineAction* action) {
    TimelineFrameEntry** link = &entries;
    while (*link && (*link)->frame < frameNumber)
        link = &(*link)->next;
    TimelineFrameEntry* entry = *link;
    if (!entry || entry->frame != frameNumber) {
        entry = new TimelineFrameEntry;
        entry->frame = frameNumber;
        entry->next = *link;
        *link = entry;
    }
    action->next = entry->actions;
    entry->actions = action;
}

void EventTimeline::Restart() {
    Rewind();
    stopped = 0;
}

void EventTimeline::Stop() {
    stopped = 1;
    Rewind();
}

void EventTimeline::Rewind() {
    frame = 0;
    cursor = nullptr;
}

void EventTimeline::OnUpdatePre() {
    if (stopped) {
        accumulator = 0.0f;
        return;
    }
    if (accumulator < 1.0f)
        return;
    if (!cursor)
        cursor = entries;
    int32_t units = TruncateToInt32(accumulator);
    for (int32_t i = 0; i < units; ++i) {
        int32_t f = frame++;
        if (!cursor)
            continue;
        TimelineFrameEntry* entry = cursor;
        if (entry->frame != f) {
            entry = cursor->next;
            while (entry && entry->frame < f)
                entry = entry->next;
            if (!entry || entry->frame != f)
                continue;
            cursor = entry;
        }
        // The next action is read after each call: a callback may rewind or stop.
        for (TimelineAction* action = entry->actions; action; action = action->next)
            action->Fire(*this);
        // A stop during a lump ends it at frame 0, so a later Start begins from the
        // first entry rather than from however many units were left over.
        if (stopped) {
            Rewind();
            break;
        }
    }
    accumulator -= float(units);
}

void TimelineLoopCallback(TaskObject& owner, EventTimeline& timeline) {
    (void)owner;
    timeline.Rewind();
}

}  // namespace mareldon
