#pragma once

#include "engine/PaintIf.h"
#include "engine/brushes/ShapedBrush.h"

// "_ImageCopyBrush": copies the picture under the tip from the dab position
// to the position plus the direction, dragging it along the stroke.
class ImageCopyBrush : public ShapedBrush {
public:
    ImageCopyBrush();
    ~ImageCopyBrush() override;

    bool dab(const Vec2& position, const Vec2& direction, float t) override;
    void prepare(int steps) override;
    bool prefetchStart(const Vec2& position) override;

    bool reverse; // "swap": copy from the moved point back to the dab position

protected:
    BrushTip* createTip() const override;

private:
    PaintIfPredicate limit_;
    // The rows of the next stroke's first patches still to be asked for; a
    // few go with each dab of the current stroke.
    struct PendingRows {
        long long left, right, top, bottom;
    };
    PendingRows pending_;
    // Asks for up to `rows` of the pending rows.
    void fetchPending(const Image& target, long long rows);
    // The last dab's ends (target coordinates) and t: a dab with a larger t
    // goes on with the same stroke.
    struct DabEnds {
        int px, py, qx, qy;
        float t;
    };
    DabEnds lastEnds_ = {0, 0, 0, 0, 2.0f};
    int steps_ = 0; // of the longest stroke
};
