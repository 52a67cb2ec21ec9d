#include "engine/ComponentSet.h"

#include <windows.h>

#include <cstdlib>

#include "engine/Canvas.h"
#include "engine/Parameter.h"
#include "engine/applications/GridApplication.h"
#include "engine/applications/RandomApplication.h"
#include "engine/brushes/ColorPointBrush.h"
#include "engine/brushes/ImageCopyBrush.h"
#include "engine/brushes/SwapBlendBrush.h"
#include "engine/brushes/SwapHsvBrush.h"
#include "engine/brushes/SwapPointBrush.h"
#include "engine/brushes/SwapRgbBrush.h"
#include "engine/strokes/AnglePairStroke.h"
#include "engine/strokes/ParamAngle2dStroke.h"
#include "engine/strokes/ParamAngleStroke.h"
#include "engine/strokes/Vector2Stroke.h"
#include "foundation/PropertyReader.h"
#include "foundation/PropertyWriter.h"
#include "foundation/Timestamp.h"
#include "image/Image.h"

namespace {

bool controlKeyDown()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

ComponentSet::KeyQuery keyQuery = &controlKeyDown;

} // namespace

void ComponentSet::setControlKeyQuery(KeyQuery query)
{
    keyQuery = query ? query : &controlKeyDown;
}

ComponentSet::ComponentSet(const PropertyReader& reader)
    : currentStroke(nullptr), currentBrush(nullptr), currentApplication(nullptr), brushCount(0),
      strokeCount(0), applicationCount(0)
{
    brushes[brushCount++] = std::make_unique<SwapPointBrush>();
    brushes[brushCount++] = std::make_unique<SwapRgbBrush>();
    brushes[brushCount++] = std::make_unique<SwapHsvBrush>();
    brushes[brushCount++] = std::make_unique<SwapBlendBrush>();
    brushes[brushCount++] = std::make_unique<ImageCopyBrush>();
    brushes[brushCount++] = std::make_unique<ColorPointBrush>();

    strokes[strokeCount++] = std::make_unique<ParamAngleStroke>();
    strokes[strokeCount++] = std::make_unique<ParamAngle2dStroke>();
    strokes[strokeCount++] = std::make_unique<Vector2Stroke>();
    // The fourth stroke is a hidden extra, offered when Control is held.
    if (keyQuery())
        strokes[strokeCount++] = std::make_unique<AnglePairStroke>();

    applications[applicationCount++] = std::make_unique<RandomApplication>();
    applications[applicationCount++] = std::make_unique<GridApplication>();

    currentBrush = brushes[0].get();
    currentStroke = strokes[0].get();
    currentApplication = applications[0].get();
    load(reader);
}

ComponentSet::~ComponentSet()
{
}

void ComponentSet::begin(Canvas& canvas)
{
    currentBrush->setCanvas(&canvas);
    currentStroke->setCanvas(&canvas);
    currentStroke->prepare(*currentBrush);
    currentApplication->begin(*currentStroke, *currentBrush, canvas);
}

bool ComponentSet::paint(Canvas& canvas, RenderCallbacks& callbacks)
{
    // Nothing to paint on, or nothing to paint from: no render at all. An
    // empty area is left to the pattern, whose run says what it means.
    if (!canvas.target || !canvas.reference || canvas.target->isEmpty() ||
        canvas.reference->isEmpty())
        return false;
    begin(canvas);
    return currentApplication->run(callbacks);
}

template <class T, size_t N>
bool ComponentSet::loadKind(const PropertyReader& reader, const char* key,
                            const std::array<std::unique_ptr<T>, N>& items, int count, T*& current)
{
    const String id = reader.getString(key, "default");
    if (id == "default") {
        current = items[0].get();
    } else {
        T* found = nullptr;
        // Only components of this kind: a brush id under "stroke.id" is unknown.
        for (int i = 0; i < count; ++i) {
            if (items[i]->id == id) {
                found = items[i].get();
                break;
            }
        }
        if (!found)
            return false;
        current = found;
    }
    current->load(reader);
    return true;
}

void ComponentSet::load(const PropertyReader& reader)
{
    loadKind(reader, "brush.id", brushes, brushCount, currentBrush);
    loadKind(reader, "stroke.id", strokes, strokeCount, currentStroke);
    loadKind(reader, "application.id", applications, applicationCount, currentApplication);
}

void ComponentSet::save(PropertyWriter& writer)
{
    currentBrush->save(writer);
    currentStroke->save(writer);
    currentApplication->save(writer);
    writer.setString("lastedit", Timestamp::now().toString(Timestamp::kNoMicrosecond));
}

namespace {

template <class T, size_t N>
bool selectIn(const std::array<std::unique_ptr<T>, N>& items, int count, int index, T*& current)
{
    if (index < 0 || index >= count)
        return false;
    if (current == items[index].get())
        return false;
    current = items[index].get();
    return true;
}

} // namespace

bool ComponentSet::selectBrush(int index)
{
    return selectIn(brushes, brushCount, index, currentBrush);
}

bool ComponentSet::selectStroke(int index)
{
    return selectIn(strokes, strokeCount, index, currentStroke);
}

bool ComponentSet::selectApplication(int index)
{
    return selectIn(applications, applicationCount, index, currentApplication);
}

void ComponentSet::randomize()
{
    const int b = rand() % brushCount;
    const int s = rand() % strokeCount;
    const int a = rand() % applicationCount;
    currentBrush = brushes[b].get();
    currentStroke = strokes[s].get();
    currentApplication = applications[a].get();
    currentBrush->randomize();
    currentStroke->randomize();
    currentApplication->randomize();
}

void ComponentSet::mutate()
{
    currentBrush->mutate();
    currentStroke->mutate();
}

void ComponentSet::clampValues()
{
    currentBrush->clampValues();
    currentStroke->clampValues();
    currentApplication->clampValues();
}

Parameter* ComponentSet::findParameter(const String& key)
{
    static const String applicationPrefix("application.");
    static const String brushPrefix("brush.");
    if (key.compare(0, applicationPrefix.size(), applicationPrefix) == 0)
        return &currentApplication->findParameter(String(key.substr(applicationPrefix.size())));
    if (key.compare(0, brushPrefix.size(), brushPrefix) == 0)
        return &currentBrush->findParameter(String(key.substr(brushPrefix.size())));
    // Any other key is a stroke key: its first seven characters are taken
    // as "stroke.".
    if (key.size() < 7)
        return &defaultParameter();
    return &currentStroke->findParameter(String(key.substr(7)));
}
