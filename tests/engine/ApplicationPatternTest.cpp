#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/Canvas.h"
#include "engine/applications/GridApplication.h"
#include "engine/applications/RandomApplication.h"
#include "engine/brushes/Brush.h"
#include "engine/strokes/StrokeAlgorithm.h"

using namespace enginetest;

namespace {

// Records every callback; can answer "cancelled" at a chosen poll or "stop"
// at a chosen progress report (1-based; 0 never).
struct RecordingCallbacks : RenderCallbacks
{
    void requestPreview() override {}
    bool progress(float fraction) override
    {
        fractions.push_back(fraction);
        events.push_back('P');
        return int(fractions.size()) != stopAtProgress;
    }
    bool isCancelled() override
    {
        ++polls;
        events.push_back('C');
        return polls == cancelAtPoll;
    }
    void finished() override
    {
        ++finishedCalls;
        events.push_back('F');
    }
    void reserved() override {}
    void cancel() override {}
    void reset() override {}
    Logger* logger() override { return nullptr; }

    int cancelAtPoll = 0;
    int stopAtProgress = 0;
    int polls = 0;
    int finishedCalls = 0;
    std::vector<float> fractions;
    std::string events;
};

struct FakeBrush : Brush
{
    FakeBrush() : Brush(nullptr, "fakebrush", "Fake brush") {}
    bool dab(const Vec2&, const Vec2&, float) override { return true; }
    float meanRadius() const override { return 1.0f; }
    float spacingScale() const override { return 1.0f; }
    float sizeAt(float) const override { return 1.0f; }
};

struct Draw
{
    float x, y;
    int poll; // how many cancellation polls preceded the draw
};

struct FakeStroke : StrokeAlgorithm
{
    explicit FakeStroke(double cover) : StrokeAlgorithm(nullptr, "fakestroke", "Fake stroke"), cover(cover) {}
    void draw(Brush& b, Vec2 start) override
    {
        EXPECT_EQ(brushSeen, &b);
        draws.push_back(Draw{start.x, start.y, callbacks ? callbacks->polls : 0});
        if (callbacks)
            callbacks->events.push_back('D');
    }
    double coverage(Brush&) override { return cover; }
    int minimumLength() const override { return 1; }

    double cover;
    Brush* brushSeen = nullptr;
    RecordingCallbacks* callbacks = nullptr;
    std::vector<Draw> draws;
};

struct Fixture
{
    explicit Fixture(double cover, Rect area = Rect(0, 0, 100, 100)) : stroke(cover)
    {
        stroke.brushSeen = &brush;
        stroke.callbacks = &callbacks;
        canvas.area = area;
    }
    FakeBrush brush;
    FakeStroke stroke;
    RecordingCallbacks callbacks;
    Canvas canvas;
};

int budgetFor(double cover, Rect area)
{
    Fixture f(cover, area);
    RandomApplication random;
    random.begin(f.stroke, f.brush, f.canvas);
    return random.budget;
}

// Draws between consecutive cancellation polls.
std::vector<int> batchesOf(const std::string& events)
{
    std::vector<int> batches;
    for (char e : events) {
        if (e == 'C')
            batches.push_back(0);
        else if (e == 'D')
            ++batches.back();
    }
    return batches;
}

} // namespace

TEST(ApplicationPattern, BeginWorksOutTheBudget)
{
    Fixture f(64.0);
    f.canvas.area = Rect(105, 120, 5, 20); // corners swapped: normalised
    f.canvas.origin = Point(10, 30);
    RandomApplication random;
    random.begin(f.stroke, f.brush, f.canvas);
    EXPECT_EQ(694, random.budget); // 10000 / (8 + 6.4)
    EXPECT_EQ(694, random.remaining);
    EXPECT_EQ(64.0, random.coverage);
    EXPECT_EQ(&f.stroke, random.stroke);
    EXPECT_EQ(&f.brush, random.brush);
    EXPECT_EQ(&f.canvas, random.canvas);
    EXPECT_EQ(5, random.area.left);
    EXPECT_EQ(20, random.area.top);
    EXPECT_EQ(105, random.area.right);
    EXPECT_EQ(120, random.area.bottom);

    f.canvas.area = Rect(5, 20, 105, 120);
    random.begin(f.stroke, f.brush, f.canvas);
    EXPECT_EQ(10 - 5, random.pixelOffset.x);
    EXPECT_EQ(30 - 20, random.pixelOffset.y);

    // "amount" scales the budget.
    random.findParameter("amount").setValue(250, 0);
    random.begin(f.stroke, f.brush, f.canvas);
    EXPECT_EQ(1736, random.budget); // 25000 / 14.4
}

TEST(ApplicationPattern, OddCoveragesAndTinyOrHugeAreas)
{
    const Rect square(0, 0, 100, 100);
    // No usable coverage counts as 1.0: D = 1.1.
    EXPECT_EQ(9090, budgetFor(0.0, square));
    EXPECT_EQ(9090, budgetFor(-3.0, square));
    EXPECT_EQ(9090, budgetFor(std::numeric_limits<double>::quiet_NaN(), square));
    // A huge coverage caps D at 1000.
    EXPECT_EQ(10, budgetFor(1e12, square));
    EXPECT_EQ(10, budgetFor(std::numeric_limits<double>::infinity(), square));
    // Never fewer than five strokes, even with no area at all.
    EXPECT_EQ(5, budgetFor(64.0, Rect(0, 0, 2, 2)));
    EXPECT_EQ(5, budgetFor(64.0, Rect(7, 7, 7, 50)));
    // A huge area with a tiny coverage saturates instead of wrapping.
    EXPECT_EQ(INT_MAX, budgetFor(1e-9, Rect(-2000000000, -2000000000, 2000000000, 2000000000)));
}

TEST(RandomApplication, RunsTheBudgetInBatchesOfAtLeastTen)
{
    Fixture f(64.0);
    RandomApplication random;
    random.begin(f.stroke, f.brush, f.canvas);
    ASSERT_EQ(694, random.budget);
    EXPECT_TRUE(random.run(f.callbacks));

    // 694 / 80 = 8, raised to 10: 69 batches of 10 and a last one of 4, each
    // after a cancellation poll and followed by one progress report.
    std::vector<int> expected(69, 10);
    expected.push_back(4);
    EXPECT_EQ(expected, batchesOf(f.callbacks.events));
    std::string shape;
    for (char e : f.callbacks.events)
        if (e != 'D')
            shape += e;
    std::string expectedShape;
    for (int i = 0; i < 70; ++i)
        expectedShape += "CP";
    EXPECT_EQ(expectedShape + "F", shape);

    ASSERT_EQ(70u, f.callbacks.fractions.size());
    for (size_t i = 1; i < f.callbacks.fractions.size(); ++i)
        EXPECT_LE(f.callbacks.fractions[i - 1], f.callbacks.fractions[i]) << i;
    EXPECT_EQ(1.0f - 684.0f / 694.0f, f.callbacks.fractions[0]);
    EXPECT_EQ(1.0f, f.callbacks.fractions.back());
    EXPECT_EQ(0, random.remaining);
    EXPECT_EQ(1, f.callbacks.finishedCalls);
}

TEST(RandomApplication, PlacesStrokesOnAWalkingRowCursor)
{
    Fixture f(64.0, Rect(30, 40, 130, 90));
    RandomApplication random;
    random.begin(f.stroke, f.brush, f.canvas);
    srand(2024);
    ASSERT_TRUE(random.run(f.callbacks));

    // Per stroke: a column draw, then (after the draw) a row step of
    // 0..64 rows that wraps inside the 50 rows of the area.
    Lcg lcg(2024);
    int cursor = 0;
    ASSERT_EQ(size_t(random.budget), f.stroke.draws.size());
    for (size_t i = 0; i < f.stroke.draws.size(); ++i) {
        const int x = 30 + lcg.next() % 100;
        ASSERT_EQ(float(x), f.stroke.draws[i].x) << i;
        ASSERT_EQ(float(40 + cursor), f.stroke.draws[i].y) << i;
        cursor = (cursor + lcg.next() % 65) % 50;
    }
    EXPECT_EQ(lcg.next(), rand()) << "two draws per stroke, no more";

    // A coverage below 1 still steps by 0 or 1 row; prepare restarts the cursor.
    f.stroke.cover = 0.5;
    f.stroke.draws.clear();
    random.begin(f.stroke, f.brush, f.canvas);
    EXPECT_EQ(0, random.rowCursor);
    srand(5);
    random.step(10);
    Lcg small(5);
    cursor = 0;
    for (const Draw& d : f.stroke.draws) {
        small.next();
        EXPECT_EQ(float(40 + cursor), d.y);
        cursor = (cursor + small.next() % 2) % 50;
    }
}

TEST(RandomApplication, StepTakesOneClampedBatch)
{
    Fixture f(64.0);
    RandomApplication random;
    random.begin(f.stroke, f.brush, f.canvas);
    EXPECT_EQ(10, random.step(-1)); // 694 / 80 raised to 10
    EXPECT_EQ(684, random.remaining);
    EXPECT_EQ(10, random.step(3));
    EXPECT_EQ(674, random.step(100000)); // limited to what remains
    EXPECT_EQ(0, random.remaining);
    EXPECT_EQ(0, random.step(-1));
    EXPECT_EQ(694u, f.stroke.draws.size());
    EXPECT_EQ(0, f.callbacks.polls); // no callbacks in a step
    EXPECT_TRUE(f.callbacks.fractions.empty());
}

TEST(RandomApplication, StopsBeforeABatchOrAfterAProgressRefusal)
{
    {
        Fixture f(64.0);
        f.callbacks.cancelAtPoll = 1;
        RandomApplication random;
        random.begin(f.stroke, f.brush, f.canvas);
        EXPECT_FALSE(random.run(f.callbacks));
        EXPECT_EQ("C", f.callbacks.events);
    }
    {
        Fixture f(64.0);
        f.callbacks.cancelAtPoll = 3;
        RandomApplication random;
        random.begin(f.stroke, f.brush, f.canvas);
        EXPECT_FALSE(random.run(f.callbacks));
        EXPECT_EQ(20u, f.stroke.draws.size());
        EXPECT_EQ(0, f.callbacks.finishedCalls);
    }
    {
        Fixture f(64.0);
        f.callbacks.stopAtProgress = 2;
        RandomApplication random;
        random.begin(f.stroke, f.brush, f.canvas);
        EXPECT_FALSE(random.run(f.callbacks));
        EXPECT_EQ(20u, f.stroke.draws.size());
        EXPECT_EQ(2, f.callbacks.polls);
        EXPECT_EQ(0, f.callbacks.finishedCalls);
    }
}

TEST(RandomApplication, AreaOffTheTopLeftOrEmptyPlacesNothingButCompletes)
{
    for (const Rect& area : {Rect(-1, 0, 99, 100), Rect(0, -5, 100, 95), Rect(10, 10, 10, 60)}) {
        Fixture f(64.0, area);
        RandomApplication random;
        random.begin(f.stroke, f.brush, f.canvas);
        EXPECT_TRUE(random.run(f.callbacks));
        EXPECT_TRUE(f.stroke.draws.empty());
        ASSERT_FALSE(f.callbacks.fractions.empty());
        EXPECT_EQ(1.0f, f.callbacks.fractions.back());
        EXPECT_EQ(1, f.callbacks.finishedCalls);
        EXPECT_EQ(0, random.remaining);
    }
}

namespace {

// A grid of 4 x 3 cells of side 10 over a 40 x 30 area.
struct GridFixture : Fixture
{
    GridFixture(int passes, bool advance, Rect area = Rect(0, 0, 40, 30)) : Fixture(64.0, area)
    {
        grid.findParameter("passes").setValue(passes, 0);
        grid.findParameter("advance").setValue(advance ? 1 : 0, 0);
        grid.begin(stroke, brush, canvas);
        grid.budget = 12;
    }
    // Cell (column, row) of a draw.
    static std::pair<int, int> cell(const Draw& d) { return {int(d.x) / 10, int(d.y) / 10}; }
    GridApplication grid;
};

} // namespace

TEST(GridApplication, ConstructedState)
{
    GridApplication grid;
    EXPECT_EQ("single_grid", grid.id);
    EXPECT_EQ("Equal spaced single grid", grid.displayName);
    EXPECT_EQ("application", grid.type);
    EXPECT_EQ(5, grid.passes);
    EXPECT_TRUE(grid.advance);
    EXPECT_EQ(0, grid.budget);
    EXPECT_EQ(5u, grid.parameterMap.size());
    RandomApplication random;
    EXPECT_EQ("random", random.id);
    EXPECT_EQ("Random", random.displayName);
    EXPECT_EQ(1u, random.parameterMap.size());
    EXPECT_EQ(100, random.findParameter("amount").values[0]);
    // Random amounts always come from 0.80..1.20; passes stay within the table.
    srand(11);
    for (int i = 0; i < 50; ++i) {
        grid.randomize();
        const int amount = grid.findParameter("amount").values[0];
        EXPECT_TRUE(amount >= 80 && amount <= 120) << amount;
        const int passes = grid.findParameter("passes").values[0];
        EXPECT_TRUE(passes >= 1 && passes <= 7) << passes;
    }

    // Every row of the phase table lists each phase of its pass count once.
    for (int p = 1; p < 8; ++p) {
        std::set<int> phases(gridPhaseTable[p], gridPhaseTable[p] + p);
        EXPECT_EQ(size_t(p), phases.size());
        EXPECT_EQ(p - 1, *phases.rbegin());
    }
}

TEST(GridApplication, OnePassDrawsEveryCellCentreInRowMajorOrder)
{
    GridFixture f(1, true);
    EXPECT_TRUE(f.grid.run(f.callbacks));
    ASSERT_EQ(12u, f.stroke.draws.size());
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(float(5 + 10 * (i % 4)), f.stroke.draws[i].x) << i;
        EXPECT_EQ(float(5 + 10 * (i / 4)), f.stroke.draws[i].y) << i;
        EXPECT_EQ(1 + i / 4, f.stroke.draws[i].poll) << "one poll per row";
    }
    EXPECT_EQ(12, f.grid.budget);
    EXPECT_EQ(0, f.grid.remaining);
    EXPECT_EQ(1, f.callbacks.finishedCalls);
    EXPECT_EQ('F', f.callbacks.events.back());
    // Progress every eleventh stroke (countdown of 10 below zero).
    ASSERT_EQ(1u, f.callbacks.fractions.size());
    EXPECT_FLOAT_EQ(1.0f - 1.0f / 12.0f, f.callbacks.fractions[0]);
}

TEST(GridApplication, TwoPassesWithAdvanceDrawEachCellOnce)
{
    GridFixture f(2, true);
    EXPECT_TRUE(f.grid.run(f.callbacks));
    ASSERT_EQ(12u, f.stroke.draws.size());
    std::set<std::pair<int, int>> seen;
    for (const Draw& d : f.stroke.draws) {
        const auto c = f.cell(d);
        const int pass = (d.poll - 1) / 3;
        // Pass 0: even cells of even rows, odd cells of odd rows; pass 1 the rest.
        EXPECT_EQ(pass, (c.first + c.second) % 2) << c.first << "," << c.second;
        EXPECT_TRUE(seen.insert(c).second);
    }
    EXPECT_EQ(1, f.callbacks.finishedCalls);
}

TEST(GridApplication, TwoPassesWithoutAdvanceRepeatTheSameCells)
{
    GridFixture f(2, false);
    EXPECT_TRUE(f.grid.run(f.callbacks));
    ASSERT_EQ(12u, f.stroke.draws.size());
    std::multiset<std::pair<int, int>> seen;
    for (const Draw& d : f.stroke.draws) {
        const auto c = f.cell(d);
        EXPECT_EQ(0, (c.first + c.second) % 2);
        seen.insert(c);
    }
    for (const auto& c : seen)
        EXPECT_EQ(2u, seen.count(c));
    EXPECT_EQ(1, f.callbacks.finishedCalls);
}

TEST(GridApplication, RowOffsetAndJitter)
{
    {
        GridFixture f(1, true);
        f.grid.offset = 0.5f; // half a cell on odd rows
        EXPECT_TRUE(f.grid.run(f.callbacks));
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(float(5 + 10 * (i % 4) + ((i / 4) & 1 ? 5 : 0)), f.stroke.draws[i].x) << i;
    }
    {
        // Jitter moves right and down by at most random * d; the table is
        // 512 draws taken at the start of the run, x from the odd entries.
        GridFixture f(1, true);
        f.grid.random = 1.5f;
        srand(77);
        EXPECT_TRUE(f.grid.run(f.callbacks));
        Lcg lcg(77);
        std::vector<float> jitter;
        for (int i = 0; i < 512; ++i)
            jitter.push_back(float(lcg.next()) * 1.5f * 10.0f * (1.0f / 32767.0f));
        for (int i = 0; i < 12; ++i) {
            const Draw& d = f.stroke.draws[i];
            EXPECT_EQ(float(5 + 10 * (i % 4)) + jitter[2 * i + 1], d.x) << i;
            EXPECT_EQ(float(5 + 10 * (i / 4)) + jitter[2 * i], d.y) << i;
            EXPECT_EQ(jitter[i], gridJitterTable[i]);
        }
    }
}

TEST(GridApplication, CancellationProgressAndEmptyAreas)
{
    {
        GridFixture f(1, true);
        f.callbacks.cancelAtPoll = 2;
        EXPECT_FALSE(f.grid.run(f.callbacks));
        EXPECT_EQ(4u, f.stroke.draws.size()); // the first row only
        EXPECT_EQ(0, f.callbacks.finishedCalls);
    }
    {
        GridFixture f(1, true);
        f.callbacks.stopAtProgress = 1;
        EXPECT_FALSE(f.grid.run(f.callbacks));
        EXPECT_EQ(11u, f.stroke.draws.size());
        EXPECT_EQ(0, f.callbacks.finishedCalls);
    }
    {
        // Passes below one: finished at once, nothing drawn.
        GridFixture f(1, true);
        f.grid.passes = 0;
        EXPECT_TRUE(f.grid.run(f.callbacks));
        EXPECT_EQ("F", f.callbacks.events);
    }
    for (const Rect& area : {Rect(5, 5, 5, 40), Rect(0, 9, 40, 9)}) {
        // No area: false before any callback.
        Fixture f(64.0, area);
        GridApplication grid;
        grid.begin(f.stroke, f.brush, f.canvas);
        EXPECT_FALSE(grid.run(f.callbacks));
        EXPECT_EQ("", f.callbacks.events);
    }
    {
        // Negative corners paint normally.
        GridFixture f(1, true, Rect(-20, -10, 20, 20));
        EXPECT_TRUE(f.grid.run(f.callbacks));
        ASSERT_EQ(12u, f.stroke.draws.size());
        EXPECT_EQ(-15.0f, f.stroke.draws[0].x);
        EXPECT_EQ(-5.0f, f.stroke.draws[0].y);
    }
}

TEST(GridApplication, BudgetBecomesTheCellCount)
{
    // 694 strokes over 100 x 100: cells of 1/sqrt(0.0694) = 3.796, 26 x 26.
    Fixture f(64.0);
    GridApplication grid;
    grid.begin(f.stroke, f.brush, f.canvas);
    EXPECT_EQ(694, grid.budget);
    EXPECT_EQ(5, grid.passes);
    EXPECT_TRUE(grid.run(f.callbacks));
    EXPECT_EQ(676, grid.budget);
    EXPECT_EQ(676u, f.stroke.draws.size());
    std::set<std::pair<int, int>> cells;
    for (const Draw& d : f.stroke.draws)
        cells.insert({int(d.x * 1000), int(d.y * 1000)});
    EXPECT_EQ(676u, cells.size()) << "five passes with advance: each cell once";
    for (size_t i = 1; i < f.callbacks.fractions.size(); ++i)
        EXPECT_LE(f.callbacks.fractions[i - 1], f.callbacks.fractions[i]);
    EXPECT_EQ(1, f.callbacks.finishedCalls);
}
