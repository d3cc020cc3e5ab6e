#pragma once
// Plays soak actions on the running application as a user would make them, through the
// controls by their ids, the menu, keys at the frame's window and the pointer on the
// surface, with frames rendered between.

#include "main_frame.h"
#include "soak_plan.h"

namespace lumeno::test {

class SoakDriver {
public:
    explicit SoakDriver(CMainFrame& frame) : m_frame(frame) {}

    void Perform(const SoakAction& action);
    // The same state at every measurement: no autopilot, the defaults (single-threaded)
    // rebuilt, a few frames, deferred deletions done, the toolkit's idle caches emptied.
    void Settle();

private:
    void RenderFrames(int count);
    void Key(int key, int modifiers);
    void TriggerMenuItem(const char* text);
    void Record(int frames, bool endByApply);
    void ChooseQuality(int index);
    // Screenshots and films are checked as they come, then removed: a long soak keeps
    // its folder small.
    void ExpectOneFileIn(const char* folder);

    CMainFrame& m_frame;
};

} // namespace lumeno::test
