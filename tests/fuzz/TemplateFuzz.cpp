// The style template reader (".kiq" templates) and the engine drawing what it read, in every
// state, at a small size.
#include "components/stylekit/StyleEngine.h"
#include "tests/fuzz/FuzzTarget.h"

#include <vector>

BW_FUZZ_TARGET(kiq)
{
    stylekit::StyleEngine engine;
    std::string error;
    if (!engine.LoadFromText(reinterpret_cast<const char*>(data), size, fuzz::TempFolder(), &error))
        return;
    double width = 0, height = 0;
    engine.PageSize(&width, &height);
    const int states = std::min(engine.StateCount(), 4);
    std::vector<std::uint32_t> pixels(40 * 24);
    for (int state = 1; state <= std::max(states, 1); ++state) {
        engine.SelectState(state);
        engine.StateTime();
        engine.Render(40, 24, nullptr, pixels.data());
    }
    stylekit::UnitRect bounds{};
    if (engine.GetObjectBounds(1, &bounds))
        engine.Render(40, 24, &bounds, pixels.data());
}
