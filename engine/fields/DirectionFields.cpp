#include "engine/fields/DirectionFields.h"

#include <cmath>

namespace {

template <class Measure>
Vec2 windowGradientWith(float radius, float step, Measure field, const Image& image,
                        const Vec2& position)
{
    if (!(-radius <= radius) || !(step > 0.0f))
        return Vec2(0.0f, 0.0f);
    float sx = 0.0f;
    float sy = 0.0f;
    // Offsets advance by repeated float addition; the loop also stops if a
    // step is too small to move an offset any further.
    for (float dx = -radius; dx <= radius;) {
        for (float dy = -radius; dy <= radius;) {
            const float v = field(image, position.x + dx, position.y + dy);
            sx += v * dx;
            sy += v * dy;
            const float next = dy + step;
            if (!(next > dy))
                break;
            dy = next;
        }
        const float next = dx + step;
        if (!(next > dx))
            break;
        dx = next;
    }
    return Vec2(sx, sy);
}

template <class Measure>
Vec2 weightedWindowGradientWith(int radius, float step, Measure field, const Image& image,
                                const Vec2& position)
{
    if (radius < 0 || !(step > 0.0f))
        return Vec2(0.0f, 0.0f);
    const float r = static_cast<float>(radius);
    float sx = 0.0f;
    float sy = 0.0f;
    for (float dx = -r; dx <= r;) {
        for (float dy = -r; dy <= r;) {
            const float v = field(image, position.x + dx, position.y + dy);
            sx += v * dx * std::fabs(dx);
            sy += v * dy * std::fabs(dy);
            const float next = dy + step;
            if (!(next > dy))
                break;
            dy = next;
        }
        const float next = dx + step;
        if (!(next > dx))
            break;
        dx = next;
    }
    return Vec2(sx, sy) / 9.0f;
}

template <class Measure>
Vec2 crossWeightedWindowGradientWith(int radius, float step, Measure field, const Image& image,
                                     const Vec2& position)
{
    if (radius < 0 || !(step > 0.0f))
        return Vec2(0.0f, 0.0f);
    float sx = 0.0f;
    float sy = 0.0f;
    for (int dx = -radius; dx <= radius;) {
        for (int dy = -radius; dy <= radius;) {
            const float v = field(image, position.x + dx, position.y + dy);
            const float fx = static_cast<float>(dx);
            const float fy = static_cast<float>(dy);
            sx += v * fx * std::fabs(fy);
            sy += v * fy * std::fabs(fx);
            // Truncating offset + step can stand still for steps below 1.
            const int next = static_cast<int>(dy + step);
            if (next <= dy)
                break;
            dy = next;
        }
        const int next = static_cast<int>(dx + step);
        if (next <= dx)
            break;
        dx = next;
    }
    return Vec2(sx, sy) / 9.0f;
}

} // namespace

Vec2 windowGradient(float radius, float step, ScalarFieldFunction field, const Image& image,
                    const Vec2& position)
{
    return windowGradientWith(radius, step, field, image, position);
}

Vec2 weightedWindowGradient(int radius, float step, ScalarFieldFunction field,
                            const Image& image, const Vec2& position)
{
    return weightedWindowGradientWith(radius, step, field, image, position);
}

Vec2 crossWeightedWindowGradient(int radius, float step, ScalarFieldFunction field,
                                 const Image& image, const Vec2& position)
{
    return crossWeightedWindowGradientWith(radius, step, field, image, position);
}

namespace {

template <ScalarFieldFunction Field>
Vec2 gradient4(const Image& image, const Vec2& position)
{
    return windowGradientWith(8.0f, 2.0f, SampledMeasure<Field>::make(image), image, position);
}

template <ScalarFieldFunction Field>
Vec2 gradient3(const Image& image, const Vec2& position)
{
    return windowGradientWith(6.0f, 2.0f, SampledMeasure<Field>::make(image), image, position);
}

template <ScalarFieldFunction Field>
Vec2 gradient3x(const Image& image, const Vec2& position)
{
    return windowGradientWith(9.0f, 3.0f, SampledMeasure<Field>::make(image), image, position);
}

template <ScalarFieldFunction Field>
Vec2 gradient2x(const Image& image, const Vec2& position)
{
    return windowGradientWith(7.5f, 2.5f, SampledMeasure<Field>::make(image), image, position);
}

template <ScalarFieldFunction Field>
Vec2 gradient3w(const Image& image, const Vec2& position)
{
    return weightedWindowGradientWith(9, 3.0f, SampledMeasure<Field>::make(image), image,
                                      position);
}

template <ScalarFieldFunction Field>
Vec2 gradient3m(const Image& image, const Vec2& position)
{
    return crossWeightedWindowGradientWith(9, 3.0f, SampledMeasure<Field>::make(image), image,
                                           position);
}

struct DirectionFieldRow {
    const char* id;
    DirectionFieldFunction function;
    const char* displayName;
};

const DirectionFieldRow kDirectionFieldRows[] = {
    {"gradient4_red", gradient4<fieldRed>, "gradient4 red"},
    {"gradient4_green", gradient4<fieldGreen>, "gradient4 green"},
    {"gradient4_blue", gradient4<fieldBlue>, "gradient4 blue"},
    {"gradient4_hue", gradient4<fieldHue>, "gradient4 hue"},
    {"gradient4_sat", gradient4<fieldSat>, "gradient4 sat"},
    {"gradient4_bright", gradient4<fieldBright>, "gradient4 bright"},
    {"gradient4_mid_red", gradient4<fieldMidRed>, "gradient4 mid red"},
    {"gradient4_mid_green", gradient4<fieldMidGreen>, "gradient4 mid green"},
    {"gradient3_red", gradient3<fieldRed>, "gradient3 red"},
    {"gradient3_green", gradient3<fieldGreen>, "gradient3 green"},
    {"gradient3_blue", gradient3<fieldBlue>, "gradient3 blue"},
    {"gradient3_hue", gradient3<fieldHue>, "gradient3 hue"},
    {"gradient3_sat", gradient3<fieldSat>, "gradient3 sat"},
    {"gradient3_bright", gradient3<fieldBright>, "gradient3 bright"},
    {"gradient3x_red", gradient3x<fieldRed>, "gradient3x red"},
    {"gradient3x_green", gradient3x<fieldGreen>, "gradient3x green"},
    {"gradient3x_blue", gradient3x<fieldBlue>, "gradient3x blue"},
    {"gradient3x_hue", gradient3x<fieldHue>, "gradient3x hue"},
    {"gradient3x_sat", gradient3x<fieldSat>, "gradient3x sat"},
    {"gradient3x_bright", gradient3x<fieldBright>, "gradient3x bright"},
    {"gradient2x_red", gradient2x<fieldRed>, "gradient2x red"},
    {"gradient2x_green", gradient2x<fieldGreen>, "gradient2x green"},
    {"gradient2x_blue", gradient2x<fieldBlue>, "gradient2x blue"},
    {"gradient2x_hue", gradient2x<fieldHue>, "gradient2x hue"},
    {"gradient2x_sat", gradient2x<fieldSat>, "gradient2x sat"},
    {"gradient2x_bright", gradient2x<fieldBright>, "gradient2x bright"},
    {"gradient3w_red", gradient3w<fieldRed>, "gradient3w red"},
    {"gradient3w_green", gradient3w<fieldGreen>, "gradient3w green"},
    {"gradient3w_blue", gradient3w<fieldBlue>, "gradient3w blue"},
    {"gradient3w_bright", gradient3w<fieldBright>, "gradient3w bright"},
    {"gradient3m_red", gradient3m<fieldRed>, "gradient3m red"},
    {"gradient3m_green", gradient3m<fieldGreen>, "gradient3m green"},
    {"gradient3m_blue", gradient3m<fieldBlue>, "gradient3m blue"},
    {"gradient3m_bright", gradient3m<fieldBright>, "gradient3m bright"},
    {"red_x_green_y", vectorRedGreen, "red x/green y"},
    {"red_x_blue_y", vectorRedBlue, "red x/blue y"},
    {"red_x_sat_y", vectorRedSat, "red x/sat y"},
    {"hue_x_sat_y", vectorHueSat, "hue x/sat y"},
    {"bright_x_sat_y", vectorBrightSat, "bright x/sat y"},
};

static_assert(sizeof(kDirectionFieldRows) / sizeof(kDirectionFieldRows[0]) ==
                  kDirectionFieldCount,
              "direction field rows");

} // namespace

DirectionFieldCatalog::DirectionFieldCatalog()
{
    for (const DirectionFieldRow& row : kDirectionFieldRows)
        add(row.id, row.function, row.displayName);
}

DirectionFieldCatalog::~DirectionFieldCatalog() = default;

DirectionFieldCatalog directionFields;

DirectionFieldFunction defaultDirectionField()
{
    return gradient3<fieldRed>;
}
