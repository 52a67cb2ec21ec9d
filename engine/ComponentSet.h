#pragma once

#include <array>
#include <memory>

#include "engine/Painter.h"
#include "foundation/Persistable.h"
#include "foundation/String.h"

class ApplicationPattern;
class Brush;
class Component;
class Parameter;
class StrokeAlgorithm;

// Owns every brush, stroke algorithm and application pattern, keeps the
// current choice of each kind, loads and saves it as a preset section and
// runs one render.
class ComponentSet : public Painter, public Persistable
{
public:
    enum { StrokeSlots = 24, BrushSlots = 16, ApplicationSlots = 16 };

    // Builds every component, then loads the choice and values from reader.
    explicit ComponentSet(const PropertyReader& reader);
    ~ComponentSet() override;

    ComponentSet(const ComponentSet&) = delete;
    ComponentSet& operator=(const ComponentSet&) = delete;

    bool paint(Canvas& canvas, RenderCallbacks& callbacks) override;
    void load(const PropertyReader& reader) override;
    void save(PropertyWriter& writer) override;

    // Prepares brush, stroke and application for canvas without running.
    void begin(Canvas& canvas);

    // True only when the current component changed.
    bool selectBrush(int index);
    bool selectStroke(int index);
    bool selectApplication(int index);

    void randomize();
    void mutate();
    void clampValues();

    // "application.<id>", "brush.<id>", anything else "stroke.<id>"; the
    // shared default parameter when nothing matches.
    Parameter* findParameter(const String& key);

    // Whether the Control key is down; replaceable so tests can hold it.
    typedef bool (*KeyQuery)();
    static void setControlKeyQuery(KeyQuery query);

    // Slots past the counts stay null.
    std::array<std::unique_ptr<StrokeAlgorithm>, StrokeSlots> strokes;
    StrokeAlgorithm* currentStroke;
    std::array<std::unique_ptr<Brush>, BrushSlots> brushes;
    Brush* currentBrush;
    std::array<std::unique_ptr<ApplicationPattern>, ApplicationSlots> applications;
    ApplicationPattern* currentApplication;
    int brushCount;
    int strokeCount;
    int applicationCount;

private:
    template <class T, size_t N>
    bool loadKind(const PropertyReader& reader, const char* key,
                  const std::array<std::unique_ptr<T>, N>& items, int count, T*& current);
};
