#pragma once

#include "engine/PaintIf.h"
#include "engine/brushes/Brush.h"
#include "foundation/Numeric.h"
#include "foundation/Vec2.h"
#include "image/ColourMath.h"

// Shared part of the brushes that touch two pixels per dab: P under the dab
// position and Q under the position plus the direction. Colour moves from Q
// into P and from P into Q.
class PointBrush : public Brush {
public:
    PointBrush(const ParamDescriptor* table, const char* id, const char* displayName);
    ~PointBrush() override;

    float meanRadius() const override;
    float spacingScale() const override;
    float sizeAt(float t) const override;

    // Carried from dab to dab and from render to render; replaced at the
    // first dab (t = 0) of each stroke.
    Pixel stickyP;
    Pixel stickyQ;

protected:
    struct DabPixels {
        int x0, y0; // P, area coordinates
        int x1, y1; // Q
        Pixel p, q;
    };

    // Whole-pixel positions: each coordinate rounded before the sum, so x1 is
    // not round(position.x + direction.x).
    // These run for every dab, hence inline.
    static void locate(const Vec2& position, const Vec2& direction, DabPixels& out)
    {
        out.x0 = roundToInt(position.x);
        out.y0 = roundToInt(position.y);
        out.x1 = addSaturated(out.x0, roundToInt(direction.x));
        out.y1 = addSaturated(out.y0, roundToInt(direction.y));
    }
    // Reads P and Q clamped into the target (a paintTarget()).
    void readPixels(const Image& target, DabPixels& dab) const
    {
        dab.p = readClamped(target, addSaturated(dab.x0, pixelOffset.x),
                            addSaturated(dab.y0, pixelOffset.y));
        dab.q = readClamped(target, addSaturated(dab.x1, pixelOffset.x),
                            addSaturated(dab.y1, pixelOffset.y));
    }
    // At t = 0 the sticky colours become P and Q.
    void captureSticky(const DabPixels& dab, float t)
    {
        if (t == 0.0f) {
            stickyP = dab.p;
            stickyQ = dab.q;
        }
    }
    // pixel moves toward sticky by weight; sticky becomes the result.
    static void mixSticky(Pixel& pixel, Pixel& sticky, float weight)
    {
        // Weight 0 (the default stickiness) leaves every channel as it is:
        // c + d * 0 is c exactly, so the mix is skipped.
        if (weight != 0.0f)
            pixel = lerpPixelRgb(pixel, sticky, weight);
        sticky = pixel;
    }

    // What the two-sided swap brushes (RGB, HSV, blend) share: a stickiness
    // and a Paint-If condition per direction, by their rows in the brush's
    // table. The "src" condition guards the write of P, the "dest" one the
    // write of Q.
    struct SwapRows {
        int pushSticky, limitDest, pullSticky, limitSrc;
    };
    struct SwapSides {
        ValuePair pushSticky, pullSticky;
        PaintIfPredicate limitDest = defaultPaintIf();
        PaintIfPredicate limitSrc = defaultPaintIf();
    };
    void readSwapSides(const SwapRows& rows, SwapSides& sides) const
    {
        sides.pushSticky = realPair(rows.pushSticky);
        sides.limitDest = choice<PaintIfPredicate>(rows.limitDest, defaultPaintIf());
        sides.pullSticky = realPair(rows.pullSticky);
        sides.limitSrc = choice<PaintIfPredicate>(rows.limitSrc, defaultPaintIf());
    }

    // The dab of the two-sided swap brushes. P and Q are read, taken as the
    // sticky colours at t = 0 and mixed with them; adjust(p, q) may change
    // those working pixels further. The source condition judges the pixels
    // as read (JudgeAsRead) or the working ones, and when it passes P becomes
    // paintP(p, q); then the destination condition, and Q becomes
    // paintQ(q, p).
    template <bool JudgeAsRead, class Adjust, class PaintP, class PaintQ>
    bool swapDab(const Vec2& position, const Vec2& direction, float t, const SwapSides& sides,
                 Adjust adjust, PaintP paintP, PaintQ paintQ)
    {
        Image* target = paintTarget();
        if (!target)
            return false;
        DabPixels d;
        locate(position, direction, d);
        readPixels(*target, d);
        captureSticky(d, t);
        Pixel p = d.p, q = d.q;
        mixSticky(p, stickyP, sides.pushSticky.at(t));
        mixSticky(q, stickyQ, sides.pullSticky.at(t));
        adjust(p, q);
        if (!JudgeAsRead) {
            d.p = p;
            d.q = q;
        }
        bool painted = false;
        if (sides.limitSrc(&d.p, &d.q)) {
            writeAt(*target, d.x0, d.y0, paintP(p, q));
            painted = true;
        }
        if (sides.limitDest(&d.q, &d.p)) {
            writeAt(*target, d.x1, d.y1, paintQ(q, p));
            painted = true;
        }
        return painted;
    }
};
