// The engine's progress hook: long runs (pack, index builds, copies) report percentages.
#pragma once

namespace xbase {

/// Receives the percentage done (0 to 100) of one long run; may ask the run to stop.
/// A run reports 0 first and 100 last; it calls report() at most once per percent.
class ProgressHook
{
public:
    virtual ~ProgressHook() = default;
    /// Returns false to ask the run to stop at the next safe point.
    virtual bool report(int percent) = 0;
};

} // namespace xbase
