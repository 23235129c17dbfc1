// The label designer's zoom ladder: whole percents from 40 to 160 in steps of 10, so a step is
// never lost or gained to a sum of tenths. Stateless.
#pragma once

class TLabelZoom
{
public:
    static constexpr int kMinPercent = 40;
    static constexpr int kMaxPercent = 160;
    static constexpr int kStep = 10;

    // The percent a surface of ScaleFactor `factor` stands at (rounded to whole percents).
    static int percentOf(float factor);
    // The next step in or out; the same percent at the end of the ladder.
    static int zoomIn(int percent);
    static int zoomOut(int percent);
    static float factorOf(int percent) { return static_cast<float>(percent) / 100.0f; }
};
