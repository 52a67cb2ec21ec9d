#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "EngineTestSupport.h"
#include "engine/Parameter.h"
#include "foundation/PropertyBag.h"

using namespace enginetest;

const OpRegistry enginetest::opRegistry;

namespace {

// Rows shaped like the shipped stroke and brush tables; constant-initialised
// like the real ones, registry pointer included.
const ParamDescriptor lengthRow = {35, 1, 160, 8, 0, "Length ", "length", 0, nullptr, 1, 40, 50, "How long"};
constexpr ParamDescriptor opRow = {2, 0, 0, 1, 0, "Op ", "op", 5, &opRegistry, 0, 0, 0, "Which op"};
const ParamDescriptor amultRow = {2, -2400, 2400, 100, 2, "Mult ", "amult", 0, nullptr, 0, 0, 0, ""};
const ParamDescriptor curlRow = {3, -500, 500, 0, 2, "Curl ", "curl", 1, nullptr, -100, 100, 85, ""};
const ParamDescriptor feedbackRow = {1, 0, 1, 1, 0, "Feedback", "feedback", 0, nullptr, 1, 1, 70, ""};
const ParamDescriptor dmultxRow = {2, 850, 1150, 1000, 3, "X ", "dmultx", 0, nullptr, 970, 1030, 80, ""};
const ParamDescriptor srcsRow = {3, -20, 120, 50, 2, "Src ", "srcs", 0, nullptr, 0, 0, -1, ""};
const ParamDescriptor endRow = {0, 0, 0, 0, 0, "", "", 0, nullptr, 0, 0, 0, ""};

int clampTo(long long v, int lo, int hi)
{
    return v < lo ? lo : v > hi ? hi : int(v);
}

// Expected result of randomising one value, drawing from the model.
int modelRandom(Lcg& lcg, const Parameter& p)
{
    int lo = p.min, hi = p.max;
    if (lcg.next() % 100 < p.randomChance) {
        lo = p.randomLow;
        hi = p.randomHigh;
    }
    const long long v = lo + (long long)lcg.next() * ((long long)hi - lo) / 32767;
    return clampTo(v, p.min, p.max);
}

} // namespace

TEST(Parameter, ShapesFromFlags)
{
    Parameter length(lengthRow, nullptr);
    EXPECT_EQ(2u, length.valueCount);
    EXPECT_EQ(8, length.values[0]);
    EXPECT_EQ(8, length.values[1]);
    EXPECT_EQ(1u, Parameter(feedbackRow, nullptr).valueCount);
    EXPECT_EQ(1u, Parameter(amultRow, nullptr).valueCount);
    EXPECT_EQ(0u, Parameter(endRow, nullptr).valueCount);

    // Display hint bits above the low five do not change the shape.
    ParamDescriptor hinted = amultRow;
    hinted.flags = 2 | 64;
    EXPECT_EQ(1u, Parameter(hinted, nullptr).valueCount);
    hinted.flags = 3 | 64;
    EXPECT_EQ(2u, Parameter(hinted, nullptr).valueCount);
}

TEST(Parameter, RegistryChoiceTakesItsRangeFromTheRegistry)
{
    ParamDescriptor row = opRow;
    row.min = 7;
    row.max = 99;
    Parameter op(row, nullptr);
    EXPECT_EQ(0, op.min);
    EXPECT_EQ(3, op.max);
    EXPECT_EQ(1, op.values[0]);
    EXPECT_EQ("Twice", op.displayText());
    EXPECT_EQ(10, op.selectedFunctionAs<Op>()(5));

    op.values[0] = 2;
    EXPECT_EQ(25, op.selectedFunctionAs<Op>()(5));
    // Past the registry (only reachable by writing the field directly) the
    // default entry answers: "unknown" and a function returning 0.
    op.values[0] = 4;
    EXPECT_EQ("unknown", op.displayText());
    EXPECT_EQ(0, op.selectedFunctionAs<Op>()(5));
    EXPECT_EQ("unknown", op.valueText(-1));
    EXPECT_EQ("Negate", op.valueText(0));

    Parameter plain(amultRow, nullptr);
    EXPECT_EQ(nullptr, plain.selectedFunction());
}

TEST(Parameter, LabelListsKeepAtMostMaxPlusOneLabels)
{
    ParamDescriptor row = {2, 0, 1, 0, 0, "Mode ", "mode", 4, "soft\0hard\0wild\0", 0, 0, 0, ""};
    Parameter two(row, nullptr);
    EXPECT_STREQ("soft", two.choiceLabels[0]);
    EXPECT_STREQ("hard", two.choiceLabels[1]);
    EXPECT_STREQ("(error)", two.choiceLabels[2]);
    EXPECT_EQ("hard", two.valueText(1));
    EXPECT_EQ("(error)", two.valueText(2));
    EXPECT_EQ("", two.valueText(40));
    EXPECT_EQ("", two.valueText(-1));

    row.max = 5;
    Parameter five(row, nullptr);
    EXPECT_STREQ("wild", five.choiceLabels[2]);
    EXPECT_STREQ("(error)", five.choiceLabels[3]);

    row.max = 100;
    EXPECT_EQ(39, Parameter(row, nullptr).max);

    row.list = "";
    Parameter none(row, nullptr);
    EXPECT_STREQ("(error)", none.choiceLabels[0]);
    row.list = nullptr;
    EXPECT_STREQ("(error)", Parameter(row, nullptr).choiceLabels[0]);
}

TEST(Parameter, SetValueComparesBeforeClampingAndNotifiesOnChange)
{
    Listener listener;
    Parameter amult(amultRow, nullptr);
    amult.listener = &listener;

    EXPECT_FALSE(amult.setValue(100, 0));
    EXPECT_EQ(0, listener.previews);

    EXPECT_TRUE(amult.setValue(5000, 0));
    EXPECT_EQ(2400, amult.values[0]);
    EXPECT_EQ(1, listener.previews);
    // Still "changed": 5000 differs from the stored 2400 even though the
    // clamped result is the same.
    EXPECT_TRUE(amult.setValue(5000, 0));
    EXPECT_EQ(2, listener.previews);

    EXPECT_TRUE(amult.setValue(-3000, 0));
    EXPECT_EQ(-2400, amult.values[0]);
    EXPECT_EQ(3, listener.previews);

    // Indexes without a value are refused, never written out of bounds.
    EXPECT_FALSE(amult.setValue(7, 1));
    EXPECT_FALSE(amult.setValue(7, 2));
    EXPECT_FALSE(amult.setValue(7, -1));
    EXPECT_EQ(0, amult.values[1]);
    EXPECT_EQ(3, listener.previews);

    // A range keeps start and end independent; start may pass the end.
    Parameter length(lengthRow, nullptr);
    EXPECT_TRUE(length.setValue(50, 0));
    EXPECT_TRUE(length.setValue(4, 1));
    EXPECT_EQ(50, length.values[0]);
    EXPECT_EQ(4, length.values[1]);

    length.setReal(12.4f, 1);
    EXPECT_EQ(12, length.values[1]);
}

TEST(Parameter, RealValuesAndConversions)
{
    Parameter dmultx(dmultxRow, nullptr);
    EXPECT_DOUBLE_EQ(1.0, dmultx.valueReal(0));
    EXPECT_DOUBLE_EQ(0.0, dmultx.valueReal(5));
    dmultx.setReal(0.9f, 0);
    EXPECT_EQ(900, dmultx.values[0]);

    Parameter amult(amultRow, nullptr);
    EXPECT_EQ(29, amult.toInt(0.29f));
    EXPECT_EQ(-29, amult.toInt(-0.29f));
    EXPECT_EQ(INT_MAX, amult.toInt(1e30f));
    EXPECT_EQ(INT_MIN, amult.toInt(-1e30f));
}

TEST(Parameter, ValueTextByKind)
{
    Parameter amult(amultRow, nullptr);
    EXPECT_EQ("1.50", amult.valueText(150));
    EXPECT_EQ(".05", amult.valueText(5));
    EXPECT_EQ("-.05", amult.valueText(-5));
    EXPECT_EQ("-1.00", amult.valueText(-100));
    EXPECT_EQ(".00", amult.valueText(0));
    EXPECT_EQ("-21474836.48", amult.valueText(INT_MIN));
    EXPECT_EQ("1.00", amult.displayText());

    Parameter length(lengthRow, nullptr);
    EXPECT_EQ("8/8", length.displayText());
    EXPECT_EQ("-7", length.valueText(-7));
    EXPECT_EQ("-2147483648", length.valueText(INT_MIN));

    Parameter dmultx(dmultxRow, nullptr);
    EXPECT_EQ("1.000", dmultx.displayText());
    EXPECT_EQ(".007", dmultx.valueText(7));

    Parameter curl(curlRow, nullptr);
    curl.setValue(-50, 0);
    curl.setValue(120, 1);
    EXPECT_EQ("-.50\xB0/1.20\xB0", curl.displayText());

    ParamDescriptor other = amultRow;
    other.kind = 9; // unknown kinds read as plain numbers
    EXPECT_EQ("1.00", Parameter(other, nullptr).displayText());
}

TEST(Parameter, RandomizeFollowsTheGeneratorAndStaysInRange)
{
    for (unsigned seed : {1u, 77u, 4242u, 65535u}) {
        Parameter length(lengthRow, nullptr), curl(curlRow, nullptr), feedback(feedbackRow, nullptr);
        Parameter dmultx(dmultxRow, nullptr), srcs(srcsRow, nullptr), op(opRow, nullptr);
        Parameter end(endRow, nullptr);
        Parameter* all[] = {&length, &curl, &feedback, &dmultx, &srcs, &op, &end};

        srand(seed);
        Lcg lcg(seed);
        for (Parameter* p : all) {
            int expected[2] = {p->values[0], p->values[1]};
            for (unsigned i = 0; i < p->valueCount; ++i)
                expected[i] = modelRandom(lcg, *p);
            p->randomize();
            for (unsigned i = 0; i < p->valueCount; ++i) {
                EXPECT_EQ(expected[i], p->values[i]) << p->id << " seed " << seed;
                EXPECT_GE(p->values[i], p->min);
                EXPECT_LE(p->values[i], p->max);
            }
        }
        // Two draws per value and none for the blank terminator.
        EXPECT_EQ(lcg.next(), rand());
    }
}

TEST(Parameter, RandomizeOverAFullRangeDoesNotOverflow)
{
    ParamDescriptor wide = {2, INT_MIN, INT_MAX, 0, 0, "W", "w", 0, nullptr, 0, 0, 0, ""};
    Parameter w(wide, nullptr);
    srand(5);
    Lcg lcg(5);
    lcg.next();
    const long long expected = INT_MIN + (long long)lcg.next() * (4294967295LL) / 32767;
    w.randomize();
    EXPECT_EQ(expected, w.values[0]);
}

TEST(Parameter, MutateMovesSlidersAndRangesOnly)
{
    Listener listener;
    for (unsigned seed : {3u, 11u, 12345u}) {
        Parameter curl(curlRow, nullptr), dmultx(dmultxRow, nullptr);
        curl.listener = &listener;
        srand(seed);
        Lcg lcg(seed);
        for (Parameter* p : {&curl, &dmultx}) {
            int expected[2] = {p->values[0], p->values[1]};
            for (unsigned i = 0; i < p->valueCount; ++i) {
                if (lcg.next() & 1)
                    continue;
                const int step = (p->randomHigh - p->randomLow) / 7;
                int d = lcg.next() % step;
                if (lcg.next() & 1)
                    d = -d;
                expected[i] = clampTo((long long)expected[i] + d, p->min, p->max);
            }
            p->mutate();
            EXPECT_EQ(expected[0], p->values[0]) << p->id;
            EXPECT_EQ(expected[1], p->values[1]) << p->id;
        }
        EXPECT_EQ(lcg.next(), rand());
    }

    // Check boxes and parameters with a negative chance draw nothing; a zero
    // step takes one draw per value and leaves it.
    srand(8);
    Lcg lcg(8);
    Parameter feedback(feedbackRow, nullptr), srcs(srcsRow, nullptr), amult(amultRow, nullptr);
    feedback.mutate();
    srcs.mutate();
    amult.mutate();
    EXPECT_EQ(50, srcs.values[0]);
    EXPECT_EQ(100, amult.values[0]);
    lcg.next();
    EXPECT_EQ(lcg.next(), rand());
}

TEST(Parameter, SaveWritesKeysByShapeAndLoadReadsThemBack)
{
    PropertyBag bag;
    Parameter length(lengthRow, nullptr), amult(amultRow, nullptr), curl(curlRow, nullptr);
    Parameter op(opRow, nullptr), feedback(feedbackRow, nullptr), end(endRow, nullptr);
    length.setValue(150, 1);
    amult.setValue(29, 0);
    curl.setValue(-50, 0);
    curl.setValue(457, 1);
    op.setValue(2, 0);
    for (Parameter* p : {&length, &amult, &curl, &op, &feedback, &end})
        p->save(bag);

    EXPECT_EQ("8", bag.getString("length.start", "?"));
    EXPECT_EQ("150", bag.getString("length.end", "?"));
    EXPECT_FALSE(bag.contains("length"));
    EXPECT_EQ("0.290000", bag.getString("amult", "?"));
    EXPECT_EQ("-0.500000", bag.getString("curl.start", "?"));
    EXPECT_EQ("4.570000", bag.getString("curl.end", "?"));
    EXPECT_EQ("sqr", bag.getString("op", "?"));
    EXPECT_EQ("1", bag.getString("feedback", "?"));
    EXPECT_EQ(7u, bag.entries().size());

    Parameter length2(lengthRow, nullptr), amult2(amultRow, nullptr), curl2(curlRow, nullptr);
    Parameter op2(opRow, nullptr);
    for (Parameter* p : {&length2, &amult2, &curl2, &op2})
        p->load(bag);
    EXPECT_EQ(150, length2.values[1]);
    EXPECT_EQ(29, amult2.values[0]);
    EXPECT_EQ(-50, curl2.values[0]);
    EXPECT_EQ(457, curl2.values[1]);
    EXPECT_EQ(2, op2.values[0]);
}

TEST(Parameter, LoadFallbacks)
{
    // A range from a lone key: both ends take it.
    PropertyBag bag;
    bag.setString("length", "12");
    bag.setString("curl", "0.3");
    bag.setString("curl.end", "-1");
    Parameter length(lengthRow, nullptr), curl(curlRow, nullptr);
    length.load(bag);
    curl.load(bag);
    EXPECT_EQ(12, length.values[0]);
    EXPECT_EQ(12, length.values[1]);
    EXPECT_EQ(30, curl.values[0]);
    EXPECT_EQ(-100, curl.values[1]);

    // Missing keys: the default for numbers, the first entry for a choice.
    PropertyBag empty;
    Parameter amult(amultRow, nullptr), op(opRow, nullptr), length2(lengthRow, nullptr);
    amult.setValue(7, 0);
    length2.setValue(99, 1);
    amult.load(empty);
    op.load(empty);
    length2.load(empty);
    EXPECT_EQ(100, amult.values[0]);
    EXPECT_EQ(0, op.values[0]);
    EXPECT_EQ(8, length2.values[1]);

    // Registry choices by id, by plain index, unknown, out of range.
    PropertyBag choices;
    Parameter choice(opRow, nullptr);
    const char* texts[] = {"keep", "3", "nothere", "99999999999999999999", "2abc", "Keep"};
    const int expected[] = {3, 3, 0, 3, 2, 0};
    for (int i = 0; i < 6; ++i) {
        choices.setString("op", texts[i]);
        choice.load(choices);
        EXPECT_EQ(expected[i], choice.values[0]) << texts[i];
    }

    // Blank parameters read nothing.
    Parameter end(endRow, nullptr);
    end.load(choices);
    EXPECT_EQ(0u, end.valueCount);
}

TEST(Parameter, LoadOfUntrustedNumbersSaturatesOrReadsAsTheReaderDoes)
{
    struct Case
    {
        const char* text;
        int amult;  // 2 decimals, -2400..2400, default 100
        int length; // integer range 1..160, default 8
    };
    const Case cases[] = {
        {"1e30", 2400, 0},
        {"-1e30", -2400, 0},
        {"nan", 100, 0},
        {" -NaN", 100, 0},
        // Junk reads as the reader makes of it, 0, then clamped.
        {"abc", 0, 1},
        {"#zz", 0, 1},
        {"0x1f", 0, 31},
        {"-", 0, 1},
        {"99999999999999999999", 2400, 160},
        {"-99999999999999999999", -2400, 1},
        {"1.5", 150, 1},
        {"  2.25 ", 225, 2},
    };
    for (const Case& c : cases) {
        PropertyBag bag;
        bag.setString("amult", c.text);
        bag.setString("length.start", c.text);
        Parameter amult(amultRow, nullptr), length(lengthRow, nullptr);
        amult.load(bag);
        length.load(bag);
        EXPECT_EQ(c.amult, amult.values[0]) << c.text;
        if (c.length) {
            EXPECT_EQ(c.length, length.values[0]) << c.text;
        }
        EXPECT_GE(length.values[0], 1) << c.text;
        EXPECT_LE(length.values[0], 160) << c.text;
    }
}
