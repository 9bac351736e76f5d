// How a long loop over album rows reports its progress to whoever shows it.
#pragma once

namespace alborx {

class Progress
{
public:
    virtual ~Progress() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0;
    // Whether the user asked to stop; only operations that can be stopped
    // ask.
    virtual bool cancelled() { return false; }
};

// The step rule of the progress window: after every step-th row (rows step,
// 2 x step, ...) the position grows by step. rowsDone counts from 1.
inline void advanceProgress(Progress* progress, int rowsDone, int step)
{
    if (progress && step > 0 && rowsDone % step == 0)
        progress->setPosition(rowsDone);
}

// The step of the loops that load, save, filter, search and count albums.
constexpr int kAlbumLoopStep = 16;

} // namespace alborx
