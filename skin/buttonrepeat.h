// The button held down and the repeat of its action: while a volume button, a step button of
// the list or its track is held, the 200 ms timer tmrButtonPressed ticks, and each tick repeats
// the held button's action. Whoever holds a button does it through here; the tick reads which.
#pragma once

#include "skin/controls.h"

namespace skin {

// The action a held button repeats: the volume steps, the list's pages and its steps.
enum class HeldButton { None, VolumeUp, VolumeDown, PageUp, PageDown, ScrollUp, ScrollDown };

class ButtonRepeat {
public:
    explicit ButtonRepeat(Timer& timer)
        : m_timer(timer)
    {
    }

    void hold(HeldButton button)
    {
        m_held = button;
        m_timer.setEnabled(true);
    }
    void release()
    {
        m_held = HeldButton::None;
        m_timer.setEnabled(false);
    }
    HeldButton held() const { return m_held; }

private:
    Timer& m_timer;
    HeldButton m_held = HeldButton::None;
};

} // namespace skin
