// How a long run (a print or preview job, and any other run over many items) reports how far
// it got and learns that it is to stop. The window behind the run implements it, the print
// status window among them; a run without a window is handed TProgress::none(). The run
// calls step() as it moves on by one item and reads cancelled() before its next item; the
// run never handles window events itself, the window does so in step().
#pragma once

class TProgress
{
public:
    virtual ~TProgress() = default;

    // The number of items the run will do, when it knows (0 when it does not).
    virtual void setTotal(int items) = 0;
    // The run has moved on by one item. A window shows it and lets pending window events run
    // here, so that its Cancel or Stop button can be pressed.
    virtual void step() = 0;
    // True once the run is to stop: it ends before its next item and keeps what it made.
    virtual bool cancelled() const = 0;

    // Shows nothing and never stops. Shared; it keeps no state.
    static TProgress &none();
};
