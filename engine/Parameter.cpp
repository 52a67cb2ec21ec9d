#include "engine/Parameter.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/RenderCallbacks.h"
#include "foundation/NumberText.h"
#include "foundation/Numeric.h"
#include "foundation/PropertyReader.h"
#include "foundation/PropertyWriter.h"

namespace {

const char errorLabel[] = "(error)";

// 10^e in double precision. Whole powers up to 10^22 are exact, and the
// negative ones come from one correctly rounded division, so 10^-2 is the
// double nearest 0.01 whatever the C library's pow does.
double powerOfTen(int e)
{
    double p = 1.0;
    for (int i = 0; i < (e < 0 ? -e : e) && i < 400; ++i)
        p *= 10.0;
    return e < 0 ? 1.0 / p : p;
}


// Leading decimal digits as a number, saturating instead of overflowing like
// atoi would on a long run of digits.
int32_t leadingDigits(const char* s)
{
    int64_t v = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        v = v * 10 + (*s - '0');
        if (v > INT32_MAX)
            return INT32_MAX;
    }
    return int32_t(v);
}

// Preset text is read as the reader's typed getters read it: junk gives 0
// (then clamped) and numbers beyond the range saturate. Only a NaN, which no
// clamp can place, reads as missing so that the caller's default applies.
bool spellsNaN(const String& text)
{
    bool negative = false;
    const char* p = skipSpaceAndSign(text.c_str(), negative);
    return (p[0] == 'n' || p[0] == 'N') && (p[1] == 'a' || p[1] == 'A') &&
           (p[2] == 'n' || p[2] == 'N');
}

float readReal(const PropertyReader& reader, const String& key, float fallback)
{
    const String text = reader.getString(key, String());
    if (text.empty() || spellsNaN(text))
        return fallback;
    const float x = reader.getFloat(key, fallback);
    return std::isnan(x) ? fallback : x;
}

} // namespace

Parameter::Parameter()
    : flags(0), kind(0), decimals(0), min(0), max(0), defaultValue(0), randomLow(0), randomHigh(0),
      randomChance(0), values{0, 0}, valueCount(0), owner(nullptr), scale(1.0f), listener(nullptr)
{
    for (const char*& text : choiceLabels)
        text = errorLabel;
}

Parameter::Parameter(const ParamDescriptor& row, Component* component)
    : label(row.label), description(row.description), id(row.id), flags(row.flags), kind(row.kind),
      decimals(row.decimals), min(row.min), max(row.max), defaultValue(row.defaultValue),
      randomLow(row.randomLow), randomHigh(row.randomHigh), randomChance(row.randomChance),
      values{0, 0}, valueCount(0), owner(component), scale(1.0f), listener(nullptr)
{
    if (flags == 0)
        valueCount = 0;
    else if ((flags & ParamShapeMask) == ParamRange)
        valueCount = 2;
    else
        valueCount = 1;
    for (uint32_t i = 0; i < valueCount; ++i)
        values[i] = defaultValue;

    for (const char*& text : choiceLabels)
        text = errorLabel;
    if (kind == ParamLabels) {
        if (max >= ChoiceLabelSlots)
            max = ChoiceLabelSlots - 1;
        const char* text = row.list.labels();
        if (text && *text) {
            for (int i = 0; i <= max; ++i) {
                choiceLabels[i] = text;
                text += std::strlen(text) + 1;
                if (!*text)
                    break;
            }
        }
    } else if (kind == ParamRegistry) {
        if (row.list.isRegistry())
            registry = row.list;
        min = 0;
        max = (registry.isRegistry() ? registry.count() : 0) - 1;
    }
}

double Parameter::valueReal(int index) const
{
    if (index < 0 || index > 1)
        return 0.0;
    return double(values[index]) * powerOfTen(-decimals) * double(scale);
}

double Parameter::toReal(int v) const
{
    return double(v) * powerOfTen(-decimals);
}

int Parameter::toInt(float x) const
{
    // Saturates on huge values; NaN gives 0 (load replaces it by the default
    // before it gets here).
    return roundToInt(double(x) * powerOfTen(decimals));
}

bool Parameter::setValue(int v, int index)
{
    if (index < 0 || uint32_t(index) >= valueCount)
        return false;
    const int32_t old = values[index];
    values[index] = v;
    clamp();
    const bool changed = old != v;
    if (changed && listener)
        listener->requestPreview();
    return changed;
}

void Parameter::setReal(float x, int index)
{
    setValue(toInt(x), index);
}

UntypedFunction Parameter::selectedFunction() const
{
    if (!registry.isRegistry())
        return nullptr;
    return registry.functionAt(values[0]);
}

String Parameter::valueText(int v) const
{
    if (kind == ParamLabels)
        return String(v >= 0 && v < ChoiceLabelSlots ? choiceLabels[v] : "");
    if (kind == ParamRegistry && registry.isRegistry())
        return registry.displayNameAt(v);

    // |v| as digits, zero-padded to at least `decimals` digits, with the point
    // before the last `decimals` of them: 150 -> 1.50, 5 -> .05, -5 -> -.05.
    const int64_t wide = v;
    const uint64_t magnitude = uint64_t(wide < 0 ? -wide : wide);
    char digits[24];
    int n = 0;
    uint64_t m = magnitude;
    do {
        digits[n++] = char('0' + m % 10);
        m /= 10;
    } while (m);
    std::string text;
    if (decimals > 0) {
        if (v < 0)
            text += '-';
        const int width = n > decimals ? n : decimals;
        std::string body(size_t(width - n), '0');
        for (int i = n - 1; i >= 0; --i)
            body += digits[i];
        body.insert(body.size() - size_t(decimals), 1, '.');
        text += body;
    } else {
        if (v < 0)
            text += '-';
        for (int i = n - 1; i >= 0; --i)
            text += digits[i];
    }
    if (kind == ParamAngle)
        text += '\xB0';
    return String(text);
}

String Parameter::displayText() const
{
    String text = valueText(values[0]);
    if (valueCount == 2) {
        text += "/";
        text += valueText(values[1]);
    }
    return text;
}

void Parameter::clamp()
{
    for (uint32_t i = 0; i < valueCount && i < 2; ++i) {
        if (values[i] < min)
            values[i] = min;
        if (values[i] > max)
            values[i] = max;
    }
}

void Parameter::randomizeValue(int index)
{
    int32_t lo = min;
    int32_t hi = max;
    const int r = std::rand() % 100;
    if (r < randomChance) {
        lo = randomLow;
        hi = randomHigh;
    }
    // Wide arithmetic: lo + rand() * (hi - lo) / 32767 truncating toward zero,
    // without the overflow a full 32-bit range would cause.
    const int64_t draw = std::rand();
    const int64_t value = int64_t(lo) + draw * (int64_t(hi) - int64_t(lo)) / 32767;
    setValue(saturateToInt(value), index);
}

void Parameter::randomize()
{
    for (uint32_t i = 0; i < valueCount; ++i)
        randomizeValue(int(i));
}

void Parameter::mutate()
{
    if (flags != ParamSingle && (flags & ParamShapeMask) != ParamRange)
        return;
    if (randomChance < 0)
        return;
    for (uint32_t i = 0; i < valueCount; ++i) {
        if (std::rand() & 1)
            continue;
        const int64_t step = (int64_t(randomHigh) - int64_t(randomLow)) / 7;
        if (step == 0)
            continue;
        int64_t d = std::rand() % step;
        if (std::rand() & 1)
            d = -d;
        setValue(saturateToInt(values[i] + d), int(i));
    }
}

void Parameter::resetToDefault()
{
    for (uint32_t i = 0; i < valueCount; ++i)
        setValue(defaultValue, int(i));
}

void Parameter::save(PropertyWriter& writer) const
{
    if (flags == 0)
        return;
    if (kind == ParamRegistry) {
        if (registry.isRegistry())
            writer.setString(id, registry.idAt(values[0]));
        else
            writer.setInt(id, values[0]);
        return;
    }
    if ((flags & ParamShapeMask) == ParamRange) {
        if (decimals == 0) {
            writer.setInt(id + ".start", values[0]);
            writer.setInt(id + ".end", values[1]);
        } else {
            writer.setFloat(id + ".start", float(valueReal(0)));
            writer.setFloat(id + ".end", float(valueReal(1)));
        }
        return;
    }
    if (decimals == 0)
        writer.setInt(id, values[0]);
    else
        writer.setFloat(id, float(valueReal(0)));
}

void Parameter::load(const PropertyReader& reader)
{
    if (flags == 0)
        return;
    const float fallback = float(toReal(defaultValue));

    if ((flags & ParamShapeMask) == ParamRange && kind != ParamRegistry) {
        if (decimals > 0) {
            const float f = readReal(reader, id, fallback);
            setValue(toInt(readReal(reader, id + ".start", f)), 0);
            setValue(toInt(readReal(reader, id + ".end", f)), 1);
        } else {
            const int n = reader.getInt(id, defaultValue);
            setValue(reader.getInt(id + ".start", n), 0);
            setValue(reader.getInt(id + ".end", n), 1);
        }
        return;
    }
    if (kind == ParamRegistry) {
        // Stored as the entry's id; a plain index is accepted as well.
        const String text = reader.getString(id, String());
        int index = 0;
        if (!text.empty() && text[0] >= '0' && text[0] <= '9')
            index = leadingDigits(text.c_str());
        else if (registry.isRegistry())
            index = registry.indexOf(text);
        setValue(index, 0);
        return;
    }
    if (decimals > 0)
        setValue(toInt(readReal(reader, id, fallback)), 0);
    else
        setValue(reader.getInt(id, defaultValue), 0);
}

Parameter& defaultParameter()
{
    static Parameter shared;
    return shared;
}
